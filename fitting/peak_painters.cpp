#include "fitting/peak_painters.h"

#include "charts/plot_mapping.h"
#include "platform/canvas.h"
#include "statistics/math_domain.h"

#include <algorithm>
#include <cmath>

namespace {

// Calls visit(x) for x = plotXMin, then in steps of 0.001 of the x range while x <= plotXMax.
// An empty range or a step too small to move x visits plotXMin alone.
template <typename Visit>
void WalkXRange(Visit visit)
{
    if (plotXMax < plotXMin)
        return;
    const double step = 0.001 * (plotXMax - plotXMin);
    visit(plotXMin);
    if (!(step > 0.0) || !std::isfinite(step) || plotXMin + step == plotXMin)
        return;
    for (double x = plotXMin + step; x <= plotXMax; x += step)
        visit(x);
}

}  // namespace

void ExtendRangeForPeaks(const peakSignal& summary, const std::vector<peakSignal>& list)
{
    WalkXRange([&](double x) {
        const double v = PeakModelValue(summary, list, x);
        if (!std::isfinite(v))
            return;
        plotYMin = std::min(plotYMin, v);
        plotYMax = std::max(plotYMax, v);
    });
}

void PaintPeakSumCurve(const peakSignal& summary, platform::Canvas& dc, const std::vector<peakSignal>& list)
{
    mathDomainError = 0;  // the model has no undefined stretch
    penUp = 1;
    WalkXRange([&](double x) { PlotPointWorld(dc, x, PeakModelValue(summary, list, x)); });
}

void PaintPeakMarkers(platform::Canvas& dc, const std::vector<peakSignal>& list)
{
    if (list.empty())
        return;
    const double r = plotYMax - plotYMin;
    const double h0 = GaussianPeak(list[0], list[0].centre);
    for (const peakSignal& peak : list) {
        const double h = GaussianPeak(peak, peak.centre);
        const double share = h0 != 0.0 && std::isfinite(h / h0) ? h / h0 : 0.0;
        const int px = WorldToPixelX(peak.centre);
        dc.MoveTo(px, WorldToPixelY(plotYMin + 0.01 * r));
        dc.LineTo(px, WorldToPixelY(plotYMin + (share * 0.2 + 0.02) * r));
    }
}
