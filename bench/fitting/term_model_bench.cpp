// FitTermModel over a million points against numpy's lstsq on the same data, timed in the
// same run (the numpy figure is reported as a counter of the benchmark).
#include "fitting/term_models.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 1000000;

// x in [-1, 1], y a fifth-degree polynomial with a deterministic wiggle for noise; the
// Python side below builds the same arrays.
void MakeData(std::vector<double>& x, std::vector<double>& y)
{
    x.resize(kPoints);
    y.resize(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double t = -1.0 + 2.0 * i / (kPoints - 1);
        x[i] = t;
        y[i] = 1.0 + 0.5 * t - 2.0 * t * t + 0.3 * t * t * t + t * t * t * t - 0.7 * t * t * t * t * t +
               0.01 * std::sin(1234.5 * i);
    }
}

// Best of five numpy lstsq solves of the same 10^6 x 6 design (built beforehand), in
// milliseconds; -1 when
// Debian's python3 with numpy is not there.
double NumpyLstsqMilliseconds()
{
    const char* script =
        "/usr/bin/python3 -c \""
        "import numpy as np, time\n"
        "n = 1000000\n"
        "i = np.arange(n)\n"
        "t = -1.0 + 2.0 * i / (n - 1)\n"
        "y = 1.0 + 0.5*t - 2.0*t*t + 0.3*t*t*t + t*t*t*t - 0.7*t*t*t*t*t + 0.01*np.sin(1234.5*i)\n"
        "X = np.vander(t, 6, increasing=True)\n"
        "best = 1e9\n"
        "for _ in range(5):\n"
        "    s = time.perf_counter()\n"
        "    np.linalg.lstsq(X, y, rcond=None)\n"
        "    best = min(best, time.perf_counter() - s)\n"
        "print(best * 1000)\n"
        "\" 2>/dev/null";
    FILE* p = popen(script, "r");
    if (!p)
        return -1.0;
    char buffer[64] = {0};
    const bool read = std::fgets(buffer, sizeof buffer, p) != nullptr;
    pclose(p);
    return read ? std::strtod(buffer, nullptr) : -1.0;
}

}  // namespace

static void BM_FitTermModel_6Terms_1e6Points(benchmark::State& state)
{
    std::vector<double> x, y, a, s;
    MakeData(x, y);
    const std::vector<unsigned> codes = {0, 1, 2, 3, 4, 5};
    double criterion = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(FitTermModel(x, y, 0, codes, {}, a, s, &criterion));
    state.counters["numpy_lstsq_ms"] = NumpyLstsqMilliseconds();
    state.counters["points"] = kPoints;
}
BENCHMARK(BM_FitTermModel_6Terms_1e6Points)->Unit(benchmark::kMillisecond);
