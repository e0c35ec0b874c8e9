#include "charts/axes.h"

#include <algorithm>
#include <cmath>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "platform/format.h"

namespace {

// However far apart range and step are, an axis never draws more ticks than this.
constexpr int kMaxTicks = 10000;
// Beyond this the multiples of the step are no longer whole numbers in a double.
constexpr double kMaxTickIndex = 9007199254740992.0;  // 2^53

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size()))
        s.replace(pos, from.size(), to);
}

void ReplaceAllTwice(std::string& s, const std::string& from, const std::string& to) {
    ReplaceAll(s, from, to);
    ReplaceAll(s, from, to);
}

// The tick walk of one axis: the multiples of `step` from trunc(min / step) on, up to
// max. Returns false when there is nothing sensible to walk.
struct TickWalk {
    double first = 0;  // index of the first multiple (a whole number)
    double step = 0;
    bool valid = false;
};

TickWalk StartWalk(double min, double step) {
    TickWalk w;
    if (!std::isfinite(step) || !(std::fabs(step) > 1e-10)) return w;
    const double k = std::trunc(min / step) + 0.0;  // + 0.0: no "-0" label
    if (!(std::fabs(k) < kMaxTickIndex)) return w;
    w.first = k;
    w.step = step;
    w.valid = true;
    return w;
}

bool IsLongMark(double k) { return std::fmod(k, 5.0) == 0.0; }

int ClampIntervals(int intervals) {
    // The edit takes any typed number; the axis keeps to the spin's range.
    return std::clamp(intervals, chart::kMinIntervals, chart::kMaxIntervals);
}

bool FarFromEdges(int p, int edgeA, int edgeB) {
    return std::abs(static_cast<long long>(p) - edgeA) > 2 && std::abs(static_cast<long long>(p) - edgeB) > 2;
}

}  // namespace

std::string AxisLabelTextX(double v) {
    std::string s = platform::Format("%.7g", v);
    ReplaceAllTwice(s, "+0", "+");
    ReplaceAll(s, "+.", "+0.");
    ReplaceAllTwice(s, "-0", "-");
    ReplaceAll(s, "-.", "-0.");
    return s;
}

std::string AxisLabelTextY(double v) {
    std::string s = platform::Format("%.7g", v);
    ReplaceAllTwice(s, "e+0", "e+");
    ReplaceAll(s, "+.", "+0.");
    ReplaceAllTwice(s, "e-0", "e-");
    ReplaceAll(s, "-.", "-0.");
    return s;
}

void DrawAxes(platform::Canvas& dc) {
    dc.SetTextColor(theLegend.captionColor);
    int gridFlag = 0;
    platform::Pen gridPen(platform::PenStyle::Null, 0, platform::kWhite);
    if (theChart.gridWidth >= 1) {
        gridPen = platform::Pen(platform::PenStyle::Dash, theChart.gridWidth, theChart.gridLineColor);
        gridFlag = 1;
    }
    const platform::Pen tickPen(platform::PenStyle::Solid, theChart.borderWidth, theChart.borderLineColor);
    const int ticksFlag = theChart.borderWidth >= 1 ? theChart.showSlashes : 0;

    const platform::Pen previousPen = dc.CurrentPen();
    DrawAxisX(dc, theLegend.xCaptionFont, WorldToPixelY(plotYMin), 0, gridPen, theChart.intervals, gridFlag,
              tickPen, ticksFlag);
    DrawAxisY(dc, theLegend.xCaptionFont, WorldToPixelX(plotXMin), 0, gridPen, theChart.intervals, gridFlag,
              tickPen, ticksFlag);
    dc.SelectPen(previousPen);
}

void DrawAxisX(platform::Canvas& dc, const platform::Font& font, int labelRow, int /*unused*/,
               const platform::Pen& gridPen, int intervals, int gridFlag, const platform::Pen& tickPen,
               int ticksFlag) {
    if (!(plotXMin < plotXMax)) return;
    dc.SelectFont(font);
    dc.SelectPen(gridPen);
    const double step = NiceTickStep((plotXMax - plotXMin) / ClampIntervals(intervals));
    const TickWalk major = StartWalk(plotXMin, step);
    if (!major.valid) return;

    for (int i = 0; i < kMaxTicks; ++i) {
        const double v = (major.first + i) * major.step;
        if (!(v <= plotXMax)) break;
        if (v < plotXMin) continue;
        const int px = WorldToPixelX(v);
        if (gridFlag && FarFromEdges(px, plotLeft, plotRight)) {
            dc.MoveTo(px, WorldToPixelY(plotYMin));
            dc.LineTo(px, WorldToPixelY(plotYMax));
        }
        const std::string label = AxisLabelTextX(v);
        const int w = dc.GetTextExtent(label).cx;
        dc.TextOut(px - static_cast<int>(w * 0.5), labelRow, label);
    }

    if (!ticksFlag) return;
    const TickWalk minor = StartWalk(plotXMin, step * 0.2);
    if (!minor.valid) return;
    dc.SelectPen(tickPen);
    const int r = WorldToPixelY(plotYMin);
    for (int i = 0; i < kMaxTicks; ++i) {
        const double k = minor.first + i;
        const double v = k * minor.step;
        if (!(v <= plotXMax)) break;
        if (v < plotXMin) continue;
        const int px = WorldToPixelX(v);
        const double length = IsLongMark(k) ? 10 : 5;
        dc.MoveTo(px, r - static_cast<int>(plotYDirection));
        dc.LineTo(px, r - static_cast<int>(plotYDirection * length));
    }
}

void DrawAxisY(platform::Canvas& dc, const platform::Font& font, int labelColumn, int /*unused*/,
               const platform::Pen& gridPen, int intervals, int gridFlag, const platform::Pen& tickPen,
               int ticksFlag) {
    if (!(plotYMin < plotYMax)) return;
    dc.SelectFont(font);
    dc.SelectPen(gridPen);
    const double step = NiceTickStep((plotYMax - plotYMin) / ClampIntervals(intervals));
    const TickWalk major = StartWalk(plotYMin, step);
    if (!major.valid) return;

    for (int i = 0; i < kMaxTicks; ++i) {
        const double v = (major.first + i) * major.step;
        if (!(v <= plotYMax)) break;
        if (v < plotYMin) continue;
        const int py = WorldToPixelY(v);
        if (gridFlag && FarFromEdges(py, plotBottom, plotTop)) {
            dc.MoveTo(labelColumn, py);
            dc.LineTo(WorldToPixelX(plotXMax), py);
        }
        const std::string label = AxisLabelTextY(v);
        const platform::Size size = dc.GetTextExtent(label);
        dc.TextOut(labelColumn - size.cx - 2, py - static_cast<int>(plotYDirection * 0.5 * size.cy), label);
    }

    if (!ticksFlag) return;
    const TickWalk minor = StartWalk(plotYMin, step * 0.2);
    if (!minor.valid) return;
    dc.SelectPen(tickPen);
    for (int i = 0; i < kMaxTicks; ++i) {
        const double k = minor.first + i;
        const double v = k * minor.step;
        if (!(v <= plotYMax)) break;
        if (v < plotYMin) continue;
        const int py = WorldToPixelY(v);
        if (!FarFromEdges(py, plotBottom, plotTop)) continue;
        dc.MoveTo(labelColumn, py);
        dc.LineTo(labelColumn + (IsLongMark(k) ? 8 : 4), py);
    }
}
