// Screen and result-text export on the running main window: the chart repainted at the result
// page's image size (raised to 50 and capped), the saved .bmp decoded by ImageMagick and
// compared with the painted picture, the record beside it, the refusals of a failed save, and
// the result text and coefficients through the real clipboard.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QImage>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/resource_ids.h"
#include "charts/result_document.h"
#include "documents/screen_record.h"
#include "main_window_support.h"
#include "platform/clipboard.h"

namespace {

using mainwin_test::WithMainWindow;
namespace fs = std::filesystem;

class ScreenExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        mainwin_test::ResetChoices();
        mainwin_test::LoadShape(1, 1, 0, 12);
        theResult.actualScreenSize = 0;
        folder = fs::temp_directory_path() / ("screen_export_" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        theResult.actualScreenSize = 1;
        theData.OnDeleteAll();
        fs::remove_all(folder);
    }
    void SetImageSize(CTabulonDlg& dlg, int w, int h) {
        theResult.imageWidth = w;
        theResult.imageHeight = h;
        theResult.UpdateData(false);
        (void)dlg;
    }
    std::string Edit(int id) { return theResult.Control(id).Text(); }
    platform::ScriptedDialogs dialogs;
    fs::path folder;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture as Debian's ImageMagick decodes it (written out as PPM, which holds no choices).
QImage DecodeWithImageMagick(const fs::path& bmp) {
    const fs::path ppm = bmp.string() + ".ppm";
    const std::string cmd = "/usr/bin/convert '" + bmp.string() + "' -depth 8 'ppm:" + ppm.string() + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return QImage();
    QImage decoded(QString::fromStdString(ppm.string()));
    fs::remove(ppm);
    return decoded.convertToFormat(QImage::Format_RGB32);
}

TEST_F(ScreenExportTest, CopyScreenRaisesAndCapsTheImageSize) {
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            // Too small, negative height: painted at 50 x 50, and the page shows 50 and -50.
            SetImageSize(dlg, 10, -10);
            dlg.SendCommand(kCommandCopyScreen);
            QImage copied = platform::ClipboardImage();
            EXPECT_EQ(copied.size(), QSize(50, 50));
            EXPECT_EQ(Edit(result::kImageWidthEdit), "50");
            EXPECT_EQ(Edit(result::kImageHeightEdit), "-50");

            // A side beyond the cap is painted at the cap, never allocated as asked.
            SetImageSize(dlg, 40000, 120);
            dlg.SendCommand(kCommandCopyScreen);
            EXPECT_EQ(platform::ClipboardImage().size(), QSize(result::kMaxImageSide, 120));
            EXPECT_EQ(theResult.imageWidth, result::kMaxImageSide);

            // The result page's "Copy" is the same command.
            SetImageSize(dlg, 200, 150);
            theResult.Control(result::kCopyScreenCommand).Click();
            EXPECT_EQ(platform::ClipboardImage().size(), QSize(200, 150));
        },
        &dialogs);
}

TEST_F(ScreenExportTest, SavedPictureDecodesToThePaintedChartAndGetsItsRecord) {
    const fs::path picture = folder / "chart.bmp";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            SetImageSize(dlg, 240, 180);
            theData.documentFolder = "/elsewhere";
            dialogs.fileAnswers.push_back(picture.string());
            dlg.SendCommand(kCommandSaveScreenInFile);
            ASSERT_TRUE(fs::exists(picture));
            EXPECT_EQ(dialogs.shown.back().text, "Open file to save picture");
            EXPECT_EQ(theData.documentFolder + "/" + fs::path(documentPath).filename().string(), documentPath);

            platform::Bitmap painted;
            ASSERT_TRUE(dlg.PaintChartAtImageSize(painted));
            const QImage expected = painted.Image().convertToFormat(QImage::Format_RGB32);
            const QImage decoded = DecodeWithImageMagick(picture);
            ASSERT_EQ(decoded.size(), QSize(240, 180));
            int differing = 0;
            for (int y = 0; y < 180; ++y)
                for (int x = 0; x < 240; ++x) differing += (decoded.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF);
            EXPECT_EQ(differing, 0);
            // The chart holds more than its white background.
            int coloured = 0;
            for (int y = 0; y < 180; ++y)
                for (int x = 0; x < 240; ++x) coloured += (expected.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            EXPECT_GT(coloured, 500);

            // Saving again under the name asks first; "Yes" overwrites and appends a second block.
            dialogs.fileAnswers.push_back(picture.string());
            dialogs.messageAnswers.push_back(platform::kYes);
            dlg.SendCommand(kCommandSaveScreenInFile);
            const std::string record = ReadFile(folder / "chart.txt");
            const std::string block = std::string(109, '_') + "\n" + std::string(109, '_') + "\nTime of record: ";
            EXPECT_EQ(record.find(block), 0u);
            EXPECT_NE(record.find(block, 1), std::string::npos);

            // "No" leaves picture and record as they were.
            const auto before = fs::last_write_time(picture);
            dialogs.fileAnswers.push_back(picture.string());
            dialogs.messageAnswers.push_back(platform::kNo);
            dlg.SendCommand(kCommandSaveScreenInFile);
            EXPECT_EQ(ReadFile(folder / "chart.txt"), record);
            EXPECT_EQ(fs::last_write_time(picture), before);
            EXPECT_EQ(dialogs.Messages().size(), 2u);
        },
        &dialogs);
}

TEST_F(ScreenExportTest, PictureThatCannotBeWrittenGetsAMessageAndNoRecord) {
    const fs::path picture = folder / "missing" / "chart.bmp";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            SetImageSize(dlg, 80, 60);
            dialogs.fileAnswers.push_back(picture.string());
            dlg.SendCommand(kCommandSaveScreenInFile);
            ASSERT_EQ(dialogs.Messages().size(), 1u);
            EXPECT_NE(dialogs.Messages()[0].find("Can not write the picture file"), std::string::npos);
            EXPECT_FALSE(fs::exists(folder / "missing" / "chart.txt"));
            // Cancel ends the command without a word.
            dialogs.fileAnswers.push_back(std::nullopt);
            dlg.SendCommand(kCommandSaveScreenInFile);
            EXPECT_EQ(dialogs.Messages().size(), 1u);
        },
        &dialogs);
}

TEST_F(ScreenExportTest, TextCopiesLoseTrailingLineFeedsAndEmptyTextLeavesTheClipboard) {
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            theResultDocument.Clear();
            theResultDocument.AddText("Function of one argument.", 0, 140);
            theResultDocument.NewLine();
            theResultDocument.NewLine();
            dlg.SendCommand(kCommandCopyContentOfResultControl);
            EXPECT_EQ(platform::ClipboardText(), "Function of one argument.\t");

            coefficientsText = "1.5\t-2\t0.9987   \n0.5\t0.9   \n\n";
            theResult.Control(result::kCopyCoefficientsCommand).Click();
            EXPECT_EQ(platform::ClipboardText(), "1.5\t-2\t0.9987   \n0.5\t0.9   ");

            coefficientsText = "\n\n";
            dlg.SendCommand(kCommandCopyCoefficients);
            EXPECT_EQ(platform::ClipboardText(), "1.5\t-2\t0.9987   \n0.5\t0.9   ");
        },
        &dialogs);
}

TEST(PictureRecordTest, RecordPathReplacesOnlyTheNamesExtension) {
    const struct {
        const char* picture;
        const char* record;
    } cases[] = {
        {"/tmp/a/pic.bmp", "/tmp/a/pic.txt"},
        {"/tmp/x.bmp.d/pic.bmp", "/tmp/x.bmp.d/pic.txt"},
        {"/tmp/a/PIC.BMP", "/tmp/a/PIC.txt"},
        {"/tmp/a/pic", "/tmp/a/pic.txt"},
        {"/tmp/a.b/pic", "/tmp/a.b/pic.txt"},
        {"/tmp/a/.hidden", "/tmp/a/.hidden.txt"},
        {"pic.bmp.bmp", "pic.bmp.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureRecordPath(c.picture), c.record) << c.picture;
}

TEST(PictureRecordTest, TimeLinePrintsZeroAsBlanks) {
    platform::LocalTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 17;
    t.hour = 9;
    t.minute = 0;
    const std::string block = PictureRecordBlock(t);
    EXPECT_EQ(block, std::string(109, '_') + "\n" + std::string(109, '_') + "\nTime of record:  3:/17/2026  9:  \n" +
                         std::string(110, '_') + "\n");
}

}  // namespace
