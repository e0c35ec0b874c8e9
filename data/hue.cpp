#include "data/hue.h"

#include <algorithm>

double HueOfRgb(int red, int green, int blue) {
    const double r = red / 255.0;
    const double g = green / 255.0;
    const double b = blue / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double d = max - min;
    if (d == 0) return -0.1;

    const double h = d / 2;
    const double dr = ((max - r) / 6 + h) / d;
    const double dg = ((max - g) / 6 + h) / d;
    const double db = ((max - b) / 6 + h) / d;

    // Later tests override earlier ones; the thirds are the image import's own constants.
    double hue = (r >= g && r >= b) ? db - dg : dr;
    if (r <= g && b <= g) hue = 0.3333 + dr - db;
    if (r <= b && g < b) hue = 0.666666 + dg - dr;

    if (hue < 0) hue += 1;
    if (hue > 1) hue -= 1;
    return hue;
}
