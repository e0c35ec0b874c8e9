// A term-model least-squares fit over 10^6 points of five basis terms (1, x, e^x and a sine
// and cosine pair) beside numpy's normal equations on the same points: the benchmark writes
// the points to a file and runs numpy_normal_equations.py (beside this file) on it with
// Debian's python3. Counters: numpy_normal_ms (X^T X and X^T y then solve, the design built
// beforehand), numpy_with_design_ms (the same including the design) and ratio (numpy_normal_ms
// over our time per fit; above 1 we are faster).
#include "fitting/term_models.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#ifndef TABULON_BENCH_SOURCE_DIR
#define TABULON_BENCH_SOURCE_DIR "."
#endif

namespace {

constexpr int kPoints = 1000000;
constexpr double kPeriod = 2.5;

void MakeData(std::vector<double>& x, std::vector<double>& y)
{
    x.resize(kPoints);
    y.resize(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        x[i] = i * 1e-5;
        y[i] = 1.0 + 0.5 * x[i] + 0.01 * std::exp(x[i]) + 0.3 * std::sin(2.0 * 3.141592653589793 * x[i] / kPeriod) +
               0.1 * std::sin(i * 1.7);
    }
}

// numpy's two figures in milliseconds, or -1 when Debian's python3 with numpy is missing.
void NumpyMilliseconds(const std::vector<double>& x, const std::vector<double>& y, double& normal, double& whole)
{
    normal = whole = -1.0;
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("least_squares_points_" + std::to_string(::getpid()) + ".bin");
    {
        std::ofstream out(file, std::ios::binary);
        for (std::size_t i = 0; i < x.size(); ++i) {
            out.write(reinterpret_cast<const char*>(&x[i]), sizeof(double));
            out.write(reinterpret_cast<const char*>(&y[i]), sizeof(double));
        }
    }
    const std::string command = "/usr/bin/python3 " TABULON_BENCH_SOURCE_DIR "/numpy_normal_equations.py '" +
                                file.string() + "' " + std::to_string(kPeriod) + " 2>/dev/null";
    if (FILE* p = popen(command.c_str(), "r")) {
        if (std::fscanf(p, "%lf %lf", &normal, &whole) != 2)
            normal = whole = -1.0;
        pclose(p);
    }
    std::filesystem::remove(file);
}

}  // namespace

static void BM_FitTermModel_SinExp_5Terms_1e6Points(benchmark::State& state)
{
    std::vector<double> x, y, a, s;
    MakeData(x, y);
    const std::vector<unsigned> codes = {0, 1, 33, 41, 42};
    const std::vector<double> periods = {kPeriod};
    double criterion = 0;
    double best = 1e30;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(FitTermModel(x, y, 0, codes, periods, a, s, &criterion));
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    double normal = 0, whole = 0;
    NumpyMilliseconds(x, y, normal, whole);
    state.counters["best_ms"] = best;
    state.counters["numpy_normal_ms"] = normal;
    state.counters["numpy_with_design_ms"] = whole;
    state.counters["ratio"] = normal > 0 ? normal / best : -1.0;
}
BENCHMARK(BM_FitTermModel_SinExp_5Terms_1e6Points)->Unit(benchmark::kMillisecond);
