#include "fitting/term_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
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

// The period search on y = 2 + 3 sin(2 pi x / T) + noise over [0, 60] finds T within 0.5 %
// (the scan in frequency holds a short period to a step of T^2/240; the steps after it
// rarely refine that).
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
            found = found || std::fabs(p / T - 1) < 0.005;
        EXPECT_TRUE(found) << T << ": " << periods[0] << " " << periods.back();
        EXPECT_EQ(codes.size(), 1 + 2 * periods.size());
    }
}

// The example files: a year or a date (MM/DD/YYYY, as a fractional year) and a value a line.
std::pair<std::vector<double>, std::vector<double>> Example(const std::string& name)
{
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/examples/" + name);
    std::vector<double> x, y;
    std::string line;
    std::getline(in, line);  // the names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string at;
        double v = 0;
        if (!(fields >> at >> v))
            continue;
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
