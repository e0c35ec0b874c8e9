#include "statistics/erlang.h"
#include "statistics/poisson.h"
#include "statistics/student.h"

#include "statistics/oracle_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}

TEST(StudentCdf, MatchesReferenceForEveryDegreeOfFreedom)
{
    const auto rows = ReadOracleTable("student_cdf.csv");
    ASSERT_GT(rows.size(), 2000u);
    for (const auto& r : rows)
        ASSERT_NEAR(StudentCdf(static_cast<int>(r[0]), r[1]), r[2], 1e-13) << "df " << r[0] << " t " << r[1];
}

TEST(StudentCdf, EdgesAndClosedForms)
{
    for (double t : {-5.0, 0.0, 3.0, kInf})
        for (int df : {-4, 0, 1})
            EXPECT_EQ(StudentCdf(df, t), 0.5);
    for (double t : {-2.5, 0.7, 10.0}) {
        EXPECT_EQ(StudentCdf(150, t), StudentCdf(100, t));
        EXPECT_NEAR(StudentCdf(2, t), 0.5 + t / (2 * std::sqrt(2 + t * t)), 1e-15);
        const double theta = std::atan(t / std::sqrt(3.0));
        EXPECT_NEAR(StudentCdf(3, t), 0.5 + (theta + std::sin(theta) * std::cos(theta)) / std::numbers::pi,
                    1e-15);
    }
    for (int df : {2, 3, 10, 11, 100}) {
        EXPECT_EQ(StudentCdf(df, 0.0), 0.5);
        // Far tails are exact, also where t*t overflows.
        for (double t : {1e20, 1e200, kInf})
            EXPECT_EQ(std::tuple(StudentCdf(df, t), StudentCdf(df, -t)), std::tuple(1.0, 0.0)) << df << " " << t;
        EXPECT_EQ(StudentCdf(df, kNaN), 0.0);
    }
}

TEST(StudentInterval, HalfWidthInvertsTheIntervalProbability)
{
    struct Case { double sd; int n; double p; };
    for (const Case c : {Case{1.0, 3, 0.5}, Case{2.5, 10, 0.95}, Case{0.01, 30, 0.99}, Case{1e6, 200, 0.683}}) {
        const double d = StudentIntervalHalfWidth(c.sd, c.n, c.p);
        ASSERT_GT(d, 0.0);
        EXPECT_NEAR(StudentIntervalProbability(c.sd, c.n, d), c.p, 1e-5);
        EXPECT_NEAR(StudentIntervalProbability(c.sd, c.n, d - 2e-6 * c.sd) - c.p, 0.0, 1e-5);
    }
    EXPECT_NEAR(StudentIntervalHalfWidth(2.0, 10, -0.3), 0.0, 2e-6);
    EXPECT_NEAR(StudentIntervalHalfWidth(2.0, 10, 0.0), 0.0, 2e-6);
    EXPECT_EQ(StudentIntervalHalfWidth(2.0, 10, 1.0), StudentIntervalHalfWidth(2.0, 10, 0.9999999));
    // Fewer than three points never reach a positive probability: the step limit ends it.
    EXPECT_EQ(StudentIntervalProbability(1.0, 2, 5.0), 0.0);
    for (const auto& [sd, n, p] : {std::tuple{1.0, 2, 0.5}, std::tuple{0.0, 10, 0.5}, std::tuple{-1.0, 10, 0.5},
                                   std::tuple{1.0, 10, kNaN}})
        EXPECT_EQ(StudentIntervalHalfWidth(sd, n, p), 0.0) << sd << " " << n << " " << p;
}

TEST(StudentInterval, ProbabilityBetweenAndPeakBin)
{
    // P(a <= X <= b) for X about centre 3 with scale 2.
    EXPECT_NEAR(StudentProbabilityBetween(3.0, 2.0, 12, 1.0, 5.0), StudentIntervalProbability(2.0, 12, 2.0), 1e-15);
    EXPECT_NEAR(StudentProbabilityBetween(3.0, 2.0, 12, -kInf, kInf), 1.0, 0.0);

    const double w = 0.5;
    EXPECT_EQ(StudentPeakBinProbability(3.0, 2.0, 12, 0.0, 10.0, w),
              StudentProbabilityBetween(3.0, 2.0, 12, 2.75, 3.25) / w);
    // Mean outside the range: the end nearer the mean.
    EXPECT_EQ(StudentPeakBinProbability(3.0, 2.0, 12, 5.0, 10.0, w),
              StudentProbabilityBetween(3.0, 2.0, 12, 4.75, 5.25) / w);
    // A negative mean or range is an ordinary Student variable.
    EXPECT_EQ(StudentPeakBinProbability(-3.0, 2.0, 12, -10.0, -1.0, w),
              StudentProbabilityBetween(-3.0, 2.0, 12, -3.25, -2.75) / w);
    EXPECT_EQ(StudentPeakBinProbability(3.0, 2.0, 12, 4.0, 4.0, w), 0.0);
}

TEST(Poisson, MatchesReferenceAboveTheFloor)
{
    const auto rows = ReadOracleTable("poisson_pmf.csv");
    ASSERT_GT(rows.size(), 1000u);
    for (const auto& r : rows)
        ASSERT_NEAR(PoissonProbability(r[0], static_cast<int>(r[1])), r[2], 1e-11 * r[2])
            << "lambda " << r[0] << " k " << r[1];
}

// The defining sum -lambda + ln(lambda/1) + ... + ln(lambda/k), compensated in long double
// so that it is exact to far below the 1e-12 asked of the closed form.
double PoissonLogSum(double lambda, int k)
{
    long double sum = -static_cast<long double>(lambda), carry = 0.0L;
    for (int i = 1; i <= k; ++i) {
        const long double term = std::log(static_cast<long double>(lambda) / i) - carry;
        const long double next = sum + term;
        carry = (next - sum) - term;
        sum = next;
    }
    return static_cast<double>(sum);
}

TEST(Poisson, EqualsTheLogSumFromSmallCountsToTheDataSize)
{
    for (double lambda : {0.05, 1.0, 3.7, 14.5, 15.5, 36.0, 81.0, 501.0, 1234.5, 62047.0, 554894.5}) {
        const double spread = std::sqrt(lambda);
        for (double offset : {-9.0, -4.0, -1.0, -0.3, 0.0, 0.3, 1.0, 2.5, 6.0, 9.0}) {
            const double at = std::floor(lambda + offset * spread);
            if (at < 0.0) continue;
            const int k = static_cast<int>(at);
            const double L = PoissonLogSum(lambda, k);
            const double expected = L < -40.0 ? std::exp(-40.0) : std::exp(L);
            ASSERT_NEAR(PoissonProbability(lambda, k), expected, 1e-12 * expected) << lambda << " " << k;
        }
    }
}

TEST(Poisson, FloorGuardsAndInterpolation)
{
    for (const auto& [lambda, k, p] : {std::tuple{3.0, 0, std::exp(-3.0)}, std::tuple{200.0, 0, std::exp(-40.0)},
                                       std::tuple{1.0, 500, std::exp(-40.0)}, std::tuple{3.0, -1, 0.0},
                                       std::tuple{0.0, 2, 0.0}, std::tuple{kNaN, 2, 0.0}})
        EXPECT_EQ(PoissonProbability(lambda, k), p) << lambda << " " << k;

    const double p2 = PoissonProbability(4.0, 2);
    EXPECT_EQ(PoissonProbabilityAt(4.0, 2.00005), p2);
    EXPECT_EQ(PoissonProbabilityAt(4.0, 2.99995), p2 * 4.0 / 3.0);
    EXPECT_NEAR(PoissonProbabilityAt(4.0, 2.5), 0.5 * (p2 + PoissonProbability(4.0, 3)), 1e-16);
    for (const auto& [x, p] : {std::pair{0.0, 0.0}, std::pair{-1.0, 0.0}, std::pair{1e12, std::exp(-40.0)}})
        EXPECT_EQ(PoissonProbabilityAt(4.0, x), p) << x;
}

TEST(Poisson, IntervalSumsAndPeakBins)
{
    const double lambda = 6.0;
    // Points 2, 2.5, 3, 3.5 (4 excluded).
    double expected = 0;
    for (double x : {2.0, 2.5, 3.0, 3.5})
        expected += PoissonProbabilityAt(lambda, x);
    EXPECT_NEAR(PoissonIntervalSum(lambda, 2.0, 4.0, 0.5), expected / 0.5, 1e-15);
    EXPECT_NEAR(PoissonIntervalMean(lambda, 2.0, 4.0, 0.5), expected / 0.5 / 2.0, 1e-15);
    // a always counts, even with a step past b.
    EXPECT_EQ(PoissonIntervalSum(lambda, 2.0, 4.0, 10.0), PoissonProbabilityAt(lambda, 2.0) / 10.0);
    for (auto [a, b, h] : {std::tuple{4.0, 4.0, 1.0}, std::tuple{-3.0, 0.0, 1.0}, std::tuple{1.0, 3.0, 0.0},
                           std::tuple{1.0, 3.0, -1.0}, std::tuple{1.0, 3.0, kNaN}})
        EXPECT_EQ(std::tuple(PoissonIntervalSum(lambda, a, b, h), PoissonIntervalMean(lambda, a, b, h)),
                  std::tuple(0.0, 0.0)) << a << " " << b << " " << h;
    // A step lost in rounding must still end the loop.
    EXPECT_GT(PoissonIntervalSum(lambda, 1e17, 2e17, 1.0), -1.0);

    // Bins of width 1 under a range of 100, else a hundredth of the range.
    EXPECT_EQ(PoissonPeakBinProbability(20.0, 0.0, 50.0), PoissonIntervalMean(20.0, 19.0, 21.0, 1.0));
    EXPECT_EQ(PoissonPeakBinProbability(20.0, 0.0, 500.0), PoissonIntervalMean(20.0, 15.0, 25.0, 5.0));
    EXPECT_EQ(PoissonPeakBinProbability(20.0, 30.0, 60.0),
              std::max(PoissonIntervalMean(20.0, 30.0, 31.0, 1.0), PoissonIntervalMean(20.0, 59.0, 60.0, 1.0)));
    for (const auto& [lambda, from, till] : {std::tuple{20.0, 10.0, 0.0}, std::tuple{20.0, -10.0, 0.0},
                                             std::tuple{0.0, 0.0, 10.0}})
        EXPECT_EQ(PoissonPeakBinProbability(lambda, from, till), 0.0) << lambda << " " << from << " " << till;
}

TEST(Erlang, MatchesReference)
{
    const auto rows = ReadOracleTable("erlang_pdf.csv");
    ASSERT_GT(rows.size(), 200u);
    for (const auto& r : rows) {
        ASSERT_NEAR(ErlangDensity(ErlangSetup(r[0], r[1]), r[2]), r[3], 1e-9 * r[3]) << "mean " << r[0] << " sd " << r[1] << " x " << r[2];
    }
}

TEST(Erlang, SetupRulesAndGuards)
{
    // The shape is the rounded (mean/sd)^2, at least 1; ratios 2.25, 6.25, 12.25 and 13 within rounding.
    for (const auto& [mean, sd, shape] : {std::tuple{10.0, 20.0, 1}, std::tuple{10.0, -20.0, 1},
                                          std::tuple{3.0, 2.0, 2}, std::tuple{5.0, 2.0, 6}, std::tuple{7.0, 2.0, 12},
                                          std::tuple{std::sqrt(13.0), 1.0, 13}, std::tuple{50.0, 2.0, 625}}) {
        EXPECT_EQ(ErlangSetup(mean, sd).shape, shape) << mean << " " << sd;
    }
    // A fraction of exactly one half does not raise the shape.
    double mean = std::sqrt(4.5);
    while (mean * mean < 4.5)
        mean = std::nextafter(mean, 10.0);
    if (mean * mean == 4.5) {
        EXPECT_EQ(ErlangSetup(mean, 1.0).shape, 4);
    }

    const erlangFit none = ErlangSetup(10.0, 0.0);
    EXPECT_EQ(std::tuple(none.shape, none.scale, ErlangDensity(none, 5.0)), std::tuple(0, 0.0, 0.0));
    EXPECT_EQ(ErlangDensity(ErlangSetup(kNaN, 1.0), 5.0), 0.0);

    // Large shapes stay finite; no mass below 0.
    const erlangFit large = ErlangSetup(50.0, 2.0);
    EXPECT_TRUE(std::isfinite(ErlangDensity(large, 50.0)));
    EXPECT_GT(ErlangDensity(large, 50.0), 0.19);
    const erlangFit one = ErlangSetup(10.0, 20.0);
    EXPECT_EQ(std::tuple(one.scale, ErlangDensity(one, -1.0), ErlangDensity(one, 0.0)), std::tuple(10.0, 0.0, 0.1));

    const erlangFit fit = ErlangSetup(4.0, 2.0);
    EXPECT_EQ(ErlangPeakDensity(fit, 4.0, 0.0, 10.0), ErlangDensity(fit, 4.0));
    EXPECT_EQ(ErlangPeakDensity(fit, 4.0, 5.0, 10.0), std::max(ErlangDensity(fit, 5.0), ErlangDensity(fit, 10.0)));
    for (const auto& [m, from, till] : {std::tuple{4.0, -5.0, 0.0}, std::tuple{0.0, 0.0, 10.0},
                                        std::tuple{4.0, 10.0, 10.0}})
        EXPECT_EQ(ErlangPeakDensity(fit, m, from, till), 0.0) << m << " " << from << " " << till;
}
