#include "platform/image.h"

#include <algorithm>

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include "platform/qt_text.h"

namespace platform {

namespace {

QString PathText(const std::string& path) { return PathToQString(path); }

}  // namespace

bool Image::Load(const std::string& path) {
    error_.clear();
    image_ = QImage();
    const QString file = PathText(path);
    if (!QFileInfo::exists(file)) {
        error_ = "File not found: " + path;
        return false;
    }
    QImageReader reader(file);
    reader.setAutoTransform(false);
    const QSize size = reader.size();  // from the header, before any pixel is decoded
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxPixels) {
        error_ = "The image is too large (" + std::to_string(size.width()) + " x " +
                 std::to_string(size.height()) + " pixels): " + path;
        return false;
    }
    // Keeps Qt's own guard in line with ours (bytes, in megabytes).
    QImageReader::setAllocationLimit(static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 1);
    QImage img;
    if (!reader.read(&img)) {
        error_ = "Cannot read the image " + path + ": " + FromQString(reader.errorString());
        return false;
    }
    if (!Assign(img)) {
        error_ += ": " + path;
        return false;
    }
    return true;
}

bool Image::Assign(const QImage& image) {
    error_.clear();
    if (image.isNull()) {
        image_ = QImage();
        error_ = "The image is empty";
        return false;
    }
    if (static_cast<long long>(image.width()) * image.height() > kMaxPixels) {
        image_ = QImage();
        error_ = "The image is too large";
        return false;
    }
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        image_ = QImage();
        error_ = "Not enough memory for the image";
        return false;
    }
    image_ = std::move(rgb);
    return true;
}

void Image::Clear() {
    image_ = QImage();
    error_.clear();
}

bool Image::ReadScanLine(int y, ColorRef* out) const {
    if (image_.isNull() || y < 0 || y >= image_.height() || out == nullptr) return false;
    const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    const int w = image_.width();
    for (int x = 0; x < w; ++x) out[x] = FromQRgb(row[x]);
    return true;
}

std::vector<ColorRef> Image::ScanLine(int y) const {
    std::vector<ColorRef> line;
    if (image_.isNull() || y < 0 || y >= image_.height()) return line;
    line.resize(static_cast<size_t>(image_.width()));
    ReadScanLine(y, line.data());
    return line;
}

ColorRef Image::Pixel(int x, int y) const {
    if (image_.isNull() || x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return kNoColor;
    return FromQRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Image::SetPixel(int x, int y, ColorRef c) {
    if (image_.isNull() || x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(c);
}

bool Image::Save(const std::string& path, const char* format, int quality) const {
    error_.clear();
    if (image_.isNull()) {
        error_ = "There is no image to save";
        return false;
    }
    QImageWriter writer(PathText(path), format);
    if (quality >= 0) writer.setQuality(std::clamp(quality, 0, 100));
    if (!writer.write(image_)) {
        error_ = "Cannot write the image " + path + ": " + FromQString(writer.errorString());
        return false;
    }
    return true;
}

bool Image::SaveJpeg(const std::string& path, int quality) const { return Save(path, "JPEG", quality < 0 ? 0 : quality); }
bool Image::SaveBmp(const std::string& path) const { return Save(path, "BMP", -1); }
bool Image::SavePng(const std::string& path) const { return Save(path, "PNG", -1); }

}  // namespace platform
