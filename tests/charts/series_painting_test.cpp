// The series painters: the one-argument view over generated data (its ranges and its marks
// found by pixel) and the chart of measured against model values.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/series_painting.h"
#include "charts/xyview_page.h"
#include "charts_test_support.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "formula/calculator.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using charts_test::Context;
using charts_test::Frame;
using charts_test::Scoped;

constexpr platform::ColorRef kRed = platform::Rgb(255, 0, 0);

// One series per entry, each a list of records; the last column is the value.
void Load(const std::vector<charts_test::Records>& series) { charts_test::LoadSeries(series, {kRed}); }

// The program-wide state these painters use, emptied first as the painting dispatcher leaves it.
class SeriesPaintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        theData.OnDeleteAll();
        theResultDocument.Clear();
        coefficientsText.clear();
    }
    void TearDown() override { theData.OnDeleteAll(); }
    Scoped<int> autozoom_{theXyview.autozoom, 1};
    Scoped<unsigned> step_{theXyview.stepPercent, 5};
    platform::Bitmap image{400, 300};
    platform::Canvas dc{image};
};

TEST_F(SeriesPaintingTest, FunctionMarksSitAtTheirDataPoints) {
    const charts_test::Records points = {{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}};
    Load({points});
    Frame(1);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    charts_test::ExpectPlotRanges(-0.2, 4.2, -0.8, 16.8);
    for (const auto& p : points) {
        SCOPED_TRACE(p[0]);
        // Beside the centre: the grid lines of the axes run through round values.
        EXPECT_EQ(dc.GetPixel(WorldToPixelX(p[0]) + 2, WorldToPixelY(p[1]) + 2), kRed);
    }
    // Between the marks the chart area shows.
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(0.75), WorldToPixelY(13)), theChart.chartAreaColor);
    // The title and the series line in both result stores.
    ASSERT_GE(theResultDocument.texts.size(), 2u);
    EXPECT_EQ(theResultDocument.texts[0], "Function of one argument.");
    EXPECT_EQ(theResultDocument.texts[1], "Series #1 (5 records)");
    ASSERT_GE(theResultTables.paragraphs.size(), 2u);
    EXPECT_EQ(theResultTables.paragraphs[1], "Series #1 (5 records)\n");
}

TEST_F(SeriesPaintingTest, FunctionAutozoomRangesOverGeneratedData) {
    charts_test::Records line, flat, negative;
    for (int i = 0; i <= 20; ++i) {
        line.push_back({i * 0.5, 3 * i - 10.0});
        flat.push_back({3, 7});
        negative.push_back({-10 + i * 0.4, -5 + i * 0.2});
    }
    const struct {
        const char* name;
        std::vector<charts_test::Records> series;
        unsigned margin;
        double xMin, xMax, yMin, yMax;
    } cases[] = {
        {"line", {line}, 5, -0.5, 10.5, -13, 53},
        {"no margin", {line}, 0, 0, 10, -10, 50},
        {"equal values", {flat}, 5, 2.5, 3.5, 6.5, 7.5},
        {"one record", {{{2, 3}}}, 5, 0, 1, 0, 1},
        {"short series left out", {{{100, 100}, {101, 101}}, line}, 0, 0, 10, -10, 50},
        {"two series", {line, negative}, 0, -10, 10, -10, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.series);
        theXyview.stepPercent = c.margin;
        Frame(1);
        ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
        charts_test::ExpectPlotRanges(c.xMin, c.xMax, c.yMin, c.yMax);
        EXPECT_EQ(plotLeft, 40);  // the pixel rectangle comes back
        EXPECT_EQ(plotBottom, 280);
    }
    // Autozoom off: the View page's ranges exactly.
    Load({line});
    theXyview.autozoom = 0;
    theXyview.xMin = 1, theXyview.xMax = 2, theXyview.yMin = -3, theXyview.yMax = 4;
    Frame(0);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_EQ(std::tie(plotXMin, plotXMax, plotYMin, plotYMax), std::make_tuple(1.0, 2.0, -3.0, 4.0));
}

TEST_F(SeriesPaintingTest, MeasuredAgainstModelOnACommonRange) {
    const Scoped<int> plane(theMultistat.plane, 0), best(theMultistat.bestPolynome, 1);
    const Scoped<SeveralArgumentModel> before(TheSeveralArgumentModel());
    const Scoped<int> valid(theCalculator.argumentsValid, 1), count(theCalculator.typedCount, 2);
    const Scoped<std::vector<double>> typed(theCalculator.typedValues, {1.5, 2});
    const Scoped<std::string> shown(theCalculator.valuesText, "");
    SeveralArgumentModel& model = TheSeveralArgumentModel();
    charts_test::Records records;
    for (int i = 0; i <= 10; ++i) records.push_back({i * 1.0, i * 2.0, i * 1.0});
    Load({records});
    model.values = [](std::vector<double>& measured, std::vector<double>& modelled) {
        measured.clear();
        modelled.clear();
        for (int i = 0; i <= 10; ++i) measured.push_back(i), modelled.push_back(1 + 0.8 * i);
        return 1;
    };
    model.evaluate = [](const double* a) { return a[0] + a[1]; };
    Frame(1);
    std::vector<unsigned> painted;
    SeriesPaintContext c = Context();
    c.paintedParameters = &painted;
    ASSERT_EQ(PaintDataSeries(dc, c), 1);
    charts_test::ExpectViewRanges(-0.5, 10.5, -0.5, 10.5);
    EXPECT_EQ(painted, (std::vector<unsigned>{2}));
    EXPECT_EQ(theCalculator.valuesText, "c2 = 3.5; ");
    // A mark at each (measured, model) point and the y = x line from corner to corner.
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(5) + 2, WorldToPixelY(5) + 2), kRed);
    int black = 0;
    for (int i = 1; i < 100; ++i) {
        const double t = -0.5 + 11.0 * i / 100;
        const int px = WorldToPixelX(t), py = WorldToPixelY(t);
        black += charts_test::CountColour(dc, platform::kBlack, {px, py - 1, px + 1, py + 2});
    }
    EXPECT_GT(black, 20);

    // Without the scheme, or with another shape, nothing is drawn.
    theMultistat.bestPolynome = 0;
    EXPECT_EQ(PaintDataSeries(dc, c), 0);
}

TEST(DataSeries, AutomaticMarkSizeAndDegenerateRanges) {
    for (auto [records, size] : {std::pair{148, 2}, {8, 10}, {13, 10}, {23, 6}, {1000000, 2}})
        EXPECT_EQ(AutomaticMarkSize(records), size) << records;
    double lo = 4, hi = 4;
    WidenDegenerateRange(lo, hi);
    EXPECT_EQ(std::tie(lo, hi), std::make_tuple(3.5, 4.5));
    lo = 1e60, hi = -1e60;
    WidenDegenerateRange(lo, hi);
    EXPECT_EQ(std::tie(lo, hi), std::make_tuple(0.0, 1.0));
    lo = -2e9, hi = -2e9;
    WidenDegenerateRange(lo, hi);
    EXPECT_LT(lo, hi);
    EXPECT_NE(static_cast<float>(lo), static_cast<float>(hi));
}

}  // namespace
