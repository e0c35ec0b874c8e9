#include "charts/axes.h"

#include <string>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/chart_text.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using platform::ColorRef;
constexpr ColorRef kRed = platform::Rgb(255, 0, 0);
constexpr ColorRef kBlue = platform::Rgb(0, 0, 255);
constexpr ColorRef kGreen = platform::Rgb(0, 160, 0);

// Keeps the page settings of one test from leaking into the next.
class AxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {theChart.gridLineColor, theChart.borderLineColor, theChart.gridWidth, theChart.borderWidth,
                  theChart.showSlashes, theChart.intervals, theLegend.captionColor};
        theChart.gridLineColor = kGreen;
        theChart.borderLineColor = kBlue;
        theChart.gridWidth = 1;
        theChart.borderWidth = 1;
        theChart.showSlashes = 1;
        theChart.intervals = 6;
        theLegend.captionColor = kRed;
        plotLeft = 50;
        plotRight = 250;
        plotBottom = 150;
        plotTop = 10;
        plotXMin = 0;
        plotXMax = 10;
        plotYMin = 0;
        plotYMax = 3;
        ComputePlotScales();
    }
    void TearDown() override {
        theChart.gridLineColor = saved_.grid;
        theChart.borderLineColor = saved_.border;
        theChart.gridWidth = saved_.gridWidth;
        theChart.borderWidth = saved_.borderWidth;
        theChart.showSlashes = saved_.slashes;
        theChart.intervals = saved_.intervals;
        theLegend.captionColor = saved_.caption;
    }

    int CountColour(platform::Canvas& dc, ColorRef c, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += dc.GetPixel(x, y) == c;
        return n;
    }
    // Text may be drawn with smoothed edges: anything clearly reddish counts.
    int CountText(platform::Canvas& dc, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const ColorRef c = dc.GetPixel(x, y);
                n += platform::RedOf(c) > 150 && platform::GreenOf(c) < 120;
            }
        return n;
    }

    platform::Bitmap bmp_{300, 200};
    struct Saved {
        ColorRef grid, border;
        int gridWidth, borderWidth, slashes, intervals;
        ColorRef caption;
    } saved_{};
};

TEST(AxisLabels, ExponentsAreTidied) {
    struct Case { double v; const char* x; const char* y; };
    const Case cases[] = {{1e-5, "1e-5", "1e-5"},       {2.5e10, "2.5e+10", "2.5e+10"},
                          {-0.25, "-0.25", "-0.25"},    {0.6000000000000001, "0.6", "0.6"},
                          {1e5, "100000", "100000"},    {3e7, "3e+7", "3e+7"},
                          {-4e-12, "-4e-12", "-4e-12"}, {0, "0", "0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(AxisLabelTextX(c.v), c.x) << c.v;
        EXPECT_EQ(AxisLabelTextY(c.v), c.y) << c.v;
    }
}

TEST_F(AxesTest, XLabelsStandCentredUnderTheMultiplesOfTheStep) {
    platform::Canvas dc(bmp_);
    DrawAxes(dc);
    dc.SelectFont(theLegend.xCaptionFont);
    int boxesRight = 0;
    for (int v = 0; v <= 10; v += 2) {  // step NiceTickStep(10/6) = 2
        const std::string text = AxisLabelTextX(v);
        const platform::Size size = dc.GetTextExtent(text);
        const int left = WorldToPixelX(v) - static_cast<int>(size.cx * 0.5);
        EXPECT_GT(CountText(dc, left, 150, left + size.cx, 150 + size.cy), 0) << v;
        // Nothing between this label and the previous one.
        if (v > 0) {
            EXPECT_EQ(CountText(dc, boxesRight + 1, 150, left - 1, 150 + size.cy), 0) << v;
        }
        boxesRight = left + size.cx;
    }
    EXPECT_EQ(CountText(dc, boxesRight + 1, 150, 300, 200), 0);
}

TEST_F(AxesTest, YLabelsAreRightAlignedLeftOfTheAxis) {
    platform::Canvas dc(bmp_);
    DrawAxes(dc);
    dc.SelectFont(theLegend.xCaptionFont);
    for (double v = 0; v <= 3; v += 0.5) {  // step NiceTickStep(3/6) = 0.5
        const platform::Size size = dc.GetTextExtent(AxisLabelTextY(v));
        const int top = WorldToPixelY(v) - size.cy / 2;
        EXPECT_GT(CountText(dc, 48 - size.cx, top, 48, top + size.cy), 0) << v;
        if (v > 0) {  // the x label "0" lies below the lowest one
            EXPECT_EQ(CountText(dc, 48, top, 50, top + size.cy), 0) << v;
        }
    }
}

TEST_F(AxesTest, MinorMarksAndGridLines) {
    platform::Canvas dc(bmp_);
    DrawAxes(dc);
    // x: marks every 0.4 units rise from the bottom edge, long ones on the labels' values.
    for (int k = 0; k <= 25; ++k) {
        const int px = WorldToPixelX(k * 0.4);
        EXPECT_EQ(dc.GetPixel(px, 147), kBlue) << k;
        EXPECT_EQ(dc.GetPixel(px, 143) == kBlue, k % 5 == 0) << k;
        EXPECT_NE(dc.GetPixel(px, 139), kBlue) << k;  // 10-pixel marks end at row 140
    }
    // y: marks every 0.1 units point right into the plot, none within 2 pixels of the edges.
    for (int k = 1; k < 30; ++k) {
        const int py = WorldToPixelY(k * 0.1);
        EXPECT_EQ(dc.GetPixel(52, py), kBlue) << k;
        EXPECT_EQ(dc.GetPixel(56, py) == kBlue, k % 5 == 0) << k;
    }
    // Dashed grid lines inside the plot, but not on its left and right edges.
    const int gx = WorldToPixelX(4);
    EXPECT_GT(CountColour(dc, kGreen, gx, 20, gx + 1, 130), 20);
    EXPECT_EQ(CountColour(dc, kGreen, 50, 20, 51, 130), 0);
    EXPECT_EQ(CountColour(dc, kGreen, 250, 20, 251, 130), 0);
    const int gy = WorldToPixelY(1.5);
    EXPECT_GT(CountColour(dc, kGreen, 70, gy, 240, gy + 1), 40);
}

TEST_F(AxesTest, ZeroWidthsDrawNeitherGridNorMarks) {
    theChart.gridWidth = 0;
    theChart.borderWidth = 0;
    platform::Canvas dc(bmp_);
    DrawAxes(dc);
    EXPECT_EQ(CountColour(dc, kGreen, 0, 0, 300, 200), 0);
    EXPECT_EQ(CountColour(dc, kBlue, 0, 0, 300, 200), 0);
    EXPECT_GT(CountText(dc, 0, 150, 300, 200), 0);  // labels still drawn
}

TEST_F(AxesTest, AwkwardRangesAndTypedIntervalsEndQuickly) {
    // A typed count outside the spin's range draws as the nearest end of it.
    auto draw = [](double x0, double x1, int intervals) {
        theChart.intervals = intervals;
        plotXMin = plotYMin = x0;
        plotXMax = plotYMax = x1;
        ComputePlotScales();
        platform::Bitmap bmp(300, 200);
        platform::Canvas dc(bmp);
        DrawAxes(dc);  // must return, without undefined arithmetic
        return bmp.Image();
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
        int grid = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) grid += platform::FromQRgb(image.pixel(x, y)) == kGreen;
        EXPECT_LT(grid, 200 * 140 / 4);
    }
}

TEST(ChartText, TextsAreCutTo299Characters) {
    const std::string longText(400, 'W');
    platform::Bitmap a(4000, 30), b(4000, 30), c(4000, 30);
    const platform::Font font = platform::Font::Make("Times", 10);
    {
        platform::Canvas dc(a);
        dc.SelectFont(font);
        DrawTextClipped(dc, 0, 0, longText);
    }
    {
        platform::Canvas dc(b);
        DrawTextWithFont(dc, font, 0, 0, longText.substr(0, 299));
    }
    {
        platform::Canvas dc(c);
        DrawTextFormat(dc, font, 0, 0, "%s", longText.c_str());
    }
    EXPECT_EQ(a.Image(), b.Image());
    EXPECT_EQ(c.Image(), b.Image());

    platform::Canvas dc(a);
    int h1 = 0, h2 = 0;
    const int w1 = TextExtentWithFont(dc, &font, "AAA", h1);
    const int w2 = MeasureText(dc, nullptr, "AAAAAA", h2);
    EXPECT_GT(w1, 0);
    EXPECT_GT(h1, 0);
    EXPECT_EQ(h1, h2);
    EXPECT_GT(w2, w1);
}

}  // namespace
