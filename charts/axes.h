#pragma once
// Numbered axes, minor tick marks and grid lines of every two-dimensional chart, drawn
// over the current plot mapping with the chart page's pens and the legend page's
// axis-label font and colour.
#include <string>

#include "platform/canvas.h"
#include "platform/font.h"
#include "platform/pen.h"

// Both axes: labels along the bottom and left edges of the plot.
void DrawAxes(platform::Canvas& dc);
// Labels with their top at labelRow, centred under the ticks; minor marks rise from the
// bottom edge. `unused` is kept for the callers' argument order.
void DrawAxisX(platform::Canvas& dc, const platform::Font& font, int labelRow, int unused,
               const platform::Pen& gridPen, int intervals, int gridFlag, const platform::Pen& tickPen,
               int ticksFlag);
// Labels right-aligned 2 pixels left of labelColumn; minor marks point into the plot.
void DrawAxisY(platform::Canvas& dc, const platform::Font& font, int labelColumn, int unused,
               const platform::Pen& gridPen, int intervals, int gridFlag, const platform::Pen& tickPen,
               int ticksFlag);

// Label texts: "%.7g" with the exponent's leading zeros removed.
std::string AxisLabelTextX(double v);
std::string AxisLabelTextY(double v);
