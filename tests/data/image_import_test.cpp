// "Read image file": pictures drawn here with known pixels, read as RGB (exact) and as HSV
// (against colorsys and the standard deviation, make_hsv_table.py), and the refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <random>

#include "data/image_import.h"
#include "import_test_support.h"

namespace {

using import_test::SeriesNames;
using import_test::SeriesValues;
using import_test::TempFile;

struct HsvRow {
    int r, g, b;
    double h, s, v;
};

std::vector<HsvRow> HsvTable() {
    std::ifstream in(TABULON_SOURCE_DIR "/tests/data/hsv_table.txt");
    std::vector<HsvRow> rows;
    HsvRow row;
    while (in >> row.r >> row.g >> row.b >> row.h >> row.s >> row.v) rows.push_back(row);
    return rows;
}

// A picture file in a fresh folder.
class PictureFile {
public:
    PictureFile(const QImage& image, const char* format) : file_("", std::string("picture.") + format) {
        EXPECT_TRUE(image.save(QString::fromStdString(file_.Path()), format));
    }
    const std::string& Path() const { return file_.Path(); }

private:
    TempFile file_;
};

class ImageImport : public ::testing::Test {
protected:
    platform::ScriptedDialogs dialogs;
    data page;
};

TEST_F(ImageImport, RgbRecordsAreThePixelsRowByRowInEveryLosslessFormat) {
    std::mt19937 random(7);
    QImage image(7, 5, QImage::Format_RGB32);
    std::vector<double> expected;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const int r = random() % 256, g = random() % 256, b = random() % 256;
            image.setPixel(x, y, qRgb(r, g, b));
            expected.insert(expected.end(), {double(r), double(g), double(b)});
        }
    for (const char* format : {"png", "bmp"}) {
        page.OnDeleteAll();
        PictureFile file(image, format);
        ASSERT_EQ(ReadImageFromPath(page, 0, file.Path()), 1) << format;
        ASSERT_EQ(page.series.size(), 1u);
        EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"R", "G", "B"}));
        EXPECT_EQ(SeriesValues(page, 0), expected);
    }
}

TEST_F(ImageImport, HsvRecordsMatchAnIndependentConversion) {
    const std::vector<HsvRow> table = HsvTable();
    ASSERT_EQ(table.size(), 64u);
    QImage image(8, 8, QImage::Format_RGB32);
    for (int i = 0; i < 64; ++i) image.setPixel(i % 8, i / 8, qRgb(table[i].r, table[i].g, table[i].b));
    PictureFile file(image, "png");
    ASSERT_EQ(ReadImageFromPath(page, 1, file.Path()), 1);
    EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"H", "S", "V"}));
    const std::vector<double> v = SeriesValues(page, 0);
    ASSERT_EQ(v.size(), 192u);
    for (std::size_t i = 0; i < 64; ++i) {
        // The hue's thirds are 0.3333 and 0.666666, the mean's third 0.333333; red and greys are exact.
        const double hueTolerance = table[i].h <= 0 ? 1e-9 : 0.01;
        EXPECT_NEAR(v[3 * i], table[i].h, hueTolerance) << table[i].r << " " << table[i].g << " " << table[i].b;
        EXPECT_NEAR(v[3 * i + 1], table[i].s, 1e-3) << i;
        EXPECT_NEAR(v[3 * i + 2], table[i].v, 1e-3) << i;
    }
}

TEST_F(ImageImport, TheFileDialogAndItsCancel) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    PictureFile file(image, "png");
    dialogs.fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(ReadImageFile(page, 0), 0);
    EXPECT_TRUE(page.series.empty());
    dialogs.fileAnswers.push_back(file.Path());
    EXPECT_EQ(ReadImageFile(page, 0), 1);
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
}

TEST_F(ImageImport, RefusalsLeaveTheStoreAsItWas) {
    QImage wide(10001, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    PictureFile tooWide(wide, "png");
    EXPECT_EQ(ReadImageFromPath(page, 0, tooWide.Path()), 0);
    TempFile notAPicture("this is text", "picture.png");
    EXPECT_EQ(ReadImageFromPath(page, 0, notAPicture.Path()), 0);
    EXPECT_EQ(ReadImageFromPath(page, 0, "/nonexistent/picture.png"), 0);
    EXPECT_TRUE(page.series.empty());
    // Each refusal says why.
    const std::vector<std::string> messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "The image is too large to read: 10001 x 1 pixels");
    EXPECT_EQ(messages[1].rfind("Cannot read the image " + notAPicture.Path() + ": ", 0), 0u) << messages[1];
    EXPECT_EQ(messages[2], "File not found: /nonexistent/picture.png");

    page.pendingSeries.nParameters = 2;
    page.allValues = {1, 2};
    ASSERT_EQ(page.AddNewSeries(1, {"x", "y"}), 1);
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    PictureFile file(small, "png");
    EXPECT_EQ(ReadImageFromPath(page, 0, file.Path()), 0);
    ASSERT_EQ(dialogs.Messages().size(), 4u);
    EXPECT_EQ(dialogs.Messages()[3], "Number of parameters in additing series must be equial to existing 2\nPlease try again.");
    EXPECT_EQ(page.allValues, (std::vector<double>{1, 2}));
}

TEST_F(ImageImport, APictureCutShortIsRefusedWithTheReadersWordsInEveryFormat) {
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xFF));
    for (const char* format : {"bmp", "jpg", "png"}) {  // Qt writes no GIF
        SCOPED_TRACE(format);
        PictureFile whole(picture, format);
        std::ifstream in(whole.Path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        // Half the file: once the missing pixels came in as whatever memory held.
        std::ofstream(whole.Path(), std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
        platform::ScriptedDialogs d;
        data fresh;
        EXPECT_EQ(ReadImageFromPath(fresh, 0, whole.Path()), 0);
        EXPECT_TRUE(fresh.allValues.empty());
        ASSERT_EQ(d.Messages().size(), 1u);
        EXPECT_EQ(d.Messages()[0].rfind("Cannot read the image " + whole.Path() + ": ", 0), 0u) << d.Messages()[0];
    }
}

TEST_F(ImageImport, AGifWithoutItsEndIsRefused) {
    // One white pixel; cut before its end mark the decoder once read it without a word.
    const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00"
                          "\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                          35);
    TempFile whole(gif, "picture.gif");
    EXPECT_EQ(ReadImageFromPath(page, 0, whole.Path()), 1);
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{255, 255, 255}));
    TempFile cut(gif.substr(0, gif.size() - 2), "picture.gif");
    EXPECT_EQ(ReadImageFromPath(page, 0, cut.Path()), 0);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Cannot read the image " + cut.Path() +
                                                           ": the file is cut short (it has no end mark)"});
    EXPECT_EQ(page.series.size(), 1u);
}

TEST(ImageValues, WhatTheStoreCanHold) {
    constexpr long long kGiB = 1LL << 30;
    struct Case {
        long long stored, pixels, memory;
        bool fits;
    } cases[] = {
        {0, 10000LL * 10000, 16 * kGiB, true},    // 2.4 GB of values in 16 GB
        {0, 10000LL * 10000, 4 * kGiB, false},    // not in 4 GB
        {0, 10000LL * 10000, 0, true},            // memory unknown: only the count limit
        {0, 715827882, 0, true},                  // 3 * pixels = 2147483646
        {2, 715827882, 0, false},                 // beyond the store's 32-bit count
    };
    for (const Case& c : cases) EXPECT_EQ(ImageValuesFit(c.stored, c.pixels, c.memory), c.fits) << c.pixels << " " << c.memory;
}

}  // namespace
