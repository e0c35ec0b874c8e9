// Image files: written pixels come back, failures are reported, not crashed on.
#include <gtest/gtest.h>

#include "platform/image.h"
#include "tests/documents/doc_test_support.h"

using namespace platform;

namespace {

// A white picture of w x h pixels.
Image White(int w, int h) {
    QImage q(w, h, QImage::Format_RGB32);
    q.fill(Qt::white);
    Image img;
    EXPECT_TRUE(img.Assign(q));
    return img;
}

}  // namespace

TEST(Image, JpegRoundTrip) {
    doc_test::TempFolder dir;
    Image img = White(5, 3);
    ASSERT_TRUE(img.SaveJpeg(dir / "a.jpg", 90)) << img.Error();
    Image back;
    ASSERT_TRUE(back.Load(dir / "a.jpg")) << back.Error();
    EXPECT_EQ(std::pair(back.Width(), back.Height()), std::pair(5, 3));
}

TEST(Image, ReadsGif) {
    // 3 x 2 pixels, white with red at (0, 0) and blue at (2, 1).
    const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x03, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
        0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00,
        0x02, 0x00, 0x00, 0x08, 0x08, 0x00, 0x03, 0x00, 0x18, 0x08, 0x40, 0x40, 0x40, 0x00, 0x3B};
    doc_test::TempFolder dir;
    doc_test::WriteAll(dir / "p.gif", std::string(reinterpret_cast<const char*>(gif), sizeof gif));
    Image img;
    ASSERT_TRUE(img.Load(dir / "p.gif")) << img.Error();
    EXPECT_EQ(std::pair(img.Width(), img.Height()), std::pair(3, 2));
    std::vector<ColorRef> rows(6);
    ASSERT_TRUE(img.ReadScanLine(0, rows.data()) && img.ReadScanLine(1, rows.data() + 3));
    EXPECT_EQ(rows, (std::vector<ColorRef>{Rgb(255, 0, 0), kWhite, kWhite, kWhite, kWhite, Rgb(0, 0, 255)}));
    EXPECT_FALSE(img.ReadScanLine(2, rows.data()));
}

TEST(Image, FailuresComeBackAsErrors) {
    doc_test::TempFolder dir;
    Image img;
    doc_test::WriteAll(dir / "junk.png", "not a picture at all");
    for (const char* name : {"missing.png", "junk.png"}) {
        EXPECT_FALSE(img.Load(dir / name));
        EXPECT_FALSE(img.Error().empty()) << name;
    }

    // A BMP header announcing 16000 x 16000 pixels is refused before any pixel is read.
    std::string bmp(54, '\0');
    auto put32 = [&](int at, unsigned v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    for (auto [at, v] : {std::pair{2, 54}, {10, 54}, {14, 40}, {18, 16000}, {22, 16000}}) put32(at, v);
    bmp[26] = 1;
    bmp[28] = 24;
    doc_test::WriteAll(dir / "big.bmp", bmp);
    EXPECT_FALSE(img.Load(dir / "big.bmp"));
    EXPECT_NE(img.Error().find("too large"), std::string::npos) << img.Error();

    EXPECT_FALSE(Image().SaveJpeg(dir / "x.jpg", 80));
    Image one = White(2, 2);
    EXPECT_FALSE(one.SaveJpeg("/nonexistent-dir/x.jpg", 80));
    EXPECT_FALSE(one.Error().empty());
}
