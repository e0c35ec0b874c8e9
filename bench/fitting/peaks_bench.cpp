#include "fitting/peak_detection.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// 10^6 samples: base 5, noise 0.5 and 40 separated Gaussian peaks.
void Chromatogram(std::vector<double>& x, std::vector<double>& y)
{
    const int n = 1000000, peaks = 40;
    std::mt19937 generator(40);
    std::normal_distribution<double> noise(0.0, 0.5);
    x.resize(n);
    y.resize(n);
    for (int i = 0; i < n; ++i) {
        x[i] = i;
        y[i] = 5.0 + noise(generator);
    }
    for (int k = 0; k < peaks; ++k) {
        const double centre = 12000.0 + 24500.0 * k, sigma = 40.0 + 7.0 * (k % 9);
        const double height = 60.0 + 9.0 * ((k * 7) % 13);
        for (int i = static_cast<int>(centre - 6 * sigma); i <= static_cast<int>(centre + 6 * sigma); ++i)
            y[i] += height * std::exp(-0.5 * std::pow((i - centre) / sigma, 2));
    }
}

}  // namespace

static void BM_FindPeaksAndRefine_1e6Samples40Peaks(benchmark::State& state)
{
    std::vector<double> x, y;
    Chromatogram(x, y);
    std::vector<peakSignal> list;
    for (auto _ : state) {
        double plates = 0.0;
        FindPeaks(x, y, list, 2.5, 3, 0, plates);
        peakSignal summary;
        summary.base = list.empty() ? 0.0 : list[0].base;
        RefinePeaks(summary, x, y, list);
        benchmark::DoNotOptimize(summary.base);
    }
    state.counters["peaks"] = static_cast<double>(list.size());
}
BENCHMARK(BM_FindPeaksAndRefine_1e6Samples40Peaks)->Unit(benchmark::kMillisecond);

static void BM_RefinePeaks_1e6Samples40Peaks(benchmark::State& state)
{
    std::vector<double> x, y;
    Chromatogram(x, y);
    std::vector<peakSignal> found;
    double plates = 0.0;
    FindPeaks(x, y, found, 2.5, 3, 0, plates);
    for (auto _ : state) {
        std::vector<peakSignal> list = found;
        peakSignal summary;
        RefinePeaks(summary, x, y, list);
        benchmark::DoNotOptimize(summary.base);
    }
    state.counters["peaks"] = static_cast<double>(found.size());
}
BENCHMARK(BM_RefinePeaks_1e6Samples40Peaks)->Unit(benchmark::kMillisecond);
