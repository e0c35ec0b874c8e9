// "Line of one value.": the record step, the x range it gives, the marks at their pixels, the
// shapes it declines, and, for both single-argument views, every scheme slot called in its
// fixed order for every value parameter.
#include <cstdlib>
#include <string>
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
#include "fitting/xystatistic_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using charts_test::Context;
using charts_test::Frame;
using charts_test::Scoped;

constexpr platform::ColorRef kBlue = platform::Rgb(0, 0, 255);

// One series of the given columns (records by column); the first `arguments` columns are
// arguments, the rest values.
void LoadColumns(const std::vector<std::vector<double>>& columns, int arguments) {
    charts_test::Records records(columns[0].size());
    for (std::size_t r = 0; r < records.size(); ++r)
        for (const auto& c : columns) records[r].push_back(c[r]);
    charts_test::LoadSeries({records}, {kBlue}, arguments);
}

std::vector<double> Ramp(int n, double a = 1, double b = 0) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(a * i + b);
    return v;
}

class SingleArgumentViewTest : public ::testing::Test {
protected:
    void TearDown() override {
        theData.OnDeleteAll();
        theResultTables.Clear();
        theResultDocument.Clear();
    }
    Scoped<int> autozoom_{theXyview.autozoom, 1}, histogram_{theXyview.histogram, 0}, show3D_{theXyview.show3D, 0};
    Scoped<unsigned> step_{theXyview.stepPercent, 0};
    Scoped<int> peaks_{theXystatistic.peaksRevealing, 0};
    Scoped<OneArgumentSchemeCalls> schemes_{TheOneArgumentSchemes()};
    platform::Bitmap image{400, 300};
    platform::Canvas dc{image};
};

TEST(RecordStepTest, DecimalStepByTheLargestSeries) {
    const struct { int records; double step; } cases[] = {{0, 1},     {3, 1},       {10, 1},      {11, 0.1},
                                                            {99, 0.1}, {100, 0.01}, {999, 0.01}, {1000, 0.001}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(RecordStep(c.records), c.step) << c.records;
}

TEST_F(SingleArgumentViewTest, RecordsSpreadOverTheirStepAndMarksSitThere) {
    LoadColumns({Ramp(11, 2, 1)}, 0);  // 1, 3, ... 21
    Frame(1);
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    charts_test::ExpectPlotRanges(0, 1.1, 1, 21);
    // Marks strictly inside the range: record 5 at x 0.5, y 11; the first, at the very edge of
    // the y range, gets none.
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(0.5) + 2, WorldToPixelY(11) + 2), kBlue);
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(0.55) + 2, WorldToPixelY(12) + 2), theChart.chartAreaColor);
    ASSERT_GE(theResultDocument.texts.size(), 1u);
    EXPECT_EQ(theResultDocument.texts[0], "Line of one value.");
}

TEST_F(SingleArgumentViewTest, EachViewDeclinesShapesThatAreNotItsOwn) {
    using Painter = int (*)(platform::Canvas&, const SeriesPaintContext&);
    const struct {
        const char* name;
        Painter paint;
        std::vector<std::vector<double>> columns;
        int arguments, show3D, painted;
    } cases[] = {
        {"one value: an argument", PaintOneValueView, {Ramp(5), Ramp(5)}, 1, 0, 0},
        {"one value: two values", PaintOneValueView, {Ramp(5), Ramp(5, 2)}, 0, 0, 1},
        // Two values asked for as a value line are not this view's.
        {"one value: value line", PaintOneValueView, {Ramp(5), Ramp(5, 2)}, 0, 1, 0},
        {"one value: no data", PaintOneValueView, {}, 0, 0, 0},
        {"function: no argument", PaintFunctionOfOneArgument, {Ramp(3)}, 0, 0, 0},
        {"function: two arguments", PaintFunctionOfOneArgument, {Ramp(3), Ramp(3), Ramp(3)}, 2, 0, 0},
        {"function: no data", PaintFunctionOfOneArgument, {}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        theData.OnDeleteAll();
        if (!c.columns.empty()) LoadColumns(c.columns, c.arguments);
        Frame(1);
        theXyview.show3D = c.show3D;
        EXPECT_EQ(c.paint(dc, Context()), c.painted) << c.name;
    }
}

TEST_F(SingleArgumentViewTest, DegenerateRangesBecomeRangesTheChartCanShow) {
    const struct {
        const char* name;
        int autozoom;
        std::vector<double> values;
        double storedMin, storedMax;
    } cases[] = {
        {"all values equal", 1, {7, 7, 7, 7}, 0, 0},
        {"too few records to zoom on", 1, {1, 2}, 0, 0},
        {"View page never zoomed", 0, {1, 2, 3, 4}, 0, 0},
        {"View page of no width", 0, {1, 2, 3, 4}, 5, 5},
        {"View page's range turned round", 0, {1, 2, 3, 4}, 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        theXyview.autozoom = c.autozoom;
        theXyview.xMin = theXyview.yMin = c.storedMin;
        theXyview.xMax = theXyview.yMax = c.storedMax;
        LoadColumns({c.values}, 0);
        Frame(c.autozoom);
        ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
        EXPECT_LT(plotXMin, plotXMax);
        EXPECT_LT(plotYMin, plotYMax);
        EXPECT_LT(plotYMax - plotYMin, 1e6);
        // Pixels stay on the chart's scale, not at the limits of an int.
        EXPECT_LT(std::abs(WorldToPixelY(c.values[0])), 100000);
    }
}

TEST_F(SingleArgumentViewTest, EverySchemeSlotInItsFixedOrderForEachValue) {
    OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    calls = OneArgumentSchemeCalls{};
    std::vector<std::string> log;
    std::vector<double> reportedX;
    auto range = [&log](std::string name) {
        return [&log, name](const std::vector<double>&, const std::vector<double>&) { log.push_back(name); };
    };
    auto report = [&log, &reportedX](std::string name) {
        return [&log, &reportedX, name](platform::Canvas&, const std::vector<double>& x, const std::vector<double>&,
                                        int a, int v) {
            reportedX = x;
            log.push_back(name + std::to_string(a) + std::to_string(v));
        };
    };
    calls.customTransformedValues = [&log](const std::vector<double>& y, const std::vector<double>&,
                                           std::vector<double>& out) {
        log.push_back("T");
        out = y;
    };
    using Calls = OneArgumentSchemeCalls;
    const std::pair<Calls::RangeCall Calls::*, const char*> ranges[] = {
        {&Calls::constructorFitYRange, "r1"}, {&Calls::customFitYRange, "r2"}, {&Calls::collectionFitYRange, "r3"},
        {&Calls::userFormulaYRange, "r4"},    {&Calls::analysePeaks, "r5"}};
    for (auto [slot, name] : ranges) calls.*slot = range(name);
    const std::pair<Calls::ReportCall Calls::*, const char*> reports[] = {
        {&Calls::constructorFitReport, "a"}, {&Calls::customFormulaFitReport, "b"}, {&Calls::fitResultReport, "c"},
        {&Calls::userFormulaReport, "d"},    {&Calls::peaksReport, "e"},            {&Calls::runPolynomFitting, "g"},
        {&Calls::runHarmonicAnalysis, "h"},  {&Calls::runBestFormulaSearch, "i"}};
    for (auto [slot, name] : reports) calls.*slot = report(name);
    calls.reportCorrelationOfTwoParameters = [&log](const std::vector<double>&, const std::vector<double>&, int a,
                                                    int v) {
        log.push_back("f" + std::to_string(a) + std::to_string(v));
    };
    // The log of one paint: with Autozoom a range pass over every value first, then the reports.
    auto expected = [](const std::vector<int>& values, bool ranges) {
        std::vector<std::string> out;
        for (std::size_t i = 0; ranges && i < values.size(); ++i) {
            out.insert(out.end(), {"T", "r1", "r2", "r3", "r4", "r5"});
        }
        for (int v : values) {
            out.push_back("T");
            for (char n : std::string("abcdefghi")) out.push_back(std::string{n, '0'} + std::to_string(v));
        }
        return out;
    };

    // The function view: argument 0, values 1 and 2.
    LoadColumns({Ramp(5), Ramp(5, 2), Ramp(5, 3)}, 1);
    Frame(1);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_EQ(log, expected({1, 2}, true));
    // Autozoom off: no range pass; with only shown data, the reports get the points inside
    // the ranges, bounds included.
    log.clear();
    theXyview.autozoom = 0;
    theXyview.xMin = 1, theXyview.xMax = 3, theXyview.yMin = 0, theXyview.yMax = 10;
    Frame(0);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context(1)), 1);
    EXPECT_EQ(log, expected({1, 2}, false));
    EXPECT_EQ(reportedX, (std::vector<double>{1, 2, 3}));

    // The one-value view: two values, argument index 0.
    log.clear();
    theXyview.autozoom = 1;
    LoadColumns({Ramp(4), Ramp(4, 2)}, 0);
    Frame(1);
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_EQ(log, expected({0, 1}, true));
}

TEST_F(SingleArgumentViewTest, PeaksLineAndBaseLineOnlyWhereEachViewAsks) {
    int corrections = 0;
    TheOneArgumentSchemes().correctBaseLine = [&corrections](std::vector<double>&, std::vector<double>& y) {
        ++corrections;
        for (double& v : y) v -= 100;
    };
    theXystatistic.peaksRevealing = 1;
    LoadColumns({Ramp(5), Ramp(5, 1, 100)}, 1);
    Frame(1);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_EQ(corrections, 2);  // range pass and paint pass
    EXPECT_DOUBLE_EQ(plotYMax, 4);
    EXPECT_EQ(theResultDocument.texts[1], "Peaks");
    EXPECT_EQ(theResultTables.paragraphs[1], "Peaks\n");

    corrections = 0;
    LoadColumns({Ramp(5, 1, 100)}, 0);
    Frame(1);
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_EQ(corrections, 0);
    EXPECT_EQ(theResultDocument.texts[1], "Signals");
    EXPECT_TRUE(theResultTables.paragraphs.empty());
}

}  // namespace
