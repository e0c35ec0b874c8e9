#include "data/bmp_file.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include <QList>

namespace {

bool SupportedBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

int NormalisedBits(int depth) {
    if (depth <= 1) return 1;
    if (depth <= 4) return 4;
    if (depth <= 8) return 8;
    if (depth <= 16) return 16;
    if (depth <= 24) return 24;
    return 32;
}

void Put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The sixteen colours of the classic 4-bit palette.
QList<QRgb> SixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// The picture as palette indices for the given bits (1, 4 or 8).
QImage IndexedImage(const QImage& image, int bits) {
    const Qt::ImageConversionFlags exact = Qt::AvoidDither | Qt::ThresholdDither;
    if (bits == 1) return image.format() == QImage::Format_Mono ? image : image.convertToFormat(QImage::Format_Mono, exact);
    if (bits == 4) return image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8, SixteenColours(), exact);
    return image.format() == QImage::Format_Indexed8 ? image : image.convertToFormat(QImage::Format_Indexed8, exact);
}

// Fills one stored row (stride bytes, padding zero) from picture row y.
void PackRow(const QImage& src, int y, int bits, std::vector<unsigned char>& row) {
    std::fill(row.begin(), row.end(), 0);
    const int w = src.width();
    if (bits >= 16) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        unsigned char* out = row.data();
        for (int x = 0; x < w; ++x) {
            const int r = qRed(in[x]), g = qGreen(in[x]), b = qBlue(in[x]);
            if (bits == 16) {
                const unsigned v = static_cast<unsigned>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
                *out++ = static_cast<unsigned char>(v & 0xFF);
                *out++ = static_cast<unsigned char>(v >> 8);
                continue;
            }
            *out++ = static_cast<unsigned char>(b);
            *out++ = static_cast<unsigned char>(g);
            *out++ = static_cast<unsigned char>(r);
            if (bits == 32) *out++ = 0;
        }
        return;
    }
    for (int x = 0; x < w; ++x) {
        const unsigned index = bits == 8 || bits == 4 ? src.constScanLine(y)[x] : static_cast<unsigned>(src.pixelIndex(x, y));
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);  // leftmost pixel in the high bits
        row[static_cast<std::size_t>(x / perByte)] |= static_cast<unsigned char>((index & ((1u << bits) - 1)) << shift);
    }
}

}  // namespace

std::int64_t BmpRowStride(std::int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

BitmapInfo MakeBitmapInfoHeader(const QImage& image) {
    BitmapInfo info;
    BitmapInfoHeader& h = info.header;
    h.width = image.width();
    h.height = image.height();
    h.planes = 1;
    h.bitCount = static_cast<std::uint16_t>(NormalisedBits(image.depth()));
    h.compression = 0;
    const std::int64_t bytes = BmpRowStride(h.width, h.bitCount) * h.height;
    h.sizeImage = bytes > std::numeric_limits<std::uint32_t>::max() ? std::numeric_limits<std::uint32_t>::max()
                                                                     : static_cast<std::uint32_t>(bytes);
    h.clrUsed = h.bitCount <= 8 ? (1u << h.bitCount) : 0u;
    h.clrImportant = 0;
    info.colorTable.assign(h.clrUsed, 0u);
    return info;
}

BitmapInfo MakeBitmapInfoHeader(const platform::Bitmap& bitmap) { return MakeBitmapInfoHeader(bitmap.Image()); }

int WriteBmpFile(const std::string& path, const BitmapInfo& info, const QImage& image) {
    const BitmapInfoHeader& in = info.header;
    const int bits = in.bitCount;
    if (in.size != 40 || in.planes != 1 || in.compression != 0 || !SupportedBits(bits)) return 0;
    if (image.isNull() || in.width <= 0 || in.height <= 0 || in.width != image.width() || in.height != image.height())
        return 0;

    // The sizes follow from the picture, whatever the caller's header says about them.
    const std::int64_t stride = BmpRowStride(in.width, bits);
    const std::int64_t imageBytes = stride * in.height;
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0u;
    const std::int64_t offset = 14 + 40 + static_cast<std::int64_t>(colours) * 4;
    if (offset + imageBytes > std::numeric_limits<std::uint32_t>::max()) return 0;

    QImage source;
    std::vector<std::uint32_t> table(colours, 0u);
    if (bits <= 8) {
        source = IndexedImage(image, bits);
        const QList<QRgb> ct = source.colorTable();
        for (qsizetype i = 0; i < ct.size() && i < static_cast<qsizetype>(colours); ++i)
            table[static_cast<std::size_t>(i)] = ct[i] & 0x00FFFFFFu;
    } else {
        const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
        source = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    }
    if (source.isNull()) return 0;

    std::vector<unsigned char> head;
    head.reserve(static_cast<std::size_t>(offset));
    head.push_back(0x42);
    head.push_back(0x4D);
    Put32(head, static_cast<std::uint32_t>(offset + imageBytes));
    Put16(head, 0);
    Put16(head, 0);
    Put32(head, static_cast<std::uint32_t>(offset));
    Put32(head, 40);
    Put32(head, static_cast<std::uint32_t>(in.width));
    Put32(head, static_cast<std::uint32_t>(in.height));
    Put16(head, 1);
    Put16(head, static_cast<std::uint32_t>(bits));
    Put32(head, 0);
    Put32(head, static_cast<std::uint32_t>(imageBytes));
    Put32(head, static_cast<std::uint32_t>(in.xPelsPerMeter));
    Put32(head, static_cast<std::uint32_t>(in.yPelsPerMeter));
    Put32(head, colours);
    Put32(head, in.clrImportant <= colours ? in.clrImportant : 0u);
    for (std::uint32_t c : table) Put32(head, c);  // blue, green, red, 0

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    bool ok = std::fwrite(head.data(), 1, head.size(), file) == head.size();
    std::vector<unsigned char> row(static_cast<std::size_t>(stride));
    for (int y = in.height - 1; ok && y >= 0; --y) {
        PackRow(source, y, bits, row);
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    if (std::fclose(file) != 0) ok = false;
    return ok ? 1 : 0;
}

int WriteBmpFile(const std::string& path, const BitmapInfo& info, const platform::Bitmap& bitmap) {
    return WriteBmpFile(path, info, bitmap.Image());
}
