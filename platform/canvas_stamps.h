#pragma once
// Stamps: a small shape drawn once by Qt into a scratch image, kept as runs of pixels,
// and copied wherever the same shape is drawn again. Internal to the canvas.
//
// Why the pixels are the same as Qt drawing the shape in place: Qt's aliased raster
// drawing of a call moved by whole pixels gives the same pixels moved, as long as every
// coordinate it computes on the way stays within the same power-of-two range [2^k, 2^k+1)
// (its floating-point sums of a position and an offset then round alike). So a stamp is
// drawn with its area starting at 2^k and reused anywhere its area lies within that range;
// on an axis where the area crosses a power of two, or lies below 32, the stamp keeps its
// real position. The scratch image has the size of the target, with no clip: the stamp
// is cut to the visible area when it is copied, as Qt's clipping cuts the drawing. A stamp
// may hold two calls drawn one after the other (an ellipse's inside and outline).
#include <QImage>

#include "platform/canvas_session.h"

namespace platform::detail {

// Area a stamp's call may draw to: left/top inclusive, right/bottom exclusive.
struct StampArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Draws the calls (one or two, in order) onto image (32-bit RGB), cut to visible, through
// a stamp and returns true; or returns false when they do not suit one (too large, a
// styled pen, coordinates between half pixels) and the caller must make them with Qt.
bool DrawStamped(QImage& image, const StampArea& visible, const ShapeCall* calls, int count);
inline bool DrawStamped(QImage& image, const StampArea& visible, const ShapeCall& call) {
    return DrawStamped(image, visible, &call, 1);
}

// Stamps can be switched off (per thread), so tests can compare them with Qt's drawing.
bool StampsEnabled();
void SetStampsEnabled(bool on);

}  // namespace platform::detail
