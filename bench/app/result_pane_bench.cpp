// The result pane's speed goal, measured on the running main window (offscreen): painting and
// scrolling the pane over a 10,000-line document with tables costs under 10 ms a step, and its
// memory is bounded by the pane, not by the document. Each benchmark reports its slowest step
// (max_step_ms) besides the mean, and the pane bitmap's bytes against the document's height.
#include <algorithm>
#include <chrono>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/support/main_window_bench.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/result_document.h"
#include "platform/application.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

CTabulonDlg* mainWindow = nullptr;

// 10,000 lines: text runs with tabs, series marks and symbols, and a 4 x 5 table every 40 lines.
void TenThousandLines() {
    resultDocument& doc = theResultDocument;
    doc.Clear();
    int line = 0;
    while (line < 10000) {
        if (line % 40 == 20) {
            doc.AddObject(4, 5, 20, 15);
            for (int r = 0; r < 5; ++r) {
                for (int c = 0; c < 4; ++c) {
                    if (c > 0) doc.AddTab(static_cast<unsigned>(20 + 90 * c));
                    if (c == 3) doc.AddSymbol(static_cast<unsigned>(r % 3));
                    else doc.AddText("cell " + std::to_string(r) + "," + std::to_string(c), 0x303030, 100);
                }
                doc.NewLine();
            }
            line += 5;
            continue;
        }
        doc.AddTab(10);
        doc.AddSeriesMark(0);
        doc.AddTab(45);
        doc.AddText("Coefficient of line " + std::to_string(line) + " is ", 0, 100);
        doc.AddText(std::to_string(line * 0.001), 0x0000C0, 100);
        doc.NewLine();
        ++line;
    }
}

void Report(benchmark::State& state, double slowest) {
    const CTabulonDlg& dlg = *mainWindow;
    state.counters["max_step_ms"] = slowest * 1e3;
    state.counters["doc_height"] = theResultDocument.height;
    state.counters["pane_bytes"] =
        static_cast<double>(dlg.resultPaneBitmap.Width()) * dlg.resultPaneBitmap.Height() * 4;
}

template <class Step>
void Timed(benchmark::State& state, Step step) {
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
        state.SetIterationTime(took.count());
    }
    Report(state, slowest);
}

// A fresh document: the first pane paint lays the whole document out once.
void FirstPaintOfNewDocument(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    double slowest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TenThousandLines();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        dlg.PaintResultPane();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
    }
    Report(state, slowest);
}
BENCHMARK(FirstPaintOfNewDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

// Re-exposing the pane (every paint of the main window repaints it) anywhere in the document.
void RepaintAtPositions(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    TenThousandLines();
    dlg.PaintResultPane();
    int p = 0;
    Timed(state, [&] {
        dlg.Control(kResultVScroll).SetPos(p);
        p = (p + 7) % 101;
        dlg.PaintResultPane();
    });
}
BENCHMARK(RepaintAtPositions)->Unit(benchmark::kMillisecond)->UseManualTime();

// One line step down at a time through the document, back to the top at the end.
void LineStepsDown(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    TenThousandLines();
    dlg.Control(kResultVScroll).SetPos(0);
    dlg.PaintResultPane();
    Timed(state, [&] {
        if (dlg.Control(kResultVScroll).Pos() >= 100) dlg.Control(kResultVScroll).SetPos(0);
        dlg.OnVScroll(platform::kScrollLineDown, 0, kResultVScroll);
    });
}
BENCHMARK(LineStepsDown)->Unit(benchmark::kMillisecond)->UseManualTime();

// Dragging the thumb to far-apart places, and stepping sideways.
void ThumbJumpsAndSideSteps(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    TenThousandLines();
    dlg.PaintResultPane();
    int i = 0;
    Timed(state, [&] {
        ++i;
        if (i % 2) {
            dlg.OnVScroll(platform::kScrollThumbPosition, (i * 37) % 101, kResultVScroll);
        } else {
            dlg.OnHScroll(i % 4 ? platform::kScrollLineDown : platform::kScrollLineUp, 0, kResultHScroll);
        }
    });
}
BENCHMARK(ThumbJumpsAndSideSteps)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RunBenchmarksInMainWindow(mainWindow, [] { theResultDocument.Clear(); });
    benchmark::Shutdown();
    return 0;
}
