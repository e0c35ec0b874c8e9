#pragma once
// Point marks: the small shapes that stand for data points on every chart. All
// coordinates here are pixels; nothing maps world values.
#include <vector>

#include "data/series.h"
#include "platform/canvas.h"
#include "platform/color.h"

// Mark shape codes (an Initial's markShape).
enum MarkShape : int {
    kMarkFilledCircle = 0,
    kMarkCircleWithFill = 1,  // outlined in the colour, filled with the fill colour
    kMarkFilledSquare = 2,
    kMarkOpenSquare = 3,
    kMarkVerticalDash = 4,
    kMarkHorizontalDash = 5,
    kMarkFilledTriangleUp = 6,
    kMarkFilledTriangleDown = 7,
    kMarkOpenTriangleUp = 8,
    kMarkOpenTriangleDown = 9,
    kMarkPlus = 10,
    kMarkCross = 11,
    kMarkHash = 12,
    kMarkFourStrokes = 13,
    kMarkNone = 14,
    kMarkLine = 15,  // the points are joined instead of marked
};

// One mark of half size r centred on (x, y): solid pen in the colour, 2 pixels wide
// (3 when r > 8), brush in the colour; shape 1 is filled with fillColor. Shapes outside
// 0 to 13 draw nothing. The canvas gets its previous pen and brush back.
void DrawMarker(platform::Canvas& dc, int x, int y, int r, int shape, platform::ColorRef color,
                platform::ColorRef fillColor);

// The series table's sample of a parameter's mark: the square of half size markSize + 4
// around (x, y) cleared to the background, then the mark (shape 1 filled with the
// background), or a zig-zag line for shape 15; shape 14 leaves the cleared square.
void DrawMarkerSample(platform::Canvas& dc, int x, int y, const Initial& initial, platform::ColorRef background);

// The mark at every point (x[i], y[i]); shape 15 joins the points in array order with one
// poly-line r pixels wide. Nothing is drawn for empty or unequal arrays, r < 1 or shape 14.
void DrawMarksAtPoints(platform::Canvas& dc, platform::ColorRef color, platform::ColorRef fillColor, int r, int shape,
                       const std::vector<int>& x, const std::vector<int>& y);
