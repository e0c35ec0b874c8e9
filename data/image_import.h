#pragma once
// Pictures into data: "Read image file" turns every pixel of an image file into one record
// ("R", "G", "B" or "H", "S", "V"); the chart digitiser turns a chart picture into "x", "y".
#include <cstdint>
#include <string>
#include <vector>

#include "platform/color.h"

class data;

// The three values of one pixel: mode 0 r, g, b; mode 1 H = 255 * hue (-25.5 for a grey),
// S = spread of the channels about their mean, V = their mean.
void PixelRecord(int mode, int r, int g, int b, double out[3]);

// Appends the records of a picture's rows (row after row, left to right), read by `row`
// (which fills width colours 0x00BBGGRR for row y), to values.
template <class RowReader>
void AppendPixelRecords(int mode, int width, int height, RowReader row, std::vector<double>& values);

// The image import: asks for a file ("Open image file") and adds its pixels as a series of
// three parameters, mode 0 RGB, mode 1 HSV. Returns 1 when a series was added.
int ReadImageFile(data& page, int mode);
// The same for a file already chosen (the file dialog's part left out).
int ReadImageFromPath(data& page, int mode, const std::string& path);

// Whether the store can take a picture's values beside storedValues: the store counts its
// values in 32 bits, and the values may take at most half of the machine's memory
// (physicalMemory bytes; 0 when unknown, which leaves only the count limit).
bool ImageValuesFit(long long storedValues, long long pixels, long long physicalMemory);

// The largest side of a picture the imports accept.
inline constexpr int kMaxImageSide = 10000;

template <class RowReader>
void AppendPixelRecords(int mode, int width, int height, RowReader row, std::vector<double>& values) {
    std::vector<platform::ColorRef> line(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        row(y, line.data());
        for (int x = 0; x < width; ++x) {
            const platform::ColorRef c = line[static_cast<std::size_t>(x)];
            double v[3];
            PixelRecord(mode, static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                        static_cast<int>((c >> 16) & 0xFF), v);
            values.push_back(v[0]);
            values.push_back(v[1]);
            values.push_back(v[2]);
        }
    }
}
