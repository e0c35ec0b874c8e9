#include "statistics/color_maps.h"

#include <cmath>

namespace {

ColorWord Rgb(int r, int g, int b) {
    return static_cast<ColorWord>(r) | (static_cast<ColorWord>(g) << 8) | (static_cast<ColorWord>(b) << 16);
}

// Truncated toward zero and held to a channel's range; NaN counts as 0.
int Channel(double x) {
    if (!(x > 0.0)) return 0;
    if (x >= 255.0) return 255;
    return static_cast<int>(x);
}

}  // namespace

ColorWord ValueToColor(double v) {
    if (v > 0.975) return Rgb(0, 255, 0);
    if (v >= 0.9) return Rgb(0, Channel((1.0 - (0.975 - v) / 0.075) * 255.0), 0);
    if (v >= 0.5) return Rgb(Channel((0.9 - v) * 255.0 / 0.4), 0, 0);
    return Rgb(255, 0, 0);  // below 0.5, and not a number
}

ColorWord AbsValueToColor(double v) { return ValueToColor(std::fabs(v)); }

ColorWord ValueToGreenShade(double v) {
    const double a = std::fabs(v);
    if (a > 0.975) return Rgb(0, 255, 0);
    const int c = Channel(a * (255.0 * a));
    return Rgb(255 - c, 255, 255 - c);
}

ColorWord ColorForPercent(double percent) { return ValueToColor(1.0 - percent * 0.01); }
