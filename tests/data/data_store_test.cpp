#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "data/data_store.h"
#include "recording_store.h"

namespace {

// Column p of series s read through the store.
std::vector<double> Column(DataStore& store, int s, int p) {
    std::vector<double> out;
    EXPECT_EQ(store.GetParameterValues(s, p, out), 1);
    return out;
}

std::vector<double> Expected(int k, int records, int p) {
    std::vector<double> v;
    for (int r = 0; r < records; ++r) v.push_back(TestValue(k, r, p));
    return v;
}

// Adds series 0, 1, ... of n parameters, one per record count.
void Fill(RecordingStore& store, int n, std::initializer_list<int> records) {
    int k = 0;
    for (int r : records) ASSERT_EQ(AddTestSeries(store, n, r, k++), 1);
}

}  // namespace

TEST(DataStoreAdd, FirstSeriesTakesArgumentsAndOneValue) {
    for (auto [n, records] : {std::pair{1, 5}, {3, 4}, {5, 0}}) {
        RecordingStore store;
        ASSERT_EQ(AddTestSeries(store, n, records, 0), 1);
        ASSERT_EQ(CheckStoreInvariants(store), "");
        const Series& s = store.series[0];
        EXPECT_EQ(std::tie(s.nArguments, s.nValues, s.nRecords), std::make_tuple(n - 1, 1, records));
        EXPECT_EQ(Column(store, 0, n - 1), Expected(0, records, n - 1));
    }
}

TEST(DataStoreAdd, LaterSeriesTakeNextPaletteEntriesAndShapes) {
    RecordingStore store;
    ASSERT_EQ(AddTestSeries(store, 3, 4, 0), 1);
    store.activeParameter = 1;
    store.MakeActiveParameterValue();  // two value columns now
    for (int k = 1; k < 8; ++k) ASSERT_EQ(AddTestSeries(store, 3, 2 + k, k), 1);
    ASSERT_EQ(CheckStoreInvariants(store), "");

    // c counts the value parameters already in the store when each one is added.
    long long c = 2;
    for (int k = 1; k < 8; ++k) {
        const Series& s = store.series[static_cast<std::size_t>(k)];
        for (int p = 1; p < 3; ++p) {
            const Initial& x = store.parameters[static_cast<std::size_t>(s.firstParameter + p)];
            EXPECT_EQ(x.color, static_cast<std::int32_t>(store.markColors[static_cast<std::size_t>(c % 11)]));
            EXPECT_EQ(x.markShape, c % 14);
            ++c;
        }
    }
}

TEST(DataStoreAdd, RefusedAndMismatchedAddsLeaveTheStore) {
    RecordingStore store;
    ASSERT_EQ(AddTestSeries(store, 3, 4, 0), 1);
    const auto values = store.allValues;
    EXPECT_EQ(AddTestSeries(store, 2, 4, 1), 0);
    EXPECT_EQ(store.messages,
              std::vector<std::string>{"Number of parameters in additing series must be equial to existing 3\nPlease try again."});
    EXPECT_EQ(store.allValues, values);

    // Fewer values than records x parameters, or a shape that no longer matches series 0
    // (changed while the import ran): the appended values are removed again.
    ASSERT_EQ(store.CheckNewSeriesShape(3, store.pendingSeries), 1);
    store.allValues.insert(store.allValues.end(), {1, 2, 3});
    EXPECT_EQ(store.AddNewSeries(2, {"a", "b", "c"}), 0);
    EXPECT_EQ(store.allValues, values);
    ASSERT_EQ(store.CheckNewSeriesShape(3, store.pendingSeries), 1);
    store.pendingSeries.nParameters = 2;
    store.allValues.insert(store.allValues.end(), {1, 2});
    EXPECT_EQ(store.AddNewSeries(1, {"a", "b"}), 0);
    EXPECT_EQ(store.allValues, values);
}

TEST(DataStoreRead, BadIndexLeavesTheOutputAndSaysSo) {
    RecordingStore store;
    Fill(store, 2, {3, 5});
    const std::vector<double> sentinel{42, 43};
    for (auto [s, p] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {1, 2}}) {
        std::vector<double> out = sentinel;
        EXPECT_EQ(store.GetParameterValues(s, p, out), 0) << s << "," << p;
        EXPECT_EQ(out, sentinel);
    }
}

TEST(DataStoreRead, LongColumnsReportProgressAndYieldToAChange) {
    RecordingStore store;
    Fill(store, 3, {14999, 20001});
    store.progress.clear();
    EXPECT_EQ(Column(store, 0, 1), Expected(0, 14999, 1));
    EXPECT_TRUE(store.progress.empty());

    EXPECT_EQ(Column(store, 1, 2), Expected(1, 20001, 2));
    std::vector<std::tuple<int, std::string, int, int>> calls, expected;
    for (const ProgressCall& call : store.progress) calls.emplace_back(call.kind, call.text, call.current, call.total);
    for (int at : {0, 5000, 10000, 15000, 20000}) expected.emplace_back(5000, "Processing data", at, 20001);
    EXPECT_EQ(calls, expected);

    // A change of the store while the progress runs abandons the read.
    store.duringProgress = [&] { store.OnDeleteAll(); };
    std::vector<double> out{7};
    EXPECT_EQ(store.GetParameterValues(1, 2, out), 0);
    EXPECT_EQ(out, std::vector<double>{7});
}

TEST(DataStoreDelete, FirstSeriesGoesWholeAndLaterOnesKeepTheirData) {
    RecordingStore store;
    for (int k = 0; k < 4; ++k) ASSERT_EQ(AddTestSeries(store, 3, 2 + k, k, "s" + std::to_string(k) + "_"), 1);
    store.seriesNames = {"A", "B", "C", "D"};
    store.selectedParameter = -1;
    store.selectedSeries = 0;
    store.OnDeleteParameter();
    ASSERT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(store.seriesNames, (std::vector<std::string>{"B", "C", "D"}));
    EXPECT_EQ(std::tie(store.parameterNames[0], store.parameterNames[8]), std::make_tuple("s1_0", "s3_2"));
    for (int s = 0; s < 3; ++s)
        for (int p = 0; p < 3; ++p) EXPECT_EQ(Column(store, s, p), Expected(s + 1, 3 + s, p));
}

TEST(DataStoreDelete, MiddleAndLastSeriesAndTheOnlyOne) {
    RecordingStore store;
    Fill(store, 2, {3, 3, 3});
    // -1: nothing selected, nothing deleted.
    for (auto [victim, left] : {std::pair{-1, 3u}, {1, 2u}, {1, 1u}, {0, 0u}}) {
        store.selectedParameter = -1;
        store.selectedSeries = victim;
        store.OnDeleteParameter();
        ASSERT_EQ(CheckStoreInvariants(store), "");
        EXPECT_EQ(store.series.size(), left) << victim;
    }
}

TEST(DataStoreDelete, ColumnGoesFromEverySeries) {
    RecordingStore store;
    Fill(store, 4, {3, 4, 5});
    store.activeParameter = 1;
    store.MakeActiveParameterValue();  // columns: arg, value, arg, value
    store.activeParameter = 2;
    store.selectedParameter = 4 + 1;  // column 1 picked in series 1
    store.selectedRow = 1 * 5 + 2;
    store.OnDeleteParameter();
    ASSERT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(std::tie(store.parametersPerSeries, store.series[2].nValues, store.series[2].nArguments),
              std::make_tuple(3, 1, 2));
    EXPECT_EQ(store.droppedConditions, (std::vector<int>{9, 5, 1}));
    EXPECT_EQ(store.parameterNames, (std::vector<std::string>{"p0", "p2", "p3", "p0", "p2", "p3", "p0", "p2", "p3"}));
    for (int s = 0; s < 3; ++s)
        for (auto [c, was] : {std::pair{0, 0}, {1, 2}, {2, 3}}) EXPECT_EQ(Column(store, s, c), Expected(s, 3 + s, was));
}

TEST(DataStoreDelete, OnlyColumnEmptiesTheStore) {
    RecordingStore store;
    Fill(store, 1, {5, 2});
    store.selectedParameter = 1;
    store.selectedRow = 3;
    store.OnDeleteParameter();
    EXPECT_EQ(std::tuple(store.series.size(), store.allValues.size(), store.parametersPerSeries), std::tuple(0u, 0u, 0));
}

TEST(DataStoreDelete, ColumnDeletionReportsProgressAndYieldsToAChange) {
    RecordingStore store;
    ASSERT_EQ(AddTestSeries(store, 3, 4000, 0), 1);
    store.selectedParameter = 0;
    store.selectedRow = 1;
    store.duringProgress = [&] { AddTestSeries(store, 3, 1, 1); };
    store.OnDeleteParameter();
    // The other handler's series is there and nothing was cut.
    EXPECT_EQ(std::tuple(store.series.size(), store.parametersPerSeries), std::tuple(2u, 3));
    EXPECT_EQ(CheckStoreInvariants(store), "");
}

TEST(DataStoreRoles, ColumnRolesFollowInEverySeries) {
    RecordingStore store;
    Fill(store, 3, {2, 2, 2});
    struct Step {
        int column;
        void (DataStore::*command)();
        int arguments, values;
    };
    const Step steps[] = {
        {0, &DataStore::MakeActiveParameterValue, 1, 2},
        {2, &DataStore::MakeActiveParameterInactive, 1, 1},
        {2, &DataStore::MakeActiveParameterArgument, 2, 1},
        {0, &DataStore::MakeActiveParameterArgument, 3, 0},
        {1, &DataStore::MakeActiveParameterValue, 2, 1},
        {0, &DataStore::MakeActiveParameterInactive, 1, 1},
    };
    for (const Step& step : steps) {
        store.activeParameter = step.column;
        (store.*step.command)();
        ASSERT_EQ(CheckStoreInvariants(store), "") << step.column;
        EXPECT_EQ(std::tie(store.series[2].nArguments, store.series[2].nValues), std::tie(step.arguments, step.values));
    }
    store.dataModified = 0;
    store.OnMakeAllInactive();
    EXPECT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(store.series[1].nValues + store.series[1].nArguments, 0);
    // The shape changed: the pages that follow it read it again.
    EXPECT_EQ(store.dataModified, 1);
}

TEST(DataStoreRoles, NewValuesTakeFreeShapesThenCycle) {
    RecordingStore store;
    Fill(store, 8, {1, 1});
    // Value shapes now: column 7 of both series, shapes 0 and 1.
    store.activeParameter = 2;
    store.MakeActiveParameterValue();
    EXPECT_EQ(std::tie(store.parameters[2].markShape, store.parameters[10].markShape), std::make_tuple(2, 3));
    for (int column : {0, 1, 3, 4, 5}) {
        store.activeParameter = column;
        store.MakeActiveParameterValue();
    }
    // Shapes 0..13 are taken by 14 values; the next two cycle from c = 14 and 15.
    store.activeParameter = 6;
    store.MakeActiveParameterValue();
    EXPECT_EQ(std::tie(store.parameters[6].markShape, store.parameters[14].markShape), std::make_tuple(0, 1));
    EXPECT_EQ(CheckStoreInvariants(store), "");
}

TEST(DataStoreUndo, CopyCoversEveryArrayAndStaysForASecondUndo) {
    RecordingStore store;
    Fill(store, 2, {6, 3});
    store.parameterTexts[3] = "entry";
    const DataStore before = store;

    store.SaveUndoCopy();
    // An undoable step: record removal, a whole series, rescaling.
    ASSERT_EQ(store.RescaleParameter(1, 0, 0, 2), 1);
    ASSERT_EQ(store.RemoveRecordValues(0, 2, 4), 1);
    ASSERT_EQ(store.RemoveSeries(1), 1);
    store.CloseUndoStep();

    for (int twice = 0; twice < 2; ++twice) {
        ASSERT_EQ(store.RestoreUndoCopy(), 1);
        EXPECT_EQ(CheckStoreInvariants(store), "");
        EXPECT_EQ(std::tie(store.allValues, store.seriesNames, store.parameterNames, store.parameterTexts),
                  std::tie(before.allValues, before.seriesNames, before.parameterNames, before.parameterTexts));
    }
}

TEST(DataStoreUndo, AnyOtherChangeDropsTheCopy) {
    using Change = std::function<void(RecordingStore&)>;
    const std::vector<std::pair<const char*, Change>> changes = {
        {"add", [](RecordingStore& s) { AddTestSeries(s, 2, 2, 5); }},
        {"delete all", [](RecordingStore& s) { s.OnDeleteAll(); }},
        {"role", [](RecordingStore& s) { s.activeParameter = 0; s.MakeActiveParameterValue(); }},
        {"cell edit", [](RecordingStore& s) { s.allValues[0] = 5; s.NoteStoreChanged(); }},
        {"rescale", [](RecordingStore& s) { s.RescaleParameter(0, 1, 0, 1); }},
    };
    for (const auto& [name, change] : changes) {
        RecordingStore store;
        Fill(store, 2, {3});
        store.SaveUndoCopy();
        store.CloseUndoStep();
        change(store);
        EXPECT_EQ(store.RestoreUndoCopy(), 0) << name;
    }
    // Structural commands drop it even inside a step.
    RecordingStore store;
    Fill(store, 2, {3});
    store.SaveUndoCopy();
    AddTestSeries(store, 2, 3, 1);
    EXPECT_FALSE(store.HasUndoCopy());
}

TEST(DataStoreValues, NormalizingMapsTheRangeAndLeavesAConstant) {
    RecordingStore store;
    ASSERT_EQ(store.CheckNewSeriesShape(2, store.pendingSeries), 1);
    store.allValues = {1, 7, 3, 7, 5, 7};
    ASSERT_EQ(store.AddNewSeries(3, {"x", "c"}), 1);

    EXPECT_EQ(store.NormalizeParameter(0, -1, 1), 1);
    EXPECT_EQ(Column(store, 0, 0), (std::vector<double>{-1, 0, 1}));
    EXPECT_EQ(store.NormalizeParameter(1, 0, 1), 0);
    EXPECT_EQ(Column(store, 0, 1), (std::vector<double>{7, 7, 7}));
    EXPECT_EQ(store.NormalizeParameter(0, 2, 2), 0);

    EXPECT_EQ(store.NormalizeParameterByFirst(0), 1);  // first value -1
    EXPECT_EQ(Column(store, 0, 0), (std::vector<double>{1, 0, -1}));
    store.allValues[0] = 1e-41;
    EXPECT_EQ(store.NormalizeParameterByFirst(0), 0);
    EXPECT_EQ(store.messages, std::vector<std::string>{"The procedure cannot be complete"});
    EXPECT_EQ(store.allValues[0], 1e-41);
}

TEST(DataStoreValues, LookupsAndRanges) {
    RecordingStore store;
    ASSERT_EQ(AddTestSeries(store, 2, 3, 0, "Temp"), 1);
    ASSERT_EQ(AddTestSeries(store, 2, 0, 1, "Zero"), 1);
    for (auto [parameter, series] : {std::pair{2, 1}, {4, -1}, {-1, -1}})
        EXPECT_EQ(store.SeriesOfParameter(parameter), series) << parameter;
    for (auto [name, index] : {std::pair{"TEMP1", 1}, {"Temp", -1}})
        EXPECT_EQ(store.IndexOfParameterName(name), index) << name;
    double lo, hi, first;
    EXPECT_EQ(store.ParameterRange(1, lo, hi, first), 1);
    EXPECT_EQ(std::tie(lo, hi, first), std::make_tuple(1.0, 21.0, 1.0));
    EXPECT_EQ(store.ParameterRange(3, lo, hi, first), 0);  // no record
    EXPECT_EQ(store.RescaleParameter(3, 0, 0, 1), 0);
}

TEST(DataStoreValues, RecordRemovalKeepsLaterSeriesInPlace) {
    RecordingStore store;
    Fill(store, 2, {4, 4, 4});
    // Not whole records, or outside the series: refused.
    for (auto [s, at, count] : {std::tuple{1, 9, 2}, {1, 14, 4}, {3, 0, 2}})
        EXPECT_EQ(store.RemoveRecordValues(s, at, count), 0) << s << " " << at << " " << count;
    ASSERT_EQ(store.RemoveRecordValues(1, 10, 4), 1);
    ASSERT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(Column(store, 1, 1), (std::vector<double>{TestValue(1, 0, 1), TestValue(1, 3, 1)}));
    EXPECT_EQ(Column(store, 2, 0), Expected(2, 4, 0));
    // All records of a series: an empty series stays.
    ASSERT_EQ(store.RemoveRecordValues(1, 8, 4), 1);
    EXPECT_EQ(store.series[1].nRecords, 0);
}

TEST(DataStoreValues, CompactingClosesGapsAndRefusesOverlaps) {
    RecordingStore store;
    Fill(store, 2, {2, 2, 2});
    // As a document may leave it: series spread out with gaps.
    std::vector<double> spread(30, -1);
    const int at[] = {3, 11, 20};
    for (int s = 0; s < 3; ++s) {
        std::copy_n(store.allValues.begin() + 4 * s, 4, spread.begin() + at[s]);
        store.series[static_cast<std::size_t>(s)].firstValue = at[s];
    }
    const auto packed = store.allValues;
    store.allValues = spread;
    ASSERT_EQ(store.CompactValues(), 1);
    EXPECT_EQ(store.allValues, packed);
    EXPECT_EQ(CheckStoreInvariants(store), "");

    store.series[1].firstValue = 2;  // overlaps series 0
    const auto kept = store.allValues;
    EXPECT_EQ(store.CompactValues(), 0);
    EXPECT_EQ(store.allValues, kept);
}

TEST(DataStoreValues, RecordCopiesStayInsideTheValues) {
    RecordingStore store;
    Fill(store, 2, {3});
    std::vector<double> record;
    EXPECT_EQ(store.GetRecord(2, 2, record), 1);
    EXPECT_EQ(record, (std::vector<double>{20, 21}));
    EXPECT_EQ(store.CopyRecord(2, 2, 0), 1);
    EXPECT_EQ(store.PutRecord(2, 1, {5, 6}), 1);
    EXPECT_EQ(store.allValues, (std::vector<double>{20, 21, 5, 6, 20, 21}));
    // A record beyond the series, or one of the wrong width, is refused.
    EXPECT_EQ(store.CopyRecord(2, 0, 3), 0);
    EXPECT_EQ(store.PutRecord(2, 1, {5}), 0);
}

TEST(DataStoreInvariants, EachBreachIsNamed) {
    using Breach = std::function<void(DataStore&)>;
    const std::vector<Breach> breaches = {
        [](DataStore& s) { s.parameterTexts.pop_back(); },
        [](DataStore& s) { s.seriesNames.push_back("x"); },
        [](DataStore& s) { s.allValues.push_back(1); },
        [](DataStore& s) { s.series[1].firstValue += 1; },
        [](DataStore& s) { s.series[1].firstParameter = 0; },
        [](DataStore& s) { s.series[1].nValues = 0; },
        [](DataStore& s) { s.parameters[4].role = kRoleValue; },
        [](DataStore& s) { s.parametersPerSeries = 2; },
        [](DataStore& s) { s.selectedParameter = 6; },
        [](DataStore& s) { s.activeParameter = 3; },
    };
    for (std::size_t i = 0; i < breaches.size(); ++i) {
        RecordingStore store;
        Fill(store, 3, {2, 2});
        breaches[i](store);
        EXPECT_NE(CheckStoreInvariants(store), "") << "breach " << i;
    }
}
