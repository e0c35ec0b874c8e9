// Controls of several pages walked the user's way: data brought in through the import dialog,
// tabs, buttons and check boxes found by their captions and pressed with real events, and what
// the user then sees or gets read back: files written, pixels shown, fonts kept.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "charts/legend_page.h"
#include "data/data_edit.h"
#include "data/data_edit_view.h"
#include "fitting/parameters_of_multi_search1.h"
#include "formula/calculator.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "main_window_steps.h"
#include "platform/dialog_widgets.h"
#include "platform/font_choice.h"
#include "user_path.h"

namespace {

using user_path::ChooseTab;
using user_path::Press;
using user_path::Type;

QLineEdit* EditOf(platform::Dialog& page, int id) { return qobject_cast<QLineEdit*>(page.Control(id).Widget()); }

// Writes `records` lines of the named columns to a file of the test's own, brings it in through
// the import dialog and runs `walk` in a fresh main window; the pages' choices are put back after.
void Walk(const std::string& names, int records, const std::function<std::string(int)>& row,
          const std::function<void(CTabulonDlg&, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&)>& walk,
          platform::ScriptedDialogs* shared = nullptr) {
    mainwin_test::ScratchFolder folder("page_controls");
    const std::string file = folder / "data.txt";
    user_path::WriteRecords(file, names, records, row);
    // The service made last is the one installed: a test's own is made only without a shared one.
    std::optional<platform::ScriptedDialogs> own;
    if (!shared) own.emplace();
    platform::ScriptedDialogs& dialogs = shared ? *shared : *own;
    bool walked = false;
    const multistat_settings several = theMultistat;
    const xystatistic_settings schemes = theXystatistic;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            walked = true;
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            walk(dlg, dialogs, folder);
        },
        &dialogs);
    EXPECT_TRUE(walked) << "the main window did not come up";
    theMultistat.multistat_settings::operator=(several);
    theXystatistic.xystatistic_settings::operator=(schemes);
    theCalculator.settings = calculator_settings{};
    theCalculator.changed = 1;
    theParametersOfMultiSearch1.settings = parameters_of_multi_search1_settings{};
    mainwin_test::ResetChoices();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(PageControls, CalculatorDoWritesTheResultsFileAtOnce) {
    // y = 0.01 (x - 1800)^2 + 3 over 1800 .. 2000: the fitted polynomial gives it back.
    const auto model = [](double x) { return 0.01 * (x - 1800) * (x - 1800) + 3; };
    Walk("x y", 41, [&](int r) { return std::to_string(1800 + 5 * r) + " " + std::to_string(model(1800 + 5 * r)); },
         [&](CTabulonDlg& dlg, platform::ScriptedDialogs& dialogs, const mainwin_test::ScratchFolder& folder) {
             ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Polynom fitting"));
             const std::string arguments = folder / "arguments.txt", results = folder / "results.txt";
             user_path::WriteRecords(arguments, "1800", 3, [](int r) { return r == 1 ? "abc" : r == 0 ? "1900" : "2000"; });
             ASSERT_TRUE(ChooseTab(dlg, "Calculator"));
             ASSERT_TRUE(Type(EditOf(theCalculator, calculator::kFromFileEdit), arguments));
             ASSERT_TRUE(Type(EditOf(theCalculator, calculator::kToFileEdit), results));
             const auto doWithOk = [&] {
                 bool read = false;
                 dialogs.modalSteps.push_back([&read](platform::Dialog& d) { read = Press(d, "OK"); });
                 ASSERT_TRUE(Press(dlg.TopWidget(), "Do"));
                 ASSERT_TRUE(read);
             };
             doWithOk();
             // Written by the time "Do" is done: one line per row that holds a number.
             const std::vector<std::string> lines = Lines(mainwin_test::FileText(folder.path / "results.txt"));
             ASSERT_EQ(lines.size(), 3u) << mainwin_test::FileText(folder.path / "results.txt");
             const double xs[] = {1800, 1900, 2000};
             for (std::size_t i = 0; i < lines.size(); ++i) {
                 std::istringstream line(lines[i]);
                 double x = 0, y = 0;
                 line >> x >> y;
                 EXPECT_EQ(x, xs[i]) << lines[i];
                 EXPECT_NEAR(y, model(x), 1e-3 * model(x)) << lines[i];
             }
             EXPECT_TRUE(dialogs.Messages().empty());

             // A results file that cannot be written says so.
             ASSERT_TRUE(Type(EditOf(theCalculator, calculator::kToFileEdit), folder / "no folder/results.txt"));
             doWithOk();
             EXPECT_EQ(mainwin_steps::LastShown(dialogs), "Problems to open file to save calculated data");

             // A FIFO as the argument file would block for good: it is refused before any dialog.
             const std::string fifo = folder / "arguments.fifo";
             ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
             ASSERT_TRUE(Type(EditOf(theCalculator, calculator::kFromFileEdit), fifo));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Do"));
             EXPECT_EQ(mainwin_steps::LastShown(dialogs), "Problems to open file");
         });
}

TEST(PageControls, SearchLogBrowseTakesANewFileName) {
    Walk("x1 x2 y", 40,
         [](int r) {
             const double a = r % 7 + 0.5, b = (r * 3) % 11 * 0.3 + 0.2;
             return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(1 + 2 * a + 3 * b * b);
         },
         [](CTabulonDlg& dlg, platform::ScriptedDialogs& dialogs, const mainwin_test::ScratchFolder& folder) {
             const std::string log = folder / "new_log.csv";
             ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
             ASSERT_TRUE(Press(dlg, "Best polynome"));
             dialogs.fileAnswers.push_back(log);
             dialogs.modalSteps.push_back([](platform::Dialog& d) {
                 using P = parametersOfMultiSearch1;
                 Press(d, "Browse");
                 user_path::Tick(d, "Save results of search process in file:", true);
                 Type(EditOf(d, P::kMaxTermsEdit), "2");
                 Type(EditOf(d, P::kVainTriesEdit), "10");
                 Press(d, "OK");
             });
             ASSERT_TRUE(Press(dlg, "Parameters"));
             // A save dialog, which takes a name no file has yet.
             EXPECT_EQ(dialogs.CountOf("open"), 1);  // the import's
             ASSERT_EQ(dialogs.CountOf("save"), 1);
             EXPECT_EQ(theParametersOfMultiSearch1.logFile, log);
             ASSERT_TRUE(Press(dlg, "Start full search"));
             EXPECT_FALSE(mainwin_test::FileText(folder.path / "new_log.csv").empty());
         });
}

// Pixels of a group box's caption as the box paints itself, and how many of them the page shows.
struct CaptionPixels {
    int ink = 0;
    int shown = 0;
};

TEST(PageControls, FullAnalysisOptionsShowEveryGroupCaption) {
    const char* const captions[] = {"General:", "One variable:", "Two variables:", "Three or more variables:",
                                    "Variable as function of one argument:", "Variable as function of two arguments:",
                                    "Multirariate analysis:", "Schemes:"};
    platform::ScriptedDialogs dialogs;
    Walk("a b c d", 12, [](int r) { return std::to_string(r) + " " + std::to_string(r % 5) + " 1 " + std::to_string(r * r); },
         [&](CTabulonDlg& dlg, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&) {
             std::map<std::string, CaptionPixels> seen;
             dialogs.modalSteps.push_back([&](platform::Dialog& d) {
                 QWidget* client = d.ClientWidget();
                 const QImage page = client->grab().toImage();
                 for (QGroupBox* box : client->findChildren<QGroupBox*>()) {
                     // The caption strip as the box paints itself alone, against what the page shows.
                     const QImage own = box->grab().toImage();
                     const QFontMetrics fm(box->font());
                     const QRect strip(0, 0, std::min(box->width(), fm.horizontalAdvance(box->title()) + 12), fm.height());
                     const QRgb back = own.pixel(box->width() / 2, box->height() / 2);
                     CaptionPixels& p = seen[user_path::Plain(box->title())];
                     for (int y = strip.top(); y <= strip.bottom(); ++y) {
                         for (int x = strip.left(); x <= strip.right(); ++x) {
                             if (own.pixel(x, y) == back) continue;
                             ++p.ink;
                             const QPoint at = box->mapTo(client, QPoint(x, y)) * page.devicePixelRatio();
                             if (page.pixel(at) == own.pixel(x, y)) ++p.shown;
                         }
                     }
                 }
                 d.EndDialog(platform::kCancel);
             });
             ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
             for (const char* caption : captions) {
                 SCOPED_TRACE(caption);
                 const CaptionPixels& p = seen[caption];
                 EXPECT_GT(p.ink, 20);
                 EXPECT_GE(p.shown, p.ink * 9 / 10);
             }
         },
         &dialogs);
}

// The real font dialog, opened on what the page asks for and left with OK as it opened.
class RealFontDialogs : public platform::ScriptedDialogs {
public:
    std::vector<QFont> opened;
    std::optional<platform::FontChoice> ChooseFont(const platform::FontRequest& request) override {
        ScriptedDialogs::ChooseFont(request);
        platform::FontChoiceDialog dialog(request, nullptr);
        dialog.show();
        opened.push_back(dialog.FontDialog()->currentFont());
        for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
            if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) QTest::mouseClick(ok, Qt::LeftButton);
        }
        if (dialog.result() != QDialog::Accepted) return std::nullopt;
        return dialog.Choice();
    }
};

std::string Described(const platform::Font& f) {
    return f.faceName + " height " + std::to_string(f.height) + " weight " + std::to_string(f.weight) +
           (f.italic ? " italic" : "");
}

TEST(PageControls, LegendFontDialogsOpenOnTheFontsAndOkKeepsThem) {
    RealFontDialogs dialogs;
    const platform::Font title = theLegend.titleFont, axes = theLegend.xCaptionFont, formulas = theLegend.formulaFont;
    Walk("x y", 30, [](int r) { return std::to_string(r) + " " + std::to_string(r * r % 17); },
         [&](CTabulonDlg& dlg, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&) {
             ASSERT_TRUE(ChooseTab(dlg, "Statistics"));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Polynom fitting"));
             ASSERT_TRUE(ChooseTab(dlg, "Legend"));
             const QImage before = dlg.virtualScreenBitmap.Image();
             for (int id : {legend::kTitleFontButton, legend::kAxisFontButton, legend::kFormulaFontButton}) {
                 ASSERT_TRUE(user_path::PressPicture(dlg.TopWidget(), id));
             }
             ASSERT_EQ(dialogs.opened.size(), 3u);
             const platform::Font fonts[] = {title, axes, formulas};
             for (int i = 0; i < 3; ++i) {
                 SCOPED_TRACE(i);
                 const QFont& shown = dialogs.opened[static_cast<std::size_t>(i)];
                 const QFont asked = platform::ToQFont(fonts[i]);
                 EXPECT_FALSE(shown.italic());
                 EXPECT_LE(std::abs(shown.weight() - fonts[i].weight), 100) << shown.styleName().toStdString();
                 EXPECT_EQ(shown.family(), QFontInfo(asked).family());
                 EXPECT_EQ(shown.pointSize(), platform::PointSizeTenths(fonts[i]) / 10);
             }
             EXPECT_EQ(theLegend.titleFont, title) << Described(theLegend.titleFont);
             EXPECT_EQ(theLegend.xCaptionFont, axes) << Described(theLegend.xCaptionFont);
             EXPECT_EQ(theLegend.formulaFont, formulas) << Described(theLegend.formulaFont);
             EXPECT_TRUE(dlg.virtualScreenBitmap.Image() == before) << "the chart changed";
         },
         &dialogs);
    theLegend.titleFont = title, theLegend.xCaptionFont = axes, theLegend.formulaFont = formulas;
}

// The real font dialog run modally, as the dialog service runs it: once it is the active modal
// window, `inside` acts in it, then OK ends it.
class ModalFontDialogs : public platform::ScriptedDialogs {
public:
    std::function<void(platform::FontChoiceDialog&, const platform::FontRequest&)> inside;
    std::vector<platform::FontChoice> chosen;
    std::optional<platform::FontChoice> ChooseFont(const platform::FontRequest& request) override {
        ScriptedDialogs::ChooseFont(request);
        platform::FontChoiceDialog dialog(request, nullptr);
        QTimer::singleShot(0, [&] {
            const bool up = mainwin_test::PumpUntil([&] { return QApplication::activeModalWidget() == &dialog; });
            EXPECT_TRUE(up) << "the font dialog did not come up";
            if (up) inside(dialog, request);
            QPushButton* ok = nullptr;
            for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) ok = box->button(QDialogButtonBox::Ok);
            if (ok && ok->isVisible()) QTest::mouseClick(ok, Qt::LeftButton);
            if (dialog.isVisible()) dialog.reject();
        });
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        chosen.push_back(dialog.Choice());
        return chosen.back();
    }
};

// Clicks the largest size the dialog's size list offers and checks the sample shows it whole.
void PickTheLargestSizeAndSeeTheSample(platform::FontChoiceDialog& dialog, const platform::FontRequest& request) {
    QListView* sizes = nullptr;
    for (QListView* list : dialog.findChildren<QListView*>()) {
        bool number = false;
        if (list->model() && list->model()->rowCount() > 0) list->model()->index(0, 0).data().toString().toInt(&number);
        if (number && list->isVisible()) sizes = list;
    }
    ASSERT_NE(sizes, nullptr);
    int last = -1;
    for (int row = 0; row < sizes->model()->rowCount(); ++row)
        if (!sizes->isRowHidden(row)) last = row;
    ASSERT_GE(last, 0);
    const QModelIndex largest = sizes->model()->index(last, 0);
    EXPECT_EQ(largest.data().toString().toInt(), request.maxPointSize);
    sizes->scrollTo(largest);
    platform::PumpWaitingMessages();
    QTest::mouseClick(sizes->viewport(), Qt::LeftButton, Qt::NoModifier, sizes->visualRect(largest).center());
    platform::PumpWaitingMessages();
    EXPECT_EQ(dialog.FontDialog()->currentFont().pointSize(), request.maxPointSize);

    QGroupBox* sample = nullptr;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (user_path::Plain(box->title()) == "Sample") sample = box;
    ASSERT_NE(sample, nullptr);
    QLineEdit* text = sample->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(sample->isVisible() && text->isVisible());
    EXPECT_EQ(text->font().pointSize(), request.maxPointSize);
    EXPECT_GE(text->height(), QFontMetrics(text->font()).height()) << request.maxPointSize << " points";
    EXPECT_TRUE(!text->geometry().isEmpty() && sample->rect().contains(text->geometry()))
        << "the sample box is " << sample->height() << " high";
}

// Every font dialog shows its sample whole at the largest size it offers; OK hands that size back.
TEST(PageControls, FontDialogsShowTheSampleAtTheirLargestSize) {
    ModalFontDialogs dialogs;
    dialogs.inside = PickTheLargestSizeAndSeeTheSample;
    const legend_settings legendBefore = theLegend;
    const platform::Font fonts[] = {theLegend.titleFont, theLegend.xCaptionFont, theLegend.yCaptionFontUp,
                                    theLegend.yCaptionFontDown, theLegend.formulaFont, theResult.font};
    Walk("x y", 30, [](int r) { return std::to_string(r) + " " + std::to_string(r * r % 17); },
         [&](CTabulonDlg& dlg, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&) {
             ASSERT_TRUE(ChooseTab(dlg, "Legend"));
             for (int id : {legend::kTitleFontButton, legend::kAxisFontButton, legend::kFormulaFontButton}) {
                 SCOPED_TRACE(id);
                 ASSERT_TRUE(user_path::PressPicture(dlg.TopWidget(), id));
             }
             ASSERT_TRUE(ChooseTab(dlg, "Results"));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Font"));
             ASSERT_EQ(dialogs.chosen.size(), 4u);
             const int largest[] = {26, 18, 18, 18};
             for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(dialogs.chosen[i].pointSize, largest[i] * 10) << i;
         },
         &dialogs);
    theLegend.legend_settings::operator=(legendBefore);
    theLegend.titleFont = fonts[0], theLegend.xCaptionFont = fonts[1], theLegend.yCaptionFontUp = fonts[2];
    theLegend.yCaptionFontDown = fonts[3], theLegend.formulaFont = fonts[4], theResult.font = fonts[5];
}

TEST(PageControls, MakeAllInactiveLeavesNoDataToView) {
    Walk("x y", 20, [](int r) { return std::to_string(r) + " " + std::to_string(r % 7); },
         [](CTabulonDlg& dlg, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&) {
             ASSERT_TRUE(ChooseTab(dlg, "View"));
             ASSERT_NE(user_path::FindShown<QAbstractButton>(dlg.TopWidget(), "Autozoom", "check box"), nullptr);
             ASSERT_TRUE(ChooseTab(dlg, "Data"));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Make all inactive"));
             ASSERT_TRUE(ChooseTab(dlg, "View"));
             EXPECT_NE(user_path::FindShown<QLabel>(dlg.TopWidget(), "No data to view", "label"), nullptr);
             for (QAbstractButton* b : dlg.TopWidget()->findChildren<QAbstractButton*>())
                 EXPECT_FALSE(b->isVisible() && user_path::Plain(b->text()) == "Autozoom");
         });
}

void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent e(type, key, modifiers);
    QApplication::sendEvent(w, &e);
}

TEST(PageControls, DataSheetKeypadMovesTheCellAndGoToShowsItsCaption) {
    Walk("a b c", 30, [](int r) { return std::to_string(r) + " " + std::to_string(10 + r) + " " + std::to_string(100 + r); },
         [](CTabulonDlg& dlg, platform::ScriptedDialogs&, const mainwin_test::ScratchFolder&) {
             dlg.MoveToDefaultSize();
             ASSERT_TRUE(ChooseTab(dlg, "Data"));
             ASSERT_TRUE(Press(dlg.TopWidget(), "Show data"));
             DataEdit& sheet = theDataEdit;
             ASSERT_TRUE(sheet.IsVisible());

             // The whole caption fits inside the button's 3-pixel edge, measured as the face is
             // painted: in the dialog font on a canvas.
             QAbstractButton* goTo = user_path::FindShown<QAbstractButton>(sheet.TopWidget(), "Go to record:", "button");
             ASSERT_NE(goTo, nullptr);
             platform::Bitmap scratch(1, 1);
             platform::Canvas dc(scratch);
             const QFont dialogFont = platform::DialogFont();
             dc.SelectFont(platform::Font::Make(QFontInfo(dialogFont).family().toStdString(), dialogFont.pixelSize()));
             EXPECT_LE(dc.GetTextExtent("Go to record:").cx + 6, goTo->width());
             EXPECT_LE(goTo->geometry().right(), sheet.Control(DataEdit::kGoToEdit).Widget()->geometry().left());

             // A cell of the middle column, then Ctrl with the keypad's digits (NumLock on).
             const platform::Rect r = sheet.View()->CellRect(3, 2);
             QWidget* viewport = sheet.View()->View()->viewport();
             QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
             platform::PumpWaitingMessages();
             ASSERT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(3, 2));
             QWidget* box = sheet.Control(DataEdit::kCellEdit).Widget();
             const auto key = [&](int qtKey, Qt::KeyboardModifiers extra) {
                 box = QApplication::focusWidget() ? QApplication::focusWidget() : box;
                 SendKey(box, QEvent::KeyPress, qtKey, Qt::ControlModifier | extra);
                 SendKey(box, QEvent::KeyRelease, qtKey, Qt::ControlModifier | extra);
                 platform::PumpWaitingMessages();
                 return std::make_tuple(sheet.currentRow, sheet.currentColumn);
             };
             SendKey(box, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
             EXPECT_EQ(key(Qt::Key_2, Qt::KeypadModifier), std::make_tuple(4, 2));
             EXPECT_EQ(key(Qt::Key_6, Qt::KeypadModifier), std::make_tuple(4, 3));
             EXPECT_EQ(key(Qt::Key_8, Qt::KeypadModifier), std::make_tuple(3, 3));
             EXPECT_EQ(key(Qt::Key_4, Qt::KeypadModifier), std::make_tuple(3, 2));
             for (int corner : {Qt::Key_7, Qt::Key_9, Qt::Key_1, Qt::Key_3})
                 EXPECT_EQ(key(corner, Qt::KeypadModifier), std::make_tuple(3, 2)) << corner;
             // The digits of the main keys are no arrows.
             EXPECT_EQ(key(Qt::Key_2, Qt::NoModifier), std::make_tuple(3, 2));
             EXPECT_EQ(sheet.Control(DataEdit::kCellEdit).Text(), "13");
             SendKey(box, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
             theData.links.sheetShow(false);
         });
}

// Sunspots brought in and its data sheet shown; `walk` gets the sheet and a click on a cell.
void InSunspotsSheet(const std::function<void(DataEdit&, const std::function<void(int, int)>&)>& walk) {
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, TABULON_SOURCE_DIR "/examples/sunspots.txt"));
            dlg.MoveToDefaultSize();
            ASSERT_TRUE(ChooseTab(dlg, "Data"));
            ASSERT_TRUE(Press(dlg.TopWidget(), "Show data"));
            DataEdit& sheet = theDataEdit;
            ASSERT_TRUE(sheet.IsVisible());
            walk(sheet, [&](int row, int column) {
                const platform::Rect r = sheet.View()->CellRect(row, column);
                QTest::mouseClick(sheet.View()->View()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                platform::PumpWaitingMessages();
                ASSERT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(row, column));
            });
            theData.links.sheetShow(false);
        },
        &dialogs);
}

// With NumLock on, the keypad sends digits: held with Ctrl or Alt, its corner keys (and the
// moving keys) put nothing into the cell, so Enter stores the value the cell had.
TEST(PageControls, DataSheetKeypadWithCtrlOrAltTypesNothing) {
    InSunspotsSheet([](DataEdit& sheet, const std::function<void(int, int)>& click) {
        // Keys as a keyboard sends them: the modifier's own press, then the digit with its text.
        const auto keys = [&](std::initializer_list<Qt::Key> digits, Qt::KeyboardModifiers modifier) {
            for (Qt::Key digit : digits) {
                QTest::keyClick(QApplication::focusWidget(), digit, modifier | Qt::KeypadModifier);
                platform::PumpWaitingMessages();
            }
        };
        const auto enter = [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            platform::PumpWaitingMessages();
        };
        const double before = theData.allValues[2 * 3 + 1];  // 1703's activity
        click(3, 2);
        keys({Qt::Key_9, Qt::Key_1, Qt::Key_7, Qt::Key_3}, Qt::ControlModifier);
        keys({Qt::Key_7, Qt::Key_9, Qt::Key_1, Qt::Key_3}, Qt::AltModifier);
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(3, 2));
        EXPECT_EQ(sheet.Control(DataEdit::kCellEdit).Text(), "23");
        enter();
        EXPECT_EQ(theData.allValues[2 * 3 + 1], before);
        // The moving keys still move; the keypad alone still types.
        click(3, 2);
        keys({Qt::Key_2}, Qt::AltModifier);
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(4, 2));
        QLineEdit* box = EditOf(sheet, DataEdit::kCellEdit);
        ASSERT_NE(box, nullptr);
        box->selectAll();
        keys({Qt::Key_4, Qt::Key_2}, Qt::NoModifier);
        EXPECT_EQ(box->text(), "42");
        enter();
        EXPECT_EQ(theData.allValues[2 * 4 + 1], 42);
    });
}

// A key as a keyboard sends it, with its physical key (scan code) and text, to the focused widget.
void SendPhysicalKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode, const QString& text = {}) {
    QKeyEvent e(type, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(QApplication::focusWidget(), &e);
    platform::PumpWaitingMessages();
}

// Scan codes of a PC keyboard under X.
constexpr quint32 kScanControl = 37, kScanNumLock = 77, kScanPad2 = 88, kScanPad3 = 89, kScanRight = 114, kScanLeft = 113;

// Held with Ctrl or Alt, the keypad's other keys type nothing either: 0 and the operators with
// NumLock on, Delete with it off; the keypad's Enter still applies the cell.
TEST(PageControls, DataSheetKeypadOperatorsWithCtrlOrAltTypeNothing) {
    InSunspotsSheet([](DataEdit& sheet, const std::function<void(int, int)>& click) {
        const double before = theData.allValues[2 * 3 + 1];  // 1703's activity
        click(3, 2);
        const std::pair<Qt::Key, QString> keys[] = {{Qt::Key_0, "0"},    {Qt::Key_Period, "."}, {Qt::Key_Plus, "+"},
                                                    {Qt::Key_Minus, "-"}, {Qt::Key_Asterisk, "*"}, {Qt::Key_Slash, "/"}};
        for (Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier}) {
            for (const auto& [key, text] : keys) {
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, text, modifier | Qt::KeypadModifier);
                platform::PumpWaitingMessages();
                EXPECT_EQ(sheet.Control(DataEdit::kCellEdit).Text(), "23") << modifier << " " << text.toStdString();
            }
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier | Qt::KeypadModifier);
        EXPECT_EQ(sheet.Control(DataEdit::kCellEdit).Text(), "23");
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(3, 2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        platform::PumpWaitingMessages();
        EXPECT_EQ(theData.allValues[2 * 3 + 1], before);
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(4, 1)) << "Enter applied the cell";
    });
}

// A key released is up whatever NumLock said at its press, and so is one whose release went to
// another window.
TEST(PageControls, DataSheetKeyReleasedUnderAnotherNumLockIsUp) {
    InSunspotsSheet([](DataEdit& sheet, const std::function<void(int, int)>& click) {
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, pad = Qt::ControlModifier | Qt::KeypadModifier;
        const auto numLock = [] {
            SendPhysicalKey(QEvent::KeyPress, Qt::Key_NumLock, Qt::ControlModifier, kScanNumLock);
            SendPhysicalKey(QEvent::KeyRelease, Qt::Key_NumLock, Qt::ControlModifier, kScanNumLock);
        };
        const auto arrow = [&](int key, quint32 scan) {
            SendPhysicalKey(QEvent::KeyPress, key, ctrl, scan);
            SendPhysicalKey(QEvent::KeyRelease, key, ctrl, scan);
            return std::make_tuple(sheet.currentRow, sheet.currentColumn);
        };
        click(3, 1);
        SendPhysicalKey(QEvent::KeyPress, Qt::Key_Control, ctrl, kScanControl);
        // Keypad 2 goes down as a digit and comes up as Down.
        SendPhysicalKey(QEvent::KeyPress, Qt::Key_2, pad, kScanPad2, "2");
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(4, 1));
        numLock();
        SendPhysicalKey(QEvent::KeyRelease, Qt::Key_Down, pad, kScanPad2);
        numLock();
        EXPECT_EQ(arrow(Qt::Key_Right, kScanRight), std::make_tuple(4, 2));
        // A corner key the same way leaves no move blocked.
        SendPhysicalKey(QEvent::KeyPress, Qt::Key_3, pad, kScanPad3, "3");
        numLock();
        SendPhysicalKey(QEvent::KeyRelease, Qt::Key_PageDown, pad, kScanPad3);
        numLock();
        EXPECT_EQ(arrow(Qt::Key_Left, kScanLeft), std::make_tuple(4, 1));
        EXPECT_EQ(sheet.Control(DataEdit::kCellEdit).Text(), "1704");

        // Keypad 2 held while another window takes the keyboard: its release goes there.
        QWidget* sheetWindow = QApplication::focusWidget()->window();
        SendPhysicalKey(QEvent::KeyPress, Qt::Key_2, pad, kScanPad2, "2");
        EXPECT_EQ(std::tie(sheet.currentRow, sheet.currentColumn), std::make_tuple(5, 1));
        QWidget other;
        other.show();
        other.activateWindow();
        platform::PumpWaitingMessages();
        ASSERT_EQ(QApplication::activeWindow(), &other);
        other.hide();
        sheetWindow->activateWindow();
        platform::PumpWaitingMessages();
        ASSERT_EQ(QApplication::activeWindow(), sheetWindow);
        ASSERT_EQ(QApplication::focusWidget(), sheet.Control(DataEdit::kCellEdit).Widget());
        EXPECT_EQ(arrow(Qt::Key_Right, kScanRight), std::make_tuple(5, 2));
        SendPhysicalKey(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, kScanControl);
    });
}

}  // namespace
