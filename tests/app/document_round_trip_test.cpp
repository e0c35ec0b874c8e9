// A document saved and opened again through the window's own menu and controls: what the
// pages show afterwards is what the document holds and what the chart shows.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QCheckBox>

#include <gtest/gtest.h>

#include "app/main_pages.h"
#include "charts/plot_mapping.h"
#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/calculator.h"
#include "documents/result_page.h"
#include "main_window_steps.h"
#include "user_path.h"

namespace {

// The number an edit shows from its first character on, as the user reads it.
double Shown(const platform::Dialog& page, int id) {
    const auto* edit = qobject_cast<const QLineEdit*>(page.Control(id).Widget());
    EXPECT_EQ(edit->cursorPosition(), 0) << "the edit shows the end of " << edit->text().toStdString();
    return std::stod(page.Control(id).Text());
}

// `change` runs in a window, which then saves the work as `document` through File > "Save as";
// `check` runs in a fresh window once File > "Open" has read it.
void SaveThenOpen(const mainwin_test::ScratchFolder& folder, const std::string& document,
                  platform::ScriptedDialogs& dialogs, const std::function<void(CTabulonDlg&)>& change,
                  const std::function<void(CTabulonDlg&)>& check) {
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            user_path::KeepRecentFilesIn(dlg, folder.path.string());
            change(dlg);
            if (::testing::Test::HasFatalFailure()) return;
            dialogs.fileAnswers.push_back(document);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        },
        &dialogs);
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            user_path::KeepRecentFilesIn(dlg, folder.path.string());
            dialogs.fileAnswers.push_back(document);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
            platform::PumpWaitingMessages();
            check(dlg);
        },
        &dialogs);
}

// Longley's data under the plane scheme, Autozoom unticked before saving: after the document is
// opened in a fresh window, the View page's range edits hold the chart's ranges.
TEST(DocumentRoundTrip, ViewRangesAfterOpeningAreTheChartsRanges) {
    mainwin_test::ScratchFolder folder("round_trip_view");
    const std::string document = folder / "longley.cdf";
    platform::ScriptedDialogs dialogs;
    double saved[4] = {};
    SaveThenOpen(
        folder, document, dialogs,
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, TABULON_SOURCE_DIR "/examples/longley.txt"));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(user_path::Tick(dlg.TopWidget(), "Plane (y=a0+a1*x1+a2*x2+...an*xn)", true));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "View"));
            ASSERT_TRUE(user_path::Tick(theXyview, "Autozoom", false));
            ASSERT_EQ(theXyview.autozoom, 0);
            const double shown[4] = {plotXMin, plotXMax, plotYMin, plotYMax};
            std::copy(shown, shown + 4, saved);
            EXPECT_GT(saved[0], 50000);  // the employment totals, measured against estimated
        },
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ChooseTab(dlg, "View"));
            EXPECT_EQ(theXyview.Control(xyview::kAutozoomCheck).Check(), 0);
            const int edits[4] = {xyview::kXMinEdit, xyview::kXMaxEdit, xyview::kYMinEdit, xyview::kYMaxEdit};
            const double chart[4] = {plotXMin, plotXMax, plotYMin, plotYMax};
            for (int i = 0; i < 4; ++i) {
                SCOPED_TRACE(i);
                EXPECT_NEAR(Shown(theXyview, edits[i]), saved[i], 1e-6 * std::abs(saved[i]));
                EXPECT_NEAR(chart[i], saved[i], 1e-6 * std::abs(saved[i]));
            }
        });
}

// "auto number of digits" unticked by a click opens the digits edit and its spin, as Ok does.
TEST(DocumentRoundTrip, DigitsFollowTheirCheckOnTheResultsPage) {
    mainwin_test::ScratchFolder folder("round_trip_digits");
    const std::string text = folder / "xy.txt";
    user_path::WriteRecords(text, "x y", 8, [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r); });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            user_path::KeepRecentFilesIn(dlg, folder.path.string());
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
            dlg.MoveToDefaultSize();
            platform::PumpWaitingMessages();
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Results"));
            for (int autoDigits : {0, 1, 0, 1}) {
                ASSERT_TRUE(user_path::Tick(theResult, "auto number of digits", autoDigits == 1));
                EXPECT_EQ(theResult.autoDigits, autoDigits);
                EXPECT_EQ(theResult.Control(result::kDigitsEdit).IsEnabled(), autoDigits == 0);
                EXPECT_EQ(theResult.Control(result::kDigitsSpin).IsEnabled(), autoDigits == 0);
            }
        },
        &dialogs);
}

// What every shown control of a page shows, in the order of the page's controls.
std::vector<std::string> ShownValues(QWidget* page) {
    std::vector<std::string> values;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (auto* box = qobject_cast<QAbstractButton*>(w); box && box->isCheckable())
            values.push_back(user_path::Plain(box->text()) + (box->isChecked() ? " [x]" : " [ ]"));
        else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !qobject_cast<QComboBox*>(w->parentWidget()))
            values.push_back("edit " + edit->text().toStdString() + (edit->isEnabled() ? "" : " (disabled)"));
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            values.push_back("combo " + std::to_string(combo->currentIndex()));
    }
    return values;
}

// Changes what a user can change on the page: every enabled check box is clicked, every
// enabled edit gets another number or more text, every enabled combo goes one item down.
void ChangeEverything(QWidget* page) {
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->isReadOnly() &&
                                                              !qobject_cast<QComboBox*>(w->parentWidget())) {
            // Enter applies the edit where leaving it does not.
            bool number = false;
            const double v = edit->text().toDouble(&number);
            user_path::Type(edit, number ? std::to_string(static_cast<int>(v) + 1) : edit->text().toStdString() + " b", true);
        } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->count() > 1) {
            combo->setFocus();
            QTest::keyClick(combo, combo->currentIndex() + 1 < combo->count() ? Qt::Key_Down : Qt::Key_Up);
        }
        platform::PumpWaitingMessages();
    }
}

// The settings of the pages the round trip changes, put back when it ends.
struct KeptSettings {
    legend_settings legend = theLegend.settings;
    chart_settings chart = theChart.settings;
    xyview_settings view = theXyview.settings;
    xystatistic_settings statistics = theXystatistic.settings;
    result_settings results = theResult.settings;
    int autoDigits = theResult.autoDigits, digits = theResult.digits;
    calculator_settings calculator = theCalculator.settings;
    ~KeptSettings() {
        theLegend.settings = legend, theChart.settings = chart, theXyview.settings = view;
        theXystatistic.settings = statistics, theResult.settings = results, theCalculator.settings = calculator;
        theResult.autoDigits = autoDigits, theResult.digits = digits;
    }
};

// Every page reachable by a tab, changed through its controls, saved with File > "Save as" and
// opened in a fresh window with File > "Open": each control shows what it showed when saved.
TEST(DocumentRoundTrip, EveryPageShowsWhatWasSaved) {
    mainwin_test::ScratchFolder folder("round_trip_pages");
    const std::string text = folder / "xy.txt", document = folder / "work.cdf";
    user_path::WriteRecords(text, "x y", 12, [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r % 9); });
    const char* const tabs[] = {"Legend", "Chart", "View", "Statistics", "Results", "Calculator"};
    std::map<std::string, std::vector<std::string>> saved;
    const KeptSettings kept;
    platform::ScriptedDialogs dialogs;
    auto visit = [&](CTabulonDlg& dlg, const std::function<void(const std::string&, QWidget*)>& each) {
        for (const char* tab : tabs) {
            ASSERT_TRUE(user_path::ChooseTab(dlg, tab));
            for (platform::Dialog* page : PageObjects()) {
                if (page->TopWidget() && page->TopWidget()->isVisible()) each(tab, page->TopWidget());
            }
        }
    };
    SaveThenOpen(
        folder, document, dialogs,
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
            visit(dlg, [&](const std::string&, QWidget* page) { ChangeEverything(page); });
            visit(dlg, [&](const std::string& tab, QWidget* page) { saved[tab] = ShownValues(page); });
            ASSERT_EQ(saved.size(), std::size(tabs));
        },
        [&](CTabulonDlg& dlg) {
            visit(dlg, [&](const std::string& tab, QWidget* page) { EXPECT_EQ(ShownValues(page), saved[tab]) << tab; });
        });
}

}  // namespace
