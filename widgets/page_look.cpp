#include "widgets/page_look.h"

#include <algorithm>

#include "widgets/owner_button.h"

ControlColors PageBrushOnly(platform::ColorRef brush) {
    ControlColors c;
    c.back = brush;
    c.brush = brush;
    return c;
}

ControlColors TextOn(platform::ColorRef text, platform::ColorRef back, platform::ColorRef brush) {
    ControlColors c;
    c.hasText = true;
    c.text = text;
    c.back = back;
    c.brush = brush;
    return c;
}

void FillPageBackground(platform::Dialog& page, platform::ColorRef brush) {
    if (!page.HasWindow()) return;
    platform::ClientDC dc(page);
    dc.FillRect({0, 0, dc.Width(), dc.Height()}, brush);
}

void DrawPageButton(platform::DrawItem& item, platform::ColorRef fill, platform::ColorRef caption,
                    const platform::Bitmap* picture) {
    if (!item.canvas) return;
    platform::Canvas& dc = *item.canvas;
    platform::Rect inner = DrawButtonFace(dc, item.rect, fill, item.pressed);
    inner = {inner.left - 1, inner.top - 1, inner.right + 1, inner.bottom + 1};  // one pixel inside the face
    if (picture && !picture->IsNull()) {
        // The picture sits 3 pixels in from the top left corner, a square of the height less 6.
        const int side = std::max(0, item.rect.Height() - 6);
        const platform::Rect square{item.rect.left + 3, item.rect.top + 3, item.rect.left + 3 + side,
                                    item.rect.top + 3 + side};
        DrawButtonPicture(dc, square, *picture);
        inner.left = std::min(inner.right, square.right);
    }
    DrawButtonCaption(dc, inner, item.text, caption);
}

int PointInRectInclusive(const platform::Rect& r, platform::Point p) {
    return (p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom) ? 1 : 0;
}

bool DrawActionAndCancelButtons(platform::DrawItem& item, int actionId, platform::ColorRef fill,
                                platform::ColorRef caption, int cancelId) {
    if (item.controlId == actionId) {
        DrawPageButton(item, fill, caption);
        return true;
    }
    if (item.controlId == cancelId) {
        DrawPageButton(item, 0xFFFFFF, 0xFF1E1E);
        return true;
    }
    return false;
}

void DrawFramedText(platform::Canvas& dc, const std::string& text, int left, int top, int right, int bottom,
                    platform::ColorRef color, int penWidth) {
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, penWidth, color));
    dc.MoveTo(left, bottom);
    dc.LineTo(left, top);
    dc.LineTo(right, top);
    dc.LineTo(right, bottom);
    dc.LineTo(left, bottom);
    dc.SelectPen(old);
    dc.SetTextColor(color);
    const int h = dc.GetTextExtent(text).cy;
    dc.TextOut(left + 5, top - h - 2, text);
}
