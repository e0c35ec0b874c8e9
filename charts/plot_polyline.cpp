// The poly-line steps of the plot mapping: the only part of it that draws.
#include "charts/plot_mapping.h"

#include <cmath>

#include "platform/canvas.h"
#include "statistics/math_domain.h"

void PlotPointPixel(platform::Canvas& dc, int x, int y) {
    if (mathDomainError) {
        penUp = 1;
        return;
    }
    if (penUp)
        dc.MoveTo(x, y);
    else
        dc.LineTo(x, y);
    penUp = 0;
}

void PlotPointWorld(platform::Canvas& dc, double x, double y) {
    // A value that is not a number has no place on the chart: treat it as a gap.
    if (mathDomainError || !std::isfinite(x) || !std::isfinite(y)) {
        penUp = 1;
        return;
    }
    const int py = WorldToPixelY(y);
    const int px = WorldToPixelX(x);
    PlotPointPixel(dc, px, py);
}
