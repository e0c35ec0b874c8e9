#include "charts/plot_mapping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "statistics/math_domain.h"

namespace {

void SetMapping(int left, int right, int bottom, int top, double x0, double x1, double y0, double y1) {
    plotLeft = left, plotRight = right, plotBottom = bottom, plotTop = top;
    plotMarginTop = 3;
    plotXMin = x0, plotXMax = x1, plotYMin = y0, plotYMax = y1;
    ComputePlotScales();
}

TEST(PlotMapping, ChartFrameTakesViewRangesOrResets) {
    const PlotViewRanges view{1, 2, 3, 4, 5, 6};
    SetChartFrame(400, -300, 0, view);
    EXPECT_EQ(std::tie(plotLeft, plotTop, plotRight, plotBottom, plotFrameRight, plotFrameBottom),
              std::make_tuple(0, 0, 400, 300, 405, 300));
    EXPECT_EQ(std::tie(plotMarginLeft, plotMarginTop), std::make_tuple(5, 3));
    EXPECT_EQ(std::tie(plotXMin, plotXMax, plotYMin, plotYMax, plotZMin, plotZMax),
              std::make_tuple(1.0, 2.0, 3.0, 4.0, 5.0, 6.0));

    SetChartFrame(400, 300, 1, view);
    for (double min : {plotXMin, plotYMin, plotZMin}) EXPECT_EQ(min, 1e60);
    for (double max : {plotXMax, plotYMax, plotZMax}) EXPECT_EQ(max, -1e60);
}

TEST(PlotMapping, ExtendAndMinMax) {
    ResetPlotRanges();
    ExtendXRange({});
    EXPECT_EQ(std::tie(plotXMin, plotXMax), std::make_tuple(1e60, -1e60));
    ExtendXRange({3});
    EXPECT_EQ(std::tie(plotXMin, plotXMax), std::make_tuple(3.0, 3.0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ExtendYRange({nan, 2, -inf, -1, inf});
    EXPECT_EQ(std::tie(plotYMin, plotYMax), std::make_tuple(-1.0, 2.0));
    ExtendZRange({7, 5});
    EXPECT_EQ(std::tie(plotZMin, plotZMax), std::make_tuple(5.0, 7.0));

    double lo = 9, hi = 9;
    MinMaxOfArray({}, lo, hi);
    EXPECT_EQ(std::tie(lo, hi), std::make_tuple(0.0, 0.0));
    MinMaxOfArray({4, nan, -2, 8}, lo, hi);
    EXPECT_EQ(std::tie(lo, hi), std::make_tuple(-2.0, 8.0));
}

TEST(PlotMapping, WorldToPixelTruncatesTowardZero) {
    SetMapping(0, 400, 300, 0, 0, 10, 0, 3);
    for (auto [x, px] : {std::pair{2.5, 100}, {2.49, 99}, {-0.01, 0}}) EXPECT_EQ(WorldToPixelX(x), px) << x;
    EXPECT_DOUBLE_EQ(plotScaleY, -100);
    EXPECT_EQ(plotYDirection, 1.0);
    EXPECT_EQ(WorldToPixelY(1), 200);
    EXPECT_DOUBLE_EQ(PixelToWorldY(203), 1.0);
    // Far outside and not-a-number positions stay far outside the bitmap, without overflow.
    EXPECT_LT(WorldToPixelX(-1e300), -100000);
    EXPECT_GT(WorldToPixelX(1e300), 100000);
    EXPECT_LT(WorldToPixelX(std::numeric_limits<double>::quiet_NaN()), -100000);
}

TEST(PlotMapping, PixelWorldRoundTrips) {
    struct Case { int left, right, bottom, top; double x0, x1, y0, y1; };
    const Case cases[] = {{0, 400, 300, 0, 0, 10, 0, 3},
                          {40, 640, 460, 25, -1e-6, 3e-6, 1e5, 1e7},
                          {10, 110, 20, 220, -50, 50, -2, 2}};  // y growing downwards
    for (const Case& c : cases) {
        SetMapping(c.left, c.right, c.bottom, c.top, c.x0, c.x1, c.y0, c.y1);
        // Pixel centres map back to their pixel; the world value of an edge is exact.
        EXPECT_EQ(PixelToWorldX(c.left), c.x0);
        for (int px = c.left; px <= c.right; px += 7) {
            EXPECT_EQ(WorldToPixelX(PixelToWorldX(px) + 0.5 / plotScaleX), px) << px;
        }
        const int lo = std::min(c.bottom, c.top), hi = std::max(c.bottom, c.top);
        for (int py = lo; py <= hi; py += 5) {
            const double y = PixelToWorldY(py + plotMarginTop) + 0.5 / plotScaleY;
            EXPECT_EQ(WorldToPixelY(y), py) << py;
        }
        EXPECT_EQ(WorldToPixelX(c.x1), c.right);
    }
}

TEST(PlotMapping, EmptyPixelRangeGivesMinimum) {
    SetMapping(5, 5, 7, 7, 1, 2, 3, 4);
    EXPECT_EQ(PixelToWorldX(100), 1);
    EXPECT_EQ(PixelToWorldY(100), 3);
}

TEST(PlotMapping, ZeroWidthRangeIsWidenedByAFixedAmount) {
    struct Case { double v, halfAtLeast; };
    for (const Case c : {Case{0, 0.5}, Case{3, 0.5}, Case{1e20, 1e7}}) {
        SetMapping(0, 100, 100, 0, c.v, c.v, c.v, c.v);
        EXPECT_LT(plotXMin, c.v);
        EXPECT_GE(plotXMax - c.v, c.halfAtLeast);
        EXPECT_TRUE(std::isfinite(plotScaleX) && std::isfinite(plotScaleY));
        EXPECT_NEAR(WorldToPixelX(c.v), 50, 1);
        EXPECT_NEAR(WorldToPixelY(c.v), 50, 1);
    }
}

TEST(PlotMapping, NiceTickSteps) {
    struct Case { double range, step; };
    const Case cases[] = {{1.2, 1},   {1.6, 2},    {4, 5},     {8, 10},      {0.3, 0.2},  {14, 10},
                          {15, 20},   {100, 100},  {10.0 / 6, 2}, {1.0 / 6, 0.2}, {0.05, 0.05},
                          {2e-7, 2e-7}, {3.3e8, 5e8}, {0.009, 0.01}};
    for (const Case& c : cases) EXPECT_EQ(NiceTickStep(c.range), c.step) << c.range;
    EXPECT_EQ(NiceTickStep(0), 0);
    EXPECT_TRUE(std::isnan(NiceTickStep(-1)));
}

TEST(PlotMapping, CurveBreaksAtADomainError) {
    platform::Bitmap bmp(60, 20);
    platform::Canvas dc(bmp);
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, platform::kBlack));
    mathDomainError = 0;
    penUp = 1;
    const int xs[] = {5, 15, 25, 35, 45};
    for (int i = 0; i < 5; ++i) {
        mathDomainError = i == 2;
        PlotPointPixel(dc, xs[i], 10);
    }
    mathDomainError = 0;
    // The line to point 2 leaves out its end pixel (15); nothing goes to or from the failed
    // point 3 (20, 30); a new stretch runs from point 4 to point 5 (35 to 44).
    const std::pair<int, bool> pixels[] = {{5, true},   {14, true}, {15, false}, {20, false},
                                           {30, false}, {35, true}, {44, true}};
    for (auto [x, black] : pixels) EXPECT_EQ(dc.GetPixel(x, 10) == platform::kBlack, black) << x;
    EXPECT_EQ(penUp, 0);

    // A world point that is not a number lifts the pen like a domain error.
    SetMapping(0, 60, 20, 0, 0, 60, 0, 20);
    penUp = 1;
    PlotPointWorld(dc, 1, 5);
    PlotPointWorld(dc, std::numeric_limits<double>::quiet_NaN(), 5);
    EXPECT_EQ(penUp, 1);
}

}  // namespace
