// "Full analysis" over one series of 1,000 records with 3, 5 and 8 parameters, and over the
// longley example (its first 3 columns, and all 7), on the running main window (offscreen),
// from "Run analysis" to the closed report: total time, time per figure as the counter
// "per_figure", and for longley the goal in seconds ("goal_s") beside it.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "documents/full_page.h"
#include "platform/application.h"
#include "platform/dialog.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"

namespace {

namespace fs = std::filesystem;

#ifndef TABULON_EXAMPLES_DIR
#define TABULON_EXAMPLES_DIR "examples"
#endif

void Load(int parameters, int records) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(parameters, theData.pendingSeries);
    std::vector<std::string> names;
    for (int p = 0; p < parameters; ++p) names.push_back("p" + std::to_string(p));
    for (int r = 0; r < records; ++r) {
        for (int p = 0; p < parameters; ++p) theData.allValues.push_back(std::sin(r * 0.37 * (p + 1)) * 10 + r % (p + 7));
    }
    theData.AddNewSeries(records, names);
}

// The first `parameters` columns of examples/longley.txt (a tab-separated table with a header).
void LoadLongley(int parameters) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(parameters, theData.pendingSeries);
    std::ifstream in(TABULON_EXAMPLES_DIR "/longley.txt");
    std::string line;
    std::vector<std::string> names;
    int records = 0;
    for (bool header = true; std::getline(in, line); header = false) {
        std::istringstream fields(line);
        std::string field;
        for (int p = 0; p < parameters && std::getline(fields, field, '\t'); ++p) {
            if (header)
                names.push_back(field);
            else
                theData.allValues.push_back(std::stod(field));
        }
        records += header ? 0 : 1;
    }
    theData.AddNewSeries(records, names);
}

int CountFigures(const fs::path& folder) {
    int n = 0;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) n += entry.path().extension() == ".jpg";
    return n;
}

void RunFullAnalysis(benchmark::State& state, const std::function<void()>& load) {
    const fs::path folder = fs::temp_directory_path() / ("full_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path report = folder / "report.html";
    platform::ScriptedDialogs dialogs;
    int figures = 0;
    dialogs.modalSteps.push_back([&](platform::Dialog& d) {
        platform::PumpWaitingMessages();
        CTabulonDlg& dlg = static_cast<CTabulonDlg&>(d);
        for (auto _ : state) {
            state.PauseTiming();
            load();
            dlg.ShowWindow(platform::kShowNormal);
            fs::remove(report);
            dialogs.modalSteps.push_back([&](platform::Dialog& page) {
                page.Control(full::kReportFileStatic).SetText(report.string());
                static_cast<full&>(page).OnRunAnalysis();
            });
            state.ResumeTiming();
            dlg.SendCommand(kCommandFullAnalysis);
            state.PauseTiming();
            figures = CountFigures(folder / "report");
            state.ResumeTiming();
        }
        d.EndDialog(platform::kCancel);
    });
    CTabulonDlg dlg;
    platform::SetMainWindow(&dlg);
    dlg.RunModal();
    state.counters["figures"] = figures;
    state.counters["per_figure"] = benchmark::Counter(static_cast<double>(figures) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    theData.OnDeleteAll();
    // TABULON_BENCH_KEEP_REPORT names a folder that receives the last report, to compare runs.
    if (const char* keep = std::getenv("TABULON_BENCH_KEEP_REPORT"))
        fs::copy(folder, keep, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove_all(folder);
}

void BM_FullAnalysis(benchmark::State& state) {
    const int parameters = static_cast<int>(state.range(0));
    RunFullAnalysis(state, [parameters] { Load(parameters, 1000); });
}
BENCHMARK(BM_FullAnalysis)->Arg(3)->Arg(5)->Arg(8)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_FullAnalysisLongley(benchmark::State& state) {
    const int parameters = static_cast<int>(state.range(0));
    RunFullAnalysis(state, [parameters] { LoadLongley(parameters); });
    if (parameters == 3) state.counters["goal_s"] = 3.0;
}
BENCHMARK(BM_FullAnalysisLongley)->Arg(3)->Arg(7)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
