#pragma once
// The one world-to-pixel mapping that every two-dimensional chart is drawn through:
// a world rectangle (the value ranges shown) and a pixel rectangle of the chart
// bitmap, both program-wide. The repaint sets the frame, the analysis widens the
// ranges to its data, the chart frame shrinks the pixel rectangle and computes the
// scales, and from then on painters map points with WorldToPixelX/Y.
//
// This header and its source stay free of Qt so the mapping can be reasoned about
// (and tested) as plain arithmetic.
#include <vector>

namespace platform {
class Canvas;
}

extern double plotXMin, plotXMax;  // world x range shown
extern double plotYMin, plotYMax;  // world y range shown
extern double plotZMin, plotZMax;  // range of the third quantity (colour or height)
extern int plotLeft, plotRight;    // pixel columns of plotXMin and plotXMax
extern int plotBottom, plotTop;    // pixel rows of plotYMin and plotYMax (rows grow down)
extern double plotScaleX;          // pixels per x unit
extern double plotScaleY;          // pixels per y unit, negative when y grows upwards
extern double plotYDirection;      // +1.0 when plotTop < plotBottom, else -1.0
extern int plotMarginTop;          // 3
extern int plotMarginLeft;         // 5
extern int plotFrameRight;         // chart width + 5
extern int plotFrameBottom;        // |chart height|
extern int penUp;                  // non-zero: the next poly-line point starts a new piece

// Sentinel of an empty range: every minimum above every maximum.
constexpr double kPlotRangeEmptyMin = 1e60;
constexpr double kPlotRangeEmptyMax = -1e60;

// The View page's stored ranges, used when automatic zoom is off.
struct PlotViewRanges {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0, zMin = 0, zMax = 0;
};

// Pixel rectangle = the whole chart; ranges reset (autozoom) or taken from the view.
void SetChartFrame(int width, int height, int autozoom, const PlotViewRanges& view);
void ResetPlotRanges();
// Widen a range to cover every finite element (NaN and infinities are passed over).
void ExtendXRange(const std::vector<double>& values);
void ExtendYRange(const std::vector<double>& values);
void ExtendZRange(const std::vector<double>& values);
// Smallest and largest element (NaN ignored); (0, 0) for an empty array.
void MinMaxOfArray(const std::vector<double>& values, double& min, double& max);
// Scales and y direction from the ranges and the pixel rectangle. A range of zero
// width is first widened by a fixed amount so the scales stay finite.
void ComputePlotScales();

// Truncating toward zero. A NaN world value gives a pixel far above/left of the
// bitmap; values beyond the bitmap saturate far outside it (never overflow).
int WorldToPixelX(double x);
int WorldToPixelY(double y);
double PixelToWorldX(int px);
// The row is in window terms: the chart's top margin is removed first.
double PixelToWorldY(int py);

// Step of 1, 2 or 5 times a power of ten for a range length per interval.
double NiceTickStep(double range);

// One step of a poly-line. While mathDomainError is set the point is skipped and the
// pen lifted, so a curve with undefined stretches is drawn as separate pieces.
void PlotPointPixel(platform::Canvas& dc, int x, int y);
void PlotPointWorld(platform::Canvas& dc, double x, double y);
