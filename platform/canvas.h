#pragma once
// A drawing context over an image with the classic semantics the program's painters
// assume: integer pixel coordinates, a current position, lines that leave out their end
// pixel, rectangles that leave out their right and bottom edges, selected pen/brush/font
// objects, text colour and background mode, text placed by its top-left corner and
// rotated by the font's escapement. Shapes and lines are never antialiased; text is,
// unless its font asks for non-antialiased quality.
//
// Coordinates of any size are accepted: everything is clipped to a safe box before it
// reaches Qt. Every call has written its pixels into the image when it returns, so the
// image may be read, copied, painted elsewhere or resized between calls at any time (the
// canvas then sees the new size); an image that is not 32-bit is converted once. The Qt
// painter behind the canvas stays open between calls and follows the image when its
// pixels move (resize, reassignment, copy-on-write).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include "platform/bitmap.h"
#include "platform/brush.h"
#include "platform/color.h"
#include "platform/font.h"
#include "platform/pen.h"

namespace platform {

namespace detail {
class CanvasSession;
class PainterState;
struct ShapeCall;
}  // namespace detail

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Left/top inclusive, right/bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

enum class BkMode : int { Transparent = 1, Opaque = 2 };

class Canvas {
public:
    explicit Canvas(Bitmap& bitmap);
    explicit Canvas(QImage& image);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const;
    int Height() const;
    QImage& Image() { return *image_; }

    // Selected objects; each Select returns the one it replaces.
    Pen SelectPen(const Pen& pen) {
        Pen old = pen_;
        pen_ = pen;
        return old;
    }
    Brush SelectBrush(const Brush& brush) {
        Brush old = brush_;
        brush_ = brush;
        return old;
    }
    Font SelectFont(const Font& font);
    const Pen& CurrentPen() const { return pen_; }
    const Font& CurrentFont() const { return font_; }

    ColorRef SetTextColor(ColorRef c);  // return the previous value
    ColorRef SetBkColor(ColorRef c);
    BkMode SetBkMode(BkMode mode);
    ColorRef TextColor() const { return textColor_; }

    // Lines with the current pen from the current position; the end pixel is left out.
    Point MoveTo(int x, int y);  // returns the previous position
    void LineTo(int x, int y);
    Point CurrentPosition() const { return pos_; }
    void Polyline(const Point* pts, int count);
    void Polyline(const std::vector<Point>& pts) { Polyline(pts.data(), static_cast<int>(pts.size())); }

    // Shapes: inside filled with the current brush, outline with the current pen.
    // The bounding rectangle leaves out its right and bottom edges; with the null pen a
    // rectangle or ellipse is one pixel narrower and shorter still (no outline to cover it).
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    // A polygon region filled with a colour (alternate rule), no outline.
    void FillPolygon(const Point* pts, int count, ColorRef c);
    // Fills with a colour / brush, no outline; right and bottom edges left out.
    void FillRect(const Rect& r, ColorRef c);
    void FillRect(const Rect& r, const Brush& b);

    // UTF-8 text (8-bit codes in the symbol face).
    void TextOut(int x, int y, const std::string& text);
    Size GetTextExtent(const std::string& text);

    ColorRef GetPixel(int x, int y) const;  // kInvalidColor outside the image
    void SetPixel(int x, int y, ColorRef c);
    static constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

    // Copies w x h pixels from (sx, sy) of the source to (x, y) here (source overlap-safe).
    void CopyFrom(int x, int y, int w, int h, const QImage& src, int sx, int sy);
    void CopyFrom(int x, int y, int w, int h, const Bitmap& src, int sx, int sy) {
        CopyFrom(x, y, w, h, src.Image(), sx, sy);
    }
    // Scales the source rectangle onto the destination rectangle, nearest pixel.
    void StretchFrom(int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh);
    void StretchFrom(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, int sw, int sh) {
        StretchFrom(x, y, w, h, src.Image(), sx, sy, sw, sh);
    }

private:
    // The open painter, clipped to the visible area; nullptr when the image cannot be painted.
    detail::PainterState* Session();
    // Shape calls in order: copied from a stamp when they can be, else drawn by Qt.
    void Draw(const detail::ShapeCall* calls, int count, const Rect& visible);
    Rect Visible() const;
    bool Writable();
    void ThinLine(int x1, int y1, int x2, int y2);
    void WideSegments(const QPointF* pts, int count, bool closed);
    void FillPolygonF(const QPointF* pts, int count, const Brush& brush);
    void StrokeOutline(const Point* pts, int count, bool closed);

    QImage* image_;
    std::unique_ptr<detail::CanvasSession> session_;
    std::uint64_t fontGeneration_ = 1;  // tells the painter when the font changed
    Pen pen_;
    Brush brush_{kWhite};
    Font font_;
    QFont qfont_;
    ColorRef textColor_ = kBlack;
    ColorRef bkColor_ = kWhite;
    BkMode bkMode_ = BkMode::Opaque;
    Point pos_;
    long long dashPhase_ = 0;  // styled lines keep their pattern across joined segments
};

}  // namespace platform
