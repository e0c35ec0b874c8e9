// A Ctrl-click hit test: the nearest plotted record to a click, over a one-argument series
// (every record is drawn) and over three-argument data under the near-neighbour estimate
// (the sample the measured-against-estimated view drew).
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"

namespace {

void Load(int arguments, int n) {
    theData.OnDeleteAll();
    const int p = arguments + 1;
    theData.CheckNewSeriesShape(p, theData.pendingSeries);
    std::vector<std::string> names;
    for (int k = 0; k < p; ++k) names.push_back("p" + std::to_string(k));
    for (int r = 0; r < n; ++r) {
        double z = 0;
        for (int k = 0; k < arguments; ++k) {
            const double x = (r * (k + 3)) % 1000 * 0.01;
            theData.allValues.push_back(x);
            z += x;
        }
        theData.allValues.push_back(z);
    }
    theData.AddNewSeries(n, names);
}

void HitTest(benchmark::State& state, int arguments) {
    const int n = static_cast<int>(state.range(0));
    Load(arguments, n);
    CTabulonDlg dlg;
    dlg.dataSeriesCount = 1, dlg.dataArguments = arguments, dlg.dataValues = 1, dlg.dataParameters = arguments + 1;
    dlg.chartRect = platform::Rect{7, 1, 807, 601};
    dlg.chartImageWidth = 800, dlg.chartImageHeight = 600;
    plotLeft = 50, plotRight = 780, plotTop = 10, plotBottom = 560;
    plotXMin = 0, plotXMax = arguments == 1 ? 10 : 30, plotYMin = 0, plotYMax = arguments == 1 ? 10 : 30;
    ComputePlotScales();
    multistat& m = theMultistat;
    m.plane = 0, m.nearNeighbors = arguments > 1 ? 1 : 0;
    for (auto _ : state) dlg.HitTestChart(400, 300);
    m.plane = 1, m.nearNeighbors = 0;
    theData.OnDeleteAll();
}

void BM_HitTestOneArgument(benchmark::State& state) { HitTest(state, 1); }
void BM_HitTestNearNeighbourView(benchmark::State& state) { HitTest(state, 3); }
BENCHMARK(BM_HitTestOneArgument)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTestNearNeighbourView)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
