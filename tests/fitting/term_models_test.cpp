#include "fitting/term_models.h"

#include <limits>
#include <stdexcept>

#include "fitting/curve_walk.h"
#include "fitting/schemes.h"
#include "statistics/math_domain.h"
#include "tests/fitting/fitting_test_support.h"

namespace {

using fittest::Numbers;

const std::vector<double> kPeriods = {10.0, 4.0, 7.3, 2.5, 3.0, 5.0, 6.0, 8.0, 9.0, 11.0, 12.0, 13.0};

// Records what a painter would draw.
struct RecordingPen : CurvePen {
    std::string log;
    void MoveTo(double x, double) override { log += "M" + Tenths(x); }
    void LineTo(double x, double) override { log += "L" + Tenths(x); }
    void PenUp() override { log += "U"; }
    static std::string Tenths(double x) { return std::to_string(static_cast<int>(std::lround(x * 10))); }
};

}  // namespace

TEST(TermModels, CodesAndTransformsMatchOracleTable)
{
    std::ifstream in(fittest::Source("term_code_values.txt"));
    std::string line;
    int count = 0;
    std::vector<double> values(1);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        const auto f = Numbers(line.substr(kind.size()));
        double Y = -9;
        if (kind == "code") {
            EvaluateTermCode(&Y, values, kPeriods, {static_cast<unsigned>(f[0])}, 0, 1.0, f[1]);
            EXPECT_NEAR(values[0], f[2], 1e-14 * std::max(1.0, std::fabs(f[2]))) << line;
        } else {
            EvaluateTermCode(&Y, values, kPeriods, {}, static_cast<int>(f[0]), f[1], 1.0);
            EXPECT_NEAR(Y, f[2], 1e-14 * std::max(1.0, std::fabs(f[2]))) << line;
        }
        EXPECT_EQ(mathDomainError, static_cast<int>(f[3])) << line;
        ++count;
    }
    EXPECT_GT(count, 700);
}

TEST(TermModels, EvaluateTermCodeEdgeCases)
{
    std::vector<double> v(3, 5.0);
    double Y = 0;
    // A rejected term keeps the flag raised for the rest of the call.
    EvaluateTermCode(&Y, v, {}, {14, 1, 0}, 0, 2.0, 0.0);
    EXPECT_EQ(mathDomainError, 1);
    EXPECT_EQ(v, (std::vector<double>{0, 0, 1}));
    // A y-code above 5 leaves the transformed value unwritten.
    Y = 42;
    EvaluateTermCode(&Y, v, {}, {}, 6, 3.0, 1.0);
    EXPECT_EQ(Y, 42);
    std::vector<double> shortRow(1);
    EXPECT_THROW(EvaluateTermCode(&Y, v, {}, {41}, 0, 1.0, 1.0), std::invalid_argument);
    EXPECT_THROW(EvaluateTermCode(&Y, shortRow, {}, {0, 1}, 0, 1.0, 1.0), std::invalid_argument);
}

// Fits against statsmodels OLS of the transformed y, with the deviations and e in y's units.
TEST(TermModels, FitsMatchLeastSquaresOracle)
{
    std::ifstream in(fittest::Source("term_model_fits.txt"));
    std::string line;
    int cases = 0;
    while (std::getline(in, line)) {
        const auto head = Numbers(line);
        std::string l[7];
        for (auto& s : l)
            std::getline(in, s);
        const auto codesD = Numbers(l[0]);
        std::vector<unsigned> codes(codesD.begin(), codesD.end());
        const auto periods = Numbers(l[1]);
        const auto x = Numbers(l[2]), y = Numbers(l[3]), a = Numbers(l[4]), s = Numbers(l[5]);
        const auto tail = Numbers(l[6]);
        const double cond = tail[2];
        const double tol = std::max(1e-10, 100 * std::numeric_limits<double>::epsilon() * cond * cond);
        std::vector<double> coefficients, deviations;
        double criterion = 0;
        const double e = FitTermModel(x, y, static_cast<int>(head[2]), codes, periods, coefficients, deviations,
                                      &criterion);
        const std::string where = "case " + std::to_string(cases) + " codes " + l[0];
        fittest::ExpectClose(coefficients, a, tol, where);
        fittest::ExpectClose(deviations, s, tol, where);
        EXPECT_NEAR(e, tail[0], tol * std::max(1e-3, tail[0])) << where;
        EXPECT_NEAR(criterion, tail[1], tol * std::max(1.0, tail[1])) << where;
        ++cases;
    }
    EXPECT_EQ(cases, 12);
}

TEST(TermModels, ExactLineFitsWithoutResidual)
{
    const std::vector<double> x = {0, 1, 2, 3}, y = {1, 3, 5, 7};
    std::vector<double> a, s;
    double criterion = -1;
    EXPECT_EQ(FitTermModel(x, y, 0, {0, 1}, {}, a, s, &criterion), 0.0);
    EXPECT_NEAR(a[0], 1.0, 1e-14);
    EXPECT_NEAR(a[1], 2.0, 1e-14);
    EXPECT_EQ(criterion, 0.0);
}

// Mends: a fit that cannot be made, or proves nothing, never wins a comparison and never
// reports a perfect fit.
TEST(TermModels, FailedFitsGetTheSentinel)
{
    struct Case {
        const char* what;
        std::vector<double> x, y;
        std::vector<unsigned> codes;
        double e;
    } cases[] = {
        {"fewer points than terms", {0, 1}, {1, 2}, {0, 1, 2}, kFailedTermFitResidual},
        {"as many points as terms", {0, 1, 2}, {1, 5, 2}, {0, 1, 2}, 0.0},
        {"singular matrix", {1, 1, 1, 1}, {1, 2, 3, 4}, {0, 1}, kFailedTermFitResidual},
        {"no terms", {0, 1, 2}, {1, 2, 3}, {}, kFailedTermFitResidual},
        {"lengths differ", {0, 1, 2}, {1, 2}, {0}, kFailedTermFitResidual},
        {"no points", {}, {}, {0}, kFailedTermFitResidual},
        {"non-finite data", {0, 1, 2, 3}, {1, std::nan(""), 3, 4}, {0, 1}, kFailedTermFitResidual},
    };
    for (const auto& c : cases) {
        std::vector<double> a{9, 9, 9, 9}, s;
        double criterion = 0;
        const double e = FitTermModel(c.x, c.y, 0, c.codes, {}, a, s, &criterion);
        EXPECT_EQ(criterion, kUnfittedTermCriterion) << c.what;
        EXPECT_EQ(a.size(), c.codes.size()) << c.what;
        if (c.e != 0.0) {
            EXPECT_EQ(e, c.e) << c.what;
            for (double v : a)
                EXPECT_EQ(v, 0.0) << c.what;
        }
    }
    // ln 0 in a term is a domain error (0), not an infinity that spoils the fit.
    std::vector<double> a, s;
    double criterion = 0;
    FitTermModel({0, 1, 2, 3, 4}, {1, 2, 3, 4, 5}, 0, {0, 1, 31}, {}, a, s, &criterion);
    for (double v : a)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_LT(criterion, 1e40);
}

TEST(TermModels, CriterionTable)
{
    struct Case {
        double e;
        std::vector<double> a, s;
        std::vector<unsigned> codes;
        double expected;
    } cases[] = {
        {0.0, {1, 2}, {0, 0}, {0, 1}, 0.0},
        {0.0016, {1}, {0.5}, {0}, 0.2 + 0.5},
        {0.5, {2}, {1}, {41}, 3.0 + 0.25},
        {0.0, {0, 1}, {0, 0.1}, {0, 1}, 1e46 + 0.1},
        {0.0, {std::nan(""), 1}, {0, 0}, {0, 1}, 1e46},
        {std::nan(""), {1}, {1}, {0}, kUnfittedTermCriterion},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TermModelCriterion(c.e, c.a, c.s, static_cast<int>(c.a.size()), c.codes), c.expected);
}

TEST(CurveWalk, DrawsValidStretchesAndLiftsThePenAtDomainErrors)
{
    // Scheme 22 over [-1, 1]: only x > 0 is drawn.
    const double c[] = {1, 1, 1};
    RecordingPen pen;
    WalkCurve(-1.0, 1.0, 4, SchemeCurve(c, 3, 22), pen);
    EXPECT_EQ(pen.log, "UUUUM5L10");
    // ln x with a hole at x <= 0 and a stretch on both sides through 1/x (scheme 20).
    RecordingPen hole;
    WalkCurve(-1.0, 1.0, 4, SchemeCurve(c, 3, 20), hole);
    EXPECT_EQ(hole.log, "UM-10L-5UM5L10");

    RecordingPen none;
    WalkCurve(1.0, 1.0, 10, SchemeCurve(c, 3, 0), none);
    WalkCurve(2.0, 1.0, 10, SchemeCurve(c, 3, 0), none);
    EXPECT_EQ(none.log, "UU");
}

// Mend: a step too small to move x ends the walk instead of looping for ever.
TEST(CurveWalk, StopsWhenXStopsAdvancing)
{
    int visits = 0;
    const CurveValue count = [&](double, double& y) {
        ++visits;
        y = 0;
        return true;
    };
    RecordingPen pen;
    WalkCurve(1e17, 1e17 + 64, 1000, count, pen);
    EXPECT_LE(visits, 1001);
    visits = 0;
    double lo = 1e300, hi = -1e300;
    CurveYRange(0.0, 1.0, 200, count, lo, hi);
    EXPECT_GE(visits, 200);
    EXPECT_LE(visits, 201);
}

TEST(CurveWalk, RangeSkipsFlaggedPoints)
{
    const double c[] = {0.0, 1.0};  // 1/y = x: y = 1/x, undefined at 0
    double lo = 1e60, hi = -1e60;
    CurveYRange(-1.0, 1.0, 2, SchemeCurve(c, 2, 13), lo, hi);
    EXPECT_EQ(lo, -1.0);
    EXPECT_EQ(hi, 1.0);

    const std::vector<double> periods;
    const std::vector<unsigned> codes = {0, 1};
    const double a[] = {1.0, 2.0};
    double lo2 = 1e60, hi2 = -1e60;
    CurveYRange(0.0, 1.0, 10, TermModelCurve(periods, a, 2, codes, 3), lo2, hi2);  // (1 + 2x)^2
    EXPECT_DOUBLE_EQ(lo2, 1.0);
    EXPECT_DOUBLE_EQ(hi2, 9.0);
}
