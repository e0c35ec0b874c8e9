// The near-neighbour estimate against a brute-force computation over the sampled records,
// the several-argument polynomial value, and the companion sort.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "fitting/neighbour_estimate.h"

namespace {

// N records of (x0, inactive, x1, x2, y): three arguments, the value in column 4.
struct Table {
    std::vector<double> values;
    std::vector<int> mask{-1, 0, -1, -1, 1};
    int stride = 5;
    int first = 0;
    int N = 0;
};

Table RandomTable(int n, unsigned seed, double spread = 1) {
    Table t;
    t.N = n;
    t.first = 5;  // a record of another series before it
    t.values.assign(5, -99);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> u(0, spread);
    for (int r = 0; r < n; ++r) {
        const double x0 = u(random), x2 = u(random), x3 = u(random);
        t.values.insert(t.values.end(), {x0, 1e9, x2, x3, std::sin(x0) + x2 * x3});
    }
    return t;
}

std::vector<double> ArgumentsOf(const Table& t, int r) {
    const double* p = &t.values[static_cast<std::size_t>(t.first + r * t.stride)];
    return {p[0], p[2], p[3]};
}

double ValueOf(const Table& t, int r) { return t.values[static_cast<std::size_t>(t.first + r * t.stride + 4)]; }

double Estimate(const Table& t, int excluded, int kind, double percent, const std::vector<double>& point) {
    return NearestNeighbourEstimate(t.values, t.stride, 3, t.first, t.N, t.mask, 4, excluded, kind, percent, point);
}

// The estimate as the definition states it, with a full stable sort for the closest records.
double BruteForce(const Table& t, int excluded, int kind, double percent, const std::vector<double>& point) {
    const int step = t.N / 500 + 1;
    std::vector<double> d, y;
    for (int r = 0; r < t.N; r += step) {
        if (r == excluded) continue;
        const std::vector<double> x = ArgumentsOf(t, r);
        double s = 0;
        for (int k = 0; k < 3; ++k) s += (point[k] - x[k]) * (point[k] - x[k]);
        d.push_back(std::sqrt(s));
        y.push_back(ValueOf(t, r));
    }
    if (kind == 3) {
        std::vector<int> order(d.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int i, int j) { return d[i] < d[j]; });
        const int k = std::max(1, static_cast<int>(std::trunc(d.size() * 0.01 * percent)));
        double sum = 0;
        for (int i = 0; i < k; ++i) sum += y[order[i]];
        return sum / k;
    }
    const double nearest = d.empty() ? 0 : *std::min_element(d.begin(), d.end());
    double sw = 0, swy = 0;
    for (std::size_t i = 0; i < d.size(); ++i) {
        const double w = kind == 0   ? (d[i] <= 1e-270 ? 1e270 : 1 / d[i])
                         : kind == 1 ? (d[i] <= 1e-140 ? 1e140 : 1 / (d[i] * d[i]))
                                     : std::exp(-(d[i] - nearest));
        sw += w;
        swy += w * y[i];
    }
    return sw > 1e-270 ? swy / sw : 0;
}

// The same value to the last bit (both NaN counts as the same).
void ExpectSameBits(double got, double expected) {
    if (std::isnan(got) && std::isnan(expected)) return;
    EXPECT_EQ(got, expected);
}

// N records on a grid of 3 x 3 x 3 points, so that many records lie equally far from a point.
Table TiedTable(int n) {
    Table t;
    t.N = n;
    for (int r = 0; r < n; ++r)
        t.values.insert(t.values.end(), {double(r % 3), 0, double(r / 3 % 3), double(r / 9 % 3), double(r)});
    return t;
}

TEST(NeighbourEstimate, MatchesBruteForceOnSampledRecords) {
    struct Case {
        int n, kind;
        double percent;
    };
    // 499 records: every record; 1000: every third; 20000: every 41st.
    const Case cases[] = {{499, 0, 3}, {499, 1, 3},  {499, 2, 3},  {499, 3, 3},   {1000, 0, 3},
                          {1000, 2, 3}, {1000, 3, 10}, {1000, 3, 50}, {20000, 1, 3}, {20000, 3, 0.02}};
    for (const Case& c : cases) {
        const Table t = RandomTable(c.n, 7u + c.n);
        for (int r : {0, 3, c.n / 2, c.n - 1}) {
            SCOPED_TRACE(::testing::Message() << "n=" << c.n << " kind=" << c.kind << " percent=" << c.percent
                                              << " record=" << r);
            const std::vector<double> point = ArgumentsOf(t, r);
            ExpectSameBits(Estimate(t, r, c.kind, c.percent, point), BruteForce(t, r, c.kind, c.percent, point));
        }
    }
}

// One sample serves the estimates of every record, ties included, with the definition's
// neighbours in the definition's order, so the sums come out to the same bits.
TEST(NeighbourEstimate, OneSampleForEveryRecordMatchesTheDefinition) {
    struct Case {
        Table t;
        double percent;
    };
    const Case cases[] = {{TiedTable(499), 3},  {TiedTable(1000), 10},       {TiedTable(2000), 50},
                          {TiedTable(30), 3},   {RandomTable(1500, 5), 3},   {RandomTable(1000, 9), 0.02}};
    for (const Case& c : cases) {
        const Table& t = c.t;
        const NeighbourSample sample(t.values, t.stride, 3, t.first, t.N, t.mask, 4);
        for (int kind = 0; kind < 4; ++kind) {
            for (int r = 0; r < t.N; r += 7) {
                SCOPED_TRACE(::testing::Message() << "n=" << t.N << " kind=" << kind << " record=" << r);
                const std::vector<double> point = ArgumentsOf(t, r);
                const double expected = BruteForce(t, r, kind, c.percent, point);
                ExpectSameBits(sample.Estimate(point, r, kind, c.percent), expected);
                ExpectSameBits(sample.Estimate(point, -1, kind, c.percent), BruteForce(t, -1, kind, c.percent, point));
            }
        }
    }
}

TEST(NeighbourEstimate, EdgesOfTheWeightsAndTheSample) {
    Table t = RandomTable(20, 3);
    const std::vector<double> at0 = ArgumentsOf(t, 0);
    const double y0 = ValueOf(t, 0);
    // A record at distance 0 outweighs every other one.
    EXPECT_NEAR(Estimate(t, -1, 0, 3, at0), y0, 1e-12);
    EXPECT_NEAR(Estimate(t, -1, 1, 3, at0), y0, 1e-12);
    // 3 % of 20 records is the closest one only.
    EXPECT_DOUBLE_EQ(Estimate(t, -1, 3, 3, at0), y0);
    // A point with too few arguments is refused.
    EXPECT_THROW(Estimate(t, -1, 0, 3, {0.5}), std::invalid_argument);
    // No record: 0.
    t.N = 0;
    EXPECT_EQ(Estimate(t, -1, 0, 3, at0), 0);
    // Equal distances keep record order: of two records equally far the first one wins.
    Table two;
    two.N = 2;
    two.values = {1, 0, 0, 0, 10, -1, 0, 0, 0, 20};
    EXPECT_DOUBLE_EQ(Estimate(two, -1, 3, 3, {0, 0, 0}), 10);
    // The closest kind with its only record excluded has nothing to take the mean of.
    Table one;
    one.N = 1;
    one.values = {1, 0, 2, 3, 42};
    EXPECT_EQ(Estimate(one, 0, 3, 3, {1, 2, 3}), 0);
}

TEST(NeighbourEstimate, ExponentWeightsOfFarRecordsDoNotVanish) {
    // Every record lies about 1000 away, where exp(-d) underflows to 0 for all of them.
    Table t = RandomTable(50, 11, 10);
    const std::vector<double> far{1000, 1000, 1000};
    ExpectSameBits(Estimate(t, -1, 2, 3, far), BruteForce(t, -1, 2, 3, far));
}

TEST(NeighbourEstimate, PolynomialValueAtARecord) {
    // Two arguments in columns 2 and 0; terms 1*x1 and x0*1 under basis codes 0 (1) and 1 (x).
    const std::vector<double> values{5, 0, 7, 1, 0, 2};  // records (5, 0, 7) and (1, 0, 2)
    const std::vector<int> columns{0, 2};
    const std::vector<std::uint32_t> codes{0, 1, 1, 0};
    const double coefficients[] = {2, 3};
    int error = 1;
    const auto value = [&](int record, int count, int arguments) {
        return EvaluateMultiPolynomial(record, values, 0, 3, columns, coefficients, count, arguments, codes, &error);
    };
    EXPECT_DOUBLE_EQ(value(0, 2, 2), 2 * 7 + 3 * 5);
    EXPECT_EQ(error, 0);
    // Fewer coefficients than terms, or no argument: 0 with the flag raised.
    EXPECT_EQ(value(0, 1, 2), 0);
    EXPECT_EQ(error, 1);
    error = 0;
    EXPECT_EQ(value(0, 2, 0), 0);
    EXPECT_EQ(error, 1);
    // A record outside the values is refused.
    EXPECT_THROW(value(5, 2, 2), std::invalid_argument);
}

TEST(NeighbourEstimate, SortWithCompanionIsStable) {
    std::vector<double> keys{3, 1, 2, 1, 0};
    std::vector<double> companion{30, 10, 20, 11, 99};
    SortWithCompanion(companion, keys, 4);  // the last pair stays where it is
    EXPECT_EQ(keys, (std::vector<double>{1, 1, 2, 3, 0}));
    EXPECT_EQ(companion, (std::vector<double>{10, 11, 20, 30, 99}));
}

}  // namespace
