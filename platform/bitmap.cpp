#include "platform/bitmap.h"

namespace platform {

Bitmap::Bitmap(int w, int h, ColorRef fill) { Resize(w, h, fill); }

bool Bitmap::Resize(int w, int h, ColorRef fill) {
    if (w < 1 || h < 1) {
        image_ = QImage();
        return w >= 0 && h >= 0;
    }
    // QImage refuses (null image) sizes whose byte count overflows or cannot be allocated.
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) {
        image_ = QImage();
        return false;
    }
    image_ = std::move(img);
    Fill(fill);
    return true;
}

void Bitmap::Fill(ColorRef c) {
    if (!image_.isNull()) image_.fill(ToQRgb(c));
}

}  // namespace platform
