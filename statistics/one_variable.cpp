#include "statistics/one_variable.h"

#include <algorithm>
#include <cmath>

#include "statistics/erlang.h"
#include "statistics/poisson.h"
#include "statistics/random.h"
#include "statistics/student.h"

namespace {

// Summed about the first value, which keeps the digits that a large common offset would eat.
double MeanOf(const std::vector<double>& sample) {
    if (sample.empty()) return 0;
    const double shift = sample[0];
    double sum = 0;
    for (double v : sample) sum += v - shift;
    return shift + sum / static_cast<double>(sample.size());
}

// Two passes: the sum of squares minus n*mean^2 cancels to nonsense when the values carry a
// large offset.
void MeanAndSquares(const std::vector<double>& sample, double& mean, double& squares) {
    mean = MeanOf(sample);
    squares = 0;
    for (double v : sample) squares += (v - mean) * (v - mean);
}

// Bin of v, or -1 when it lies outside the grid. Floor, not truncation, so a value just
// below the origin is not taken for bin 0.
long long BinOf(double v, double origin, double width, int binCount) {
    const double b = std::floor((v - origin) / width);
    if (!(b >= 0.0) || b >= static_cast<double>(binCount)) return -1;
    return static_cast<long long>(b);
}

void ResetSummary(distributionSummary& s) {
    s.maxCount = 0;
    s.mean = 0;
    s.spread = 0;
    s.maxCountShare = 0;
    s.min = 1e40;
    s.max = -1e40;
}

}  // namespace

void distributionSummary::FromBinnedValues(const std::vector<double>& sample, std::vector<double>& bins,
                                           double origin, int binCount, double width) {
    n = static_cast<std::int32_t>(sample.size());
    ResetSummary(*this);
    bins.assign(static_cast<size_t>(std::max(binCount, 0)), 0.0);
    if (n < 3) return;
    for (double v : sample) {
        min = std::min(min, v);
        max = std::max(max, v);
        const long long b = width > 0 ? BinOf(v, origin, width, binCount) : -1;
        if (b >= 0) bins[static_cast<size_t>(b)] += 1.0;
    }
    double squares = 0;
    MeanAndSquares(sample, mean, squares);
    spread = std::sqrt(std::max(0.0, squares / n));
    double top = 0;
    for (double c : bins) top = std::max(top, c);
    maxCount = static_cast<std::int32_t>(top);
    maxCountShare = static_cast<double>(maxCount) / n;
}

void distributionSummary::FromCumulativeValues(const std::vector<double>& sample, std::vector<double>& bins,
                                               double origin, int binCount, double width) {
    FromBinnedValues(sample, bins, origin, binCount, width);
    if (n < 3) return;
    // Values below the grid count in every running total; with floor binning none of them
    // is also in bin 0.
    double below = 0;
    for (double v : sample)
        if (v < origin) below += 1.0;
    double total = below;
    double top = 0;
    for (double& c : bins) {
        total += c;
        c = total;
        top = std::max(top, total);
    }
    maxCount = static_cast<std::int32_t>(top);
    maxCountShare = static_cast<double>(maxCount) / n;
}

void distributionSummary::FromDeviations(const std::vector<double>& percentages, int allCount,
                                         int conditionalCount) {
    n = static_cast<std::int32_t>(percentages.size());
    mean = 0;
    spread = 0;
    maxCount = 0;
    if (n < 3 && allCount < 3) return;
    min = 1e40;
    max = -1e40;
    mean = allCount > 0 ? 100.0 * conditionalCount / allCount : 0.0;
    double sum = 0;
    for (double v : percentages) {
        const double d = v - mean;
        min = std::min(min, d);
        max = std::max(max, d);
        sum += d * d;
        if (d > maxCountShare) maxCountShare = d;
    }
    spread = n > 0 ? std::sqrt(sum / n) : 0.0;
}

void MeanStdDev(const std::vector<double>& sample, double& mean, double& stdDev, double& stdError) {
    const size_t n = sample.size();
    if (n < 2) {
        mean = stdDev = stdError = 0;
        return;
    }
    double squares = 0;
    MeanAndSquares(sample, mean, squares);
    stdDev = std::sqrt(std::max(0.0, squares / static_cast<double>(n - 1)));
    stdError = stdDev / std::sqrt(static_cast<double>(n));
}

double CoefficientOfVariation(double mean, double spread) {
    return std::fabs(mean) > 1e-40 ? std::fabs(100.0 * spread / mean) : 1e40;
}

double MeanAbsoluteDeviation(const std::vector<double>& sample, double centre) {
    if (sample.empty()) return 0;
    double sum = 0;
    for (double v : sample) sum += std::fabs(v - centre);
    return sum / static_cast<double>(sample.size());
}

double MinimumAbsoluteDeviation(const std::vector<double>& sample, double& deviation) {
    const size_t n = sample.size();
    if (n == 0) return 0;
    if (n == 1) return sample[0];
    if (n == 2) return 0.5 * (sample[0] + sample[1]);
    const auto [lo, hi] = std::minmax_element(sample.begin(), sample.end());
    double c = 0, squares = 0;
    MeanAndSquares(sample, c, squares);
    double step = 0.1 * (*hi - *lo);
    double best = MeanAbsoluteDeviation(sample, c);
    for (int trial = 0; trial < 1001 && std::fabs(step) > 1e-10; ++trial) {
        const double d = MeanAbsoluteDeviation(sample, c + step);
        if (d < best) {
            best = d;
            c += step;
        } else {
            step *= -0.713;
        }
    }
    deviation = best;
    return c;
}

void CountBelowAbove(const std::vector<double>& sample, double x, int& below, int& above) {
    below = above = 0;
    for (double v : sample) {
        if (v < x) ++below;
        else if (v > x) ++above;
    }
}

// By selection on a copy: a bisection on the count balance picks a wrong middle on ties.
double Median(const std::vector<double>& sample) {
    const size_t n = sample.size();
    if (n == 0) return 0;
    std::vector<double> v(sample);
    const size_t mid = n / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(mid), v.end());
    const double upper = v[mid];
    if (n % 2 == 1) return upper;
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<long>(mid));
    return 0.5 * (lower + upper);
}

void MostDenseInterval(const std::vector<double>& sample, double share, double& from, double& till) {
    const long long n = static_cast<long long>(sample.size());
    if (n < 2) return;
    const auto [lo, hi] = std::minmax_element(sample.begin(), sample.end());
    const double min = *lo, max = *hi;
    if (!(max - min >= 1e-40)) return;
    const long long need = static_cast<long long>(static_cast<double>(n) * share);
    constexpr int kMostBins = 100000;
    // cumulative[i + 1] = values in bins 0..i, so bins i..j hold cumulative[j + 1] - cumulative[i].
    std::vector<long long> cumulative;
    for (int bins = static_cast<int>(std::min<long long>(n, 100)); bins <= kMostBins; bins *= 10) {
        const double w = (max - min) / bins;
        cumulative.assign(static_cast<size_t>(bins) + 1, 0);
        for (double v : sample) {
            int b = static_cast<int>((v - min) / w);
            b = std::clamp(b, 0, bins - 1);
            ++cumulative[static_cast<size_t>(b) + 1];
        }
        for (int i = 0; i < bins; ++i) cumulative[static_cast<size_t>(i) + 1] += cumulative[static_cast<size_t>(i)];
        // A first bin that holds more than n - need values is in every run that holds need:
        // a finer grid tells how much of it the run takes.
        if (cumulative[1] > n - need) continue;
        const auto held = [&](int i, int j) { return cumulative[static_cast<size_t>(j) + 1] - cumulative[static_cast<size_t>(i)]; };
        // The first end bin that reaches need never moves down as the start moves up.
        int bestStart = 0, bestLength = bins + 1;
        for (int i = 0, j = 0; i < bins && n - cumulative[static_cast<size_t>(i)] >= need; ++i) {
            j = std::max(j, i);
            while (j < bins - 1 && held(i, j) < need) ++j;
            if (held(i, j) < need) break;
            if (j - i + 1 < bestLength) {
                bestLength = j - i + 1;
                bestStart = i;
            }
        }
        from = min + bestStart * w;
        till = bestStart + bestLength == bins ? max : min + (bestStart + bestLength) * w;
        return;
    }
    from = min;
    till = max;
}

double DistributionCorrelation(const std::vector<double>& sample, double mean, double stdDev, int n, int kind) {
    const size_t count = sample.size();
    if (count < 2) return 0;
    const auto [lo, hi] = std::minmax_element(sample.begin(), sample.end());
    const double min = *lo, max = *hi;
    if (!(max - min >= 1e-10)) return 0;
    constexpr int kBins = 100;
    const double w = (max - min) / kBins;
    double counts[kBins] = {};
    for (double v : sample) counts[std::clamp(static_cast<int>((v - min) / w), 0, kBins - 1)] += 1.0;
    const erlangFit erlang = kind == 2 ? ErlangSetup(mean, stdDev) : erlangFit{};
    double residuals = 0, sum = 0, squares = 0;
    double observedTotal = 0, expectedTotal = 0;
    for (int i = 0; i < kBins; ++i) {
        const double e = min + (i + 1) * w;
        double observed = 0, expected = 0;
        if (kind == 0) {
            observed = counts[i];
            expected = n * std::fabs(StudentCdfAt(e + w / 2, stdDev, n, mean) - StudentCdfAt(e - w / 2, stdDev, n, mean));
        } else {
            observedTotal += counts[i];
            if (e > 0) {
                const double p = kind == 1 ? PoissonProbability(mean, static_cast<int>(std::min(e, 2e9))) : ErlangDensity(erlang, e);
                expectedTotal += p * n * w;
            }
            observed = observedTotal;
            expected = expectedTotal;
        }
        residuals += (observed - expected) * (observed - expected);
        sum += observed;
        squares += observed * observed;
    }
    const double total = squares - (sum / kBins) * (sum / kBins) * kBins;
    // Every bin alike (each holding one value, say) leaves nothing to explain.
    if (!(total > 0)) return 0;
    return 1.0 - residuals / total;
}

double SelectionNotRandomProbability(const std::vector<double>& sample, double share, double observedMean) {
    if (sample.size() < 3) return 0;
    constexpr int kTrials = 1000;
    int k = 0;
    for (int t = 0; t < kTrials; ++t) {
        double sum = 0;
        long long taken = 0;
        for (double v : sample) {
            if (RandomUnit() < share) {
                sum += v;
                ++taken;
            }
        }
        const double m = taken > 0 ? sum / static_cast<double>(taken) : 0.0;
        if (m >= observedMean) ++k;
    }
    return 2.0 * (static_cast<double>(std::max(k, kTrials - k)) / kTrials - 0.5);
}

double CorrelationCoefficient(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = x.size();
    if (n == 0 || y.size() != n) return 0;
    const double mx = MeanOf(x), my = MeanOf(y);
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t k = 0; k < n; ++k) {
        const double dx = x[k] - mx, dy = y[k] - my;
        sxy += dx * dy;
        sxx += dx * dx;
        syy += dy * dy;
    }
    // No spread: no defined coefficient, shown as no correlation.
    if (!(sxx > 0) || !(syy > 0)) return 0;
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}
