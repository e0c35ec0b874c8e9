#pragma once
// Pixel coordinates computed in floating point can be NaN or astronomically large when a
// plot range collapses; a plain cast would be undefined. This conversion never is.
#include <cmath>

namespace platform {

// Beyond any screen or bitmap, yet far from int overflow when sums and differences are taken.
constexpr int kPixelLimit = 1000000;

// Truncates toward zero like a cast; NaN gives 0, values beyond +-kPixelLimit
// (infinities included) give +-kPixelLimit.
constexpr int SaturatingToInt(double v) {
    if (v != v) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<int>(v);
}

// The same, rounded to the nearest pixel (halves away from zero).
inline int SaturatingRound(double v) {
    if (v != v) return 0;
    return SaturatingToInt(std::round(v));
}

}  // namespace platform
