#include "fitting/base_line.h"


#include <algorithm>
#include <cmath>
#include <cstddef>

void RowLinear(double* target, double* row, double y, double x)
{
    *target = y;
    row[0] = 1.0;
    row[1] = x;
}

void RowQuadratic(double* target, double* row, double y, double x)
{
    *target = y;
    row[0] = 1.0;
    row[1] = x;
    row[2] = x * x;
}

void RowExponential(double* target, double* row, double y, double x)
{
    *target = y;
    row[0] = 1.0;
    row[1] = std::exp(-x);
}

void RowExponential2(double* target, double* row, double y, double x)
{
    *target = y;
    const double e = std::exp(-x);
    row[0] = 1.0;
    row[1] = e;
    row[2] = e * e;
}

namespace {

double BaseAt(double x, int terms, BaseLineRow row, const LeastSquaresResult& fit)
{
    double target = 0.0;
    double basis[kBaseLineMaxTerms] = {};
    row(&target, basis, 0.0, x);
    double b = 0.0;
    for (int k = 0; k < terms && k < static_cast<int>(fit.coefficients.size()); ++k)
        b += fit.coefficients[static_cast<std::size_t>(k)] * basis[k];
    return b;
}

}  // namespace

int BaseLineBinCount(int n)
{
    if (n > 10000)
        return n / 100 + 2;
    if (n >= 1000)
        return n;
    if (n >= 100)
        return n / 10 + 2;
    return n / 5 + 2;
}

bool FitRowCallbackModel(const std::vector<double>& x, const std::vector<double>& y, int terms, BaseLineRow row,
                         LeastSquaresResult& fit)
{
    fit = LeastSquaresResult{};
    const int n = static_cast<int>(x.size());
    if (terms < 1 || terms > kBaseLineMaxTerms || n + 1 < terms || y.size() != x.size())
        return false;
    const auto rowOf = [&](int p, double* basis, double& target, double& value) {
        row(&target, basis, y[static_cast<std::size_t>(p)], x[static_cast<std::size_t>(p)]);
        value = y[static_cast<std::size_t>(p)];
        return true;
    };
    bool fitted = n > 0 && FitLeastSquares(terms, n, rowOf, fit) && fit.determinant != 0.0 &&
                  std::isfinite(fit.determinant);
    for (double c : fit.coefficients)
        fitted = fitted && std::isfinite(c);
    if (!fitted) {
        // The exponentials of a far x range underflow to 0: no usable line.
        fit = LeastSquaresResult{};
        return false;
    }
    return true;
}

void KeepPointsBelowModel(std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row,
                          const LeastSquaresResult& fit)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (y[i] < BaseAt(x[i], terms, row, fit)) {
            x[kept] = x[i];
            y[kept] = y[i];
            ++kept;
        }
    }
    x.resize(kept);
    y.resize(kept);
}

bool FitLowerEnvelope(std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row, int passes,
                      LeastSquaresResult& fit)
{
    for (int pass = 0; pass < passes; ++pass) {
        if (!FitRowCallbackModel(x, y, terms, row, fit))
            return false;
        KeepPointsBelowModel(x, y, terms, row, fit);
        if (static_cast<int>(x.size()) < terms + 2)
            break;
    }
    return true;
}

void RemoveBaseLine(const std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row,
                    const LeastSquaresResult& fit)
{
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const double b = BaseAt(x[i], terms, row, fit);
        y[i] = y[i] >= b ? y[i] - b : 0.01 * std::fabs(y[i] - b);
    }
}

int CorrectBaseLine(std::vector<double>& x, std::vector<double>& y, int kind, LeastSquaresResult& fit)
{
    const int n = static_cast<int>(std::min(x.size(), y.size()));
    if (kind == kBaseLineNone || n < 20)
        return 0;
    BaseLineRow row = nullptr;
    int terms = 0;
    switch (kind) {
    case kBaseLineLinear: row = RowLinear, terms = 2; break;
    case kBaseLineQuadratic: row = RowQuadratic, terms = 3; break;
    case kBaseLineExponential: row = RowExponential, terms = 2; break;
    case kBaseLineExponential2: row = RowExponential2, terms = 3; break;
    default: return 0;
    }
    const int bins = BaseLineBinCount(n);
    double low = x[0], high = x[0];
    for (int i = 1; i < n; ++i) {
        low = std::min(low, x[i]);
        high = std::max(high, x[i]);
    }
    const double width = (high - low) / bins;
    if (!(width > 0.0) || !std::isfinite(width))
        return 0;
    std::vector<double> minimum(static_cast<std::size_t>(bins), 1e40);
    std::vector<int> index(static_cast<std::size_t>(bins), 0);
    for (int i = 0; i < n; ++i) {
        // Clamped as a double first: no out-of-range value is truncated into an int.
        const double position = std::floor((x[i] - low) / width);
        const int b = !(position > 0.0) ? 0 : position >= bins - 1 ? bins - 1 : static_cast<int>(position);
        if (y[i] < minimum[b]) {
            minimum[b] = y[i];
            index[b] = i;
        }
    }
    std::vector<double> cx, cy;
    for (int b = 0; b < bins; ++b) {
        if (minimum[b] <= 1e39) {
            cx.push_back(x[index[b]]);
            cy.push_back(y[index[b]]);
        }
    }
    if (cx.size() < 6)
        return 0;
    if (!FitLowerEnvelope(cx, cy, terms, row, 4, fit))
        return 0;
    RemoveBaseLine(x, y, terms, row, fit);
    return 1;
}
