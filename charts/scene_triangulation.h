#pragma once
// Records and plain planar geometry shared by the scene's triangulation and its painters:
// point in polygon / triangle, the triangle shape measure, segment directions and the
// outline walk around a scattered point set. Plain arithmetic, no drawing.
//
// Point sets are parallel arrays of x and y (and z) values; a point is its index.
// Polygons and the working lists of the triangulation hold unsigned indices.
#include <cstdint>
#include <vector>

// One triangle of a triangulation: three indices into the caller's point arrays.
struct triangle {
    std::int32_t first = 0;
    std::int32_t second = 0;
    std::int32_t third = 0;

    triangle() = default;
    triangle(std::int32_t a, std::int32_t b, std::int32_t c) : first(a), second(b), third(c) {}
    bool operator==(const triangle&) const = default;
};

// Statistics of one cell of the cell map.
struct l_stat_a {
    double mean = 0;
    double deviation = 0;
    double sum = 0;
    double sumOfSquares = 0;
    std::int32_t count = 0;
};

using PointIndexList = std::vector<std::uint32_t>;

// Even-odd rule by ray crossings. The half-open test on y counts a vertex at the point's
// height once; a point on a lower edge is inside, on an upper or right-hand edge outside.
std::int32_t PointInPolygon(std::int32_t n, const double* xs, const double* ys, double px, double py);
// 1 when point d lies inside triangle (a, b, c) by the rule above.
std::int32_t PointInTriangle(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                             const std::vector<double>& xs, const std::vector<double>& ys);
// Longest edge / shortest edge; 1e29 when two corners coincide.
double TriangleMeasure(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t a,
                       std::int32_t b, std::int32_t c);
// Direction of the segment i -> j, radians, measured clockwise from +x.
double EdgeAngle(std::int32_t i, std::int32_t j, const std::vector<double>& xs, const std::vector<double>& ys);
// b - a, plus 6.28 when negative (the walk's own turn unit, not 2 pi).
double AngleDifference(double a, double b);
// Index of the first largest (smallest) element, its value written; -1 for an empty array.
std::int32_t IndexOfMaximum(const std::vector<double>& values, double& value);
std::int32_t IndexOfMinimum(const std::vector<double>& values, double& value);
// (previous, this, next) vertex of a closed polygon; a middle index is clamped into
// [1, n-2]. Polygons of fewer than three vertices wrap around.
triangle PolygonTriple(std::int32_t i, const PointIndexList& polygon);

// One step of the clockwise walk around the point set from its topmost point: takes the
// point of `rest` with the smallest clockwise turn from `direction` (the first of equal
// turns) unless the total turn would pass 6.28. 1 when a point was added, 0 when over.
std::int32_t HullStep(std::int32_t start, double& direction, double& totalTurn, const std::vector<double>& xs,
                      const std::vector<double>& ys, PointIndexList& outline, PointIndexList& rest);
// The whole walk: `rest` starts as every point with finite coordinates (in index order),
// the walk starts at the first of the highest of them; `outline` gets the walked points
// in walking order and `rest` keeps the others.
void WalkOutline(const std::vector<double>& xs, const std::vector<double>& ys, PointIndexList& outline,
                 PointIndexList& rest);
