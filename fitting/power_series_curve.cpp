#include "fitting/power_series_curve.h"

#include "charts/plot_mapping.h"
#include "fitting/polynomial_fits.h"
#include "platform/canvas.h"

namespace {

template <typename Value>
void PaintCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps, const Value& value)
{
    if (!(x0 < x1) || steps < 1)
        return;
    const double step = (x1 - x0) / steps;
    if (!(x0 + step > x0))
        return;  // a step too small to advance x would never end
    const auto inside = [yLow, yHigh](double v) { return yLow < v && v < yHigh; };
    double previous = value(x0);
    dc.MoveTo(WorldToPixelX(x0), WorldToPixelY(previous));
    for (double x = x0 + step; x <= x1; x += step) {
        const double v = value(x);
        const int px = WorldToPixelX(x), py = WorldToPixelY(v);
        if (inside(v) && inside(previous))
            dc.LineTo(px, py);
        else
            dc.MoveTo(px, py);
        previous = v;
    }
}

}  // namespace

void PaintPowerSeriesCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps,
                           const std::vector<double>& coefficients)
{
    const int n = static_cast<int>(coefficients.size());
    PaintCurve(dc, x0, x1, yLow, yHigh, steps, [&](double x) { return PowerSeriesValue(n, x, coefficients); });
}

void PaintPowerSeriesCurve(platform::Canvas& dc, double x0, double x1, double yLow, double yHigh, int steps,
                           const ScaledPowerSeries& series)
{
    PaintCurve(dc, x0, x1, yLow, yHigh, steps, [&](double x) { return series.Value(x); });
}
