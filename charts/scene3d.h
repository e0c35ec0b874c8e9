#pragma once
// The small perspective camera every three-dimensional picture is drawn through. World
// points are normalised into the unit box, seen from an eye through two view angles and
// projected onto a rectangular panel (the viewport) of the chart bitmap. The record also
// carries a flat world-to-pixel mapping of its own for the flat colour maps.
//
// The camera arithmetic and the triangulation are plain code; only the painting members
// (scene_painting.cpp) draw, through the canvas declared forward here.
#include <cstdint>
#include <vector>

#include "charts/scene_triangulation.h"

namespace platform {
class Canvas;
struct Font;
struct Point;
}  // namespace platform

class scene3d {
public:
    using Colour = std::uint32_t;  // 0x00BBGGRR, red in the low byte

    double zoom = 0;                                // pixels per unit of lateral offset / depth
    double eyeX = 0, eyeY = 0, eyeZ = 0;            // eye in normalised coordinates
    double azimuth = 0;                             // radians, turn about the vertical axis
    double elevation = 0;                           // radians, view direction from the vertical
    double referenceDistance = 0;                   // eye to box centre at set-up; size factor numerator
    double eyeStep = 0;                             // eye move of the view page; 0.15 after set-up
    double angleStep = 0;                           // angle move of the view page; 0.1 after set-up
    double halfWidth = 0, halfHeight = 0;           // half the viewport, pixels
    double orbitDistance = 0;                       // eye to the orbit point of the view page
    double boxCentre[3] = {0, 0, 0};                // world box centre x, y, z
    double boxBounds[6] = {0, 0, 0, 0, 0, 0};       // xMax, xMin, yMax, yMin, zMax, zMin
    double mapXMax = 0, mapXMin = 0, mapYMax = 0, mapYMin = 0;  // flat mapping, world
    std::int32_t mapPixelXMax = 0, mapPixelXMin = 0;            // pixel columns of mapXMax / mapXMin
    std::int32_t mapPixelYMax = 0, mapPixelYMin = 0;            // pixel rows of mapYMax / mapYMin
    double mapScaleX = 0, mapScaleY = 0;            // pixels per world unit, signed
    double originX = 0, scaleX = 0;                 // u = (value - origin) * scale, per axis
    double originY = 0, scaleY = 0;
    double originZ = 0, scaleZ = 0;
    double viewport[4] = {0, 0, 0, 0};              // x1, x2, y1, y2
    double sinAzimuth = 0, cosAzimuth = 0, sinElevation = 0, cosElevation = 0;

    // ---- Camera ----------------------------------------------------------------------
    // Default camera for the world box, fitted so the farthest box corner lies at 95 % of
    // the smaller half size of the viewport.
    void SetupView(double xMin, double xMax, double yMin, double yMax, double zMin, double zMax, std::int32_t x1,
                   std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // A non-finite zoom is refused (the old one stays).
    void SetView(double eyeX, double eyeY, double eyeZ, double azimuth, double elevation, double zoom,
                 std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    void SetEyeAndAngles(double eyeX, double eyeY, double eyeZ, double azimuth, double elevation);
    // Follows a resized panel, scaling zoom so the picture keeps its size relative to it.
    // A panel of zero width or height is refused; before any viewport the zoom is kept.
    void SetCamera(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // Follows a picture of its own size (an export) instead: the zoom keeps the scene's share
    // of the smaller half size, so the picture shows the scene as large as the panel does
    // whatever the two shapes are. Refusals as for SetCamera.
    void FitCameraToPicture(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // A viewport of zero width or height is refused (the old one stays).
    void SetViewport(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // Origins are the minima; an axis of no positive finite range keeps scale 1.
    void SetScales(double xMin, double xMax, double yMin, double yMax, double zMin, double zMax);
    void NormalizePoint(double& x, double& y, double& z) const;
    void TranslateToEye(double& x, double& y, double& z) const;
    // Pixel position relative to the viewport's top-left corner; size = referenceDistance /
    // depth; depth negative behind the eye. 0 (outputs untouched) at the eye itself or
    // while the zoom is not finite.
    std::int32_t ProjectPoint(double x, double y, double z, double& px, double& py, double& size,
                              double& depth) const;

    // ---- Flat mapping ----------------------------------------------------------------
    void ComputePlotScales();
    std::int32_t WorldToPixelX(double x) const;  // truncated toward zero, saturating
    std::int32_t WorldToPixelY(double y) const;
    // The cell statistics of the cell map: g * g cells (cell (i, j) at j * g + i) over
    // the flat mapping's world rectangle, g = trunc(sqrt(n * 0.1)) at most 40; points with
    // a non-finite coordinate are left out. zMin, zMax over the finite z. Returns g, or 0
    // (nothing written) below 998 points.
    std::int32_t ComputeCells(const std::vector<double>& xs, const std::vector<double>& ys,
                              const std::vector<double>& zs, std::vector<l_stat_a>& cells, double& zMin,
                              double& zMax) const;

    // ---- Triangulation (scene_triangulation.cpp) -------------------------------------
    // Covers the points with triangles by walking the outline and cutting ears, pulling
    // inner points into the ears, then splitting the triangles that still hold points.
    // The output is cleared first; points with a non-finite coordinate take no part.
    void Triangulate(const std::vector<double>& xs, const std::vector<double>& ys,
                     std::vector<triangle>& triangles) const;
    // The ear to cut or fill next: the (ear, rest point) pair whose point lies in the ear
    // nearest to the ear's base midpoint; else the best-shaped ear and restIndex -1.
    std::int32_t FindInsertion(const std::vector<double>& xs, const std::vector<double>& ys,
                               const PointIndexList& outline, const PointIndexList& rest, std::int32_t& ear,
                               std::int32_t& restIndex) const;

    // ---- Painting (scene_painting.cpp) -----------------------------------------------
    // Axes through (x0, y0, z0) with tick labels; the caller's text colour and mode.
    void PaintAxes(platform::Canvas& dc, const platform::Font* font, double x0, double y0, double z0, double xMin,
                   double yMin, double zMin, double xMax, double yMax, double zMax, std::int32_t ticks) const;
    // Floor of the box with grid lines, one vertical edge and tick labels.
    void PaintBoxAxes(platform::Canvas& dc, const platform::Font* font, double xMin, double yMin, double zMin,
                      double xMax, double yMax, double zMax, std::int32_t ticks) const;
    // Net of the fitted surface (kind 0 plane, kind 1 parabolic), clipped to the viewport.
    void PaintSurfaceNet(platform::Canvas& dc, const std::vector<double>& coefficients, std::int32_t kind,
                         std::int32_t steps, double xMin, double yMin, double xMax, double yMax) const;
    // Cell map of large point sets; 1 painted, 0 not (fewer than 998 points, steps < 0).
    std::int32_t PaintCellMap(platform::Canvas& dc, const std::vector<double>& xs, const std::vector<double>& ys,
                              const std::vector<double>& zs, std::int32_t steps, Colour low, Colour high) const;
    // Band map over a fresh triangulation; triangles with no corner in the map rectangle
    // are skipped.
    void PaintLevels(platform::Canvas& dc, const std::vector<double>& xs, const std::vector<double>& ys,
                     const std::vector<double>& zs, std::int32_t steps, Colour low, Colour high) const;
    void PaintTriangles(platform::Canvas& dc, const std::vector<triangle>& triangles, const std::vector<double>& xs,
                        const std::vector<double>& ys, const std::vector<double>& zs, std::int32_t steps,
                        Colour low, Colour high, double zMin, double zMax) const;
    // One triangle in bands of width w, each band filled in the colour of its lower level.
    void PaintTriangleBands(platform::Canvas& dc, const triangle& t, const std::vector<double>& xs,
                            const std::vector<double>& ys, const std::vector<double>& zs, Colour low, Colour high,
                            double zMin, double zMax, double w) const;
};

// The program's one camera. The three-dimensional view page owns it: its `theScene3d`
// member refers to this record, and every painter reaches the same one.
scene3d& TheScene3d();

// Sum of coefficient[k] * row[k] over the basis row of the surface model
// (kind 0: 1, x, y; kind 1: 1, x, y, x^2, y^2); other kinds give 0.
double PolynomialSurfaceValue(double x, double y, std::int32_t count, const std::vector<double>& coefficients,
                              std::int32_t kind);
// Number of terms of a surface model kind: 3, 5, or 0.
std::int32_t SurfaceModelTermCount(std::int32_t kind);
// Tick step of 1, 2, 5 or 10 times the decade of r.
double NiceTickStep3D(double r);

// Channel-wise colour between low and high for v in [zMin, zMax], clamped to 0..255.
// The band map truncates before adding the low channel, the cell map after.
scene3d::Colour BandColour(double v, double zMin, double zMax, scene3d::Colour low, scene3d::Colour high);
scene3d::Colour CellColour(double v, double zMin, double zMax, scene3d::Colour low, scene3d::Colour high);

// ---- Drawing helpers (scene_painting.cpp) ---------------------------------------------
// A solid polygon region (alternate rule), no outline; fewer than three points fill nothing.
void FillPolygon(platform::Canvas& dc, const platform::Point* points, std::int32_t n, scene3d::Colour colour);
// The part of the segment inside the rectangle, bounds included.
void DrawClippedSegment(platform::Canvas& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                        std::int32_t xMax, std::int32_t yMax, std::int32_t xMin, std::int32_t yMin);
void DrawSegment(platform::Canvas& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
void DrawTextAt(platform::Canvas& dc, std::int32_t x, std::int32_t y, const char* text);
