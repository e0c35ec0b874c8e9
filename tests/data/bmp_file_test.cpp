// The .bmp writer: header fields read back byte by byte, and pixels decoded by an
// independent reader (ImageMagick's convert) compared with the picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QImage>
#include <unistd.h>

#include "data/bmp_file.h"
#include "platform/canvas.h"

namespace {

std::vector<unsigned char> ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t U16(const std::vector<unsigned char>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// Decodes the file with ImageMagick into PPM, read back by Qt; a null picture when it cannot.
QImage DecodeWithConvert(const std::filesystem::path& file) {
    const std::string cmd = "convert '" + file.string() + "' -depth 8 ppm:- 2>/dev/null";
    std::FILE* pipe = ::popen(cmd.c_str(), "r");
    if (pipe == nullptr) return {};
    QByteArray out;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, static_cast<qsizetype>(n));
    ::pclose(pipe);
    return QImage::fromData(out, "PPM");
}

// A picture with a distinct colour in every pixel (within the given palette when given).
QImage Pattern(int w, int h, QImage::Format format) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (y * 53) & 0xFF, (x * 7 + 100) & 0xFF));
    return img.convertToFormat(format);
}

class BmpFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("bmp_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

}  // namespace

// Every depth written, its header read back byte by byte and its pixels by ImageMagick;
// odd widths exercise the padding.
TEST_F(BmpFile, IndependentReaderSeesThePicture) {
    struct Case {
        QImage::Format format;
        int width, height, bits;
        std::uint32_t colours, imageSize;
        int tolerance;  // 16 bits keep 5 bits per channel
    } cases[] = {
        {QImage::Format_RGB32, 5, 3, 32, 0, 5 * 4 * 3, 0},
        {QImage::Format_RGB32, 7, 5, 32, 0, 7 * 4 * 5, 0},
        {QImage::Format_RGB32, 1, 1, 32, 0, 4, 0},
        {QImage::Format_RGB888, 5, 3, 24, 0, 16 * 3, 0},  // 15 bytes padded to 16
        {QImage::Format_RGB888, 4, 2, 24, 0, 12 * 2, 0},
        {QImage::Format_RGB888, 7, 5, 24, 0, 24 * 5, 0},
        {QImage::Format_RGB888, 1, 3, 24, 0, 4 * 3, 0},
        {QImage::Format_RGB888, 6, 2, 24, 0, 20 * 2, 0},
        {QImage::Format_RGB888, 3, 2, 24, 0, 12 * 2, 0},  // rows of 9 bytes padded to 12
        {QImage::Format_RGB555, 3, 2, 16, 0, 8 * 2, 8},  // 6 bytes padded to 8
        {QImage::Format_RGB555, 5, 3, 16, 0, 12 * 3, 8},
        {QImage::Format_Indexed8, 5, 2, 8, 256, 8 * 2, 0},
        {QImage::Format_Indexed8, 9, 4, 8, 256, 12 * 4, 0},
        {QImage::Format_Mono, 33, 2, 1, 2, 8 * 2, 0},  // 33 bits take two words
        {QImage::Format_Mono, 11, 3, 1, 2, 4 * 3, 0},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.width << " x " << c.height);
        const QImage img = Pattern(c.width, c.height, c.format);
        const std::filesystem::path file = dir_ / ("p" + std::to_string(n++) + ".bmp");
        const BitmapInfo info = MakeBitmapInfoHeader(img);
        { std::ofstream(file) << std::string(5000, 'x'); }  // an older, longer file is replaced whole
        EXPECT_EQ(info.header.sizeImage, c.imageSize);
        EXPECT_EQ(info.colorTable.size(), c.colours);
        ASSERT_EQ(WriteBmpFile(file.string(), info, img), 1);

        const std::vector<unsigned char> b = ReadAll(file);
        const std::uint32_t offset = 14 + 40 + 4 * c.colours;
        ASSERT_EQ(b.size(), offset + c.imageSize);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
        // File size, reserved, pixel offset; header size, width, height, planes, bits, compression,
        // image size, colours used, colours important.
        const std::vector<std::uint32_t> fields{U32(b, 2),  U32(b, 6),  U32(b, 10), U32(b, 14), U32(b, 18), U32(b, 22),
                                                U16(b, 26), U16(b, 28), U32(b, 30), U32(b, 34), U32(b, 46), U32(b, 50)};
        const std::vector<std::uint32_t> expected{static_cast<std::uint32_t>(b.size()), 0, offset, 40,
                                                  static_cast<std::uint32_t>(c.width), static_cast<std::uint32_t>(c.height),
                                                  1, static_cast<std::uint32_t>(c.bits), 0, c.imageSize, c.colours, 0};
        EXPECT_EQ(fields, expected);

        const QImage d = DecodeWithConvert(file);
        ASSERT_EQ(d.size(), img.size());
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const QRgb want = img.pixel(x, y), got = d.pixel(x, y);
                EXPECT_NEAR(qRed(got), qRed(want), c.tolerance) << x << "," << y;
                EXPECT_NEAR(qGreen(got), qGreen(want), c.tolerance) << x << "," << y;
                EXPECT_NEAR(qBlue(got), qBlue(want), c.tolerance) << x << "," << y;
            }
    }
}

// The screen as the program keeps it: a 32-bit bitmap with drawing on it.
TEST_F(BmpFile, WritesADrawnBitmap) {
    platform::Bitmap bmp(13, 9, platform::Rgb(250, 250, 250));
    {
        platform::Canvas dc(bmp);
        dc.FillRect(platform::Rect{2, 1, 6, 4}, platform::Rgb(200, 10, 20));
        dc.SetPixel(12, 8, platform::Rgb(1, 2, 3));
        dc.SetPixel(0, 0, platform::Rgb(90, 80, 70));
    }
    const std::filesystem::path file = dir_ / "screen.bmp";
    ASSERT_EQ(WriteBmpFile(file.string(), MakeBitmapInfoHeader(bmp), bmp), 1);
    const QImage d = DecodeWithConvert(file);
    ASSERT_EQ(d.size(), QSize(13, 9));
    EXPECT_EQ(d.pixel(3, 2), qRgb(200, 10, 20));
    EXPECT_EQ(d.pixel(12, 8), qRgb(1, 2, 3));
    EXPECT_EQ(d.pixel(0, 0), qRgb(90, 80, 70));
    EXPECT_EQ(d.pixel(7, 7), qRgb(250, 250, 250));
}

TEST_F(BmpFile, ReportsWhatItCannotWrite) {
    const QImage img = Pattern(8, 8, QImage::Format_RGB32);
    const BitmapInfo info = MakeBitmapInfoHeader(img);
    EXPECT_EQ(WriteBmpFile((dir_ / "missing" / "a.bmp").string(), info, img), 0);
    EXPECT_EQ(WriteBmpFile(dir_.string(), info, img), 0);  // a folder
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(WriteBmpFile("/dev/full", info, img), 0);  // disk full
    }

    // A header that does not describe the picture.
    const std::string ok = (dir_ / "b.bmp").string();
    EXPECT_EQ(WriteBmpFile(ok, MakeBitmapInfoHeader(Pattern(9, 8, QImage::Format_RGB32)), img), 0);
    EXPECT_EQ(WriteBmpFile(ok, info, QImage()), 0);
    BitmapInfo odd = info;
    odd.header.bitCount = 12;
    EXPECT_EQ(WriteBmpFile(ok, odd, img), 0);
    odd = info;
    odd.header.compression = 1;
    EXPECT_EQ(WriteBmpFile(ok, odd, img), 0);
    EXPECT_FALSE(std::filesystem::exists(ok));
}
