// The one-variable distribution view: bin counts against numpy, the bin grid's mends, its
// result texts, and the painted bars checked by pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <cmath>
#include <string>
#include <vector>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"
#include "statistics/distrimution_page.h"
#include "statistics/one_variable_view.h"
#include "tests/statistics/oracle_table.h"
#include "tests/statistics/series_support.h"

namespace {

constexpr platform::ColorRef kBarColor = platform::Rgb(200, 0, 0);

TEST(HistogramBins, AgainstNumpyBincountOfFloorIndexes) {
    const auto rows = ReadOracleTable("histogram_bins.csv");
    ASSERT_EQ(rows.size(), 5u);
    for (const auto& row : rows) {
        const double origin = row[0], width = row[1];
        const int bins = static_cast<int>(row[2]);
        const size_t n = static_cast<size_t>(row[3]);
        const std::vector<double> counts(row.begin() + 4, row.begin() + 4 + bins);
        const std::vector<double> cumulative(row.begin() + 4 + bins, row.begin() + 4 + 2 * bins);
        const std::vector<double> values(row.begin() + 4 + 2 * bins, row.begin() + 4 + 2 * bins + static_cast<long>(n));
        distributionSummary s;
        std::vector<double> out;
        s.FromBinnedValues(values, out, origin, bins, width);
        EXPECT_EQ(out, counts) << origin;
        s.FromCumulativeValues(values, out, origin, bins, width);
        EXPECT_EQ(out, cumulative) << origin;
    }
}

// One series of the given parameters; the last is the value, the others inactive.
void LoadValues(const Records& records, const std::vector<std::string>& names = {"v"}) {
    theData.OnDeleteAll();
    AppendSeries(records, names);
    const int n = static_cast<int>(names.size());
    for (int p = 0; p + 1 < n; ++p) {
        theData.activeParameter = p;
        theData.MakeActiveParameterInactive();
    }
    theData.parameters[static_cast<size_t>(n - 1)].color = static_cast<std::int32_t>(kBarColor);
}

class OneVariableViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        theXyview.autozoom = 0;
        theXyview.colorMapMode = 0;
        theXyview.stepPercent = 5;
        theXyview.xMin = 0, theXyview.xMax = 4, theXyview.yMin = 0, theXyview.yMax = 5;
        theLegend.showFormulas = 0;
        theChart.gridWidthEdit = 0;
        theResult.autoDigits = 1;
        theResult.digits = 2;
        theDistrimution.conditions.clear();
        theDistrimution.autoIntervals = 0;
        theDistrimution.binCount = 4;
        theDistrimution.showStudent = theDistrimution.showPoisson = theDistrimution.showErlang = 0;
        theDistrimution.percentage = theDistrimution.partOfWhole = theDistrimution.cumulative = 0;
        theDistrimution.showMedian = theDistrimution.minAbsDeviation = theDistrimution.maxConcentration = 0;
        theResultTables.Clear();
    }
    void TearDown() override { theData.OnDeleteAll(); }

    int Paint() {
        bitmap = platform::Bitmap(600, 400);
        plotLeft = 50, plotRight = 550, plotTop = 20, plotBottom = 370;
        ResetPlotRanges();
        platform::Canvas dc(bitmap);
        return PaintDistributionOfOneVariable(dc, state);
    }
    platform::ColorRef At(double x, double y) {
        platform::Canvas dc(bitmap);
        return dc.GetPixel(WorldToPixelX(x), WorldToPixelY(y));
    }
    // The cells of a column of the last table of the report (the per-bin table), below its header.
    std::vector<std::string> LastTableColumn(int column) {
        const size_t t = theResultTables.tables.size() - 1;
        std::vector<std::string> out;
        for (int r = 1; r < theResultTables.tables[t].rows; ++r)
            out.push_back(*theResultTables.CellOf(t, r, column));
        return out;
    }

    platform::ScriptedDialogs dialogs;
    OneVariableViewState state{.seriesCount = 1, .values = 1};
    platform::Bitmap bitmap{1, 1};
};

TEST_F(OneVariableViewTest, StandsAsideForOtherShapes) {
    LoadValues({{1}, {2}, {3}});
    theResultDocument.Clear();
    theResultDocument.AddText("kept", 0, 100);
    state.arguments = 1;
    EXPECT_EQ(Paint(), 0);
    EXPECT_EQ(theResultDocument.texts, std::vector<std::string>{"kept"});
    state.arguments = 0;
    EXPECT_EQ(Paint(), 1);
    EXPECT_EQ(theResultDocument.texts[0], "Distribution of one variable.");
}

TEST_F(OneVariableViewTest, BarsTableAndLines) {
    LoadValues({{0.5}, {1.5}, {1.5}, {2.5}, {2.5}, {2.5}, {3.5}});
    theDistrimution.showMedian = 1;
    ASSERT_EQ(Paint(), 1);
    EXPECT_EQ(std::tuple(theDistrimution.binOrigin, theDistrimution.binWidth), std::tuple(0.0, 1.0));
    EXPECT_EQ(LastTableColumn(2), (std::vector<std::string>{"1", "2", "3", "1"}));
    EXPECT_TRUE(DocumentHas("Median = 2.5"));
    // The bar of bin 2 is 3 high: its inside carries the colour, above it the background.
    EXPECT_EQ((std::vector<platform::ColorRef>{At(2.3, 2.9), At(2.3, 3.3)}),
              (std::vector<platform::ColorRef>{kBarColor, platform::kWhite}));
}

TEST_F(OneVariableViewTest, GridMends) {
    // A constant variable with automatic zoom and intervals: a valid grid around the value.
    LoadValues({{5}, {5}, {5}, {5}});
    theXyview.autozoom = 1;
    theDistrimution.autoIntervals = 1;
    ASSERT_EQ(Paint(), 1);
    EXPECT_GT(theDistrimution.binWidth, 0);
    EXPECT_LE(theDistrimution.binOrigin, 5);
    EXPECT_GT(theDistrimution.binOrigin + theDistrimution.binCount * theDistrimution.binWidth, 5);

    // The origin is floor-aligned: values just below 0 get a bin of their own, and every value
    // is counted exactly once.
    LoadValues({{-0.5}, {-0.25}, {0.5}, {1.5}});
    theXyview.autozoom = 0;
    theXyview.xMin = -0.5, theXyview.xMax = 2;
    ASSERT_EQ(Paint(), 1);
    const double w = theDistrimution.binWidth;
    EXPECT_DOUBLE_EQ(theDistrimution.binOrigin, w * std::floor(-0.5 / w));
    int counted = 0;
    for (const std::string& c : LastTableColumn(2)) counted += std::stoi(c);
    EXPECT_EQ(counted, 4);
    EXPECT_EQ(LastTableColumn(2)[0], "2");

    // A typed count still covers the range up to xMax.
    theDistrimution.autoIntervals = 0;
    theDistrimution.binCount = 3;
    ASSERT_EQ(Paint(), 1);
    EXPECT_GE(theDistrimution.binOrigin + 3 * theDistrimution.binWidth, 2);

    theDistrimution.binCount = 1000000;  // held to 10000
    ASSERT_EQ(Paint(), 1);
    EXPECT_EQ(theDistrimution.binCount, 10000);
}

TEST_F(OneVariableViewTest, ConditionsPartOfWholeAndCurves) {
    // Parameter 0 selects; the value is parameter 1.
    std::vector<std::vector<double>> records;
    for (int k = 0; k < 40; ++k) records.push_back({static_cast<double>(k % 2), 0.5 + k % 4});
    LoadValues(records, {"sel", "v"});
    theDistrimution.conditions = {{0, kConditionAnd, 1, 1}};
    theDistrimution.partOfWhole = 1;
    theXyview.yMax = 120;
    ASSERT_EQ(Paint(), 1);
    // Bins 1 and 3 hold only selected records (100 %), bins 0 and 2 none: the bars are the
    // per-bin percentages, the level the overall share in percent (50).
    EXPECT_EQ(LastTableColumn(4), (std::vector<std::string>{"0", "100", "0", "100"}));
    EXPECT_EQ(std::tuple(At(1.3, 90), At(0.3, 30)), std::tuple(kBarColor, platform::kWhite));
    const auto& texts = theResultDocument.texts;
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.rfind("Probability that conditional selection is not random = ", 0) == 0;
    }));

    // Two conditional values: nothing is drawn and every count is 0 (no stale bins).
    theDistrimution.partOfWhole = 0;
    theDistrimution.conditions = {{1, kConditionAnd, 0.5, 0.5}, {0, kConditionAnd, 0, 0}, {1, kConditionOr, 100, 100}};
    records.resize(5);
    LoadValues(records, {"sel", "v"});
    ASSERT_EQ(Paint(), 1);
    EXPECT_EQ(LastTableColumn(2), (std::vector<std::string>{"0", "0", "0", "0"}));
    EXPECT_EQ(At(0.3, 30), platform::kWhite);

    // The agreement printed is the kernel's for the conditional values.
    theDistrimution.conditions.clear();
    theDistrimution.showStudent = 1;
    LoadValues({{1}, {2}, {2}, {3}, {3}, {3}, {2}, {1.5}});
    ASSERT_EQ(Paint(), 1);
    const std::vector<double> v{1, 2, 2, 3, 3, 3, 2, 1.5};
    distributionSummary s;
    std::vector<double> bins;
    s.FromBinnedValues(v, bins, 0, 4, 1);
    EXPECT_DOUBLE_EQ(distributionCorrelations[0], DistributionCorrelation(v, s.mean, s.spread, s.n, 0));

    // The legend table: a header row and one row per variable, also as the result page's text.
    int lines = -1;
    state.legendBlockLines = &lines;
    theLegend.showFormulas = 1;
    ASSERT_EQ(Paint(), 1);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(theResult.formulaText.rfind("Name\tAverage\tSt.Dev.\t", 0), 0u);
    EXPECT_EQ(std::count(theResult.formulaText.begin(), theResult.formulaText.end(), '\n'), 2);
}

}  // namespace
