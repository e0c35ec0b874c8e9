#pragma once
// The depth-ordered mark buffer of the three-dimensional scatter: painters add marks
// with their depth, then draw them all so that nearer marks (smaller depth) cover
// farther ones. The Data page owns one (it derives from MarkBuffer).
#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "platform/color.h"

// One buffered mark.
struct mark3d {
    std::int32_t x = 0;  // pixel
    std::int32_t y = 0;  // pixel
    std::int32_t shape = 0;
    std::int32_t size = 0;  // half size of the mark
    platform::ColorRef color = 0;
    double depth = 0.0;  // sorts the drawing: larger is farther
};

class MarkBuffer {
public:
    MarkBuffer() { ResetMarkBuffer(); }

    // Empties the buffer: no marks, depth range reset, room for 1000 marks.
    void ResetMarkBuffer();
    // Stores one mark; the array grows by 1000 at a time.
    void AddMark(int x, int y, int size, int shape, platform::ColorRef color, double depth);
    // Draws the buffered marks with DrawMarker, farthest first: 20 depth bands from the
    // largest depth down, each visited in five interleaved passes (marks p, p+5, ...).
    // A mark on a band boundary is drawn in both bands.
    void DrawMarks(platform::Canvas& dc, platform::ColorRef fillColor) const;

    std::vector<mark3d> marks;       // slots 0 .. markCount-1 are in use
    std::int32_t markCount = 0;
    double largestDepth = -1e40;
    double smallestDepth = 1e40;

    static constexpr int kGrowth = 1000;
    static constexpr int kBands = 20;
    static constexpr int kPasses = 5;
};
