#include "statistics/random.h"
#include "statistics/student.h"

#include <benchmark/benchmark.h>

// A sweep of t over [-10, 10] at the given degrees of freedom.
static void BM_StudentCdfSweep(benchmark::State& state)
{
    const int df = static_cast<int>(state.range(0));
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i <= 1000; ++i)
            sum += StudentCdf(df, -10.0 + 0.02 * i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1001);
}
BENCHMARK(BM_StudentCdfSweep)->Arg(2)->Arg(9)->Arg(30)->Arg(100);

static void BM_StudentIntervalHalfWidth(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(StudentIntervalHalfWidth(1.5, 40, 0.95));
}
BENCHMARK(BM_StudentIntervalHalfWidth);

static void BM_RandomNormal(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RandomNormal(0.0, 1.0));
}
BENCHMARK(BM_RandomNormal);
