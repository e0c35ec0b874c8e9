#pragma once
// Steps several main-window tests share: counting recomputations, serving a page's repaint,
// filling the store record by record, and reading back what a file or a dialog holds.
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "main_window_support.h"

namespace mainwin_steps {

// Counts chart recomputations: every one asks the correlation view first.
struct RecomputeCounter {
    int count = 0;
    RecomputeCounter() {
        TheAnalysisHooks().painters.correlationView = [this](platform::Canvas&, int) {
            ++count;
            return 0;
        };
    }
};

// Runs `step` in the main window, choices as at start, the analysis hooks kept; puts the store,
// the sheet, the choices and what the steps left in the pages back afterwards.
inline void InWindow(const std::function<void(CTabulonDlg&)>& step, platform::ScriptedDialogs* dialogs = nullptr) {
    mainwin_test::HooksGuard guard;
    mainwin_test::WithMainWindow(
        [&](CTabulonDlg& dlg) {
            mainwin_test::ResetChoices();
            PumpWaitingMessages();
            step(dlg);
            theData.links.sheetShow(false);
            theUseruf.useruf_settings::operator=(useruf_settings{});
            theConstructorMulti.currentPolyTerms.clear();
            theData.OnDeleteAll();
            mainwin_test::ResetChoices();
        },
        dialogs);
}

// Sets a page's change flag and serves the repaint it asks for.
inline void Repaint(int& flag) {
    flag = 1;
    platform::PostRepaintRequest();
    PumpWaitingMessages();
}

// Replaces the store by one series named `names`, record r holding `row(r)`; 1 when it was added.
inline int LoadRecords(const std::vector<std::string>& names, int records,
                        const std::function<std::vector<double>(int)>& row) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(static_cast<int>(names.size()), theData.pendingSeries);
    for (int r = 0; r < records; ++r) {
        const std::vector<double> values = row(r);
        theData.allValues.insert(theData.allValues.end(), values.begin(), values.end());
    }
    return theData.AddNewSeries(records, names);
}

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text of the last dialog of `kind` ("message", "shell", ..) shown; empty when none was.
inline std::string LastShown(const platform::ScriptedDialogs& dialogs, const std::string& kind = "message") {
    for (auto it = dialogs.shown.rbegin(); it != dialogs.shown.rend(); ++it) {
        if (it->kind == kind) return it->text;
    }
    return {};
}

}  // namespace mainwin_steps
