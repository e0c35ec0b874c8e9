// The kinds of drag on the chart, the plot-rectangle test and the mapping into the chart image.
#include <tuple>

#include <gtest/gtest.h>

#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"

namespace {

using platform::Point;

// The limits between the kinds; every kind's effect on the ranges is the chart mouse tests'.
TEST(Drag, ClassifyDragDrawsTheLinesBetweenTheKinds) {
    plotLeft = 100, plotRight = 500, plotTop = 50, plotBottom = 350;  // centre (300, 200)
    const struct {
        Point start, end;
        int code;
    } cases[] = {
        {{495, 100}, {505, 300}, 16},  // along the right edge (within 10 of it)
        {{95, 100}, {109, 300}, 14},   // along the left edge
        {{150, 45}, {400, 59}, 17},    // along the top edge
        {{150, 341}, {400, 355}, 15},  // along the bottom edge
        {{105, 60}, {108, 70}, 14},    // near the left edge wins over "no drag"
        {{200, 200}, {210, 210}, 0},   // at most 10 pixels both ways
        {{200, 200}, {189, 200}, 7},   // 11 pixels is a drag
        {{300, 200}, {350, 200}, 5},   // a start on the centre counts as left of it
        {{200, 250}, {210, 300}, 1},   // too steep for horizontal, too flat for vertical
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.start.x << "," << c.start.y << ")-(" << c.end.x << ","
                                          << c.end.y << ")");
        EXPECT_EQ(ClassifyDrag(c.start, c.end), c.code);
    }
}

TEST(Drag, PlotRectIsTestedStrictlyInside) {
    CTabulonDlg dlg;
    dlg.chartRect = platform::Rect{7, 1, 107, 51};
    const std::tuple<int, int, int> points[] = {{8, 2, 1}, {106, 50, 1}, {7, 20, 0}, {107, 20, 0}, {50, 1, 0}, {50, 51, 0}};
    for (const auto& [x, y, inside] : points) EXPECT_EQ(dlg.IsInPlotRect(x, y), inside) << x << "," << y;
}

TEST(Drag, ClientPointsMapIntoTheChartImage) {
    CTabulonDlg dlg;
    dlg.chartRect = platform::Rect{7, 1, 407, 301};  // 400 x 300 on the window
    dlg.chartImageWidth = 400, dlg.chartImageHeight = 300;
    EXPECT_EQ(dlg.ChartImagePoint({7, 1}), (Point{0, 0}));
    EXPECT_EQ(dlg.ChartImagePoint({207, 151}), (Point{200, 150}));
    // A picture painted at twice the size is shown shrunk: a window pixel covers two.
    dlg.chartImageWidth = 800, dlg.chartImageHeight = 600;
    EXPECT_EQ(dlg.ChartImagePoint({207, 151}), (Point{400, 300}));
    // An empty chart area maps nothing by division.
    dlg.chartRect = platform::Rect{7, 1, 7, 1};
    EXPECT_EQ(dlg.ChartImagePoint({9, 4}), (Point{2, 3}));
}

}  // namespace
