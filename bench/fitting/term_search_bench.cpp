// "Harmonic analysis" on a trend with two periods, at 10^3 and 10^4 points: the whole
// search as one repaint runs it, with the number of fits it made.
#include "fitting/term_search.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

static void BM_HarmonicAnalysis(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x(static_cast<std::size_t>(n)), y(x.size());
    for (int i = 0; i < n; ++i) {
        const double t = 40.0 * i / (n - 1);
        x[static_cast<std::size_t>(i)] = t;
        y[static_cast<std::size_t>(i)] = 1 + 0.1 * t + 2 * std::cos(6.283185307179586 * t / 5.0 + 0.4) +
                                         std::sin(6.283185307179586 * t / 13.0) + 0.2 * std::sin(91.7 * i);
    }
    std::vector<unsigned> codes, tried;
    std::vector<double> periods;
    std::vector<int> starts;
    int yTransform = 0;
    std::int64_t fits = 0;
    for (auto _ : state) {
        TermSelection search(codes, yTransform, periods, tried, starts);
        search.FitHarmonicModel(x, y);
        search.NormalizeTermList();
        fits = search.fitCount;
    }
    state.counters["fits"] = static_cast<double>(fits);
    state.counters["periods"] = static_cast<double>(periods.size());
    state.counters["us_per_fit"] = benchmark::Counter(static_cast<double>(fits) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HarmonicAnalysis)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
