// What the user sees while dragging on the chart: the rectangle or arrow of the zoom or shift
// that releasing the button would make (the release itself is the chart's mouse work).
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/xyview_page.h"

namespace {

constexpr double kHeadLength = 10;
constexpr double kHeadHalfAngle = 0.4361111111111111;   // 25 degrees, pi taken as 3.14
constexpr double kBarHalfAngle = 1.57;
constexpr double kStartHeadHalfAngle = 0.5233333333333333;  // 30 degrees, pi taken as 3.14

bool Near(int a, int b) { return std::abs(a - b) < 10; }

}  // namespace

int CTabulonDlg::IsInPlotRect(int x, int y) const {
    return x > chartRect.left && x < chartRect.right && y > chartRect.top && y < chartRect.bottom ? 1 : 0;
}

platform::Point CTabulonDlg::ChartImagePoint(platform::Point client) const {
    long long x = client.x - chartRect.left;
    long long y = client.y - chartRect.top;
    const int areaW = chartRect.Width(), areaH = chartRect.Height();
    // Only a picture of another size is stretched; an empty area maps nothing.
    if (chartImageWidth > 0 && areaW > 0 && chartImageWidth != areaW) x = x * chartImageWidth / areaW;
    if (chartImageHeight > 0 && areaH > 0 && chartImageHeight != areaH) y = y * chartImageHeight / areaH;
    return platform::Point{static_cast<int>(x), static_cast<int>(y)};
}

int ClassifyDrag(platform::Point start, platform::Point end) {
    const int cx = static_cast<int>(std::trunc((plotLeft + plotRight) * 0.5));
    const int cy = static_cast<int>(std::trunc((plotTop + plotBottom) * 0.5));
    const int dx = std::abs(end.x - start.x);
    const int dy = std::abs(end.y - start.y);
    if (Near(start.x, plotRight) && Near(end.x, plotRight)) return 16;
    if (Near(start.x, plotLeft) && Near(end.x, plotLeft)) return 14;
    if (Near(start.y, plotTop) && Near(end.y, plotTop)) return 17;
    if (Near(start.y, plotBottom) && Near(end.y, plotBottom)) return 15;
    if (dx < 11 && dy < 11) return 0;
    const bool horizontal = dx > 3 && static_cast<double>(dy) / dx < 0.15;
    const bool vertical = dy > 3 && static_cast<double>(dx) / dy < 0.15;
    if (horizontal) {
        if (start.x <= cx) {
            if (end.x > cx) return 5;
            return end.x > start.x ? 6 : 7;
        }
        if (end.x <= cx) return 4;
        return end.x > start.x ? 2 : 3;
    }
    if (!vertical) return 1;
    if (start.y >= cy) {
        if (end.y < cy) return 11;
        return end.y > start.y ? 13 : 12;
    }
    if (end.y >= cy) return 10;
    return end.y < start.y ? 8 : 9;
}

void ArrowHeadPoints(platform::Point start, platform::Point end, double length, double halfAngle, int atEnd,
                     platform::Point& left, platform::Point& right) {
    const double direction = std::atan2(static_cast<double>(end.y - start.y), static_cast<double>(end.x - start.x));
    // Backwards from the point the head sits on: towards the start for the end's head, towards
    // the end for the start's.
    const double back = atEnd ? direction + M_PI : direction;
    const platform::Point tip = atEnd ? end : start;
    left = platform::Point{tip.x + static_cast<int>(length * std::cos(back + halfAngle)),
                           tip.y + static_cast<int>(length * std::sin(back + halfAngle))};
    right = platform::Point{tip.x + static_cast<int>(length * std::cos(back - halfAngle)),
                            tip.y + static_cast<int>(length * std::sin(back - halfAngle))};
}

void DrawArrow(platform::Canvas& dc, platform::Point start, platform::Point end, int barAtStart) {
    dc.MoveTo(start.x, start.y);
    dc.LineTo(end.x, end.y);
    platform::Point left, right;
    ArrowHeadPoints(start, end, kHeadLength, kHeadHalfAngle, 1, left, right);
    dc.MoveTo(end.x, end.y);
    dc.LineTo(left.x, left.y);
    dc.MoveTo(end.x, end.y);
    dc.LineTo(right.x, right.y);
    ArrowHeadPoints(start, end, kHeadLength, barAtStart ? kBarHalfAngle : kStartHeadHalfAngle, 0, left, right);
    dc.MoveTo(start.x, start.y);
    dc.LineTo(left.x, left.y);
    dc.MoveTo(start.x, start.y);
    dc.LineTo(right.x, right.y);
}

void CTabulonDlg::OnMouseMove(unsigned, platform::Point point) {
    if (!dragActive || dataValues <= 0 || theXyview.autozoom || !IsInPlotRect(point.x, point.y)) return;
    dragEnd = point;
    platform::ClientDC dc(*this);
    dc.CopyFrom(chartRect.left, chartRect.top, chartRect.Width(), chartRect.Height(), virtualScreenBitmap, 0, 0);
    const platform::Pen oldPen =
        dc.SelectPen(platform::Pen(platform::PenStyle::Solid, theChart.borderWidth, theChart.borderLineColor));
    switch (ClassifyDrag(ChartImagePoint(dragStart), ChartImagePoint(dragEnd))) {
        case 1: {
            const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Null());
            dc.Rectangle(std::min(dragStart.x, dragEnd.x), std::min(dragStart.y, dragEnd.y),
                         std::max(dragStart.x, dragEnd.x), std::max(dragStart.y, dragEnd.y));
            dc.SelectBrush(oldBrush);
            break;
        }
        case 2: case 3: case 6: case 7: case 8: case 9: case 12: case 13:
            DrawArrow(dc, dragStart, dragEnd, 1);
            break;
        case 4: case 5: case 10: case 11:
            DrawArrow(dc, dragStart, dragEnd, 0);
            break;
        default:
            break;
    }
    dc.SelectPen(oldPen);
}
