#include "charts/plot_mapping.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/pixel.h"

double plotXMin = 0, plotXMax = 0;
double plotYMin = 0, plotYMax = 0;
double plotZMin = 0, plotZMax = 0;
int plotLeft = 0, plotRight = 0;
int plotBottom = 0, plotTop = 0;
double plotScaleX = 0;
double plotScaleY = 0;
double plotYDirection = 0;
int plotMarginTop = 0;
int plotMarginLeft = 0;
int plotFrameRight = 0;
int plotFrameBottom = 0;
int penUp = 0;

void SetChartFrame(int width, int height, int autozoom, const PlotViewRanges& view) {
    const int absHeight = height == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                                     : std::abs(height);
    plotFrameRight = width + 5;
    plotMarginTop = 3;
    plotMarginLeft = 5;
    plotFrameBottom = absHeight;
    plotRight = width;
    plotLeft = 0;
    plotBottom = absHeight;
    plotTop = 0;
    if (autozoom) {
        ResetPlotRanges();
    } else {
        plotXMin = view.xMin;
        plotXMax = view.xMax;
        plotYMin = view.yMin;
        plotYMax = view.yMax;
        plotZMin = view.zMin;
        plotZMax = view.zMax;
    }
}

void ResetPlotRanges() {
    plotXMin = plotYMin = plotZMin = kPlotRangeEmptyMin;
    plotXMax = plotYMax = plotZMax = kPlotRangeEmptyMax;
}

namespace {

void Extend(const std::vector<double>& values, double& min, double& max) {
    for (double v : values) {
        // An infinite value would make every scale 0 or NaN; it cannot be shown anyway.
        if (!std::isfinite(v)) continue;
        if (v > max) max = v;
        if (v < min) min = v;
    }
}

// All values equal: a percentage of the width would still be zero, so widen by a
// fixed half-width (larger for huge magnitudes, where 0.5 would vanish in rounding).
void WidenZeroWidth(double& min, double& max) {
    if (!(min == max) || !std::isfinite(min)) return;
    const double half = std::fmax(0.5, std::fabs(min) * 0x1p-40);
    min -= half;
    max += half;
}

int ToPixel(double v) {
    if (std::isnan(v)) return -platform::kPixelLimit;
    return platform::SaturatingToInt(v);
}

}  // namespace

void ExtendXRange(const std::vector<double>& values) { Extend(values, plotXMin, plotXMax); }
void ExtendYRange(const std::vector<double>& values) { Extend(values, plotYMin, plotYMax); }
void ExtendZRange(const std::vector<double>& values) { Extend(values, plotZMin, plotZMax); }

void MinMaxOfArray(const std::vector<double>& values, double& min, double& max) {
    if (values.empty()) {
        min = max = 0;
        return;
    }
    min = max = values[0];
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double v = values[i];
        if (v < min) min = v;
        if (v > max) max = v;
    }
}

void ComputePlotScales() {
    WidenZeroWidth(plotXMin, plotXMax);
    WidenZeroWidth(plotYMin, plotYMax);
    const double dx = static_cast<double>(static_cast<long long>(plotRight) - plotLeft);
    const double dy = static_cast<double>(static_cast<long long>(plotTop) - plotBottom);
    plotScaleX = dx / (plotXMax - plotXMin);
    plotScaleY = dy / (plotYMax - plotYMin);
    plotYDirection = plotTop >= plotBottom ? -1.0 : 1.0;
}

int WorldToPixelX(double x) { return ToPixel((x - plotXMin) * plotScaleX + plotLeft); }

int WorldToPixelY(double y) { return ToPixel((y - plotYMin) * plotScaleY + plotBottom); }

double PixelToWorldX(int px) {
    if (plotRight == plotLeft) return plotXMin;
    const double num = static_cast<double>(static_cast<long long>(px) - plotLeft);
    const double den = static_cast<double>(static_cast<long long>(plotRight) - plotLeft);
    return plotXMin + (plotXMax - plotXMin) * num / den;
}

double PixelToWorldY(int py) {
    if (plotTop == plotBottom) return plotYMin;
    const double num = static_cast<double>(static_cast<long long>(py) - plotBottom - plotMarginTop);
    const double den = static_cast<double>(static_cast<long long>(plotTop) - plotBottom);
    return plotYMin + (plotYMax - plotYMin) * num / den;
}

double NiceTickStep(double range) {
    double e = 0;
    double f = std::modf(std::log10(range), &e);
    if (f < 0) {
        f += 1;
        e -= 1;
    }
    // The mantissa times an exact power of ten: 10^(e + log10 2) comes out a few ulps
    // off 2*10^e, enough to drop the last tick when a range ends on a multiple.
    const double decade = std::pow(10.0, e);
    if (f < 0.176) return decade;
    if (f < 0.5) return 2 * decade;
    if (f < 0.875) return 5 * decade;
    return std::pow(10.0, e + 1);
}
