// The one-variable distribution view on the running main window: a full recomputation with
// every option and 5 conditions at 10^4, 10^5 and 10^6 records, and a re-expose of the
// unchanged chart, which only copies it.
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "bench/support/main_window_bench.h"
#include "bench/support/python_peer.h"
#include "app/tabulon_dlg.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "platform/application.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "statistics/distrimution_page.h"
#include "statistics/random.h"
#include "statistics/distribution2_page.h"
#include "statistics/two_variables_view.h"
#include "statistics/correlation_view.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "platform/bitmap.h"

namespace {

CTabulonDlg* mainWindow = nullptr;

// One series of 6 parameters: five inactive selectors and the value.
void LoadRecords(int records) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(6, theData.pendingSeries);
    RandomSeed(337643, 62047, 2751976);
    for (int r = 0; r < records; ++r) {
        for (int p = 0; p < 5; ++p) theData.allValues.push_back(RandomUnit() * 10);
        theData.allValues.push_back(RandomNormal(5.0, 2.0));
    }
    theData.AddNewSeries(records, {"a", "b", "c", "d", "e", "v"});
    for (int p = 0; p < 5; ++p) {
        theData.activeParameter = p;
        theData.MakeActiveParameterInactive();
    }
    theData.dataModified = 1;
}

void EveryOption() {
    distrimution& d = theDistrimution;
    d.showStudent = d.showPoisson = d.showErlang = 1;
    d.showMedian = d.minAbsDeviation = d.maxConcentration = 1;
    d.percentage = 1;
    d.autoIntervals = 1;
    d.conditions = {{0, kConditionAnd, 1, 9},
                    {1, kConditionOr, 8, 9},
                    {2, kConditionAndNot, 4, 4.5},
                    {3, kConditionOrNot, 0, 9.5},
                    {4, kConditionAnd, 0.5, 9.5}};
    d.appliedConditions = d.conditions;
    theXyview.histogram = 1;
    theXyview.autozoom = 1;
    theLegend.showFormulas = 1;
}

void FullRecomputation(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    LoadRecords(static_cast<int>(state.range(0)));
    EveryOption();
    for (auto _ : state) {
        theDistrimution.changed = 1;
        dlg.OnPaint();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(FullRecomputation)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void ReExposeUnchanged(benchmark::State& state) {
    CTabulonDlg& dlg = *mainWindow;
    LoadRecords(100000);
    EveryOption();
    theDistrimution.changed = 1;
    dlg.OnPaint();
    for (auto _ : state) dlg.OnPaint();
}
BENCHMARK(ReExposeUnchanged)->Unit(benchmark::kMillisecond);

// The three-dimensional histogram of two variables: 100 x 100 intervals over 10^6 records,
// the view box rebuilt (counting, zoom fit) and every bar drawn.
void LoadTwoVariables(int records) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(2, theData.pendingSeries);
    RandomSeed(337643, 62047, 2751976);
    for (int r = 0; r < records; ++r) {
        theData.allValues.push_back(RandomNormal(0, 1));
        theData.allValues.push_back(RandomNormal(5, 2));
    }
    theData.AddNewSeries(records, {"x", "y"});
    theData.activeParameter = 0;
    theData.MakeActiveParameterValue();
}

// The records loaded and 100 x 100 intervals set; the state of a series of two values.
TwoVariablesViewState HundredByHundred(int records) {
    LoadTwoVariables(records);
    theDistribution2.autoIntervals = 0;
    theDistribution2.firstIntervals = theDistribution2.secondIntervals = 100;
    TwoVariablesViewState view;
    view.seriesCount = 1;
    view.values = 2;
    return view;
}

void TwoVariables100x100(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    TwoVariablesViewState view = HundredByHundred(records);
    view.view3D = 1;
    platform::Bitmap bitmap(1200, 900);
    for (auto _ : state) {
        plotLeft = 50, plotRight = 1150, plotTop = 10, plotBottom = 850;
        theD3view.sceneRebuildRequest = 1;
        platform::Canvas dc(bitmap);
        benchmark::DoNotOptimize(PaintDistributionOfTwoVariables(dc, view));
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(TwoVariables100x100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The flat density map of the same records: 100 x 100 nodes under Autozoom, the colour map
// painted and the axes and strip drawn.
void TwoVariablesFlat100x100(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    TwoVariablesViewState view = HundredByHundred(records);
    theXyview.autozoom = 1;
    if (theXyview.colorMapMode == 0) theXyview.colorMapMode = 1;
    view.mapSelection = 0;
    platform::Bitmap bitmap(1200, 900);
    for (auto _ : state) {
        SetChartFrame(1200, 900, 1, PlotViewRanges{});
        platform::Canvas dc(bitmap);
        benchmark::DoNotOptimize(PaintDistributionOfTwoVariablesFlat(dc, view));
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(TwoVariablesFlat100x100)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The correlation view of one series of 30 parameters and 10^5 records: 900 cells, each
// coefficient and every record's cross.
void LoadThirtyParameters(int records) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(30, theData.pendingSeries);
    RandomSeed(337643, 62047, 2751976);
    std::vector<std::string> names;
    for (int p = 0; p < 30; ++p) names.push_back("parameter " + std::to_string(p));
    for (int r = 0; r < records; ++r)
        for (int p = 0; p < 30; ++p) theData.allValues.push_back(RandomNormal(p, 1 + p % 3));
    theData.AddNewSeries(records, names);
}

void CorrelationView30Parameters(benchmark::State& state) {
    LoadThirtyParameters(static_cast<int>(state.range(0)));
    CorrelationContext context;
    context.hasMultiArgumentData = 1;
    platform::Bitmap bitmap(1600, 1000);
    for (auto _ : state) {
        SetChartFrame(1600, 1000, 1, PlotViewRanges{});
        platform::Canvas dc(bitmap);
        benchmark::DoNotOptimize(PaintCorrelationView(dc, 0, context));
    }
}
BENCHMARK(CorrelationView30Parameters)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The yardsticks, on the same values: numpy.histogram2d of the two variables into 100 x 100
// bins, and numpy.corrcoef of the 30 parameters (the view computes the same coefficients).
void NumpyHistogram2d100x100(benchmark::State& state) {
    LoadTwoVariables(static_cast<int>(state.range(0)));
    TimePythonPeer(state, theData.allValues, "histogram2d", static_cast<int>(state.range(0)), "100 100");
}
BENCHMARK(NumpyHistogram2d100x100)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void NumpyCorrcoef30Parameters(benchmark::State& state) {
    LoadThirtyParameters(static_cast<int>(state.range(0)));
    TimePythonPeer(state, theData.allValues, "corrcoef", static_cast<int>(state.range(0)), "30");
}
BENCHMARK(NumpyCorrcoef30Parameters)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RunBenchmarksInMainWindow(mainWindow);
    benchmark::Shutdown();
    return 0;
}
