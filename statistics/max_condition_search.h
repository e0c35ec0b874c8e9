#pragma once
// The search behind the distribution page's "Max" button: pass by pass, the condition on
// another parameter that makes the selected records of the value parameter least like a
// random sample, added to the condition list. A selection is scored against Monte-Carlo
// tables of the spread of random subsample means, measured once per search.
#include <cstdint>
#include <vector>

#include "statistics/conditions.h"

struct MaxSearchTables {
    std::vector<double> spreadsAll, spreadsLower, spreadsUpper;  // by subsample size index 0..99
    double meanAll = 0, meanLower = 0, meanUpper = 0;
    std::int32_t countAll = 0, countLower = 0, countUpper = 0;
    std::int32_t subsampleCount = 100;
};

// Spread of the mean of random subsamples (subset k holds each value with a chance of about
// (99 - k)/100) over 100 trials of the program's random sequence; all 0 below 10 values.
void SubsampleMeanSpread(const std::vector<double>& values, std::vector<double>& spreads, double& mean,
                         std::int32_t& subsampleCount);
// The tables of all values and of the parts at or below and above their mean.
void SplitDistributions(MaxSearchTables& t, const std::vector<double>& values);
// How surely the selection is not random: the largest of the probabilities that a random
// subsample of its share lies nearer the mean, overall and within each part. In [0, 1].
double SelectionScore(const MaxSearchTables& t, const std::vector<double>& selection);

// The search over one series (records of nParameters values, record after record).
class ConditionSearch {
public:
    ConditionSearch(const double* values, int nRecords, int nParameters, int valueParameter,
                    std::vector<conditions>& list, const MaxSearchTables& tables);

    // The score of the values of the value parameter that pass the list.
    double ConditionalSelectionScore() const;
    // 0 with an empty list; else c goes into the last slot and the list is scored.
    double SetLastCondition(const conditions& c);
    // The best condition on parameter p, left in the last slot; its score.
    double BestConditionOnParameter(int p);
    double BestCategoryCondition(int p, const std::vector<std::uint32_t>& codes);
    double BestIntervalCondition(int p, const std::vector<double>& values);
    // A step search on both bounds of the last condition within the parameter's range.
    double OptimizeLastCondition();
    // 1 when the list holds a category condition on p with that operation around k.
    int HasCondition(int p, double k, int operation) const;
    // The passes: the list is emptied, then grows by the best condition per pass until no
    // parameter improves the score, 50 passes are made or it would hold 20 conditions.
    void Run();

private:
    std::vector<double> Column(int p) const;

    const double* values_;
    int nRecords_, nParameters_, valueParameter_;
    std::vector<conditions>& list_;
    const MaxSearchTables& tables_;
    mutable std::vector<double> scratch_;
};
