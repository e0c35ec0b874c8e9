// Reading the fixtures' largest Access table (fruit.mdb, "Fruit": 11 fields, 37 rows)
// whole, as the database import does: open, list the tables, run the statement, count the
// rows and take every value. In the program itself (as the import did) and through the
// reader process as it does now: with the reader started beforehand (the import starts it
// before its file dialog, and a reader that finished cleanly stands by for the next file),
// and with a new reader started for each read.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/access_database.h"
#include "platform/access_reader_process.h"

namespace {

const std::string kFile = std::string(TABULON_FIXTURES_DIR) + "/access/fruit.mdb";
const std::string kStatement = "SELECT * FROM Fruit";

void BM_AccessTableInProgram(benchmark::State& state) {
    long values = 0;
    for (auto _ : state) {
        platform::AccessDatabase db;
        if (!db.Open(kFile) || db.TableNames().empty() || !db.Execute(kStatement)) {
            state.SkipWithError(db.Error().c_str());
            return;
        }
        const long total = db.RecordCount();
        std::vector<platform::AccessValue> row;
        while (db.NextRow(row)) values += static_cast<long>(row.size());
        benchmark::DoNotOptimize(total);
    }
    state.counters["values"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AccessTableInProgram)->Unit(benchmark::kMillisecond);

void BM_AccessTableThroughReaderProcess(benchmark::State& state) {
    long values = 0;
    platform::AccessReaderProcess::Prestart();
    for (auto _ : state) {
        platform::AccessReaderProcess db;
        if (!db.Open(kFile) || db.TableNames().empty() || !db.Execute(kStatement)) {
            state.SkipWithError(db.Error().c_str());
            return;
        }
        std::vector<std::size_t> all;
        for (std::size_t i = 0; i < db.Fields().size(); ++i) all.push_back(i);
        db.ReadRows(all, [&](const std::vector<platform::AccessValue>& row, long) {
            values += static_cast<long>(row.size());
            return true;
        });
    }
    state.counters["values"] = benchmark::Counter(static_cast<double>(values), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AccessTableThroughReaderProcess)->Unit(benchmark::kMillisecond);

void BM_AccessTableThroughNewReaderProcess(benchmark::State& state) {
    for (auto _ : state) {
        platform::AccessReaderProcess::DropStandby();
        platform::AccessReaderProcess db;
        if (!db.Open(kFile) || !db.Execute(kStatement)) {
            state.SkipWithError(db.Error().c_str());
            return;
        }
        std::vector<std::size_t> all;
        for (std::size_t i = 0; i < db.Fields().size(); ++i) all.push_back(i);
        db.ReadRows(all, [](const std::vector<platform::AccessValue>&, long) { return true; });
    }
}
BENCHMARK(BM_AccessTableThroughNewReaderProcess)->Unit(benchmark::kMillisecond);

}  // namespace
