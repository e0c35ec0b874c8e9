#pragma once
// An off-screen picture: an RGB32 image that canvases draw into and windows copy from.
#include <QImage>

#include "platform/color.h"

namespace platform {

class Bitmap {
public:
    Bitmap() = default;
    // Sizes below 1 give an empty bitmap; sizes beyond what memory allows also do (IsNull()).
    Bitmap(int w, int h, ColorRef fill = kWhite);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool IsNull() const { return image_.isNull(); }
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

    // New size; the content is lost and refilled. Returns false when it cannot be held.
    bool Resize(int w, int h, ColorRef fill = kWhite);
    void Fill(ColorRef c);

private:
    QImage image_;
};

}  // namespace platform
