// Mark geometry checked on the pixels: where each shape must and must not put ink,
// pen widths, marks at points and dropping points outside a box.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "data/point_marks.h"
#include "data/points_in_box.h"
#include "platform/canvas.h"

using namespace platform;

namespace {

constexpr ColorRef kInk = Rgb(200, 0, 0);
constexpr ColorRef kFill = Rgb(0, 0, 200);
constexpr ColorRef kPaper = kWhite;

std::set<std::pair<int, int>> InkSet(const Canvas& c, ColorRef background = kPaper) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.GetPixel(x, y) != background) s.insert({x, y});
    return s;
}

Rect InkBox(const std::set<std::pair<int, int>>& ink) {
    Rect b{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (auto [x, y] : ink) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x + 1);
        b.bottom = std::max(b.bottom, y + 1);
    }
    return b;
}

// A white picture and the canvas drawing on it.
struct Sheet {
    explicit Sheet(int w = 41, int h = 41) : bmp(w, h), dc(bmp) {}
    Bitmap bmp;
    Canvas dc;
};

// How many pixels of the row y (or, with column, of the column x = at) carry the ink.
int InkAcross(const Canvas& c, int at, bool column = false) {
    int n = 0;
    for (int i = 0; i < (column ? c.Height() : c.Width()); ++i) n += (column ? c.GetPixel(at, i) : c.GetPixel(i, at)) == kInk;
    return n;
}

struct Probe {
    int dx, dy;
    bool inked;
};

// Whether the centre of pixel (px, py) lies inside the triangle a, b, c (no ties occur
// for the sizes used here).
bool CentreInTriangle(int px, int py, Point a, Point b, Point c) {
    const double x = px + 0.5, y = py + 0.5;
    auto side = [&](Point p, Point q) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
    const double s1 = side(a, b), s2 = side(b, c), s3 = side(c, a);
    return (s1 > 0 && s2 > 0 && s3 > 0) || (s1 < 0 && s2 < 0 && s3 < 0);
}

}  // namespace

// Half size 6 centred on (20, 20): t(0.6r) = 3, t(0.5r) = 3, t(0.7r) = 4.
TEST(DrawMarker, EachShapeInksWhereItsGeometrySays) {
    const int cx = 20, cy = 20, r = 6;
    struct Case {
        int shape;
        std::vector<Probe> probes;
    } cases[] = {
        {0, {{0, 0, true}, {0, -5, true}, {-5, 0, true}, {-6, -6, false}, {5, 5, false}}},
        {1, {{0, -5, true}, {-6, -6, false}, {5, 5, false}}},
        {2, {{0, 0, true}, {-6, -6, true}, {5, 5, true}, {-5, 4, true}}},
        {3, {{0, 0, false}, {2, -2, false}, {-6, -6, true}, {-6, 0, true}, {0, 5, true}, {5, 0, true}}},
        {4, {{0, -5, true}, {0, 0, true}, {0, 5, true}, {-3, 0, false}, {3, 0, false}, {0, -9, false}}},
        {5, {{-5, 0, true}, {0, 0, true}, {5, 0, true}, {0, -3, false}, {0, 3, false}, {-9, 0, false}}},
        {6, {{0, 0, true}, {0, -4, true}, {-4, 2, true}, {4, 2, true}, {0, 5, false}, {-5, -5, false}}},
        {7, {{0, 0, true}, {0, 4, true}, {-4, -3, true}, {4, -3, true}, {0, -6, false}, {5, 5, false}}},
        {8, {{0, 0, false}, {0, 3, true}, {0, -5, true}, {-5, 3, true}, {0, 6, false}}},
        {9, {{0, 0, false}, {0, -3, true}, {0, 5, true}, {-5, -3, true}, {0, -7, false}}},
        {10, {{0, 0, true}, {0, -5, true}, {0, 5, true}, {-5, 0, true}, {5, 0, true}, {3, 3, false}, {-5, -5, false}}},
        {11, {{0, 0, true}, {-5, -5, true}, {5, 5, true}, {-5, 5, true}, {5, -5, true}, {0, -5, false}, {5, 0, false}}},
        {12, {{0, 0, false}, {-3, -5, true}, {3, 5, true}, {-5, 3, true}, {5, -3, true}, {-3, 0, true}, {-6, -6, false}}},
        {13, {{-1, 1, true}, {1, -1, true}, {-1, -1, true}, {1, 1, true}, {0, -5, false}, {-6, -6, false}, {6, 6, false}}},
    };
    std::set<std::vector<ColorRef>> patterns;  // the whole picture of each shape
    for (const Case& c : cases) {
        Sheet s;
        const Canvas& dc = s.dc;
        DrawMarker(s.dc, cx, cy, r, c.shape, kInk, kFill);
        for (const Probe& p : c.probes) {
            const ColorRef got = dc.GetPixel(cx + p.dx, cy + p.dy);
            EXPECT_EQ(got != kPaper, p.inked) << "shape " << c.shape << " at " << p.dx << "," << p.dy;
        }
        const auto ink = InkSet(dc);
        ASSERT_FALSE(ink.empty()) << c.shape;
        // The pen reaches at most one pixel beyond the mark's box on every side.
        const Rect box = InkBox(ink);
        EXPECT_TRUE(box.left >= cx - r - 1 && box.top >= cy - r - 1 && box.right <= cx + r + 2 && box.bottom <= cy + r + 2)
            << c.shape;
        // Only the mark's own colours appear.
        for (auto [x, y] : ink) {
            const ColorRef px = dc.GetPixel(x, y);
            EXPECT_TRUE(px == kInk || (c.shape == 1 && px == kFill)) << c.shape;
        }
        std::vector<ColorRef> picture;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x) picture.push_back(dc.GetPixel(x, y));
        patterns.insert(picture);
    }
    EXPECT_EQ(patterns.size(), std::size(cases)) << "two shapes drew the same pattern";
}

// The filled triangles have no outline: exactly the pixels whose centres lie inside.
TEST(DrawMarker, FilledTrianglesCoverExactlyTheirRegion) {
    const int cx = 20, cy = 20, r = 6, s = 3;
    struct Case {
        int shape;
        Point a, b, c;
    } cases[] = {
        {6, {cx + r, cy + s}, {cx, cy - r}, {cx - r, cy + s}},
        {7, {cx - r, cy - s}, {cx, cy + r}, {cx + r, cy - s}},
    };
    for (const Case& c : cases) {
        Sheet sheet;
        DrawMarker(sheet.dc, cx, cy, r, c.shape, kInk, kFill);
        std::set<std::pair<int, int>> expected;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x)
                if (CentreInTriangle(x, y, c.a, c.b, c.c)) expected.insert({x, y});
        EXPECT_EQ(InkSet(sheet.dc), expected) << c.shape;
        EXPECT_EQ(expected.size(), 54u);  // the triangle's area: 12 x 9 / 2
    }
}

TEST(DrawMarker, NoMarkOutsideTheDrawnShapes) {
    for (int shape : {14, 15, 16, -1, 1000}) {
        Sheet s;
        DrawMarker(s.dc, 20, 20, 6, shape, kInk, kFill);
        EXPECT_TRUE(InkSet(s.dc).empty()) << shape;
    }
}

// The pen is 2 pixels wide up to half size 8 and 3 beyond: a vertical dash is as wide.
TEST(DrawMarker, PenWidthGrowsAboveHalfSizeEight) {
    for (auto [r, width] : {std::pair{1, 2}, std::pair{8, 2}, std::pair{9, 3}, std::pair{15, 3}}) {
        Sheet s(60, 60);
        DrawMarker(s.dc, 30, 30, r, 4, kInk, kFill);
        EXPECT_EQ(InkAcross(s.dc, 30), width) << "r = " << r;
    }
}

TEST(DrawMarker, HugeCoordinatesAndSizesDoNotOverflow) {
    Bitmap bmp(41, 41);
    Canvas dc(bmp);
    const int big = std::numeric_limits<int>::max();
    for (int shape = 0; shape < 14; ++shape) {
        SCOPED_TRACE(shape);
        bmp.Fill(kWhite);
        // Far off the canvas: nothing of it shows.
        DrawMarker(dc, big, big, 9, shape, kInk, kFill);
        DrawMarker(dc, -big, 20, 9, shape, kInk, kFill);
        DrawMarker(dc, 20, big, 9, shape, kInk, kFill);
        EXPECT_TRUE(InkSet(dc).empty());
        // Absurd sizes return, and the canvas still draws an ordinary mark afterwards.
        DrawMarker(dc, big, big, big, shape, kInk, kFill);
        DrawMarker(dc, -big, 20, big, shape, kInk, kFill);
        bmp.Fill(kWhite);
        DrawMarker(dc, 20, 20, 9, shape, kInk, kFill);
        EXPECT_FALSE(InkSet(dc).empty());
    }
}

TEST(DrawMarksAtPoints, MarksEveryPoint) {
    const std::vector<int> xs{10, 30, 50}, ys{10, 40, 20};
    Bitmap a(64, 64), b(64, 64);
    Canvas ca(a), cb(b);
    DrawMarksAtPoints(ca, kInk, kFill, 4, 1, xs, ys);
    for (std::size_t i = 0; i < xs.size(); ++i) DrawMarker(cb, xs[i], ys[i], 4, 1, kInk, kFill);
    EXPECT_EQ(a.Image(), b.Image());
    EXPECT_EQ(ca.GetPixel(30, 40), kFill);
}

// Three points joined by one poly-line of two segments, r pixels wide, not closed.
TEST(DrawMarksAtPoints, LineShapeJoinsThePointsInOrder) {
    const std::vector<int> xs{10, 50, 50}, ys{10, 10, 50};
    Sheet s(64, 64);
    DrawMarksAtPoints(s.dc, kInk, kFill, 3, 15, xs, ys);
    EXPECT_EQ(InkAcross(s.dc, 30, true), 3);
    EXPECT_EQ(InkAcross(s.dc, 30), 3);
    EXPECT_EQ(s.dc.GetPixel(30, 30), kPaper);  // no closing segment
    EXPECT_EQ(s.dc.GetPixel(10, 30), kPaper);  // and no marks at the points
}

TEST(DrawMarksAtPoints, DrawsNothingForUnusableInput) {
    struct Case {
        std::vector<int> x, y;
        int r, shape;
    } cases[] = {
        {{}, {}, 4, 0},                    // empty
        {{10}, {10, 20}, 4, 0},            // x shorter than y
        {{10, 20}, {10}, 4, 0},            // x longer than y: no sound pairing
        {{10, 20}, {10, 20}, 0, 0},        // r below 1
        {{10, 20}, {10, 20}, -3, 15},      // r below 1, line
        {{10, 20}, {10, 20}, 4, 14},       // no mark
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        Sheet s;
        DrawMarksAtPoints(s.dc, kInk, kFill, c.r, c.shape, c.x, c.y);
        EXPECT_TRUE(InkSet(s.dc).empty()) << "case " << i;
    }
    // A one-pixel line is still drawn.
    Sheet s;
    DrawMarksAtPoints(s.dc, kInk, kFill, 1, 15, {10, 20}, {10, 30});
    EXPECT_EQ(InkSet(s.dc).size(), 20u);
}

TEST(KeepPointsInBox, KeepsThePairsInsideBoundsIncluded) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<double> x, y, keptX, keptY;
    } cases[] = {
        {{}, {}, {}, {}},
        {{0, 1, 2, 3}, {5, 5, 5, 5}, {1, 2}, {5, 5}},        // x from 1 to 2
        {{1, 1.5, 2}, {4, 6, 7}, {1, 1.5}, {4, 6}},          // edges kept, y beyond 6 dropped
        {{1, nan, 1.5}, {5, 5, nan}, {1}, {5}},              // no value is never inside
        {{1, 2, 1.5}, {5, 5}, {1, 2}, {5, 5}},               // paired up to the shorter array
    };
    for (Case& c : cases) {
        KeepPointsInBox(c.x, c.y, 1, 2, 4, 6);
        EXPECT_EQ(c.x, c.keptX);
        EXPECT_EQ(c.y, c.keptY);
    }
}

TEST(KeepPointsInBox, ThreeDimensionalBoxCutsAllThreeArrays) {
    std::vector<double> x{0, 1, 1, 2, 1}, y{1, 1, 1, 1, 3}, z{0, 0, 9, 1, 0};
    KeepPointsInBox3(x, y, z, 0, 1, 0, 2, 0, 1);
    EXPECT_EQ(x, (std::vector<double>{0, 1}));
    EXPECT_EQ(y, (std::vector<double>{1, 1}));
    EXPECT_EQ(z, (std::vector<double>{0, 0}));
    std::vector<double> e1, e2, e3;
    KeepPointsInBox3(e1, e2, e3, 0, 1, 0, 1, 0, 1);
    EXPECT_TRUE(e1.empty() && e2.empty() && e3.empty());
}
