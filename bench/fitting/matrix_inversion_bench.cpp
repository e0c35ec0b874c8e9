#include "fitting/matrix_inversion.h"
#include "fitting/normal_equations.h"

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

// The least-squares core alone (sums, inversion, residual pass) over 10^6 points of five
// columns already computed: no formula text is read.
static void BM_LeastSquaresPass(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0)), m = 5;
    std::vector<double> columns(static_cast<std::size_t>(n) * m), values(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double x = 1.0 + i * 1e-6;
        const double row[m] = {1.0, x, x * x, std::sqrt(x), std::log(x)};
        for (int j = 0; j < m; ++j) columns[static_cast<std::size_t>(i) * m + j] = row[j];
        values[static_cast<std::size_t>(i)] = 2 + 0.5 * x - 0.1 * x * x + (i % 7) * 0.01;
    }
    const LeastSquaresRow rowOf = [&](int point, double* row, double& target, double& value) {
        const double* from = &columns[static_cast<std::size_t>(point) * m];
        for (int j = 0; j < m; ++j) row[j] = from[j];
        target = value = values[static_cast<std::size_t>(point)];
        return true;
    };
    LeastSquaresResult result;
    for (auto _ : state) {
        if (!FitLeastSquares(m, n, rowOf, result)) state.SkipWithError("fit refused");
        benchmark::DoNotOptimize(result.coefficients.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_LeastSquaresPass)->Arg(1000000)->Unit(benchmark::kMillisecond);
