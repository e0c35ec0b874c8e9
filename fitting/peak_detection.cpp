#include "fitting/peak_detection.h"

#include "fitting/matrix_inversion.h"
#include "fitting/polynomial_fits.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

const double invSqrtTwoPi = 1.0 / std::sqrt(2.0 * M_PI);

namespace {

double GaussianValue(const peakSignal& peak, double d)
{
    return invSqrtTwoPi / peak.sigma * std::exp(-0.5 * d * d / (peak.sigma * peak.sigma));
}

// Flattens points left .. right of the working signal to the base.
void Flatten(std::vector<double>& y, int left, int right, double base)
{
    for (int i = left; i <= right; ++i)
        y[i] = base;
}

}  // namespace

double GaussianPeakWithBase(const peakSignal& peak, double x)
{
    const double d = x - peak.centre;
    if (std::fabs(d) <= 4.0 * peak.sigma)
        return peak.base + peak.area * GaussianValue(peak, d);
    return peak.base;
}

double GaussianPeak(const peakSignal& peak, double x)
{
    const double d = x - peak.centre;
    return std::fabs(d) <= 4.0 * peak.sigma ? peak.area * GaussianValue(peak, d) : 0.0;
}

double UnitGaussianPeak(const peakSignal& peak, double x)
{
    const double d = x - peak.centre;
    return std::fabs(d) <= 3.0 * peak.sigma ? GaussianValue(peak, d) : 0.0;
}

void SignalLevelRange(double& mean, double& deviation, int& count, double& low, double& high,
                      const std::vector<double>& values, int findRange)
{
    count = 0;
    if (findRange && !values.empty()) {
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        low = *lo;
        high = *hi;
    }
    double sum = 0.0, squares = 0.0;
    for (double v : values) {
        if (low <= v && v <= high) {
            sum += v;
            squares += v * v;
            ++count;
        }
    }
    if (count >= 2) {
        mean = count >= 3 ? sum / count : sum * 0.5;
        // Cancellation can leave the difference slightly negative for near-equal values.
        deviation = std::sqrt(std::max(0.0, (squares - count * mean * mean) / count));
    } else {
        mean = sum;
        deviation = 1000.0 * sum;
    }
}

namespace {

double Median(std::vector<double> values)
{
    const std::size_t half = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
    const double upper = values[half];
    if (values.size() % 2 == 1)
        return upper;
    return 0.5 * (upper + *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half)));
}

}  // namespace

void EstimateNoiseLevel(peakSignal& peak, const std::vector<double>& values)
{
    peak.base = peak.noise = 0.0;
    if (values.empty())
        return;
    int count = 0;
    double low = 0.0, high = 0.0;
    SignalLevelRange(peak.base, peak.noise, count, low, high, values, 1);
    const double range = high - low;
    if (range < 1e-20)
        return;
    // The clipping starts from the median and the median absolute deviation (scaled to a
    // normal deviation): the peaks themselves, high and many, would widen a first window
    // drawn from the mean and deviation of all values so far that the clipping stopped
    // after one pass with the peaks still in the noise. With more than half of the values
    // equal the deviation is 0, and the start stays the mean and deviation of all values.
    const double median = Median(values);
    std::vector<double> distances(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        distances[i] = std::fabs(values[i] - median);
    const double spread = 1.4826 * Median(distances);
    if (spread > 0.0) {
        peak.base = median;
        peak.noise = spread;
    }
    for (int pass = 1; pass <= 10; ++pass) {
        const int previous = count;
        low = peak.base - 3.0 * peak.noise;
        high = peak.base + 3.0 * peak.noise;
        SignalLevelRange(peak.base, peak.noise, count, low, high, values, 0);
        if (count <= 3)
            break;
        if (std::fabs(static_cast<double>(count - previous)) / count <= 0.03)
            break;
        const double window = (high - low) / range;
        if (window <= 0.05 || window >= 0.95)
            break;
    }
}

bool FitPeakShape(peakSignal& peak, const std::vector<double>& x, const std::vector<double>& y, int left, int right)
{
    // The parabola is fitted in x - x0 around the run's middle, so that far-out arguments
    // do not swamp the normal equations; the centre is moved back afterwards.
    const double x0 = x[(left + right) / 2];
    std::vector<double> u{0.0}, v{0.0};
    double runLow = x[left], runHigh = x[left], top = y[left];
    for (int i = left; i <= right; ++i) {
        runLow = std::min(runLow, x[i]);
        runHigh = std::max(runHigh, x[i]);
        top = std::max(top, y[i]);
        const double h = y[i] - peak.base;
        if (h > 0.0) {
            u.push_back(x[i] - x0);
            v.push_back(std::log(h));
        }
    }
    const int points = static_cast<int>(u.size()) - 1;
    if (points < 3)
        return false;
    double c[4] = {0, 0, 0, 0};
    if (FitPolynomial(3, u.data(), v.data(), points, c) == 0.0)
        return false;
    const double a = c[1], b = c[2], q = c[3];
    if (!(q < 0.0))
        return false;  // a dip or a flat run, not a peak
    const double sigma = 1.0 / std::sqrt(2.0 * std::fabs(q));
    const double shift = -0.5 * b / q;
    const double height = std::exp(a + b * shift + q * shift * shift);
    const double area = height * sigma / invSqrtTwoPi;
    const double centre = x0 + shift;
    if (!std::isfinite(sigma) || !std::isfinite(centre) || !std::isfinite(area) || !(sigma > 0.0))
        return false;
    // On a flat run of noise the parabola's vertex can fall outside the points it was
    // fitted to, and exp(vertex) is then an extrapolation, many times the run's height;
    // subtracting such a peak leaves the run's top in place to be found again.
    if (centre < runLow || centre > runHigh || height > 2.0 * (top - peak.base))
        return false;
    peak.sigma = sigma;
    peak.centre = centre;
    peak.area = area;
    return true;
}

int FindNextPeak(peakSignal& peak, const std::vector<double>& x, std::vector<double>& y, double noiseFactor,
                 int spikeWidth, int& isPeak)
{
    isPeak = 0;
    const int n = static_cast<int>(y.size());
    if (n <= spikeWidth || static_cast<int>(x.size()) <= spikeWidth || n < 1)
        return 0;
    int top = 0;
    double minimum = y[0];
    for (int i = 1; i < n; ++i) {
        if (y[i] > y[top])
            top = i;
        minimum = std::min(minimum, y[i]);
    }
    const double maximum = y[top];
    if (peak.base < 1e-30)
        peak.base = 3.0 * peak.noise + minimum;
    peak.maxSignal = maximum;
    peak.maxPosition = x[top];
    // A flat or noiseless signal has nothing above its level: stop rather than take
    // the level itself for a peak.
    if (!(maximum > peak.base + noiseFactor * peak.noise))
        return 0;
    const double half = peak.base + 0.5 * (maximum - peak.base);
    int right = n - 1, left = 0;
    for (int i = top; i < n; ++i) {
        if (y[i] < half) {
            right = i;
            break;
        }
    }
    for (int i = top; i >= 0; --i) {
        if (y[i] < half) {
            left = i;
            break;
        }
    }
    peak.widthPoints = right - left;
    const int w = spikeWidth / 2;
    const bool spike = top - left <= w && right - top <= w && peak.widthPoints <= spikeWidth && peak.widthPoints > 0;
    if (spike || !FitPeakShape(peak, x, y, left, right)) {
        Flatten(y, left, right, peak.base);
        return 1;
    }
    isPeak = 1;
    return 1;
}

void SubtractPeak(const peakSignal& peak, const std::vector<double>& x, std::vector<double>& y)
{
    const double reach = 3.0 * peak.sigma;
    for (std::size_t i = 0; i < y.size() && i < x.size(); ++i) {
        const double f = std::min(std::fabs((x[i] - peak.centre) / reach), 1.0);
        const double v = (y[i] - GaussianPeakWithBase(peak, x[i])) * f * f + peak.base;
        y[i] = v < 0.0 ? 0.0 : v;
    }
}

double TheoreticalPlates(const peakSignal& peak)
{
    const double r = peak.centre / peak.sigma;
    return r * r;
}

void FindPeaks(const std::vector<double>& x, const std::vector<double>& y, std::vector<peakSignal>& list,
               double noiseFactor, int spikeWidth, int chromatogramOnly, double& plates)
{
    std::vector<double> work = y;
    list.clear();
    plates = 0.0;
    if (work.empty())
        return;
    peakSignal peak;
    EstimateNoiseLevel(peak, work);
    int found = 0;
    // Every step that finds no peak flattens at least one point; the bound only guards
    // against settings (a negative noise factor) under which flattened points still count.
    const std::size_t stepLimit = work.size() + kMaxPeaksFound + 1;
    int isPeak = 0;
    for (std::size_t step = 0; step < stepLimit && FindNextPeak(peak, x, work, noiseFactor, spikeWidth, isPeak) == 1;
         ++step) {
        if (!isPeak)
            continue;
        bool accepted = true;
        if (chromatogramOnly) {
            if (found == 0)
                plates = TheoreticalPlates(peak);
            else {
                const double ratio = std::sqrt(TheoreticalPlates(peak) / plates);
                accepted = ratio >= 0.65 && ratio <= 1.55;
            }
        }
        SubtractPeak(peak, x, work);
        if (accepted)
            list.push_back(peak);
        if (++found >= kMaxPeaksFound)
            break;
    }
}

void RefinePeaks(peakSignal& summary, const std::vector<double>& x, const std::vector<double>& y,
                 std::vector<peakSignal>& list)
{
    for (;;) {
        for (std::size_t i = list.size(); i-- > 0;) {
            if (list[i].centre <= 0.0)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        }
        const int m = static_cast<int>(list.size());
        if (m < 1 || x.empty() || x.size() != y.size())
            return;
        const int K = std::min(m, kMaxPeaksRefined);
        const int t = K + 1;
        std::vector<double> matrix(static_cast<std::size_t>(t) * t + 1, 0.0), rhs(t, 0.0);
        std::vector<int> nonzero(t);
        std::vector<double> row(t, 0.0);
        for (std::size_t p = 0; p < x.size(); ++p) {
            // Beyond 3 sigma a unit peak is exactly 0: its products add nothing to a sum,
            // so only the peaks that reach the point are summed (same sums, same order).
            int count = 0;
            row[0] = 1.0;
            nonzero[count++] = 0;
            for (int j = 1; j <= K; ++j) {
                const double g = UnitGaussianPeak(list[j - 1], x[p]);
                if (g != 0.0) {
                    row[j] = g;
                    nonzero[count++] = j;
                }
            }
            for (int a = 0; a < count; ++a) {
                const int j = nonzero[a];
                rhs[j] += y[p] * row[j];
                for (int b = 0; b < count; ++b) {
                    const int l = nonzero[b];
                    matrix[static_cast<std::size_t>(l) * t + j + 1] += row[j] * row[l];
                }
            }
        }
        // A peak that reaches no point has an empty column: it counts as area 0, the
        // later of such peaks going first, as in the pruning below.
        int empty = -1;
        for (int j = 1; j <= K; ++j) {
            if (matrix[static_cast<std::size_t>(j) * t + j + 1] == 0.0)
                empty = j;
        }
        if (empty > 0) {
            list.erase(list.begin() + (empty - 1));
            if (static_cast<int>(list.size()) > K - 1)
                list.resize(static_cast<std::size_t>(K - 1));
            continue;
        }
        if (InvertMatrix(t, matrix.data()) == 0.0)
            return;  // any other singular system changes nothing
        std::vector<double> c(t, 0.0);
        for (int j = 0; j < t; ++j) {
            for (int l = 0; l < t; ++l)
                c[j] += matrix[static_cast<std::size_t>(l) * t + j + 1] * rhs[l];
            if (!std::isfinite(c[j]))
                return;
        }
        summary.base = c[0];
        int weakest = -1;
        for (int j = 1; j <= K; ++j) {
            if (c[j] <= 0.01 * c[0] && (weakest < 0 || c[j] <= c[weakest]))
                weakest = j;  // the later of equal values
        }
        if (weakest < 0) {
            for (int j = 1; j <= K; ++j) {
                list[j - 1].area = c[j];
                list[j - 1].base = c[0];
            }
            if (c[0] >= 0.0)
                return;
            weakest = 1;
            for (int j = 2; j <= K; ++j) {
                if (c[j] < c[weakest])
                    weakest = j;  // the earlier of equal values
            }
        }
        list.erase(list.begin() + (weakest - 1));
        if (static_cast<int>(list.size()) > K - 1)
            list.resize(static_cast<std::size_t>(K - 1));
    }
}

double FindAndRefinePeaks(const std::vector<double>& x, const std::vector<double>& y, double noiseFactor,
                          int spikeWidth, int chromatogramOnly, std::vector<peakSignal>& list, peakSignal& summary)
{
    double plates = 0.0;
    list.clear();
    FindPeaks(x, y, list, noiseFactor, spikeWidth, chromatogramOnly, plates);
    if (list.empty())
        return plates;
    summary.base = list[0].base;
    RefinePeaks(summary, x, y, list);
    return plates;
}

double PeakModelValue(const peakSignal& summary, const std::vector<peakSignal>& list, double x)
{
    double v = summary.base;
    for (const peakSignal& peak : list)
        v += GaussianPeak(peak, x);
    return v;
}

int SurfaceTermCount(int kind)
{
    return kind == 0 ? 3 : kind == 1 ? 5 : 0;
}

void SurfaceRow(double x, double y, double* row, int kind)
{
    if (kind != 0 && kind != 1)
        return;
    row[0] = 1.0;
    row[1] = x;
    row[2] = y;
    if (kind == 1) {
        row[3] = x * x;
        row[4] = y * y;
    }
}

double FitSurface(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                  std::vector<double>& coefficients, std::vector<double>& deviations, int kind)
{
    const int t = SurfaceTermCount(kind);
    const std::size_t n = z.size();
    if (t == 0 || !(n > static_cast<std::size_t>(t) + 1) || x.size() != n || y.size() != n)
        return 0.0;
    std::vector<double> matrix(static_cast<std::size_t>(t) * t + 1, 0.0), rhs(t, 0.0);
    double row[5];
    double sum = 0.0;
    for (std::size_t p = 0; p < n; ++p) {
        SurfaceRow(x[p], y[p], row, kind);
        sum += z[p];
        for (int j = 0; j < t; ++j) {
            rhs[j] += z[p] * row[j];
            for (int l = 0; l < t; ++l)
                matrix[static_cast<std::size_t>(l) * t + j + 1] += row[j] * row[l];
        }
    }
    const std::vector<double> copy = matrix;
    const double d = InvertMatrix(t, matrix.data());
    coefficients.assign(t, 0.0);
    deviations.assign(t, 0.0);
    for (int j = 0; j < t; ++j)
        for (int l = 0; l < t; ++l)
            coefficients[j] += matrix[static_cast<std::size_t>(l) * t + j + 1] * rhs[l];
    const double mean = sum / n;
    double v = 0.0, e = 0.0;
    for (std::size_t p = 0; p < n; ++p) {
        SurfaceRow(x[p], y[p], row, kind);
        double fitted = 0.0;
        for (int j = 0; j < t; ++j)
            fitted += coefficients[j] * row[j];
        v += (z[p] - mean) * (z[p] - mean);
        e += (z[p] - fitted) * (z[p] - fitted);
    }
    v /= n;
    e /= n;
    for (int k = 0; k < t; ++k)
        deviations[k] = std::sqrt(e * MatrixMinorDeterminant(t, k, copy.data()) / d);
    return v == 0.0 ? 0.0 : e / v;
}
