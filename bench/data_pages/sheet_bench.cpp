// Speed of the record operations over a million records and of filling one page of the data
// sheet, which must not depend on the series' length.
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "data/data_edit.h"
#include "data/data_store.h"
#include "data/record_operations.h"
#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"

namespace {

// One series of `records` records of three parameters; column 1 random with many ties.
DataStore MakeStore(int records) {
    DataStore store;
    store.CheckNewSeriesShape(3, store.pendingSeries);
    store.allValues.resize(static_cast<std::size_t>(records) * 3);
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> key(0, 50000);
    for (int r = 0; r < records; ++r) {
        store.allValues[static_cast<std::size_t>(r) * 3] = r;
        store.allValues[static_cast<std::size_t>(r) * 3 + 1] = key(rng) * 0.5;
        store.allValues[static_cast<std::size_t>(r) * 3 + 2] = -r;
    }
    store.AddNewSeries(records, {"a", "b", "c"});
    return store;
}

void BM_SortRecords(benchmark::State& state) {
    const DataStore original = MakeStore(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store = original;
        state.ResumeTiming();
        SortSeriesRecords(store, 1, 1);
        benchmark::DoNotOptimize(store.allValues.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortRecords)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DeleteByCondition(benchmark::State& state) {
    const DataStore original = MakeStore(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store = original;
        state.ResumeTiming();
        DeleteRecordsByCondition(store, 0, 1, 2, 5000, 15000);  // about a fifth of the records go
        benchmark::DoNotOptimize(store.allValues.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DeleteByCondition)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One page of the sheet, from a record in the middle of the series.
void BM_FillSheetPage(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    DataStore store = MakeStore(records);
    DataEdit sheet;
    sheet.store = &store;
    sheet.Create(nullptr);
    sheet.Show(true);
    sheet.Move(0, 0, 500, 700);
    const int top = records / 2;
    for (auto _ : state) {
        sheet.FillDataGrid(0, top);
        benchmark::ClobberMemory();
    }
    state.counters["rows"] = sheet.Control(DataEdit::kGrid).Count();
    sheet.DestroyWindow();
}
BENCHMARK(BM_FillSheetPage)->Arg(10)->Arg(100000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

// The sheet's "Paste" of N lines of two cells (13 MB for 640,000) into a series of two
// parameters.
void BM_PasteLines(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    std::string text;
    for (int i = 0; i < lines; ++i) text += std::to_string(i) + "\t" + std::to_string(i % 977) + ".25\n";
    platform::SetClipboardText(text);
    for (auto _ : state) {
        state.PauseTiming();
        DataStore store;
        store.CheckNewSeriesShape(2, store.pendingSeries);
        store.allValues = {1, 2};
        store.AddNewSeries(1, {"a", "b"});
        DataEdit sheet;
        sheet.store = &store;
        sheet.Create(nullptr);
        sheet.Show(true);
        state.ResumeTiming();
        sheet.SendCommand(DataEdit::kPasteButton);
        if (store.series[0].nRecords != lines + 1) state.SkipWithError("paste failed");
        state.PauseTiming();
        sheet.DestroyWindow();
        state.ResumeTiming();
    }
    state.counters["text_MB"] = text.size() / 1048576.0;
}
BENCHMARK(BM_PasteLines)->Arg(640000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
