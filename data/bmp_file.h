#pragma once
// Writing a picture as a .bmp file (uncompressed, bottom-up rows, 40-byte info header).
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "platform/bitmap.h"

// The 40-byte bitmap-info header, field by field.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows are stored bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;  // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression = 0;  // none
    std::uint32_t sizeImage = 0;  // bytes of pixel rows
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;  // colour table entries; 0 from 16 bits on
    std::uint32_t clrImportant = 0;
};

// The header followed by room for its colour table (zero-filled; the writer fills in
// the colours it uses). Entries are 0x00RRGGBB, stored as blue, green, red, 0.
struct BitmapInfo {
    BitmapInfoHeader header;
    std::vector<std::uint32_t> colorTable;
};

// Bytes of one stored pixel row: rows are padded to whole 32-bit words.
std::int64_t BmpRowStride(std::int64_t width, int bitCount);

// A header describing the picture: its size, its bits per pixel brought to 1, 4, 8, 16,
// 24 or 32, no compression, a colour table of 2^bits entries below 16 bits and none
// from 16 bits on, and the image size of the padded rows.
BitmapInfo MakeBitmapInfoHeader(const QImage& image);
BitmapInfo MakeBitmapInfoHeader(const platform::Bitmap& bitmap);

// Writes the picture's pixels in the header's format to path, replacing any old file:
// the 14-byte file header ("BM", file size, pixel offset), the info header with its
// colour table, then the pixel rows from the bottom up. Returns 1 on success and 0 when
// the header does not describe the picture or the file cannot be created or written
// in full (what was written may then be incomplete).
int WriteBmpFile(const std::string& path, const BitmapInfo& info, const QImage& image);
int WriteBmpFile(const std::string& path, const BitmapInfo& info, const platform::Bitmap& bitmap);
