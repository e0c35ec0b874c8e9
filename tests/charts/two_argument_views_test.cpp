// The painters of two-argument data through the scene, drawing into a small bitmap: points
// land where the camera projects them, the view is fitted to the data, the flat map colours
// its bands and its strip, and both stand aside when the view does not apply.
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts_test_support.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/peak_detection.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"

namespace {

using charts_test::CountColour;
using charts_test::Scoped;
using platform::Bitmap;
using platform::Canvas;
using platform::ColorRef;
using platform::Rgb;

constexpr ColorRef kPointColor = Rgb(200, 0, 0);

using charts_test::Records;

// Replaces the store by series of (x, y, z) records: two arguments and one value.
void LoadSeries(const std::vector<Records>& all) { charts_test::LoadSeries(all, {kPointColor, 0, 4}); }

Records Grid() {
    Records points;
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 5; ++i) points.push_back({double(i), double(j), i + 2.0 * j});
    }
    return points;
}

void ResetSchemes() {
    multistat& m = theMultistat;
    m.userDefinedFormula = m.unitaryArgument = m.bestPolynome = m.bestPolynomeAuto = 0;
    m.nearNeighbors = m.plane = m.parabolic = 0;
}

class TwoArgumentViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        plotLeft = 20, plotRight = 260, plotTop = 10, plotBottom = 190;
        theD3view.sceneRebuildRequest = 1;
        theD3view.viewportChanged = 0;
        theD3view.showNet = 0;
        ResetSchemes();
        theXyview.autozoom = 1;
        theXyview.stepPercent = 5;
        theXyview.colorSteps = 10;
        theXyview.lowColor = Rgb(0, 0, 255);
        theXyview.highColor = Rgb(255, 0, 0);
        state = TwoArgumentViewState{.seriesCount = 1, .arguments = 2, .values = 1, .view3D = 1, .mapSelection = 0};
    }
    void TearDown() override {
        ResetSchemes();
        theMultistat.plane = 1;
        theData.OnDeleteAll();
    }
    ColorRef At(int x, int y) const { return canvas.GetPixel(x, y); }
    // Where the painter put a world point: the projection, truncated, inside the plot.
    platform::Point Projected(const std::vector<double>& p) const {
        double px = 0, py = 0, size = 0, depth = 0;
        EXPECT_EQ(TheScene3d().ProjectPoint(p[0], p[1], p[2], px, py, size, depth), 1);
        return {plotLeft + static_cast<int>(px), plotTop + static_cast<int>(py)};
    }
    int CountOf(ColorRef c) const { return CountColour(canvas, c, {0, 0, bitmap.Width(), bitmap.Height()}); }
    bool Blank() const { return CountOf(platform::kWhite) == bitmap.Width() * bitmap.Height(); }
    // The colour of the flat map at a world point.
    ColorRef AtWorld(double x, double y) const {
        return At(plotLeft + TheScene3d().WorldToPixelX(x), plotTop + TheScene3d().WorldToPixelY(y));
    }

    platform::ScriptedDialogs dialogs;
    Scoped<scene3d> scene_{TheScene3d()};
    Scoped<int> gridEdit_{theChart.gridWidthEdit, 0};  // no axes over the points
    Scoped<int> colorMap_{theXyview.colorMapMode, 0};
    Bitmap bitmap{320, 220};
    Canvas canvas{bitmap};
    TwoArgumentViewState state;
};

TEST_F(TwoArgumentViewsTest, ThreeDimensionalPointsLandAtTheirProjections) {
    const Records grid = Grid();
    LoadSeries({grid});
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    const scene3d& s = TheScene3d();
    EXPECT_EQ(std::tie(sceneXMin, sceneXMax, sceneYMax, sceneZMax), std::make_tuple(0.0, 4.0, 4.0, 12.0));
    EXPECT_EQ(std::tie(s.halfWidth, s.halfHeight), std::make_tuple(120.0, 90.0));
    // The camera the painter used is on the page.
    EXPECT_EQ(std::tie(theD3view.zoom, theD3view.eyeX, theD3view.azimuth), std::tie(s.zoom, s.eyeX, s.azimuth));

    // Each point is drawn at its projection; the farthest sits at 1/1.1 of the half viewport
    // from the centre.
    double farthest = 0;
    for (const auto& p : grid) {
        double px = 0, py = 0, size = 0, depth = 0;
        ASSERT_EQ(s.ProjectPoint(p[0], p[1], p[2], px, py, size, depth), 1);
        farthest = std::max({farthest, std::fabs(px - s.halfWidth) / s.halfWidth,
                             std::fabs(py - s.halfHeight) / s.halfHeight});
        EXPECT_EQ(At(plotLeft + static_cast<int>(px), plotTop + static_cast<int>(py)), kPointColor) << p[0] << p[1];
    }
    EXPECT_NEAR(farthest, 1 / 1.1, 1e-9);

    // A second paint keeps the camera; several series go through the depth-sorted buffer.
    const double zoom = s.zoom;
    Records shifted = grid;
    for (auto& p : shifted) p[2] += 1;
    LoadSeries({grid, shifted});
    state.seriesCount = 2;
    bitmap.Fill(platform::kWhite);
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_EQ(s.zoom, zoom);
    for (const auto& p : shifted) {
        const platform::Point q = Projected(p);
        EXPECT_EQ(At(q.x, q.y), kPointColor);
    }

    // The net adds lines in the value's colour.
    const int withoutNet = CountOf(kPointColor);
    theD3view.showNet = 1;
    bitmap.Fill(platform::kWhite);
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_GT(CountOf(kPointColor), withoutNet);
}

TEST_F(TwoArgumentViewsTest, FittedSurfacesAreDrawnAsANet) {
    LoadSeries({Grid()});
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    const int pointsOnly = CountOf(kPointColor);
    std::vector<int> kinds;
    TheSurfaceFitter() = [&kinds](const std::vector<double>&, const std::vector<double>&, const std::vector<double>&,
                                  std::vector<double>& c, std::vector<double>& d, int kind) {
        kinds.push_back(kind);
        c = {1, 1, 2, 0, 0};  // z = 1 + x + 2y
        c.resize(kind == 0 ? 3 : 5);
        d.assign(c.size(), 0.1);
        return 0.5;
    };
    theMultistat.plane = 1;
    bitmap.Fill(platform::kWhite);
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_GT(CountOf(kPointColor), pointsOnly);
    EXPECT_DOUBLE_EQ(planeFitMeasure, 0.5);
    EXPECT_DOUBLE_EQ(planeFitCriterion, std::pow(0.5, 0.25) + 0.1 + 0.1 + 0.05);
    EXPECT_EQ(planeRelativeErrors, (std::vector<double>{0.1, 0.1, 0.05}));
    // A net point: the plane over the series' extent in steps of 0.2.
    const platform::Point q = Projected({3.4, 0.6, 1 + 3.4 + 1.2});
    EXPECT_EQ(At(q.x, q.y), kPointColor);
    theMultistat.plane = 0;
    theMultistat.parabolic = 1;
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_EQ(kinds, (std::vector<int>{0, 1}));
    // The coefficients at zero add no relative error and 1e46 each to the criterion.
    EXPECT_EQ(parabolicRelativeErrors, (std::vector<double>{0.1, 0.1, 0.05}));
    EXPECT_DOUBLE_EQ(parabolicFitCriterion, std::pow(0.5, 0.25) + 0.25 + 2e46);
    TheSurfaceFitter() = FitSurface;
}

TEST_F(TwoArgumentViewsTest, ZoomFitOfPointsAtTheCentreKeepsAUsableZoom) {
    // Every point at the box centre: the farthest lies at distance 0 from it, and the zoom
    // rule would divide by 0.
    LoadSeries({Records(6, {1, 1, 1})});
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_TRUE(std::isfinite(TheScene3d().zoom));
    EXPECT_GT(TheScene3d().zoom, 0);
    EXPECT_EQ(theD3view.sceneRebuildRequest, 0);
}

TEST_F(TwoArgumentViewsTest, EngineFitsThePlaneOfTheData) {
    LoadSeries({Grid()});  // z = x + 2y exactly
    theMultistat.plane = 1;
    planeFitMeasure = 1;
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_NEAR(planeFitMeasure, 0, 1e-12);
    // Five records are too few for the parabolic surface: it is neither drawn nor rated.
    parabolicFitMeasure = 7;
    theMultistat.plane = 0;
    theMultistat.parabolic = 1;
    LoadSeries({{{0, 0, 1}, {1, 0, 2}, {0, 1, 3}, {1, 1, 5}, {2, 2, 9}}});
    ASSERT_EQ(PaintTwoArgument3D(canvas, state), 1);
    EXPECT_EQ(parabolicFitMeasure, 7);
}

TEST_F(TwoArgumentViewsTest, ViewsStandAsideWhenTheyDoNotApply) {
    LoadSeries({Grid()});
    using Painter = int (*)(platform::Canvas&, const TwoArgumentViewState&);
    const struct { const char* what; Painter paint; void (*change)(TwoArgumentViewState&); } cases[] = {
        {"plane view", PaintTwoArgument3D, [](TwoArgumentViewState& s) { s.view3D = 0; }},
        {"one argument", PaintTwoArgument3D, [](TwoArgumentViewState& s) { s.arguments = 1; }},
        {"no value", PaintTwoArgument3D, [](TwoArgumentViewState& s) { s.values = 0; }},
        {"no series", PaintTwoArgument3D, [](TwoArgumentViewState& s) { s.seriesCount = 0; }},
        {"polynomial search", PaintTwoArgument3D, [](TwoArgumentViewState&) { theMultistat.bestPolynome = 1; }},
        {"near neighbours", PaintTwoArgument3D, [](TwoArgumentViewState&) { theMultistat.nearNeighbors = 1; }},
        {"empty plot", PaintTwoArgument3D, [](TwoArgumentViewState&) { plotRight = plotLeft; }},
        {"map in the 3-D view", PaintTwoArgumentMap, [](TwoArgumentViewState&) { theXyview.colorMapMode = 1; }},
        {"map switched off", PaintTwoArgumentMap,
         [](TwoArgumentViewState& s) {
             s.view3D = 0;
             theXyview.colorMapMode = 0;
         }},
        {"sized points in the 3-D view", PaintTwoArgumentPoints, [](TwoArgumentViewState&) {}},
        {"sized points under the map", PaintTwoArgumentPoints,
         [](TwoArgumentViewState& s) {
             s.view3D = 0;
             theXyview.colorMapMode = 1;
         }},
    };
    for (const auto& c : cases) {
        SetUp();
        c.change(state);
        EXPECT_EQ(c.paint(canvas, state), 0) << c.what;
        EXPECT_TRUE(Blank()) << c.what;
        EXPECT_EQ(theD3view.sceneRebuildRequest, 1) << c.what;
    }
}

TEST_F(TwoArgumentViewsTest, FlatMapBandsStripAndRanges) {
    LoadSeries({Grid()});
    theXyview.colorMapMode = 1;
    state.view3D = 0;
    ASSERT_EQ(PaintTwoArgumentMap(canvas, state), 1);
    // Autozoom: the data ranges with a 5 % margin on x and y go back to the View page.
    charts_test::ExpectViewRanges(-0.2, 4.2, -0.2, 4.2);
    EXPECT_DOUBLE_EQ(theXyview.zMin, 0);
    EXPECT_DOUBLE_EQ(theXyview.zMax, 12);

    // Beside the lowest corner the first band has the low colour itself; outside the
    // points the plot area stays.
    EXPECT_EQ(AtWorld(0.1, 0.1), theXyview.lowColor);
    EXPECT_EQ(AtWorld(-0.1, 2.3), theChart.chartAreaColor);

    // The strip: band 0 at the bottom in the low colour, band 9 at the top.
    EXPECT_EQ(At(plotRight + 55, plotBottom - 2), theXyview.lowColor);
    EXPECT_EQ(At(plotRight + 55, plotTop + 2), Rgb(229, 0, 26));

    // No entry chosen: background and frame, no map.
    state.mapSelection = -1;
    bitmap.Fill(platform::kWhite);
    ASSERT_EQ(PaintTwoArgumentMap(canvas, state), 1);
    EXPECT_EQ(AtWorld(0.1, 0.1), theChart.chartAreaColor);
}

TEST_F(TwoArgumentViewsTest, FlatMapOfManyPointsIsACellMap) {
    Records points;
    for (int i = 0; i < 1000; ++i) points.push_back({(i % 40) * 0.1, (i / 40) * 0.1, double(i)});
    LoadSeries({points});
    theXyview.colorMapMode = 1;
    state.view3D = 0;
    ASSERT_EQ(PaintTwoArgumentMap(canvas, state), 1);
    // Every point is a square in its own colour over the cells; the last one lies on top.
    EXPECT_EQ(AtWorld(3.9, 2.4), CellColour(999, 0, 999, theXyview.lowColor, theXyview.highColor));
}

TEST_F(TwoArgumentViewsTest, PointsAreSizedByValueWithAScale) {
    // Two series; the second one's larger values widen the z range of both.
    Records second = Grid();
    for (auto& p : second) p[2] += 12;
    LoadSeries({Grid(), second, {{0, 0, 1}, {1, 1, 2}, {2, 2, 3}, {3, 3, 4}}});  // the last is too short
    state.view3D = 0;
    state.seriesCount = 3;
    theXyview.stepPercent = 0;
    ASSERT_EQ(PaintTwoArgumentPoints(canvas, state), 1);
    // No margin with a step of 0; the y range is back after the scale.
    charts_test::ExpectDoubles({{"x min", theXyview.xMin, 0}, {"x max", theXyview.xMax, 4},
                                {"z min", theXyview.zMin, 0}, {"z max", theXyview.zMax, 24}, {"y", plotYMax, 4}});
    // The largest value (24 at (4, 4)) gets the largest mark: size 10 reaches 10 pixels out.
    const int px = WorldToPixelX(4), py = WorldToPixelY(4);
    EXPECT_EQ(At(px - 9, py), kPointColor);
    // The smallest (0 at (0, 0)) a mark of size 0, a dot.
    EXPECT_NE(At(WorldToPixelX(0) + 5, WorldToPixelY(0) - 5), kPointColor);
    // The scale: 11 black markers in the column right of the plot, the top one largest.
    plotYMin = 0, plotYMax = 24;
    ComputePlotScales();
    EXPECT_EQ(At(plotRight + 61 - 9, WorldToPixelY(24)), platform::kBlack);
    EXPECT_NE(At(plotRight + 61 - 9, WorldToPixelY(0)), platform::kBlack);

    // Without Autozoom a point outside the View ranges is not drawn, one on the bound is.
    bitmap.Fill(platform::kWhite);
    theXyview.autozoom = 0;
    theXyview.xMin = 0, theXyview.xMax = 3.5, theXyview.yMin = 0, theXyview.yMax = 4;
    theXyview.zMin = 0, theXyview.zMax = 24;
    ASSERT_EQ(PaintTwoArgumentPoints(canvas, state), 1);
    EXPECT_NE(At(WorldToPixelX(4) - 9, WorldToPixelY(4)), kPointColor);
    EXPECT_EQ(At(WorldToPixelX(3) - 8, WorldToPixelY(4)), kPointColor);  // (3, 4): 23 in the second
}

// The band map of a plane z = x + 2y against a rasterisation of its own: whatever the
// triangulation, interpolation over its triangles gives the plane itself, so every pixel
// inside the points' square has the colour of the band its z falls in. Pixels within reach
// of a band edge or of the square's border are left out.
TEST_F(TwoArgumentViewsTest, BandMapMatchesAnIndependentRasterisation) {
    Records points;
    for (int j = 0; j <= 8; ++j) {
        for (int i = 0; i <= 8; ++i) {
            // Inner points off the lattice, so that no four of them share a circle.
            const bool inner = i > 0 && i < 8 && j > 0 && j < 8;
            const double x = i * 0.5 + (inner ? 0.13 * std::sin(i * 7.0 + j) : 0);
            const double y = j * 0.5 + (inner ? 0.11 * std::cos(i * 3.0 + j * 5.0) : 0);
            points.push_back({x, y, x + 2 * y});
        }
    }
    LoadSeries({points});
    theXyview.colorMapMode = 1;
    theXyview.colorSteps = 7;
    state.view3D = 0;
    const Scoped<int> noGrid(theChart.gridWidth, 0);  // no grid lines over the map
    ASSERT_EQ(PaintTwoArgumentMap(canvas, state), 1);
    const double xMin = theXyview.xMin, xMax = theXyview.xMax, yMin = theXyview.yMin, yMax = theXyview.yMax;
    const int w = plotRight - plotLeft, h = plotBottom - plotTop;
    const double zMin = 0, zMax = 12, band = (zMax - zMin) / 7;
    const double perPixelX = (xMax - xMin) / w, perPixelY = (yMax - yMin) / h;
    const double dzPerPixel = perPixelX + 2 * perPixelY;
    auto channel = [&](int low, int high, double v) {
        const int c = low + static_cast<int>(std::trunc(v * (high - low) / (zMax - zMin)));
        return std::clamp(c, 0, 255);
    };
    const ColorRef lo = theXyview.lowColor, hi = theXyview.highColor;
    int compared = 0, equal = 0, uncovered = 0;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const double x = xMin + (px + 0.5) * perPixelX;
            const double y = yMax - (py + 0.5) * perPixelY;
            if (x < 3 * perPixelX || x > 4 - 3 * perPixelX || y < 3 * perPixelY || y > 4 - 3 * perPixelY) continue;
            const double z = x + 2 * y;
            const double m = std::floor(z / band);
            if (z - m * band < 3 * dzPerPixel || (m + 1) * band - z < 3 * dzPerPixel) continue;
            const double start = m * band;
            const ColorRef want =
                start > zMax ? hi
                             : platform::Rgb(channel(platform::RedOf(lo), platform::RedOf(hi), start - zMin),
                                             channel(platform::GreenOf(lo), platform::GreenOf(hi), start - zMin),
                                             channel(platform::BlueOf(lo), platform::BlueOf(hi), start - zMin));
            const ColorRef got = At(plotLeft + px, plotTop + py);
            // The triangulation may leave a sliver at a corner of the points' hull uncovered.
            if (got == theChart.chartAreaColor) {
                ++uncovered;
                continue;
            }
            ++compared;
            equal += got == want;
        }
    }
    EXPECT_GT(compared, w * h / 4);
    EXPECT_EQ(equal, compared);
    EXPECT_LT(uncovered, compared / 100);
}

}  // namespace
