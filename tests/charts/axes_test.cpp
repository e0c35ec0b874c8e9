#include "charts/axes.h"

#include <string>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts_test_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using charts_test::CountColour;
using charts_test::CountPixels;
using charts_test::Scoped;
using platform::ColorRef;
constexpr ColorRef kRed = platform::Rgb(255, 0, 0);
constexpr ColorRef kBlue = platform::Rgb(0, 0, 255);
constexpr ColorRef kGreen = platform::Rgb(0, 160, 0);

// Text may be drawn with smoothed edges: anything clearly reddish counts.
bool Reddish(ColorRef c) { return platform::RedOf(c) > 150 && platform::GreenOf(c) < 120; }

// Keeps the page settings of one test from leaking into the next.
class AxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        plotLeft = 50, plotRight = 250, plotBottom = 150, plotTop = 10;
        plotXMin = 0, plotXMax = 10, plotYMin = 0, plotYMax = 3;
        ComputePlotScales();
    }
    int CountText(int x0, int y0, int x1, int y1) { return CountPixels(dc_, {x0, y0, x1, y1}, Reddish); }

    Scoped<ColorRef> grid_{theChart.gridLineColor, kGreen}, border_{theChart.borderLineColor, kBlue};
    Scoped<ColorRef> caption_{theLegend.captionColor, kRed};
    Scoped<int> gridWidth_{theChart.gridWidth, 1}, borderWidth_{theChart.borderWidth, 1};
    Scoped<int> slashes_{theChart.showSlashes, 1}, intervals_{theChart.intervals, 6};
    platform::Bitmap bmp_{300, 200};
    platform::Canvas dc_{bmp_};
};

TEST(AxisLabels, ExponentsAreTidied) {
    struct Case { double v; const char* text; };
    const Case cases[] = {{1e-5, "1e-5"},  {2.5e10, "2.5e+10"}, {-0.25, "-0.25"},   {0.6000000000000001, "0.6"},
                          {1e5, "100000"}, {3e7, "3e+7"},       {-4e-12, "-4e-12"}, {0, "0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(AxisLabelTextX(c.v), c.text) << c.v;
        EXPECT_EQ(AxisLabelTextY(c.v), c.text) << c.v;
    }
}

TEST_F(AxesTest, LabelsStandCentredUnderAndRightAlignedLeftOfTheAxes) {
    DrawAxes(dc_);
    dc_.SelectFont(theLegend.xCaptionFont);
    int boxesRight = 0;
    for (int v = 0; v <= 10; v += 2) {  // step NiceTickStep(10/6) = 2
        const platform::Size size = dc_.GetTextExtent(AxisLabelTextX(v));
        const int left = WorldToPixelX(v) - static_cast<int>(size.cx * 0.5);
        EXPECT_GT(CountText(left, 150, left + size.cx, 150 + size.cy), 0) << v;
        // Nothing between this label and the previous one.
        if (v > 0) {
            EXPECT_EQ(CountText(boxesRight + 1, 150, left - 1, 150 + size.cy), 0) << v;
        }
        boxesRight = left + size.cx;
    }

    for (double v = 0; v <= 3; v += 0.5) {  // step NiceTickStep(3/6) = 0.5
        const platform::Size size = dc_.GetTextExtent(AxisLabelTextY(v));
        const int top = WorldToPixelY(v) - size.cy / 2;
        EXPECT_GT(CountText(48 - size.cx, top, 48, top + size.cy), 0) << v;
        if (v > 0) {  // the x label "0" lies below the lowest one
            EXPECT_EQ(CountText(48, top, 50, top + size.cy), 0) << v;
        }
    }
}

TEST_F(AxesTest, MinorMarksAndGridLines) {
    DrawAxes(dc_);
    // x: marks every 0.4 units rise from the bottom edge, long ones on the labels' values.
    for (int k = 0; k <= 25; ++k) {
        const int px = WorldToPixelX(k * 0.4);
        EXPECT_EQ(dc_.GetPixel(px, 147), kBlue) << k;
        EXPECT_EQ(dc_.GetPixel(px, 143) == kBlue, k % 5 == 0) << k;
    }
    // y: marks every 0.1 units point right into the plot, none within 2 pixels of the edges.
    for (int k = 1; k < 30; ++k) {
        const int py = WorldToPixelY(k * 0.1);
        EXPECT_EQ(dc_.GetPixel(52, py), kBlue) << k;
        EXPECT_EQ(dc_.GetPixel(56, py) == kBlue, k % 5 == 0) << k;
    }
    // Dashed grid lines inside the plot, but not on its left and right edges.
    const int gx = WorldToPixelX(4), gy = WorldToPixelY(1.5);
    EXPECT_GT(CountColour(dc_, kGreen, {gx, 20, gx + 1, 130}), 20);
    EXPECT_EQ(CountColour(dc_, kGreen, {250, 20, 251, 130}), 0);
    EXPECT_GT(CountColour(dc_, kGreen, {70, gy, 240, gy + 1}), 40);

    // Zero widths draw neither grid nor marks, but the labels still.
    theChart.gridWidth = theChart.borderWidth = 0;
    bmp_.Fill(platform::kWhite);
    DrawAxes(dc_);
    EXPECT_EQ(CountColour(dc_, kGreen, {0, 0, 300, 200}), 0);
    EXPECT_EQ(CountColour(dc_, kBlue, {0, 0, 300, 200}), 0);
    EXPECT_GT(CountText(0, 150, 300, 200), 0);
}

TEST_F(AxesTest, AwkwardRangesAndTypedIntervalsEndQuickly) {
    // A typed count outside the spin's range draws as the nearest end of it.
    auto draw = [this](double x0, double x1, int intervals) {
        theChart.intervals = intervals;
        plotXMin = plotYMin = x0;
        plotXMax = plotYMax = x1;
        ComputePlotScales();
        bmp_.Fill(platform::kWhite);
        DrawAxes(dc_);  // must return, without undefined arithmetic
        return bmp_.Image().copy();
    };
    const QImage fewest = draw(0, 10, chart::kMinIntervals), most = draw(0, 10, chart::kMaxIntervals);
    struct Case { double x0, x1; int intervals; const QImage* same; };
    const Case cases[] = {{0, 10, 0, &fewest},          {0, 10, -3, &fewest},        {0, 10, 100000, &most},
                          {1e15, 1e15 + 1, 6, nullptr}, {-1e300, 1e300, 6, nullptr}, {1e-300, 2e-300, 6, nullptr},
                          {5, 5, 6, nullptr},           {10, 0, 6, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x0) + " to " + std::to_string(c.x1) + ", " + std::to_string(c.intervals));
        const QImage image = draw(c.x0, c.x1, c.intervals);
        if (c.same) {
            EXPECT_TRUE(image == *c.same);
        }
        // However many lines are asked for, the grid stays a grid and never fills the plot.
        EXPECT_LT(CountColour(dc_, kGreen, {0, 0, 300, 200}), 200 * 140 / 4);
    }
}

TEST(ChartText, TextsAreCutTo299Characters) {
    const std::string longText(400, 'W');
    const platform::Font font = platform::Font::Make("Times", 10);
    platform::Bitmap a(4000, 30), b(4000, 30), c(4000, 30);
    platform::Canvas dcA(a), dcB(b), dcC(c);
    dcA.SelectFont(font);
    DrawTextClipped(dcA, 0, 0, longText);
    DrawTextWithFont(dcB, font, 0, 0, longText.substr(0, 299));
    DrawTextFormat(dcC, font, 0, 0, "%s", longText.c_str());
    EXPECT_EQ(a.Image(), b.Image());
    EXPECT_EQ(c.Image(), b.Image());
}

}  // namespace
