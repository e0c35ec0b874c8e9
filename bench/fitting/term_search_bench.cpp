// "Harmonic analysis" at 10^3, 10^4 and 2 x 10^5 points: the whole search as one repaint runs
// it, with the number of fits it made. Two signals: a trend with two periods over [0, 40], and
// y = 3 + 0.5x + 2 sin x + normal noise (sd 0.3) over [0, 100], whose one pair of amplitude 2
// is checked (a run that finds another model fails).
#include "fitting/term_search.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

struct Run {
    std::vector<unsigned> codes, tried;
    std::vector<double> periods;
    std::vector<int> starts;
    int yTransform = 0;
    std::int64_t fits = 0;
};

void Harmonic(benchmark::State& state, const std::vector<double>& x, const std::vector<double>& y, Run& run)
{
    for (auto _ : state) {
        TermSelection search(run.codes, run.yTransform, run.periods, run.tried, run.starts);
        search.FitHarmonicModel(x, y);
        search.NormalizeTermList();
        run.fits = search.fitCount;
    }
    state.counters["fits"] = static_cast<double>(run.fits);
    state.counters["periods"] = static_cast<double>(run.periods.size());
    state.counters["us_per_fit"] = benchmark::Counter(static_cast<double>(run.fits) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

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
    Run run;
    Harmonic(state, x, y, run);
}
BENCHMARK(BM_HarmonicAnalysis)->Arg(1000)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

static void BM_HarmonicAnalysisOfASine(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::mt19937 generator(51);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<double> x(static_cast<std::size_t>(n)), y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 100.0 * static_cast<double>(i) / (n - 1);
        y[i] = 3 + 0.5 * x[i] + 2 * std::sin(x[i]) + noise(generator);
    }
    Run run;
    Harmonic(state, x, y, run);

    std::vector<double> a, s;
    double criterion = 0;
    FitTermModel(x, y, run.yTransform, run.codes, run.periods, a, s, &criterion);
    double amplitude = 0;
    for (std::size_t k = 0; k < run.codes.size(); ++k)
        if (run.codes[k] >= kFirstPeriodicTermCode)
            amplitude += a[k] * a[k];
    amplitude = std::sqrt(amplitude);
    state.counters["amplitude"] = amplitude;
    const double period = run.periods.empty() ? 0.0 : run.periods[0];
    state.counters["period"] = period;
    if (run.periods.size() != 1 || std::fabs(amplitude / 2 - 1) > 0.01)
        state.SkipWithError(("not one pair of amplitude 2: " + std::to_string(run.periods.size()) +
                             " pairs, amplitude " + std::to_string(amplitude) + ", period " + std::to_string(period))
                                .c_str());
}
BENCHMARK(BM_HarmonicAnalysisOfASine)->Arg(1000)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);
