#include "charts/distribution_curves.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "charts_test_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "statistics/erlang.h"
#include "statistics/poisson.h"
#include "statistics/student.h"

namespace {

constexpr platform::ColorRef kPen = platform::Rgb(200, 0, 0);

class CurvesTest : public ::testing::Test {
protected:
    // Maps [x0, x1] x [y0, y1] onto the plot and clears the picture.
    void Map(double x0, double x1, double y0, double y1) {
        plotLeft = 10, plotRight = 410, plotBottom = 210, plotTop = 10;
        plotXMin = x0, plotXMax = x1, plotYMin = y0, plotYMax = y1;
        ComputePlotScales();
        bmp_.Fill(platform::kWhite);
    }
    // Every point but the last starts a segment, so its pixel carries the pen colour.
    void ExpectThrough(double x, double value, int yOffset) {
        const int px = WorldToPixelX(x), py = WorldToPixelY(value) + yOffset;
        EXPECT_EQ(dc_.GetPixel(px, py), kPen) << "x " << x << " value " << value;
    }
    int CountPen(int x0, int x1) { return charts_test::CountColour(dc_, kPen, {x0, 0, x1, bmp_.Height()}); }

    platform::Bitmap bmp_{420, 260};
    platform::Canvas dc_{bmp_};
    void SetUp() override { dc_.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, kPen)); }
};

TEST_F(CurvesTest, StudentCurveFollowsTheDistribution) {
    const double mean = 10, sd = 2, width = 0.5;
    const int n = 50;
    for (int cumulative : {0, 1}) {
        Map(0, 20, 0, cumulative ? 55 : 6);
        DrawStudentCurve(dc_, mean, sd, n, width, 7, cumulative);
        const double h = 0.2;
        for (int i = 0; i < 100; ++i) {
            const double x = i * h;
            const double below = StudentCdf(n - 1, (x - mean) / sd);
            const double value =
                cumulative ? n * below : n * width * (StudentCdf(n - 1, (x + h - mean) / sd) - below) / h;
            ExpectThrough(x, value, 7);
        }
    }
}

TEST_F(CurvesTest, PoissonAndErlangCurvesAtWholeNumbers) {
    using Draw = std::function<void(platform::Canvas&, int cumulative)>;
    struct Case { const char* name; Draw draw; std::function<double(int)> probability; };
    const Case cases[] = {
        {"poisson", [](platform::Canvas& dc, int c) { DrawPoissonCurve(dc, 4, 100, 1, -5, c); },
         [](int k) { return std::exp(-4.0) * std::pow(4.0, k) / std::tgamma(k + 1.0); }},
        // mean 6, deviation 3: shape 4, scale 1.5
        {"erlang", [](platform::Canvas& dc, int c) { DrawErlangCurve(dc, 6, 3, 100, 1, -5, c); },
         [](int k) { return std::pow(k, 3) * std::exp(-k / 1.5) / (std::pow(1.5, 4) * 6); }},
    };
    for (const Case& c : cases) {
        for (int cumulative : {0, 1}) {
            Map(-1, 20, 0, cumulative ? 110 : 25);  // step 1 + trunc(20/100) = 1
            c.draw(dc_, cumulative);
            SCOPED_TRACE(c.name);
            ExpectThrough(0, 0, -5);  // the first segment rises from the world origin
            double total = 0;
            for (int k = 0; k < 19; ++k) {
                const double p = c.probability(k);
                total += p * 100;
                ExpectThrough(k, cumulative ? total : 100 * p, -5);
            }
        }
    }
}

TEST_F(CurvesTest, NothingRightOfTheOriginDrawsOnlyTheMove) {
    Map(-10, 0, 0, 1);
    DrawPoissonCurve(dc_, 3, 10, 1, 0, 0);
    EXPECT_EQ(CountPen(0, bmp_.Width()), 0);
}

TEST_F(CurvesTest, WalksEndOnRangesBeyondTheSpacingOfDoubles) {
    // Each walk returns, and what it draws stays on the plot's columns.
    struct Case { const char* name; double x0, x1; std::function<void(platform::Canvas&)> draw; };
    const Case cases[] = {
        {"steps that do not move x", 1e15, 1e15 + 1e-3,
         [](platform::Canvas& dc) { DrawStudentCurve(dc, 1e15, 1, 10, 1, 0, 0); }},
        {"whole numbers beyond int", 0, 1e300, [](platform::Canvas& dc) { DrawPoissonCurve(dc, 5, 10, 1, 0, 1); }},
        {"Erlang over the same", 0, 1e300, [](platform::Canvas& dc) { DrawErlangCurve(dc, 5, 1, 10, 1, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Map(c.x0, c.x1, 0, 1);
        c.draw(dc_);
        EXPECT_EQ(CountPen(0, plotLeft - 1) + CountPen(plotRight + 2, bmp_.Width()), 0);
    }
}

TEST_F(CurvesTest, StudentWalkEndsAtTheRightEdge) {
    // Steps of 0.01 summed a hundred times overshoot 1: the walk still draws its last point
    // at plotXMax.
    Map(0, 1, 0, 10);
    DrawStudentCurve(dc_, 0.5, 0.2, 10, 0.1, 0, 0);
    EXPECT_EQ(dc_.CurrentPosition().x, WorldToPixelX(1.0));
}

}  // namespace
