#include "fitting/polynomial_fits.h"

#include "fitting/poly_fit.h"

#include "tests/fitting/fitting_test_support.h"

#include <cstdint>
#include <functional>
#include <random>
#include <stdexcept>

namespace {

using fittest::ExpectClose;

struct OracleCase {
    std::string kind;
    int n = 0, count = 0;
    std::vector<std::vector<double>> rows;  // arguments then y
    std::vector<double> coefficients, deviations;
    double residual = 0;
};

std::vector<OracleCase> ReadOracle()
{
    std::ifstream in(fittest::Source("polynomial_fits.txt"));
    std::vector<OracleCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        OracleCase c;
        std::istringstream head(line);
        head >> c.kind >> c.n >> c.count;
        for (int i = 0; i < c.count; ++i)
            c.rows.push_back(fittest::NextNumbers(in));
        c.coefficients = fittest::NextNumbers(in);
        c.deviations = fittest::NextNumbers(in);
        c.residual = fittest::NextNumbers(in).at(0);
        cases.push_back(c);
    }
    return cases;
}

TEST(PolynomialFits, AgreeWithTheOracle)
{
    const auto cases = ReadOracle();
    ASSERT_EQ(cases.size(), 14u);
    for (const auto& c : cases) {
        const std::string what = c.kind + " " + std::to_string(c.n) + " " + std::to_string(c.count);
        std::vector<double> coefficients, deviations;
        double deviation = -1, e = 0;
        if (c.kind == "poly") {
            // The fixed-buffer form counts from 1.
            std::vector<double> x{0.0}, y{0.0}, fixed(c.n + 1, 7.0), grown;
            for (const auto& r : c.rows) {
                x.push_back(r[0]);
                y.push_back(r[1]);
            }
            const std::vector<double> xs(x.begin() + 1, x.end()), ys(y.begin() + 1, y.end());
            FitPolynomial(c.n, x.data(), y.data(), c.count, fixed.data());
            ExpectClose(std::vector<double>(fixed.begin() + 1, fixed.end()), c.coefficients, 1e-8, what);
            FitPolynomialArray(xs, ys, c.n, grown);
            ExpectClose(grown, c.coefficients, 1e-8, what);
            e = FitScoreRatePolynomial(xs, ys, coefficients, deviations, c.n, &deviation);
            EXPECT_GE(deviation, 0.0);
        } else {
            std::vector<double> values;
            for (const auto& r : c.rows) {
                values.push_back(-99.0);  // an inactive parameter between arguments and value
                values.insert(values.end(), r.begin(), r.end());
            }
            std::vector<int> mask(c.n + 2, -1);
            mask[0] = 0;
            mask[c.n + 1] = 1;
            e = FitMultipleRegression(values, c.n + 2, c.n, 0, c.count, mask, c.n + 1, coefficients, deviations,
                                      &deviation, c.kind == "parabolic" ? kParabolicRegression : kPlaneRegression);
            EXPECT_GT(deviation, 0.0);
        }
        ExpectClose(coefficients, c.coefficients, 1e-8, what);
        ExpectClose(deviations, c.deviations, 1e-6, what);
        EXPECT_NEAR(e, c.residual, 1e-9) << what;
    }
}

// numpy.polyfit of degree 6 (make_power_series_oracle.py): the combined argument of stackloss,
// whose raw powers near 70 made the normal equations rounding noise, and an argument near 1e4.
TEST(PolynomialFits, PowerSeriesOfArgumentsFarFromZeroMatchesPolyfit)
{
    std::ifstream in(fittest::Source("power_series.txt"));
    int cases = 0;
    for (std::string line; std::getline(in, line); ++cases) {
        std::istringstream head(line);
        std::string name;
        int n = 0;
        head >> name >> n;
        const std::vector<double> x = fittest::NextNumbers(in), y = fittest::NextNumbers(in),
                                  fitted = fittest::NextNumbers(in);
        const double e = fittest::NextNumbers(in).at(0);
        const auto correlation = [&](const std::function<double(double)>& model) {
            double mean = 0, ssr = 0, sst = 0;
            for (double v : y)
                mean += v / static_cast<double>(y.size());
            for (std::size_t i = 0; i < x.size(); ++i) {
                ssr += (model(x[i]) - y[i]) * (model(x[i]) - y[i]);
                sst += (y[i] - mean) * (y[i] - mean);
            }
            return 1 - std::sqrt(ssr / sst);
        };
        ScaledPowerSeries series;
        EXPECT_NE(FitScaledPowerSeries(x, y, n, series), 0.0) << name;
        for (std::size_t i = 0; i < x.size(); ++i)
            EXPECT_NEAR(series.Value(x[i]), fitted[i], 1e-7) << name << " #" << i;
        EXPECT_NEAR(correlation([&](double v) { return series.Value(v); }), 1 - std::sqrt(e), 1e-6) << name;
        if (name == "stackloss") {
            // Near 70 the raw powers still evaluate to the curve.
            std::vector<double> raw;
            FitPolynomialArray(x, y, n, raw);
            EXPECT_NEAR(correlation([&](double v) { return PowerSeriesValue(n, v, raw); }), 1 - std::sqrt(e), 1e-6);
            EXPECT_NEAR(1 - std::sqrt(e), 0.7580, 5e-5);
        }
    }
    EXPECT_EQ(cases, 2);

    // Raw powers back from the scaled ones: 1 + 2x + 3x^2 on [10, 14].
    ScaledPowerSeries quadratic{12, 2, {1 + 24 + 432, (2 + 72) * 2, 3 * 4}};
    ExpectClose(quadratic.PowersOfArgument(), {1, 2, 3}, 1e-12, "raw powers");
}

// An argument that takes only two values: its square is a straight line in it, so the
// parabolic fit's normal matrix is singular, though rounding leaves it a determinant.
TEST(PolynomialFits, TermsDependentUpToRoundingAreNoFit)
{
    std::vector<double> values;
    for (int r = 0; r < 21; ++r) {
        const double x1 = r % 2 ? 100 : 0, x2 = 1.7 + 0.37 * r;
        values.insert(values.end(), {x1, x2, 3 + 0.02 * x1 + x2 + 0.1 * std::sin(r)});
    }
    std::vector<double> coefficients, deviations;
    double deviation = -1;
    const double e = FitMultipleRegression(values, 3, 2, 0, 21, {-1, -1, 1}, 2, coefficients, deviations, &deviation,
                                           kParabolicRegression);
    EXPECT_TRUE(std::isinf(e)) << e;
    EXPECT_EQ(coefficients, std::vector<double>(5, 0.0));
    // The plane of the same data is a fit.
    EXPECT_LT(FitMultipleRegression(values, 3, 2, 0, 21, {-1, -1, 1}, 2, coefficients, deviations, &deviation,
                                    kPlaneRegression),
              0.01);
    // The best polynomial's terms 1, x1^2, x1 and x2: no fit, and a model the searches never keep.
    const std::vector<std::uint32_t> codes{0, 0, 2, 0, 1, 0, 0, 1};
    std::vector<int> columns;
    double largest = 0;
    int error = 0;
    EXPECT_TRUE(std::isinf(FitTermCodeRegression(values, 0, 21, 3, {-1, -1, 1}, columns, coefficients, deviations,
                                                 &deviation, &largest, codes, &error)));
    polyFit model{};
    model.SetFromFit(deviation, coefficients.data(), deviations.data(), largest, codes, 2, 0);
    EXPECT_EQ(model.score, kFailedFitScore);
    // The one-argument parabola in that argument, scaled or not.
    std::vector<double> x, y, raw;
    for (int r = 0; r < 1000; ++r) {
        x.push_back(r % 3 ? 0.1 : 0.7);
        y.push_back(r % 7);
    }
    EXPECT_EQ(FitPolynomialArray(x, y, 3, raw), 0.0);
    EXPECT_EQ(raw, std::vector<double>(3, 0.0));
}

TEST(PolynomialFits, ExactDataGivesZeroDeviation)
{
    // z = 1 + 2 x1 + 3 x2 exactly: deviation 0 and e = 0.
    std::vector<double> values;
    for (int r = 0; r < 6; ++r) {
        const double x1 = r, x2 = (r * r) % 5;
        values.insert(values.end(), {x1, x2, 1 + 2 * x1 + 3 * x2});
    }
    std::vector<double> coefficients, deviations;
    double deviation = -1;
    const double e = FitMultipleRegression(values, 3, 2, 0, 6, {-1, -1, 1}, 2, coefficients, deviations, &deviation,
                                           kPlaneRegression);
    ExpectClose(coefficients, {1, 2, 3}, 1e-10, "plane");
    EXPECT_NEAR(deviation, 0.0, 1e-10);
    EXPECT_NEAR(e, 0.0, 1e-20);
}

TEST(PolynomialFits, ParabolicFitPastFiftyTermsNeedsNoFixedBuffer)
{
    // 30 arguments give 61 terms: beyond the fixed 2,500-element buffers of old.
    const int a = 30, n = 200, stride = a + 1;
    std::vector<double> values;
    std::mt19937 generator(61);
    std::uniform_real_distribution<double> uniform(-2.0, 2.0);
    std::vector<double> truth(2 * a + 1);
    for (int k = 0; k <= 2 * a; ++k)
        truth[k] = 0.5 + 0.01 * k;
    for (int r = 0; r < n; ++r) {
        double z = truth[0];
        for (int j = 0; j < a; ++j) {
            const double v = uniform(generator);
            values.push_back(v);
            z += truth[1 + 2 * j] * v * v + truth[2 + 2 * j] * v;
        }
        values.push_back(z);
    }
    std::vector<int> mask(stride, -1);
    mask[a] = 1;
    std::vector<double> coefficients, deviations;
    double deviation = -1;
    FitMultipleRegression(values, stride, a, 0, n, mask, a, coefficients, deviations, &deviation,
                          kParabolicRegression);
    ExpectClose(coefficients, truth, 1e-6, "61 terms");
}

TEST(PolynomialFits, Helpers)
{
    std::vector<double> seven{0, 1, 2, 3, 4, 5, 6};
    KeepEveryKth(seven, 3);
    EXPECT_EQ(seven, (std::vector<double>{0, 3, 6}));
    std::vector<double> s{1, 3, 2, 3};
    SortDescending(s);
    EXPECT_EQ(s, (std::vector<double>{3, 3, 2, 1}));
    EXPECT_EQ(PowerSeriesValue(3, 2.0, {1, 2, 3}), 17.0);
    EXPECT_EQ(PowerSeriesValue(9, 2.0, {1, 2}), 5.0);  // only the coefficients held
    const std::vector<double> values{1, 2, 3, 4, 5, 6};
    EXPECT_THROW(TableCell(values, 3, 0, 2, 0), std::invalid_argument);
    // A record number whose index overflows 32 bits is refused, not wrapped.
    EXPECT_THROW(TableCell(values, 3, 0, 0x7fffffffLL, 0), std::invalid_argument);
    EXPECT_THROW(TableCell(values, 3, 0, -1, 2), std::invalid_argument);
    std::vector<double> c, d;
    double dev = 0;
    EXPECT_EQ(FitScoreRatePolynomial({}, {}, c, d, 2, &dev), 0.0);
    EXPECT_EQ(FitScoreRatePolynomial({1, 2}, {1}, c, d, 2, &dev), 0.0);
    EXPECT_TRUE(c.empty());
    FitPolynomialArray({1, 2, 3}, {1, 2}, 2, c);
    EXPECT_EQ(c, (std::vector<double>{0, 0}));
}

// Records of (x0, inactive, x1, y) with y = 2 + 3*x0*x1^2 - 0.5/x0 + small noise.
std::vector<double> TermRecords(int n)
{
    std::vector<double> values;
    for (int r = 0; r < n; ++r) {
        const double x0 = 1.0 + 0.37 * (r % 13), x1 = 0.5 + 0.21 * (r % 7) + 0.01 * r;
        const double noise = 0.001 * std::sin(12.9898 * r);
        values.insert(values.end(), {x0, 99.0, x1, 2.0 + 3.0 * x0 * x1 * x1 - 0.5 / x0 + noise});
    }
    return values;
}

TEST(TermCodeRegression, RecoversKnownTerms)
{
    const std::vector<double> values = TermRecords(80);
    const std::vector<std::uint32_t> codes = {0, 0, 1, 2, 15, 0};  // 1, x0*x1^2, 1/x0
    std::vector<int> columns;
    std::vector<double> coefficients, deviations;
    double deviation = -1, largest = -1;
    int error = 7;
    const double e = FitTermCodeRegression(values, 0, 80, 4, {-1, 0, -1, 1}, columns, coefficients, deviations,
                                           &deviation, &largest, codes, &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(columns, (std::vector<int>{0, 2}));
    ExpectClose(coefficients, {2.0, 3.0, -0.5}, 1e-3, "terms");
    EXPECT_LT(e, 1e-8);
    EXPECT_GT(largest, deviation);  // the largest single deviation exceeds the rms one
    EXPECT_LE(largest, 0.002);

    // Term columns computed beforehand give the same fit, bit for bit.
    std::vector<std::vector<double>> termColumns(3);
    for (int t = 0; t < 3; ++t)
        ASSERT_TRUE(TermCodeColumn(values, 4, 0, 80, 2, {0, 2}, {codes[2 * t], codes[2 * t + 1]},
                                   termColumns[t]));
    std::vector<double> cached, cachedDeviations;
    double cachedDeviation = -1, cachedLargest = -1;
    const double cachedE =
        FitTermCodeRegression(values, 0, 80, 4, {-1, 0, -1, 1}, columns, cached, cachedDeviations, &cachedDeviation,
                              &cachedLargest, codes, &error, [&](int t) { return &termColumns[t]; });
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::tuple(cached, cachedDeviations, cachedDeviation, cachedLargest, cachedE),
              std::tuple(coefficients, deviations, deviation, largest, e));
    FitTermCodeRegression(values, 0, 80, 4, {-1, 0, -1, 1}, columns, cached, cachedDeviations, &cachedDeviation,
                          &cachedLargest, codes, &error, [](int) { return nullptr; });
    EXPECT_EQ(error, 1);

    // Two value parameters: nothing is fitted and the flag says so.
    FitTermCodeRegression(values, 0, 80, 4, {-1, 1, -1, 1}, columns, coefficients, deviations, &deviation, &largest,
                          codes, &error);
    EXPECT_EQ(error, 1);
    // A value outside a basis function's domain stops the fit with the flag raised.
    std::vector<double> negative = values;
    negative[4 * 10] = -1.0;
    FitTermCodeRegression(negative, 0, 80, 4, {-1, 0, -1, 1}, columns, coefficients, deviations, &deviation,
                          &largest, {0, 0, 10, 0}, &error);
    EXPECT_EQ(error, 1);
    // A code too large for an int is a basis of 0, never a negative code.
    FitTermCodeRegression(values, 0, 80, 4, {-1, 0, -1, 1}, columns, coefficients, deviations, &deviation, &largest,
                          {0, 0, 0xFFFFFFFFu, 1}, &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(coefficients[1], 0.0);  // an empty column: a singular fit
}

TEST(PolynomialFits, ParabolicVertexFormReproducesTheRawModel)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5, 5);
    for (int n = 1; n <= 4; ++n) {
        std::vector<double> raw(static_cast<std::size_t>(1 + 2 * n)), sd(raw.size(), 0.5);
        for (double& c : raw) c = u(rng);
        std::vector<VertexTerm> terms;
        const double a0 = ParabolicVertexForm(raw.data(), sd.data(), n, terms);
        ASSERT_EQ(terms.size(), static_cast<std::size_t>(n));
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<double> x(static_cast<std::size_t>(n));
            double rawValue = raw[0], vertexValue = a0;
            for (int j = 0; j < n; ++j) {
                x[j] = u(rng);
                rawValue += raw[1 + 2 * j] * x[j] * x[j] + raw[2 + 2 * j] * x[j];
                vertexValue += terms[j].a * (x[j] + terms[j].b) * (x[j] + terms[j].b);
            }
            EXPECT_NEAR(vertexValue, rawValue, 1e-12 * std::max(1.0, std::fabs(rawValue)));
        }
        EXPECT_DOUBLE_EQ(terms[0].bDeviation, 2 * std::fabs(terms[0].b) * std::fabs(0.5 / raw[1]));
    }
    // A vanishing square term: b is the 1e30 sentinel and A0 keeps a0.
    const double raw[] = {2, 1e-31, 4}, sd[] = {0.1, 0.2, 0.3};
    std::vector<VertexTerm> terms;
    EXPECT_EQ(ParabolicVertexForm(raw, sd, 1, terms), 2);
    EXPECT_EQ(terms[0].b, 1e30);
    EXPECT_EQ(terms[0].bDeviation, 1e30);
}

}  // namespace
