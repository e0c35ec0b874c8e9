#pragma once
// An image file in memory: load (BMP, PNG, JPEG, GIF), size, pixels by whole scan lines,
// save as JPEG. Failures come back as false with a message in Error().
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "platform/color.h"

namespace platform {

class Image {
public:
    Image() = default;

    // Reads the file; false (and Error()) when it is missing, not a picture, or too large.
    bool Load(const std::string& path);
    // Wraps a picture built in memory (converted to 32-bit RGB).
    bool Assign(const QImage& image);
    void Clear();

    bool IsNull() const { return image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const std::string& Error() const { return error_; }

    // Row y as Width() colours (0x00BBGGRR) into a caller's buffer of at least Width()
    // entries; false outside the image.
    bool ReadScanLine(int y, ColorRef* out) const;

    // quality 0..100 (clamped); false with Error() when the file cannot be written.
    bool SaveJpeg(const std::string& path, int quality) const;

    const QImage& QtImage() const { return image_; }

    // Largest picture accepted, in pixels (width * height).
    static constexpr long long kMaxPixels = 100LL * 1000 * 1000;

private:
    bool Save(const std::string& path, const char* format, int quality) const;
    QImage image_;
    mutable std::string error_;
};

}  // namespace platform
