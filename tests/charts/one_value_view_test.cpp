// "Line of one value.": the record step, the x range it gives, the marks at their pixels, the
// shapes it declines, and, for both single-argument views, every scheme slot called in its
// fixed order for every value parameter.
#include <cstdlib>
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
#include "fitting/xystatistic_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

constexpr platform::ColorRef kBlue = platform::Rgb(0, 0, 255);

// One series of the given columns (records by column); the first `arguments` columns are
// arguments, the rest values.
void LoadColumns(const std::vector<std::vector<double>>& columns, int arguments) {
    theData.OnDeleteAll();
    const int n = static_cast<int>(columns.size());
    const int records = static_cast<int>(columns[0].size());
    std::vector<std::string> names;
    for (int p = 0; p < n; ++p) names.push_back("c" + std::to_string(p));
    theData.CheckNewSeriesShape(n, theData.pendingSeries);
    for (int r = 0; r < records; ++r) {
        for (int p = 0; p < n; ++p) theData.allValues.push_back(columns[static_cast<size_t>(p)][static_cast<size_t>(r)]);
    }
    theData.AddNewSeries(records, names);
    for (int p = 0; p < n; ++p) {
        theData.activeParameter = p;
        if (p < arguments) {
            theData.MakeActiveParameterArgument();
        } else {
            theData.MakeActiveParameterValue();
        }
        Initial& i = theData.parameters[static_cast<size_t>(p)];
        i.color = static_cast<std::int32_t>(kBlue);
        i.markShape = 2;
        i.markSize = 4;
        i.autoSize = 0;
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

// The chart frame as the main window leaves it, the result stores emptied as the dispatcher does.
void Frame() {
    theResultTables.Clear();
    SetChartFrame(400, 300, theXyview.autozoom,
                  PlotViewRanges{theXyview.xMin, theXyview.xMax, theXyview.yMin, theXyview.yMax, 0, 1});
    plotLeft = 40, plotRight = 380, plotTop = 10, plotBottom = 280;
}

std::vector<double> Ramp(int n, double a = 1, double b = 0) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(a * i + b);
    return v;
}

class SingleArgumentViewTest : public ::testing::Test {
protected:
    void TearDown() override {
        theXyview.autozoom = autozoom;
        theXyview.stepPercent = step;
        theXyview.histogram = histogram;
        theXyview.show3D = show3D;
        theXystatistic.peaksRevealing = 0;
        TheOneArgumentSchemes() = schemes;
        theData.OnDeleteAll();
        theResultTables.Clear();
        theResultDocument.Clear();
    }
    int autozoom = theXyview.autozoom;
    unsigned step = theXyview.stepPercent;
    int histogram = theXyview.histogram;
    int show3D = theXyview.show3D;
    OneArgumentSchemeCalls schemes = TheOneArgumentSchemes();
    platform::Bitmap image{400, 300};
    platform::Canvas dc{image};
};

TEST(RecordStepTest, DecimalStepByTheLargestSeries) {
    const struct {
        int records;
        double step;
    } cases[] = {{0, 1}, {3, 1}, {10, 1}, {11, 0.1}, {99, 0.1}, {100, 0.01}, {999, 0.01}, {1000, 0.001}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(RecordStep(c.records), c.step) << c.records;
}

TEST_F(SingleArgumentViewTest, RecordsSpreadOverTheirStepAndMarksSitThere) {
    theXyview.autozoom = 1;
    theXyview.stepPercent = 0;
    LoadColumns({Ramp(11, 2, 1)}, 0);  // 1, 3, ... 21
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_DOUBLE_EQ(plotXMin, 0);
    EXPECT_DOUBLE_EQ(plotXMax, 1.1);
    EXPECT_DOUBLE_EQ(plotYMin, 1);
    EXPECT_DOUBLE_EQ(plotYMax, 21);
    // Marks strictly inside the range: record 5 at x 0.5, y 11; the first, at the very edge of
    // the y range, gets none.
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(0.5) + 2, WorldToPixelY(11) + 2), kBlue);
    EXPECT_EQ(dc.GetPixel(WorldToPixelX(0.55) + 2, WorldToPixelY(12) + 2), theChart.chartAreaColor);
    ASSERT_GE(theResultDocument.texts.size(), 1u);
    EXPECT_EQ(theResultDocument.texts[0], "Line of one value.");
    EXPECT_TRUE(theResultTables.paragraphs.empty());

    // Ten records are drawn at 0 .. 9; a hundred at 0 .. 0.99.
    LoadColumns({Ramp(10)}, 0);
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_DOUBLE_EQ(plotXMax, 10);
    LoadColumns({Ramp(100)}, 0);
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_DOUBLE_EQ(plotXMax, 1);
}

TEST_F(SingleArgumentViewTest, DeclinesShapesThatAreNotItsOwn) {
    LoadColumns({Ramp(5), Ramp(5)}, 1);
    Frame();
    EXPECT_EQ(PaintOneValueView(dc, Context()), 0);
    // Two values: shown unless they are asked for as a value line.
    LoadColumns({Ramp(5), Ramp(5, 2)}, 0);
    theXyview.histogram = 0;
    theXyview.show3D = 0;
    EXPECT_EQ(PaintOneValueView(dc, Context()), 1);
    theXyview.show3D = 1;
    EXPECT_EQ(PaintOneValueView(dc, Context()), 0);
    theData.OnDeleteAll();
    EXPECT_EQ(PaintOneValueView(dc, Context()), 0);
    EXPECT_EQ(PaintFunctionOfOneArgument(dc, Context()), 0);
}

TEST_F(SingleArgumentViewTest, DegenerateRangesBecomeRangesTheChartCanShow) {
    theXyview.stepPercent = 0;
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
        Frame();
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
    std::vector<std::string> log;
    auto range = [&log](std::string name) {
        return [&log, name](const std::vector<double>&, const std::vector<double>&) { log.push_back(name); };
    };
    auto report = [&log](std::string name) {
        return [&log, name](platform::Canvas&, const std::vector<double>&, const std::vector<double>&, int a, int v) {
            log.push_back(name + std::to_string(a) + std::to_string(v));
        };
    };
    calls = OneArgumentSchemeCalls{};
    calls.customTransformedValues = [&log](const std::vector<double>& y, const std::vector<double>&,
                                           std::vector<double>& out) {
        log.push_back("T");
        out = y;
    };
    calls.constructorFitYRange = range("r1");
    calls.customFitYRange = range("r2");
    calls.collectionFitYRange = range("r3");
    calls.userFormulaYRange = range("r4");
    calls.analysePeaks = range("r5");
    calls.constructorFitReport = report("a");
    calls.customFormulaFitReport = report("b");
    calls.fitResultReport = report("c");
    calls.userFormulaReport = report("d");
    calls.peaksReport = report("e");
    calls.reportCorrelationOfTwoParameters = [&log](const std::vector<double>&, const std::vector<double>&, int a,
                                                    int v) { log.push_back("f" + std::to_string(a) + std::to_string(v)); };
    calls.runPolynomFitting = report("g");
    calls.runHarmonicAnalysis = report("h");
    calls.runBestFormulaSearch = report("i");
    const std::vector<std::string> rangesOf2 = {"T", "r1", "r2", "r3", "r4", "r5", "T", "r1", "r2", "r3", "r4", "r5"};
    auto reportsOf = [](int a, const std::vector<int>& values) {
        std::vector<std::string> out;
        for (int v : values) {
            out.push_back("T");
            for (const char* n : {"a", "b", "c", "d", "e", "f", "g", "h", "i"}) {
                out.push_back(n + std::to_string(a) + std::to_string(v));
            }
        }
        return out;
    };

    theXyview.autozoom = 1;
    // The function view: argument 0, values 1 and 2.
    LoadColumns({Ramp(4), Ramp(4, 2), Ramp(4, 3)}, 1);
    Frame();
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    std::vector<std::string> expected = rangesOf2;
    for (const std::string& s : reportsOf(0, {1, 2})) expected.push_back(s);
    EXPECT_EQ(log, expected);

    // The one-value view: two values, argument index 0.
    log.clear();
    LoadColumns({Ramp(4), Ramp(4, 2)}, 0);
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    expected = rangesOf2;
    for (const std::string& s : reportsOf(0, {0, 1})) expected.push_back(s);
    EXPECT_EQ(log, expected);

    // Autozoom off: no range pass at all.
    log.clear();
    theXyview.autozoom = 0;
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_EQ(log, reportsOf(0, {0, 1}));
}

TEST_F(SingleArgumentViewTest, PeaksLineAndBaseLineOnlyWhereEachViewAsks) {
    OneArgumentSchemeCalls& calls = TheOneArgumentSchemes();
    int corrections = 0;
    calls.correctBaseLine = [&corrections](std::vector<double>&, std::vector<double>& y) {
        ++corrections;
        for (double& v : y) v -= 100;
    };
    theXystatistic.peaksRevealing = 1;
    theXyview.autozoom = 1;
    theXyview.stepPercent = 0;
    LoadColumns({Ramp(5), Ramp(5, 1, 100)}, 1);
    Frame();
    ASSERT_EQ(PaintFunctionOfOneArgument(dc, Context()), 1);
    EXPECT_EQ(corrections, 2);  // range pass and paint pass
    EXPECT_DOUBLE_EQ(plotYMax, 4);
    EXPECT_EQ(theResultDocument.texts[1], "Peaks");
    EXPECT_EQ(theResultTables.paragraphs[1], "Peaks\n");

    corrections = 0;
    LoadColumns({Ramp(5, 1, 100)}, 0);
    Frame();
    ASSERT_EQ(PaintOneValueView(dc, Context()), 1);
    EXPECT_EQ(corrections, 0);
    EXPECT_EQ(theResultDocument.texts[1], "Signals");
    EXPECT_TRUE(theResultTables.paragraphs.empty());
}

}  // namespace
