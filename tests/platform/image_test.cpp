// Image files: written pixels come back, failures are reported, not crashed on.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/image.h"

using namespace platform;

TEST(Image, PngAndBmpRoundTrip) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage q(5, 3, QImage::Format_RGB32);
    q.fill(Qt::white);
    Image img;
    ASSERT_TRUE(img.Assign(q));
    img.SetPixel(0, 0, Rgb(255, 0, 0));
    img.SetPixel(4, 2, Rgb(1, 2, 3));
    img.SetPixel(2, 1, Rgb(0, 128, 255));
    for (const char* name : {"a.png", "a.bmp"}) {
        const std::string path = dir.filePath(name).toStdString();
        ASSERT_TRUE(std::string(name).ends_with("png") ? img.SavePng(path) : img.SaveBmp(path)) << img.Error();
        Image back;
        ASSERT_TRUE(back.Load(path)) << back.Error();
        EXPECT_EQ(back.Width(), 5);
        EXPECT_EQ(back.Height(), 3);
        EXPECT_EQ(back.Pixel(0, 0), Rgb(255, 0, 0)) << name;
        EXPECT_EQ(back.Pixel(2, 1), Rgb(0, 128, 255)) << name;
        const std::vector<ColorRef> row = back.ScanLine(2);
        ASSERT_EQ(row.size(), 5u);
        EXPECT_EQ(row[4], Rgb(1, 2, 3));
        EXPECT_EQ(row[0], kWhite);
        EXPECT_TRUE(back.ScanLine(3).empty());
        EXPECT_EQ(back.Pixel(5, 0), Image::kNoColor);
    }
    const std::string jpg = dir.filePath("a.jpg").toStdString();
    ASSERT_TRUE(img.SaveJpeg(jpg, 90)) << img.Error();
    Image back;
    ASSERT_TRUE(back.Load(jpg));
    EXPECT_EQ(back.Width(), 5);
}

TEST(Image, ReadsGif) {
    // 3 x 2 pixels, white with red at (0, 0) and blue at (2, 1).
    const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x03, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
        0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00,
        0x02, 0x00, 0x00, 0x08, 0x08, 0x00, 0x03, 0x00, 0x18, 0x08, 0x40, 0x40, 0x40, 0x00, 0x3B};
    QTemporaryDir dir;
    const QString path = dir.filePath("p.gif");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(gif), sizeof gif);
    f.close();
    Image img;
    ASSERT_TRUE(img.Load(path.toStdString())) << img.Error();
    EXPECT_EQ(img.Width(), 3);
    EXPECT_EQ(img.Height(), 2);
    EXPECT_EQ(img.Pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(img.Pixel(1, 0), kWhite);
    EXPECT_EQ(img.Pixel(2, 1), Rgb(0, 0, 255));
}

TEST(Image, FailuresComeBackAsErrors) {
    QTemporaryDir dir;
    Image img;
    EXPECT_FALSE(img.Load(dir.filePath("missing.png").toStdString()));
    EXPECT_FALSE(img.Error().empty());
    EXPECT_TRUE(img.IsNull());

    const QString junk = dir.filePath("junk.png");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    EXPECT_FALSE(img.Load(junk.toStdString()));
    EXPECT_FALSE(img.Error().empty());

    // A BMP header announcing 16000 x 16000 pixels is refused before any pixel is read.
    QByteArray bmp(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 16000);
    put32(22, 16000);
    bmp[26] = 1;
    bmp[28] = 24;
    const QString big = dir.filePath("big.bmp");
    QFile g(big);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(bmp);
    g.close();
    EXPECT_FALSE(img.Load(big.toStdString()));
    EXPECT_NE(img.Error().find("too large"), std::string::npos) << img.Error();

    EXPECT_FALSE(Image().SaveBmp(dir.filePath("x.bmp").toStdString()));
    Image one;
    QImage q(2, 2, QImage::Format_RGB32);
    q.fill(Qt::black);
    ASSERT_TRUE(one.Assign(q));
    EXPECT_FALSE(one.SaveJpeg("/nonexistent-dir/x.jpg", 80));
    EXPECT_FALSE(one.Error().empty());
}
