#pragma once
// The stepped random search behind the user-formula fitting, free of any window: the
// search's own generator, the trial rules of its four schemes, the history of the "Orvel
// method" and the stop test. The job loop (main window) supplies one error per trial.
#include <cstdint>
#include <vector>

#include "fitting/useruf_settings.h"
#include "statistics/random.h"

// The search draws from a generator of its own (the user-formula page holds it), so that it
// never advances the program-wide sequence.
// Seeds 337643, 62047, 2751976, then ((minute*60 + second)*60000 + ms) mod 5493 steps by the
// clock's reading.
void UserFitRandomInit(randomGenerator& random, RandomClockFunction clock = &RandomLocalClock);
double UserFitRandomSigned(randomGenerator& random);                      // [-1, 1]
double UserFitGaussStep(randomGenerator& random, double sigma);           // half-normal, >= 0; 0 for sigma <= 0
double UserFitRandomMove(randomGenerator& random, double v, double sigma);  // v plus or minus a Gauss step

// Wall-clock seconds for the hour limit.
std::int64_t UserFitWallSeconds();

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
// The next trial by the scheme's rule, drawing from random; steps, coordinate and stale change
// in place.
void UserFitNextTrial(UserFitState& state, useruf_settings& table, const UserFitRules& rules, randomGenerator& random);
void UserFitNextTrialOrvelMethod(UserFitState& state, useruf_settings& table, const UserFitRules& rules,
                                 randomGenerator& random);
// The largest error of the history (the later row on ties) and its row.
double UserFitWorstHistoryRow(const std::vector<std::vector<double>>& history, int& row);
// The row of the smallest error, the earliest on ties (also when every error is 1e40 or more).
int UserFitBestHistoryRow(const std::vector<std::vector<double>>& history);
