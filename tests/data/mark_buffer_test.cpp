// The depth-ordered mark buffer: growth, drawing order and that no mark is ever lost.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "data/mark_buffer.h"
#include "platform/canvas.h"

using namespace platform;

namespace {

constexpr ColorRef kFill = Rgb(1, 1, 1);

// The buffer's marks drawn on a white picture of the given size.
struct Drawing {
    Drawing(const MarkBuffer& b, int w, int h) : bmp(w, h), dc(bmp) { b.DrawMarks(dc, kFill); }
    Bitmap bmp;
    Canvas dc;
};

}  // namespace

TEST(MarkBuffer, ResetAndGrowth) {
    MarkBuffer b;
    for (int i = 0; i < 999; ++i) b.AddMark(i, i, 1, 0, 0, i);
    EXPECT_EQ(b.marks.size(), 1000u);  // two slots were free before the 999th mark
    b.AddMark(1, 2, 3, 4, 5, 6.5);      // one slot left: grows to count + 1000
    EXPECT_EQ(b.marks.size(), 1999u);
    b.ResetMarkBuffer();
    EXPECT_EQ(std::make_tuple(b.markCount, b.marks.size(), b.largestDepth, b.smallestDepth),
              std::make_tuple(0, 1000u, -1e40, 1e40));
}

TEST(MarkBuffer, EmptyBufferDrawsNothing) {
    const Drawing d(MarkBuffer{}, 20, 20);
    EXPECT_EQ(d.bmp.Image(), Bitmap(20, 20).Image());
}

// Nearer marks (smaller depth) cover farther ones, whatever order they were added in
// (the depths lie in different twentieths of their range).
TEST(MarkBuffer, NearerMarksPaintOverFartherOnes) {
    const ColorRef near = Rgb(255, 0, 0), middle = Rgb(0, 255, 0), far = Rgb(0, 0, 255);
    struct Case {
        double dNear, dMiddle, dFar;
    } cases[] = {{1, 5, 9}, {-3, -2, -1}, {0, 0.5, 1}, {-1e6, 0, 1e6}};
    const int orders[][3] = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}};
    for (const Case& c : cases) {
        for (const auto& order : orders) {
            MarkBuffer b;
            for (int k : order) {
                if (k == 0) b.AddMark(10, 10, 5, 2, near, c.dNear);
                if (k == 1) b.AddMark(12, 10, 5, 2, middle, c.dMiddle);
                if (k == 2) b.AddMark(14, 10, 5, 2, far, c.dFar);
            }
            const Drawing d(b, 30, 20);
            EXPECT_EQ(d.dc.GetPixel(10, 10), near);
            EXPECT_EQ(d.dc.GetPixel(12, 10), near);    // all three overlap here
            EXPECT_EQ(d.dc.GetPixel(16, 10), middle);  // only middle and far
            EXPECT_EQ(d.dc.GetPixel(18, 10), far);
        }
    }
}

// Depth ranges whose band bounds, computed one band after another, would leave the
// smallest depth below the last band or a depth between two bands.
TEST(MarkBuffer, NoDepthFallsOutsideTheBands) {
    struct Case {
        double hi, lo, inner;
    } cases[] = {
        {5.275, 2.725, 4.0},
        {-7.313, -15.787, -10.0},
        {9.121, -0.357, 1.5386000000000009},  // just above the bound between two bands
        {9.121, -0.357, 0.5907999999999999},
    };
    for (const Case& c : cases) {
        MarkBuffer b;
        const ColorRef colours[3] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)};
        b.AddMark(5, 5, 2, 2, colours[0], c.hi);
        b.AddMark(15, 5, 2, 2, colours[1], c.lo);
        b.AddMark(25, 5, 2, 2, colours[2], c.inner);
        // Each mark on its own spot: the spot's centre shows whether the mark was drawn.
        const Drawing d(b, 32, 12);
        EXPECT_EQ(d.dc.GetPixel(5, 5), colours[0]) << c.hi;
        EXPECT_EQ(d.dc.GetPixel(15, 5), colours[1]) << "smallest " << c.lo;
        EXPECT_EQ(d.dc.GetPixel(25, 5), colours[2]) << "inner " << c.inner;
    }
}

// Within a band the marks are visited in five interleaved passes (p, p+5, ...): of seven
// marks of one depth on one spot, mark 4 is drawn last.
TEST(MarkBuffer, InterleavedPassesWithinABand) {
    for (double depth : {0.0, 3.5}) {
        MarkBuffer b;
        for (int i = 0; i < 7; ++i) b.AddMark(5, 5, 3, 2, Rgb(10 * i, 0, 0), depth);
        EXPECT_EQ(Drawing(b, 12, 12).dc.GetPixel(5, 5), Rgb(40, 0, 0));
    }
    // Two depths: the nearer band comes last, and in it mark 2 (pass 2) follows mark 6 (pass 1).
    MarkBuffer b;
    for (int i = 0; i < 7; ++i) b.AddMark(5, 5, 3, 2, Rgb(10 * i, 0, 0), i == 2 || i == 6 ? 0.0 : 1.0);
    EXPECT_EQ(Drawing(b, 12, 12).dc.GetPixel(5, 5), Rgb(20, 0, 0));
}

// Depths that a scene cannot order still give marks: no depth first, infinities at the ends.
TEST(MarkBuffer, UnorderableDepthsAreStillDrawn) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = std::numeric_limits<double>::max();
    struct Case {
        std::vector<double> depths;  // marks at x = 4, 12, 20, ...
    } cases[] = {{{nan}}, {{nan, 1.0}}, {{inf, 1.0, -inf}}, {{huge, -huge, 0.0}}, {{inf, inf}}, {{-inf}}};
    for (const Case& c : cases) {
        MarkBuffer b;
        for (std::size_t i = 0; i < c.depths.size(); ++i)
            b.AddMark(4 + 8 * static_cast<int>(i), 4, 2, 2, Rgb(255, 0, 0), c.depths[i]);
        const Drawing d(b, 40, 10);
        for (std::size_t i = 0; i < c.depths.size(); ++i)
            EXPECT_EQ(d.dc.GetPixel(4 + 8 * static_cast<int>(i), 4), Rgb(255, 0, 0)) << c.depths[i];
    }
    // The farthest of the three overlapping marks is covered, the nearest on top.
    MarkBuffer b;
    b.AddMark(5, 5, 3, 2, Rgb(0, 0, 255), inf);
    b.AddMark(5, 5, 3, 2, Rgb(255, 0, 0), -inf);
    b.AddMark(5, 5, 3, 2, Rgb(0, 255, 0), 0.0);
    EXPECT_EQ(Drawing(b, 12, 12).dc.GetPixel(5, 5), Rgb(255, 0, 0));
}
