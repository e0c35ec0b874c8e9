#include "widgets/owner_button.h"

#include "platform/pen.h"
#include "platform/utf8_cut.h"

namespace {

constexpr platform::ColorRef kHighlight = 0xFFFFFF;
constexpr platform::ColorRef kLight = 0xE3E3E3;
constexpr platform::ColorRef kShadow = 0xA0A0A0;
constexpr platform::ColorRef kDarkShadow = 0x696969;

// One ring of the edge: top and left in one colour, bottom and right in the other.
void Ring(platform::Canvas& dc, const platform::Rect& r, platform::ColorRef topLeft, platform::ColorRef bottomRight) {
    dc.FillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace

void DrawButtonEdge(platform::Canvas& dc, const platform::Rect& r, bool pressed) {
    if (r.Width() < 4 || r.Height() < 4) return;
    const platform::Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (pressed) {
        Ring(dc, r, kShadow, kHighlight);
        Ring(dc, inner, kDarkShadow, kLight);
    } else {
        Ring(dc, r, kLight, kDarkShadow);
        Ring(dc, inner, kHighlight, kShadow);
    }
}

platform::Rect DrawButtonFace(platform::Canvas& dc, const platform::Rect& r, platform::ColorRef face, bool pressed) {
    dc.FillRect(r, face);
    if (r.Width() < 4 || r.Height() < 4) return r;
    DrawButtonEdge(dc, r, pressed);
    return {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
}

void DrawButtonPicture(platform::Canvas& dc, const platform::Rect& r, const platform::Bitmap& picture) {
    if (picture.IsNull() || r.IsEmpty()) return;
    dc.StretchFrom(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, picture.Width(), picture.Height());
}

void DrawButtonCaption(platform::Canvas& dc, const platform::Rect& r, const std::string& text,
                       platform::ColorRef color) {
    std::string shown = text;
    platform::Size size = dc.GetTextExtent(shown);
    if (size.cx > r.Width()) {
        while (!shown.empty() && dc.GetTextExtent(shown + "...").cx > r.Width()) platform::PopUtf8(shown);
        shown += "...";
        size = dc.GetTextExtent(shown);
    }
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    const platform::ColorRef oldColor = dc.SetTextColor(color);
    dc.TextOut(r.left + (r.Width() - size.cx) / 2, r.top + (r.Height() - size.cy) / 2, shown);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
}

namespace {

constexpr int kPictureSide = 16;

// Four colour wells on a light board with a dark frame.
platform::Bitmap PalettePicture() {
    platform::Bitmap b(kPictureSide, kPictureSide, 0xF0F0F0);
    platform::Canvas dc(b);
    dc.FillRect({0, 0, kPictureSide, 1}, 0x404040);
    dc.FillRect({0, kPictureSide - 1, kPictureSide, kPictureSide}, 0x404040);
    dc.FillRect({0, 0, 1, kPictureSide}, 0x404040);
    dc.FillRect({kPictureSide - 1, 0, kPictureSide, kPictureSide}, 0x404040);
    const platform::ColorRef wells[4] = {platform::Rgb(230, 30, 30), platform::Rgb(30, 180, 30),
                                         platform::Rgb(30, 60, 230), platform::Rgb(250, 210, 0)};
    for (int i = 0; i < 4; ++i) {
        const int x = 3 + (i % 2) * 6, y = 3 + (i / 2) * 6;
        dc.FillRect({x, y, x + 4, y + 4}, wells[i]);
    }
    return b;
}

// A capital A over a red underline.
platform::Bitmap LetterPicture() {
    platform::Bitmap b(kPictureSide, kPictureSide, 0xF0F0F0);
    platform::Canvas dc(b);
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, platform::Rgb(0, 0, 128)));
    dc.MoveTo(3, 12);
    dc.LineTo(8, 2);
    dc.LineTo(13, 12);
    dc.MoveTo(5, 8);
    dc.LineTo(11, 8);
    dc.SelectPen(old);
    dc.FillRect({2, 13, 14, 15}, platform::Rgb(200, 0, 0));
    return b;
}

}  // namespace

platform::Bitmap LoadButtonPicture(int resourceId) {
    switch (resourceId) {
        case 161: return PalettePicture();
        case 166: return LetterPicture();
        default: return platform::Bitmap();
    }
}
