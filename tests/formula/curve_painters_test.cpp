// Model and formula curves: the x steps they visit, the plot range they widen, and where
// the pen moves and draws.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "charts/plot_mapping.h"
#include "formula/curve_painters.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/pen.h"
#include "statistics/math_domain.h"

namespace {

// World [0, 1] x [0, 1] on pixels 0..100, y upwards.
void UnitMapping() {
    plotLeft = plotTop = 0;
    plotRight = plotBottom = 100;
    plotMarginTop = 3;
    plotXMin = plotYMin = 0;
    plotXMax = plotYMax = 1;
    ComputePlotScales();
}

struct Sheet {
    platform::Bitmap bitmap{101, 101};
    platform::Canvas dc{bitmap};
    Sheet() { dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, platform::kBlack)); }
    bool Black(double x, double y) {
        return dc.GetPixel(WorldToPixelX(x), WorldToPixelY(y)) == platform::kBlack;
    }
};

TEST(CurveRange, StepsAndFailedPoints) {
    const std::vector<double> one{1};
    ResetPlotRanges();
    UserModelCurveRange(0, 1, 200, one, 1, "y", {"x"});
    EXPECT_EQ(plotYMin, 0.0);  // the model range starts at x = from
    EXPECT_GE(plotYMax, 0.995);
    EXPECT_LE(plotYMax, 1.0);

    ResetPlotRanges();
    FormulaCurveRange("x", "x", 0, 1, 200, 0);
    EXPECT_EQ(plotYMin, 0.005);  // the formula range starts one step in

    // A formula that fails everywhere still widens to its offset; a failing model does not.
    ResetPlotRanges();
    FormulaCurveRange("ln(0-1)", "x", 0, 1, 200, 7);
    EXPECT_EQ(std::tuple(plotYMin, plotYMax), std::tuple(7.0, 7.0));
    ResetPlotRanges();
    UserModelCurveRange(0, 1, 200, one, 1, "y", {"ln(0-x-1)"});
    UserModelCurveRange(0, 1, 200, one, 1, "ln(y-1)", {"x"});
    EXPECT_EQ(std::tuple(plotYMin, plotYMax), std::tuple(kPlotRangeEmptyMin, kPlotRangeEmptyMax));

    // Degenerate walks end: an empty interval, a reversed one, no steps.
    UserModelCurveRange(1, 1, 200, one, 1, "y", {"x"});
    UserModelCurveRange(0, 1, 0, one, 1, "y", {"x"});
    EXPECT_EQ(plotYMax, kPlotRangeEmptyMax);
    FormulaCurveRange("x", "x", 2, 1, 200, 0);
    FormulaCurveRange("x", "x", 1e20, 1e20 + 1, 200, 0);  // steps lost against x
    FormulaCurveRange("x", "x", 1, 1, 200, 0);
    EXPECT_EQ(plotYMax, 1e20);
}

TEST(CurvePainting, ModelStartsWithTheMoveAndFormulaDrawsFromIt) {
    UnitMapping();
    {
        Sheet s;
        penUp = 0;
        // F fails at y = 1, which the painter does not evaluate: the model is drawn.
        PaintUserModelCurve(s.dc, 0, 1, 2, {1}, 1, "ln(y-1)", {"x"});
        EXPECT_FALSE(s.Black(0.25, 0.25));  // the pen stays up after the first point
        EXPECT_TRUE(s.Black(0.75, 0.75));
        EXPECT_EQ(penUp, 0);
    }
    {
        Sheet s;
        penUp = 0;
        PaintFormulaCurve(s.dc, 0, 1, 2, "t", "t", 0);
        EXPECT_TRUE(s.Black(0.25, 0.25));
        EXPECT_TRUE(s.Black(0.75, 0.75));
    }
    {
        // A domain error in the middle lifts the pen around that point.
        Sheet s;
        penUp = 0;
        PaintFormulaCurve(s.dc, 0, 1, 4, "sqrt(abs(x-0.5)-0.1)-sqrt(abs(x-0.5)-0.1)+x", "x", 0);
        EXPECT_EQ((std::vector<bool>{s.Black(0.12, 0.12), s.Black(0.37, 0.37), s.Black(0.63, 0.63),
                                     s.Black(0.88, 0.88)}),
                  (std::vector<bool>{true, false, false, true}));
    }
    {
        Sheet s;
        PaintUserModelCurve(s.dc, 1, 0, 10, {1}, 1, "y", {"x"});
        PaintFormulaCurve(s.dc, 1, 1, 10, "x", "x", 0);
        for (double v : {0.0, 0.5, 1.0}) EXPECT_FALSE(s.Black(v, v));
    }
    mathDomainError = 0;
}

}  // namespace
