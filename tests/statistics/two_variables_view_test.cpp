// The distribution2 page through its widgets, and the two-variable views painted into a
// bitmap: applicability, the result lines, the densest cell and the flat map's colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"
#include "statistics/distribution2_page.h"
#include "statistics/two_variables_view.h"
#include "tests/statistics/page_notify.h"
#include "tests/statistics/series_support.h"

namespace {

using D = distribution2;

TEST(Distribution2Page, SpinsAndAutoIntervals) {
    platform::ScriptedDialogs dialogs;
    distribution2 page;
    ASSERT_TRUE(page.Create(nullptr));
    // Auto intervals on: the counts are closed.
    EXPECT_FALSE(page.Control(D::kBothSpin).IsEnabled());
    page.Control(D::kAutoIntervalsCheck).Click();
    EXPECT_TRUE(page.Control(D::kBothSpin).IsEnabled());

    page.firstIntervals = 3;
    page.changed = 0;
    Spin(page, D::kFirstSpin, +1);  // the down arrow at 3 keeps 3 and still reports a change
    EXPECT_EQ(std::tuple(page.firstIntervals, page.changed), std::tuple(3, 1));
    page.firstIntervals = 12;
    page.secondIntervals = 5;
    Spin(page, D::kBothSpin, -1);
    EXPECT_EQ(std::tuple(page.firstIntervals, page.secondIntervals, page.Control(D::kFirstEdit).Text()),
              std::tuple(6, 6, "6"));
    page.Control(D::kFirstEdit).SetText("25");
    page.Control(D::kMaximumDensityCheck).Click();
    EXPECT_EQ(std::tuple(page.firstIntervals, page.maximumDensity), std::tuple(25, 1));
}

// Series of (x, y) records, both parameters values.
void LoadPairs(const Records& records) {
    theData.OnDeleteAll();
    AppendSeries(records, {"x", "y"});
    theData.activeParameter = 0;
    theData.MakeActiveParameterValue();
}

class TwoVariablesViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        theLegend.showFormulas = 0;
        theXyview.autozoom = 1;
        theXyview.colorMapMode = 1;
        theXyview.stepPercent = 0;
        theXyview.colorSteps = 10;
        theXyview.lowColor = platform::Rgb(0, 0, 255);
        theXyview.highColor = platform::Rgb(255, 0, 0);
        theDistribution2.autoIntervals = 0;
        theDistribution2.firstIntervals = theDistribution2.secondIntervals = 5;
        theDistribution2.maximumDensity = 1;
        theD3view.sceneRebuildRequest = 1;
        theResultTables.Clear();
        state.seriesCount = 1;
        state.values = 2;
        state.mapSelection = 0;
    }
    void TearDown() override { theData.OnDeleteAll(); }
    int Paint(bool threeD) {
        bitmap = platform::Bitmap(500, 400);
        plotLeft = 40, plotRight = 400, plotTop = 10, plotBottom = 360;
        state.view3D = threeD ? 1 : 0;
        platform::Canvas dc(bitmap);
        return threeD ? PaintDistributionOfTwoVariables(dc, state) : PaintDistributionOfTwoVariablesFlat(dc, state);
    }
    platform::ScriptedDialogs dialogs;
    TwoVariablesViewState state;
    platform::Bitmap bitmap{1, 1};
};

// Records on a 0..4 square, most of them at (1, 3).
Records Cluster() {
    Records r{{0, 0}, {4, 4}, {0, 4}, {4, 0}};
    for (int k = 0; k < 20; ++k) r.push_back({1, 3});
    return r;
}

TEST_F(TwoVariablesViewTest, ApplicabilityAndLines) {
    LoadPairs(Cluster());
    theResultDocument.Clear();
    theResultDocument.AddText("kept", 0, 100);
    state.values = 3;
    EXPECT_EQ(Paint(true), 0);
    theXyview.colorMapMode = 0;
    state.values = 2;
    EXPECT_EQ(Paint(false), 0);
    EXPECT_EQ(theResultDocument.texts, std::vector<std::string>{"kept"});
    EXPECT_EQ(Paint(true), 1);
    EXPECT_EQ(theResultDocument.texts[0], "Distribution of two variables.");
    for (const char* text : {"Maximum density at ", " = 1 and ", " = 3"}) EXPECT_TRUE(DocumentHas(text)) << text;
    EXPECT_EQ(std::tuple(twoVariableGrid.largest, theD3view.sceneRebuildRequest), std::tuple(20, 0));
}

TEST_F(TwoVariablesViewTest, FlatMapColoursTheDenseNode) {
    LoadPairs(Cluster());
    ASSERT_EQ(Paint(false), 1);
    // Nodes at both ends of 0..4 in 5 steps: spacing 1, the dense node (1, 3) holds 20.
    EXPECT_DOUBLE_EQ(twoVariableGrid.widthX, 1);
    EXPECT_EQ(theXyview.zMax, 20);
    ComputePlotScales();
    platform::Canvas dc(bitmap);
    const auto at = [&](double x, double y) { return dc.GetPixel(WorldToPixelX(x), WorldToPixelY(y)); };
    // The map is drawn at node centres moved by half a cell, as the plot range is.
    const platform::ColorRef dense = at(1.5 + 0.02, 3.5 + 0.02), empty = at(3.7, 1.3);
    EXPECT_GT(platform::RedOf(dense), 200);
    EXPECT_LT(platform::RedOf(empty), 60);
    EXPECT_GT(platform::BlueOf(empty), 200);
}

TEST_F(TwoVariablesViewTest, ConstantVariableAndNoSeries) {
    LoadPairs({{2, 1}, {2, 2}, {2, 3}, {2, 3}});
    for (bool threeD : {true, false}) {
        EXPECT_EQ(Paint(threeD), 1);
        EXPECT_GT(twoVariableGrid.widthX, 0) << threeD;
    }
    // Two records only: nothing qualifies; the zoom keeps a usable value.
    LoadPairs({{2, 1}, {3, 2}});
    theD3view.sceneRebuildRequest = 1;
    EXPECT_EQ(Paint(true), 1);
    EXPECT_TRUE(std::isfinite(theD3view.theScene3d.zoom));
    EXPECT_FALSE(DocumentHas("Maximum density at "));
}

}  // namespace
