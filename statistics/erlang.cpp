#include "statistics/erlang.h"

#include <climits>
#include <cmath>

erlangFit ErlangSetup(double mean, double sd)
{
    if (sd == 0.0)
        return {};
    const double v = mean * mean / (sd * sd);
    if (!std::isfinite(v))
        return {};
    // The shape is a 32-bit count; a larger ratio is held at its largest value.
    double whole = std::trunc(v);
    if (v - whole > 0.5)
        whole += 1.0;
    if (whole > INT_MAX)
        whole = INT_MAX;
    std::int32_t shape = static_cast<std::int32_t>(whole);
    if (shape < 2)
        shape = 1;
    return {shape, mean / shape};
}

double ErlangDensity(const erlangFit& fit, double x)
{
    const std::int32_t k = fit.shape;
    const double s = fit.scale;
    if (!(s >= 1e-20) || k < 1)
        return 0.0;
    // The distribution has no mass below 0.
    if (x < 0.0)
        return 0.0;
    if (k == 1)
        return std::exp(-x / s) / s;
    if (k == 2)
        return x * std::exp(-x / s) / (s * s);
    if (x == 0.0)
        return 0.0;
    // x^(k-1)/(k-1)! and s^-k each over- or underflow for large shapes, while
    // their product does not: combine them as logarithms.
    const double logDensity = (k - 1.0) * std::log(x) - std::lgamma(static_cast<double>(k))
                              - x / s - k * std::log(s);
    return std::exp(logDensity);
}

double ErlangPeakDensity(const erlangFit& fit, double x, double lo, double hi)
{
    if (!(lo < hi) || !(hi > 0.0) || !(x > 0.0))
        return 0.0;
    if (x > lo && x < hi)
        return ErlangDensity(fit, x);
    const double atLo = ErlangDensity(fit, lo);
    const double atHi = ErlangDensity(fit, hi);
    return atLo > atHi ? atLo : atHi;
}
