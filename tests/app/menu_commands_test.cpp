// Every command of the main menu, chosen by its captions on a series brought in through the
// import dialog: each is there, enabled, and reaches its handler, seen by what it does.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QTextDocument>
#include <gtest/gtest.h>

#include "main_window_steps.h"
#include "platform/word_document.h"
#include "user_path.h"

namespace {

namespace fs = std::filesystem;

// What a command can leave behind.
struct Traces {
    std::size_t shown = 0;
    std::string clipboardText;
    qint64 clipboardImage = 0;
    std::vector<double> values;
    std::vector<std::string> names;
    std::vector<int> marks;
    std::size_t series = 0;
    int previews = 0;
    int repaints = 0;
};

int previews = 0;
int repaints = 0;

Traces Take(const platform::ScriptedDialogs& dialogs) {
    Traces t;
    t.shown = dialogs.shown.size();
    t.clipboardText = platform::ClipboardText();
    t.clipboardImage = platform::ClipboardImage().cacheKey();
    t.values = theData.allValues;
    t.names = theData.parameterNames;
    for (const Initial& p : theData.parameters) t.marks.insert(t.marks.end(), {int(p.color), p.markSize, p.markShape});
    t.series = theData.series.size();
    t.previews = previews;
    t.repaints = repaints;
    return t;
}

// The effect a command is known by.
enum class Effect { Dialog, ClipboardText, ClipboardImage, Values, Names, Marks, Series, Preview, Repaint };

struct Command {
    std::vector<std::string> path;
    std::string dialog;  // Effect::Dialog: the kind ("open", "save", "message", "modal", "shell")
    Effect effect = Effect::Dialog;
    bool secondSeries = false;  // a second series pasted first (commands on all series)
    std::vector<std::string> before = {};  // a command chosen first, so that this one has work to do
    bool plane = false;  // two arguments and the plane fitted: a report with coefficients
};

bool Seen(const Command& c, const Traces& before, const Traces& after, const platform::ScriptedDialogs& dialogs) {
    switch (c.effect) {
        case Effect::Dialog:
            for (std::size_t i = before.shown; i < dialogs.shown.size(); ++i)
                if (dialogs.shown[i].kind == c.dialog) return true;
            return false;
        case Effect::ClipboardText: return after.clipboardText != before.clipboardText;
        case Effect::ClipboardImage: return after.clipboardImage != before.clipboardImage;
        case Effect::Values: return after.values != before.values;
        case Effect::Names: return after.names != before.names;
        case Effect::Marks: return after.marks != before.marks;
        case Effect::Series: return after.series != before.series;
        case Effect::Preview: return after.previews != before.previews;
        case Effect::Repaint: return after.repaints != before.repaints;
    }
    return false;
}

TEST(MenuCommands, EveryCommandIsEnabledAndReachesItsHandler) {
    using E = Effect;
    const Command commands[] = {
        {{"File", "Open"}, "open"},
        {{"File", "Save"}, "", E::Dialog},  // written below: the document file appears
        {{"File", "Save as"}, "save"},
        {{"File", "Print"}, "", E::Preview},
        {{"Data", "Import from text file"}, "open"},
        {{"Data", "Import from database"}, "open"},
        {{"Data", "Paste from clipboard"}, "", E::Series},  // the pasted series as below
        {{"Data", "Read image file", "as RGB"}, "open"},
        {{"Data", "Read image file", "as HSV"}, "open"},
        {{"Data", "Change time data format"}, "message"},
        {{"Data", "Full analysis"}, "modal"},
        {{"Data", "Modify marks of all variables", "all black lines"}, "", E::Marks},
        {{"Data", "Modify marks of all variables", "distinct color lines"}, "", E::Marks},
        {{"Data", "Modify marks of all variables", "distinct color marks"}, "", E::Marks, false,
         {"Data", "Modify marks of all variables", "all marks are lines"}},
        {{"Data", "Modify marks of all variables", "all marks are horizontal dashes"}, "", E::Marks},
        {{"Data", "Modify marks of all variables", "all marks are lines"}, "", E::Marks},
        {{"Data", "Modify marks of all variables", "increase size of marks"}, "", E::Marks},
        {{"Data", "Modify marks of all variables", "decrease size of marks"}, "", E::Marks},
        // The size of the parameter selected in the table (here the one value) goes to all.
        {{"Data", "Modify marks of all variables", "all marks the same size"}, "", E::Repaint},
        {{"Data", "Modify names of all variables", "Copy names of all series"}, "", E::Names, true},
        {{"Data", "Modify names of all variables", "Copy names of all series plus their order number"}, "", E::Names, true},
        {{"Data", "Normalize", "All parameters from 0 to 1"}, "", E::Values},
        {{"Data", "Normalize", "Value parametes from 0 to 1"}, "", E::Values},
        {{"Data", "Normalize", "All value parameters start at 1"}, "", E::Values},
        {{"Data", "Unite all series in one"}, "", E::Series, true},
        {{"Results", "Copy screen"}, "", E::ClipboardImage},
        {{"Results", "Save screen in file"}, "save"},
        {{"Results", "Copy content of result control"}, "", E::ClipboardText},
        {{"Results", "Copy coefficients"}, "", E::ClipboardText, false, {}, true},
        {{"Results", "Report as MS Word file"}, "shell"},
        {{"Results", "Report as HTML file"}, "save"},
        {{"Help", "Online help"}, "shell"},
        {{"Help", "About Tabulon"}, "modal"},
    };
    const char* const kPasted = "1\t5\n2\t7\n3\t6\n";  // as a spreadsheet copies it
    mainwin_test::ScratchFolder folder("menu_commands");
    const std::string text = folder / "xy.txt";
    // A line and a scatter about it: every fit has coefficients, every normalisation moves values.
    user_path::WriteRecords(text, "x y", 15, [](int r) { return std::to_string(r + 2) + ' ' + std::to_string(3 * r + r % 4 + 2); });
    const std::string plane = folder / "plane.txt";
    user_path::WriteRecords(plane, "u v w", 15, [](int r) {
        return std::to_string(r) + ' ' + std::to_string(r * r % 7) + ' ' + std::to_string(2 * r - r * r % 7 + r % 3);
    });
    platform::ScriptedDialogs dialogs;
    platform::SetPrintPreviewRunner([](QTextDocument&) { ++previews; });
    const user_path::DataFolderAt reports(folder.path.string());  // where the Word report is kept
    for (const Command& c : commands) {
        std::string name;
        for (const std::string& step : c.path) name += (name.empty() ? "" : " > ") + step;
        SCOPED_TRACE(name);
        mainwin_steps::InWindow(
            [&](CTabulonDlg& dlg) {
                user_path::KeepRecentFilesIn(dlg, folder.path.string());
                // Counting replaces the first painter: only where the count is the effect.
                std::optional<mainwin_steps::RecomputeCounter> counter;
                if (c.effect == E::Repaint) counter.emplace();
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, c.plane ? plane : text));
                if (c.plane) {
                    ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
                    ASSERT_TRUE(user_path::Tick(dlg.TopWidget(), "Plane (y=a0+a1*x1+a2*x2+...an*xn)", true));
                }
                documentPath = folder / "work.cdf";
                dlg.NoteDocumentClean();
                if (c.secondSeries) {
                    platform::SetClipboardText(kPasted);
                    ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Paste from clipboard"}));
                    ASSERT_EQ(theData.series.size(), 2u);
                }
                if (c.effect == E::Series && !c.secondSeries) platform::SetClipboardText(kPasted);
                if (c.effect == E::ClipboardText || c.effect == E::ClipboardImage) platform::SetClipboardText("-");
                if (!c.before.empty()) ASSERT_TRUE(user_path::ChooseMenu(dlg, c.before));
                if (c.effect == E::Repaint) {
                    ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
                    ASSERT_TRUE(user_path::ClickSeriesTable(2, data::kColumnSelect));  // series, x, y
                    ASSERT_EQ(theData.selectedParameter, 1);
                }
                if (c.path[1] == "Save as") dialogs.fileAnswers.push_back(folder / "saved.cdf");
                repaints = counter ? counter->count : 0;
                const Traces before = Take(dialogs);
                ASSERT_TRUE(user_path::ChooseMenu(dlg, c.path));
                platform::PumpWaitingMessages();
                repaints = counter ? counter->count : 0;
                const Traces after = Take(dialogs);
                if (c.path[1] == "Save") {
                    EXPECT_TRUE(fs::exists(folder / "work.cdf"));
                } else {
                    EXPECT_TRUE(Seen(c, before, after, dialogs));
                }
                dlg.ShowWindow(platform::kShowNormal);
                dlg.NoteDocumentClean();
            },
            &dialogs);
    }
    platform::SetPrintPreviewRunner(nullptr);
}

// Exit ends the window as its OK button does; the recent files open the document they name.
TEST(MenuCommands, ExitAndRecentFiles) {
    mainwin_test::ScratchFolder folder("menu_exit");
    const std::string text = folder / "xy.txt";
    user_path::WriteRecords(text, "x y", 6, [](int r) { return std::to_string(r) + ' ' + std::to_string(r % 3); });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            user_path::KeepRecentFilesIn(dlg, folder.path.string());
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
            const std::string saved = folder / "recent.cdf";
            dialogs.fileAnswers.push_back(saved);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
            const std::vector<double> values = theData.allValues;
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Normalize", "All parameters from 0 to 1"}));
            ASSERT_NE(theData.allValues, values);
            dialogs.messageAnswers.push_back(platform::kNo);  // leave the normalised work unsaved
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Recent Files", saved}));
            EXPECT_EQ(theData.allValues, values);

            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Exit"}));
            EXPECT_TRUE(dlg.IsDialogEnded());
        },
        &dialogs);
}

}  // namespace
