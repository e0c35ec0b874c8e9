#pragma once
// Shared by the main window's tests: running the main dialog as the start routine does,
// filling the data store through its own operations, and putting the program-wide choices
// and analysis hooks back after a test.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/analysis_hooks.h"
#include "app/program_objects.h"
#include "app/tabulon_app.h"
#include "app/tabulon_dlg.h"
#include "charts/xyview_page.h"
#include "data/data_edit.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/constructor_multi.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "platform/system.h"

namespace mainwin_test {

void ResetChoices();

// The program-wide state the main window's tests use, as the program starts: no data, the
// sheet on its first series, the pages' choices at their defaults.
inline void ResetProgramState() {
    theData.OnDeleteAll();
    theDataEdit.currentSeries = 0;
    theDataEdit.topRecord = 0;
    ResetChoices();
}

// Runs the start routine on a reset program; `step` runs once the main dialog is up and has painted.
inline void WithMainWindow(const std::function<void(CTabulonDlg&)>& step, platform::ScriptedDialogs* shared = nullptr) {
    ResetProgramState();
    // A scripted dialog service installs itself: make one only when none is given.
    std::optional<platform::ScriptedDialogs> own;
    if (!shared) own.emplace();
    platform::ScriptedDialogs& dialogs = shared ? *shared : *own;
    dialogs.modalSteps.push_back([&](platform::Dialog& d) {
        PumpWaitingMessages();
        step(static_cast<CTabulonDlg&>(d));
    });
    platform::SetCommandLine("");
    theApp.InitInstance();
}

// Pumps until `done` holds; false when it still does not after `limitMs` (a fault, not a wait).
inline bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000) {
    for (int waited = 0; !done(); waited += 5) {
        if (waited > limitMs) return false;
        PumpWaitingMessages();
        platform::SleepMs(5);
    }
    return true;
}

// Replaces the store by `seriesCount` series of `records` records each: `arguments`
// argument columns, then `values` value columns, then `inactive` inactive ones.
inline void LoadShape(int arguments, int values, int inactive, int records = 5, int seriesCount = 1) {
    theData.OnDeleteAll();
    const int n = arguments + values + inactive;
    if (n < 1) return;
    std::vector<std::string> names;
    for (int p = 0; p < n; ++p) names.push_back("p" + std::to_string(p));
    for (int s = 0; s < seriesCount; ++s) {
        theData.CheckNewSeriesShape(n, theData.pendingSeries);
        for (int r = 0; r < records; ++r) {
            for (int p = 0; p < n; ++p) theData.allValues.push_back(r * 10.0 + p + s);
        }
        theData.AddNewSeries(records, names);
    }
    for (int p = 0; p < n; ++p) {
        theData.activeParameter = p;
        if (p < arguments) {
            theData.MakeActiveParameterArgument();
        } else if (p < arguments + values) {
            theData.MakeActiveParameterValue();
        } else {
            theData.MakeActiveParameterInactive();
        }
    }
}

// The choices of the pages as the program starts.
inline void ResetChoices() {
    theXyview.autozoom = 1;
    theXyview.histogram = 0;
    theXyview.show3D = 0;
    theXyview.colorMapMode = 0;
    theMultistat.plane = 1;
    theMultistat.parabolic = theMultistat.nearNeighbors = theMultistat.correlation = 0;
    theMultistat.userDefinedFormula = theMultistat.unitaryArgument = 0;
    theMultistat.bestPolynome = theMultistat.bestPolynomeAuto = theMultistat.searchRunning = 0;
    theXystatistic.constructorStyle = theXystatistic.customFormulas = theXystatistic.userFormula = 0;
    theXystatistic.fromListOfFormulas = theXystatistic.peaksRevealing = 0;
    theXystatistic.correlationCoefficient = 0;
    theResult.chartInMainArea = 1;
    theUseruf.running = theUseruf.busy = 0;
    theConstructorMulti.polySearchOneNext = theConstructorMulti.polySearchFull = 0;
    theConstructorMulti.polySearchStop = 0;
    ClearPageFlags();
}

// Puts the analysis hooks back as they were when it was made.
struct HooksGuard {
    AnalysisHooks saved = TheAnalysisHooks();
    ~HooksGuard() { TheAnalysisHooks() = saved; }
};

}  // namespace mainwin_test
