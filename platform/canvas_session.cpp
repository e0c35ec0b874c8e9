#include "platform/canvas_session.h"

#include <QList>
#include <QPen>
#include <QVarLengthArray>

namespace platform::detail {

namespace {

// On/off runs (pixels) of the thin pens' patterns as Qt dash lengths.
QList<qreal> DashesOf(PenStyle s) {
    switch (s) {
        case PenStyle::Dash: return {18, 6};
        case PenStyle::Dot: return {3, 3};
        case PenStyle::DashDot: return {9, 6, 3, 6};
        case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
        default: return {};
    }
}

}  // namespace

void PainterState::Reset() {
    known_ = false;
    pen_ = QtPen{};
    brushSet_ = false;
    bkOpaque_ = false;
    bkColorSet_ = false;
    textAa_ = true;
    fontGeneration_ = 0;
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    textAa_ = p_.testRenderHint(QPainter::TextAntialiasing);
}

void PainterState::Pen(const QtPen& pen) {
    if (known_ && pen == pen_) return;
    known_ = true;
    pen_ = pen;
    switch (pen.kind) {
        case QtPen::None:
            p_.setPen(Qt::NoPen);
            break;
        case QtPen::Round:
            p_.setPen(QPen(ToQColor(pen.color), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            break;
        case QtPen::Square: {
            QPen qp(ToQColor(pen.color));
            qp.setWidth(pen.width);
            p_.setPen(qp);
            break;
        }
        case QtPen::Dashed: {
            QPen qp(ToQColor(pen.color));
            qp.setWidth(0);
            qp.setDashPattern(DashesOf(pen.style));
            p_.setPen(qp);
            break;
        }
    }
}

void PainterState::NoBrush() {
    if (!brushSet_) return;
    brushSet_ = false;
    p_.setBrush(Qt::NoBrush);
}

void PainterState::SolidBrush(ColorRef c) {
    if (brushSet_ && brush_ == c) return;
    brushSet_ = true;
    brush_ = c;
    p_.setBrush(ToQColor(c));
}

void PainterState::Background(bool opaque, ColorRef c) {
    if (opaque != bkOpaque_) {
        bkOpaque_ = opaque;
        p_.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    }
    if (opaque && (!bkColorSet_ || bkColor_ != c)) {
        bkColorSet_ = true;
        bkColor_ = c;
        p_.setBackground(ToQColor(c));
    }
}

void PainterState::TextAntialiasing(bool on) {
    if (on == textAa_) return;
    textAa_ = on;
    p_.setRenderHint(QPainter::TextAntialiasing, on);
}

void PainterState::Font(const QFont& f, std::uint64_t generation) {
    if (generation != 0 && generation == fontGeneration_) return;
    fontGeneration_ = generation;
    p_.setFont(f);
}

void PaintShape(PainterState& state, const ShapeCall& call, int shiftX, int shiftY) {
    QPainter& p = state.Painter();
    const bool shifted = shiftX != 0 || shiftY != 0;
    const QRectF rect = shifted ? call.rect.translated(shiftX, shiftY) : call.rect;
    QVarLengthArray<QPointF, 16> moved;
    const QPointF* pts = call.points;
    if (shifted && call.points != nullptr) {
        moved.resize(call.count);
        for (int i = 0; i < call.count; ++i) moved[i] = QPointF(pts[i].x() + shiftX, pts[i].y() + shiftY);
        pts = moved.constData();
    }
    switch (call.kind) {
        case ShapeCall::FillPolygon:
            state.Pen(QtPen{});
            state.SolidBrush(call.fill);
            p.drawPolygon(pts, call.count, Qt::OddEvenFill);
            break;
        case ShapeCall::StrokePolyline:
            state.Pen(call.pen);
            state.NoBrush();
            p.drawPolyline(pts, call.count);
            break;
        case ShapeCall::StrokePolygon:
            state.Pen(call.pen);
            state.NoBrush();
            p.drawPolygon(pts, call.count);
            break;
        case ShapeCall::FillEllipse:
            state.Pen(QtPen{});
            state.SolidBrush(call.fill);
            p.drawEllipse(rect);
            break;
        case ShapeCall::StrokeEllipse:
            state.Pen(call.pen);
            state.NoBrush();
            if (call.pen.kind == QtPen::Dashed) state.Background(call.bkOpaque, call.bkColor);
            p.drawEllipse(rect);
            if (call.pen.kind == QtPen::Dashed) state.Background(false, 0);
            break;
    }
}

PainterState* CanvasSession::Begin(QImage& image) {
    uchar* bits = image.bits();
    if (painter_.isActive() && bits == bits_ && target_.width() == image.width() &&
        target_.height() == image.height() && target_.bytesPerLine() == image.bytesPerLine() &&
        target_.format() == image.format() && target_.dotsPerMeterX() == image.dotsPerMeterX() &&
        target_.dotsPerMeterY() == image.dotsPerMeterY() &&
        target_.devicePixelRatio() == image.devicePixelRatio())
        return &state_;
    End();
    target_ = QImage(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    target_.setDotsPerMeterX(image.dotsPerMeterX());
    target_.setDotsPerMeterY(image.dotsPerMeterY());
    target_.setDevicePixelRatio(image.devicePixelRatio());
    if (!painter_.begin(&target_)) {
        target_ = QImage();
        return nullptr;
    }
    bits_ = bits;
    state_.Reset();
    return &state_;
}

void CanvasSession::End() {
    if (painter_.isActive()) painter_.end();
    target_ = QImage();
    bits_ = nullptr;
}

}  // namespace platform::detail
