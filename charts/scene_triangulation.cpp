#include "charts/scene_triangulation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "charts/scene3d.h"

namespace {

std::size_t Ix(std::int32_t i) {
    return static_cast<std::size_t>(i);
}

// A triangle's corners with the y span the crossing test can answer 1 in: a point
// whose y is outside [minY, maxY) crosses no edge, so it is skipped before the test.
struct Candidate {
    triangle t;
    double minY = 0;
    double maxY = 0;
};

Candidate MakeCandidate(const triangle& t, const std::vector<double>& ys) {
    const double a = ys[Ix(t.first)], b = ys[Ix(t.second)], c = ys[Ix(t.third)];
    return Candidate{t, std::min({a, b, c}), std::max({a, b, c})};
}

bool Contains(const Candidate& c, std::uint32_t p, const std::vector<double>& xs, const std::vector<double>& ys) {
    const double py = ys[p];
    if (py < c.minY || py >= c.maxY) return false;
    return PointInTriangle(c.t.first, c.t.second, c.t.third, static_cast<std::int32_t>(p), xs, ys) > 0;
}

double Length(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t a, std::int32_t b) {
    const double dx = xs[Ix(b)] - xs[Ix(a)], dy = ys[Ix(b)] - ys[Ix(a)];
    return std::sqrt(dx * dx + dy * dy);
}

// Shape of the worst of the three triangles a point q makes with the edges of u.
double SplitMeasure(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t q, const triangle& u) {
    return std::max({TriangleMeasure(xs, ys, q, u.first, u.second), TriangleMeasure(xs, ys, q, u.first, u.third),
                     TriangleMeasure(xs, ys, q, u.second, u.third)});
}

// Splits one ear-phase triangle by the points inside it, best-shaped split first.
void SplitTriangle(const triangle& parent, std::vector<std::uint32_t>& inside, std::int32_t passes,
                   const std::vector<double>& xs, const std::vector<double>& ys, std::vector<triangle>& out) {
    std::vector<Candidate> pieces{MakeCandidate(parent, ys)};
    for (std::int32_t pass = 0; pass < passes && !inside.empty(); ++pass) {
        double best = 1e30;
        std::ptrdiff_t bestPiece = -1, bestPoint = -1;
        for (std::size_t u = 0; u < pieces.size(); ++u) {
            for (std::size_t k = 0; k < inside.size(); ++k) {
                if (!Contains(pieces[u], inside[k], xs, ys)) continue;
                const double w = SplitMeasure(xs, ys, static_cast<std::int32_t>(inside[k]), pieces[u].t);
                if (w < best) {
                    best = w;
                    bestPiece = static_cast<std::ptrdiff_t>(u);
                    bestPoint = static_cast<std::ptrdiff_t>(k);
                }
            }
        }
        // Nothing changed, so every further pass would find nothing either.
        if (bestPiece < 0) break;
        const triangle u = pieces[static_cast<std::size_t>(bestPiece)].t;
        const auto q = static_cast<std::int32_t>(inside[static_cast<std::size_t>(bestPoint)]);
        pieces.erase(pieces.begin() + bestPiece);
        pieces.push_back(MakeCandidate(triangle(q, u.first, u.second), ys));
        pieces.push_back(MakeCandidate(triangle(q, u.first, u.third), ys));
        pieces.push_back(MakeCandidate(triangle(q, u.second, u.third), ys));
        inside.erase(inside.begin() + bestPoint);
    }
    for (const Candidate& c : pieces) out.push_back(c.t);
}

}  // namespace

std::int32_t PointInPolygon(std::int32_t n, const double* xs, const double* ys, double px, double py) {
    std::int32_t c = 0;
    for (std::int32_t i = 0, j = n - 1; i < n; j = i++) {
        if (((ys[i] <= py && py < ys[j]) || (ys[j] <= py && py < ys[i])) &&
            px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i])
            c = 1 - c;
    }
    return c;
}

std::int32_t PointInTriangle(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
                             const std::vector<double>& xs, const std::vector<double>& ys) {
    const double tx[3] = {xs[Ix(a)], xs[Ix(b)], xs[Ix(c)]};
    const double ty[3] = {ys[Ix(a)], ys[Ix(b)], ys[Ix(c)]};
    return PointInPolygon(3, tx, ty, xs[Ix(d)], ys[Ix(d)]) > 0 ? 1 : 0;
}

double TriangleMeasure(const std::vector<double>& xs, const std::vector<double>& ys, std::int32_t a,
                       std::int32_t b, std::int32_t c) {
    const double ab = Length(xs, ys, a, b), bc = Length(xs, ys, b, c), ca = Length(xs, ys, c, a);
    const double shortest = std::min({ab, bc, ca});
    if (shortest == 0) return 1e29;
    return std::max({ab, bc, ca}) / shortest;
}

double EdgeAngle(std::int32_t i, std::int32_t j, const std::vector<double>& xs, const std::vector<double>& ys) {
    return -std::atan2(ys[Ix(j)] - ys[Ix(i)], xs[Ix(j)] - xs[Ix(i)]);
}

double AngleDifference(double a, double b) {
    double d = b - a;
    if (d < 0) d += 6.28;
    return d;
}

std::int32_t IndexOfMaximum(const std::vector<double>& values, double& value) {
    if (values.empty()) return -1;
    std::size_t best = 0;
    for (std::size_t i = 1; i < values.size(); ++i)
        if (values[i] > values[best]) best = i;
    value = values[best];
    return static_cast<std::int32_t>(best);
}

std::int32_t IndexOfMinimum(const std::vector<double>& values, double& value) {
    if (values.empty()) return -1;
    std::size_t best = 0;
    for (std::size_t i = 1; i < values.size(); ++i)
        if (values[i] < values[best]) best = i;
    value = values[best];
    return static_cast<std::int32_t>(best);
}

triangle PolygonTriple(std::int32_t i, const PointIndexList& polygon) {
    const auto n = static_cast<std::int32_t>(polygon.size());
    auto at = [&](std::int32_t k) { return static_cast<std::int32_t>(polygon[Ix(((k % n) + n) % n)]); };
    if (n == 0) return triangle(-1, -1, -1);
    if (n < 3) {
        const std::int32_t m = std::clamp(i, 0, n - 1);
        return triangle(at(m - 1), at(m), at(m + 1));
    }
    if (i == 0) return triangle(at(n - 1), at(0), at(1));
    if (i == n - 1) return triangle(at(n - 2), at(n - 1), at(0));
    i = std::clamp(i, 1, n - 2);
    return triangle(at(i - 1), at(i), at(i + 1));
}

std::int32_t HullStep(std::int32_t start, double& direction, double& totalTurn, const std::vector<double>& xs,
                      const std::vector<double>& ys, PointIndexList& outline, PointIndexList& rest) {
    if (rest.empty()) return 0;
    if (outline.empty()) {
        outline.push_back(static_cast<std::uint32_t>(start));
        const auto it = std::find(rest.begin(), rest.end(), static_cast<std::uint32_t>(start));
        if (it != rest.end()) rest.erase(it);
        return 1;
    }
    const auto last = static_cast<std::int32_t>(outline.back());
    double best = 100;
    std::ptrdiff_t chosen = -1;
    for (std::size_t k = 0; k < rest.size(); ++k) {
        const auto q = static_cast<std::int32_t>(rest[k]);
        if (q == last) continue;
        const double t = AngleDifference(direction, EdgeAngle(last, q, xs, ys));
        if (t < best) {
            best = t;
            chosen = static_cast<std::ptrdiff_t>(k);
        }
    }
    if (chosen < 0) return 0;
    totalTurn += best;
    if (totalTurn > 6.28) return 0;
    const auto q = static_cast<std::int32_t>(rest[static_cast<std::size_t>(chosen)]);
    outline.push_back(static_cast<std::uint32_t>(q));
    rest.erase(rest.begin() + chosen);
    direction = EdgeAngle(last, q, xs, ys);
    return 1;
}

void WalkOutline(const std::vector<double>& xs, const std::vector<double>& ys, PointIndexList& outline,
                 PointIndexList& rest) {
    outline.clear();
    rest.clear();
    const std::size_t n = std::min(xs.size(), ys.size());
    std::ptrdiff_t start = -1;
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) continue;
        rest.push_back(static_cast<std::uint32_t>(i));
        if (start < 0 || ys[i] > ys[static_cast<std::size_t>(start)]) start = static_cast<std::ptrdiff_t>(i);
    }
    if (start < 0) return;
    double direction = 0, totalTurn = 0;
    while (HullStep(static_cast<std::int32_t>(start), direction, totalTurn, xs, ys, outline, rest)) {
    }
}

std::int32_t scene3d::FindInsertion(const std::vector<double>& xs, const std::vector<double>& ys,
                                    const PointIndexList& outline, const PointIndexList& rest, std::int32_t& ear,
                                    std::int32_t& restIndex) const {
    std::vector<Candidate> ears;
    ears.reserve(outline.size());
    for (std::size_t i = 0; i < outline.size(); ++i)
        ears.push_back(MakeCandidate(PolygonTriple(static_cast<std::int32_t>(i), outline), ys));

    double best = 1e30;
    ear = -1;
    restIndex = -1;
    for (std::size_t k = 0; k < rest.size(); ++k) {
        const std::uint32_t p = rest[k];
        for (std::size_t i = 0; i < ears.size(); ++i) {
            if (!Contains(ears[i], p, xs, ys)) continue;
            const triangle& e = ears[i].t;
            const double mx = (xs[Ix(e.first)] + xs[Ix(e.third)]) * 0.5;
            const double my = (ys[Ix(e.first)] + ys[Ix(e.third)]) * 0.5;
            const double d = std::sqrt((xs[p] - mx) * (xs[p] - mx) + (ys[p] - my) * (ys[p] - my));
            if (d < best) {
                best = d;
                ear = static_cast<std::int32_t>(i);
                restIndex = static_cast<std::int32_t>(k);
            }
        }
    }
    if (restIndex >= 0) return 1;

    best = 1e30;
    ear = -1;
    for (std::size_t i = 0; i < ears.size(); ++i) {
        const triangle& e = ears[i].t;
        const double m = TriangleMeasure(xs, ys, e.first, e.second, e.third);
        if (m < best) {
            best = m;
            ear = static_cast<std::int32_t>(i);
        }
    }
    return 1;
}

void scene3d::Triangulate(const std::vector<double>& xs, const std::vector<double>& ys,
                          std::vector<triangle>& triangles) const {
    // A reused array must not keep an earlier point set's triangles.
    triangles.clear();
    PointIndexList outline, rest;
    WalkOutline(xs, ys, outline, rest);
    if (rest.size() < 4) return;

    while (outline.size() > 2) {
        std::int32_t e = -1, r = -1;
        FindInsertion(xs, ys, outline, rest, e, r);
        // Only overflowing coordinates leave every ear unmeasurable; cut the first then.
        if (e < 0) {
            e = 0;
            r = -1;
        }
        const triangle t = PolygonTriple(e, outline);
        if (r < 0) {
            triangles.push_back(t);
            outline.erase(outline.begin() + e);
        } else {
            const auto p = static_cast<std::int32_t>(rest[Ix(r)]);
            rest.erase(rest.begin() + r);
            triangles.emplace_back(p, t.first, t.second);
            triangles.emplace_back(p, t.third, t.second);
            outline[Ix(e)] = static_cast<std::uint32_t>(p);
        }
    }

    const std::size_t earTriangles = triangles.size();
    const auto passes = static_cast<std::int32_t>(std::min<std::size_t>(std::min(xs.size(), ys.size()), 0x7FFFFFFF));
    std::vector<std::uint32_t> inside;
    for (std::size_t k = 0; k < earTriangles; ++k) {
        const triangle parent = triangles[k];
        const Candidate c = MakeCandidate(parent, ys);
        inside.clear();
        // The first triangle that contains a point takes it.
        auto keep = rest.begin();
        for (auto it = rest.begin(); it != rest.end(); ++it) {
            if (Contains(c, *it, xs, ys)) inside.push_back(*it);
            else *keep++ = *it;
        }
        rest.erase(keep, rest.end());
        SplitTriangle(parent, inside, passes, xs, ys, triangles);
    }
    triangles.erase(triangles.begin(), triangles.begin() + static_cast<std::ptrdiff_t>(earTriangles));
}
