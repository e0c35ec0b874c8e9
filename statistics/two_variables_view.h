#pragma once
// The views of data with two values and no argument: the counts of a rectangular grid over
// the two variables as three-dimensional bars seen through the scene, or as a flat colour map
// of one series on the plot axes; with their result lines and report tables.
#include <functional>

#include "platform/canvas.h"
#include "platform/pen.h"
#include "charts/two_argument_views.h"
#include "statistics/two_variable_grid.h"

// What the views need of the main window: that of the scene painters (the View page's
// choice is the series of the flat map), and the rows of the legend block.
struct TwoVariablesViewState : TwoArgumentViewState {
    std::function<int(int line)> textLineY = [](int line) { return 20 * line + 5; };
};

// The grid the last paint drew, shared by both views.
extern TwoVariableGrid twoVariableGrid;
// The scene box of the last rebuild: x min, x max, y min, y max, 0, largest count. Between
// rebuilds the bars keep their places while only the view changes.
extern double twoVariableBox[6];

// 0 when the view does not apply (nothing changed), else 1.
int PaintDistributionOfTwoVariables(platform::Canvas& dc, const TwoVariablesViewState& state);
int PaintDistributionOfTwoVariablesFlat(platform::Canvas& dc, const TwoVariablesViewState& state);
