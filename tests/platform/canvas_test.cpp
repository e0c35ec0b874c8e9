// Drawing semantics the painters rely on: exact pixel coverage of lines and shapes,
// selected objects, pen styles, text placement and copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <numbers>

#include <QFontInfo>

#include "platform/canvas.h"
#include "platform/pixel.h"

using namespace platform;

namespace {

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);

// Pixels of the canvas that are not the background colour, as a bounding box.
Rect InkBox(const Canvas& c, ColorRef background = kWhite) {
    Rect box{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.GetPixel(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

int InkCount(const Canvas& c, ColorRef color) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) n += c.GetPixel(x, y) == color;
    return n;
}

// The ink lies inside the box, give or take slack pixels on each side.
void ExpectInside(const Rect& ink, const Rect& box, int slack) {
    EXPECT_GE(ink.left, box.left - slack);
    EXPECT_GE(ink.top, box.top - slack);
    EXPECT_LE(ink.right, box.right + slack);
    EXPECT_LE(ink.bottom, box.bottom + slack);
}

}  // namespace

TEST(Color, KeepsRedInTheLowByte) {
    EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(std::tuple(RedOf(0x00563412u), GreenOf(0x00563412u), BlueOf(0x00563412u)), std::tuple(0x12, 0x34, 0x56));
    EXPECT_EQ(ToQColor(Rgb(10, 20, 30)), QColor(10, 20, 30));
}

TEST(Pixel, SaturatingConversionNeverOverflows) {
    struct Case {
        double in;
        int out;
    } cases[] = {{0.0, 0},       {12.9, 12},    {-12.9, -12},           {std::nan(""), 0},
                 {1e300, kPixelLimit}, {-1e300, -kPixelLimit}, {HUGE_VAL, kPixelLimit},
                 {-HUGE_VAL, -kPixelLimit}, {2147483648.0, kPixelLimit}};
    for (const Case& c : cases) EXPECT_EQ(SaturatingToInt(c.in), c.out) << c.in;
    EXPECT_EQ(SaturatingRound(2.5), 3);
    EXPECT_EQ(SaturatingRound(-2.5), -3);
}

TEST(Canvas, LineLeavesOutItsEndPixel) {
    Bitmap bmp(30, 30);
    Canvas c(bmp);
    c.SelectPen(Pen(PenStyle::Solid, 1, kRed));
    struct {
        Point from, to;
    } lines[] = {{{2, 5}, {12, 5}}, {{12, 8}, {2, 8}}, {{20, 2}, {20, 12}}, {{3, 15}, {13, 25}}, {{25, 25}, {18, 14}}};
    for (const auto& l : lines) {
        c.MoveTo(l.from.x, l.from.y);
        c.LineTo(l.to.x, l.to.y);
        EXPECT_EQ(c.GetPixel(l.from.x, l.from.y), kRed);
        EXPECT_EQ(c.GetPixel(l.to.x, l.to.y), kWhite) << l.to.x << "," << l.to.y;
    }
    EXPECT_EQ(InkCount(c, kRed), 10 + 10 + 10 + 10 + 11);
}

TEST(Canvas, HugeCoordinatesStillDrawTheVisiblePart) {
    Bitmap bmp(50, 20);
    Canvas c(bmp);
    c.SelectPen(Pen(PenStyle::Solid, 1, kRed));
    c.MoveTo(10, 10);
    c.LineTo(SaturatingToInt(1e12), 10);
    EXPECT_EQ(InkBox(c), (Rect{10, 10, 50, 11}));
    // Endpoints at the extremes of int, both ways, and a wide pen: no overflow, right slope.
    bmp.Fill(kWhite);
    c.MoveTo(-2000000000, -2000000000);
    c.LineTo(2000000000, 2000000000);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(c.GetPixel(i, i), kRed) << i;
    bmp.Fill(kWhite);
    c.SelectPen(Pen(PenStyle::Solid, 3, kBlue));
    c.MoveTo(-2147483647, 5);
    c.LineTo(2147483647, 5);
    EXPECT_EQ(InkBox(c), (Rect{0, 4, 50, 7}));
    c.SelectBrush(Brush(kRed));
    c.Ellipse(-1000000, -1000000, 1000000, 1000000);  // covers everything
    EXPECT_EQ(InkCount(c, kRed), 50 * 20);
}

TEST(Canvas, RectangleLeavesOutRightAndBottomEdges) {
    Bitmap bmp(20, 20);
    Canvas c(bmp);
    c.SelectPen(Pen(PenStyle::Solid, 1, kRed));
    c.SelectBrush(Brush(kBlue));
    c.Rectangle(2, 3, 12, 10);
    EXPECT_EQ(InkBox(c), (Rect{2, 3, 12, 10}));
    EXPECT_EQ(InkCount(c, kRed), 2 * 10 + 2 * 5);  // an outline one pixel wide, filled inside
    // Without a pen, the rectangle is a pixel smaller; an ellipse stays within its box.
    const struct {
        PenStyle pen;
        std::function<void(Canvas&)> draw;
        Rect ink;
    } shapes[] = {
        {PenStyle::Null, [](Canvas& c) { c.Rectangle(2, 3, 12, 10); }, {2, 3, 11, 9}},
        {PenStyle::Solid, [](Canvas& c) { c.Ellipse(3, 4, 15, 12); }, {3, 4, 15, 12}},
    };
    for (const auto& s : shapes) {
        bmp.Fill(kWhite);
        c.SelectPen(Pen(s.pen, 1, kRed));
        s.draw(c);
        EXPECT_EQ(InkBox(c), s.ink) << static_cast<int>(s.pen);
    }
}

TEST(Canvas, PolygonRegionsUseTheAlternateRule) {
    Bitmap bmp(100, 100);
    Canvas c(bmp);
    std::vector<Point> star;  // a pentagram: its centre is crossed twice, so it stays empty
    for (int k = 0; k < 5; ++k) {
        const double a = -std::numbers::pi / 2 + k * 4 * std::numbers::pi / 5;
        star.push_back({50 + static_cast<int>(std::lround(45 * std::cos(a))), 50 + static_cast<int>(std::lround(45 * std::sin(a)))});
    }
    c.FillPolygon(star.data(), static_cast<int>(star.size()), kRed);
    EXPECT_EQ(c.GetPixel(50, 50), kWhite);
    EXPECT_EQ(c.GetPixel(50, 15), kRed);  // inside the upper point
    // Far-away vertices are cut before drawing; the visible part is intact.
    bmp.Fill(kWhite);
    const Point huge[3] = {{-2000000000, -10}, {2000000000, -10}, {0, 2000000000}};
    c.FillPolygon(huge, 3, kBlue);
    EXPECT_EQ(InkCount(c, kBlue), 100 * 100);
}

// Styled lines leave gaps: background-coloured when opaque, untouched when transparent.
TEST(Canvas, PenStylesLeaveGaps) {
    Bitmap bmp(100, 10);
    Canvas c(bmp);
    for (PenStyle s : {PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot}) {
        bmp.Fill(kBlue);
        c.SelectPen(Pen(s, 1, kRed));
        c.SetBkMode(BkMode::Opaque);
        c.MoveTo(0, 2);
        c.LineTo(100, 2);
        c.SetBkMode(BkMode::Transparent);
        c.MoveTo(0, 5);
        c.LineTo(100, 5);
        std::string opaque, transparent;
        for (int x = 0; x < 100; ++x) {
            opaque += c.GetPixel(x, 2) == kRed ? 'r' : c.GetPixel(x, 2) == kWhite ? '.' : '?';
            transparent += c.GetPixel(x, 5) == kRed ? 'r' : c.GetPixel(x, 5) == kBlue ? '.' : '?';
        }
        EXPECT_EQ(opaque.find('?'), std::string::npos) << opaque;
        EXPECT_EQ(transparent, opaque) << static_cast<int>(s);
        EXPECT_GT(std::count(opaque.begin(), opaque.end(), '.'), 10) << static_cast<int>(s) << opaque;
    }
}

TEST(Canvas, TextIsPlacedByItsTopLeftCorner) {
    Bitmap bmp(300, 200);
    Canvas c(bmp);
    c.SelectFont(Font::Make("Arial", 24));
    c.SetBkMode(BkMode::Transparent);
    const std::string text = "Hgj\xC4y";  // ascender, descenders, a Latin-1 capital with a diaeresis
    const Size ext = c.GetTextExtent(text);
    c.TextOut(50, 60, text);
    const Rect ink = InkBox(c);
    ExpectInside(ink, Rect{50, 60, 50 + ext.cx, 60 + ext.cy}, 0);
    EXPECT_GT(ink.Width(), ext.cx / 2);

    // Opaque mode fills exactly the extent box with the background colour.
    bmp.Fill(kWhite);
    c.SetBkMode(BkMode::Opaque);
    c.SetBkColor(kBlue);
    c.TextOut(10, 20, text);
    EXPECT_EQ(InkBox(c), (Rect{10, 20, 10 + ext.cx, 20 + ext.cy}));
}

TEST(Canvas, EscapementRotatesTextAroundItsCorner) {
    Bitmap bmp(200, 300);
    Canvas c(bmp);
    c.SetBkMode(BkMode::Transparent);
    Font up = Font::Make("Arial", 20, kWeightNormal, false, 900);
    c.SelectFont(up);
    const Size ext = c.GetTextExtent("Caption");
    c.TextOut(50, 250, "Caption");
    // Runs upwards from (50, 250), the glyphs' feet to the right.
    EXPECT_GT(InkBox(c).Height(), InkBox(c).Width());
    ExpectInside(InkBox(c), Rect{50, 250 - ext.cx, 50 + ext.cy, 250}, 1);
}

TEST(Font, FacesMapToInstalledFamilies) {
    struct {
        const char* face;
        const char* family;
    } cases[] = {{"Arial", "Liberation Sans"}, {"Times New Roman", "Liberation Serif"},
                 {"Courier New", "Liberation Mono"}, {"Symbol", "DejaVu Sans"}};
    for (const auto& c : cases)
        EXPECT_EQ(QFontInfo(ToQFont(Font::Make(c.face, 16))).family().toStdString(), c.family) << c.face;
}

TEST(Font, HeightWeightAndSymbolText) {
    Font f = Font::Make("Times", 20, kWeightSemiBold);
    QFont q = ToQFont(f);
    EXPECT_EQ(q.pixelSize(), 20);
    EXPECT_EQ(q.weight(), QFont::DemiBold);
    f.height = 20;  // cell height: the character is smaller, the line is 20 pixels
    q = ToQFont(f);
    EXPECT_LT(q.pixelSize(), 20);
    EXPECT_NEAR(QFontMetrics(q).height(), 20, 1);

    Font sym;
    sym.faceName = "Symbol";
    EXPECT_EQ(FontText(sym, "abD"), QString::fromUtf8("\u03B1\u03B2\u0394"));
    EXPECT_EQ(FontText(f, "a\xC2\xB5\xE2\x80\x94"), QString::fromUtf8("a\u00B5\u2014"));  // UTF-8
}

TEST(Canvas, CopyAndStretch) {
    Bitmap src(8, 8, kBlue);
    Canvas s(src);
    s.SetPixel(1, 2, kRed);
    Bitmap dst(20, 20);
    Canvas d(dst);
    d.CopyFrom(5, 5, 8, 8, src, 0, 0);
    EXPECT_EQ(InkBox(d), (Rect{5, 5, 13, 13}));
    EXPECT_EQ(d.GetPixel(6, 7), kRed);
    d.CopyFrom(-4, -4, 8, 8, src, 0, 0);  // cut at the destination's edge
    EXPECT_EQ(d.GetPixel(0, 0), kBlue);
    EXPECT_EQ(d.GetPixel(4, 4), kWhite);

    dst.Fill(kWhite);
    d.StretchFrom(0, 0, 16, 16, src, 0, 0, 8, 8);  // twice the size
    EXPECT_EQ(InkBox(d), (Rect{0, 0, 16, 16}));
    EXPECT_EQ(d.GetPixel(3, 5), kRed);
    EXPECT_EQ(d.GetPixel(4, 4), kBlue);
    // Overlapping copy inside one image keeps the source pixels.
    d.CopyFrom(1, 1, 16, 16, dst, 0, 0);
    EXPECT_EQ(d.GetPixel(3, 5), kRed);
    EXPECT_EQ(d.GetPixel(4, 6), kRed);
}
