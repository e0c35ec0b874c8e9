// The repaint cycle's speed goals, measured on the running main window (offscreen, on a
// screen large enough for a 1920 x 1080 chart):
//  - re-exposing an unchanged chart only copies it: under 5 ms at 1920 x 1080;
//  - a burst of 10,000 repaint requests after a change costs one recomputation.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/support/main_window_bench.h"
#include "app/analysis_hooks.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "platform/application.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

CTabulonDlg* mainWindow = nullptr;
int recomputations = 0;

// A window whose chart area is at least 1920 x 1080.
void MakeChartFullHd(CTabulonDlg& dlg) {
    dlg.ShowWindow(platform::kShowNormal);
    PumpWaitingMessages();
    const int tabHeight = dlg.Control(kTabControl).Bounds().Height();
    const platform::Rect frame = dlg.WindowRect();
    const int extraW = frame.Width() - dlg.ClientRect().Width();
    const int extraH = frame.Height() - dlg.ClientRect().Height();
    dlg.Move(0, 0, 1920 + 7 + extraW, 1080 + 1 + tabHeight + 20 + extraH);
    for (int i = 0; i < 3; ++i) PumpWaitingMessages();
}

void ReExposeUnchangedChart(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    MakeChartFullHd(dlg);
    theChart.changed = 1;  // one recomputation at this size first
    dlg.OnPaint();
    recomputations = 0;
    for (auto _ : state) dlg.OnPaint();
    state.counters["chart_w"] = dlg.chartRect.Width();
    state.counters["chart_h"] = dlg.chartRect.Height();
    state.counters["image_w"] = dlg.chartImageWidth;
    state.counters["recomputations"] = recomputations;
}
BENCHMARK(ReExposeUnchangedChart)->Unit(benchmark::kMillisecond);

void BurstOfRepaintRequests(benchmark::State& state) {
    recomputations = 0;
    for (auto _ : state) {
        theChart.changed = 1;
        for (int i = 0; i < 10000; ++i) platform::PostRepaintRequest();
        PumpWaitingMessages();
    }
    state.counters["recomputations_per_burst"] =
        benchmark::Counter(recomputations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BurstOfRepaintRequests)->Unit(benchmark::kMillisecond);

// An offscreen screen of 2560 x 1600, so the virtual screen holds a full-HD chart.
std::string LargeScreenConfig() {
    const std::string path = "/tmp/tabulon_bench_screen.json";
    if (std::FILE* f = std::fopen(path.c_str(), "w")) {
        std::fputs("{\"screens\":[{\"name\":\"bench\",\"x\":0,\"y\":0,\"width\":2560,\"height\":1600,"
                   "\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}",
                   f);
        std::fclose(f);
    }
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + LargeScreenConfig()).c_str(), 1);
    platform::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Every recomputation asks the correlation view first: it counts them.
    TheAnalysisHooks().painters.correlationView = [](platform::Canvas&, int) {
        ++recomputations;
        return 0;
    };
    RunBenchmarksInMainWindow(mainWindow);
    benchmark::Shutdown();
    return 0;
}
