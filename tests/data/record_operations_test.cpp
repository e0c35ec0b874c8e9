// Record and series operations over generated stores: every result checked with the store's
// invariant checker, sorting against the stable order of an offline table.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "data/record_operations.h"
#include "recording_store.h"

namespace {

// seriesRecords.size() series of n parameters; the last column a value, the others arguments.
void Fill(RecordingStore& store, int n, const std::vector<int>& seriesRecords) {
    store.OnDeleteAll();
    for (std::size_t k = 0; k < seriesRecords.size(); ++k)
        ASSERT_EQ(AddTestSeries(store, n, seriesRecords[k], static_cast<int>(k)), 1);
    ASSERT_EQ(CheckStoreInvariants(store), "");
}

std::vector<int> RecordCounts(const DataStore& store) {
    std::vector<int> counts;
    for (const Series& x : store.series) counts.push_back(x.nRecords);
    return counts;
}

TEST(ConditionTest, ModesAndBounds) {
    struct Case {
        double v;
        int mode;
        double a, b;
        int expected;
    };
    const Case cases[] = {{2, 0, 1, 0, 1}, {1, 0, 1, 0, 0}, {0, 1, 1, 0, 1}, {1, 1, 1, 0, 0}, {2, 2, 1, 3, 1},
                          {1, 2, 1, 3, 0}, {3, 2, 1, 3, 0}, {1, 2, 1, 1, 0}, {0, 3, 1, 3, 1}, {4, 3, 1, 3, 1},
                          {2, 3, 1, 3, 0}, {5, 4, 0, 0, 0}, {5, -1, 0, 9, 0}, {NAN, 3, 1, 3, 0}};
    for (const Case& c : cases) EXPECT_EQ(ConditionTest(c.v, c.mode, c.a, c.b), c.expected) << c.v << " " << c.mode;
}

TEST(RecordOperations, ResizingToNothingRemovesTheWholeSeries) {
    RecordingStore store;
    Fill(store, 2, {3, 4, 2});
    store.parameterNames = {"a", "b", "c", "d", "e", "f"};
    // The caller has taken series 1's records out of allValues.
    store.allValues.erase(store.allValues.begin() + 6, store.allValues.begin() + 14);
    ASSERT_EQ(ResizeSeriesRecords(store, 1, -4), 1);
    EXPECT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(store.seriesNames, (std::vector<std::string>{"Series #1", "Series #3"}));
    EXPECT_EQ(store.parameterNames, (std::vector<std::string>{"a", "b", "e", "f"}));
    EXPECT_EQ(StoredColumn(store, 1, 0), (std::vector<double>{TestValue(2, 0, 0), TestValue(2, 1, 0)}));

    // Growing shifts the later series.
    store.allValues.insert(store.allValues.begin() + 6, {7, 8});
    ASSERT_EQ(ResizeSeriesRecords(store, 0, 1), 1);
    EXPECT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(store.series[1].firstValue, 8);
    EXPECT_EQ(ResizeSeriesRecords(store, 5, 1), 0);

    // The last series gone empties the store.
    Fill(store, 2, {3});
    store.allValues.clear();
    ASSERT_EQ(ResizeSeriesRecords(store, 0, -3), 1);
    EXPECT_TRUE(store.series.empty());
}

TEST(RecordOperations, SortingMatchesTheStableOracle) {
    std::ifstream in(TABULON_SOURCE_DIR "/tests/data/sort_cases.txt");
    ASSERT_TRUE(in.good());
    std::string word;
    int cases = 0;
    while (in >> word) {
        ASSERT_EQ(word, "case");
        int n = 0, records = 0, column = 0;
        in >> n >> records >> column;
        std::vector<double> values(static_cast<std::size_t>(n) * records);
        for (double& v : values) {
            std::string t;
            in >> t;
            v = std::strtod(t.c_str(), nullptr);
        }
        std::vector<int> asc(records), desc(records);
        in >> word;
        for (int& i : asc) in >> i;
        in >> word;
        for (int& i : desc) in >> i;
        ++cases;
        for (int ascending : {1, 0}) {
            RecordingStore store;
            // A second series of the same records is sorted the same way, on its own.
            for (int copy = 0; copy < 2; ++copy) {
                ASSERT_TRUE(store.CheckNewSeriesShape(n, store.pendingSeries));
                store.allValues.insert(store.allValues.end(), values.begin(), values.end());
                ASSERT_EQ(store.AddNewSeries(records, std::vector<std::string>(n, "x")), 1);
            }
            SortSeriesRecords(store, n + column, ascending);
            EXPECT_EQ(CheckStoreInvariants(store), "");
            const std::vector<int>& expected = ascending ? asc : desc;
            for (int s = 0; s < 2; ++s) {
                EXPECT_EQ(StoredColumn(store, s, n - 1), std::vector<double>(expected.begin(), expected.end()))
                    << "case " << cases << " series " << s << (ascending ? " ascending" : " descending");
            }
        }
    }
    EXPECT_EQ(cases, 5);
}

TEST(RecordOperations, SortingOneSeriesOnlyLeavesTheOthers) {
    RecordingStore store;
    Fill(store, 2, {4, 4});
    store.modifyCurrentSeriesOnly = 1;
    store.modifySeriesIndex = 1;
    SortSeriesRecords(store, 0, 0);
    EXPECT_EQ(StoredColumn(store, 0, 0), (std::vector<double>{0, 10, 20, 30}));
    EXPECT_EQ(StoredColumn(store, 1, 0), (std::vector<double>{1e6 + 30, 1e6 + 20, 1e6 + 10, 1e6}));
}

TEST(RecordOperations, DeletingByConditionCompactsEverySeries) {
    struct Case {
        int mode;
        double a, b;
        int currentOnly;
        std::vector<int> recordsAfter;  // per series; absent series were emptied
    };
    // Column 1 holds 10*r + 1 (+1e6 in series 1); the modes themselves are ConditionTest's.
    const Case cases[] = {
        {0, 25, 0, 0, {3, 0}},         // > 25: series 1 loses every record and goes
        {2, 11, 11, 0, {6, 6}},        // a = b: nothing
        {0, 25, 0, 1, {3, 6}},         // series 0 only
    };
    for (const Case& c : cases) {
        RecordingStore store;
        Fill(store, 3, {6, 6});
        store.modifyCurrentSeriesOnly = c.currentOnly;
        store.modifySeriesIndex = 0;
        ASSERT_EQ(DeleteRecordsByCondition(store, 0, 4, c.mode, c.a, c.b), 1) << c.mode;
        EXPECT_EQ(CheckStoreInvariants(store), "") << c.mode;
        std::vector<int> after = RecordCounts(store);
        while (after.size() < c.recordsAfter.size() && c.recordsAfter[after.size()] == 0) after.push_back(0);
        EXPECT_EQ(after, c.recordsAfter) << c.mode << " " << c.a;
        for (std::size_t s = 0; s < (c.currentOnly ? 1 : store.series.size()); ++s)
            for (double v : StoredColumn(store, static_cast<int>(s), 1)) EXPECT_FALSE(ConditionTest(v, c.mode, c.a, c.b));
    }
}

TEST(RecordOperations, DeletingEveryRecordIsRefused) {
    RecordingStore store;
    Fill(store, 2, {4, 3});
    const std::vector<double> before = store.allValues;
    EXPECT_EQ(DeleteRecordsByCondition(store, 0, 0, 0, -1, 0), 0);
    EXPECT_EQ(store.messages, std::vector<std::string>{"No records are fit to set criterias.\nChange conditions and try again."});
    EXPECT_EQ(store.allValues, before);
    // No current series: nothing at all.
    EXPECT_EQ(DeleteRecordsByCondition(store, 2, 0, 0, 5, 0), 0);
    EXPECT_EQ(store.messages.size(), 1u);
}

TEST(RecordOperations, ScalingMapsTheRangeOfOneSeries) {
    RecordingStore store;
    Fill(store, 2, {5, 5});
    ASSERT_EQ(ScaleParameterToRange(store, 3, -1, 1), 1);
    EXPECT_EQ(StoredColumn(store, 1, 1), (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
    EXPECT_EQ(StoredColumn(store, 0, 1), (std::vector<double>{1, 11, 21, 31, 41}));
    for (double& v : store.allValues) v = 7;
    EXPECT_EQ(ScaleParameterToRange(store, 1, 0, 1), 0);  // no range: no division by zero
    EXPECT_EQ(StoredColumn(store, 0, 1)[0], 7);
}

TEST(RecordOperations, SplittingGivesConsecutiveSeries) {
    RecordingStore store;
    Fill(store, 3, {22});
    ASSERT_EQ(SplitSeries(store, 1, 4), 1);
    EXPECT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(RecordCounts(store), (std::vector<int>{5, 5, 5, 7}));
    EXPECT_EQ(store.seriesNames, (std::vector<std::string>{"Series #1_1", "Series #1_2", "Series #1_3", "Series #1_4"}));
    EXPECT_EQ(StoredColumn(store, 3, 0).front(), 150);
    // Copied value parameters take the next palette colours and shapes, from 0.
    EXPECT_EQ(store.parameters[8].markShape, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(store.parameters[8].color), store.PaletteColor(1));

    Fill(store, 3, {19});
    EXPECT_EQ(SplitSeries(store, 1, 4), 0);
    EXPECT_EQ(store.messages.back(), "Too small number of records in new series");
    EXPECT_EQ(store.series.size(), 1u);
    EXPECT_EQ(SplitSeries(store, 3, 2), 0);  // no such parameter
}

TEST(RecordOperations, UnitingKeepsTheValuesInOrder) {
    RecordingStore store;
    Fill(store, 2, {3, 5});
    store.parameterTexts = {"a", "b", "c", "d"};
    ASSERT_EQ(UniteAllSeries(store), 1);
    EXPECT_EQ(CheckStoreInvariants(store), "");
    EXPECT_EQ(store.seriesNames, std::vector<std::string>{"Series #1"});
    EXPECT_EQ(store.parameterTexts, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(StoredColumn(store, 0, 0)[3], 1e6);
    EXPECT_EQ(UniteAllSeries(store), 0);
}

TEST(RecordOperations, MarkCommandsOverValueParameters) {
    RecordingStore store;
    Fill(store, 3, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    store.activeParameter = 1;
    store.MakeActiveParameterValue();  // 20 value parameters
    DistinctColorMarks(store);
    std::vector<int> shapes;
    for (const Initial& x : store.parameters)
        if (x.role == kRoleValue) shapes.push_back(x.markShape);
    ASSERT_EQ(shapes.size(), 20u);
    for (int n = 0; n < 20; ++n) EXPECT_EQ(shapes[n], n % 14);
    EXPECT_EQ(static_cast<std::uint32_t>(store.parameters[5].color), store.PaletteColor(3));
    EXPECT_EQ(store.parameters[0].markShape, 0);  // arguments keep theirs

    store.selectedParameter = 0;  // an argument
    EXPECT_EQ(MarksSameSize(store), 0);
    store.selectedParameter = 2;
    store.parameters[2].markSize = 9;
    EXPECT_EQ(MarksSameSize(store), 1);
    EXPECT_EQ(store.parameters[28].markSize, 9);
    SetValueMarkShape(store, 5);
    EXPECT_EQ(store.parameters[28].markShape, 5);
}

TEST(RecordOperations, CopyingNamesOfAllSeries) {
    RecordingStore store;
    Fill(store, 2, {1, 1});
    store.parameterNames = {"x", "y", "u", "v"};
    // The names of the first series go to every series, with the series number when asked.
    ASSERT_EQ(CopyNamesOfAllSeries(store, 1), 1);
    ASSERT_EQ(CopyNamesOfAllSeries(store, 0), 1);
    EXPECT_EQ(store.parameterNames, (std::vector<std::string>{"x_1", "y_1", "x_1", "y_1"}));
    store.OnDeleteAll();
    EXPECT_EQ(CopyNamesOfAllSeries(store, 0), 0);
}

TEST(RecordOperations, SingleValueColumnHoldsInEverySeries) {
    RecordingStore store;
    Fill(store, 5, {2, 2, 2});
    ASSERT_EQ(SetSingleValueColumn(store, 7, 1), 1);  // column 2
    EXPECT_EQ(CheckStoreInvariants(store), "");
    for (std::size_t i = 0; i < store.parameters.size(); ++i)
        EXPECT_EQ(store.parameters[i].role, i % 5 == 2 ? kRoleValue : kRoleArgument) << i;
    EXPECT_EQ(store.series[2].nArguments, 4);
    Fill(store, 3, {2});
    EXPECT_EQ(SetSingleValueColumn(store, 0, 1), 0);  // fewer than 4 parameters

    Fill(store, 3, {2, 2});
    ASSERT_EQ(PrepareAllParametersAsValues(store, 1), 1);
    EXPECT_EQ(store.series[1].nValues, 3);
    AssignPaletteColors(store, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(store.parameters[4].color), store.PaletteColor(4));
}

TEST(RecordOperations, ValueAtAndFindSeries) {
    RecordingStore store;
    Fill(store, 2, {2, 3});
    EXPECT_EQ(ValueAt(store, 1, 2, 2), TestValue(1, 0, 1));
    EXPECT_THROW(ValueAt(store, 0, 5, 2), std::out_of_range);
    int s = -7;
    EXPECT_EQ(FindSeriesOfParameter(store, 3, s), 1);
    EXPECT_EQ(s, 1);
    s = -7;
    EXPECT_EQ(FindSeriesOfParameter(store, 4, s), -1);
    EXPECT_EQ(s, -7);
}

}  // namespace
