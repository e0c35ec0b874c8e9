#include "fitting/matrix_inversion.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// A symmetric, well-conditioned matrix like the normal matrices of the fits.
std::vector<double> NormalLikeMatrix(int n)
{
    std::vector<double> a(static_cast<std::size_t>(n) * n + 1, 0.0);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= n; ++i)
            a[(j - 1) * n + i] = (i == j ? n : 0.0) + std::cos(0.7 * i * j);
    return a;
}

}  // namespace

static void BM_InvertMatrix(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> original = NormalLikeMatrix(n);
    std::vector<double> a = original;
    for (auto _ : state) {
        a = original;
        benchmark::DoNotOptimize(InvertMatrix(n, a.data()));
    }
}
BENCHMARK(BM_InvertMatrix)->Arg(10)->Arg(30)->Arg(50);

static void BM_InvertMatrixArrayN(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> original = NormalLikeMatrix(n);
    std::vector<double> a = original;
    for (auto _ : state) {
        a = original;
        benchmark::DoNotOptimize(InvertMatrixArrayN(n, a));
    }
}
BENCHMARK(BM_InvertMatrixArrayN)->Arg(50)->Arg(100);
