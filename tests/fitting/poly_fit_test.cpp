#include "fitting/poly_fit.h"

#include "statistics/random.h"
#include "tests/fitting/fitting_test_support.h"

#include <filesystem>
#include <limits>
#include <memory>
#include <set>

#include <unistd.h>

namespace {

class PolyFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedRandom = randomState;
        randomState = kRandomStartState;
    }
    void TearDown() override { randomState = savedRandom; }
    RandomState savedRandom{};
    polyFit currentPolyFit{};  // the working model
};

std::unique_ptr<polyFit> Record(const std::vector<double>& c, const std::vector<double>& d)
{
    auto f = std::make_unique<polyFit>();
    f->termCount = static_cast<int>(c.size());
    for (std::size_t k = 0; k < c.size(); ++k) {
        f->coefficient[k] = c[k];
        f->stdDev[k] = d[k];
    }
    f->standardDeviation = 0.5;
    f->maxDeviation = 1.25;
    f->residualMeasure = 0.04;
    f->sumRelativeError = 30.0;
    f->score = -7.0;
    return f;
}

TEST_F(PolyFitTest, CriteriaAgainstDirectComputation)
{
    const std::vector<double> c = {2.0, -0.5, 0.0004}, d = {0.2, 0.25, 0.0001};
    const double r[3] = {0.1, 0.5, 0.25};
    const double sum = r[0] + r[1] + r[2];
    struct Case { int criterion; std::vector<double> c, d; double want, tolerance = 1e-12; };
    const Case cases[] = {
        {0, c, d, 0.5},
        {1, c, d, 1.25},
        {2, c, d, sum},
        {3, c, d, 0.5 + 1.25},
        {4, c, d, 30.0 * 0.04},
        {5, c, d, sum / 3},
        {6, c, d, sum / (std::sqrt(3.0) + 1)},
        {7, c, d, 0.5 * (1 + 20 * (0.5 - 0.1)) * (1 + 0.1 * std::fabs(std::log(0.0004)))},
        {8, c, d, 0.04 * 0.25},
        {9, c, d, -7.0},
        {-1, c, d, -7.0},
        {8, {1e-41, -1e-40}, {1, 1}, 0.0, 0},    // coefficients of at most 1e-40
        {2, {}, {}, 0.0, 0},                     // no term
        {7, {1.0, 2.0}, {0.01, 0.02}, 0.5, 0},  // below both thresholds: the standard deviation alone
    };
    for (const Case& k : cases) {
        auto f = Record(k.c, k.d);
        f->criterion = k.criterion;
        EXPECT_NEAR(f->ComputeScore(), k.want, k.tolerance) << k.criterion;
        EXPECT_EQ(f->score, f->ComputeScore());
    }
}

TEST_F(PolyFitTest, SetFromFitChecksEveryTerm)
{
    const TermSet set = {0, 0, 1, 0, 1, 2};
    struct Case {
        double c1, d1;
        bool fails;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Case& k : std::vector<Case>{{1e-60, 1.0, true}, {1.1e-60, 1.0, false}, {2.0, 0.0, true},
                                          {2.0, 1e-62, true}, {2.0, 1.1e-62, false}, {inf, 1.0, true},
                                          {2.0, std::nan(""), true}, {1e-300, 1e300, true}}) {
        currentPolyFit = polyFit{};
        const double coefficients[3] = {1.0, k.c1, 4.0}, deviations[3] = {0.1, k.d1, 0.2};
        currentPolyFit.SetFromFit(0.3, coefficients, deviations, 0.9, set, 2, 0);
        EXPECT_EQ(currentPolyFit.termCount, 3);
        if (k.fails) {
            EXPECT_EQ(std::tuple(currentPolyFit.score, currentPolyFit.relativeError[1]), std::tuple(1e40, 1e42))
                << k.c1 << " " << k.d1;
        } else {
            EXPECT_EQ(std::tuple(currentPolyFit.score, currentPolyFit.termExponents[5]), std::tuple(0.3, 2));
            EXPECT_EQ(currentPolyFit.worstTermIndex, std::fabs(k.d1 / k.c1) > 0.1 ? 1 : 0);
            EXPECT_NEAR(currentPolyFit.sumRelativeError, 10.0 + std::fabs(k.d1 / k.c1) * 100 + 5.0, 1e-6);
        }
    }
    // Beyond 50 terms the record refuses the fit rather than overrun.
    TermSet big(51 * 2, 1);
    std::vector<double> ones(51, 1.0);
    currentPolyFit.SetFromFit(0.3, ones.data(), ones.data(), 0.9, big, 2, 0);
    EXPECT_EQ(std::tuple(currentPolyFit.score, currentPolyFit.termCount), std::tuple(1e40, 0));
}

TEST_F(PolyFitTest, TermSetOperations)
{
    polyFit& f = currentPolyFit;
    f.argCount = 2;
    TermSet set;
    EXPECT_EQ(f.AddTerm({1, 2}, set), 1);
    EXPECT_EQ(f.AddTerm({3, 0}, set), 1);
    EXPECT_EQ(f.AddTerm({1, 2}, set), 0);  // already there
    EXPECT_EQ(f.AddTerm({1}, set), 0);     // wrong length
    EXPECT_EQ(f.AddTerm({0, 0}, set), 1);  // the constant goes first
    EXPECT_EQ(std::tie(set, f.termCount, f.usedInts), std::tuple(TermSet{0, 0, 3, 0, 1, 2}, 3, 6));

    // No more than 50 terms.
    f = polyFit{};
    f.argCount = 1;
    TermSet many;
    for (std::uint32_t c = 0; c < 60; ++c)
        f.AddTerm({c}, many);
    EXPECT_EQ(std::tuple(many.size(), f.termCount), std::tuple(50u, 50));

    // Removal keeps the columns in step.
    f = polyFit{};
    f.argCount = 2;
    TermSet four = {0, 0, 1, 0, 0, 1, 2, 2};
    const double coefficients[4] = {1, 2, 3, 4}, deviations[4] = {0.1, 0.4, 1e-50, 0.2};
    f.SetFromFit(1.0, coefficients, deviations, 1.0, four, 2, 0);
    EXPECT_EQ(f.RemoveTerm(four, 4), 0);
    TermSet wrong = {0, 0};
    EXPECT_EQ(f.RemoveTerm(wrong, 0), 0);  // the set disagrees with the record
    // A term without deviation is taken at once, from the first index on.
    EXPECT_EQ(f.RemoveLeastSignificantTerm(four, 0), 1);
    EXPECT_EQ(std::tie(four, f.coefficient[2], f.termExponents[4]), std::tuple(TermSet{0, 0, 1, 0, 2, 2}, 4.0, 2));
    // Beyond the last term the scan finds nothing: term 1 goes.
    EXPECT_EQ(f.RemoveLeastSignificantTerm(four, 7), 1);
    EXPECT_EQ(four, (TermSet{0, 0, 2, 2}));

    f = polyFit{};
    TermSet three = {0, 1, 2};
    const double c3[3] = {1, 1, 1}, d3[3] = {0.5, 0.1, 0.3};
    f.SetFromFit(1.0, c3, d3, 1.0, three, 1, 0);
    f.RemoveWorstTerms(5, three);  // stops at one term
    EXPECT_EQ(three, (TermSet{1}));
}

// Records of three arguments and a value from y = 1 + 2*x0 + 3*x0*x1^2 - x2^3 (+ noise),
// or of the first two arguments without the last term.
struct KnownPolynomial {
    std::vector<double> values;
    PolySearchData data;
    TermSet truth;

    KnownPolynomial(int n, int arguments)
    {
        for (int r = 0; r < n; ++r) {
            const double x0 = 0.5 + 0.013 * (r % 97), x1 = 0.8 + 0.011 * (r % 89), x2 = 0.3 + 0.017 * (r % 83);
            double y = 1 + 2 * x0 + 3 * x0 * x1 * x1 + 0.01 * std::sin(7.1 * r);
            if (arguments == 3) {
                y -= x2 * x2 * x2;
                values.insert(values.end(), {x0, x1, x2, y});
            } else {
                values.insert(values.end(), {x0, x1, y});
            }
        }
        truth = arguments == 3 ? TermSet{0, 0, 0, 1, 0, 0, 1, 2, 0, 0, 0, 3} : TermSet{0, 0, 1, 0, 1, 2};
        data.values = &values;
        data.records = n;
        data.stride = arguments + 1;
        data.roles.assign(arguments, -1);
        data.roles.push_back(1);
    }
};

std::set<TermSet> TermsOf(const TermSet& set, int a)
{
    std::set<TermSet> terms;
    for (std::size_t t = 0; t + a <= set.size(); t += a)
        terms.insert(TermSet(set.begin() + t, set.begin() + t + a));
    return terms;
}

TEST_F(PolyFitTest, ThinningAndGrowingRecoverKnownTerms)
{
    KnownPolynomial known(600, 3);
    // Thin: the true terms and three spurious ones, down to four.
    TermSet set = known.truth;
    set.insert(set.end(), {2, 5, 0, 0, 0, 7, 3, 1, 1});
    int fitError = -1;
    double residual = -1;
    double score = GrowPolynomialStep(known.data, currentPolyFit, set, 0, 4, 1, fitError, residual, 0);
    EXPECT_EQ(fitError, 0);
    EXPECT_EQ(TermsOf(set, 3), TermsOf(known.truth, 3));
    EXPECT_LT(score, 0.02);
    EXPECT_EQ(currentPolyFit.residualMeasure, residual);  // kept for criteria 4 and 8
    EXPECT_GT(residual, 0.0);

    // Grow: from two of the terms of two arguments, keeping a step only when it scores lower.
    KnownPolynomial two(300, 2);
    TermSet best = {0, 0, 1, 2};
    double bestScore = 1e300;
    for (int step = 0; step < 2000 && TermsOf(best, 2) != TermsOf(two.truth, 2); ++step) {
        TermSet trial = best;
        const double s = GrowPolynomialStep(two.data, currentPolyFit, trial, 8, 3, 1, fitError, residual, 4);
        if (fitError == 0 && s < bestScore) {
            bestScore = s;
            best = trial;
        }
    }
    EXPECT_EQ(TermsOf(best, 2), TermsOf(two.truth, 2));
    EXPECT_GT(bestScore, 0.0);  // criterion 4 reads the residual: never a stale 0
}

TEST_F(PolyFitTest, AutomaticStepImproves)
{
    KnownPolynomial known(400, 3);
    TermSet set = {0, 0, 0};
    int terms = 0, fitError = 0;
    double residual = 0, best = 1e300;
    for (int pass = 0; pass < 300; ++pass) {
        TermSet trial = set;
        const double s = AutoPolynomialStep(known.data, currentPolyFit, trial, 3, pass % 2, terms, fitError, 8, residual, 4);
        if (fitError == 0 && s < best && std::fabs(s) > 1e-40) {
            best = s;
            set = trial;
        }
        EXPECT_LE(static_cast<int>(trial.size() / 3), 8);
    }
    EXPECT_LT(best, 1e-3);
    EXPECT_GE(set.size() / 3, 2u);
}

TEST_F(PolyFitTest, SearchLog)
{
    polyFit& f = currentPolyFit;
    const TermSet set = {0, 1};
    const double c[2] = {1.5, -2}, d[2] = {0.15, 0.5};
    f.SetFromFit(0.1, c, d, 0.2, set, 1, 0);
    const auto path = std::filesystem::temp_directory_path() / ("tabulon_log_" + std::to_string(::getpid()) + ".csv");
    std::filesystem::remove(path);
    WritePolySearchLog(f, path.string(), 0.98, "y=1.5-2*x\n", {"1", "x"});
    EXPECT_EQ(fittest::Slurp(path.string()),
              "N coeff, 2,,Correlation,0.98\nFormula:,y=1.5-2*x\n\nParameters,,1,x\nCoefficients,,1.5,-2\n"
              "St. Dev.,,0.15,0.5\nCoeff. of Corr.,,10,25\n");
    std::filesystem::remove(path);
    WritePolySearchLog(f, "/nonexistent/dir/log.csv", 0.5, "", {});  // silent
}

}  // namespace
