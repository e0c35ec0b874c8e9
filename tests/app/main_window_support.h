#pragma once
// Shared by the main window's tests: running the main dialog as the start routine does,
// filling the data store through its own operations, and putting the program-wide choices
// and analysis hooks back after a test.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

#include <unistd.h>

namespace mainwin_test {

void ResetChoices();

// Runs the start routine on a program as it starts (no data, the sheet on its first series, the
// pages' choices at their defaults); `step` runs once the main dialog is up and has painted.
inline void WithMainWindow(const std::function<void(CTabulonDlg&)>& step, platform::ScriptedDialogs* shared = nullptr) {
    theData.OnDeleteAll();
    theDataEdit.currentSeries = 0;
    theDataEdit.topRecord = 0;
    ResetChoices();
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

// Replaces the store by `seriesCount` series of the named columns, `rows` holding the records row by row.
inline void LoadRows(const std::vector<std::string>& names, const std::vector<double>& rows, int seriesCount = 1) {
    theData.OnDeleteAll();
    const int n = static_cast<int>(names.size());
    for (int s = 0; s < seriesCount; ++s) {
        theData.CheckNewSeriesShape(n, theData.pendingSeries);
        theData.allValues.insert(theData.allValues.end(), rows.begin(), rows.end());
        theData.AddNewSeries(static_cast<int>(rows.size()) / n, names);
    }
}

// The values of parameter `p` of series `s`, record by record.
inline std::vector<double> SeriesColumn(int s, int p) {
    const Series& x = theData.series.at(static_cast<std::size_t>(s));
    std::vector<double> out;
    for (int r = 0; r < x.nRecords; ++r) {
        out.push_back(theData.allValues.at(static_cast<std::size_t>(x.firstValue + r * x.nParameters + p)));
    }
    return out;
}

// A folder of the test's own under the temporary one, removed with its contents at the end.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

inline std::string FileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a shell command writes to its standard output.
inline std::string CommandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// Pixels of `image` (inside `area` when one is given) for which `counted` holds.
inline int CountPixels(const QImage& image, const std::function<bool(QRgb)>& counted, QRect area = QRect()) {
    if (area.isNull()) area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) n += counted(image.pixel(x, y)) ? 1 : 0;
    }
    return n;
}

}  // namespace mainwin_test
