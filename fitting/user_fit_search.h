#pragma once
// The stepped random search behind the user-formula fitting, free of any window: the
// search's own generator, the trial rules of its four schemes, the history of the "Orvel
// method" and the stop test. The job loop (main window) supplies one error per trial.
#include <cstdint>
#include <vector>

#include "fitting/useruf_settings.h"
#include "statistics/random.h"

// The search's own generator: it never advances the program-wide sequence.
extern RandomState userFitRandomState;            // starts at kRandomStartState
extern RandomParameters userFitRandomParameters;
// The clock read by UserFitRandomInit; tests may replace it.
extern RandomClockFunction userFitRandomClock;

std::uint32_t UserFitRandomNext();
void UserFitRandomSeed(std::uint32_t s1, std::uint32_t s2, std::uint32_t s3);
// Seeds 337643, 62047, 2751976, then ((minute*60 + second)*60000 + ms) mod 5493 steps.
void UserFitRandomInit();
double UserFitRandomSigned();                      // [-1, 1]
double UserFitGaussStep(double sigma);             // half-normal, >= 0; 0 for sigma <= 0
double UserFitRandomMove(double v, double sigma);  // v plus or minus a Gauss step

// Wall-clock seconds for the hour limit; tests may replace it.
using UserFitSecondsFunction = std::int64_t (*)();
std::int64_t UserFitWallSeconds();
extern UserFitSecondsFunction userFitSeconds;

enum UserFitScheme : int { kRandomLinear = 0, kRandomGauss = 1, kSlopeLocal = 2, kOrvelMethod = 3 };

// The settings of one run, copied from the page when it starts.
struct UserFitRules {
    int scheme = kRandomGauss;
    int trialsBeforeShrink = 50;
    double shrinkFactor = 0.69;
    double stopCondition = 1e-6;
};

// Errors at or above this never count as a fit (refusals, failed evaluations).
inline constexpr double kUserFitNoFit = 1e40;
inline constexpr int kUserFitHistoryRows = 10;

// Working state of one run; the rows of the history hold n values and then an error.
struct UserFitState {
    std::vector<double> trial;
    double best = 0;
    bool firstIteration = true;
    int improved = 0;
    unsigned stale = 0;
    int coordinate = 0;
    std::vector<std::vector<double>> history;
    int worstRow = 0;
    double worstError = kUserFitNoFit;
};

// Fresh state with the first trial: the table's values limited to [min, max].
void UserFitBegin(UserFitState& state, const useruf_settings& table);
// Limits the trial before its error is taken: above max it is max, below min it is min.
void UserFitLimitTrial(std::vector<double>& trial, const useruf_settings& table);
// Takes the trial's error (a non-finite one counts as no fit). On an improvement the table's
// values become the trial; keeps the history. Returns 1 when the trial improved the best.
int UserFitRecordError(UserFitState& state, useruf_settings& table, const UserFitRules& rules, double e);
// Every |step| below |stop condition|; for the "Orvel method" at least 4 history rows whose
// columns each span less than it.
bool UserFitConverged(const UserFitState& state, const useruf_settings& table, const UserFitRules& rules);
// The next trial by the scheme's rule; steps, coordinate and stale change in place.
void UserFitNextTrial(UserFitState& state, useruf_settings& table, const UserFitRules& rules);
void UserFitNextTrialOrvelMethod(UserFitState& state, useruf_settings& table, const UserFitRules& rules);
// The largest error of the history (the later row on ties) and its row.
double UserFitWorstHistoryRow(const std::vector<std::vector<double>>& history, int& row);
// The row of the smallest error, the earliest on ties (also when every error is 1e40 or more).
int UserFitBestHistoryRow(const std::vector<std::vector<double>>& history);
