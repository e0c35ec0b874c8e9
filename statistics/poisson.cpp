#include "statistics/poisson.h"

#include <climits>
#include <cmath>

namespace {
constexpr double kFloorLog = -40.0;
}

double PoissonProbability(double lambda, int k)
{
    if (k < 0 || !(lambda > 0.0) || std::isinf(lambda))
        return 0.0;
    const double floor = std::exp(kFloorLog);
    double L = -lambda;
    for (int i = 1; i <= k; ++i) {
        L = L + std::log(lambda / i);
        // Past the mode the terms only fall: stop once below the floor.
        if (lambda < i && L < kFloorLog)
            return floor;
    }
    return L < kFloorLog ? floor : std::exp(L);
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
