// User basis models and one-variable formulas: evaluation at points, least-squares fits
// against numpy/statsmodels (model_fit_oracle.txt, gen_model_fit_oracle.py), the failed
// and degenerate fits, and the residual ratio of a formula.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "formula/model_evaluation.h"
#include "statistics/math_domain.h"

namespace {

struct FitCase {
    std::string name;
    std::string transform;
    std::vector<std::string> basis;
    std::vector<double> x, y, coef, dev;
    double ratio = 0, rms = 0;
};

std::vector<double> Numbers(std::istringstream& in) {
    std::vector<double> v;
    for (std::string t; in >> t;) v.push_back(std::stod(t));
    return v;
}

std::vector<FitCase> ReadOracle() {
    std::ifstream file(std::string(TABULON_SOURCE_DIR) + "/tests/formula/model_fit_oracle.txt");
    std::vector<FitCase> cases;
    FitCase c;
    const std::map<std::string, std::vector<double>*> lists{
        {"x", &c.x}, {"y", &c.y}, {"coef", &c.coef}, {"dev", &c.dev}};
    for (std::string line; std::getline(file, line);) {
        std::istringstream in(line);
        std::string key;
        in >> key;
        if (key == "case") in >> c.name;
        else if (key == "F") in >> c.transform;
        else if (key == "basis") for (std::string b; in >> b;) c.basis.push_back(b);
        else if (lists.count(key)) *lists.at(key) = Numbers(in);
        else if (key == "ratio") in >> c.ratio;
        else if (key == "rms") in >> c.rms;
        else if (key == "end") cases.push_back(std::exchange(c, FitCase{}));
    }
    return cases;
}

void ExpectRelative(double actual, double expected, double tolerance, const std::string& what) {
    EXPECT_LE(std::fabs(actual - expected), tolerance * std::max(1.0, std::fabs(expected)))
        << what << ": " << actual << " vs " << expected;
}

TEST(UserBasisModel, FitsMatchLeastSquaresOracle) {
    const std::vector<FitCase> cases = ReadOracle();
    ASSERT_EQ(cases.size(), 24u);
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.basis.size());
        std::vector<double> a, dev;
        double rms = -1;
        const double ratio = FitUserBasisModel(c.x, c.y, a, dev, n, rms, c.transform, c.basis);
        ASSERT_GE(a.size(), static_cast<std::size_t>(n + 1));
        EXPECT_EQ(a[static_cast<std::size_t>(n)], 0.0);
        for (int i = 0; i < n; ++i) {
            ExpectRelative(a[static_cast<std::size_t>(i)], c.coef[static_cast<std::size_t>(i)], 1e-7, "coefficient");
            ExpectRelative(dev[static_cast<std::size_t>(i)], c.dev[static_cast<std::size_t>(i)], 1e-6, "deviation");
        }
        ExpectRelative(ratio, c.ratio, 1e-7, "ratio");
        ExpectRelative(rms, c.rms, 1e-7, "rms");
    }
}

TEST(UserBasisModel, ExactLineDegenerateAndRefusedFits) {
    std::vector<double> a{9, 9, 9, 9}, dev{9, 9, 9, 9};
    double rms = 9;
    // y = 1 + 2x through three points: exact.
    EXPECT_NEAR(FitUserBasisModel({0, 1, 2}, {1, 3, 5}, a, dev, 2, rms, "y", {"1", "x"}), 0.0, 1e-15);
    for (const auto& [actual, expected] : {std::pair{a[0], 1.0}, std::pair{a[1], 2.0}, std::pair{rms, 0.0}})
        EXPECT_NEAR(actual, expected, 1e-12);
    EXPECT_EQ(std::make_tuple(a[2], a[3]), std::make_tuple(0.0, 9.0));  // n + 1 entries cleared

    // No spread of F: the ratio is 0.
    EXPECT_EQ(FitUserBasisModel({0, 1, 2}, {4, 4, 4}, a, dev, 2, rms, "y", {"1", "x"}), 0.0);
    EXPECT_NEAR(a[0], 4.0, 1e-12);

    // No points, sizes that differ, no basis: 0 and nothing touched.
    a = {7, 7, 7};
    rms = 7;
    EXPECT_EQ(FitUserBasisModel({}, {}, a, dev, 2, rms, "y", {"1", "x"}), 0.0);
    EXPECT_EQ(FitUserBasisModel({1, 2}, {1}, a, dev, 2, rms, "y", {"1", "x"}), 0.0);
    EXPECT_EQ(FitUserBasisModel({1, 2}, {1, 2}, a, dev, 0, rms, "y", {}), 0.0);
    EXPECT_EQ(std::make_tuple(a, rms), std::make_tuple(std::vector<double>{7, 7, 7}, 7.0));

    // Linearly dependent basis: a failed fit, reported instead of divided by.
    const double failed = FitUserBasisModel({1, 2, 3, 4}, {1, 2, 2, 5}, a, dev, 2, rms, "y", {"x", "2*x"});
    EXPECT_EQ(std::make_tuple(failed, a[0], a[1], dev[0], rms),
              std::make_tuple(kFailedFitMeasure, 0.0, 0.0, kFailedFitMeasure, kFailedFitMeasure));

    // A basis text missing from the list counts as empty (0 everywhere): singular, no crash.
    EXPECT_EQ(FitUserBasisModel({1, 2, 3}, {1, 2, 3}, a, dev, 3, rms, "y", {"1", "x"}), kFailedFitMeasure);
}

TEST(UserBasisModel, ManyBasisTextsAreSizedByTheirCount) {
    // 60 hat functions on integer nodes fit a piecewise linear y exactly.
    const int n = 60;
    std::vector<std::string> basis;
    for (int k = 0; k < n; ++k) basis.push_back("max(0,1-abs(x-" + std::to_string(k) + "))");
    std::vector<double> x, y;
    auto node = [](int k) { return static_cast<double>(k % 7); };
    for (int k = 0; k < n; ++k) {
        x.push_back(k);
        y.push_back(node(k));
        if (k + 1 < n) {
            x.push_back(k + 0.5);
            y.push_back((node(k) + node(k + 1)) / 2);
        }
    }
    std::vector<double> a, dev;
    double rms = -1;
    const double ratio = FitUserBasisModel(x, y, a, dev, n, rms, "y", basis);
    ASSERT_EQ(a.size(), static_cast<std::size_t>(n + 1));
    for (int k = 0; k < n; ++k) EXPECT_NEAR(a[static_cast<std::size_t>(k)], node(k), 1e-9) << k;
    EXPECT_NEAR(ratio, 0.0, 1e-20);
    for (int k = 0; k < n; ++k) EXPECT_TRUE(std::isfinite(dev[static_cast<std::size_t>(k)]));
}

TEST(UserBasisModel, PointEvaluationAndDomainErrors) {
    std::vector<double> values;
    double f = -1;
    // A failed evaluation delivers 0.
    EXPECT_EQ(EvaluateModelAtPoint(2, 3, f, values, 3, "y*x", {"1", "x^2", "sqrt(x-3)"}), 1);
    EXPECT_EQ(std::tuple(f, values, mathDomainError), std::tuple(6.0, std::vector<double>{1, 4, 0}, 1));
    EXPECT_EQ(EvaluateModelAtPoint(4, 0, f, values, 2, "ln(y)", {"1", "x"}), 1);
    EXPECT_EQ(std::tuple(f, mathDomainError), std::tuple(0.0, 1));
    EXPECT_EQ(EvaluateModelAtPoint(4, 1, f, values, 2, "ln(y)", {"1", "x"}), 1);
    EXPECT_EQ(mathDomainError, 0);

    // The basis alone: the transform is not evaluated at all.
    f = 42;
    EXPECT_EQ(EvaluateBasisAtPoint(4, 0, f, values, 2, "ln(y)", {"x", "x/2"}), 1);
    EXPECT_EQ(std::make_tuple(f, values[0], values[1], mathDomainError), std::make_tuple(42.0, 4.0, 2.0, 0));

    // x is written with six significant digits.
    EXPECT_EQ(EvaluateModelAtPoint(1234567.8, 0, f, values, 1, "y", {"x"}), 1);
    EXPECT_EQ(values[0], 1234570.0);
}

TEST(UserBasisModel, DomainErrorPointEntersTheFitWithZero) {
    // ln(y) at y = 0 fails: that point's F is 0 and counts.
    std::vector<double> a, dev;
    double rms = 0;
    FitUserBasisModel({1, 2, 3}, {std::exp(1.0), 0, std::exp(1.0)}, a, dev, 1, rms, "ln(y)", {"1"});
    // F = 1.000000 (six decimals of ln(2.71828)), 0, 1.000000: the mean.
    EXPECT_NEAR(a[0], 2.0 / 3.0, 1e-6);
}

TEST(FormulaOfOneVariable, EvaluationAndResidualRatio) {
    EXPECT_EQ(EvaluateFormulaWithVariable("t*2+1", "t", "3"), 7.0);
    EXPECT_EQ(mathDomainError, 0);
    EXPECT_EQ(EvaluateFormulaWithVariable("sqrt(t)", "t", "-4"), 0.0);
    EXPECT_EQ(mathDomainError, 1);
    EXPECT_EQ(EvaluateFormulaWithVariable("x+xx", "x", "1"), 1.0);  // xx is no whole word

    const std::vector<double> x{0, 1, 2, 3, 4}, y{3, 4, 7, 12, 19};  // x^2 + 3
    double offset = -1;
    EXPECT_NEAR(FormulaResidualRatio(x, y, "x^2", "x", offset, 1), 0.0, 1e-15);
    EXPECT_NEAR(offset, 3.0, 1e-12);

    // Without the offset: residuals of 3 at every point over the spread of y (mean 9, squares 174).
    EXPECT_NEAR(FormulaResidualRatio(x, y, "x^2", "x", offset, 0), 5 * 9 / 174.0, 1e-12);
    EXPECT_EQ(offset, 0.0);
    // No points, no spread, sizes that differ.
    EXPECT_EQ((std::vector<double>{FormulaResidualRatio({}, {}, "x", "x", offset, 1),
                                   FormulaResidualRatio({1, 2}, {5, 5}, "x", "x", offset, 1),
                                   FormulaResidualRatio({1, 2}, {5}, "x", "x", offset, 1)}),
              (std::vector<double>{1e40, 1e40, 1e40}));
}

}  // namespace
