// Camera, planar geometry and triangulation of the three-dimensional scene.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/scene3d.h"
#include "charts_test_support.h"

namespace {

using charts_test::ExpectDoubles;
using charts_test::PointSet;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Pixel distance of a world point from the viewport centre, by a plain look-at camera
// (forward towards the box centre, up along z), seen through the scene's own eye.
struct LookAt {
    double f[3], r[3], u[3], e[3];
    explicit LookAt(const scene3d& s) {
        e[0] = s.eyeX, e[1] = s.eyeY, e[2] = s.eyeZ;
        double d[3] = {0.5 - e[0], 0.5 - e[1], 0.5 - e[2]};
        const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int k = 0; k < 3; ++k) f[k] = d[k] / n;
        r[0] = f[1], r[1] = -f[0], r[2] = 0;  // f x (0, 0, 1)
        const double rn = std::hypot(r[0], r[1]);
        r[0] /= rn, r[1] /= rn;
        u[0] = r[1] * f[2] - r[2] * f[1];  // r x f
        u[1] = r[2] * f[0] - r[0] * f[2];
        u[2] = r[0] * f[1] - r[1] * f[0];
    }
    // Screen offsets per unit zoom: right and up of the view axis.
    void Offsets(const double p[3], double& right, double& up) const {
        const double v[3] = {p[0] - e[0], p[1] - e[1], p[2] - e[2]};
        const double depth = v[0] * f[0] + v[1] * f[1] + v[2] * f[2];
        right = (v[0] * r[0] + v[1] * r[1] + v[2] * r[2]) / depth;
        up = (v[0] * u[0] + v[1] * u[1] + v[2] * u[2]) / depth;
    }
};

TEST(Scene3d, DefaultCameraCentresAndFitsTheBox) {
    struct Case { double box[6]; int vp[4]; } cases[] = {
        {{1, 3, -2, 6, 10, 11}, {0, 0, 640, 480}},
        {{-1e-3, 1e-3, 0, 1, -50, 50}, {0, 0, 300, 700}},
        {{0, 1, 0, 1, 0, 1}, {10, 20, 410, 320}},
    };
    for (const Case& c : cases) {
        scene3d s;
        const double* b = c.box;
        s.SetupView(b[0], b[1], b[2], b[3], b[4], b[5], c.vp[0], c.vp[1], c.vp[2], c.vp[3]);
        const double hw = (c.vp[2] - c.vp[0]) * 0.5, hh = (c.vp[3] - c.vp[1]) * 0.5;
        const double d = std::sqrt(2.5 * 2.5 + 1.5 * 1.5 + 0.82 * 0.82);
        ExpectDoubles({{"halfWidth", s.halfWidth, hw}, {"halfHeight", s.halfHeight, hh}, {"eyeX", s.eyeX, -2},
                       {"eyeY", s.eyeY, -1}, {"eyeZ", s.eyeZ, 1.32}, {"reference", s.referenceDistance, d},
                       {"orbit", s.orbitDistance, d}});
        EXPECT_LT(s.azimuth, -M_PI / 2);

        double px, py, size, depth;
        ASSERT_EQ(s.ProjectPoint((b[0] + b[1]) / 2, (b[2] + b[3]) / 2, (b[4] + b[5]) / 2, px, py, size, depth), 1);
        EXPECT_NEAR(px, hw, 1e-9);
        EXPECT_NEAR(py, hh, 1e-9);
        EXPECT_NEAR(depth, d, 1e-12);
        EXPECT_NEAR(size, 1.0, 1e-12);

        // Independent: the zoom that puts the farthest corner at 0.95 of the smaller half
        // size, and every corner where the look-at camera puts it (the panel's x runs
        // against the look-at camera's right, as the projection is defined).
        const LookAt cam(s);
        double right[8], up[8], farthest = 0;
        for (int k = 0; k < 8; ++k) {
            const double p[3] = {double(k >> 2 & 1), double(k >> 1 & 1), double(k & 1)};
            cam.Offsets(p, right[k], up[k]);
            farthest = std::max(farthest, std::hypot(right[k], up[k]));
        }
        const double zoom = 0.95 * std::min(hw, hh) / farthest;
        EXPECT_NEAR(s.zoom / zoom, 1.0, 1e-12);
        double reached = 0;
        for (int k = 0; k < 8; ++k) {
            ASSERT_EQ(s.ProjectPoint(k & 4 ? b[1] : b[0], k & 2 ? b[3] : b[2], k & 1 ? b[5] : b[4], px, py, size,
                                     depth),
                      1);
            EXPECT_NEAR(px, hw - zoom * right[k], 1e-7);
            EXPECT_NEAR(py, hh - zoom * up[k], 1e-7);
            reached = std::max(reached, std::hypot(px - hw, py - hh));
        }
        EXPECT_NEAR(reached, 0.95 * std::min(hw, hh), 1e-7);
    }
}

TEST(Scene3d, ScalesFallBackPerAxis) {
    scene3d s;
    s.SetScales(1, 5, 2, 2, -1, 1);  // y flat
    ExpectDoubles({{"x", s.scaleX, 0.25}, {"y", s.scaleY, 1}, {"z", s.scaleZ, 0.5}, {"origin y", s.originY, 2}});
    s.SetScales(0, kNaN, 3, 1, -1e308, 1e308);  // NaN, reversed, overflowing ranges
    ExpectDoubles({{"x", s.scaleX, 1}, {"y", s.scaleY, 1}, {"z", s.scaleZ, 1}});
    double x = 3, y = 4, z = 5;
    s.NormalizePoint(x, y, z);
    ExpectDoubles({{"normal x", x, 3}, {"normal y", y, 1}});
}

TEST(Scene3d, ProjectionAtAndBehindTheEye) {
    scene3d s;
    s.SetupView(0, 1, 0, 1, 0, 1, 0, 0, 200, 100);
    double px = 7, py = 8, size = 9, depth = 10;
    EXPECT_EQ(s.ProjectPoint(-2, -1, 1.32, px, py, size, depth), 0);
    EXPECT_EQ(px, 7);
    EXPECT_EQ(depth, 10);
    // Behind the eye along the view axis: negative depth, mirrored through the centre.
    const double r = s.referenceDistance;  // a unit step along the view axis
    ASSERT_EQ(s.ProjectPoint(-2 - 2.5 / r, -1 - 1.5 / r, 1.32 + 0.82 / r + 0.1, px, py, size, depth), 1);
    EXPECT_LT(depth, 0);
    EXPECT_LT(size, 0);
    double fx, fy, fs, fd;  // the same offset in front of the eye comes out on the other side
    ASSERT_EQ(s.ProjectPoint(-2 + 2.5 / r, -1 + 1.5 / r, 1.32 - 0.82 / r + 0.1, fx, fy, fs, fd), 1);
    EXPECT_GT(fd, 0);
    EXPECT_LT(fy, 50);
    EXPECT_GT(py, 50);
}

TEST(Scene3d, CameraRefusesCollapsedPanelsAndBadZoom) {
    scene3d fresh;
    fresh.zoom = 3;
    fresh.SetCamera(0, 0, 100, 100);  // never set up: nothing to rescale
    ExpectDoubles({{"zoom", fresh.zoom, 3}, {"half width", fresh.halfWidth, 50}});

    scene3d s;
    s.SetupView(0, 1, 0, 1, 0, 1, 0, 0, 640, 480);
    const double zoom = s.zoom;
    s.SetCamera(0, 0, 320, 240);
    EXPECT_DOUBLE_EQ(s.zoom, zoom * 0.5);
    s.SetCamera(0, 0, 0, 240);  // zero width refused
    ExpectDoubles({{"half width", s.halfWidth, 160}, {"zoom", s.zoom, zoom * 0.5}});
    s.SetView(-2, -1, 1.32, 1, 1, kNaN, 0, 0, 320, 240);  // a zoom that is not a number is refused
    ExpectDoubles({{"zoom", s.zoom, zoom * 0.5}, {"azimuth", s.azimuth, 1}});

    scene3d flat;  // a collapsed panel at set-up: no fit, the plain zoom stays
    flat.SetupView(0, 1, 0, 1, 0, 1, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(flat.zoom, flat.referenceDistance);
    flat.zoom = kNaN;  // written straight into the record
    double px = 1, py, size, depth;
    EXPECT_EQ(flat.ProjectPoint(0.5, 0.5, 0.5, px, py, size, depth), 0);
    EXPECT_EQ(px, 1);
}

TEST(Scene3d, FlatMapping) {
    scene3d s;
    s.mapXMin = -1, s.mapXMax = 3, s.mapYMin = 10, s.mapYMax = 20;
    s.mapPixelXMin = 0, s.mapPixelXMax = 400, s.mapPixelYMax = 0, s.mapPixelYMin = 300;
    s.ComputePlotScales();
    EXPECT_DOUBLE_EQ(s.mapScaleX, 100);
    EXPECT_DOUBLE_EQ(s.mapScaleY, -30);
    const struct { double x, y; int px, py; } rows[] = {
        {-1, 10, 0, 300}, {3, 20, 400, 0}, {-1.005, 10.01, 0, 299}, {0.999, 19.99, 199, 0}, {kNaN, kNaN, 0, 0}};
    for (const auto& r : rows) {
        EXPECT_EQ(s.WorldToPixelX(r.x), r.px) << r.x;
        EXPECT_EQ(s.WorldToPixelY(r.y), r.py) << r.y;
    }
}

TEST(SceneGeometry, PlainRoutines) {
    // Triangle (0,0) (4,0) (0,4) plus probe points.
    const std::vector<double> xs{0, 4, 0, 1, 2, 1, 0.5, 5, 0, 4};
    const std::vector<double> ys{0, 0, 4, 0, 2, 1, 5, 0, 0, 0};
    // Point 3 lies on the lower edge (inside), 4 on the slanted right edge (outside).
    for (auto [probe, inside] : {std::pair{3, 1}, {4, 0}, {5, 1}, {6, 0}})
        EXPECT_EQ(PointInTriangle(0, 1, 2, probe, xs, ys), inside) << probe;
    const double sx[3] = {0, 4, 2}, sy[3] = {2, 2, 0};  // apex down: the top edge is outside
    EXPECT_EQ(PointInPolygon(3, sx, sy, 2, 2), 0);
    EXPECT_EQ(PointInPolygon(3, sx, sy, 2, 1.9), 1);

    EXPECT_DOUBLE_EQ(TriangleMeasure(xs, ys, 0, 3, 7), 5.0);  // collinear: 5 / 1
    EXPECT_DOUBLE_EQ(TriangleMeasure(xs, ys, 0, 8, 1), 1e29);
    EXPECT_NEAR(TriangleMeasure(xs, ys, 0, 1, 2), std::sqrt(2.0), 1e-15);

    EXPECT_NEAR(AngleDifference(0.1, 0.0), 6.18, 1e-15);
    EXPECT_DOUBLE_EQ(AngleDifference(1, 2), 1);
    EXPECT_NEAR(EdgeAngle(0, 1, xs, ys), 0, 0);
    EXPECT_NEAR(EdgeAngle(0, 2, xs, ys), -M_PI / 2, 1e-15);

    double v = 42;
    EXPECT_EQ(IndexOfMaximum({}, v), -1);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(IndexOfMaximum({1, 5, 2, 5}, v), 1);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(IndexOfMinimum({3, 1, 2, 1}, v), 1);
    EXPECT_EQ(v, 1);

    const PointIndexList three{7, 8, 9}, five{1, 2, 3, 4, 5};
    const struct { int i; const PointIndexList& list; triangle t; } triples[] = {
        {0, three, {9, 7, 8}}, {1, three, {7, 8, 9}}, {2, three, {8, 9, 7}},
        {7, three, {7, 8, 9}}, {-3, five, {1, 2, 3}}, {9, five, {3, 4, 5}}};
    for (const auto& c : triples) EXPECT_EQ(PolygonTriple(c.i, c.list), c.t) << c.i;

    EXPECT_DOUBLE_EQ(PolynomialSurfaceValue(2, 3, 3, {1, 10, 100}, 0), 321);
    EXPECT_DOUBLE_EQ(PolynomialSurfaceValue(2, 3, 5, {1, 1, 1, 1, 1}, 1), 1 + 2 + 3 + 4 + 9);
    EXPECT_DOUBLE_EQ(PolynomialSurfaceValue(2, 3, 5, {1, 1}, 1), 3);  // short coefficient array
    EXPECT_DOUBLE_EQ(PolynomialSurfaceValue(2, 3, 3, {1, 1, 1}, 7), 0);
    EXPECT_DOUBLE_EQ(NiceTickStep3D(0.3), 0.2);
    EXPECT_DOUBLE_EQ(NiceTickStep3D(8), 10);
}

// Every index valid, and the triangles counted against the walked outline: ear cutting
// makes m - 2 triangles of an m-vertex outline and every further point adds two.
void ExpectWholeTriangulation(const PointSet& s, const std::vector<triangle>& tris, size_t outline) {
    std::set<int> used;
    for (const triangle& t : tris) {
        for (int i : {t.first, t.second, t.third}) {
            ASSERT_GE(i, 0);
            ASSERT_LT(i, static_cast<int>(s.x.size()));
            used.insert(i);
        }
    }
    if (used.size() == s.x.size())
        EXPECT_EQ(tris.size(), 2 * s.x.size() - outline - 2);
    else
        ADD_FAILURE() << used.size() << " of " << s.x.size() << " points used";
}

TEST(SceneTriangulation, WalkFollowsTheHullAndEveryPointIsUsed) {
    const auto sets = charts_test::ReadPointSets();
    std::ifstream in(charts_test::OraclePath("hulls.txt"));
    std::string name;
    size_t h = 0;
    int checked = 0;
    scene3d scene;
    while (in >> name >> h) {
        std::vector<std::uint32_t> hull(h);
        for (auto& i : hull) in >> i;
        const PointSet& s = sets.at(name);
        PointIndexList outline, rest;
        WalkOutline(s.x, s.y, outline, rest);
        ASSERT_GE(outline.size(), h) << name;
        EXPECT_EQ(PointIndexList(outline.begin(), outline.begin() + static_cast<long>(h)), hull) << name;
        EXPECT_EQ(outline.size() + rest.size(), s.x.size());

        std::vector<triangle> tris{triangle(1, 2, 3)};
        scene.Triangulate(s.x, s.y, tris);
        ExpectWholeTriangulation(s, tris, outline.size());
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST(SceneTriangulation, SmallAndDegenerateSets) {
    scene3d scene;
    std::vector<triangle> tris{triangle(0, 1, 2)};
    // Four convex points: the walk takes them all, nothing is triangulated, and an array
    // brought in is emptied.
    scene.Triangulate({0, 1, 1, 0}, {0, 0, 1, 1}, tris);
    EXPECT_TRUE(tris.empty());
    tris.assign(3, triangle(5, 5, 5));
    scene.Triangulate({}, {}, tris);
    EXPECT_TRUE(tris.empty());

    // Equal highest y: the lower index starts; collinear candidates: the first in order.
    PointIndexList outline, rest;
    WalkOutline({0, 2, 1, 1}, {1, 1, 0, -1}, outline, rest);
    EXPECT_EQ(outline.front(), 0u);
    WalkOutline({0, 2, 1, 0}, {2, 0, 1, 0}, outline, rest);  // 1 lies farther on the line than 2
    outline.resize(std::min<std::size_t>(outline.size(), 2));
    EXPECT_EQ(outline, (PointIndexList{0, 1}));

    // Square with five inner points: after the corners the walk turns inwards and takes
    // (3,6) and (6,8) before the turn total passes 6.28, leaving three: no triangles.
    std::vector<double> x{0, 10, 10, 0, 5, 3, 7, 4, 6};
    std::vector<double> y{10, 10, 0, 0, 5, 6, 3, 2, 8};
    WalkOutline(x, y, outline, rest);
    EXPECT_EQ(outline, (PointIndexList{0, 1, 2, 3, 5, 8}));
    scene.Triangulate(x, y, tris);
    EXPECT_TRUE(tris.empty());

    // Three more inner points and two with NaN: every finite point is used.
    x.insert(x.end(), {kNaN, 2, 8, 2, 5});
    y.insert(y.end(), {1, kNaN, 6, 3, 1});
    scene.Triangulate(x, y, tris);
    std::set<int> used;
    for (const triangle& t : tris)
        for (int i : {t.first, t.second, t.third}) used.insert(i);
    EXPECT_EQ(used, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13}));
    EXPECT_EQ(tris.size(), 2u * 12 - 6 - 2);
}

}  // namespace
