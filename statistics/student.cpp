#include "statistics/student.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr int kMaxDegrees = 100;

// The series factors a, formed by the same running products as in the series
// loops, so that looking them up gives the same bits: even[j] for the even
// series (j = 1 .. 49), odd[m] for the odd one (m = 3, 5, .. 99).
struct SeriesFactors {
    std::array<double, kMaxDegrees + 1> even{};
    std::array<double, kMaxDegrees + 1> odd{};
};

const SeriesFactors& Factors()
{
    static const SeriesFactors factors = [] {
        SeriesFactors f;
        double a = 1.0;
        for (int j = 1; j <= (kMaxDegrees - 2) / 2; ++j) {
            a = a * (2.0 * j - 1.0) / (2.0 * j);
            f.even[j] = a;
        }
        a = 1.0;
        for (int m = 3; m <= kMaxDegrees - 1; m += 2) {
            a = a * (m - 1.0) / m;
            f.odd[m] = a;
        }
        return f;
    }();
    return factors;
}

}  // namespace

double StudentCdf(int df, double t)
{
    if (df > kMaxDegrees)
        df = kMaxDegrees;
    if (df < 2)
        return 0.5;
    const double dfd = df;
    const double theta = std::atan(t / std::sqrt(dfd));
    double A;
    if (df % 2 == 0) {
        const double y = 1.0 / (1.0 + t * t / dfd);
        const auto& a = Factors().even;
        double sum = 1.0, w = 1.0;
        for (int j = 1; j <= (df - 2) / 2; ++j) {
            w = w * y;
            sum = sum + a[j] * w;
        }
        // t/sqrt(df + t^2) is sin(theta); once t*t overflows it is the sign of t.
        const double t2 = t * t;
        const double sine = std::isinf(t2) ? (t > 0 ? 1.0 : -1.0) : t / std::sqrt(dfd + t2);
        A = 0.5 * sine * sum;
    } else {
        const double c = std::cos(theta);
        const auto& a = Factors().odd;
        double sum = c, w = c;
        for (int m = 3; m <= df - 2; m += 2) {
            w = w * c * c;
            sum = sum + a[m] * w;
        }
        A = (theta + std::sin(theta) * sum) / std::numbers::pi;
    }
    const double P = 0.5 + A;
    if (!(P > 0.0))
        return 0.0;
    if (P >= 1.0)
        return 1.0;
    return P;
}

double StudentCdfAt(double x, double sd, int n, double mean)
{
    return StudentCdf(n - 1, (x - mean) / sd);
}

double StudentIntervalProbability(double sd, int n, double d)
{
    return StudentCdf(n - 1, d / sd) - StudentCdf(n - 1, -d / sd);
}

double StudentIntervalHalfWidth(double sd, int n, double p)
{
    if (!(sd > 0.0))
        return 0.0;
    if (p < 0.0)
        p = 0.0;
    if (p >= 1.0)
        p = 0.9999999;
    const double tolerance = 1e-6 * sd;
    const int maxSteps = 10000;
    int steps = 0;

    double d = sd / 4.0;
    double q;
    do {
        if (++steps > maxSteps)
            return 0.0;
        d = 2.0 * d;
        q = StudentIntervalProbability(sd, n, d);
    } while (!(q >= p));

    double low = 0.0, high = d, mid;
    do {
        if (++steps > maxSteps)
            return 0.0;
        mid = 0.5 * (low + high);
        q = StudentIntervalProbability(sd, n, mid);
        if (q < p)
            low = mid;
        else
            high = mid;
    } while (!(std::fabs(high - low) <= tolerance));
    return mid;
}

double StudentProbabilityBetween(double centre, double sd, int n, double a, double b)
{
    return StudentCdfAt(centre, sd, n, a) - StudentCdfAt(centre, sd, n, b);
}

double StudentPeakBinProbability(double mean, double sd, int n, double lo, double hi, double w)
{
    // A Student variable lives on the whole line, so unlike the Poisson and
    // Erlang shapes a negative mean or range is no reason to give 0.
    if (!(lo < hi))
        return 0.0;
    if (mean > lo && mean < hi)
        return StudentProbabilityBetween(mean, sd, n, mean - w / 2, mean + w / 2) / w;
    const double atLo = StudentProbabilityBetween(mean, sd, n, lo - w / 2, lo + w / 2);
    const double atHi = StudentProbabilityBetween(mean, sd, n, hi - w / 2, hi + w / 2);
    return (atLo > atHi ? atLo : atHi) / w;
}
