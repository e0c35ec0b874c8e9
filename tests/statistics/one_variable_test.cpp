// The one-variable statistics against numpy, a brute-force densest interval and the fixed
// results of small samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "statistics/one_variable.h"
#include "statistics/random.h"
#include "tests/statistics/oracle_table.h"

namespace {

struct OracleSample {
    double mean, stdDev, median, corr;
    std::vector<double> x, y;
};

std::vector<OracleSample> OracleSamples() {
    std::vector<OracleSample> out;
    for (const auto& row : ReadOracleTable("one_variable.csv")) {
        const size_t n = static_cast<size_t>(row[0]);
        OracleSample s{row[1], row[2], row[3], row[4], {}, {}};
        s.x.assign(row.begin() + 5, row.begin() + 5 + static_cast<long>(n));
        s.y.assign(row.begin() + 5 + static_cast<long>(n), row.begin() + 5 + 2 * static_cast<long>(n));
        out.push_back(s);
    }
    return out;
}

double Tolerance(double reference, double relative) { return std::max(1e-300, std::fabs(reference) * relative); }

TEST(OneVariable, AgreesWithNumpy) {
    const auto samples = OracleSamples();
    ASSERT_EQ(samples.size(), 6u);
    for (const OracleSample& s : samples) {
        double mean = 0, sd = 0, se = 0;
        MeanStdDev(s.x, mean, sd, se);
        EXPECT_NEAR(mean, s.mean, Tolerance(s.mean, 1e-13));
        // Relative to the spread, which is all that survives a large offset.
        EXPECT_NEAR(sd, s.stdDev, s.stdDev * 1e-6);
        EXPECT_EQ(Median(s.x), s.median);
        EXPECT_NEAR(CorrelationCoefficient(s.x, s.y), s.corr, 1e-12);

        distributionSummary d;
        std::vector<double> bins;
        d.FromBinnedValues(s.x, bins, s.mean - 10 * s.stdDev, 20, s.stdDev);
        EXPECT_NEAR(d.mean, s.mean, Tolerance(s.mean, 1e-13));
        const double n = static_cast<double>(s.x.size());
        EXPECT_NEAR(d.spread, s.stdDev * std::sqrt((n - 1) / n), s.stdDev * 1e-6);
    }
}

TEST(OneVariable, SmallSamples) {
    // {1, 2, 3, 3}: a count bisection gave 3.
    const std::pair<std::vector<double>, double> medians[] = {
        {{1, 2, 2, 2, 3}, 2}, {{1, 2, 3, 4}, 2.5}, {{1, 2, 3}, 2}, {{1, 2, 3, 3}, 2.5}, {{}, 0}};
    for (const auto& [v, median] : medians) EXPECT_EQ(Median(v), median) << v.size();

    double mean = 0, sd = 0, se = 0;
    MeanStdDev({2, 4, 6}, mean, sd, se);
    EXPECT_EQ(std::tuple(mean, sd), std::tuple(4.0, 2.0));
    EXPECT_DOUBLE_EQ(se, 2 / std::sqrt(3.0));
    MeanStdDev({5}, mean, sd, se);
    EXPECT_EQ(mean + sd + se, 0);

    double deviation = -7;
    EXPECT_EQ(MinimumAbsoluteDeviation({1, 3}, deviation), 2);
    EXPECT_EQ(deviation, -7);
    const double c = MinimumAbsoluteDeviation({0, 1, 2, 10, 11}, deviation);
    EXPECT_NEAR(c, 2, 1e-6);
    EXPECT_NEAR(deviation, MeanAbsoluteDeviation({0, 1, 2, 10, 11}, 2), 1e-9);

    int below = 0, above = 0;
    CountBelowAbove({1, 2, 2, 3}, 2, below, above);
    EXPECT_EQ(std::tuple(below, above), std::tuple(1, 1));

    EXPECT_EQ(CorrelationCoefficient({1, 2}, {1, 2, 3}), 0);
    EXPECT_EQ(CorrelationCoefficient({1, 2, 3}, {5, 5, 5}), 0);  // no spread: 0, not NaN
    EXPECT_EQ(DistributionCorrelation({4, 4, 4}, 4, 0, 3, 0), 0);
    // One value in each of the 100 bins: nothing to explain, and no division by zero.
    std::vector<double> flat;
    for (int i = 0; i < 100; ++i) flat.push_back(i + 0.5);
    EXPECT_EQ(DistributionCorrelation(flat, 50, 29, 100, 0), 0);
}

TEST(OneVariable, BinSummaries) {
    distributionSummary d;
    std::vector<double> bins{9, 9};
    // Values just below the origin fall outside, not into bin 0; the top edge is open.
    d.FromBinnedValues({-0.5, 0, 0.5, 1, 2.9, 3}, bins, 0, 3, 1);
    EXPECT_EQ(bins, (std::vector<double>{2, 1, 1}));
    EXPECT_EQ(std::tuple(d.maxCount, d.min, d.max), std::tuple(2, -0.5, 3.0));
    EXPECT_DOUBLE_EQ(d.maxCountShare, 2.0 / 6);
    d.FromCumulativeValues({-0.5, 0, 0.5, 1, 2.9, 3}, bins, 0, 3, 1);
    EXPECT_EQ(bins, (std::vector<double>{3, 4, 5}));  // -0.5 counted once
    EXPECT_EQ(d.maxCount, 5);
    // Too few values: the bins are cleared and nothing stale stays.
    d.FromBinnedValues({1, 2}, bins, 0, 3, 1);
    EXPECT_EQ(bins, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(std::tuple(d.n, d.maxCount, d.maxCountShare), std::tuple(2, 0, 0.0));

    distributionSummary p;
    p.FromDeviations({50, 10, 30}, 10, 3);
    EXPECT_DOUBLE_EQ(p.mean, 30);  // the share in percent, as the per-bin values are
    EXPECT_DOUBLE_EQ(p.maxCountShare, 20);
    EXPECT_DOUBLE_EQ(p.min, -20);
    p.FromDeviations({31, 32, 33}, 10, 3);
    EXPECT_DOUBLE_EQ(p.maxCountShare, 20);  // the largest over successive calls
}

TEST(OneVariable, MostDenseIntervalAgainstBruteForce) {
    RandomSeed(1100000011u, 2200000022u, 3300000033u);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<double> v;
        const int n = 50 + 40 * trial;
        for (int k = 0; k < n; ++k) v.push_back(k % 3 ? RandomNormal(trial, 1 + trial % 4) : RandomUnit() * 40 - 20);
        const double share = 0.05 + 0.045 * trial;
        double from = 0, till = 0;
        MostDenseInterval(v, share, from, till);
        std::vector<double> s(v);
        std::sort(s.begin(), s.end());
        const size_t need = static_cast<size_t>(n * share);
        double shortest = s.back() - s.front();
        for (size_t i = 0; need > 0 && i + need - 1 < s.size(); ++i)
            shortest = std::min(shortest, s[i + need - 1] - s[i]);
        const double w = (s.back() - s.front()) / std::min(n, 100);
        const auto held = std::count_if(v.begin(), v.end(), [&](double x) { return x >= from && x <= till; });
        EXPECT_GE(static_cast<size_t>(held), need) << trial;
        EXPECT_LE(till - from, shortest + 2 * w + 1e-9) << trial;
    }
    double from = -1, till = -1;
    MostDenseInterval({1, 2, 3, 4}, 1.0, from, till);
    EXPECT_EQ(std::tuple(from, till), std::tuple(1.0, 4.0));
    MostDenseInterval({1, 2, 3, 4}, 0.01, from, till);  // need 0: the first bin
    EXPECT_EQ(std::tuple(from, till), std::tuple(1.0, 1.75));
    from = till = -1;
    MostDenseInterval({5, 5, 5}, 0.5, from, till);
    EXPECT_EQ(from, -1);
}

// Mend: the grid was never refined, so a dense cluster inside the first of 100 bins gave
// that whole bin. Refined tenfold while the first bin holds more than n - need values.
TEST(OneVariable, MostDenseIntervalRefinesTheGrid) {
    RandomSeed(1100000011u, 2200000022u, 3300000033u);
    std::vector<double> v;
    for (int k = 0; k < 990; ++k) v.push_back(RandomUnit());
    for (int k = 1; k <= 10; ++k) v.push_back(10.0 * k);
    double from = -1, till = -1;
    MostDenseInterval(v, 0.5, from, till);
    EXPECT_NEAR(till - from, 0.5, 0.1);
    EXPECT_GE(from, 0.0);
    EXPECT_LE(till, 1.001);
    EXPECT_GE(std::count_if(v.begin(), v.end(), [&](double x) { return x >= from && x <= till; }), 500);
    // A first bin that stays too full at 100,000 bins gives the whole range.
    std::vector<double> stuck(20, 0.0);
    stuck.push_back(1.0);
    MostDenseInterval(stuck, 0.5, from, till);
    EXPECT_EQ(std::tuple(from, till), std::tuple(0.0, 1.0));
    // A cluster away from the first bin is found on the first grid.
    std::vector<double> later(v);
    for (double& x : later) x = 100.0 - x;
    MostDenseInterval(later, 0.5, from, till);
    const double top = *std::max_element(later.begin(), later.end());
    EXPECT_EQ(std::tuple(from, till), std::tuple(0.99 * top, top));  // the last of 100 bins
}

TEST(OneVariable, SelectionNotRandom) {
    RandomSeed(1000000001u, 2000000002u, 3000000003u);
    std::vector<double> v;
    for (int k = 0; k < 200; ++k) v.push_back(k);
    EXPECT_EQ(SelectionNotRandomProbability({1, 2}, 0.5, 1), 0);
    const double far = SelectionNotRandomProbability(v, 0.2, 180);
    EXPECT_GT(far, 0.99);
    EXPECT_LE(far, 1);
    const double middle = SelectionNotRandomProbability(v, 0.5, 99.5);
    EXPECT_GE(middle, 0);
    EXPECT_LT(middle, 0.3);
}

}  // namespace
