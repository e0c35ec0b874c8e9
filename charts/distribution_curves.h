#pragma once
// The fitted shapes laid over a histogram of one value: Student, Poisson and Erlang
// curves, each one poly-line in the current pen through the plot mapping, shifted down
// by the histogram's pixel offset. A shape is scaled to n records in bins of binWidth;
// the cumulative form draws the running count instead.
#include "platform/canvas.h"

void DrawStudentCurve(platform::Canvas& dc, double mean, double sd, int n, double binWidth, int yOffset,
                      int cumulative);
void DrawPoissonCurve(platform::Canvas& dc, double lambda, int n, double binWidth, int yOffset,
                      int cumulative);
// The shape is ErlangSetup(mean, sd).
void DrawErlangCurve(platform::Canvas& dc, double mean, double sd, int n, double binWidth, int yOffset,
                     int cumulative);
