#pragma once
// A data store whose page hooks record what the store asked of the page, and helpers
// that fill it the way the import paths do. Shared by the data tests.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/data_store.h"

struct ProgressCall {
    int kind;
    std::string text;
    int current;
    int total;
};

class RecordingStore : public DataStore {
public:
    std::vector<std::string> messages;
    std::vector<ProgressCall> progress;
    std::vector<int> droppedConditions;
    int refreshes = 0;
    int repaints = 0;
    int timerStops = 0;
    int sheetHides = 0;
    int choiceResets = 0;
    // Runs inside SetProgress, where the real page lets other handlers run.
    std::function<void()> duringProgress;

    void RefreshSeriesList(int) override { ++refreshes; }
    void SetProgress(int kind, const std::string& text, int current, int total) override {
        progress.push_back({kind, text, current, total});
        if (duringProgress) {
            auto once = std::move(duringProgress);
            duringProgress = nullptr;
            once();
        }
    }
    void StopSyncTimer() override { ++timerStops; }
    void HideDataSheet() override { ++sheetHides; }
    void ResetDependentChoices() override { ++choiceResets; }
    void DropParameterConditions(int index) override { droppedConditions.push_back(index); }
    void RequestRepaint() override { ++repaints; }
    void ShowStoreMessage(const std::string& text) override { messages.push_back(text); }
};

// The value that AddTestSeries stores at record r, column p of the k-th series added.
inline double TestValue(int k, int r, int p) { return 1e6 * k + 10.0 * r + p; }

// Adds a series of n parameters and R records as an importer does: check the shape,
// append the values, add. Names are prefix + column. Returns AddNewSeries' result
// (0 also when the shape is refused).
inline int AddTestSeries(DataStore& store, int n, int records, int k, const std::string& prefix = "p") {
    if (!store.CheckNewSeriesShape(n, store.pendingSeries)) return 0;
    for (int r = 0; r < records; ++r)
        for (int p = 0; p < n; ++p) store.allValues.push_back(TestValue(k, r, p));
    std::vector<std::string> names;
    for (int p = 0; p < n; ++p) names.push_back(prefix + std::to_string(p));
    return store.AddNewSeries(records, names);
}

using Records = std::vector<std::vector<double>>;

// Adds a series holding the given records, one value per name in each.
inline void AddRecords(DataStore& store, const std::vector<std::string>& names, const Records& records) {
    ASSERT_EQ(store.CheckNewSeriesShape(static_cast<int>(names.size()), store.pendingSeries), 1);
    for (const auto& r : records) store.allValues.insert(store.allValues.end(), r.begin(), r.end());
    ASSERT_EQ(store.AddNewSeries(static_cast<int>(records.size()), names), 1);
}

// Column c of series s, read straight from the values.
inline std::vector<double> StoredColumn(const DataStore& store, int s, int c) {
    const Series& x = store.series.at(static_cast<std::size_t>(s));
    std::vector<double> out;
    for (int r = 0; r < x.nRecords; ++r)
        out.push_back(store.allValues.at(static_cast<std::size_t>(x.firstValue + r * x.nParameters + c)));
    return out;
}
