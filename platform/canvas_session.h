#pragma once
// The Qt painter a canvas keeps open between calls, the drawing state last given to it,
// and the few Qt calls the canvas makes for shapes. Internal to the canvas.
//
// The painter works on an image of its own that wraps the canvas image's pixels. Qt's
// raster painting writes every call straight into that memory, so the canvas image is
// always up to date and may be copied, read or painted by anyone at any time. Before each
// use the wrapped pixels are checked against the canvas image (address, size, layout):
// a resized, reassigned or shared (and so detached) image gets a fresh painter.
#include <cstdint>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include "platform/color.h"
#include "platform/pen.h"

namespace platform::detail {

// A pen as the canvas hands it to Qt.
struct QtPen {
    enum Kind : std::uint8_t {
        None,    // no outline
        Round,   // solid, round ends and joins (wide lines)
        Square,  // solid, Qt's default ends and joins; width 0 is one pixel
        Dashed,  // one pixel, the thin pens' dash pattern
    };
    Kind kind = None;
    int width = 0;
    ColorRef color = 0;
    PenStyle style = PenStyle::Solid;  // Dashed: which pattern
    bool operator==(const QtPen&) const = default;
};

// Sets painter state only when it differs from what the painter already has, so a
// kept-open painter costs no more per call than the drawing itself.
class PainterState {
public:
    explicit PainterState(QPainter& p) : p_(p) {}
    // After begin: the painter's defaults, plus aliased shapes and images.
    void Reset();
    void Pen(const QtPen& pen);
    void NoBrush();
    void SolidBrush(ColorRef c);
    // Gaps of dashed lines filled with c when opaque.
    void Background(bool opaque, ColorRef c);
    void TextAntialiasing(bool on);
    void Font(const QFont& f, std::uint64_t generation);
    QPainter& Painter() { return p_; }

private:
    QPainter& p_;
    bool known_ = false;
    QtPen pen_;
    bool brushSet_ = false;  // false: no brush
    ColorRef brush_ = 0;
    bool bkOpaque_ = false;
    ColorRef bkColor_ = 0;
    bool bkColorSet_ = false;
    bool textAa_ = true;
    std::uint64_t fontGeneration_ = 0;
};

// One Qt drawing call for a shape: every coordinate already in pixels.
struct ShapeCall {
    enum Kind : std::uint8_t {
        FillPolygon,     // points, alternate rule, no outline
        StrokePolyline,  // points, open
        StrokePolygon,   // points, closed, not filled
        FillEllipse,     // rect, no outline
        StrokeEllipse,   // rect, not filled
    };
    Kind kind = FillPolygon;
    const QPointF* points = nullptr;
    int count = 0;
    QRectF rect;
    QtPen pen;            // strokes
    ColorRef fill = 0;    // fills
    bool bkOpaque = false;  // dashed strokes: gap colour
    ColorRef bkColor = 0;
};

// Makes the call, shifted by whole pixels (stamps are drawn elsewhere than they land).
void PaintShape(PainterState& state, const ShapeCall& call, int shiftX = 0, int shiftY = 0);

class CanvasSession {
public:
    CanvasSession() : state_(painter_) {}
    ~CanvasSession() { End(); }
    CanvasSession(const CanvasSession&) = delete;
    CanvasSession& operator=(const CanvasSession&) = delete;

    // The painter over image's pixels (a 32-bit, non-null image), begun when needed.
    // Detaches shared pixel data first, as beginning a painter on the image would.
    PainterState* Begin(QImage& image);
    void End();

private:
    QImage target_;
    QPainter painter_;
    PainterState state_;
    const uchar* bits_ = nullptr;
};

}  // namespace platform::detail
