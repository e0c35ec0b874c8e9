#include "fitting/polynomial_fits.h"

#include "fitting/matrix_inversion.h"
#include "fitting/normal_equations.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

std::size_t CheckedIndex(std::int64_t index, std::size_t size)
{
    if (index < 0 || static_cast<std::uint64_t>(index) >= size)
        throw std::invalid_argument("record value outside the value array");
    return static_cast<std::size_t>(index);
}

int SelectedCount(const std::vector<int>& mask)
{
    int a = 0;
    for (int role : mask)
        a += role == -1;
    return a;
}

// The centre and half width that take the points' arguments onto [-1, 1]; raw powers when
// they are not finite or all alike (the fit is then singular anyway from the second term on).
void ScaleOfArguments(std::size_t count, const double* x, double& centre, double& halfWidth)
{
    centre = 0.0;
    halfWidth = 1.0;
    if (count == 0)
        return;
    const auto [low, high] = std::minmax_element(x, x + count);
    const double c = 0.5 * *low + 0.5 * *high, h = 0.5 * *high - 0.5 * *low;
    if (std::isfinite(c) && std::isfinite(h) && h > 0.0) {
        centre = c;
        halfWidth = h;
    }
}

// Normal equations of the series 1, t, .. t^(n-1) in the scaled argument; the matrix is
// 1-based (element 0 unused) as the inversion wants it.
double SolveScaledPolynomial(int n, std::size_t count, const double* x, const double* y, ScaledPowerSeries& fit)
{
    const std::size_t nn = static_cast<std::size_t>(n);
    ScaleOfArguments(count, x, fit.centre, fit.halfWidth);
    fit.coefficients.assign(nn, 0.0);
    std::vector<double> matrix(nn * nn + 1, 0.0), rhs(nn, 0.0), powers(nn, 0.0);
    for (std::size_t p = 0; p < count; ++p) {
        PowersOfX((x[p] - fit.centre) / fit.halfWidth, n, powers.data());
        for (std::size_t j = 0; j < nn; ++j) {
            rhs[j] += y[p] * powers[j];
            for (std::size_t l = 0; l < nn; ++l)
                matrix[l * nn + j + 1] += powers[j] * powers[l];
        }
    }
    const double determinant =
        InvertMatrixArrayN(n, matrix, NegligiblePivotShare(static_cast<long long>(count)));
    fit.determinant = determinant;
    if (determinant == 0.0)
        return 0.0;
    for (std::size_t j = 0; j < nn; ++j) {
        double a = 0.0;
        for (std::size_t l = 0; l < nn; ++l)
            a += matrix[l * nn + j + 1] * rhs[l];
        fit.coefficients[j] = a;
    }
    return determinant;
}

void CopyFit(const LeastSquaresResult& fit, std::vector<double>& coefficients, std::vector<double>& deviations,
             double* deviation)
{
    coefficients = fit.coefficients;
    deviations = fit.deviations;
    if (deviation)
        *deviation = fit.deviation;
}

}  // namespace

double ScaledPowerSeries::Value(double x) const
{
    const double t = (x - centre) / halfWidth;
    double v = 0.0;
    for (std::size_t k = coefficients.size(); k-- > 0;)
        v = v * t + coefficients[k];
    return v;
}

std::vector<double> ScaledPowerSeries::PowersOfArgument() const
{
    // Horner's scheme on polynomials: p = p*(x - centre)/halfWidth + a_k, from the top down.
    std::vector<double> p;
    const double slope = 1.0 / halfWidth, shift = -centre / halfWidth;
    for (std::size_t k = coefficients.size(); k-- > 0;) {
        std::vector<double> next(p.size() + 1, 0.0);
        for (std::size_t i = 0; i < p.size(); ++i) {
            next[i] += p[i] * shift;
            next[i + 1] += p[i] * slope;
        }
        next[0] += coefficients[k];
        p = std::move(next);
    }
    return p;
}

double FitScaledPowerSeries(const std::vector<double>& x, const std::vector<double>& y, int n,
                            ScaledPowerSeries& fit)
{
    fit = ScaledPowerSeries{};
    fit.coefficients.assign(n > 0 ? static_cast<std::size_t>(n) : 0, 0.0);
    if (n < 1 || x.size() != y.size() || x.empty())
        return 0.0;
    return SolveScaledPolynomial(n, x.size(), x.data(), y.data(), fit);
}

double FitPolynomial(int n, const double* x, const double* y, int count, double* coefficients)
{
    if (n < 1)
        return 0.0;
    for (int j = 1; j <= n; ++j)
        coefficients[j] = 0.0;
    if (count < 1)
        return 0.0;
    ScaledPowerSeries fit;
    const double determinant = SolveScaledPolynomial(n, static_cast<std::size_t>(count), x + 1, y + 1, fit);
    const std::vector<double> powers = fit.PowersOfArgument();
    std::copy(powers.begin(), powers.end(), coefficients + 1);
    return determinant;
}

double FitPolynomialArray(const std::vector<double>& x, const std::vector<double>& y, int n,
                          std::vector<double>& coefficients)
{
    ScaledPowerSeries fit;
    const double determinant = FitScaledPowerSeries(x, y, n, fit);
    coefficients = fit.PowersOfArgument();
    return determinant;
}

double PowerSeriesValue(int n, double x, const std::vector<double>& coefficients)
{
    const int count = std::min<std::int64_t>(n, static_cast<std::int64_t>(coefficients.size()));
    double sum = 0.0, power = 1.0;
    for (int i = 0; i < count; ++i) {
        sum += coefficients[i] * power;
        power *= x;
    }
    return sum;
}

void PowersOfX(double x, int n, double* out)
{
    if (n < 1)
        return;
    out[0] = 1.0;
    for (int i = 1; i < n; ++i)
        out[i] = out[i - 1] * x;
}

double TableCell(const std::vector<double>& values, int stride, int first, std::int64_t record, int column)
{
    return values[CheckedIndex(record * stride + first + column, values.size())];
}

void LinearBasisRow(double* row, const std::vector<double>& values, int stride, int first, std::int64_t record,
                    const std::vector<int>& mask)
{
    int k = 0;
    row[k++] = 1.0;
    for (std::size_t p = 0; p < mask.size(); ++p) {
        if (mask[p] == -1)
            row[k++] = TableCell(values, stride, first, record, static_cast<int>(p));
    }
}

void QuadraticBasisRow(double* row, const std::vector<double>& values, int stride, int first, std::int64_t record,
                       const std::vector<int>& mask)
{
    int k = 0;
    row[k++] = 1.0;
    for (std::size_t p = 0; p < mask.size(); ++p) {
        if (mask[p] != -1)
            continue;
        const double v = TableCell(values, stride, first, record, static_cast<int>(p));
        row[k++] = v * v;
        row[k++] = v;
    }
}

double FitMultipleRegression(const std::vector<double>& values, int stride, int a, int first, int N,
                             const std::vector<int>& mask, int valueColumn, std::vector<double>& coefficients,
                             std::vector<double>& deviations, double* deviation, int kind)
{
    // The row has a place for every argument the mask selects, whatever a says.
    const int selected = SelectedCount(mask);
    const int m = kind == kParabolicRegression ? 2 * selected + 1 : selected + 1;
    coefficients.assign(static_cast<std::size_t>(m), 0.0);
    deviations.assign(static_cast<std::size_t>(m), 0.0);
    if (deviation)
        *deviation = 0.0;
    (void)a;
    LeastSquaresResult fit;
    const auto rowOf = [&](int r, double* row, double& target, double& value) {
        if (kind == kParabolicRegression)
            QuadraticBasisRow(row, values, stride, first, r, mask);
        else
            LinearBasisRow(row, values, stride, first, r, mask);
        target = value = TableCell(values, stride, first, r, valueColumn);
        return true;
    };
    if (!FitLeastSquares(m, N, rowOf, fit))
        return 0.0;
    CopyFit(fit, coefficients, deviations, deviation);
    return fit.residualMeasure;
}

double FitScoreRatePolynomial(const std::vector<double>& x, const std::vector<double>& y,
                              std::vector<double>& coefficients, std::vector<double>& deviations, int m,
                              double* deviation)
{
    if (x.empty() || x.size() != y.size() || m < 1)
        return 0.0;
    const auto rowOf = [&](int p, double* row, double& target, double& value) {
        PowersOfX(x[p], m, row);
        target = value = y[p];
        return true;
    };
    LeastSquaresResult fit;
    if (!FitLeastSquares(m, static_cast<int>(x.size()), rowOf, fit))
        return 0.0;
    CopyFit(fit, coefficients, deviations, deviation);
    return fit.residualMeasure;
}

double VectorDistance(const std::vector<double>& a, const std::vector<double>& b)
{
    if (b.size() < a.size())
        throw std::invalid_argument("vectors of different lengths");
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum);
}

void GatherSelectedArguments(const std::vector<double>& values, int stride, int first, const std::vector<int>& mask,
                             std::int64_t record, std::vector<double>& out)
{
    std::size_t k = 0;
    for (std::size_t p = 0; p < mask.size(); ++p) {
        if (mask[p] == -1)
            out[CheckedIndex(static_cast<std::int64_t>(k++), out.size())] =
                TableCell(values, stride, first, record, static_cast<int>(p));
    }
}

void SortDescending(std::vector<double>& a)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < a.size(); ++j) {
            if (a[j] > a[best])
                best = j;
        }
        std::swap(a[i], a[best]);
    }
}

void KeepEveryKth(std::vector<double>& a, int k)
{
    if (k <= 1)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < a.size(); i += static_cast<std::size_t>(k))
        a[kept++] = a[i];
    a.resize(kept);
}

double ParabolicVertexForm(const double* raw, const double* deviations, int n, std::vector<VertexTerm>& terms) {
    double a0 = raw[0];
    terms.assign(static_cast<std::size_t>(n > 0 ? n : 0), VertexTerm{});
    for (int j = 0; j < n; ++j) {
        const double p = raw[1 + 2 * j], q = raw[2 + 2 * j], sp = deviations[1 + 2 * j];
        VertexTerm& t = terms[static_cast<std::size_t>(j)];
        t.a = p;
        t.aDeviation = sp;
        if (std::fabs(p) < 1e-30) {
            t.b = 1e30;
            t.bDeviation = 1e30;
            continue;
        }
        t.b = q * 0.5 / p;
        a0 -= q * q * 0.25 / p;
        t.bDeviation = 2 * std::fabs(t.b) * std::fabs(sp / p);
    }
    return a0;
}
