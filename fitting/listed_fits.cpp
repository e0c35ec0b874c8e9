#include "fitting/listed_fits.h"

#include <cmath>
#include <functional>

#include "fitting/normal_equations.h"
#include "fitting/schemes.h"
#include "statistics/math_domain.h"
#include "statistics/random.h"

namespace {

void MarkFailed(double* coefficients, double* deviations, int count, double& rms)
{
    for (int k = 0; k < count && k < kMaxListedFitCoefficients; ++k)
        coefficients[k] = deviations[k] = 0.0;
    coefficients[0] = 1.0;
    deviations[0] = kFailedFirstDeviation;
    rms = kFailedListedFit;
}

// The shared recipe in transformed units: the value of a point is its transformed y.
bool FitRows(int m, int n, const LeastSquaresRow& rowOf, double* coefficients, double* deviations, double& rms,
             double& e)
{
    LeastSquaresResult fit;
    if (!FitLeastSquares(m, n, rowOf, fit))
        return false;
    for (int k = 0; k < m; ++k) {
        coefficients[k] = fit.coefficients[k];
        deviations[k] = fit.deviations[k];
    }
    rms = fit.deviation;
    e = fit.residualMeasure;
    return true;
}

using RowFunction = std::function<void(double x, double* row)>;   // raises mathDomainError
using InverseFunction = std::function<double(double v)>;          // raises mathDomainError

int StdDevBand(double xFrom, double xTo, std::vector<double>& xs, double& step, std::vector<double>& band,
               std::vector<double>& mid, int N, int M, const double* coefficients, const double* deviations, int count,
               double rms, double meanX, const RowFunction& rowAt, const InverseFunction& inverse, double* widenMin,
               double* widenMax)
{
    step = (xTo - xFrom) / N;
    if (!(step > 0.0) || count < 1 || count > kMaxListedFitCoefficients || M < 1)
        return 0;
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(coefficients[k]) || !std::isfinite(deviations[k]))
            return 0;
    if (!std::isfinite(rms))
        return 0;
    const std::size_t n = static_cast<std::size_t>(N);
    const std::size_t m = static_cast<std::size_t>(count);
    xs.assign(n, 0.0);
    band.assign(n, 0.0);
    mid.assign(n, 0.0);
    // Rows at every band point and its mirror, and the fitted values there: the trials
    // only change the coefficients.
    std::vector<double> rows(2 * n * m), fitted(2 * n);
    const auto linear = [m](const double* row, const double* a) {
        double v = 0.0;
        for (std::size_t k = 0; k < m; ++k)
            v += a[k] * row[k];
        return v;
    };
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = xFrom + static_cast<double>(i) * step;
        double* here = &rows[2 * i * m];
        double* mirror = here + m;
        rowAt(xs[i], here);
        rowAt(2.0 * meanX - xs[i], mirror);
        fitted[2 * i] = linear(here, coefficients);
        fitted[2 * i + 1] = linear(mirror, coefficients);
        mid[i] = fitted[2 * i];
    }
    std::vector<double> drawn(m);
    for (int trial = 0; trial < M; ++trial) {
        for (std::size_t k = 0; k < m; ++k)
            drawn[k] = RandomNormal(coefficients[k], deviations[k]);
        for (std::size_t i = 0; i < n; ++i) {
            const double d0 = fitted[2 * i] - linear(&rows[2 * i * m], drawn.data());
            band[i] += d0 * d0;
            const double d1 = fitted[2 * i + 1] - linear(&rows[(2 * i + 1) * m], drawn.data());
            band[i] += d1 * d1;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        band[i] = std::sqrt(band[i] * 0.5 / M) + rms;
        if (!widenMin || !widenMax)
            continue;
        mathDomainError = 0;
        const double high = inverse(mid[i] + band[i]);
        if (!mathDomainError && std::isfinite(high) && high > *widenMax)
            *widenMax = high;
        mathDomainError = 0;
        const double low = inverse(mid[i] - band[i]);
        if (!mathDomainError && std::isfinite(low) && low < *widenMin)
            *widenMin = low;
    }
    return 1;
}

}  // namespace

bool ListedFitAccepted(const double* coefficients, const double* deviations, int count)
{
    if (count < 1)
        return false;
    for (int k = 0; k < count; ++k) {
        // A coefficient that is not finite divides to a ratio of 0: test it on its own.
        if (!std::isfinite(coefficients[k]))
            return false;
        const double ratio = std::fabs(deviations[k]) / (std::fabs(coefficients[k]) + 0.1);
        if (!(ratio <= 100.0))
            return false;
    }
    return true;
}

double FitConstructorModel(const std::vector<double>& x, const std::vector<double>& y, const double* periods,
                           double* coefficients, double* deviations, const int* codes, int yCode, int termCount,
                           double& rms)
{
    const int n = static_cast<int>(x.size());
    if (termCount < 1 || termCount > kMaxListedFitCoefficients) {
        if (termCount >= 1)
            MarkFailed(coefficients, deviations, kMaxListedFitCoefficients, rms);
        else
            rms = kFailedListedFit;
        return kFailedListedFit;
    }
    if (n == 0 || y.size() != x.size()) {
        MarkFailed(coefficients, deviations, termCount, rms);
        return kFailedListedFit;
    }
    const auto rowOf = [&](int i, double* row, double& target, double& value) {
        BuildTermRow(x[i], y[i], target, periods, row, termCount, yCode, codes);
        value = target;
        return true;
    };
    double e = 0.0;
    if (!FitRows(termCount, n, rowOf, coefficients, deviations, rms, e)) {
        MarkFailed(coefficients, deviations, termCount, rms);
        return kFailedListedFit;
    }
    return e;
}

double FitCollectionModel(const std::vector<double>& x, const std::vector<double>& y, double* coefficients,
                          double* deviations, int count, double& rms, int scheme, double& maxDeviation)
{
    maxDeviation = kFailedListedFit;
    const int n = static_cast<int>(x.size());
    if (count < 1 || count > kSchemeRowSize || scheme < 0 || scheme >= kSchemeCount) {
        if (count >= 1)
            MarkFailed(coefficients, deviations, count, rms);
        else
            rms = kFailedListedFit;
        return kFailedListedFit;
    }
    if (n == 0 || y.size() != x.size()) {
        MarkFailed(coefficients, deviations, count, rms);
        return kFailedListedFit;
    }
    const auto rowOf = [&](int i, double* row, double& target, double& value) {
        SchemeLinearize(x[i], y[i], target, row, count, scheme);
        value = target;
        return mathDomainError == 0;
    };
    double e = 0.0;
    if (!FitRows(count, n, rowOf, coefficients, deviations, rms, e)) {
        MarkFailed(coefficients, deviations, count, rms);
        return kFailedListedFit;
    }
    maxDeviation = 0.0;
    double row[kSchemeRowSize];
    for (int i = 0; i < n; ++i) {
        double Y = 0.0;
        SchemeLinearize(x[i], y[i], Y, row, count, scheme);
        double v = 0.0;
        for (int k = 0; k < count; ++k)
            v += coefficients[k] * row[k];
        const double back = SchemeInverseY(v, scheme);
        if (mathDomainError) {
            maxDeviation = kFailedListedFit;
        } else if (std::fabs(back - y[i]) > maxDeviation) {
            maxDeviation = std::fabs(back - y[i]);
        }
    }
    return e;
}

int SearchBestListedFormula(const std::vector<double>& x, const std::vector<double>& y, const ListedSearchModes& modes,
                            int formulaCount)
{
    double bestError = 1e50, bestScore = 1e50;
    int bestIndex = -1;
    for (int i = 0; i < formulaCount && i < kSchemeCount; ++i) {
        const int count = SchemeCoefficientCount(i);
        double a[20] = {0}, s[20] = {0};
        double rms = 0.0, maxDeviation = 0.0;
        const double e = FitCollectionModel(x, y, a, s, count, rms, i, maxDeviation);
        bool ok = e != 0.0 && std::isfinite(e);
        double ratioMax = -1.0;
        for (int k = 0; k < count; ++k) {
            const double ratio = std::fabs(s[k]) / (std::fabs(a[k]) + 0.1);
            if (!(ratio <= 100.0))
                ok = false;
            if (ratio > ratioMax)
                ratioMax = ratio;
        }
        if (ratioMax < 0.0)
            ratioMax = 1e40;
        if (modes.overallFit && e < bestError && ok && ratioMax < 0.2) {
            bestError = e;
            bestScore = ratioMax;
            bestIndex = i;
        }
        if (modes.stability && ratioMax < bestScore && ok) {
            bestScore = ratioMax;
            bestIndex = i;
        }
        if (modes.minOfMaxOut && maxDeviation < bestScore && ok) {
            bestScore = maxDeviation;
            bestIndex = i;
        }
    }
    return bestIndex;
}

double BandMeanX(const std::vector<double>& x, int visibleOnly, double xMin, double xMax)
{
    double sum = 0.0;
    int n = 0;
    for (double v : x) {
        if (visibleOnly && !(v >= xMin && v <= xMax))
            continue;
        sum += v;
        ++n;
    }
    return n > 0 ? sum / n : 0.0;
}

int ConstructorStdDevBand(double xFrom, double xTo, std::vector<double>& xs, double& step, std::vector<double>& band,
                          std::vector<double>& mid, int N, int M, const double* periods, const double* coefficients,
                          const double* deviations, const int* codes, int yCode, int termCount, double rms,
                          double meanX, double* widenMin, double* widenMax)
{
    const auto rowAt = [=](double x, double* row) {
        double Y = 0.0;
        BuildTermRow(x, 1.0, Y, periods, row, termCount, yCode, codes);
    };
    const auto inverse = [yCode](double v) { return ApplyYTransform(v, yCode); };
    return StdDevBand(xFrom, xTo, xs, step, band, mid, N, M, coefficients, deviations, termCount, rms, meanX, rowAt,
                      inverse, widenMin, widenMax);
}

int CollectionStdDevBand(double xFrom, double xTo, std::vector<double>& xs, double& step, std::vector<double>& band,
                         std::vector<double>& mid, int N, int M, const double* coefficients, const double* deviations,
                         int count, double rms, double meanX, int scheme, double* widenMin, double* widenMax)
{
    if (count > kSchemeRowSize)
        return 0;
    const auto rowAt = [=](double x, double* row) {
        double Y = 0.0;
        double full[kSchemeRowSize];
        SchemeLinearize(x, 1.0, Y, full, count, scheme);
        for (int k = 0; k < count; ++k)
            row[k] = full[k];
    };
    const auto inverse = [scheme](double v) { return SchemeInverseY(v, scheme); };
    return StdDevBand(xFrom, xTo, xs, step, band, mid, N, M, coefficients, deviations, count, rms, meanX, rowAt,
                      inverse, widenMin, widenMax);
}

double PolynomialCosineValue(double x, const double* coefficients, int polyCount, int cosineCount,
                             const double* periods)
{
    double sum = 0.0;
    double p = 1.0;
    for (int i = 0; i < polyCount; ++i) {
        sum += coefficients[i] * p;
        p *= x;
    }
    for (int k = 0; k < cosineCount; ++k) {
        const double amplitude = coefficients[polyCount + 2 * k];
        const double phase = coefficients[polyCount + 2 * k + 1];
        sum += amplitude * std::cos((x + phase) * 6.2831853072 / periods[k]);
    }
    return sum;
}
