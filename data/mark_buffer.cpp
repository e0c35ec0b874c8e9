#include "data/mark_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "data/point_marks.h"

void MarkBuffer::ResetMarkBuffer() {
    markCount = 0;
    largestDepth = -1e40;
    smallestDepth = 1e40;
    marks.assign(kGrowth, mark3d{});
}

void MarkBuffer::AddMark(int x, int y, int size, int shape, platform::ColorRef color, double depth) {
    if (markCount < 0) markCount = 0;
    if (static_cast<long long>(marks.size()) - markCount < 2) marks.resize(static_cast<std::size_t>(markCount) + kGrowth);
    marks[static_cast<std::size_t>(markCount)] = mark3d{x, y, shape, size, color, depth};
    if (depth > largestDepth) largestDepth = depth;
    if (depth < smallestDepth) smallestDepth = depth;
    ++markCount;
}

void MarkBuffer::DrawMarks(platform::Canvas& dc, platform::ColorRef fillColor) const {
    const int count = static_cast<int>(std::min<long long>(markCount, static_cast<long long>(marks.size())));
    if (count <= 0) return;
    auto draw = [&](const mark3d& m) { DrawMarker(dc, m.x, m.y, m.size, m.shape, m.color, fillColor); };

    // A mark without a depth belongs to no band; it goes first, as the farthest.
    for (int i = 0; i < count; ++i)
        if (std::isnan(marks[static_cast<std::size_t>(i)].depth)) draw(marks[static_cast<std::size_t>(i)]);
    if (!(largestDepth >= smallestDepth)) return;

    // Band k runs from bound[k + 1] up to bound[k]. Neighbouring bands share one computed
    // bound, so rounding cannot open a gap between them, and the outermost bounds are
    // open-ended, so the largest and the smallest depth are always inside.
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double hi = std::clamp(largestDepth, -kMax, kMax);
    const double lo = std::clamp(smallestDepth, -kMax, kMax);
    const double step = (hi - lo) / kBands;
    double bound[kBands + 1];
    bound[0] = kInf;
    bound[kBands] = -kInf;
    for (int k = 1; k < kBands; ++k) {
        const double f = static_cast<double>(k) / kBands;
        // A range wider than a double holds is split without forming the difference.
        bound[k] = std::isfinite(step) ? hi - k * step : hi * (1.0 - f) + lo * f;
    }

    for (int k = 0; k < kBands; ++k) {
        const double upper = bound[k], lower = bound[k + 1];
        for (int p = 0; p < kPasses; ++p) {
            for (int i = p; i < count; i += kPasses) {
                const mark3d& m = marks[static_cast<std::size_t>(i)];
                if (m.depth >= lower && m.depth <= upper) draw(m);
            }
        }
    }
}
