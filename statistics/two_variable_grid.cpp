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

std::int64_t Index(double v, double origin, double width, int n) {
    const double t = std::trunc((v - origin) / width);
    if (!(t > 0)) return 0;  // below the grid, and NaN
    return t >= n - 1 ? n - 1 : static_cast<std::int64_t>(t);
}

}  // namespace

std::int64_t CellOf(const TwoVariableGrid& g, double x, double y) {
    return Index(x, g.originX, g.widthX, g.nx) * g.ny + Index(y, g.originY, g.widthY, g.ny);
}

std::int64_t CountRecords(TwoVariableGrid& g, const std::vector<double>& x, const std::vector<double>& y) {
    std::fill(g.counts.begin(), g.counts.end(), 0u);
    std::int64_t densest = -1;
    std::uint32_t best = 0;
    const size_t n = std::min(x.size(), y.size());
    if (g.counts.empty()) return -1;
    for (size_t k = 0; k < n; ++k) {
        const std::int64_t c = CellOf(g, x[k], y[k]);
        const std::uint32_t count = ++g.counts[static_cast<size_t>(c)];
        if (count > best) {
            best = count;
            densest = c;
        }
        if (static_cast<std::int64_t>(count) > g.largest) g.largest = static_cast<std::int32_t>(std::min<std::uint32_t>(count, INT32_MAX));
    }
    return densest;
}
