// Start-up to the first shown main window (offscreen): goal below 0.5 s.
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "app/tabulon_dlg.h"
#include "platform/application.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

void MainWindowShown(benchmark::State& state) {
    platform::ScriptedDialogs dialogs;
    for (auto _ : state) {
        bool shown = false;
        dialogs.modalSteps.push_back([&](platform::Dialog& d) {
            platform::PumpWaitingMessages();  // the first paint
            shown = d.IsVisible();
        });
        CTabulonDlg dlg;
        platform::SetMainWindow(&dlg);
        dlg.RunModal();
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(MainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
