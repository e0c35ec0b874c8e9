#include "charts/scene3d.h"

#include <algorithm>
#include <cmath>

#include "charts/plot_mapping.h"

namespace {

// Truncation toward zero that stays defined for NaN and huge values (pixels far outside
// any bitmap saturate, NaN gives 0).
std::int32_t TruncPixel(double v) {
    constexpr double kLimit = 1000000.0;
    if (!(v == v)) return 0;
    if (v >= kLimit) return static_cast<std::int32_t>(kLimit);
    if (v <= -kLimit) return static_cast<std::int32_t>(-kLimit);
    return static_cast<std::int32_t>(v);
}

// 1 / range for a positive finite range; 1 otherwise, so a flat axis keeps its values
// while the other axes are still normalised.
double AxisScale(double lo, double hi) {
    const double r = hi - lo;
    if (r > 0) {
        const double s = 1.0 / r;
        if (std::isfinite(s) && s > 0) return s;
    }
    return 1.0;
}

scene3d::Colour ChannelBlend(double v, double zMin, double zMax, scene3d::Colour low, scene3d::Colour high,
                             bool addBeforeTruncation) {
    const double range = zMax - zMin;
    scene3d::Colour out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c0 = static_cast<int>((low >> shift) & 0xFF);
        const int c1 = static_cast<int>((high >> shift) & 0xFF);
        int c = c0;
        // A flat value range has no gradient: everything takes the low colour.
        if (range > 0) {
            const double t = (v - zMin) * (c1 - c0) / range;
            c = addBeforeTruncation ? TruncPixel(t + c0) : TruncPixel(t) + c0;
        }
        c = std::clamp(c, 0, 255);
        out |= static_cast<scene3d::Colour>(c) << shift;
    }
    return out;
}

}  // namespace

scene3d& TheScene3d() {
    static scene3d scene;
    return scene;
}

void scene3d::SetScales(double xMin, double xMax, double yMin, double yMax, double zMin, double zMax) {
    originX = xMin;
    originY = yMin;
    originZ = zMin;
    scaleX = AxisScale(xMin, xMax);
    scaleY = AxisScale(yMin, yMax);
    scaleZ = AxisScale(zMin, zMax);
}

void scene3d::NormalizePoint(double& x, double& y, double& z) const {
    x = (x - originX) * scaleX;
    y = (y - originY) * scaleY;
    z = (z - originZ) * scaleZ;
}

void scene3d::TranslateToEye(double& x, double& y, double& z) const {
    x -= eyeX;
    y -= eyeY;
    z -= eyeZ;
}

void scene3d::SetViewport(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    if (x1 == x2 || y1 == y2) return;  // a collapsed panel would later divide by zero
    viewport[0] = x1;
    viewport[1] = x2;
    viewport[2] = y1;
    viewport[3] = y2;
    halfWidth = (static_cast<double>(x2) - x1) * 0.5;
    halfHeight = (static_cast<double>(y2) - y1) * 0.5;
}

void scene3d::SetEyeAndAngles(double ex, double ey, double ez, double az, double el) {
    eyeX = ex;
    eyeY = ey;
    eyeZ = ez;
    azimuth = az;
    elevation = el;
    sinAzimuth = std::sin(azimuth);
    cosAzimuth = std::cos(azimuth);
    sinElevation = std::sin(elevation);
    cosElevation = std::cos(elevation);
}

void scene3d::SetView(double ex, double ey, double ez, double az, double el, double z, std::int32_t x1,
                      std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    SetViewport(x1, y1, x2, y2);
    if (std::isfinite(z)) zoom = z;
    SetEyeAndAngles(ex, ey, ez, az, el);
}

void scene3d::SetCamera(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    if (x1 == x2 || y1 == y2) return;
    const double oldHalfWidth = halfWidth, oldHalfHeight = halfHeight;
    SetViewport(x1, y1, x2, y2);
    SetEyeAndAngles(eyeX, eyeY, eyeZ, azimuth, elevation);
    if (oldHalfWidth == 0 || oldHalfHeight == 0) return;  // never set up: nothing to keep
    const double r = (std::fabs(static_cast<double>(x2) - x1) * 0.5 / oldHalfWidth +
                      std::fabs(static_cast<double>(y2) - y1) * 0.5 / oldHalfHeight) *
                     0.5;
    if (std::isfinite(r) && std::isfinite(zoom * r)) zoom *= r;
}

void scene3d::FitCameraToPicture(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    if (x1 == x2 || y1 == y2) return;
    const double oldShortHalf = std::min(std::fabs(halfWidth), std::fabs(halfHeight));
    SetViewport(x1, y1, x2, y2);
    SetEyeAndAngles(eyeX, eyeY, eyeZ, azimuth, elevation);
    if (oldShortHalf == 0) return;  // never set up: nothing to keep
    const double r = std::min(std::fabs(halfWidth), std::fabs(halfHeight)) / oldShortHalf;
    if (std::isfinite(r) && std::isfinite(zoom * r)) zoom *= r;
}

void scene3d::SetupView(double xMin, double xMax, double yMin, double yMax, double zMin, double zMax,
                        std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    SetViewport(x1, y1, x2, y2);
    boxCentre[0] = (xMin + xMax) * 0.5;
    boxCentre[1] = (yMin + yMax) * 0.5;
    boxCentre[2] = (zMin + zMax) * 0.5;
    const double bounds[6] = {xMax, xMin, yMax, yMin, zMax, zMin};
    std::copy(bounds, bounds + 6, boxBounds);
    SetScales(xMin, xMax, yMin, yMax, zMin, zMax);

    // In the unit box: the eye stands off one lower corner, a little above the top.
    const double ex = 0.0 - 2.0, ey = 1.0 - 2.0, ez = 1.0 + (1.0 + 0.6) * 0.2;
    const double ox = ex - 0.5, oy = ey - 0.5, oz = ez - 0.5;
    const double d = std::sqrt(ox * ox + oy * oy + oz * oz);
    const double h = std::sqrt(ox * ox + oy * oy);
    referenceDistance = d;
    orbitDistance = d;
    eyeStep = 0.3 * 0.5;
    angleStep = 0.1;
    // x offset first: the azimuth is measured from the y axis.
    SetView(ex, ey, ez, std::atan2(ox, oy), std::asin(h / d), d, x1, y1, x2, y2);

    const double fit = 0.95 * std::min(halfWidth, halfHeight);
    double farthest = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const double wx = (corner & 4) ? xMax : xMin;
        const double wy = (corner & 2) ? yMax : yMin;
        const double wz = (corner & 1) ? zMax : zMin;
        double px = 0, py = 0, size = 0, depth = 0;
        if (!ProjectPoint(wx, wy, wz, px, py, size, depth)) continue;
        const double dist = std::hypot(px - halfWidth, py - halfHeight);
        if (dist > farthest) farthest = dist;
    }
    // Without a panel or a visible corner there is nothing to fit: keep the plain zoom.
    if (fit > 0 && farthest > 0) {
        const double z = zoom * fit / farthest;
        if (std::isfinite(z) && z > 0) zoom = z;
    }
}

std::int32_t scene3d::ProjectPoint(double x, double y, double z, double& px, double& py, double& size,
                                   double& depth) const {
    if (!std::isfinite(zoom)) return 0;
    NormalizePoint(x, y, z);
    TranslateToEye(x, y, z);
    const double d = std::sqrt(x * x + y * y + z * z);
    if (std::fabs(d) < zoom * 1e-30) return 0;
    const double x1 = x * cosAzimuth - y * sinAzimuth;
    const double y1 = x * sinAzimuth + y * cosAzimuth;
    const double y2 = y1 * cosElevation - z * sinElevation;
    const double z2 = z * cosElevation + y1 * sinElevation;
    depth = z2 < 0 ? d : -d;
    px = halfWidth - zoom * x1 / z2;
    py = halfHeight - zoom * y2 / z2;
    size = std::fabs(depth) <= zoom * 1e-30 ? 1e-30 * referenceDistance : referenceDistance / depth;
    return 1;
}

void scene3d::ComputePlotScales() {
    mapScaleX = (static_cast<double>(mapPixelXMax) - mapPixelXMin) / (mapXMax - mapXMin);
    mapScaleY = (static_cast<double>(mapPixelYMax) - mapPixelYMin) / (mapYMax - mapYMin);
}

std::int32_t scene3d::WorldToPixelX(double x) const {
    return TruncPixel((x - mapXMin) * mapScaleX + mapPixelXMin);
}

std::int32_t scene3d::WorldToPixelY(double y) const {
    return TruncPixel((y - mapYMin) * mapScaleY + mapPixelYMin);
}

std::int32_t scene3d::ComputeCells(const std::vector<double>& xs, const std::vector<double>& ys,
                                   const std::vector<double>& zs, std::vector<l_stat_a>& cells, double& zMin,
                                   double& zMax) const {
    const std::size_t n = std::min({xs.size(), ys.size(), zs.size()});
    if (n < 998) return 0;
    const std::int32_t g = std::min<std::int32_t>(40, static_cast<std::int32_t>(std::sqrt(n * 0.1)));
    cells.assign(static_cast<std::size_t>(g) * g, l_stat_a{});
    const double w = (mapXMax - mapXMin) / g, h = (mapYMax - mapYMin) / g;
    zMin = 0;
    zMax = 0;
    bool any = false;
    for (std::size_t k = 0; k < n; ++k) {
        const double x = xs[k], y = ys[k], z = zs[k];
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) continue;
        const std::int32_t i = std::clamp(TruncPixel((x - mapXMin) / w), 0, g - 1);
        const std::int32_t j = std::clamp(TruncPixel((y - mapYMin) / h), 0, g - 1);
        l_stat_a& c = cells[static_cast<std::size_t>(j) * g + i];
        c.sum += z;
        c.sumOfSquares += z * z;
        c.count += 1;
    }
    for (std::size_t k = 0; k < n; ++k) {
        const double z = zs[k];
        if (!std::isfinite(z)) continue;
        if (!any || z < zMin) zMin = z;
        if (!any || z > zMax) zMax = z;
        any = true;
    }
    for (l_stat_a& c : cells) {
        if (c.count == 0) {
            c.mean = zMin;
            c.deviation = 0;
            continue;
        }
        c.mean = c.sum / c.count;
        // Rounding can leave the variance a hair below zero.
        if (c.count >= 2)
            c.deviation = std::sqrt(std::max(0.0, (c.sumOfSquares - c.count * c.mean * c.mean) / c.count));
    }
    return g;
}

std::int32_t SurfaceModelTermCount(std::int32_t kind) {
    return kind == 0 ? 3 : kind == 1 ? 5 : 0;
}

double PolynomialSurfaceValue(double x, double y, std::int32_t count, const std::vector<double>& coefficients,
                              std::int32_t kind) {
    const double row[5] = {1.0, x, y, x * x, y * y};
    const std::int64_t available = static_cast<std::int64_t>(coefficients.size());
    const auto terms = static_cast<std::int32_t>(
        std::min<std::int64_t>({static_cast<std::int64_t>(count), SurfaceModelTermCount(kind), available}));
    double sum = 0;
    for (std::int32_t k = 0; k < terms; ++k) sum += coefficients[static_cast<std::size_t>(k)] * row[k];
    return sum;
}

double NiceTickStep3D(double r) {
    return NiceTickStep(r);
}

scene3d::Colour BandColour(double v, double zMin, double zMax, scene3d::Colour low, scene3d::Colour high) {
    return ChannelBlend(v, zMin, zMax, low, high, false);
}

scene3d::Colour CellColour(double v, double zMin, double zMax, scene3d::Colour low, scene3d::Colour high) {
    return ChannelBlend(v, zMin, zMax, low, high, true);
}
