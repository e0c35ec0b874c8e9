#include <benchmark/benchmark.h>

#include <vector>

#include "statistics/conditions.h"
#include "statistics/max_condition_search.h"
#include "statistics/one_variable.h"
#include "statistics/random.h"

namespace {

std::vector<double> NormalSample(size_t n) {
    RandomSeed(337643, 62047, 2751976);
    std::vector<double> v(n);
    for (double& x : v) x = RandomNormal(5.0, 2.0);
    return v;
}

// Every statistic the one-variable report prints for one variable, over 10^6 values (the
// randomisation test aside: its 1000 trials are timed on their own).
void BM_OneVariableStatistics(benchmark::State& state) {
    const std::vector<double> v = NormalSample(static_cast<size_t>(state.range(0)));
    std::vector<double> bins;
    for (auto _ : state) {
        distributionSummary s;
        s.FromBinnedValues(v, bins, -5.0, 30, 0.5);
        double mean = 0, sd = 0, se = 0, deviation = 0, from = 0, till = 0;
        MeanStdDev(v, mean, sd, se);
        benchmark::DoNotOptimize(Median(v));
        benchmark::DoNotOptimize(MinimumAbsoluteDeviation(v, deviation));
        MostDenseInterval(v, 0.1, from, till);
        for (int kind = 0; kind < 3; ++kind) benchmark::DoNotOptimize(DistributionCorrelation(v, mean, sd, s.n, kind));
        benchmark::DoNotOptimize(from + till + deviation);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OneVariableStatistics)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_SelectionNotRandomProbability(benchmark::State& state) {
    const std::vector<double> v = NormalSample(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SelectionNotRandomProbability(v, 0.3, 5.2));
}
BENCHMARK(BM_SelectionNotRandomProbability)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The filter with 5 conditions of every kind over 10^6 records of 6 parameters.
void BM_ConditionalValuesFiveConditions(benchmark::State& state) {
    const size_t records = static_cast<size_t>(state.range(0));
    const std::vector<double> values = NormalSample(records * 6);
    const std::vector<conditions> list{{0, kConditionAnd, 3, 7},
                                       {1, kConditionOr, 8, 9},
                                       {2, kConditionAndNot, 4, 4.5},
                                       {3, kConditionOrNot, 0, 10},
                                       {4, kConditionAnd, 1, 9}};
    std::vector<double> out;
    for (auto _ : state) {
        ConditionalValues(values.data(), static_cast<int>(records), 6, 5, list, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConditionalValuesFiveConditions)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The "Max" search over records of 10 parameters: 9 condition parameters (five uniform,
// four coded 0..4) and the value, which depends on parameters 0 and 5.
void BM_MaxConditionSearch(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    RandomSeed(337643, 62047, 2751976);
    std::vector<double> values;
    std::vector<double> value;
    for (int r = 0; r < records; ++r) {
        double row[10];
        for (int p = 0; p < 5; ++p) row[p] = RandomUnit() * 10;
        for (int p = 5; p < 9; ++p) row[p] = RandomInt(0, 4);
        row[9] = RandomNormal(0, 1) + (row[0] > 7 ? 2.0 : 0.0) + (row[5] == 2 ? 1.0 : 0.0);
        values.insert(values.end(), row, row + 10);
        value.push_back(row[9]);
    }
    for (auto _ : state) {
        MaxSearchTables tables;
        SplitDistributions(tables, value);
        std::vector<conditions> list;
        ConditionSearch search(values.data(), records, 10, 9, list, tables);
        search.Run();
        benchmark::DoNotOptimize(list.data());
        state.counters["conditions"] = static_cast<double>(list.size());
    }
}
BENCHMARK(BM_MaxConditionSearch)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
