#pragma once
// Runs the registered benchmarks inside the main window's modal loop, as the program runs its
// work, with `window` pointing at that window meanwhile. `afterRun` runs before the window
// closes.
#include <functional>

#include <benchmark/benchmark.h>

#include "app/tabulon_dlg.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

inline void RunBenchmarksInMainWindow(CTabulonDlg*& window, const std::function<void()>& afterRun = {}) {
    platform::ScriptedDialogs dialogs;
    dialogs.modalSteps.push_back([&window, &afterRun](platform::Dialog& d) {
        window = static_cast<CTabulonDlg*>(&d);
        PumpWaitingMessages();
        benchmark::RunSpecifiedBenchmarks();
        if (afterRun) afterRun();
    });
    CTabulonDlg dlg;
    platform::SetMainWindow(&dlg);
    dlg.RunModal();
}
