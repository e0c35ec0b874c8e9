// The pictures of the View page's pads and picture buttons, drawn by the program. The pads'
// arrows sit in the click zones that the page knows (in the pictures' own pixels).
#include <algorithm>

#include "charts/xyview_page.h"
#include "platform/canvas.h"
#include "platform/pen.h"

namespace {

using platform::Bitmap;
using platform::Canvas;
using platform::ColorRef;
using platform::Point;
using platform::Rect;

enum Direction { kUp, kDown, kLeft, kRight };

constexpr ColorRef kPadBack = 0xF0FAFF;
constexpr ColorRef kArrowPlus = 0x0A6E0A;   // widening
constexpr ColorRef kArrowMinus = 0x690000;  // narrowing
constexpr ColorRef kAxis = 0x808080;

// A filled triangle pointing one way, centred in the rectangle.
void Arrow(Canvas& dc, const Rect& r, Direction d, ColorRef c) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int hx = std::max(2, r.Width() / 2 - 3), hy = std::max(2, r.Height() / 2 - 3);
    Point p[3];
    switch (d) {
        case kUp: p[0] = {cx, cy - hy}, p[1] = {cx - hx, cy + hy}, p[2] = {cx + hx, cy + hy}; break;
        case kDown: p[0] = {cx, cy + hy}, p[1] = {cx - hx, cy - hy}, p[2] = {cx + hx, cy - hy}; break;
        case kLeft: p[0] = {cx - hx, cy}, p[1] = {cx + hx, cy - hy}, p[2] = {cx + hx, cy + hy}; break;
        case kRight: p[0] = {cx + hx, cy}, p[1] = {cx - hx, cy - hy}, p[2] = {cx - hx, cy + hy}; break;
    }
    dc.FillPolygon(p, 3, c);
}

void Line(Canvas& dc, int x1, int y1, int x2, int y2, ColorRef c, int width = 1) {
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, width, c));
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectPen(old);
}

// Two arrows side by side (or one above the other): a range that grows or shrinks.
void Pair(Canvas& dc, const Rect& r, bool horizontal, bool widen) {
    const ColorRef c = widen ? kArrowPlus : kArrowMinus;
    if (horizontal) {
        const int m = (r.left + r.right) / 2;
        Arrow(dc, {r.left, r.top, m, r.bottom}, widen ? kLeft : kRight, c);
        Arrow(dc, {m, r.top, r.right, r.bottom}, widen ? kRight : kLeft, c);
    } else {
        const int m = (r.top + r.bottom) / 2;
        Arrow(dc, {r.left, r.top, r.right, m}, widen ? kUp : kDown, c);
        Arrow(dc, {r.left, m, r.right, r.bottom}, widen ? kDown : kUp, c);
    }
}

Bitmap RangePad() {
    Bitmap b(xyview::kRangePictureWidth, xyview::kRangePictureHeight, kPadBack);
    Canvas dc(b);
    // The axes of a small chart: y on the left, x at the bottom.
    Line(dc, 22, 4, 22, 96, kAxis, 2);
    Line(dc, 22, 96, 184, 96, kAxis, 2);
    Arrow(dc, {150, 98, 180, 115}, kRight, kArrowPlus);   // 0: xMax +
    Arrow(dc, {124, 98, 153, 115}, kLeft, kArrowMinus);   // 1: xMax -
    Arrow(dc, {28, 99, 55, 114}, kRight, kArrowMinus);    // 2: xMin +
    Arrow(dc, {1, 99, 28, 114}, kLeft, kArrowPlus);       // 3: xMin -
    Pair(dc, {74, 82, 105, 99}, true, true);              // 4: x wider
    Pair(dc, {74, 99, 105, 116}, true, false);            // 5: x narrower
    Arrow(dc, {1, 50, 20, 71}, kUp, kArrowMinus);         // 6: yMin +
    Arrow(dc, {1, 71, 20, 95}, kDown, kArrowPlus);        // 7: yMin -
    Arrow(dc, {0, 0, 21, 22}, kUp, kArrowPlus);           // 8: yMax +
    Arrow(dc, {0, 22, 21, 46}, kDown, kArrowMinus);       // 9: yMax -
    Pair(dc, {23, 34, 49, 54}, false, true);              // 10: y wider
    Pair(dc, {23, 54, 49, 70}, false, false);             // 11: y narrower
    // 12 and 13: both wider, both narrower (a square growing or shrinking).
    dc.FillRect({122, 20, 141, 33}, kArrowPlus);
    dc.FillRect({126, 23, 137, 30}, kPadBack);
    dc.FillRect({127, 39, 136, 50}, kArrowMinus);
    return b;
}

Bitmap ZPad() {
    Bitmap b(xyview::kZPictureWidth, xyview::kZPictureHeight, kPadBack);
    Canvas dc(b);
    // A colour strip from the high end (top) to the low end (bottom).
    for (int y = 4; y < 78; ++y) {
        const int t = (y - 4) * 255 / 74;
        dc.FillRect({24, y, 44, y + 1}, platform::Rgb(255 - t, 40, t));
    }
    Arrow(dc, {0, 0, 16, 13}, kUp, kArrowPlus);      // zMax +
    Arrow(dc, {0, 13, 16, 26}, kDown, kArrowMinus);  // zMax -
    Arrow(dc, {0, 53, 17, 65}, kUp, kArrowMinus);    // zMin +
    Arrow(dc, {0, 65, 16, 80}, kDown, kArrowPlus);   // zMin -
    Pair(dc, {56, 48, 72, 60}, false, true);
    Pair(dc, {56, 60, 72, 72}, false, false);
    return b;
}

Bitmap HighLow() {
    Bitmap b(24, 24, 0xFFFFFF);
    Canvas dc(b);
    for (int x = 0; x < 24; ++x) dc.FillRect({x, 0, x + 1, 24}, platform::Rgb(x * 255 / 23, 60, 255 - x * 255 / 23));
    return b;
}

Bitmap ColorMap(bool on) {
    Bitmap b(24, 24, 0xFFFFFF);
    Canvas dc(b);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const int v = (i + j) * 255 / 6;
            const ColorRef c = on ? platform::Rgb(v, 80, 255 - v) : platform::Rgb(90 + v / 3, 90 + v / 3, 90 + v / 3);
            dc.FillRect({i * 6, j * 6, i * 6 + 5, j * 6 + 5}, c);
        }
    }
    return b;
}

Bitmap Histogram(bool on) {
    Bitmap b(24, 24, 0xFFFFFF);
    Canvas dc(b);
    const int heights[5] = {6, 14, 20, 11, 4};
    const ColorRef c = on ? platform::Rgb(30, 90, 230) : platform::Rgb(150, 150, 150);
    for (int i = 0; i < 5; ++i) dc.FillRect({1 + i * 4 + i / 2, 23 - heights[i], 4 + i * 4 + i / 2, 23}, c);
    return b;
}

Bitmap ValueOnly() {
    Bitmap b(24, 24, 0xFFFFFF);
    Canvas dc(b);
    // A box seen from one corner.
    const ColorRef c = platform::Rgb(60, 60, 160);
    Line(dc, 3, 8, 15, 8, c);
    Line(dc, 3, 8, 3, 21, c);
    Line(dc, 3, 21, 15, 21, c);
    Line(dc, 15, 8, 15, 21, c);
    Line(dc, 3, 8, 9, 2, c);
    Line(dc, 15, 8, 21, 2, c);
    Line(dc, 9, 2, 21, 2, c);
    Line(dc, 21, 2, 21, 15, c);
    Line(dc, 15, 21, 21, 15, c);
    return b;
}

}  // namespace

platform::Bitmap MakeViewPicture(int which) {
    switch (which) {
        case kPictureRangePad: return RangePad();
        case kPictureZPad: return ZPad();
        case kPictureHighLow: return HighLow();
        case kPictureColorMapOff: return ColorMap(false);
        case kPictureColorMapOn: return ColorMap(true);
        case kPictureHistogramOff: return Histogram(false);
        case kPictureHistogramOn: return Histogram(true);
        case kPictureValueOnly: return ValueOnly();
        default: return {};
    }
}
