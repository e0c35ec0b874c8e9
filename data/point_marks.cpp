#include "data/point_marks.h"

#include <cstddef>
#include <initializer_list>

#include "platform/pixel.h"

using platform::Brush;
using platform::Canvas;
using platform::ColorRef;
using platform::Pen;
using platform::PenStyle;
using platform::Point;
using platform::SaturatingToInt;

namespace {

// Offsets are summed in floating point so that marks near the int range never overflow.
Point At(int x, int y, double dx, double dy) {
    return Point{SaturatingToInt(static_cast<double>(x) + dx), SaturatingToInt(static_cast<double>(y) + dy)};
}

// v truncated toward zero.
double T(double v) { return static_cast<double>(SaturatingToInt(v)); }

void Stroke(Canvas& dc, std::initializer_list<Point> pts) {
    dc.Polyline(pts.begin(), static_cast<int>(pts.size()));
}

// The geometry of one mark with the pen and brush already selected.
void DrawShape(Canvas& dc, int x, int y, int r, int shape, ColorRef color) {
    const double R = r;
    switch (shape) {
        case kMarkFilledCircle:
        case kMarkCircleWithFill: {
            const Point a = At(x, y, -R, -R), b = At(x, y, R, R);
            dc.Ellipse(a.x, a.y, b.x, b.y);
            break;
        }
        case kMarkFilledSquare: {
            const Point a = At(x, y, -R, -R), b = At(x, y, R, R);
            dc.Rectangle(a.x, a.y, b.x, b.y);
            break;
        }
        case kMarkOpenSquare:
            Stroke(dc, {At(x, y, -R, -R), At(x, y, -R, R), At(x, y, R, R), At(x, y, R, -R), At(x, y, -R, -R)});
            break;
        case kMarkVerticalDash:
            Stroke(dc, {At(x, y, 0, -R), At(x, y, 0, R)});
            break;
        case kMarkHorizontalDash:
            Stroke(dc, {At(x, y, -R, 0), At(x, y, R, 0)});
            break;
        case kMarkFilledTriangleUp: {
            const double s = T(0.6 * R);
            const Point p[3] = {At(x, y, R, s), At(x, y, 0, -R), At(x, y, -R, s)};
            dc.FillPolygon(p, 3, color);
            break;
        }
        case kMarkFilledTriangleDown: {
            const double s = T(0.6 * R);
            const Point p[3] = {At(x, y, -R, -s), At(x, y, 0, R), At(x, y, R, -s)};
            dc.FillPolygon(p, 3, color);
            break;
        }
        case kMarkOpenTriangleUp: {
            const double s = T(0.6 * R);
            Stroke(dc, {At(x, y, -R, s), At(x, y, 0, -R), At(x, y, R, s), At(x, y, -R, s)});
            break;
        }
        case kMarkOpenTriangleDown: {
            const double s = T(0.6 * R);
            Stroke(dc, {At(x, y, -R, -s), At(x, y, 0, R), At(x, y, R, -s), At(x, y, -R, -s)});
            break;
        }
        case kMarkPlus:
            Stroke(dc, {At(x, y, 0, -R), At(x, y, 0, R)});
            Stroke(dc, {At(x, y, -R, 0), At(x, y, R, 0)});
            break;
        case kMarkCross:
            Stroke(dc, {At(x, y, -R, -R), At(x, y, R, R)});
            Stroke(dc, {At(x, y, -R, R), At(x, y, R, -R)});
            break;
        case kMarkHash: {
            const double h = T(0.5 * R);
            Stroke(dc, {At(x, y, -h, -R), At(x, y, -h, R)});
            Stroke(dc, {At(x, y, h, -R), At(x, y, h, R)});
            Stroke(dc, {At(x, y, -R, h), At(x, y, R, h)});
            Stroke(dc, {At(x, y, -R, -h), At(x, y, R, -h)});
            break;
        }
        case kMarkFourStrokes: {
            const double a = T(0.7 * R);
            Stroke(dc, {At(x, y, -R, -a), At(x, y, a, R)});
            Stroke(dc, {At(x, y, -a, -R), At(x, y, R, a)});
            Stroke(dc, {At(x, y, -R, a), At(x, y, a, -R)});
            Stroke(dc, {At(x, y, -a, R), At(x, y, R, -a)});
            break;
        }
        default:
            break;
    }
}

Pen MarkPen(int r, ColorRef color) { return Pen(PenStyle::Solid, r > 8 ? 3 : 2, color); }

}  // namespace

void DrawMarker(Canvas& dc, int x, int y, int r, int shape, ColorRef color, ColorRef fillColor) {
    if (shape < 0 || shape >= kMarkNone) return;
    const Pen oldPen = dc.SelectPen(MarkPen(r, color));
    const Brush oldBrush = dc.SelectBrush(Brush(shape == kMarkCircleWithFill ? fillColor : color));
    DrawShape(dc, x, y, r, shape, color);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void DrawMarkerSample(Canvas& dc, int x, int y, const Initial& initial, ColorRef background) {
    const int s = initial.markSize;
    const double S = s;
    const Point a = At(x, y, -S - 4, -S - 4), b = At(x, y, S + 4, S + 4);
    dc.FillRect(platform::Rect{a.x, a.y, b.x, b.y}, background);
    const ColorRef color = static_cast<ColorRef>(initial.color);
    if (initial.markShape != kMarkLine) {
        DrawMarker(dc, x, y, s, initial.markShape, color, background);
        return;
    }
    const Pen oldPen = dc.SelectPen(MarkPen(s, color));
    const Point zigzag[5] = {At(x, y, -S, -T(0.3 * S)), At(x, y, -T(0.5 * S), T(0.2 * S)),
                             At(x, y, T(0.1 * S), -T(0.2 * S)), At(x, y, T(0.5 * S), T(0.4 * S)),
                             At(x, y, T(0.95 * S), -T(0.1 * S))};
    dc.Polyline(zigzag, 5);
    dc.SelectPen(oldPen);
}

void DrawMarksAtPoints(Canvas& dc, ColorRef color, ColorRef fillColor, int r, int shape, const std::vector<int>& x,
                       const std::vector<int>& y) {
    // Unequal arrays have no sound pairing: drawing nothing beats reading past the end.
    if (x.empty() || x.size() != y.size() || r < 1 || shape == kMarkNone) return;
    if (shape == kMarkLine) {
        std::vector<Point> pts(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) pts[i] = Point{x[i], y[i]};
        const Pen oldPen = dc.SelectPen(Pen(PenStyle::Solid, r, color));
        dc.Polyline(pts);
        dc.SelectPen(oldPen);
        return;
    }
    for (std::size_t i = 0; i < x.size(); ++i) DrawMarker(dc, x[i], y[i], r, shape, color, fillColor);
}
