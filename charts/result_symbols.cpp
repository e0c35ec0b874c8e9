#include "charts/result_symbols.h"

#include "charts/result_document.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using platform::Canvas;

void Stroke(Canvas& dc, int width, int x1, int y1, int x2, int y2) {
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, width, platform::kBlack));
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectPen(old);
}

void Bar(Canvas& dc, int left, int top, int right, int bottom) {
    dc.FillRect(platform::Rect{left, top, right, bottom}, platform::kBlack);
}

void Ring(Canvas& dc, int width, int left, int top, int right, int bottom) {
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, width, platform::kBlack));
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush::Null());
    dc.Ellipse(left, top, right, bottom);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

// An X with a bar over it inside the box (left, top) of w x h pixels.
void XBar(Canvas& dc, int pen, int left, int top, int w, int h) {
    const int barHeight = pen;
    Bar(dc, left, top, left + w, top + barHeight);
    const int x0 = left + 1, x1 = left + w - 2;
    const int y0 = top + barHeight + 3, y1 = top + h - 1;
    Stroke(dc, pen, x0, y0, x1, y1);
    Stroke(dc, pen, x1, y0, x0, y1);
}

// A sigma: a ring with a stroke leaving its top to the right.
void Sigma(Canvas& dc, int pen, int left, int top, int w, int h) {
    const int ringRight = left + (w * 2) / 3;
    Ring(dc, pen, left, top + pen, ringRight, top + h);
    Bar(dc, (left + ringRight) / 2, top, left + w, top + pen);
}

}  // namespace

std::shared_ptr<platform::Bitmap> MakeResultSymbol(int id) {
    int w = 0, h = 0;
    switch (id) {
    case kSymbolAverage: w = 26; h = 25; break;
    case kSymbolSigma: w = 31; h = 30; break;
    case kSymbolVariation: w = 75; h = 33; break;
    default: return nullptr;
    }
    auto bitmap = std::make_shared<platform::Bitmap>(w, h, platform::kWhite);
    if (bitmap->IsNull()) return nullptr;
    Canvas dc(*bitmap);
    switch (id) {
    case kSymbolAverage:
        XBar(dc, 3, 5, 2, 16, 21);
        break;
    case kSymbolSigma:
        Sigma(dc, 3, 4, 6, 24, 21);
        break;
    case kSymbolVariation:
        Sigma(dc, 2, 9, 1, 19, 13);          // numerator
        Bar(dc, 3, 16, 35, 18);              // fraction line
        XBar(dc, 2, 10, 20, 15, 12);         // denominator
        Ring(dc, 2, 43, 6, 52, 15);          // per cent sign
        Ring(dc, 2, 60, 20, 69, 29);
        Stroke(dc, 2, 67, 4, 45, 31);
        break;
    default:
        break;
    }
    return bitmap;
}

void AttachResultSymbols(resultDocument& document) {
    for (int id = 0; id < 3; ++id) document.symbolBitmaps[static_cast<std::size_t>(id)] = MakeResultSymbol(id);
}
