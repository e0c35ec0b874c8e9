// Near-neighbour estimates of every record of a series of three arguments: each estimate
// looks at about 500 sampled records; the closest-percent kind selects its k closest
// without sorting them all.
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "fitting/neighbour_estimate.h"

namespace {

struct Table {
    std::vector<double> values;
    std::vector<int> mask{-1, -1, -1, 1};
};

Table Records(int n) {
    Table t;
    std::mt19937_64 random(88172645463325252ull);
    std::uniform_real_distribution<double> u(0, 1);
    for (int r = 0; r < n; ++r) {
        const double a = u(random), b = u(random), c = u(random);
        t.values.insert(t.values.end(), {a, b, c, a * b + c});
    }
    return t;
}

void EstimateAll(benchmark::State& state, int kind) {
    const int n = static_cast<int>(state.range(0));
    const Table t = Records(n);
    std::vector<double> point(3);
    for (auto _ : state) {
        double sum = 0;
        for (int r = 0; r < n; ++r) {
            point.assign(t.values.begin() + r * 4, t.values.begin() + r * 4 + 3);
            sum += NearestNeighbourEstimate(t.values, 4, 3, 0, n, t.mask, 3, r, kind, 3.0, point);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["estimates/s"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_NeighbourEstimateAllRecordsInverseDistance(benchmark::State& state) { EstimateAll(state, 0); }
void BM_NeighbourEstimateAllRecordsClosestPercent(benchmark::State& state) { EstimateAll(state, 3); }
BENCHMARK(BM_NeighbourEstimateAllRecordsInverseDistance)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeighbourEstimateAllRecordsClosestPercent)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
