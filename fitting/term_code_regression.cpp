// The several-argument polynomial whose terms are vectors of basis codes.
#include "fitting/polynomial_fits.h"

#include "fitting/normal_equations.h"
#include "fitting/schemes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Codes past the table give 0 without an error; a code too large for an int is one of them.
constexpr std::uint32_t kBeyondBasisCodes = 27;

}  // namespace

void TermCodeBasisRow(double* row, int m, const std::vector<double>& values, int stride, int first,
                      std::int64_t record, int a, const std::vector<int>& argumentColumns,
                      const std::vector<std::uint32_t>& codes, int* error)
{
    for (int t = 0; t < m; ++t) {
        double p = 1.0;
        for (int k = 0; k < a; ++k) {
            const std::uint32_t code = codes.at(static_cast<std::size_t>(t) * a + k);
            if (code == 0)
                continue;
            const double x = TableCell(values, stride, first, record, argumentColumns.at(k));
            int failed = 0;
            p *= SchemeBasis(static_cast<int>(std::min(code, kBeyondBasisCodes)), x, failed);
            if (failed) {
                *error = 1;
                return;
            }
        }
        row[t] = p;
    }
}

double FitTermCodeRegression(const std::vector<double>& values, int first, int N, int stride,
                             const std::vector<int>& roles, std::vector<int>& argumentColumns,
                             std::vector<double>& coefficients, std::vector<double>& deviations, double* deviation,
                             double* maxDeviation, const std::vector<std::uint32_t>& codes, int* error,
                             const TermColumnLookup& columnOf)
{
    *error = 0;
    argumentColumns.clear();
    int valueColumn = -1, valueCount = 0;
    for (std::size_t p = 0; p < roles.size(); ++p) {
        if (roles[p] == -1)
            argumentColumns.push_back(static_cast<int>(p));
        else if (roles[p] == 1) {
            valueColumn = static_cast<int>(p);
            ++valueCount;
        }
    }
    const int a = static_cast<int>(argumentColumns.size());
    const int m = a > 0 ? static_cast<int>(codes.size() / static_cast<std::size_t>(a)) : 0;
    coefficients.assign(static_cast<std::size_t>(m), 0.0);
    deviations.assign(static_cast<std::size_t>(m), 0.0);
    if (deviation)
        *deviation = 0.0;
    if (maxDeviation)
        *maxDeviation = 0.0;
    if (valueCount != 1 || m < 1 || N < 1) {
        // Nothing to fit is no fit: the searches must not take it for one.
        *error = 1;
        return 0.0;
    }
    std::vector<const double*> columns;
    if (columnOf) {
        for (int t = 0; t < m; ++t) {
            const std::vector<double>* column = columnOf(t);
            if (!column) {
                *error = 1;
                return 0.0;
            }
            if (column->size() < static_cast<std::size_t>(N))
                throw std::invalid_argument("term column shorter than the records");
            columns.push_back(column->data());
        }
    }
    double lastValue = 0.0, largest = 0.0;
    const auto rowOf = [&](int r, double* row, double& target, double& value) {
        if (columnOf) {
            for (int t = 0; t < m; ++t)
                row[t] = columns[t][r];
        } else {
            TermCodeBasisRow(row, m, values, stride, first, r, a, argumentColumns, codes, error);
            if (*error)
                return false;
        }
        target = value = lastValue = TableCell(values, stride, first, r, valueColumn);
        return true;
    };
    // Called in the second pass right after the point's row: the value is the row's.
    const auto predict = [&](const double* row, const double* c, int terms) {
        double fitted = 0.0;
        for (int k = 0; k < terms; ++k)
            fitted += c[k] * row[k];
        largest = std::max(largest, std::fabs(fitted - lastValue));
        return fitted;
    };
    LeastSquaresResult fit;
    if (!FitLeastSquares(m, N, rowOf, fit, predict))
        return 0.0;
    coefficients = fit.coefficients;
    deviations = fit.deviations;
    if (deviation)
        *deviation = fit.deviation;
    if (maxDeviation)
        *maxDeviation = largest;
    return fit.residualMeasure;
}

bool TermCodeColumn(const std::vector<double>& values, int stride, int first, int N, int a,
                    const std::vector<int>& argumentColumns, const std::vector<std::uint32_t>& termCodes,
                    std::vector<double>& column)
{
    column.assign(static_cast<std::size_t>(std::max(N, 0)), 0.0);
    int error = 0;
    for (int r = 0; r < N; ++r) {
        TermCodeBasisRow(&column[r], 1, values, stride, first, r, a, argumentColumns, termCodes, &error);
        if (error)
            return false;
    }
    return true;
}
