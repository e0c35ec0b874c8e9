// Painting through the scene's camera and flat mapping: axes, box, surface net, band
// maps of triangles and the cell map. Nothing here sorts by depth; later shapes cover
// earlier ones.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "charts/scene3d.h"
#include "platform/canvas.h"
#include "platform/pixel.h"

using platform::Canvas;
using platform::Point;
using platform::SaturatingToInt;

namespace {

// Upper bounds of the band and tick loops, whatever the counts and values ask for.
constexpr std::int32_t kMaxLoop = 100000;
constexpr std::int32_t kMaxTicks = 1000;

struct Pixel {
    std::int32_t x = 0, y = 0;
};

bool Project(const scene3d& s, double x, double y, double z, Pixel& p) {
    double px = 0, py = 0, size = 0, depth = 0;
    if (!s.ProjectPoint(x, y, z, px, py, size, depth)) return false;
    p = Pixel{SaturatingToInt(px), SaturatingToInt(py)};
    return true;
}

// Ticks of one axis: step and first tick, and how many at most may follow.
struct TickRun {
    double first = 0;
    double step = 0;
    std::int32_t limit = 0;  // 0: no ticks
};

TickRun Ticks(double min, double max, std::int32_t count) {
    TickRun run;
    run.step = NiceTickStep3D((max - min) / count);
    if (!(run.step > 0) || !std::isfinite(run.step)) return run;
    run.first = std::trunc(min / run.step) * run.step;
    // The nice step is at least 0.63 of the asked one, so 2 * count + 3 ticks cover the
    // range with the first tick below its minimum.
    run.limit = static_cast<std::int32_t>(std::min<std::int64_t>(2LL * std::max(count, 0) + 3, kMaxTicks));
    return run;
}

std::string TickLabel(double v) {
    if (std::fabs(v) < 1e-6) v = 0;
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// Whichever end is lower on the panel (the first when level), 10 pixels to its left.
void LabelLowerEnd(Canvas& dc, const Pixel& a, const Pixel& b, const std::string& text) {
    const Pixel& at = b.y > a.y ? b : a;
    DrawTextAt(dc, at.x - 10, at.y, text.c_str());
}

// Orders the corners of t by z, lowest first (stable among equal values).
void OrderThree(const triangle& t, const std::vector<double>& zs, std::int32_t& lo, std::int32_t& mid,
                std::int32_t& hi) {
    std::int32_t c[3] = {t.first, t.second, t.third};
    auto z = [&](std::int32_t i) { return zs[static_cast<std::size_t>(i)]; };
    if (z(c[1]) < z(c[0])) std::swap(c[0], c[1]);
    if (z(c[2]) < z(c[1])) {
        std::swap(c[1], c[2]);
        if (z(c[1]) < z(c[0])) std::swap(c[0], c[1]);
    }
    lo = c[0];
    mid = c[1];
    hi = c[2];
}

bool ValidTriangle(const triangle& t, std::size_t n) {
    auto ok = [n](std::int32_t i) { return i >= 0 && static_cast<std::size_t>(i) < n; };
    return ok(t.first) && ok(t.second) && ok(t.third);
}

// A colour step count of 0 would make one infinitely wide band: it is taken as one band.
double BandWidth(double zMin, double zMax, std::int32_t steps) {
    return (zMax - zMin) / std::max(steps, 1);
}

struct FiniteRange {
    bool any = false;
    double min = 0, max = 0;
};

FiniteRange RangeOf(const std::vector<double>& values) {
    FiniteRange r;
    for (double v : values) {
        if (!std::isfinite(v)) continue;
        if (!r.any || v < r.min) r.min = v;
        if (!r.any || v > r.max) r.max = v;
        r.any = true;
    }
    return r;
}

}  // namespace

void FillPolygon(Canvas& dc, const Point* points, std::int32_t n, scene3d::Colour colour) {
    if (points == nullptr || n < 3) return;
    dc.FillPolygon(points, n, colour);
}

void DrawSegment(Canvas& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

void DrawTextAt(Canvas& dc, std::int32_t x, std::int32_t y, const char* text) {
    dc.TextOut(x, y, text);
}

void DrawClippedSegment(Canvas& dc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                        std::int32_t xMax, std::int32_t yMax, std::int32_t xMin, std::int32_t yMin) {
    auto inside = [&](std::int32_t x, std::int32_t y) { return x >= xMin && x <= xMax && y >= yMin && y <= yMax; };
    const bool in1 = inside(x1, y1), in2 = inside(x2, y2);
    if (in1 && in2) {
        DrawSegment(dc, x1, y1, x2, y2);
        return;
    }
    if ((x1 < xMin && x2 < xMin) || (x1 > xMax && x2 > xMax) || (y1 < yMin && y2 < yMin) ||
        (y1 > yMax && y2 > yMax))
        return;

    // Crossings with the edges, each strictly between the two other edges.
    Pixel cross[4];
    int crossings = 0;
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    for (std::int32_t edge : {xMin, xMax}) {
        if ((x1 < edge && x2 < edge) || (x1 > edge && x2 > edge) || x1 == x2) continue;
        const std::int32_t y = SaturatingToInt(y1 + dy * (edge - static_cast<double>(x1)) / dx);
        if (y > yMin && y < yMax) cross[crossings++] = Pixel{edge, y};
    }
    for (std::int32_t edge : {yMin, yMax}) {
        if ((y1 < edge && y2 < edge) || (y1 > edge && y2 > edge) || y1 == y2) continue;
        const std::int32_t x = SaturatingToInt(x1 + dx * (edge - static_cast<double>(y1)) / dy);
        if (x > xMin && x < xMax) cross[crossings++] = Pixel{x, edge};
    }
    if (crossings == 0) return;
    if (in1 || in2) {
        // From the inside end to the crossing farthest from it (an end lying on an edge
        // is a crossing of its own).
        const Pixel from = in1 ? Pixel{x1, y1} : Pixel{x2, y2};
        auto dist = [&](const Pixel& p) {
            return std::hypot(static_cast<double>(p.x) - from.x, static_cast<double>(p.y) - from.y);
        };
        const Pixel* to = &cross[0];
        for (int k = 1; k < crossings; ++k)
            if (dist(cross[k]) > dist(*to)) to = &cross[k];
        DrawSegment(dc, from.x, from.y, to->x, to->y);
        return;
    }
    if (crossings >= 2) DrawSegment(dc, cross[0].x, cross[0].y, cross[1].x, cross[1].y);
}

void scene3d::PaintAxes(Canvas& dc, const platform::Font* font, double x0, double y0, double z0, double xMin,
                        double yMin, double zMin, double xMax, double yMax, double zMax, std::int32_t ticks) const {
    platform::Font previous;
    if (font != nullptr) previous = dc.SelectFont(*font);
    const TickRun tx = Ticks(xMin, xMax, ticks), ty = Ticks(yMin, yMax, ticks), tz = Ticks(zMin, zMax, ticks);

    const double ends[3][6] = {
        {xMin, y0, z0, xMax, y0, z0}, {x0, yMin, z0, x0, yMax, z0}, {x0, y0, zMin, x0, y0, zMax}};
    for (const auto& e : ends) {
        Pixel a, b;
        if (Project(*this, e[0], e[1], e[2], a) && Project(*this, e[3], e[4], e[5], b))
            DrawSegment(dc, a.x, a.y, b.x, b.y);
    }

    const TickRun* runs[3] = {&tx, &ty, &tz};
    const double mins[3] = {xMin, yMin, zMin}, maxs[3] = {xMax, yMax, zMax};
    for (int axis = 0; axis < 3; ++axis) {
        const TickRun& run = *runs[axis];
        for (std::int32_t k = 0; k < run.limit; ++k) {
            const double v = run.first + k * run.step;
            if (!(v <= maxs[axis])) break;
            if (v < mins[axis]) continue;
            const double p[3] = {axis == 0 ? v : x0, axis == 1 ? v : y0, axis == 2 ? v : z0};
            Pixel at;
            if (Project(*this, p[0], p[1], p[2], at)) DrawTextAt(dc, at.x, at.y, TickLabel(v).c_str());
        }
    }
    if (font != nullptr) dc.SelectFont(previous);
}

void scene3d::PaintBoxAxes(Canvas& dc, const platform::Font* font, double xMin, double yMin, double zMin,
                           double xMax, double yMax, double zMax, std::int32_t ticks) const {
    platform::Font previous;
    if (font != nullptr) previous = dc.SelectFont(*font);
    const TickRun tx = Ticks(xMin, xMax, ticks), ty = Ticks(yMin, yMax, ticks), tz = Ticks(zMin, zMax, ticks);

    // The floor, remembering its leftmost corner on the panel for the vertical edge.
    const double floor[5][2] = {{xMin, yMin}, {xMax, yMin}, {xMax, yMax}, {xMin, yMax}, {xMin, yMin}};
    Pixel corner[5];
    bool projected[5];
    for (int k = 0; k < 5; ++k) projected[k] = Project(*this, floor[k][0], floor[k][1], zMin, corner[k]);
    int leftmost = 0;
    for (int k = 1; k < 4; ++k)
        if (projected[k] && (!projected[leftmost] || corner[k].x < corner[leftmost].x)) leftmost = k;
    for (int k = 0; k < 4; ++k)
        if (projected[k] && projected[k + 1])
            DrawSegment(dc, corner[k].x, corner[k].y, corner[k + 1].x, corner[k + 1].y);

    const double cx = floor[leftmost][0], cy = floor[leftmost][1];
    Pixel top;
    if (projected[leftmost] && Project(*this, cx, cy, zMax, top))
        DrawSegment(dc, corner[leftmost].x, corner[leftmost].y, top.x, top.y);

    // Floor grid lines of the x and y ticks; a tick at the maximum is left out here.
    for (std::int32_t k = 0; k < tx.limit; ++k) {
        const double x = tx.first + k * tx.step;
        if (!(x < xMax)) break;
        if (x < xMin) continue;
        Pixel a, b;
        if (!Project(*this, x, yMin, zMin, a) || !Project(*this, x, yMax, zMin, b)) continue;
        DrawSegment(dc, a.x, a.y, b.x, b.y);
        LabelLowerEnd(dc, a, b, TickLabel(x));
    }
    for (std::int32_t k = 0; k < ty.limit; ++k) {
        const double y = ty.first + k * ty.step;
        if (!(y < yMax)) break;
        if (y < yMin) continue;
        Pixel a, b;
        if (!Project(*this, xMin, y, zMin, a) || !Project(*this, xMax, y, zMin, b)) continue;
        DrawSegment(dc, a.x, a.y, b.x, b.y);
        LabelLowerEnd(dc, a, b, TickLabel(y));
    }
    for (std::int32_t k = 0; k < tz.limit; ++k) {
        const double z = tz.first + k * tz.step;
        if (!(z <= zMax)) break;
        if (z < zMin) continue;
        Pixel at;
        if (Project(*this, cx, cy, z, at)) DrawTextAt(dc, at.x - 10, at.y, TickLabel(z).c_str());
    }
    if (font != nullptr) dc.SelectFont(previous);
}

void scene3d::PaintSurfaceNet(Canvas& dc, const std::vector<double>& coefficients, std::int32_t kind,
                              std::int32_t steps, double xMin, double yMin, double xMax, double yMax) const {
    if (steps <= 0) return;
    const double dx = (xMax - xMin) / steps, dy = (yMax - yMin) / steps;
    if (!(dx >= 1e-10) || !(dy >= 1e-10) || !std::isfinite(dx) || !std::isfinite(dy)) return;
    const std::int32_t clipLeft = SaturatingToInt(viewport[0]), clipRight = SaturatingToInt(viewport[1]);
    const std::int32_t clipTop = SaturatingToInt(std::min(viewport[2], viewport[3]));
    const std::int32_t clipBottom = SaturatingToInt(std::max(viewport[2], viewport[3]));
    const std::int32_t terms = SurfaceModelTermCount(kind);

    auto segment = [&](double xa, double ya, double xb, double yb) {
        Pixel a, b;
        if (!Project(*this, xa, ya, PolynomialSurfaceValue(xa, ya, terms, coefficients, kind), a)) return;
        if (!Project(*this, xb, yb, PolynomialSurfaceValue(xb, yb, terms, coefficients, kind), b)) return;
        DrawClippedSegment(dc, a.x, a.y, b.x, b.y, clipRight, clipBottom, clipLeft, clipTop);
    };
    // steps + 1 lines each way, steps segments along each line.
    for (std::int32_t i = 0; i <= steps; ++i) {
        const double x = xMin + i * dx;
        for (std::int32_t j = 0; j < steps; ++j) segment(x, yMin + j * dy, x, yMin + (j + 1) * dy);
    }
    for (std::int32_t j = 0; j <= steps; ++j) {
        const double y = yMin + j * dy;
        for (std::int32_t i = 0; i < steps; ++i) segment(xMin + i * dx, y, xMin + (i + 1) * dx, y);
    }
}

void scene3d::PaintTriangleBands(Canvas& dc, const triangle& t, const std::vector<double>& xs,
                                 const std::vector<double>& ys, const std::vector<double>& zs, Colour low,
                                 Colour high, double zMin, double zMax, double w) const {
    const double range = zMax - zMin;
    if (!(range > 0) || !(w > 0) || !std::isfinite(range) || !std::isfinite(w)) return;
    if (!ValidTriangle(t, std::min({xs.size(), ys.size(), zs.size()}))) return;
    std::int32_t lo = 0, mid = 0, hi = 0;
    OrderThree(t, zs, lo, mid, hi);
    auto Z = [&](std::int32_t i) { return zs[static_cast<std::size_t>(i)]; };
    if (!std::isfinite(Z(lo)) || !std::isfinite(Z(hi)) || !std::isfinite(Z(mid))) return;

    // Largest multiple of w strictly below the lowest corner.
    double level = std::trunc(Z(lo) / w) * w;
    for (int k = 0; k < 4 && level >= Z(lo); ++k) level -= w;
    double upper = level + w;

    Point points[9];
    int count = 0;
    auto add = [&](double x, double y) {
        points[count++] = Point{WorldToPixelX(x), WorldToPixelY(y)};
    };
    auto corner = [&](std::int32_t p, double l, double h) {
        if (l <= Z(p) && Z(p) <= h) add(xs[static_cast<std::size_t>(p)], ys[static_cast<std::size_t>(p)]);
    };
    // Edge p-q (p the lower corner) crossing level v, interpolated from p.
    auto crossing = [&](std::int32_t p, std::int32_t q, double v) {
        const double zp = Z(p), zq = Z(q);
        if (zp == zq || v < zp || v > zq) return;
        const double f = (v - zp) / (zq - zp);
        const double xp = xs[static_cast<std::size_t>(p)], yp = ys[static_cast<std::size_t>(p)];
        add(xp + (xs[static_cast<std::size_t>(q)] - xp) * f, yp + (ys[static_cast<std::size_t>(q)] - yp) * f);
    };

    // At most steps + 2 bands reach from below the lowest corner to the top of the range.
    const double bands = std::floor(range / w) + 2;
    const std::int32_t limit = bands < kMaxLoop ? static_cast<std::int32_t>(bands) : kMaxLoop;
    for (std::int32_t band = 0; band < limit && level <= Z(hi); ++band) {
        count = 0;
        corner(lo, level, upper);
        crossing(lo, mid, level);
        crossing(lo, mid, upper);
        corner(mid, level, upper);
        crossing(mid, hi, level);
        crossing(mid, hi, upper);
        corner(hi, level, upper);
        crossing(lo, hi, upper);
        crossing(lo, hi, level);
        const Colour colour = level > zMax ? high : level < zMin ? low : BandColour(level, zMin, zMax, low, high);
        FillPolygon(dc, points, count, colour);
        level += w;
        upper += w;
    }
}

void scene3d::PaintTriangles(Canvas& dc, const std::vector<triangle>& triangles, const std::vector<double>& xs,
                             const std::vector<double>& ys, const std::vector<double>& zs, std::int32_t steps,
                             Colour low, Colour high, double zMin, double zMax) const {
    if (steps < 0) return;
    const double w = BandWidth(zMin, zMax, steps);
    for (const triangle& t : triangles) PaintTriangleBands(dc, t, xs, ys, zs, low, high, zMin, zMax, w);
}

void scene3d::PaintLevels(Canvas& dc, const std::vector<double>& xs, const std::vector<double>& ys,
                          const std::vector<double>& zs, std::int32_t steps, Colour low, Colour high) const {
    std::vector<triangle> triangles;
    Triangulate(xs, ys, triangles);
    const FiniteRange z = RangeOf(zs);
    if (!z.any || steps < 0) return;
    const double w = BandWidth(z.min, z.max, steps);
    const std::size_t n = std::min({xs.size(), ys.size(), zs.size()});
    auto inRect = [&](std::int32_t i) {
        const double x = xs[static_cast<std::size_t>(i)], y = ys[static_cast<std::size_t>(i)];
        return mapXMin <= x && x <= mapXMax && mapYMin <= y && y <= mapYMax;
    };
    for (const triangle& t : triangles) {
        if (!ValidTriangle(t, n)) continue;
        if (inRect(t.first) || inRect(t.second) || inRect(t.third))
            PaintTriangleBands(dc, t, xs, ys, zs, low, high, z.min, z.max, w);
    }
}

std::int32_t scene3d::PaintCellMap(Canvas& dc, const std::vector<double>& xs, const std::vector<double>& ys,
                                   const std::vector<double>& zs, std::int32_t steps, Colour low,
                                   Colour high) const {
    std::vector<l_stat_a> cells;
    double zMin = 0, zMax = 0;
    const std::int32_t g = ComputeCells(xs, ys, zs, cells, zMin, zMax);
    if (g == 0 || steps < 0) return 0;
    const double w = (mapXMax - mapXMin) / g, h = (mapYMax - mapYMin) / g;

    auto paintBox = [&](std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom, Colour c) {
        const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, c));
        const platform::Brush oldBrush = dc.SelectBrush(platform::Brush(c));
        dc.Rectangle(left, top, right, bottom);
        dc.SelectBrush(oldBrush);
        dc.SelectPen(oldPen);
    };
    for (std::int32_t j = 0; j < g; ++j) {
        for (std::int32_t i = 0; i < g; ++i) {
            const l_stat_a& cell = cells[static_cast<std::size_t>(j) * g + i];
            paintBox(WorldToPixelX(mapXMin + i * w), WorldToPixelY(mapYMin + j * h),
                     WorldToPixelX(mapXMin + (i + 1) * w), WorldToPixelY(mapYMin + (j + 1) * h),
                     CellColour(cell.mean, zMin, zMax, low, high));
        }
    }
    const std::size_t n = std::min({xs.size(), ys.size(), zs.size()});
    for (std::size_t k = 0; k < n; ++k) {
        if (!std::isfinite(xs[k]) || !std::isfinite(ys[k]) || !std::isfinite(zs[k])) continue;
        const std::int32_t px = WorldToPixelX(xs[k]), py = WorldToPixelY(ys[k]);
        paintBox(px - 4, py - 4, px + 4, py + 4, CellColour(zs[k], zMin, zMax, low, high));
    }
    return 1;
}
