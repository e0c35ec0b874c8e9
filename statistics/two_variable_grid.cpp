#include "statistics/two_variable_grid.h"

#include <algorithm>
#include <cmath>

int ClampIntervals(int n) { return std::clamp(n, 1, kMaxTwoVariableIntervals); }

int AutomaticIntervalCount(int& largestRecordCount) {
    if (largestRecordCount < 10) largestRecordCount = 10;
    return ClampIntervals(static_cast<int>(std::sqrt(20.0 * std::log(static_cast<double>(largestRecordCount)))));
}

void SetGrid(TwoVariableGrid& g, double originX, double originY, double widthX, double widthY, int nx, int ny) {
    g.nx = ClampIntervals(nx);
    g.ny = ClampIntervals(ny);
    g.originX = std::isfinite(originX) ? originX : 0.0;
    g.originY = std::isfinite(originY) ? originY : 0.0;
    g.widthX = widthX > 0 && std::isfinite(widthX) ? widthX : 1.0;
    g.widthY = widthY > 0 && std::isfinite(widthY) ? widthY : 1.0;
    g.cells = static_cast<std::int64_t>(g.nx) * g.ny;
    g.counts.assign(static_cast<size_t>(g.cells), 0u);
}

namespace {

// Index of a value along one variable: trunc((v - origin) / width) kept inside 0..n-1, NaN at
// 0. A quotient in (0, n - 1) truncates to the same index as its trunc; the comparisons on the
// quotient itself let the compiler work out several records at once.
inline std::int32_t Index(double v, double origin, double width, int n) {
    const double q = (v - origin) / width;
    if (!(q > 0)) return 0;  // below the grid, and NaN
    return q >= n - 1 ? n - 1 : static_cast<std::int32_t>(q);
}

// Records are taken in blocks: the cells of a block first, side by side, then the counts in
// record order.
constexpr std::size_t kBlock = 1024;

template <class Visit>
void ForEachCell(const TwoVariableGrid& g, const TwoColumns& c, Visit visit) {
    std::int32_t cells[kBlock];
    const double ox = g.originX, oy = g.originY, wx = g.widthX, wy = g.widthY;
    const int nx = g.nx, ny = g.ny;
    for (std::size_t start = 0; start < c.records; start += kBlock) {
        const std::size_t count = std::min(kBlock, c.records - start);
        const double* x = c.x + start * c.stride;
        const double* y = c.y + start * c.stride;
        for (std::size_t k = 0; k < count; ++k)
            cells[k] = Index(x[k * c.stride], ox, wx, nx) * ny + Index(y[k * c.stride], oy, wy, ny);
        for (std::size_t k = 0; k < count; ++k) visit(start + k, cells[k]);
    }
}

}  // namespace

std::int64_t CellOf(const TwoVariableGrid& g, double x, double y) {
    return static_cast<std::int64_t>(Index(x, g.originX, g.widthX, g.nx)) * g.ny + Index(y, g.originY, g.widthY, g.ny);
}

std::int64_t CountRecords(TwoVariableGrid& g, const std::vector<double>& x, const std::vector<double>& y) {
    return CountRecords(g, TwoColumns{x.data(), y.data(), std::min(x.size(), y.size()), 1});
}

std::int64_t CountRecords(TwoVariableGrid& g, const TwoColumns& c) {
    std::fill(g.counts.begin(), g.counts.end(), 0u);
    if (g.counts.empty()) return -1;
    std::int64_t densest = -1;
    std::uint32_t best = 0;
    std::uint32_t* counts = g.counts.data();
    ForEachCell(g, c, [&](std::size_t, std::int32_t cell) {
        const std::uint32_t count = ++counts[cell];
        if (count > best) {
            best = count;
            densest = cell;
        }
    });
    if (static_cast<std::int64_t>(best) > g.largest) g.largest = static_cast<std::int32_t>(std::min<std::uint32_t>(best, INT32_MAX));
    return densest;
}

bool MeansInCell(const TwoVariableGrid& g, const TwoColumns& c, std::int64_t cell, double& mx, double& my) {
    double sx = 0, sy = 0;
    std::int64_t n = 0;
    if (!g.counts.empty()) {
        ForEachCell(g, c, [&](std::size_t k, std::int32_t at) {
            if (at != cell) return;
            sx += c.x[k * c.stride];
            sy += c.y[k * c.stride];
            ++n;
        });
    }
    if (n == 0) return false;
    mx = sx / static_cast<double>(n);
    my = sy / static_cast<double>(n);
    return true;
}
