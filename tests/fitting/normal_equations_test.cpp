#include "fitting/normal_equations.h"

#include "fitting/schemes.h"
#include "fitting/term_models.h"
#include "tests/fitting/fitting_test_support.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    int m = 0, n = 0;
    std::vector<std::vector<double>> rows;  // m basis values then y
    std::vector<double> coefficients, deviations, sums;  // sums: SSR and SST
};

std::vector<FitCase> ReadFitCases()
{
    std::ifstream in(fittest::Source("least_squares.txt"));
    std::vector<FitCase> cases;
    for (auto head = fittest::NextNumbers(in); head.size() == 2; head = fittest::NextNumbers(in)) {
        FitCase c{static_cast<int>(head[0]), static_cast<int>(head[1])};
        for (int i = 0; i < c.n; ++i)
            c.rows.push_back(fittest::NextNumbers(in));
        c.coefficients = fittest::NextNumbers(in);
        c.deviations = fittest::NextNumbers(in);
        c.sums = fittest::NextNumbers(in);
        cases.push_back(c);
    }
    return cases;
}

double RelativeError(double got, double want)
{
    return std::fabs(got - want) / std::max(std::fabs(want), 1e-300);
}

// The rows of a fit from a table of basis values, the last one the value (and the target).
auto TableRows(const std::vector<std::vector<double>>& rows)
{
    return [&rows](int p, double* row, double& target, double& value) {
        const std::size_t m = rows[p].size() - 1;
        std::copy(rows[p].begin(), rows[p].begin() + m, row);
        target = value = rows[p][m];
        return true;
    };
}

}  // namespace

TEST(FitLeastSquares, AgreesWithReferenceIncludingHugeDeterminants)
{
    const auto cases = ReadFitCases();
    ASSERT_EQ(cases.size(), 2u);
    for (const auto& c : cases) {
        LeastSquaresResult r;
        ASSERT_TRUE(FitLeastSquares(c.m, c.n, TableRows(c.rows), r));
        ASSERT_NE(r.determinant, 0.0);
        for (int j = 0; j < c.m; ++j) {
            EXPECT_LT(RelativeError(r.coefficients[j], c.coefficients[j]), 1e-7) << "m " << c.m << " j " << j;
            // Finite where the ratio of determinants would be infinity over infinity.
            ASSERT_TRUE(std::isfinite(r.deviations[j]));
            EXPECT_LT(RelativeError(r.deviations[j], c.deviations[j]), 1e-7) << "m " << c.m << " j " << j;
        }
        EXPECT_LT(RelativeError(r.ssr, c.sums[0]), 1e-8);
        EXPECT_LT(RelativeError(r.sst, c.sums[1]), 1e-12);
        EXPECT_DOUBLE_EQ(r.msr, r.ssr / c.n);
        EXPECT_DOUBLE_EQ(r.deviation, std::sqrt(r.msr));
        EXPECT_DOUBLE_EQ(r.residualMeasure, r.ssr / r.sst);
    }
}

TEST(FitLeastSquares, ExactLineSingularMatrixAndRefusal)
{
    // y = 2x through (1, 2), (2, 4), (3, 6) with a transformed target.
    const double xs[] = {1, 2, 3};
    auto line = [&xs](int p, double* row, double& target, double& value) {
        row[0] = 1.0;
        row[1] = xs[p];
        value = 2.0 * xs[p];
        target = std::log(value);  // fits ln y, predicted back through exp
        return true;
    };
    LeastSquaresResult r;
    ASSERT_TRUE(FitLeastSquares(2, 3, line, r, [](const double* row, const double* a, int) {
        return std::exp(a[0] + a[1] * row[1]);
    }));
    EXPECT_DOUBLE_EQ(r.mean, 4.0);
    EXPECT_DOUBLE_EQ(r.sst, 8.0);
    EXPECT_GT(r.ssr, 0.0);  // ln y is not linear in x: residuals in units of y

    // Two identical columns: a failed fit that loses every comparison.
    const std::vector<std::vector<double>> twin = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    ASSERT_TRUE(FitLeastSquares(2, 3, TableRows(twin), r));
    EXPECT_EQ(std::tuple(r.determinant, r.coefficients), std::tuple(0.0, std::vector<double>{0.0, 0.0}));
    EXPECT_TRUE(std::isinf(r.deviations[0]) && std::isinf(r.msr) && std::isinf(r.residualMeasure));

    // Constant data: SST is 0, so the residual measure stays 0.
    const std::vector<std::vector<double>> flat(4, {1, 3});
    ASSERT_TRUE(FitLeastSquares(1, 4, TableRows(flat), r));
    EXPECT_EQ(std::tuple(r.coefficients[0], r.residualMeasure, r.deviations[0]), std::tuple(3.0, 0.0, 0.0));

    auto refuse = [](int p, double* row, double& target, double& value) {
        row[0] = 1.0;
        target = value = 1.0;
        return p < 2;
    };
    EXPECT_FALSE(FitLeastSquares(1, 4, refuse, r));
    EXPECT_FALSE(FitLeastSquares(0, 4, TableRows(flat), r));
    EXPECT_FALSE(FitLeastSquares(1, 0, TableRows(flat), r));
}

// A term model fitted from its basis columns and rows kept between the passes gives the bits
// of the row-by-row recipe, which evaluates every row through the callbacks in both passes.
TEST(FitLeastSquares, TermModelFitsGiveTheRowByRowBits)
{
    const int n = 3000;
    std::vector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = 0.2 + 3.0 * i / n + 1e-3 * std::sin(i * 7.1);
        y[i] = 2.0 + 0.5 * x[i] + 0.1 * std::exp(x[i]) + 0.3 * std::sin(x[i] * 2.4) + 0.05 * std::sin(i * 1.7);
    }
    x[17] = -0.5;  // outside the domain of roots and logarithms: such a term enters as 0
    const std::vector<std::tuple<std::vector<unsigned>, std::vector<double>, int>> models = {
        {{0, 1, 33, 41, 42}, {2.5}, 0},
        {{0, 1, 2, 3, 4, 5, 6, 7}, {}, 0},
        {{0, 21, 31, 34}, {}, 1},
        {{0, 11, 22, 43, 44, 45}, {1.0, 0.7, 3.0}, 2},
        {{1, 33}, {}, 3},
        {{0, 1, 2}, {}, 4},
        {{0}, {}, 5},
    };
    for (const auto& [codes, periods, yTransform] : models) {
        const int m = static_cast<int>(codes.size());
        const auto rowOf = [&](int i, double* row, double& target, double& value) {
            EvaluateTermRow(&target, row, periods, codes, yTransform, y[i], x[i]);
            value = y[i];
            return true;
        };
        const auto predict = [&](const double* row, const double* a, int terms) {
            double v = 0.0;
            for (int k = 0; k < terms; ++k)
                v += a[k] * row[k];
            return ApplyYTransform(v, yTransform);
        };
        LeastSquaresResult want;
        ASSERT_TRUE(FitLeastSquares(m, n, rowOf, want, predict));
        std::vector<double> a, s;
        double criterion = 0;
        const double e = FitTermModel(x, y, yTransform, codes, periods, a, s, &criterion);
        EXPECT_EQ(std::tuple(a, s, e), std::tuple(want.coefficients, want.deviations, want.residualMeasure))
            << "codes " << m << " transform " << yTransform;
    }
}

TEST(NormalEquations, CoefficientDeviation)
{
    EXPECT_TRUE(std::isinf(CoefficientDeviation(1.0, 1.0, 0.0)));
    EXPECT_EQ(CoefficientDeviation(4.0, -0.25, 3.0), 1.0);  // magnitude, never NaN
}
