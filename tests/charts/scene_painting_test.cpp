// Scene painters: colour rules, band and cell maps, clipping, net and axes.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/scene3d.h"
#include "charts_test_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/font.h"

using platform::Bitmap;
using platform::Canvas;
using platform::ColorRef;
using platform::kWhite;
using platform::Rgb;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const ColorRef kLow = Rgb(100, 0, 200), kHigh = Rgb(0, 255, 200);

// Flat mapping of world [x0, x1] x [y0, y1] onto a w x h bitmap, y upwards.
scene3d FlatScene(double x0, double x1, double y0, double y1, int w, int h) {
    scene3d s;
    s.mapXMin = x0, s.mapXMax = x1, s.mapYMin = y0, s.mapYMax = y1;
    s.mapPixelXMin = 0, s.mapPixelXMax = w, s.mapPixelYMax = 0, s.mapPixelYMin = h;
    s.ComputePlotScales();
    return s;
}

int Painted(Canvas& dc, int x0, int y0, int x1, int y1) {
    return charts_test::CountPixels(dc, {x0, y0, x1, y1}, [](ColorRef c) { return c != kWhite; });
}

TEST(ScenePainting, ColourRules) {
    const struct { double v; ColorRef band, cell; } rows[] = {
        {0, kLow, kLow},
        {1, kHigh, kHigh},
        // Red falls by 25.5: the band map truncates -25.5 to -25, the cell map 74.5 to 74.
        {0.255, Rgb(75, 65, 200), Rgb(74, 65, 200)},
        {2, Rgb(0, 255, 200), Rgb(0, 255, 200)},  // clamped channel by channel
        {-1, Rgb(200, 0, 200), Rgb(200, 0, 200)},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(BandColour(r.v, 0, 1, kLow, kHigh), r.band) << r.v;
        EXPECT_EQ(CellColour(r.v, 0, 1, kLow, kHigh), r.cell) << r.v;
    }
    EXPECT_EQ(BandColour(3, 3, 3, kLow, kHigh), kLow);  // flat range
}

TEST(ScenePainting, TriangleBands) {
    Bitmap bmp(200, 200);
    Canvas dc(bmp);
    const scene3d s = FlatScene(0, 10, 0, 10, 200, 200);
    // The triangle (0,0) (10,0) (0,10) with z at its corners, and the colour at world points.
    const std::vector<double> xs{0, 10, 0}, ys{0, 0, 10}, zs{0, 5, 10};
    auto at = [&](double x, double y) { return dc.GetPixel(s.WorldToPixelX(x), s.WorldToPixelY(y)); };
    const ColorRef fifth = BandColour(5, 0, 10, kLow, kHigh);
    auto negative = [](double level) { return BandColour(level, -2.5, 0.5, kLow, kHigh); };
    struct Pixel { double x, y; ColorRef colour; };
    const struct { std::vector<double> zs; int steps; double zMin, zMax; std::vector<Pixel> pixels; } cases[] = {
        // z = 0.5 x + y, bands of width 5: z 1.5 in [0, 5], 6.5 in [5, 10]; (7, 7) lies outside.
        {zs, 2, 0, 10, {{1, 1, kLow}, {1, 6, fifth}, {7, 7, kWhite}}},
        // Negative values: the first band starts at -3, below -2.5, in the low colour; z at the
        // pixels -2.275, -1.45, -0.025 and 0.365.
        {{-2.5, -1, 0.5}, 3, -2.5, 0.5,
         {{0.5, 0.5, kLow}, {2, 2.5, negative(-2)}, {0.5, 8, negative(-1)}, {0.5, 9.3, negative(0)}}},
        // Zero steps paint one band [0, 10] in the colour of its lower level.
        {zs, 0, 0, 10, {{1, 1, kLow}, {1, 8, kLow}}},
    };
    for (const auto& c : cases) {
        bmp.Fill(kWhite);
        s.PaintTriangles(dc, {triangle(0, 1, 2)}, xs, ys, c.zs, c.steps, kLow, kHigh, c.zMin, c.zMax);
        for (const Pixel& p : c.pixels) {
            EXPECT_EQ(at(p.x, p.y), p.colour) << c.steps << " steps at " << p.x << "," << p.y;
        }
    }

    // A triangle level inside one band; equal z everywhere paints nothing; NaN corners and
    // bad indices are passed over.
    bmp.Fill(kWhite);
    s.PaintTriangleBands(dc, triangle(0, 1, 2), xs, ys, {3, 3, 3}, kLow, kHigh, 0, 10, 5);
    EXPECT_EQ(at(2, 2), kLow);
    bmp.Fill(kWhite);
    s.PaintTriangles(dc, {triangle(0, 1, 2)}, xs, ys, {4, 4, 4}, 10, kLow, kHigh, 4, 4);
    s.PaintTriangles(dc, {triangle(0, 1, 2), triangle(0, 1, 7)}, xs, ys, {0, kNaN, 1}, 10, kLow, kHigh, 0, 1);
    EXPECT_EQ(Painted(dc, 0, 0, 200, 200), 0);
}

TEST(ScenePainting, CellMapAgainstBinnedMeans) {
    const auto [xs, ys, zs] = charts_test::ReadPointSets().at("cells");
    std::ifstream table(charts_test::OraclePath("cells.txt"));
    std::string word;
    double rect[4], zMin, zMax;
    int g = 0;
    table >> word >> rect[0] >> rect[1] >> rect[2] >> rect[3] >> word >> g >> zMin >> zMax;
    ASSERT_EQ(xs.size(), 1500u);

    const int size = 600;
    scene3d s = FlatScene(rect[0], rect[1], rect[2], rect[3], size, size);
    std::vector<l_stat_a> cells;
    double lo = 0, hi = 0;
    ASSERT_EQ(s.ComputeCells(xs, ys, zs, cells, lo, hi), g);
    EXPECT_DOUBLE_EQ(lo, zMin);
    EXPECT_DOUBLE_EQ(hi, zMax);
    Bitmap bmp(size, size);
    Canvas dc(bmp);
    ASSERT_EQ(s.PaintCellMap(dc, xs, ys, zs, 10, kLow, kHigh), 1);
    int i, j, count;
    double mean;
    int seen = 0, probed = 0;
    while (table >> i >> j >> count >> mean) {
        const l_stat_a& c = cells[static_cast<size_t>(j * g + i)];
        EXPECT_EQ(c.count, count) << i << "," << j;
        EXPECT_NEAR(c.mean, mean, 1e-12 * std::max(1.0, std::fabs(mean))) << i << "," << j;
        ++seen;
        // The cell's colour where no point square covers it.
        const double wx = rect[0] + (i + 0.5) * (rect[1] - rect[0]) / g;
        const double wy = rect[2] + (j + 0.5) * (rect[3] - rect[2]) / g;
        const int px = s.WorldToPixelX(wx), py = s.WorldToPixelY(wy);
        bool covered = false;
        for (size_t k = 0; k < xs.size() && !covered; ++k)
            covered = std::abs(s.WorldToPixelX(xs[k]) - px) <= 5 && std::abs(s.WorldToPixelY(ys[k]) - py) <= 5;
        if (covered) continue;
        EXPECT_EQ(dc.GetPixel(px, py), CellColour(mean, zMin, zMax, kLow, kHigh)) << i << "," << j;
        ++probed;
    }
    EXPECT_EQ(seen, g * g);
    EXPECT_GT(probed, g * g / 4);

    // The switch at 998 points and the 40-cell cap.
    std::vector<double> px(16000), py(16000), pz(16000);
    for (size_t k = 0; k < px.size(); ++k) px[k] = py[k] = pz[k] = static_cast<double>(k % 97);
    auto cellsFor = [&](size_t count) {
        std::vector<double> a(px.begin(), px.begin() + static_cast<long>(count)), b = a, c = a;
        return s.ComputeCells(a, b, c, cells, lo, hi);
    };
    EXPECT_EQ(cellsFor(997), 0);
    EXPECT_EQ(cellsFor(998), 9);
    EXPECT_EQ(cellsFor(16000), 40);
    bmp.Fill(kWhite);
    EXPECT_EQ(s.PaintCellMap(dc, std::vector<double>(997, 1.0), std::vector<double>(997, 3.0),
                             std::vector<double>(997, 0.0), 10, kLow, kHigh),
              0);
    EXPECT_EQ(s.PaintCellMap(dc, xs, ys, zs, -1, kLow, kHigh), 0);
    EXPECT_EQ(Painted(dc, 0, 0, size, size), 0);
}

TEST(ScenePainting, ClippedSegments) {
    Bitmap bmp(100, 100);
    Canvas dc(bmp);
    const struct { int x1, y1, x2, y2; std::vector<std::pair<int, int>> black, white; } rows[] = {
        {20, 20, 80, 20, {{50, 20}, {21, 20}}, {{81, 20}}},
        {50, 50, 150, 50, {{85, 50}, {89, 50}}, {{91, 50}, {95, 50}}},
        {150, 40, 50, 40, {{85, 40}}, {{95, 40}}},
        {0, 60, 100, 60, {{11, 60}, {50, 60}}, {{5, 60}, {95, 60}}},
        {0, 0, 5, 100, {}, {{2, 50}, {4, 90}}},
        {0, 20, 20, 0, {}, {{10, 10}, {12, 8}}},
    };
    for (const auto& r : rows) {
        bmp.Fill(kWhite);
        DrawClippedSegment(dc, r.x1, r.y1, r.x2, r.y2, 90, 90, 10, 10);
        for (auto [x, y] : r.black) EXPECT_NE(dc.GetPixel(x, y), kWhite) << r.x1 << "," << r.y1 << " at " << x;
        for (auto [x, y] : r.white) EXPECT_EQ(dc.GetPixel(x, y), kWhite) << r.x1 << "," << r.y1 << " at " << x;
    }
}

TEST(ScenePainting, NetAndAxesStayInTheirBounds) {
    Bitmap bmp(400, 300);
    Canvas dc(bmp);
    scene3d s;
    s.SetupView(-1, 1, -1, 1, -1, 1, 0, 0, 200, 150);
    s.PaintSurfaceNet(dc, {0, 0.5, 0.5}, 0, 0, -1, -1, 1, 1);  // no steps: nothing
    s.PaintSurfaceNet(dc, {0, 0.5, 0.5}, 0, 10, 1, -1, 1, 1);  // empty x range: nothing
    EXPECT_EQ(Painted(dc, 0, 0, 400, 300), 0);
    // A steep surface leaves the panel: it is clipped to the viewport.
    s.PaintSurfaceNet(dc, {0, 0, 0, 40, 40}, 1, 12, -1, -1, 1, 1);
    EXPECT_GT(Painted(dc, 0, 0, 201, 151), 100);
    EXPECT_EQ(Painted(dc, 202, 0, 400, 300) + Painted(dc, 0, 152, 202, 300), 0);

    bmp.Fill(kWhite);
    const platform::Font font = platform::Font::Make("Arial", 12);
    for (int ticks : {0, -3, 5, 1000000}) {
        s.PaintBoxAxes(dc, &font, -1, -1, -1, 1, 1, 1, ticks);
        s.PaintAxes(dc, nullptr, 0, 0, 0, -1, -1, -1, 1, 1, 1, ticks);
    }
    EXPECT_GT(Painted(dc, 0, 0, 200, 150), 200);
    EXPECT_EQ(dc.CurrentFont(), platform::Font());
}

}  // namespace
