// A parameter computed by formula over 10^5 records, and a user basis model of five
// texts fitted to 10,000 points: mostly the evaluation of the basis texts at every point (the
// least-squares core alone is timed by BM_LeastSquaresPass in fitting_bench).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/data_store.h"
#include "formula/model_evaluation.h"

namespace {

DataStore StoreOfRecords(int records) {
    DataStore store;
    store.CheckNewSeriesShape(3, store.pendingSeries);
    for (int r = 0; r < records; ++r) {
        store.allValues.push_back(r * 0.5);
        store.allValues.push_back(1000.0 - r);
        store.allValues.push_back(0.0);
    }
    store.AddNewSeries(records, {"x", "y", "z"});
    return store;
}

void BM_ModifyParameterByFormula(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const DataStore original = StoreOfRecords(records);
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.ModifyParameterByFormula("x*2 + sqrt(abs(y)) - x[-1] + N", 2));
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_ModifyParameterByFormula)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EvaluateBasisTextsAndFit(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    std::vector<double> x, y;
    for (int k = 0; k < points; ++k) {
        x.push_back(1 + k * 0.001);
        y.push_back(2 + 0.5 * x.back() - 0.1 * x.back() * x.back() + (k % 7) * 0.01);
    }
    const std::vector<std::string> basis{"1", "x", "x^2", "sqrt(x)", "ln(x)"};
    std::vector<double> a, dev;
    double rms = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FitUserBasisModel(x, y, a, dev, 5, rms, "y", basis));
    state.SetItemsProcessed(state.iterations() * points);
}
BENCHMARK(BM_EvaluateBasisTextsAndFit)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
