#include "platform/image.h"

#include <algorithm>
#include <cstdint>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include "platform/qt_text.h"

namespace platform {

namespace {

QString PathText(const std::string& path) { return PathToQString(path); }

// Collects the first warning Qt's decoders give while the object lives.
class ReaderWarnings {
public:
    explicit ReaderWarnings(std::string& first) {
        target_ = &first;
        previous_ = qInstallMessageHandler(&ReaderWarnings::Handle);
    }
    ~ReaderWarnings() {
        qInstallMessageHandler(previous_);
        target_ = nullptr;
    }
    ReaderWarnings(const ReaderWarnings&) = delete;
    ReaderWarnings& operator=(const ReaderWarnings&) = delete;

private:
    static void Handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (target_ != nullptr && target_->empty() && (type == QtWarningMsg || type == QtCriticalMsg))
            *target_ = message.trimmed().toStdString();
    }
    static inline std::string* target_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// A picture file cut short that its decoder reads without a word: an uncompressed BMP
// whose pixel rows run past the end of the file (the missing rows keep whatever memory
// held), a GIF without its end mark (the missing pixels are filled in). Why it is
// refused, or "".
std::string ShortPictureData(const std::string& path) {
    QFile file(PathText(path));
    if (!file.open(QIODevice::ReadOnly)) return "";
    const QByteArray head = file.read(34);
    const long long size = file.size();
    if (head.startsWith("GIF8")) {
        file.seek(size - 1);
        return file.read(1) == ";" ? "" : "the file is cut short (it has no end mark)";
    }
    if (head.size() < 34 || head[0] != 'B' || head[1] != 'M') return "";
    const auto* p = reinterpret_cast<const unsigned char*>(head.constData());
    const std::uint32_t dataOffset = Le(p + 10, 4);
    const std::uint32_t headerSize = Le(p + 14, 4);
    if (headerSize < 40) return "";  // the old OS/2 header: left to the decoder
    const long long width = static_cast<std::int32_t>(Le(p + 18, 4));
    const long long height = static_cast<std::int32_t>(Le(p + 22, 4));
    const std::uint32_t bits = Le(p + 28, 2);
    const std::uint32_t compression = Le(p + 30, 4);
    if (compression != 0 && compression != 3) return "";  // run-length data has no fixed size
    if (width <= 0 || bits == 0 || bits > 32) return "";
    const long long stride = (width * bits + 31) / 32 * 4;
    const long long need = static_cast<long long>(dataOffset) + stride * (height < 0 ? -height : height);
    if (size >= need) return "";
    return "the file is cut short (" + std::to_string(size) + " of " + std::to_string(need) + " bytes)";
}

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
    const std::string cut = ShortPictureData(path);
    if (!cut.empty()) {
        error_ = "Cannot read the image " + path + ": " + cut;
        return false;
    }
    QImage img;
    std::string warning;
    bool read;
    {
        // Decoders report damaged data (a JPEG cut short, say) only as warnings and fill in
        // the missing pixels: such a picture is refused.
        const ReaderWarnings warnings(warning);
        read = reader.read(&img);
    }
    if (!read) {
        error_ = "Cannot read the image " + path + ": " + FromQString(reader.errorString());
        return false;
    }
    if (!warning.empty()) {
        error_ = "Cannot read the image " + path + ": " + warning;
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

bool Image::Save(const std::string& path, const char* format, int quality) const {
    error_.clear();
    if (image_.isNull()) {
        error_ = "There is no image to save";
        return false;
    }
    QImageWriter writer(PathText(path), format);
    writer.setQuality(std::clamp(quality, 0, 100));
    if (!writer.write(image_)) {
        error_ = "Cannot write the image " + path + ": " + FromQString(writer.errorString());
        return false;
    }
    return true;
}

bool Image::SaveJpeg(const std::string& path, int quality) const { return Save(path, "JPEG", quality < 0 ? 0 : quality); }

}  // namespace platform
