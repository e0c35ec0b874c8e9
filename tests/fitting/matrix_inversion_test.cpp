#include "fitting/matrix_inversion.h"

#include "tests/fitting/fitting_test_support.h"

#include <limits>
#include <stdexcept>

namespace {

// Each case of a table: header (n, determinant), matrix, expected result, all
// column by column.
struct MatrixCase {
    int n;
    double determinant;
    std::vector<double> matrix;
    std::vector<double> expected;
};

std::vector<MatrixCase> ReadCases(const std::string& name)
{
    const auto lines = fittest::NumberLines(name);
    std::vector<MatrixCase> cases;
    for (std::size_t i = 0; i + 2 < lines.size(); i += 3)
        cases.push_back({static_cast<int>(lines[i][0]), lines[i][1], lines[i + 1], lines[i + 2]});
    return cases;
}

// 1-based buffer from a column-by-column list.
std::vector<double> OneBased(const std::vector<double>& columns)
{
    std::vector<double> a(columns.size() + 1, 0.0);
    std::copy(columns.begin(), columns.end(), a.begin() + 1);
    return a;
}

}  // namespace

TEST(InvertMatrix, AgreesWithReferenceInEveryForm)
{
    const auto cases = ReadCases("inverse.txt");
    ASSERT_GE(cases.size(), 15u);
    bool sawFifty = false;
    for (const auto& c : cases) {
        sawFifty = sawFifty || c.n == 50;
        double scale = 0;
        for (double v : c.expected)
            scale = std::max(scale, std::fabs(v));

        std::vector<double> fixed = OneBased(c.matrix);
        const double d = InvertMatrix(c.n, fixed.data());
        EXPECT_NEAR(d, c.determinant, 1e-12 * std::fabs(c.determinant)) << "n " << c.n;
        for (std::size_t k = 0; k < c.expected.size(); ++k)
            ASSERT_NEAR(fixed[k + 1], c.expected[k], 1e-12 * scale) << "n " << c.n << " item " << k;

        // The growable forms run the same elimination: identical bits.
        std::vector<double> zeroBased = c.matrix;
        EXPECT_EQ(InvertMatrixArray(zeroBased), d);
        std::vector<double> oneBased = OneBased(c.matrix);
        EXPECT_EQ(InvertMatrixArrayN(c.n, oneBased), d);
        EXPECT_EQ(zeroBased, std::vector<double>(fixed.begin() + 1, fixed.end())) << "n " << c.n;
        EXPECT_EQ(oneBased, fixed) << "n " << c.n;
    }
    EXPECT_TRUE(sawFifty);
}

TEST(InvertMatrix, FirstPivotOfLargestMagnitudeWins)
{
    // Expected bits from a plain elimination with that pivot rule; the cases were
    // chosen where another tie rule gives different bits. The last cases are
    // singular and show the partly reduced matrix.
    const auto cases = ReadCases("pivot_order.txt");
    ASSERT_GE(cases.size(), 12u);
    int singular = 0;
    for (const auto& c : cases) {
        std::vector<double> a = OneBased(c.matrix);
        EXPECT_EQ(InvertMatrix(c.n, a.data()), c.determinant);
        singular += c.determinant == 0.0;
        EXPECT_EQ(std::vector<double>(a.begin() + 1, a.end()), c.expected) << "n " << c.n;
    }
    EXPECT_GE(singular, 3);
}

TEST(InvertMatrix, OrdersAtTheLimitsAndNaN)
{
    // General and singular matrices are in the tables; here the orders at the limits.
    std::vector<double> one = {0, 5};
    EXPECT_EQ(InvertMatrix(1, one.data()), 5.0);
    EXPECT_EQ(one[1], 0.2);

    std::vector<double> untouched = {7, 8};
    EXPECT_EQ(InvertMatrix(0, untouched.data()), 1.0);
    EXPECT_EQ(untouched, (std::vector<double>{7, 8}));

    // The fixed pivot lists hold 50 steps: a larger order is refused untouched.
    std::vector<double> big(51 * 51 + 1, 1.0);
    EXPECT_EQ(InvertMatrix(51, big.data()), 0.0);
    EXPECT_EQ(big[1], 1.0);

    // NaN elements must not trap the pivot search.
    std::vector<double> withNaN = {0, std::nan(""), 1, 1, 2};
    const double d = InvertMatrix(2, withNaN.data());
    EXPECT_FALSE(d == 1.0);
}

TEST(InvertMatrix, ArrayFormsCheckTheirSize)
{
    std::vector<double> eight = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<double> before = eight;
    EXPECT_EQ(InvertMatrixArray(eight), 0.0);
    EXPECT_EQ(eight, before);

    std::vector<double> empty;
    EXPECT_EQ(InvertMatrixArray(empty), 1.0);

    std::vector<double> shortArray(9, 1.0);  // needs 10 for a 1-based 3 x 3
    EXPECT_THROW(InvertMatrixArrayN(3, shortArray), std::invalid_argument);
    EXPECT_EQ(shortArray, std::vector<double>(9, 1.0));

    // No fixed limit on the order of the growable forms.
    const int n = 60;
    std::vector<double> identity(n * n + 1, 0.0);
    for (int i = 1; i <= n; ++i)
        identity[(i - 1) * n + i] = 2.0;
    EXPECT_EQ(InvertMatrixArrayN(n, identity), std::ldexp(1.0, n));
    EXPECT_EQ(identity[1], 0.5);
}

TEST(MatrixMinorDeterminant, DropsOneRowAndColumn)
{
    // [[1, 2, 3], [2, 5, 6], [3, 6, 10]], symmetric.
    const double a[] = {0, 1, 2, 3, 2, 5, 6, 3, 6, 10};
    EXPECT_DOUBLE_EQ(MatrixMinorDeterminant(3, 1, a), 1.0);   // rows/columns 1 and 3
    EXPECT_DOUBLE_EQ(MatrixMinorDeterminant(3, 0, a), 14.0);  // 5*10 - 6*6
    EXPECT_DOUBLE_EQ(MatrixMinorDeterminant(3, 2, a), 1.0);   // 1*5 - 2*2
    const double one[] = {0, 4};
    EXPECT_EQ(MatrixMinorDeterminant(1, 0, one), 1.0);
    EXPECT_EQ(MatrixMinorDeterminant(3, 3, a), 0.0);
    EXPECT_EQ(MatrixMinorDeterminant(3, -1, a), 0.0);
}

// A pivot counts as zero when it is a negligible share of its scale (the geometric mean of its
// row's and column's diagonal as given): [[1, 1], [1, 1 + d]] leaves the share d/(1 + d).
TEST(InvertMatrix, NegligiblePivotIsSingular)
{
    const double share = NegligiblePivotShare();
    EXPECT_EQ(share, 64 * std::numeric_limits<double>::epsilon());
    EXPECT_EQ(NegligiblePivotShare(1000), 1000 * std::numeric_limits<double>::epsilon());
    for (double d : {1e-12, 1e-13}) {
        std::vector<double> a = {0, 1, 1, 1, 1 + d};
        EXPECT_NEAR(InvertMatrix(2, a.data()), d, 1e-3 * d) << d;
    }
    for (double d : {4e-15, 2.220446049250313e-16}) {
        std::vector<double> a = {0, 1, 1, 1, 1 + d};
        EXPECT_EQ(InvertMatrix(2, a.data()), 0.0) << d;
        std::vector<double> b = {1, 1, 1, 1 + d};
        EXPECT_EQ(InvertMatrixArray(b), 0.0) << d;
    }
    // The share is relative to the diagonal: the same holds for the matrix scaled by 1e-100, and
    // for columns of very different sizes (1e-20 and 1 on the diagonal, shares 2e-12 and 2e-15).
    std::vector<double> tiny = {0, 1e-100, 1e-100, 1e-100, 1e-100 * (1 + 1e-12)};
    EXPECT_NE(InvertMatrix(2, tiny.data()), 0.0);
    std::vector<double> huge = {0, 1e300, 1e300, 1e300, 1e300 * (1 + 1e-12)};
    EXPECT_NE(InvertMatrix(2, huge.data()), 0.0);
    std::vector<double> skewed = {0, 1e-20, 1e-10 * (1 - 1e-12), 1e-10 * (1 - 1e-12), 1.0};
    EXPECT_NE(InvertMatrix(2, skewed.data()), 0.0);
    std::vector<double> dependent = {0, 1e-20, 1e-10 * (1 - 1e-15), 1e-10 * (1 - 1e-15), 1.0};
    EXPECT_EQ(InvertMatrix(2, dependent.data()), 0.0);
    // A caller summing many points asks for a larger share.
    std::vector<double> loose = {0, 1, 1, 1, 1 + 1e-13};
    EXPECT_EQ(InvertMatrixArrayN(2, loose, NegligiblePivotShare(1000)), 0.0);
}

