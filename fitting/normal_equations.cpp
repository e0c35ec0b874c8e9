#include "fitting/normal_equations.h"

#include "fitting/matrix_inversion.h"

#include <algorithm>
#include <cmath>
#include <limits>

double CoefficientDeviation(double msr, double inverseDiagonal, double determinant)
{
    if (determinant == 0.0)
        return std::numeric_limits<double>::infinity();
    // (M^-1)_jj equals the minor's determinant over the whole determinant, but
    // unlike that ratio it does not overflow for many terms.
    return std::sqrt(std::fabs(msr * inverseDiagonal));
}

namespace {

// One point's share of the sums: the lower triangle of the 1-based matrix and the
// right-hand side.
inline void AddNormalRow(int m, const double* row, double target, double* matrix, double* rhs)
{
    for (int j = 0; j < m; ++j) {
        rhs[j] += target * row[j];
        for (int l = j; l < m; ++l)
            matrix[l * m + j + 1] += row[j] * row[l];
    }
}

}  // namespace

void MirrorNormalMatrix(int m, double* matrix)
{
    // The matrix is symmetric: element (l, j) is the same sum of the same products.
    for (int j = 0; j < m; ++j)
        for (int l = j + 1; l < m; ++l)
            matrix[j * m + l + 1] = matrix[l * m + j + 1];
}

bool FitLeastSquares(int m, int n, const LeastSquaresRow& rowOf, LeastSquaresResult& result,
                     const LeastSquaresPrediction& predict)
{
    result = LeastSquaresResult{};
    if (m < 1 || n < 1)
        return false;
    const std::size_t mm = static_cast<std::size_t>(m);
    result.coefficients.assign(mm, 0.0);
    result.deviations.assign(mm, 0.0);

    std::vector<double> matrix(mm * mm + 1, 0.0);  // 1-based
    std::vector<double> rhs(mm, 0.0);
    std::vector<double> row(mm, 0.0);
    double sum = 0.0;

    for (int p = 0; p < n; ++p) {
        double target = 0.0, value = 0.0;
        if (!rowOf(p, row.data(), target, value))
            return false;
        sum += value;
        AddNormalRow(m, row.data(), target, matrix.data(), rhs.data());
    }
    MirrorNormalMatrix(m, matrix.data());
    const auto residuals = [&](const double* coefficients, double& sst, double& ssr) {
        sst = 0.0;
        ssr = 0.0;
        for (int p = 0; p < n; ++p) {
            double target = 0.0, value = 0.0;
            rowOf(p, row.data(), target, value);
            double fitted;
            if (predict) {
                fitted = predict(row.data(), coefficients, m);
            } else {
                fitted = 0.0;
                for (int k = 0; k < m; ++k)
                    fitted += coefficients[k] * row[k];
            }
            sst += (result.mean - value) * (result.mean - value);
            ssr += (fitted - value) * (fitted - value);
        }
    };
    SolveLeastSquares(m, n, matrix, rhs, sum / n, residuals, result);
    return true;
}

void SolveLeastSquares(int m, int n, std::vector<double>& matrix, const std::vector<double>& rhs, double mean,
                       const LeastSquaresResiduals& residuals, LeastSquaresResult& result)
{
    const std::size_t mm = static_cast<std::size_t>(m);
    result.coefficients.assign(mm, 0.0);
    result.deviations.assign(mm, 0.0);
    result.mean = mean;
    result.determinant = InvertMatrixArrayN(m, matrix, NegligiblePivotShare(n));
    const double infinity = std::numeric_limits<double>::infinity();
    if (result.determinant == 0.0) {
        std::fill(result.deviations.begin(), result.deviations.end(), infinity);
    } else {
        for (int j = 0; j < m; ++j) {
            double a = 0.0;
            for (int l = 0; l < m; ++l)
                a += matrix[l * mm + j + 1] * rhs[l];
            result.coefficients[j] = a;
        }
    }

    double sst = 0.0, ssr = 0.0;
    residuals(result.coefficients.data(), sst, ssr);
    result.sst = sst;
    if (result.determinant == 0.0) {
        result.ssr = result.msr = result.deviation = result.residualMeasure = infinity;
        return;
    }
    result.ssr = ssr;
    result.msr = ssr / n;
    result.deviation = std::sqrt(result.msr);
    for (int j = 0; j < m; ++j)
        result.deviations[j] = CoefficientDeviation(result.msr, matrix[j * mm + j + 1], result.determinant);
    result.residualMeasure = (sst / n != 0.0) ? ssr / sst : 0.0;
}

namespace {

// The same sums with m fixed at compile time, so that they stay in registers; each one
// goes on from where it stood and takes the same products in the same order as AddNormalRow.
template <int M>
void AddNormalRowsOf(int n, const double* rows, const double* targets, const double* values, double* matrix,
                     double* rhs, double& valueSum)
{
    double products[M][M];
    double right[M];
    for (int j = 0; j < M; ++j) {
        right[j] = rhs[j];
        for (int l = j; l < M; ++l)
            products[j][l] = matrix[l * M + j + 1];
    }
    double sum = valueSum;
    for (int p = 0; p < n; ++p) {
        const double* row = rows + static_cast<std::size_t>(p) * M;
        const double target = targets[p];
        sum += values[p];
        for (int j = 0; j < M; ++j) {
            right[j] += target * row[j];
            for (int l = j; l < M; ++l)
                products[j][l] += row[j] * row[l];
        }
    }
    for (int j = 0; j < M; ++j) {
        rhs[j] = right[j];
        for (int l = j; l < M; ++l)
            matrix[l * M + j + 1] = products[j][l];
    }
    valueSum = sum;
}

}  // namespace

void AddNormalRows(int m, int n, const double* rows, const double* targets, const double* values, double* matrix,
                   double* rhs, double& valueSum)
{
    switch (m) {
    case 1: AddNormalRowsOf<1>(n, rows, targets, values, matrix, rhs, valueSum); return;
    case 2: AddNormalRowsOf<2>(n, rows, targets, values, matrix, rhs, valueSum); return;
    case 3: AddNormalRowsOf<3>(n, rows, targets, values, matrix, rhs, valueSum); return;
    case 4: AddNormalRowsOf<4>(n, rows, targets, values, matrix, rhs, valueSum); return;
    case 5: AddNormalRowsOf<5>(n, rows, targets, values, matrix, rhs, valueSum); return;
    case 6: AddNormalRowsOf<6>(n, rows, targets, values, matrix, rhs, valueSum); return;
    default:
        for (int p = 0; p < n; ++p) {
            valueSum += values[p];
            AddNormalRow(m, rows + static_cast<std::size_t>(p) * m, targets[p], matrix, rhs);
        }
    }
}
