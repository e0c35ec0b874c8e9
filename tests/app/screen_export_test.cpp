// Screen and result-text export on the running main window: the chart repainted at the result
// page's image size (raised to 50 and capped), the saved .bmp decoded by ImageMagick and
// compared with the painted picture, the record beside it, the refusals of a failed save, and
// the result text and coefficients through the real clipboard.

#include <functional>

#include <gtest/gtest.h>

#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "documents/screen_record.h"
#include "main_window_steps.h"
#include "main_window_support.h"
#include "user_path.h"
#include "platform/clipboard.h"

namespace {

namespace fs = std::filesystem;

class ScreenExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        user_path::WriteRecords(text, "x y", 12, [](int i) { return std::to_string(i) + ' ' + std::to_string(i * i % 7); });
    }
    void TearDown() override { theResult.actualScreenSize = 1; }
    // Runs `step` in the main window on the file brought in through the import dialog, the
    // result page's image size as typed.
    void OnImportedData(const std::function<void(CTabulonDlg&)>& step) {
        mainwin_steps::InWindow(
            [&](CTabulonDlg& dlg) {
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
                theResult.actualScreenSize = 0;
                step(dlg);
            },
            &dialogs);
    }
    static void SetImageSize(int w, int h) {
        theResult.imageWidth = w;
        theResult.imageHeight = h;
        theResult.UpdateData(false);
    }
    platform::ScriptedDialogs dialogs;
    mainwin_test::ScratchFolder folder{"screen_export"};
    const std::string text = folder / "xy.txt";
};

// The picture as Debian's ImageMagick decodes it (written out as PPM, which holds no choices).
QImage DecodeWithImageMagick(const std::string& bmp) {
    const std::string ppm = bmp + ".ppm";
    if (std::system(("/usr/bin/convert '" + bmp + "' -depth 8 'ppm:" + ppm + "' 2>/dev/null").c_str()) != 0) {
        return QImage();
    }
    QImage decoded(QString::fromStdString(ppm));
    fs::remove(ppm);
    return decoded.convertToFormat(QImage::Format_RGB32);
}

TEST_F(ScreenExportTest, CopyScreenRaisesAndCapsTheImageSize) {
    OnImportedData([&](CTabulonDlg& dlg) {
        SetImageSize(300, 200);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Copy screen"}));
        const QImage copied = platform::ClipboardImage();
        EXPECT_EQ(copied.size(), QSize(300, 200));
        EXPECT_GT(mainwin_test::CountPixels(copied, [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }), 500);

        // Too small, negative height: painted at 50 x 50, and the page keeps the sign.
        SetImageSize(10, -10);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Copy screen"}));
        EXPECT_EQ(platform::ClipboardImage().size(), QSize(50, 50));
        EXPECT_EQ(theResult.Control(result::kImageHeightEdit).Text(), "-50");

        // A side beyond the cap is painted at the cap, never allocated as asked.
        SetImageSize(40000, 120);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Copy screen"}));
        EXPECT_EQ(platform::ClipboardImage().size(), QSize(result::kMaxImageSide, 120));
    });
}

TEST_F(ScreenExportTest, SavedPictureDecodesToThePaintedChartAndGetsItsRecord) {
    // A new name through the save dialog.
    const std::string picture = folder / "chart.bmp";
    OnImportedData([&](CTabulonDlg& dlg) {
        SetImageSize(240, 180);
        theData.documentFolder = "/elsewhere";
        dialogs.fileAnswers.push_back(picture);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Save screen in file"}));
        EXPECT_EQ(dialogs.shown.back().kind, "save");
        EXPECT_EQ(dialogs.shown.back().text, "Open file to save picture");
        ASSERT_TRUE(fs::exists(picture));
        EXPECT_EQ(theData.documentFolder + "/" + fs::path(documentPath).filename().string(), documentPath);

        platform::Bitmap painted;
        ASSERT_TRUE(dlg.PaintChartAtImageSize(painted));
        const QImage expected = painted.Image().convertToFormat(QImage::Format_RGB32);
        const QImage decoded = DecodeWithImageMagick(picture);
        ASSERT_EQ(decoded.size(), QSize(240, 180));
        EXPECT_TRUE(decoded == expected);
        // The chart holds more than its white background.
        EXPECT_GT(mainwin_test::CountPixels(expected, [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }), 500);

        // Saving again under the name (the save dialog asked) overwrites and appends a second block.
        dialogs.fileAnswers.push_back(picture);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Save screen in file"}));
        const std::string record = mainwin_test::FileText(folder / "chart.txt");
        const std::string block = std::string(109, '_') + "\n" + std::string(109, '_') + "\nTime of record: ";
        EXPECT_EQ(record.find(block), 0u);
        EXPECT_NE(record.find(block, 1), std::string::npos);
        EXPECT_TRUE(dialogs.Messages().empty());

        // A picture that cannot be written: a message and no record.
        dialogs.fileAnswers.push_back(folder / "missing/chart.bmp");
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Save screen in file"}));
        ASSERT_EQ(dialogs.Messages().size(), 1u);
        EXPECT_NE(dialogs.Messages()[0].find("Can not write the picture file"), std::string::npos);
        EXPECT_FALSE(fs::exists(folder / "missing/chart.txt"));
    });
}

TEST_F(ScreenExportTest, TextCopiesLoseTrailingLineFeedsAndEmptyTextLeavesTheClipboard) {
    OnImportedData([&](CTabulonDlg& dlg) {
        // The result text from its heading on, without the line feeds that end it.
        const std::string text = user_path::ResultText(dlg);
        EXPECT_NE(text.find("Function of one argument."), std::string::npos) << text;
        EXPECT_NE(text.back(), '\n');

        ASSERT_TRUE(user_path::ChooseTab(dlg, "Results"));
        coefficientsText = "1.5\t-2\t0.9987   \n0.5\t0.9   \n\n";
        ASSERT_TRUE(user_path::Press(theResult, "Coefficients"));
        EXPECT_EQ(platform::ClipboardText(), "1.5\t-2\t0.9987   \n0.5\t0.9   ");

        coefficientsText = "\n\n";
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Copy coefficients"}));
        EXPECT_EQ(platform::ClipboardText(), "1.5\t-2\t0.9987   \n0.5\t0.9   ");
    });
}

TEST(PictureRecordTest, RecordPathReplacesOnlyTheNamesExtensionAndTheTimeLinePrintsZeroAsBlanks) {
    const struct {
        const char *picture, *record;
    } cases[] = {
        {"/tmp/x.bmp.d/pic.bmp", "/tmp/x.bmp.d/pic.txt"}, {"/tmp/a/PIC.BMP", "/tmp/a/PIC.txt"},
        {"/tmp/a.b/pic", "/tmp/a.b/pic.txt"},             {"/tmp/a/.hidden", "/tmp/a/.hidden.txt"},
        {"pic.bmp.bmp", "pic.bmp.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureRecordPath(c.picture), c.record) << c.picture;
    EXPECT_EQ(PictureRecordBlock({.year = 2026, .month = 3, .day = 17, .hour = 9, .minute = 0}),
              std::string(109, '_') + "\n" + std::string(109, '_') + "\nTime of record:  3:/17/2026  9:  \n" +
                  std::string(110, '_') + "\n");
}

// The Results page's picture size, typed in place of the screen's.
bool SetPictureSize(CTabulonDlg& dlg, const char* width, const char* height) {
    auto edit = [](int id) { return qobject_cast<QLineEdit*>(theResult.Control(id).Widget()); };
    return user_path::ChooseTab(dlg, "Results") && user_path::Tick(theResult, "actual size of screen", false) &&
           user_path::Type(edit(result::kImageWidthEdit), width) &&
           user_path::Type(edit(result::kImageHeightEdit), height) && user_path::Press(theResult, "Ok");
}

}  // namespace

// The box of the pixels of `image` that are `wanted`.
QRect Box(const QImage& image, const std::function<bool(QRgb)>& wanted) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!wanted(image.pixel(x, y))) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A three-dimensional view is painted into the picture's own size: the scene (without the
// frame and captions around the plot) fills the picture as the chart fills the window.
TEST(ScreenExport3D, SceneFillsTheCopiedPicture) {
    mainwin_test::ScratchFolder folder("screen_export_3d");
    const std::string file = folder / "plane.txt";
    user_path::WriteRecords(file, "x1 x2 y", 21, [](int r) {
        const double a = r % 7, b = (r * 3) % 5;
        return std::to_string(a) + ' ' + std::to_string(b) + ' ' + std::to_string(1 + 2 * a - b + 0.1 * (r % 3));
    });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_EQ(dlg.view3D, 1);
            ASSERT_TRUE(SetPictureSize(dlg, "1000", "800"));
            const double zoom = theD3view.theScene3d.zoom, halfWidth = theD3view.theScene3d.halfWidth;
            for (const char* button : {"Copy", "Copy"}) {  // twice: the window's chart between them
                SCOPED_TRACE(button);
                ASSERT_TRUE(user_path::Press(theResult, button));
                const QImage picture = platform::ClipboardImage();
                ASSERT_EQ(picture.size(), QSize(1000, 800));
                // The plot is the picture's white area; the scene is what is drawn in it below the
                // line of the fitted formula.
                const QRect white = Box(picture, [](QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; });
                const QRect plot = white.adjusted(4, 40, -4, -4);
                const QRect ink = Box(picture.copy(plot), [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; });
                ASSERT_FALSE(ink.isNull());
                EXPECT_GT(ink.width(), plot.width() / 2) << "scene " << ink.width() << " wide in a plot " << plot.width();
                EXPECT_GT(ink.height(), plot.height() / 2) << "scene " << ink.height() << " high in a plot " << plot.height();
                // Centred, give or take a tenth of the plot.
                EXPECT_NEAR(ink.center().x(), plot.width() / 2, plot.width() / 10);
                EXPECT_NEAR(ink.center().y(), plot.height() / 2, plot.height() / 10);
                // The window's camera is the one it had.
                EXPECT_EQ(theD3view.theScene3d.zoom, zoom);
                EXPECT_EQ(theD3view.theScene3d.halfWidth, halfWidth);
            }
        },
        &dialogs);
}

// The sample of stack losses as a three-dimensional view (air flow and water temperature the
// arguments, the loss the value, acid concentration set aside on the Data page), exported at
// 1000 x 800 from a window whose chart is a wide strip: every export shows the scene as large
// against the picture's smaller half size as the window shows it against its own (the scene's
// width does, as the farthest box corner's distance from the centre does: both grow with the
// zoom), and leaves the window's camera and View page as they were.
TEST(ScreenExport3D, SampleSceneKeepsItsShareOfThePicture) {
    mainwin_test::ScratchFolder folder("screen_export_3d_sample");
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            const std::string sample = std::string(TABULON_SOURCE_DIR) + "/examples/stackloss.txt";
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, sample));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            // Rows: the series, AIRFLOW, WATERTEMP, ACIDCONC.
            ASSERT_TRUE(user_path::ClickSeriesTable(3, data::kColumnInactive));
            ASSERT_EQ(dlg.dataArguments, 2);
            ASSERT_EQ(dlg.view3D, 1);
            ASSERT_TRUE(SetPictureSize(dlg, "1000", "800"));

            // The scene: what is drawn in the plot below the line of the fitted formula.
            auto scene = [](const QImage& image, const QRect& plot) {
                return Box(image.copy(plot.adjusted(4, 40, -4, -4)), [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; });
            };
            // Its width over the smaller half size of the plot (the window's may cut its height).
            auto share = [](const QRect& ink, const QRect& plot) {
                return ink.width() / (std::min(plot.width(), plot.height()) * 0.5);
            };
            const QRect windowPlot(QPoint(plotLeft, plotTop), QPoint(plotRight - 1, plotBottom - 1));
            ASSERT_GT(windowPlot.width(), 2 * windowPlot.height());  // a strip
            const double windowShare = share(scene(dlg.virtualScreenBitmap.Image(), windowPlot), windowPlot);
            const scene3d camera = theD3view.theScene3d;
            const d3view_settings fields = theD3view.settings;
            const std::string zoomShown = theD3view.Control(d3view::kZoomEdit).Text();

            const std::string bmp = folder / "scene.bmp", html = folder / "report.html";
            const struct {
                const char* name;
                std::function<QImage()> exportPicture;
            } exports[] = {
                {"Copy",
                 [&] {
                     EXPECT_TRUE(user_path::Press(theResult, "Copy"));
                     return platform::ClipboardImage();
                 }},
                {"Save screen in file",
                 [&] {
                     dialogs.fileAnswers.push_back(bmp);
                     EXPECT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Save screen in file"}));
                     return QImage(QString::fromStdString(bmp));
                 }},
                {"Report as HTML file",  // its figure goes to the clipboard too, before the JPEG blurs it
                 [&] {
                     dialogs.fileAnswers.push_back(html);
                     EXPECT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as HTML file"}));
                     return platform::ClipboardImage();
                 }},
            };
            for (const auto& e : exports) {
                SCOPED_TRACE(e.name);
                const QImage picture = e.exportPicture().convertToFormat(QImage::Format_RGB32);
                ASSERT_EQ(picture.size(), QSize(1000, 800));
                const QRect plot = Box(picture, [](QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; });
                const QRect ink = scene(picture, plot);
                EXPECT_GT(ink.width(), picture.width() / 2);
                EXPECT_GT(ink.height(), picture.height() / 2);
                EXPECT_NEAR(share(ink, plot) / windowShare, 1.0, 0.05) << "window " << windowShare;

                const scene3d& now = theD3view.theScene3d;
                EXPECT_EQ(now.zoom, camera.zoom);
                EXPECT_EQ(now.halfWidth, camera.halfWidth);
                EXPECT_EQ(now.halfHeight, camera.halfHeight);
                EXPECT_EQ(now.azimuth, camera.azimuth);
                EXPECT_EQ(now.elevation, camera.elevation);
                EXPECT_TRUE(theD3view.settings == fields);
                EXPECT_EQ(theD3view.Control(d3view::kZoomEdit).Text(), zoomShown);
            }
        },
        &dialogs);
}
