#include "fitting/term_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <cmath>
#include <vector>

#include "fitting/term_models.h"

namespace {

using Codes = std::vector<unsigned>;
using Periods = std::vector<double>;

// A model and the search that changes it.
struct Model {
    Codes codes;
    int yTransform = 0;
    Periods periods;
    Codes triedCodes;
    std::vector<int> triedStarts;
    TermSelection search{codes, yTransform, periods, triedCodes, triedStarts};
};

struct TermSearch : ::testing::Test, Model {};

// n points of f over [from, to] with deterministic noise in [-noise, noise]: the tests do not depend on the
// generator's state.
std::pair<std::vector<double>, std::vector<double>> Sample(int n, double from, double to, double (*f)(double),
                                                           double noise)
{
    std::vector<double> x, y;
    for (int i = 0; i < n; ++i) {
        const double t = from + (to - from) * i / (n - 1);
        x.push_back(t);
        y.push_back(f(t) + noise * std::sin(91.7 * i + 0.3 * i * i));
    }
    return {x, y};
}

TEST_F(TermSearch, ListOperations)
{
    search.AddPeriodTerms(7.0);
    EXPECT_EQ(codes, (std::vector<unsigned>{41, 42}));
    codes = {0, 1, 41, 42};
    search.AddPeriodTerms(3.0);
    EXPECT_EQ(std::tie(codes, periods), std::tuple(Codes{0, 1, 41, 42, 43, 44}, Periods{7.0, 3.0}));

    search.RemoveTermAt(5);  // the newest pair goes with its period
    EXPECT_EQ(std::tie(codes, periods), std::tuple(Codes{0, 1, 41, 42}, Periods{7.0}));
    search.RemoveTermAt(9);  // out of range: nothing
    EXPECT_EQ(codes.size(), 4u);

    codes = {3, 0, 3, 44, 43};
    periods = {5, 20};
    search.NormalizeTermList();
    EXPECT_EQ(std::tie(codes, periods), std::tuple(Codes{0, 3, 41, 42, 43, 44}, Periods{20.0, 5.0}));
}

TEST_F(TermSearch, StepwiseRecoversKnownTerms)
{
    auto [x, y] = Sample(200, -2, 2, [](double t) { return 1 + 2 * t - 0.5 * t * t * t; }, 0.01);
    search.SelectTermsStepwise(x, y);
    EXPECT_EQ(std::tie(codes, periods), std::tuple(Codes{0, 1, 3}, Periods{}));

    // A straight line keeps the smallest model that no higher degree beats.
    std::tie(x, y) = Sample(50, 0, 5, [](double t) { return 3 - t; }, 0.001);
    search.SelectTermsStepwise(x, y);
    EXPECT_EQ(codes, (std::vector<unsigned>{0, 1}));
}

TEST_F(TermSearch, EliminationStopsAtASetTriedBefore)
{
    auto [x, y] = Sample(40, 0, 4, [](double t) { return 1 + t * t; }, 0.05);
    codes = {0, 1, 2};
    std::vector<double> ratios;
    search.FitCurrentTermModel(x, y, ratios);
    const std::size_t worst = static_cast<std::size_t>(std::max_element(ratios.begin(), ratios.end()) - ratios.begin());
    std::vector<unsigned> left = {0, 1, 2};
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(worst));
    // The first removal leaves a set tried before: the elimination stops at once.
    FindEqualTermSet(left, triedCodes, triedStarts);
    const double full = search.FitCurrentTermModel(x, y, ratios);
    EXPECT_EQ(search.EliminateTermsBackward(x, y), full);
    EXPECT_EQ(std::tuple(codes, triedStarts.size()), std::tuple(Codes{0, 1, 2}, 1u));
}

// The period search on y = 2 + 3 sin(2 pi x / T) + noise over [0, 60] finds T within 0.2 %
// (mend: a short period stayed on the frequency grid, a step of T^2/240, and needed 0.5 %).
TEST_F(TermSearch, PeriodSearchFindsThePeriod)
{
    for (const double period : {2.3, 7.3, 9.7, 21.0}) {
        static double T;
        T = period;
        auto [x, y] = Sample(400, 0, 60, [](double t) { return 2 + 3 * std::sin(6.283185307179586 * t / T); }, 0.05);
        codes = {0};
        periods.clear();
        EXPECT_EQ(search.AddBestPeriod(x, y), 1);
        ASSERT_FALSE(periods.empty());
        bool found = false;
        for (double p : periods)
            found = found || std::fabs(p / T - 1) < 0.002;
        EXPECT_TRUE(found) << T << ": " << periods[0] << " " << periods.back();
        EXPECT_EQ(codes.size(), 1 + 2 * periods.size());
    }
}

// The example files: a year or a date (MM/DD/YYYY, as a fractional year) or a number, and a value,
// in the given columns of each line.
std::pair<std::vector<double>, std::vector<double>> Example(const std::string& name, std::size_t argumentColumn = 0,
                                                            std::size_t valueColumn = 1)
{
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/examples/" + name);
    std::vector<double> x, y;
    std::string line;
    std::getline(in, line);  // the names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> field;
        for (std::string f; fields >> f;)
            field.push_back(f);
        if (field.size() <= std::max(argumentColumn, valueColumn))
            continue;
        const std::string& at = field[argumentColumn];
        const double v = std::stod(field[valueColumn]);
        int month = 0, day = 0, year = 0;
        if (std::sscanf(at.c_str(), "%d/%d/%d", &month, &day, &year) == 3) {
            static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
            const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
            const int dayOfYear = before[month - 1] + day - 1 + (leap && month > 2 ? 1 : 0);
            x.push_back(year + dayOfYear / (leap ? 366.0 : 365.0));
        } else {
            x.push_back(std::stod(at));
        }
        y.push_back(v);
    }
    return {x, y};
}

// Mend: the linear period steps passed over short periods; the scan in frequency finds the
// sunspots' cycle (107.2 years was found) and the yearly cycle of CO2 (none was found).
TEST_F(TermSearch, HarmonicAnalysisFindsShortCyclesOfTheExamples)
{
    const struct {
        const char* file;
        double period, tolerance;
    } cases[] = {{"sunspots.txt", 11, 0.5}, {"co2_mauna_loa.txt", 1, 0.02}};
    for (const auto& c : cases) {
        Model m;
        const auto [x, y] = Example(c.file);
        ASSERT_GT(x.size(), 300u) << c.file;
        m.search.FitHarmonicModel(x, y);
        bool found = false;
        for (double p : m.periods)
            found = found || std::fabs(p - c.period) < c.tolerance;
        EXPECT_TRUE(found) << c.file << " " << ::testing::PrintToString(m.periods);
    }
}

// Mend: a period that does not help leaves the model exactly as it was on entry.
TEST_F(TermSearch, RefusedPeriodRestoresTheModel)
{
    // A straight line, no data, and all x equal (no period range to search).
    const std::pair<std::vector<double>, std::vector<double>> inputs[] = {
        Sample(30, 0, 3, [](double t) { return 1 + 2 * t; }, 0.0), {{}, {}}, {{2, 2, 2, 2}, {1, 2, 3, 4}}};
    for (const auto& [xs, ys] : inputs) {
        codes = {0, 1};
        EXPECT_EQ(search.AddBestPeriod(xs, ys), 0) << xs.size();
        EXPECT_EQ(std::tie(codes, periods), std::tuple(Codes{0, 1}, Periods{})) << xs.size();
    }
}

TEST_F(TermSearch, BestFormulaFindsATransformAndLeavesItsFit)
{
    auto [x, y] = Sample(80, 0.5, 4, [](double t) { return std::exp(0.5 + 0.8 * t); }, 0.0);
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] *= 1 + 0.002 * std::sin(37.0 * static_cast<double>(i));
    search.SearchBestFormula(x, y);
    std::vector<double> a, s;
    double held = 0;
    const double e = FitTermModel(x, y, yTransform, codes, periods, a, s, &held);
    EXPECT_EQ(e, search.lastResidual);  // the last fit is of the model held
    // Never worse than the polynomial it starts from.
    Model start;
    start.search.SelectTermsUpTo(x, y, 5);
    const double polynomial = start.search.CurrentModelCriterion(x, y);
    EXPECT_LE(held, polynomial * (1 + 1e-9));
    EXPECT_TRUE(std::is_sorted(periods.rbegin(), periods.rend()));
}

TEST_F(TermSearch, HarmonicModelNormalisesItsPairs)
{
    auto [x, y] = Sample(150, 0, 30, [](double t) {
        return 1 + 0.1 * t + 2 * std::cos(6.283185307179586 * t / 5.0) + std::sin(6.283185307179586 * t / 12.0);
    }, 0.1);
    search.FitHarmonicModel(x, y);
    search.NormalizeTermList();
    ASSERT_GE(periods.size(), 2u);
    EXPECT_TRUE(std::is_sorted(periods.rbegin(), periods.rend()));
    const std::size_t plain = codes.size() - 2 * periods.size();
    for (std::size_t i = 0; i < periods.size(); ++i) {
        EXPECT_EQ(codes[plain + 2 * i], 41 + 2 * i);
        EXPECT_EQ(codes[plain + 2 * i + 1], 42 + 2 * i);
    }
    bool five = false, twelve = false;
    for (double p : periods) {
        five = five || std::fabs(p / 5.0 - 1) < 0.02;
        twelve = twelve || std::fabs(p / 12.0 - 1) < 0.05;  // 2.5 turns over the data
    }
    EXPECT_TRUE(five);
    EXPECT_TRUE(twelve) << ::testing::PrintToString(periods);
}

// Reused columns give the same fits bit for bit, so the searches choose the same models.
TEST_F(TermSearch, ReusedColumnsChangeNothing)
{
    auto [x, y] =
        Sample(120, 0.5, 20, [](double t) { return 2 + std::log(t) + std::cos(6.283185307179586 * t / 6.5); }, 0.2);
    TermFitCache cache;
    const std::vector<std::vector<unsigned>> models = {
        {0, 1, 2}, {0, 31, 41, 42}, {0, 31, 41, 42}, {3, 0, 3, 22}, {0, 41, 42, 43, 44}};
    const std::vector<std::vector<double>> periodLists = {{}, {6.5}, {6.6}, {}, {6.6, 3.1}};
    for (int transform : {0, 5, 1}) {
        for (std::size_t i = 0; i < models.size(); ++i) {
            std::vector<double> a1, s1, a2, s2;
            double c1 = 0, c2 = 0;
            const double e1 = FitTermModel(x, y, transform, models[i], periodLists[i], a1, s1, &c1);
            const double e2 = FitTermModel(x, y, transform, models[i], periodLists[i], a2, s2, &c2, &cache);
            EXPECT_EQ(std::tie(e1, c1, a1, s1), std::tie(e2, c2, a2, s2)) << transform << " " << i;
        }
    }

    search.FitHarmonicModel(x, y);
    const auto cached = std::tuple(codes, periods, search.lastResidual);
    search.reuseColumns = false;
    search.FitHarmonicModel(x, y);
    EXPECT_EQ(std::tuple(codes, periods, search.lastResidual), cached);
}

}  // namespace

namespace {

// y = 3 + 0.5x + 2 sin(x + phase) + normal noise (sd 0.3), x evenly over [0, 100].
std::pair<std::vector<double>, std::vector<double>> NoisySine(int n, double phase)
{
    std::mt19937 generator(51);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<double> x(static_cast<std::size_t>(n)), y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 100.0 * static_cast<double>(i) / (n - 1);
        y[i] = 3 + 0.5 * x[i] + 2 * std::sin(x[i] + phase) + noise(generator);
    }
    return {x, y};
}

// Mend: the period stayed on the frequency grid (6.25 for 2 pi), and a run cost thousands of fits.
// Now the search settles in a minimum of the criterion, and with a phase of 1 that minimum is the
// least-squares period of the same model within three standard errors: found by Newton steps on the
// sum of squares as a function of the period (the other coefficients fitted at each period), the
// standard error from that function's curvature, var T = 2 s^2 / SSR''. With a phase of 0 the
// cosine's coefficient vanishes at the least-squares period, and the criterion, which adds each
// coefficient's |deviation / value|, has its minima beside it (6.264 and 6.305 against 6.2851 +- 0.001
// for this noise).
TEST_F(TermSearch, HarmonicPeriodSettlesInTheMinimum)
{
    for (const double phase : {1.0, 0.0}) {
        Model m;
        const auto [x, y] = NoisySine(2000, phase);
        m.search.FitHarmonicModel(x, y);
        ASSERT_EQ(m.periods.size(), 1u) << ::testing::PrintToString(m.periods);
        // The search without the frequency scan makes about 420 fits here (before the mend: thousands).
        EXPECT_LT(m.search.fitCount, 1.5 * 420);
        const auto fit = [&](double T, double* criterion) {
            std::vector<double> a, s;
            std::vector<double> periods = {T};
            return FitTermModel(x, y, 0, m.codes, periods, a, s, criterion);  // SSR / SST
        };
        double found = 0, below = 0, above = 0;
        const double T0 = m.periods[0];
        fit(T0, &found);
        fit(T0 - 1e-4, &below);
        fit(T0 + 1e-4, &above);
        EXPECT_LE(found, std::min(below, above)) << phase << " " << T0;
        if (phase == 0.0)
            continue;

        double sst = 0, mean = 0, unused = 0;
        for (double v : y)
            mean += v / static_cast<double>(y.size());
        for (double v : y)
            sst += (v - mean) * (v - mean);
        double T = 2 * 3.141592653589793, curvature = 0;
        const double h = 1e-3;
        for (int step = 0; step < 6; ++step) {
            const double lo = fit(T - h, &unused) * sst, mid = fit(T, &unused) * sst, hi = fit(T + h, &unused) * sst;
            curvature = (lo - 2 * mid + hi) / (h * h);
            T -= (hi - lo) / (2 * h) / curvature;
        }
        const double s2 = fit(T, &unused) * sst / static_cast<double>(x.size() - m.codes.size() - 1);
        EXPECT_NEAR(T0, T, 3 * std::sqrt(2 * s2 / curvature)) << "least squares " << T;
    }
}

// Mend: with repeated arguments (WATERTEMP takes 9 values over 21 records) the median spacing was 0,
// so the frequency scan went on to periods far below any spacing, and curves swung between every two
// points. No period is shorter than twice the median spacing of the distinct values (1 here).
TEST_F(TermSearch, RepeatedArgumentsDrawNoPeriodBelowTheirSpacing)
{
    const auto [x, y] = Example("stackloss.txt", 1, 3);
    ASSERT_EQ(x.size(), 21u);
    search.FitHarmonicModel(x, y);
    for (double p : periods)
        EXPECT_GE(p, 2.0) << ::testing::PrintToString(periods);
}

}  // namespace
