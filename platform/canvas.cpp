#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include <QVarLengthArray>

#include "platform/canvas_session.h"
#include "platform/canvas_stamps.h"
#include "platform/pixel.h"
#include "platform/text_metrics.h"

namespace platform {

namespace {

// Geometry farther than this beyond the drawable area is cut off before Qt sees it;
// wide pens add their width.
constexpr double kSafeMargin = 64.0;
// Text anchored farther than this from the image cannot reach it.
constexpr long long kTextReach = 100000;
// Rectangle edges beyond this are pulled in; still far outside any image.
constexpr long long kPixelReach = 4000000;

// On/off runs (pixels) of the styled thin pens; the pattern carries on across the
// segments of one path.
struct DashPattern {
    int runs[6];
    int count;
    int length;
};
constexpr DashPattern kDash{{18, 6}, 2, 24};
constexpr DashPattern kDot{{3, 3}, 2, 6};
constexpr DashPattern kDashDot{{9, 6, 3, 6}, 4, 24};
constexpr DashPattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};
constexpr long long kPatternCycle = 24;  // every pattern length divides it

const DashPattern* PatternOf(PenStyle s) {
    switch (s) {
        case PenStyle::Dash: return &kDash;
        case PenStyle::Dot: return &kDot;
        case PenStyle::DashDot: return &kDashDot;
        case PenStyle::DashDotDot: return &kDashDotDot;
        default: return nullptr;
    }
}

// Whether position p (0 .. length-1) of the pattern is drawn (even runs are dashes).
bool PatternOn(const DashPattern& d, int p) {
    for (int k = 0; k < d.count; ++k) {
        if (p < d.runs[k]) return (k % 2) == 0;
        p -= d.runs[k];
    }
    return false;
}

bool Is32Bit(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

long long Clamp64(long long v, long long lo, long long hi) { return v < lo ? lo : (v > hi ? hi : v); }

struct BoxF {
    double x0, y0, x1, y1;
};

// Liang-Barsky: cuts segment a-b to the box; false when nothing of it is inside.
bool ClipSegment(QPointF& a, QPointF& b, const BoxF& box) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.x0, box.x1 - a.x(), a.y() - box.y0, box.y1 - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
    }
    const QPointF a0 = a;
    a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

// Sutherland-Hodgman against the box; a convex window keeps the fill parity of every
// point inside it, so the alternate fill rule still holds.
std::vector<QPointF> ClipPolygon(const std::vector<QPointF>& in, const BoxF& box) {
    std::vector<QPointF> cur = in, next;
    for (int edge = 0; edge < 4 && !cur.empty(); ++edge) {
        auto inside = [&](const QPointF& p) {
            switch (edge) {
                case 0: return p.x() >= box.x0;
                case 1: return p.x() <= box.x1;
                case 2: return p.y() >= box.y0;
                default: return p.y() <= box.y1;
            }
        };
        auto cross = [&](const QPointF& p, const QPointF& q) {
            double t;
            switch (edge) {
                case 0: t = (box.x0 - p.x()) / (q.x() - p.x()); return QPointF(box.x0, p.y() + t * (q.y() - p.y()));
                case 1: t = (box.x1 - p.x()) / (q.x() - p.x()); return QPointF(box.x1, p.y() + t * (q.y() - p.y()));
                case 2: t = (box.y0 - p.y()) / (q.y() - p.y()); return QPointF(p.x() + t * (q.x() - p.x()), box.y0);
                default: t = (box.y1 - p.y()) / (q.y() - p.y()); return QPointF(p.x() + t * (q.x() - p.x()), box.y1);
            }
        };
        next.clear();
        for (size_t i = 0; i < cur.size(); ++i) {
            const QPointF& p = cur[i];
            const QPointF& q = cur[(i + 1) % cur.size()];
            const bool pin = inside(p), qin = inside(q);
            if (pin) next.push_back(p);
            if (pin != qin) next.push_back(cross(p, q));
        }
        cur.swap(next);
    }
    return cur;
}

bool InsideBox(const QPointF& p, const BoxF& b) { return p.x() >= b.x0 && p.x() <= b.x1 && p.y() >= b.y0 && p.y() <= b.y1; }

}  // namespace

Canvas::Canvas(Bitmap& bitmap) : Canvas(bitmap.Image()) {}

Canvas::Canvas(QImage& image)
    : image_(&image), session_(std::make_unique<detail::CanvasSession>()), qfont_(MetricsFor(font_).qfont) {
    if (!image_->isNull() && !Is32Bit(image_->format())) *image_ = image_->convertToFormat(QImage::Format_RGB32);
}

Canvas::~Canvas() = default;

int Canvas::Width() const { return image_->width(); }
int Canvas::Height() const { return image_->height(); }

Font Canvas::SelectFont(const Font& font) {
    Font old = font_;
    if (!(font == font_)) {
        font_ = font;
        qfont_ = MetricsFor(font_).qfont;
        ++fontGeneration_;
    }
    return old;
}

ColorRef Canvas::SetTextColor(ColorRef c) { return std::exchange(textColor_, c); }
ColorRef Canvas::SetBkColor(ColorRef c) { return std::exchange(bkColor_, c); }
BkMode Canvas::SetBkMode(BkMode mode) { return std::exchange(bkMode_, mode); }

Rect Canvas::Visible() const {
    Rect r{0, 0, image_->width(), image_->height()};
    if (r.IsEmpty()) r = Rect{};
    return r;
}

detail::PainterState* Canvas::Session() {
    if (image_->isNull()) return nullptr;
    if (!Is32Bit(image_->format())) {
        session_->End();
        *image_ = image_->convertToFormat(QImage::Format_RGB32);
    }
    return session_->Begin(*image_);
}

void Canvas::Draw(const detail::ShapeCall* calls, int count, const Rect& v) {
    const detail::StampArea area{v.left, v.top, v.right, v.bottom};
    if (count > 1 && detail::DrawStamped(*image_, area, calls, count)) return;
    for (int i = 0; i < count; ++i) {
        if (detail::DrawStamped(*image_, area, calls[i])) continue;
        if (detail::PainterState* s = Session()) detail::PaintShape(*s, calls[i]);
    }
}

// Direct pixel access needs a 32-bit image of its own (shared data is detached here).
bool Canvas::Writable() {
    if (image_->isNull()) return false;
    if (!Is32Bit(image_->format())) {
        session_->End();
        *image_ = image_->convertToFormat(QImage::Format_RGB32);
    }
    return !Visible().IsEmpty();
}

// ---- lines ---------------------------------------------------------------------------

Point Canvas::MoveTo(int x, int y) {
    dashPhase_ = 0;
    return std::exchange(pos_, Point{x, y});
}

void Canvas::LineTo(int x, int y) {
    const Point from = pos_;
    pos_ = Point{x, y};
    if (pen_.style == PenStyle::Null) return;
    if (pen_.width <= 1) {
        ThinLine(from.x, from.y, x, y);
    } else {
        const QPointF pts[2] = {QPointF(from.x, from.y), QPointF(x, y)};
        WideSegments(pts, 2, false);
    }
}

// A one-pixel line from (x1, y1) towards (x2, y2) that leaves out (x2, y2), stepping one
// pixel along the major axis at a time. Only the steps that can land inside the visible
// area are walked, so endpoints of any size cost nothing extra.
void Canvas::ThinLine(int x1, int y1, int x2, int y2) {
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    const long long adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const long long n = std::max(adx, ady);
    const long long phase = dashPhase_;
    dashPhase_ += n;  // kept below one cycle; short segments spare the division
    if (dashPhase_ >= kPatternCycle)
        dashPhase_ = dashPhase_ < 2 * kPatternCycle ? dashPhase_ - kPatternCycle : dashPhase_ % kPatternCycle;
    if (n == 0 || !Writable()) return;

    const bool xMajor = adx >= ady;
    const long long major0 = xMajor ? x1 : y1, minor0 = xMajor ? y1 : x1;
    const long long sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const long long sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long aMajor = n, aMinor = xMajor ? ady : adx;

    const Rect v = Visible();
    const DashPattern* pattern = PatternOf(pen_.style);
    const QRgb on = ToQRgb(pen_.color);

    // Both ends visible and solid: every step lands inside, walked without the cutting
    // below (the same steps and pixels, just fewer checks).
    if (pattern == nullptr && x1 >= v.left && x1 < v.right && y1 >= v.top && y1 < v.bottom && x2 >= v.left &&
        x2 < v.right && y2 >= v.top && y2 < v.bottom) {
        uchar* const bits = image_->bits();
        const qsizetype bpl = image_->bytesPerLine();
        const long long twoMajor = 2 * aMajor, twoMinor = 2 * aMinor;
        long long rem = aMajor;  // the remainder of the first step's minor offset, which is 0
        const qsizetype stepMajor = xMajor ? sMajor * 4 : sMajor * bpl;
        const qsizetype stepMinor = xMajor ? sMinor * bpl : sMinor * 4;
        uchar* p = bits + y1 * bpl + static_cast<qsizetype>(x1) * 4;
        for (long long i = 0; i < n; ++i) {
            *reinterpret_cast<QRgb*>(p) = on;
            p += stepMajor;
            rem += twoMinor;
            if (rem >= twoMajor) {
                rem -= twoMajor;
                p += stepMinor;
            }
        }
        return;
    }

    const long long majLo = xMajor ? v.left : v.top, majHi = (xMajor ? v.right : v.bottom) - 1;
    const long long minLo = xMajor ? v.top : v.left, minHi = (xMajor ? v.bottom : v.right) - 1;

    // Steps whose major coordinate is visible.
    long long iLo, iHi;
    if (sMajor > 0) {
        iLo = majLo - major0;
        iHi = majHi - major0;
    } else {
        iLo = major0 - majHi;
        iHi = major0 - majLo;
    }
    iLo = std::max(iLo, 0LL);
    iHi = std::min(iHi, n - 1);
    if (iLo > iHi) return;
    // Steps whose minor offset k(i) ~ i * aMinor / aMajor can be visible (with slack).
    const long long kLo = sMinor > 0 ? minLo - minor0 : minor0 - minHi;
    const long long kHi = sMinor > 0 ? minHi - minor0 : minor0 - minLo;
    if (aMinor == 0) {
        if (kLo > 0 || kHi < 0) return;
    } else {
        const double slope = static_cast<double>(aMajor) / static_cast<double>(aMinor);
        const double lo = (static_cast<double>(kLo) - 1.0) * slope - 2.0;
        const double hi = (static_cast<double>(kHi) + 1.0) * slope + 2.0;
        if (hi < static_cast<double>(iLo) || lo > static_cast<double>(iHi)) return;
        if (lo > static_cast<double>(iLo)) iLo = static_cast<long long>(lo);
        if (hi < static_cast<double>(iHi)) iHi = static_cast<long long>(hi);
    }

    // Minor offset of step i: floor((2 i aMinor + aMajor) / (2 aMajor)), kept as a
    // quotient and remainder so each step costs an addition.
    const __int128 num = static_cast<__int128>(2) * iLo * aMinor + aMajor;
    long long k = static_cast<long long>(num / (2 * static_cast<__int128>(aMajor)));
    long long rem = static_cast<long long>(num % (2 * static_cast<__int128>(aMajor)));
    const long long twoMajor = 2 * aMajor, twoMinor = 2 * aMinor;

    const QRgb off = ToQRgb(bkColor_);
    const bool opaqueGaps = bkMode_ == BkMode::Opaque;
    uchar* const bits = image_->bits();
    const qsizetype bpl = image_->bytesPerLine();

    for (long long i = iLo; i <= iHi; ++i) {
        const long long maj = major0 + sMajor * i, mnr = minor0 + sMinor * k;
        const long long px = xMajor ? maj : mnr, py = xMajor ? mnr : maj;
        if (px >= v.left && px < v.right && py >= v.top && py < v.bottom) {
            bool draw = true;
            QRgb color = on;
            if (pattern != nullptr && !PatternOn(*pattern, static_cast<int>((phase + i) % pattern->length))) {
                draw = opaqueGaps;
                color = off;
            }
            if (draw) reinterpret_cast<QRgb*>(bits + py * bpl)[px] = color;
        }
        rem += twoMinor;
        if (rem >= twoMajor) {
            rem -= twoMajor;
            ++k;
        }
    }
}

// Wide pens draw solid with round ends and joins, centred on the pixel path.
void Canvas::WideSegments(const QPointF* pts, int count, bool closed) {
    if (count < 2 || image_->isNull()) return;
    const Rect v = Visible();
    if (v.IsEmpty()) return;
    const double m = kSafeMargin + pen_.width;
    const BoxF box{v.left - m, v.top - m, v.right + m, v.bottom + m};
    const detail::QtPen pen{detail::QtPen::Round, pen_.width, pen_.color};
    const bool allInside = std::all_of(pts, pts + count, [&](const QPointF& q) { return InsideBox(q, box); });
    if (allInside) {
        detail::ShapeCall call;
        call.kind = closed ? detail::ShapeCall::StrokePolygon : detail::ShapeCall::StrokePolyline;
        call.points = pts;
        call.count = count;
        call.pen = pen;
        Draw(&call, 1, v);
        return;
    }
    detail::PainterState* s = Session();
    if (s == nullptr) return;
    s->Pen(pen);
    s->NoBrush();
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        QPointF a = pts[i], b = pts[(i + 1) % count];
        if (ClipSegment(a, b, box)) s->Painter().drawLine(QLineF(a, b));
    }
}

void Canvas::Polyline(const Point* pts, int count) {
    if (pts == nullptr || count < 2 || pen_.style == PenStyle::Null) return;
    if (pen_.width <= 1) {
        const long long saved = dashPhase_;
        dashPhase_ = 0;
        for (int i = 1; i < count; ++i) ThinLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y);
        dashPhase_ = saved;
        return;
    }
    QVarLengthArray<QPointF, 16> q(count);
    for (int i = 0; i < count; ++i) q[i] = QPointF(pts[i].x, pts[i].y);
    WideSegments(q.constData(), count, false);
}

// ---- shapes ----------------------------------------------------------------------------

void Canvas::StrokeOutline(const Point* pts, int count, bool closed) {
    if (pen_.style == PenStyle::Null || count < 2) return;
    if (pen_.width <= 1) {
        const long long saved = dashPhase_;
        dashPhase_ = 0;
        for (int i = 1; i < count; ++i) ThinLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y);
        if (closed) ThinLine(pts[count - 1].x, pts[count - 1].y, pts[0].x, pts[0].y);
        dashPhase_ = saved;
        return;
    }
    QVarLengthArray<QPointF, 16> q(count);
    for (int i = 0; i < count; ++i) q[i] = QPointF(pts[i].x, pts[i].y);
    WideSegments(q.constData(), count, closed);
}

// Fills with pixel centres sampled: integer vertices are pixel edges, so the right and
// bottom edges of a shape stay out, as with the outline drawn on top.
void Canvas::FillPolygonF(const QPointF* pts, int count, const Brush& brush) {
    if (brush.hollow || count < 3 || image_->isNull()) return;
    const Rect v = Visible();
    if (v.IsEmpty()) return;
    const BoxF box{v.left - kSafeMargin, v.top - kSafeMargin, v.right + kSafeMargin, v.bottom + kSafeMargin};
    const bool allInside = std::all_of(pts, pts + count, [&](const QPointF& q) { return InsideBox(q, box); });
    std::vector<QPointF> clipped;
    if (!allInside) {
        clipped = ClipPolygon(std::vector<QPointF>(pts, pts + count), box);
        if (clipped.size() < 3) return;
    }
    detail::ShapeCall call;
    call.kind = detail::ShapeCall::FillPolygon;
    call.points = allInside ? pts : clipped.data();
    call.count = allInside ? count : static_cast<int>(clipped.size());
    call.fill = brush.color;
    Draw(&call, 1, v);
}

void Canvas::FillPolygon(const Point* pts, int count, ColorRef c) {
    if (pts == nullptr || count < 3) return;
    QVarLengthArray<QPointF, 16> q(count);
    for (int i = 0; i < count; ++i) q[i] = QPointF(pts[i].x, pts[i].y);
    FillPolygonF(q.constData(), count, Brush(c));
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    long long l = std::min(left, right), r = std::max(left, right);
    long long t = std::min(top, bottom), b = std::max(top, bottom);
    if (r - l < 1 || b - t < 1) return;
    const Rect v = Visible();
    if (v.IsEmpty()) return;
    // A shape without an outline is one pixel narrower and shorter, as the classic
    // drawing model has it: the fill stops where the outline's inner edge would be.
    if (pen_.style == PenStyle::Null) {
        FillRect(Rect{static_cast<int>(Clamp64(l, -kPixelReach, kPixelReach)),
                      static_cast<int>(Clamp64(t, -kPixelReach, kPixelReach)),
                      static_cast<int>(Clamp64(r - 1, -kPixelReach, kPixelReach)),
                      static_cast<int>(Clamp64(b - 1, -kPixelReach, kPixelReach))},
                 brush_);
        return;
    }
    FillRect(Rect{static_cast<int>(Clamp64(l, -kPixelReach, kPixelReach)),
                  static_cast<int>(Clamp64(t, -kPixelReach, kPixelReach)),
                  static_cast<int>(Clamp64(r, -kPixelReach, kPixelReach)),
                  static_cast<int>(Clamp64(b, -kPixelReach, kPixelReach))},
             brush_);
    // The outline runs on the outermost pixels; coordinates far outside are pulled in
    // (an axis-parallel edge keeps its visible part when clamped).
    const long long lo = -kPixelReach, hi = kPixelReach;
    const Point corners[4] = {
        {static_cast<int>(Clamp64(l, lo, hi)), static_cast<int>(Clamp64(t, lo, hi))},
        {static_cast<int>(Clamp64(r - 1, lo, hi)), static_cast<int>(Clamp64(t, lo, hi))},
        {static_cast<int>(Clamp64(r - 1, lo, hi)), static_cast<int>(Clamp64(b - 1, lo, hi))},
        {static_cast<int>(Clamp64(l, lo, hi)), static_cast<int>(Clamp64(b - 1, lo, hi))},
    };
    StrokeOutline(corners, 4, true);
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
    const double l = std::min(left, right), r = std::max(left, right);
    const double t = std::min(top, bottom), b = std::max(top, bottom);
    if (r - l < 1 || b - t < 1) return;
    const Rect v = Visible();
    if (v.IsEmpty()) return;
    const bool noPen = pen_.style == PenStyle::Null;
    const double m = kSafeMargin + pen_.width;
    const BoxF box{v.left - m, v.top - m, v.right + m, v.bottom + m};
    const bool small = l >= box.x0 && r <= box.x1 && t >= box.y0 && b <= box.y1;
    // The outline passes through the centres of the outermost pixels; the fill reaches
    // the outline's inside (one pixel less without an outline).
    const QRectF path(l, t, r - l - 1, b - t - 1);
    const QRectF fill(l + 0.5, t + 0.5, r - l - (noPen ? 2 : 1), b - t - (noPen ? 2 : 1));
    if (small) {
        detail::ShapeCall calls[2];
        int count = 0;
        if (!brush_.hollow && fill.width() > 0 && fill.height() > 0) {
            detail::ShapeCall& inside = calls[count++];
            inside.kind = detail::ShapeCall::FillEllipse;
            inside.rect = fill;
            inside.fill = brush_.color;
        }
        if (!noPen) {
            detail::ShapeCall& outline = calls[count++];
            outline.kind = detail::ShapeCall::StrokeEllipse;
            outline.rect = path;
            // Thin pens are cosmetic: exactly one pixel.
            outline.pen = detail::QtPen{detail::QtPen::Square, pen_.width <= 1 ? 0 : pen_.width, pen_.color};
            if (pen_.width <= 1 && PatternOf(pen_.style) != nullptr) {
                outline.pen.kind = detail::QtPen::Dashed;
                outline.pen.style = pen_.style;
                outline.bkOpaque = bkMode_ == BkMode::Opaque;
                outline.bkColor = bkColor_;
            }
        }
        if (count > 0) Draw(calls, count, v);
        return;
    }
    // An ellipse reaching far outside: a polygon fine enough to stay within half a pixel.
    const double radius = std::max(r - l, b - t) * 0.5;
    const int n = static_cast<int>(std::clamp(std::numbers::pi * std::sqrt(2.0 * radius) + 8.0, 64.0, 16384.0));
    auto ring = [n](const QRectF& e) {
        std::vector<QPointF> pts;
        pts.reserve(static_cast<size_t>(n));
        const QPointF c = e.center();
        for (int i = 0; i < n; ++i) {
            const double a = 2.0 * std::numbers::pi * i / n;
            pts.emplace_back(c.x() + 0.5 * e.width() * std::cos(a), c.y() + 0.5 * e.height() * std::sin(a));
        }
        return pts;
    };
    const std::vector<QPointF> inside = ring(fill);
    FillPolygonF(inside.data(), n, brush_);
    if (noPen) return;
    const std::vector<QPointF> outline = ring(path);
    if (pen_.width > 1) {
        WideSegments(outline.data(), n, true);
        return;
    }
    detail::PainterState* s = Session();
    if (s == nullptr) return;
    s->Pen(detail::QtPen{detail::QtPen::Square, 0, pen_.color});
    s->NoBrush();
    for (size_t i = 0; i < outline.size(); ++i) {
        QPointF a = outline[i], c = outline[(i + 1) % outline.size()];
        if (ClipSegment(a, c, box)) s->Painter().drawLine(QLineF(a, c));
    }
}

void Canvas::FillRect(const Rect& r, ColorRef c) { FillRect(r, Brush(c)); }

void Canvas::FillRect(const Rect& rect, const Brush& brush) {
    if (brush.hollow || !Writable()) return;
    const Rect v = Visible();
    const int l = std::max(std::min(rect.left, rect.right), v.left);
    const int r = std::min(std::max(rect.left, rect.right), v.right);
    const int t = std::max(std::min(rect.top, rect.bottom), v.top);
    const int b = std::min(std::max(rect.top, rect.bottom), v.bottom);
    if (l >= r || t >= b) return;
    const QRgb color = ToQRgb(brush.color);
    for (int y = t; y < b; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
        std::fill(row + l, row + r, color);
    }
}

// ---- text ------------------------------------------------------------------------------

// Widths are the characters' advances added up (see text_metrics.h); the font's
// unshaped, unkerned layout draws the text exactly that wide.
Size Canvas::GetTextExtent(const std::string& text) {
    const TextMetrics& m = MetricsFor(font_);
    return Size{m.Width(text), m.height};
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    const TextMetrics& m = MetricsFor(font_);
    const int w = m.Width(text), ascent = m.ascent, descent = m.descent;
    const double angle = font_.escapement / 10.0;
    if (text.empty() || image_->isNull() || Visible().IsEmpty()) return;
    const long long reach = kTextReach + w + m.height;
    if (x < -reach || y < -reach || x > image_->width() + reach || y > image_->height() + reach) return;

    detail::PainterState* state = Session();
    if (state == nullptr) return;
    QPainter& p = state->Painter();
    state->TextAntialiasing(!(qfont_.styleStrategy() & QFont::NoAntialias));
    state->Background(false, 0);  // the background box below is the only one
    p.translate(x, y);
    if (angle != 0.0) p.rotate(-angle);  // counter-clockwise on screen
    if (bkMode_ == BkMode::Opaque) p.fillRect(QRect(0, 0, w, ascent + descent), ToQColor(bkColor_));
    state->Font(qfont_, fontGeneration_);
    state->Pen(detail::QtPen{detail::QtPen::Square, 1, textColor_});
    p.drawText(QPoint(0, ascent), DrawnText(font_, text));
    p.resetTransform();
}

// ---- pixels and copies -------------------------------------------------------------------

ColorRef Canvas::GetPixel(int x, int y) const {
    const Rect v = Visible();
    if (x < v.left || x >= v.right || y < v.top || y >= v.bottom) return kInvalidColor;
    return FromQRgb(reinterpret_cast<const QRgb*>(image_->constScanLine(y))[x]);
}

void Canvas::SetPixel(int x, int y, ColorRef c) {
    if (!Writable()) return;
    const Rect v = Visible();
    if (x < v.left || x >= v.right || y < v.top || y >= v.bottom) return;
    reinterpret_cast<QRgb*>(image_->scanLine(y))[x] = ToQRgb(c);
}

void Canvas::CopyFrom(int x, int y, int w, int h, const QImage& src, int sx, int sy) {
    if (src.isNull() || w <= 0 || h <= 0 || !Writable()) return;
    // Cut the rectangle to the destination's visible area and to the source.
    long long dx0 = x, dy0 = y, sx0 = sx, sy0 = sy, cw = w, ch = h;
    const Rect v = Visible();
    auto cut = [](long long& d, long long& s, long long& len, long long dLo, long long dHi, long long sHi) {
        long long shift = std::max({0LL, dLo - d, -s});
        d += shift;
        s += shift;
        len -= shift;
        len = std::min({len, dHi - d, sHi - s});
    };
    cut(dx0, sx0, cw, v.left, v.right, src.width());
    cut(dy0, sy0, ch, v.top, v.bottom, src.height());
    if (cw <= 0 || ch <= 0) return;

    // Another format is brought to 32-bit first; the same image copies with overlap care.
    QImage converted;
    const QImage* from = &src;
    if (src.format() != QImage::Format_RGB32 && src.format() != image_->format()) {
        converted = src.copy(static_cast<int>(sx0), static_cast<int>(sy0), static_cast<int>(cw), static_cast<int>(ch))
                        .convertToFormat(QImage::Format_RGB32);
        from = &converted;
        sx0 = 0;
        sy0 = 0;
    }
    const bool same = from->constBits() == image_->constBits();
    uchar* dst = image_->bits();  // may detach from a shared source; the copy then reads the old data
    const qsizetype dbpl = image_->bytesPerLine(), sbpl = from->bytesPerLine();
    const uchar* srcBits = from->constBits();
    const size_t bytes = static_cast<size_t>(cw) * 4;
    const bool upwards = same && sy0 < dy0;
    for (long long i = 0; i < ch; ++i) {
        const long long row = upwards ? ch - 1 - i : i;
        std::memmove(dst + (dy0 + row) * dbpl + dx0 * 4, srcBits + (sy0 + row) * sbpl + sx0 * 4, bytes);
    }
    if (image_->format() == QImage::Format_RGB32 && from->format() != QImage::Format_RGB32) {
        for (long long row = 0; row < ch; ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(dst + (dy0 + row) * dbpl) + dx0;
            for (long long c = 0; c < cw; ++c) line[c] |= 0xFF000000u;
        }
    }
}

void Canvas::StretchFrom(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh) {
    if (src.isNull() || w == 0 || h == 0 || sw == 0 || sh == 0 || !Writable()) return;
    if (w == sw && h == sh && w > 0 && h > 0) {
        CopyFrom(x, y, w, h, src, sx, sy);
        return;
    }
    // Negative extents mirror, as in the classic call.
    long long dx0 = x, dy0 = y, dw = w, dh = h, sx0 = sx, sy0 = sy, sW = sw, sH = sh;
    bool flipX = false, flipY = false;
    if (dw < 0) { dx0 += dw; dw = -dw; flipX = !flipX; }
    if (dh < 0) { dy0 += dh; dh = -dh; flipY = !flipY; }
    if (sW < 0) { sx0 += sW; sW = -sW; flipX = !flipX; }
    if (sH < 0) { sy0 += sH; sH = -sH; flipY = !flipY; }

    const Rect v = Visible();
    const long long cx0 = std::max<long long>(dx0, v.left), cx1 = std::min<long long>(dx0 + dw, v.right);
    const long long cy0 = std::max<long long>(dy0, v.top), cy1 = std::min<long long>(dy0 + dh, v.bottom);
    if (cx0 >= cx1 || cy0 >= cy1) return;

    const QImage from = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32 ||
                                src.format() == QImage::Format_ARGB32_Premultiplied
                            ? src
                            : src.convertToFormat(QImage::Format_RGB32);
    // Nearest source pixel of each destination column and row (-1: outside the source).
    auto map = [](long long d0, long long dLen, long long s0, long long sLen, bool flip, long long c0, long long c1,
                  long long sLimit) {
        std::vector<long long> m(static_cast<size_t>(c1 - c0));
        for (long long c = c0; c < c1; ++c) {
            const long long j = c - d0;
            long long s = static_cast<long long>((static_cast<__int128>(2 * j + 1) * sLen) / (2 * dLen));
            if (flip) s = sLen - 1 - s;
            s += s0;
            m[static_cast<size_t>(c - c0)] = (s >= 0 && s < sLimit) ? s : -1;
        }
        return m;
    };
    const std::vector<long long> cols = map(dx0, dw, sx0, sW, flipX, cx0, cx1, from.width());
    const std::vector<long long> rows = map(dy0, dh, sy0, sH, flipY, cy0, cy1, from.height());
    // A copy of the source when it is this very image, so reads see the old pixels.
    const QImage source = from.constBits() == image_->constBits() ? from.copy() : from;
    const bool opaque = image_->format() == QImage::Format_RGB32 && source.format() != QImage::Format_RGB32;
    for (long long y0 = cy0; y0 < cy1; ++y0) {
        const long long sy1 = rows[static_cast<size_t>(y0 - cy0)];
        if (sy1 < 0) continue;
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(sy1)));
        QRgb* out = reinterpret_cast<QRgb*>(image_->scanLine(static_cast<int>(y0)));
        for (long long x0 = cx0; x0 < cx1; ++x0) {
            const long long sx1 = cols[static_cast<size_t>(x0 - cx0)];
            if (sx1 >= 0) out[x0] = opaque ? (in[sx1] | 0xFF000000u) : in[sx1];
        }
    }
}

}  // namespace platform
