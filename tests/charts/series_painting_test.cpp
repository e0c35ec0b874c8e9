// The series painters: the one-argument view over generated data (its ranges, its marks found
// by pixel, the order of the scheme calls and the points the reports get) and the chart of
// measured against model values.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/series_painting.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "formula/calculator.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

constexpr platform::ColorRef kRed = platform::Rgb(255, 0, 0);

// One series per entry of `records`, each record holding `columns` values; the last column
// is the value, the others arguments.
void Load(const std::vector<std::vector<std::vector<double>>>& seriesRecords, int columns) {
    theData.OnDeleteAll();
    std::vector<std::string> names;
    for (int p = 0; p < columns; ++p) names.push_back("c" + std::to_string(p));
    for (const auto& records : seriesRecords) {
        theData.CheckNewSeriesShape(columns, theData.pendingSeries);
        for (const auto& r : records) theData.allValues.insert(theData.allValues.end(), r.begin(), r.end());
        theData.AddNewSeries(static_cast<int>(records.size()), names);
    }
    for (Initial& i : theData.parameters) {
        if (i.role == kRoleValue) i.color = static_cast<std::int32_t>(kRed), i.markShape = 2, i.markSize = 4;
    }
}

SeriesPaintContext Context(int visibleOnly = 0) {
    SeriesPaintContext c;
    c.seriesCount = static_cast<int>(theData.series.size());
    c.arguments = c.seriesCount ? theData.series[0].nArguments : 0;
    c.values = c.seriesCount ? theData.series[0].nValues : 0;
    c.visibleDataOnly = visibleOnly;
    return c;
}

// A chart frame as the main window leaves it: the plot inside margins of the image.
void Frame(int autozoom) {
    theResultTables.Clear();  // as the dispatcher does before the painters run
    SetChartFrame(400, 300, autozoom, PlotViewRanges{theXyview.xMin, theXyview.xMax, theXyview.yMin, theXyview.yMax,
                                                     theXyview.zMin, theXyview.zMax});
    plotLeft = 40, plotRight = 380, plotTop = 10, plotBottom = 280;
}

// The program-wide state these painters use, emptied first as the painting dispatcher leaves it.
struct SavedView {
    SavedView() {
        theData.OnDeleteAll();
        theResultDocument.Clear();
        theResultTables.Clear();
        coefficientsText.clear();
    }
    int autozoom = theXyview.autozoom;
    unsigned step = theXyview.stepPercent;
    ~SavedView() {
        theXyview.autozoom = autozoom;
        theXyview.stepPercent = step;
        theData.OnDeleteAll();
    }
};

TEST(FunctionOfOneArgument, MarksSitAtTheirDataPoints) {
    SavedView saved;
    const std::vector<std::vector<double>> points = {{0, 0}, {1, 1}, {2, 4}, {3, 9}, {4, 16}};
    Load({points}, 2);
    theXyview.autozoom = 1;
    theXyview.stepPercent = 5;
    platform::Bitmap image(400, 300);
    platform::Canvas dc(image);
    Frame(1);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_DOUBLE_EQ(plotXMin, -0.2);
    EXPECT_DOUBLE_EQ(plotXMax, 4.2);
    EXPECT_DOUBLE_EQ(plotYMin, -0.8);
    EXPECT_DOUBLE_EQ(plotYMax, 16.8);
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
    EXPECT_EQ(theResultTables.paragraphs[0], "Function of one argument.\n");
    EXPECT_EQ(theResultTables.paragraphBold[0], 1u);
    EXPECT_EQ(theResultTables.paragraphs[1], "Series #1 (5 records)\n");

    // Other shapes are not this view's.
    Load({{{1}, {2}, {3}}}, 1);
    EXPECT_EQ(PaintFunctionOfOneArgument(dc, Context()), 0);
    Load({{{1, 2, 3}, {2, 3, 4}, {3, 4, 5}}}, 3);
    EXPECT_EQ(PaintFunctionOfOneArgument(dc, Context()), 0);
    theData.OnDeleteAll();
    EXPECT_EQ(PaintFunctionOfOneArgument(dc, Context()), 0);
}

struct RangeCase {
    const char* name;
    std::vector<std::vector<std::vector<double>>> series;
    unsigned margin;
    double xMin, xMax, yMin, yMax;
};

TEST(FunctionOfOneArgument, AutozoomRangesOverGeneratedData) {
    SavedView saved;
    std::vector<std::vector<double>> line, flat, negative;
    for (int i = 0; i <= 20; ++i) {
        line.push_back({i * 0.5, 3 * i - 10.0});
        flat.push_back({3, 7});
        negative.push_back({-10 + i * 0.4, -5 + i * 0.2});
    }
    const RangeCase cases[] = {
        {"line", {line}, 5, -0.5, 10.5, -13, 53},
        {"no margin", {line}, 0, 0, 10, -10, 50},
        {"equal values", {flat}, 5, 2.5, 3.5, 6.5, 7.5},
        {"negative", {negative}, 5, -10.4, -1.6, -5.2, -0.8},
        {"one record", {{{2, 3}}}, 5, 0, 1, 0, 1},
        {"short series left out", {{{100, 100}, {101, 101}}, line}, 0, 0, 10, -10, 50},
        {"two series", {line, negative}, 0, -10, 10, -10, 50},
    };
    platform::Bitmap image(400, 300);
    platform::Canvas dc(image);
    theXyview.autozoom = 1;
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.series, 2);
        theXyview.stepPercent = c.margin;
        Frame(1);
        ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
        EXPECT_NEAR(plotXMin, c.xMin, 1e-12);
        EXPECT_NEAR(plotXMax, c.xMax, 1e-12);
        EXPECT_NEAR(plotYMin, c.yMin, 1e-12);
        EXPECT_NEAR(plotYMax, c.yMax, 1e-12);
        EXPECT_EQ(plotLeft, 40);  // the pixel rectangle comes back
        EXPECT_EQ(plotBottom, 280);
    }
    // Autozoom off: the View page's ranges exactly.
    Load({line}, 2);
    theXyview.autozoom = 0;
    theXyview.xMin = 1, theXyview.xMax = 2, theXyview.yMin = -3, theXyview.yMax = 4;
    Frame(0);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_EQ(plotXMin, 1);
    EXPECT_EQ(plotXMax, 2);
    EXPECT_EQ(plotYMin, -3);
    EXPECT_EQ(plotYMax, 4);
}

TEST(FunctionOfOneArgument, SchemeCallsInOrderWithTheShownPoints) {
    SavedView saved;
    OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    const OneArgumentSchemeCalls before = calls;
    std::vector<std::string> log;
    std::vector<double> reportedX;
    auto range = [&log](const char* name) {
        return [&log, name](const std::vector<double>&, const std::vector<double>&) { log.push_back(name); };
    };
    auto report = [&log, &reportedX](const char* name) {
        return [&log, &reportedX, name](platform::Canvas&, const std::vector<double>& x, const std::vector<double>&,
                                        int a, int v) {
            EXPECT_EQ(a, 0);
            EXPECT_EQ(v, 1);
            reportedX = x;
            log.push_back(name);
        };
    };
    calls.customTransformedValues = [&log](const std::vector<double>& y, const std::vector<double>&,
                                           std::vector<double>& out) {
        log.push_back("transform");
        out = y;
    };
    calls.constructorFitYRange = range("constructorRange");
    calls.analysePeaks = range("peaksRange");
    calls.constructorFitReport = report("constructorReport");
    calls.peaksReport = report("peaksReport");
    calls.reportCorrelationOfTwoParameters = [&log](const std::vector<double>&, const std::vector<double>&, int,
                                                    int) { log.push_back("correlation"); };
    calls.runBestFormulaSearch = report("bestFormula");

    Load({{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}}, 2);
    platform::Bitmap image(400, 300);
    platform::Canvas dc(image);
    theXyview.autozoom = 1;
    Frame(1);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context(0)), 1);
    const std::vector<std::string> all = {"transform",         "constructorRange", "peaksRange",
                                          "transform",         "constructorReport", "peaksReport",
                                          "correlation",       "bestFormula"};
    EXPECT_EQ(log, all);
    EXPECT_EQ(reportedX.size(), 5u);

    // Autozoom off: no range pass; with only shown data, the reports get the points inside
    // the ranges, bounds included.
    log.clear();
    theXyview.autozoom = 0;
    theXyview.xMin = 1, theXyview.xMax = 3, theXyview.yMin = 0, theXyview.yMax = 10;
    Frame(0);
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context(1)), 1);
    const std::vector<std::string> reportsOnly = {"transform", "constructorReport", "peaksReport", "correlation",
                                                  "bestFormula"};
    EXPECT_EQ(log, reportsOnly);
    EXPECT_EQ(reportedX, (std::vector<double>{1, 2, 3}));
    calls = before;
}

TEST(DataSeries, MeasuredAgainstModelOnACommonRange) {
    SavedView saved;
    const int savedPlane = theMultistat.plane, savedBest = theMultistat.bestPolynome;
    SeveralArgumentModel& model = TheSeveralArgumentModel();
    const SeveralArgumentModel before = model;
    std::vector<std::vector<double>> records;
    for (int i = 0; i <= 10; ++i) records.push_back({i * 1.0, i * 2.0, i * 1.0});
    Load({records}, 3);
    model.values = [](std::vector<double>& measured, std::vector<double>& modelled) {
        measured.clear();
        modelled.clear();
        for (int i = 0; i <= 10; ++i) measured.push_back(i), modelled.push_back(1 + 0.8 * i);
        return 1;
    };
    model.evaluate = [](const double* a) { return a[0] + a[1]; };
    theMultistat.plane = 0;
    theMultistat.bestPolynome = 1;
    theXyview.autozoom = 1;
    const int savedValid = theCalculator.argumentsValid, savedCount = theCalculator.typedCount;
    const std::vector<double> savedValues = theCalculator.typedValues;
    theCalculator.argumentsValid = 1;
    theCalculator.typedCount = 2;
    theCalculator.typedValues = {1.5, 2};
    theCalculator.valuesText.clear();

    platform::Bitmap image(400, 300);
    platform::Canvas dc(image);
    Frame(1);
    std::vector<unsigned> painted;
    SeriesPaintContext c = Context();
    c.paintedParameters = &painted;
    ASSERT_EQ(PaintDataSeries(dc, c), 1);
    EXPECT_DOUBLE_EQ(theXyview.xMin, -0.5);
    EXPECT_DOUBLE_EQ(theXyview.xMax, 10.5);
    EXPECT_DOUBLE_EQ(theXyview.yMin, -0.5);
    EXPECT_DOUBLE_EQ(theXyview.yMax, 10.5);
    EXPECT_EQ(painted, (std::vector<unsigned>{2}));
    EXPECT_EQ(theCalculator.valuesText, "c2 = 3.5; ");
    // A mark at each (measured, model) point and the y = x line from corner to corner.
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(5) + 2, WorldToPixelY(5) + 2), kRed);
    int black = 0;
    for (int i = 1; i < 100; ++i) {
        const double t = -0.5 + 11.0 * i / 100;
        const int px = WorldToPixelX(t), py = WorldToPixelY(t);
        for (int dy = -1; dy <= 1; ++dy) black += dc.GetPixel(px, py + dy) == platform::kBlack ? 1 : 0;
    }
    EXPECT_GT(black, 20);

    // Without the scheme, or with another shape, nothing is drawn.
    theMultistat.bestPolynome = 0;
    EXPECT_EQ(PaintDataSeries(dc, c), 0);
    theMultistat.plane = savedPlane;
    theMultistat.bestPolynome = savedBest;
    model = before;
    theCalculator.argumentsValid = savedValid;
    theCalculator.typedCount = savedCount;
    theCalculator.typedValues = savedValues;
    theCalculator.valuesText.clear();
}

TEST(DataSeries, AutomaticMarkSizeAndDegenerateRanges) {
    EXPECT_EQ(AutomaticMarkSize(148), 2);
    EXPECT_EQ(AutomaticMarkSize(8), 10);
    EXPECT_EQ(AutomaticMarkSize(13), 10);
    EXPECT_EQ(AutomaticMarkSize(23), 6);
    EXPECT_EQ(AutomaticMarkSize(1000000), 2);
    double lo = 4, hi = 4;
    WidenDegenerateRange(lo, hi);
    EXPECT_EQ(lo, 3.5);
    EXPECT_EQ(hi, 4.5);
    lo = 1e60, hi = -1e60;
    WidenDegenerateRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 1);
    lo = -2e9, hi = -2e9;
    WidenDegenerateRange(lo, hi);
    EXPECT_LT(lo, hi);
    EXPECT_NE(static_cast<float>(lo), static_cast<float>(hi));
}

}  // namespace
