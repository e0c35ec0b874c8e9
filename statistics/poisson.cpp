#include "statistics/poisson.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace {
constexpr double kFloorLog = -40.0;

// ln(k!) - (k + 1/2) ln k + k - ln(2 pi)/2 for k = 1 .. 15, where the series below is
// not yet exact enough.
constexpr double kStirlingError[16] = {
    0.0,
    8.1061466795327258219670e-2, 4.1340695955409294093822e-2, 2.7677925684998339148789e-2,
    2.0790672103765093111523e-2, 1.6644691189821192163195e-2, 1.3876128823070747998746e-2,
    1.1896709945891770095056e-2, 1.0411265261972096497479e-2, 9.2554621827127329177286e-3,
    8.3305634333628712564693e-3, 7.5736754879518407949720e-3, 6.9428401072095298656642e-3,
    6.4089941880042070684396e-3, 5.9513701127588477356244e-3, 5.5547335519628013710387e-3,
};

// The error of Stirling's formula for ln(k!), k >= 1.
double StirlingError(double k)
{
    if (k <= 15.0)
        return kStirlingError[static_cast<int>(k)];
    constexpr double s0 = 1.0 / 12, s1 = 1.0 / 360, s2 = 1.0 / 1260, s3 = 1.0 / 1680, s4 = 1.0 / 1188;
    const double kk = k * k;
    if (k > 500.0)
        return (s0 - s1 / kk) / k;
    if (k > 80.0)
        return (s0 - (s1 - s2 / kk) / kk) / k;
    if (k > 35.0)
        return (s0 - (s1 - (s2 - s3 / kk) / kk) / kk) / k;
    return (s0 - (s1 - (s2 - (s3 - s4 / kk) / kk) / kk) / kk) / k;
}

// k ln(k/lambda) + lambda - k without the cancellation of its terms when k is near lambda.
double DevianceTerm(double k, double lambda)
{
    const double d = k - lambda;
    if (std::fabs(d) < 0.1 * (k + lambda)) {
        double v = d / (k + lambda);
        double s = d * v;
        double term = 2.0 * k * v;
        v *= v;
        for (int j = 1; j < 1000; ++j) {
            term *= v;
            const double next = s + term / (2 * j + 1);
            if (next == s)
                return next;
            s = next;
        }
        return s;
    }
    return k * std::log(k / lambda) + lambda - k;
}
}  // namespace

double PoissonProbability(double lambda, int k)
{
    if (k < 0 || !(lambda > 0.0) || std::isinf(lambda))
        return 0.0;
    // ln of lambda^k exp(-lambda) / k!, the sum -lambda + ln(lambda/1) + ... + ln(lambda/k)
    // in constant time: the values met reach the hundreds of thousands.
    double L = -lambda;
    if (k > 0) {
        const double x = k;
        L = -StirlingError(x) - DevianceTerm(x, lambda) - 0.5 * std::log(2.0 * std::numbers::pi * x);
    }
    return L < kFloorLog ? std::exp(kFloorLog) : std::exp(L);
}

double PoissonProbabilityAt(double lambda, double x)
{
    if (!(x > 0.0) || !(lambda > 0.0))
        return 0.0;
    // Whole counts beyond 32 bits cannot be represented; the last one stands for them.
    if (x > INT_MAX - 1.0)
        x = INT_MAX - 1.0;
    const int k = static_cast<int>(x);
    const double f = x - k;
    const double p = PoissonProbability(lambda, k);
    if (std::fabs(f) < 0.0001)
        return p;
    const double q = p * lambda / (k + 1.0);
    if (std::fabs(k + 1.0 - x) < 0.0001)
        return q;
    return p * (1.0 - f) + q * f;
}

double PoissonIntervalSum(double lambda, double a, double b, double h)
{
    if (!(b > a) || !(b > 0.0) || !(lambda > 0.0) || !(h > 0.0))
        return 0.0;
    double sum = 0.0;
    double x = a;
    do {
        sum += PoissonProbabilityAt(lambda, x);
        const double next = x + h;
        if (!(next > x))  // a step lost in rounding would never reach b
            break;
        x = next;
    } while (x < b);
    return sum / h;
}

double PoissonIntervalMean(double lambda, double a, double b, double h)
{
    if (!(b > a) || !(b > 0.0) || !(lambda > 0.0) || !(h > 0.0))
        return 0.0;
    return PoissonIntervalSum(lambda, a, b, h) / (b - a);
}

double PoissonPeakBinProbability(double lambda, double lo, double hi)
{
    if (!(lo < hi) || !(hi > 0.0) || !(lambda > 0.0))
        return 0.0;
    const double w = (hi - lo >= 100.0) ? (hi - lo) / 100.0 : 1.0;
    if (lambda > lo && lambda < hi)
        return PoissonIntervalMean(lambda, lambda - w, lambda + w, w);
    const double atLo = PoissonIntervalMean(lambda, lo, lo + w, w);
    const double atHi = PoissonIntervalMean(lambda, hi - w, hi, w);
    return atLo > atHi ? atLo : atHi;
}
