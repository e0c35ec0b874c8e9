// The measured-against-estimated view: which data and schemes it takes, the sample of large
// series with its result line, the square ranges, the regression estimates on the diagonal
// and the calculator values of the near-neighbour estimate.
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/two_argument_views.h"
#include "charts/xy_correlation_view.h"
#include "charts/xyview_page.h"
#include "charts_test_support.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/neighbour_estimate.h"
#include "formula/calculator.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"
#include "statistics/color_maps.h"

namespace {

using platform::ColorRef;

constexpr ColorRef kMarkColor = platform::Rgb(0, 0, 220);

// One series of three arguments and a value z = 1 + 2 x0 + 3 x1 + 4 x2 (exact for the plane)
// plus `noise` times a wobble, over n records.
void LoadSeries(int n, double noise = 0) {
    charts_test::Records records(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        std::vector<double>& record = records[static_cast<std::size_t>(r)];
        double z = 1;
        for (int k = 0; k < 3; ++k) {
            record.push_back(std::fmod(r * (0.37 + 0.11 * k) + k, 7.0));
            z += (k + 2) * record.back();
        }
        record.push_back(z + noise * std::sin(r * 1.7));
    }
    charts_test::LoadSeries({records}, {kMarkColor, 0, 3}, -1, {"x0", "x1", "x2", "z"});
}

class XYCorrelationViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        plotLeft = 0, plotRight = 300, plotTop = 0, plotBottom = 300;
        multistat& m = theMultistat;
        m.plane = m.parabolic = m.nearNeighbors = m.bestPolynome = m.bestPolynomeAuto = 0;
        m.userDefinedFormula = m.unitaryArgument = m.correlation = 0;
        m.weightKind = 0;
        m.nearNeighborPercent = 3;
        theXyview.autozoom = 1;
        theResultDocument.Clear();
        theResultTables.Clear();
        theResult.formulaText.clear();
        TypeArguments("");
    }
    // A row of argument values typed into the calculator, as the repaint finds it.
    void TypeArguments(const char* text) {
        theCalculator.argumentText = text;
        theCalculator.changed = 1;
        theCalculator.BeginRepaint(3);
    }
    void TearDown() override {
        SetUp();
        theMultistat.plane = 1;
        theData.OnDeleteAll();
    }

    platform::ScriptedDialogs dialogs;
    platform::Bitmap bitmap{320, 320};
    platform::Canvas canvas{bitmap};
    std::vector<std::string> legendTexts;
    std::vector<unsigned> legendMarks;
    XYCorrelationState state{
        .seriesCount = 1, .arguments = 3, .values = 1, .legendTexts = &legendTexts, .legendMarks = &legendMarks};
};

TEST_F(XYCorrelationViewTest, AppliesToItsSchemesAndShapes) {
    LoadSeries(30);
    const struct { const char* name; int plane, near, arguments, values; bool matrix; int painted; } cases[] = {
        {"no scheme of the view", 0, 0, 3, 1, false, 0},
        {"the plane needs three arguments", 1, 0, 2, 1, false, 0},
        {"the near-neighbour estimate a value", 0, 1, 2, 0, false, 0},
        // The correlation view owns the chart: 1 and nothing painted.
        {"correlation matrix", 0, 1, 2, 1, true, 1},
        {"plane", 1, 0, 3, 1, false, 1},
    };
    for (const auto& c : cases) {
        theMultistat.plane = c.plane;
        theMultistat.nearNeighbors = c.near;
        state.arguments = c.arguments;
        state.values = c.values;
        state.correlationMatrix = c.matrix;
        EXPECT_EQ(PaintXYCorrelation(canvas, state), c.painted) << c.name;
        EXPECT_TRUE(theResultDocument.kinds.empty()) << c.name;  // no result line from these
    }
}

TEST_F(XYCorrelationViewTest, PlaneEstimatesLieOnTheDiagonalOfASquareRange) {
    LoadSeries(40);
    theMultistat.plane = 1;
    ASSERT_EQ(PaintXYCorrelation(canvas, state), 1);
    EXPECT_DOUBLE_EQ(plotXMin, plotYMin);
    EXPECT_DOUBLE_EQ(plotXMax, plotYMax);
    // Exact plane: every record's marker sits on y = x, and the fit is rated.
    for (int r = 0; r < 40; r += 7) {
        const double z = theData.allValues[static_cast<std::size_t>(r * 4 + 3)];
        EXPECT_EQ(canvas.GetPixel(WorldToPixelX(z), WorldToPixelY(z)), kMarkColor) << r;
    }
    EXPECT_NEAR(planeFitMeasure, 0, 1e-12);
    EXPECT_TRUE(theResultDocument.kinds.empty());  // no result line for the regressions
}

TEST_F(XYCorrelationViewTest, NearNeighbourSampleAndResultLine) {
    const struct { int records; const char* line; int shown, step; } cases[] = {
        {499, "z(x0,x1,x2)  Number of records = 499  Coefficient of correlation = ", 499, 1},
        {1000, "z(x0,x1,x2)  Number of records   = 334 taking every 3th record  Coefficient of correlation = ", 334, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        SetUp();
        theMultistat.nearNeighbors = 1;
        LoadSeries(c.records, 0.5);
        ASSERT_EQ(PaintXYCorrelation(canvas, state), 1);
        // The coefficient over the sampled pairs, each estimated without its own record.
        const std::vector<int> mask{-1, -1, -1, 1};
        std::vector<double> measured, estimates;
        for (int r = 0; r < c.records; r += c.step) {
            const double* rec = &theData.allValues[static_cast<std::size_t>(r * 4)];
            measured.push_back(rec[3]);
            estimates.push_back(NearestNeighbourEstimate(theData.allValues, 4, 3, 0, c.records, mask, 3, r, 0, 3,
                                                         {rec[0], rec[1], rec[2]}));
        }
        ASSERT_EQ(static_cast<int>(measured.size()), c.shown);
        double mean = 0, ssr = 0, sst = 0;
        for (double m : measured) mean += m / c.shown;
        for (int i = 0; i < c.shown; ++i) {
            ssr += (measured[i] - estimates[i]) * (measured[i] - estimates[i]);
            sst += (measured[i] - mean) * (measured[i] - mean);
        }
        const double coefficient = 1 - std::sqrt(ssr / sst);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.4g", coefficient);
        std::string all;
        for (const std::string& t : theResultDocument.texts) all += t;
        EXPECT_EQ(all, std::string(c.line) + expected);
        EXPECT_EQ(theResult.formulaText, "z(x0,x1,x2)\n");
        EXPECT_EQ(std::tie(legendTexts.back(), legendMarks.back()), std::make_tuple("z(x0,x1,x2)", 3u));
        ASSERT_EQ(theResultTables.paragraphs.size(), 3u);
        EXPECT_EQ(theResultTables.paragraphs[0], c.line);
        EXPECT_EQ(theResultTables.paragraphColors[1], static_cast<ColorRef>(ValueToColor(coefficient)));
        // A marker at the first pair.
        EXPECT_EQ(canvas.GetPixel(WorldToPixelX(measured[0]), WorldToPixelY(estimates[0])), kMarkColor);
    }
}

TEST_F(XYCorrelationViewTest, CalculatorGetsTheEstimateAtItsTypedPoint) {
    LoadSeries(50);
    theMultistat.nearNeighbors = 1;
    TypeArguments("1 2 3");
    ASSERT_EQ(PaintXYCorrelation(canvas, state), 1);
    const std::vector<int> mask{-1, -1, -1, 1};
    const double e = NearestNeighbourEstimate(theData.allValues, 4, 3, 0, 50, mask, 3, -1, 0, 3, {1, 2, 3});
    char expected[64];
    std::snprintf(expected, sizeof expected, "z=%g; ", e);
    EXPECT_EQ(theCalculator.valuesText, expected);
    EXPECT_EQ(theData.schemeReady, 1);
    // A typed row of another width adds nothing.
    TypeArguments("1 2");
    ASSERT_EQ(PaintXYCorrelation(canvas, state), 1);
    EXPECT_EQ(theCalculator.valuesText.find("z="), std::string::npos);
}

}  // namespace
