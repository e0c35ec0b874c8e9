// The power-series curve and the peak markers drawn through the plot mapping.
#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "fitting/peak_painters.h"
#include "fitting/power_series_curve.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

class FitCurvesTest : public ::testing::Test {
protected:
    void SetUp() override {
        plotLeft = 0, plotRight = 100, plotTop = 0, plotBottom = 100;
        plotXMin = 0, plotXMax = 10, plotYMin = 0, plotYMax = 10;
        ComputePlotScales();
    }
    // Black pixels in the column band [x0, x1) of the whole height.
    static int Inked(platform::Canvas& dc, int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 101; ++y)
                n += dc.GetPixel(x, y) == platform::kBlack;
        return n;
    }
};

TEST_F(FitCurvesTest, PowerSeriesStaysInsideItsBand) {
    struct Case { std::vector<double> coefficients; double yHigh; bool inked; };
    for (const Case& c : std::vector<Case>{{{5.0}, 8.0, true},       // inside: a line
                                           {{8.0}, 8.0, false},      // on yHigh: no segment touches it
                                           {{9.0, -0.2}, 8.0, true},  // enters the band at x = 5
                                           {{5.0}, 5.0 - 1e-12, false}}) {
        platform::Bitmap bitmap(101, 101);
        platform::Canvas dc(bitmap);
        PaintPowerSeriesCurve(dc, 0.0, 10.0, 0.0, c.yHigh, 50, c.coefficients);
        EXPECT_EQ(Inked(dc, 0, 101) > 0, c.inked) << c.coefficients[0];
        if (c.coefficients.size() == 2) {
            EXPECT_EQ(Inked(dc, 0, 49), 0);  // above the band until x = 5
            EXPECT_GT(Inked(dc, 55, 101), 0);
        }
    }
    platform::Bitmap bitmap(101, 101);
    platform::Canvas dc(bitmap);
    PaintPowerSeriesCurve(dc, 3.0, 3.0, 0.0, 10.0, 50, {5.0});  // no range: nothing
    PaintPowerSeriesCurve(dc, 0.0, 10.0, 0.0, 10.0, 0, {5.0});  // no steps: nothing
    EXPECT_EQ(Inked(dc, 0, 101), 0);
}

TEST_F(FitCurvesTest, PeakMarkersScaleWithHeight) {
    peakSignal high, low;
    high.centre = 3, high.sigma = 0.5, high.area = 4;
    low.centre = 7, low.sigma = 0.5, low.area = 2;
    platform::Bitmap bitmap(101, 101);
    platform::Canvas dc(bitmap);
    PaintPeakMarkers(dc, {high, low});
    // From 1 % of the height up to 22 % for the first peak and 12 % for one half as high.
    EXPECT_NEAR(Inked(dc, 30, 31), 21, 2);
    EXPECT_NEAR(Inked(dc, 70, 71), 11, 2);
}

}  // namespace
