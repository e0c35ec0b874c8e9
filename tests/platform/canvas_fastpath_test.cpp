// The canvas's shortcuts must not change a pixel: stamped shapes against Qt drawing them
// in place, the painter kept open between calls against a fresh painter for every call,
// and the image staying safe to resize, copy and share while a canvas is alive.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <QPainter>

#include "platform/canvas.h"
#include "platform/canvas_stamps.h"

using namespace platform;

namespace {

constexpr ColorRef kInk = Rgb(200, 10, 20);
constexpr ColorRef kFill = Rgb(10, 180, 40);

// Restores the thread's stamp setting when a test ends.
struct StampSwitch {
    bool saved = detail::StampsEnabled();
    ~StampSwitch() { detail::SetStampsEnabled(saved); }
};

// "" when two images have the same size and pixels, else where they first differ.
std::string Difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "size";
    for (int y = 0; y < a.height(); ++y) {
        if (a.format() == b.format() && std::memcmp(a.constScanLine(y), b.constScanLine(y), a.bytesPerLine()) == 0) continue;
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
    }
    return "";
}

// The image a fresh canvas over a fresh white bitmap draws.
QImage Reference(int w, int h, const std::function<void(Canvas&)>& draw) {
    Bitmap bmp(w, h);
    Canvas c(bmp);
    draw(c);
    return bmp.Image();
}

struct ShapeCase {
    std::string name;
    std::function<void(Canvas&, int x, int y, ColorRef ink)> draw;
};

// Every kind of call the stamps serve, at several sizes and pens, in the ink given.
std::vector<ShapeCase> StampedShapes() {
    std::vector<ShapeCase> cases;
    for (int r : {1, 2, 3, 4, 6, 9, 13}) {
        for (int pw : {0, 1, 2, 3, 5}) {
            const std::string tag = "r" + std::to_string(r) + " pen" + std::to_string(pw);
            cases.push_back({"ellipse " + tag, [=](Canvas& c, int x, int y, ColorRef ink) {
                                 c.SelectPen(Pen(PenStyle::Solid, pw, ink));
                                 c.SelectBrush(Brush(kFill));
                                 c.Ellipse(x - r, y - r, x + r, y + r + 1);
                             }});
            if (pw < 2) continue;  // thin lines and rectangles are drawn without Qt anyway
            cases.push_back({"lines " + tag, [=](Canvas& c, int x, int y, ColorRef ink) {
                                 c.SelectPen(Pen(PenStyle::Solid, pw, ink));
                                 const Point open[5] = {{x - r, y - r}, {x - r, y + r}, {x + r, y + r}, {x + r, y - r}, {x - r, y - r}};
                                 c.Polyline(open, 5);
                                 c.MoveTo(x - r, y + r / 2);
                                 c.LineTo(x + r / 2, y - r);
                             }});
            cases.push_back({"polygons " + tag, [=](Canvas& c, int x, int y, ColorRef ink) {
                                 c.SelectPen(Pen(PenStyle::Solid, pw, ink));
                                 c.SelectBrush(Brush::Null());
                                 const int s = static_cast<int>(0.6 * r);
                                 const Point tri[3] = {{x + r, y + s}, {x, y - r}, {x - r, y + s}};
                                 c.FillPolygon(tri, 3, kFill);
                                 const Point quad[5] = {{x - r, y - s}, {x, y + r}, {x + r, y - s}, {x, y}, {x - r, y - s}};
                                 c.Polyline(quad, 5);
                                 c.Rectangle(x - r, y - r, x + r, y + r);
                             }});
        }
    }
    // Styled thin outlines and hollow shapes go to Qt; they must still mix correctly.
    cases.push_back({"dashed ellipse", [](Canvas& c, int x, int y, ColorRef ink) {
                         c.SelectPen(Pen(PenStyle::Dot, 1, ink));
                         c.SelectBrush(Brush(kFill));
                         c.Ellipse(x - 7, y - 5, x + 7, y + 5);
                     }});
    return cases;
}

// Positions around the powers of two the stamps are placed by, and around the edges.
std::vector<int> Around(std::initializer_list<int> centres, int spread) {
    std::vector<int> v;
    for (int c : centres)
        for (int d = -spread; d <= spread; ++d) v.push_back(c + d);
    return v;
}

void ExpectStampsMatchQt(int width, int height) {
    StampSwitch restore;
    Bitmap stamped(width, height), reference(width, height);
    Canvas a(stamped), b(reference);
    const std::vector<int> xs = Around({0, 32, 64, 128, 256, 512, 1024, width}, 17);
    const std::vector<int> ys = Around({0, 32, 64, 128, 256, 512, height}, 17);
    std::mt19937 rng(5);
    std::vector<std::pair<int, int>> spots;
    for (int x : xs) spots.push_back({x, ys[rng() % ys.size()]});
    for (int y : ys) spots.push_back({xs[rng() % xs.size()], y});
    for (const ShapeCase& sc : StampedShapes()) {
        // Overlapping marks in changing inks: each stamp must land in drawing order.
        for (auto [x, y] : spots) {
            const ColorRef ink = Rgb((x * 7) & 255, 40, (y * 13) & 255);
            detail::SetStampsEnabled(true);
            sc.draw(a, x, y, ink);
            detail::SetStampsEnabled(false);
            sc.draw(b, x, y, ink);
        }
        ASSERT_EQ(Difference(stamped.Image(), reference.Image()), "") << sc.name;
        stamped.Fill(kWhite);
        reference.Fill(kWhite);
    }
}

}  // namespace

// The image's own edges are the only clip.
TEST(CanvasStamps, SamePixelsAsQtAtEverySizeAndPlace) { ExpectStampsMatchQt(1100, 600); }

// Thin solid lines with both ends visible take a shorter walk; a dashed pen whose gaps are
// filled in the pen's own colour takes the general one and must give the same pixels.
TEST(CanvasThinLines, ShortWalkMatchesTheGeneralOne) {
    Bitmap direct(120, 90), general(120, 90);
    Canvas a(direct), b(general);
    a.SelectPen(Pen(PenStyle::Solid, 1, kInk));
    b.SelectPen(Pen(PenStyle::Dash, 1, kInk));
    b.SetBkMode(BkMode::Opaque);
    b.SetBkColor(kInk);
    std::mt19937 rng(17);
    for (int i = 0; i < 4000; ++i) {
        // Mostly inside, some ends outside or on the last row and column.
        const int x1 = static_cast<int>(rng() % 130) - 5, y1 = static_cast<int>(rng() % 100) - 5;
        const int x2 = i % 3 == 0 ? 119 : static_cast<int>(rng() % 120), y2 = i % 5 == 0 ? 89 : static_cast<int>(rng() % 90);
        for (Canvas* c : {&a, &b}) {
            c->MoveTo(x1, y1);
            c->LineTo(x2, y2);
        }
        if (i % 400 == 399) {
            ASSERT_EQ(Difference(direct.Image(), general.Image()), "") << i;
            direct.Fill(kWhite);
            general.Fill(kWhite);
        }
    }
}

// One long-lived canvas against a canvas whose painter starts afresh for every call (a
// shallow copy of the image, taken before each call, makes the canvas detach and begin
// anew): the state kept between calls must never leak into a later call.
TEST(CanvasSession, KeptPainterDrawsAsAFreshOneForEveryCall) {
    Bitmap kept(240, 160), fresh(240, 160);
    Canvas a(kept), b(fresh);
    std::mt19937 rng(3);
    auto R = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
    for (int step = 0; step < 1500; ++step) {
        const int op = R(0, 8);
        const int x = R(-20, 250), y = R(-20, 170), s = R(1, 40), t = R(1, 40);
        const ColorRef col = Rgb(R(0, 255), R(0, 255), R(0, 255));
        const int style = R(0, 5), width = R(0, 4), angle = R(0, 2) == 0 ? R(-900, 900) : 0;
        const bool opaque = R(0, 1) == 1, hollow = R(0, 3) == 0, arial = R(0, 1) == 1;
        for (Canvas* c : {&a, &b}) {
            QImage hold;
            if (c == &b) hold = fresh.Image();
            switch (op) {
                case 0: c->SelectPen(Pen(static_cast<PenStyle>(style), width, col)); break;
                case 1: c->SelectBrush(hollow ? Brush::Null() : Brush(col)); break;
                case 2: c->Ellipse(x, y, x + s, y + t); break;
                case 3: c->MoveTo(x, y); c->LineTo(x + s - 20, y + t - 20); break;
                case 4: {
                    const Point p[4] = {{x, y}, {x + s, y + 3}, {x + s / 2, y + t}, {x - 5, y + t / 2}};
                    c->FillPolygon(p, 4, col);
                    break;
                }
                case 5:
                    c->SetBkMode(opaque ? BkMode::Opaque : BkMode::Transparent);
                    c->SetBkColor(col);
                    break;
                case 6:
                    c->SelectFont(Font::Make(arial ? "Arial" : "Times", 8 + s / 3, kWeightNormal, false, angle));
                    break;
                case 7: c->SetTextColor(col); c->TextOut(x, y, "Ag 1.5e+06"); break;
                default: c->Rectangle(x, y, x + s, y + t); break;
            }
        }
    }
    EXPECT_EQ(Difference(kept.Image(), fresh.Image()), "");
}

TEST(CanvasSession, ResizedOrReplacedImagesAreFollowed) {
    auto shapes = [](Canvas& c) {
        c.SelectPen(Pen(PenStyle::Solid, 3, kInk));
        c.SelectBrush(Brush(kFill));
        c.Ellipse(2, 2, 18, 9);
        c.MoveTo(0, 5);
        c.LineTo(100, 5);
        c.SetTextColor(kInk);
        c.TextOut(1, 1, "Wg");
    };
    Bitmap bmp(50, 40);
    Canvas c(bmp);
    shapes(c);
    // Resizing (also to the same size, which may reuse the freed memory) while the canvas lives.
    for (auto [w, h] : {std::pair{80, 60}, std::pair{80, 60}, std::pair{20, 10}, std::pair{80, 60}}) {
        ASSERT_TRUE(bmp.Resize(w, h));
        EXPECT_EQ(c.Width(), w);
        shapes(c);
        EXPECT_EQ(Difference(bmp.Image(), Reference(w, h, shapes)), "") << w << "x" << h;
    }
    // The pattern of the main window: its bitmap replaced while the old canvas still exists,
    // then the canvas replaced.
    Bitmap screen(60, 40);
    auto dc = std::make_unique<Canvas>(screen);
    shapes(*dc);
    screen = Bitmap(90, 50);
    dc = std::make_unique<Canvas>(screen);
    shapes(*dc);
    EXPECT_EQ(Difference(screen.Image(), Reference(90, 50, shapes)), "");
    // An image of another format assigned behind the canvas is converted and drawn on.
    QImage& img = bmp.Image();
    img = QImage(30, 20, QImage::Format_RGB16);
    img.fill(Qt::white);
    shapes(c);
    EXPECT_TRUE(img.format() == QImage::Format_RGB32);
    EXPECT_EQ(Difference(img, Reference(30, 20, shapes)), "");
}

TEST(CanvasSession, DrawingIsInTheImageAtOnceAndCopiesStayApart) {
    Bitmap bmp(40, 40);
    Canvas c(bmp);
    c.SelectPen(Pen(PenStyle::Solid, 2, kInk));
    c.SelectBrush(Brush(kFill));
    c.Ellipse(4, 4, 20, 20);
    // A copy taken now keeps today's pixels when the canvas goes on drawing.
    const QImage before = bmp.Image();
    c.Ellipse(20, 20, 36, 36);
    EXPECT_EQ(before.pixel(28, 28), 0xFFFFFFFFu);
    EXPECT_EQ(c.GetPixel(28, 28), kFill);
    // Another painter reading the image sees every call so far, without any flush.
    QImage shown(40, 40, QImage::Format_RGB32);
    {
        QPainter p(&shown);
        p.drawImage(0, 0, bmp.Image());
    }
    EXPECT_EQ(Difference(shown, bmp.Image()), "");
    // Two canvases on one image take turns as one canvas would.
    Bitmap one(40, 40), two(40, 40);
    Canvas single(one), first(two), second(two);
    for (int i = 0; i < 6; ++i) {
        Canvas& turn = i % 2 == 0 ? first : second;
        for (Canvas* cv : {&single, &turn}) {
            cv->SelectPen(Pen(PenStyle::Solid, 3, Rgb(40 * i, 0, 0)));
            cv->SelectBrush(Brush(Rgb(0, 40 * i, 0)));
            cv->Ellipse(3 * i, 2 * i, 3 * i + 15, 2 * i + 18);
        }
    }
    EXPECT_EQ(Difference(one.Image(), two.Image()), "");
    // Copying within the image right after drawing moves the new pixels.
    c.CopyFrom(0, 0, 20, 20, bmp, 20, 20);
    EXPECT_EQ(c.GetPixel(8, 8), kFill);
}
