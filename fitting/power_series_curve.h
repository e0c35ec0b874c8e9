#pragma once
// The power series of a polynomial fit drawn on the chart.
#include <vector>

namespace platform {
class Canvas;
}
struct ScaledPowerSeries;

// Draws c0 + c1*x + ... over [x0, x1] in the given number of intervals (nothing
// unless x0 < x1): a move to the first point, then a line to each further point;
// a point at or outside the open band yLow < v < yHigh, or following one, is
// reached by a move, so no segment touches it.
void PaintPowerSeriesCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps,
                           const std::vector<double>& coefficients);
// The same for a series in the centred and scaled argument.
void PaintPowerSeriesCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps,
                           const ScaledPowerSeries& series);
