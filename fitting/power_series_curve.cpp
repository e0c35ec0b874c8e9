#include "fitting/power_series_curve.h"

#include "charts/plot_mapping.h"
#include "fitting/polynomial_fits.h"
#include "platform/canvas.h"

void PaintPowerSeriesCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps,
                           const std::vector<double>& coefficients)
{
    if (!(x0 < x1) || steps < 1)
        return;
    const double step = (x1 - x0) / steps;
    if (!(x0 + step > x0))
        return;  // a step too small to advance x would never end
    const int n = static_cast<int>(coefficients.size());
    const auto inside = [yLow, yHigh](double v) { return yLow < v && v < yHigh; };
    double previous = PowerSeriesValue(n, x0, coefficients);
    dc.MoveTo(WorldToPixelX(x0), WorldToPixelY(previous));
    for (double x = x0 + step; x <= x1; x += step) {
        const double v = PowerSeriesValue(n, x, coefficients);
        const int px = WorldToPixelX(x), py = WorldToPixelY(v);
        if (inside(v) && inside(previous))
            dc.LineTo(px, py);
        else
            dc.MoveTo(px, py);
        previous = v;
    }
}
