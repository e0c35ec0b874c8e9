// Speed of the data store's bulk paths and of reading imported number text.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "data/data_store.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kParameters = 5;

std::vector<std::string> Names() { return {"x", "y", "z", "u", "v"}; }

// A store holding one series of kRecords x kParameters values.
DataStore& FilledStore() {
    static DataStore store = [] {
        DataStore s;
        s.CheckNewSeriesShape(kParameters, s.pendingSeries);
        s.allValues.resize(static_cast<std::size_t>(kRecords) * kParameters);
        for (std::size_t i = 0; i < s.allValues.size(); ++i) s.allValues[i] = static_cast<double>(i);
        s.AddNewSeries(kRecords, Names());
        return s;
    }();
    return store;
}

// A store with one series of kRecords x kParameters values, ready for a second one.
DataStore StoreReadyForSecondSeries(const std::vector<double>& incoming) {
    DataStore store;
    store.CheckNewSeriesShape(kParameters, store.pendingSeries);
    store.allValues = incoming;
    store.AddNewSeries(kRecords, Names());
    store.CheckNewSeriesShape(kParameters, store.pendingSeries);
    return store;
}

// What an import does at its end: append 10^6 records of 5 values, add the series.
void BM_AppendAndAddNewSeries(benchmark::State& state) {
    const std::vector<double> incoming(static_cast<std::size_t>(kRecords) * kParameters, 1.5);
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store = StoreReadyForSecondSeries(incoming);
        state.ResumeTiming();
        store.allValues.insert(store.allValues.end(), incoming.begin(), incoming.end());
        benchmark::DoNotOptimize(store.AddNewSeries(kRecords, Names()));
        state.PauseTiming();
        store = DataStore();  // freeing the values is not part of adding
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AppendAndAddNewSeries)->Unit(benchmark::kMillisecond);

// AddNewSeries alone, the 10^6 records already appended.
void BM_AddNewSeries(benchmark::State& state) {
    const std::vector<double> incoming(static_cast<std::size_t>(kRecords) * kParameters, 1.5);
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store = StoreReadyForSecondSeries(incoming);
        store.allValues.insert(store.allValues.end(), incoming.begin(), incoming.end());
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.AddNewSeries(kRecords, Names()));
        state.PauseTiming();
        store = DataStore();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AddNewSeries)->Unit(benchmark::kMicrosecond)->Iterations(30);  // set-up dominates: few rounds

void BM_GetParameterValues(benchmark::State& state) {
    DataStore& store = FilledStore();
    std::vector<double> column;
    int p = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetParameterValues(0, p, column));
        p = (p + 1) % kParameters;
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_GetParameterValues)->Unit(benchmark::kMillisecond);

// 10^6 numeric fields as a text import meets them: integers, decimals, signs,
// exponents, and the line feed ending the last field of a line.
std::vector<std::string> NumericFields() {
    std::mt19937_64 random(42);
    std::vector<std::string> fields;
    fields.reserve(1000000);
    char text[64];
    for (int i = 0; i < 1000000; ++i) {
        const double x = std::uniform_real_distribution<double>(-1e4, 1e4)(random);
        switch (i % 5) {
            case 0: std::snprintf(text, sizeof text, "%d", static_cast<int>(x)); break;
            case 1: std::snprintf(text, sizeof text, "%.3f", x); break;
            case 2: std::snprintf(text, sizeof text, "%.6g", x); break;
            case 3: std::snprintf(text, sizeof text, "%.4e", x); break;
            default: std::snprintf(text, sizeof text, "%.2f\n", x); break;
        }
        fields.emplace_back(text);
    }
    return fields;
}

void BM_TextToValue(benchmark::State& state) {
    static const std::vector<std::string> fields = NumericFields();
    for (auto _ : state) {
        double sum = 0;
        for (const std::string& f : fields) sum += DataStore::TextToValue(f.c_str());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(fields.size()));
}
BENCHMARK(BM_TextToValue)->Unit(benchmark::kMillisecond);

// The C library's reading of the same fields, for comparison.
void BM_Atof(benchmark::State& state) {
    static const std::vector<std::string> fields = NumericFields();
    for (auto _ : state) {
        double sum = 0;
        for (const std::string& f : fields) sum += std::atof(f.c_str());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(fields.size()));
}
BENCHMARK(BM_Atof)->Unit(benchmark::kMillisecond);

}  // namespace
