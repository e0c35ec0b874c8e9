// Whole paints of the two-argument colour map: 997 points (triangulated bands), 998 points
// (the cell map) and 100,000 points (cells and a square per point).
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "charts/plot_mapping.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

void LoadScatter(int n) {
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(3, theData.pendingSeries);
    std::mt19937_64 random(88172645463325252ull);
    std::uniform_real_distribution<double> u(0, 10);
    for (int i = 0; i < n; ++i) {
        const double x = u(random), y = u(random);
        theData.allValues.insert(theData.allValues.end(), {x, y, x * x * 0.1 - y});
    }
    theData.AddNewSeries(n, {"x", "y", "z"});
}

void BM_TwoArgumentMapPaint(benchmark::State& state) {
    LoadScatter(static_cast<int>(state.range(0)));
    theXyview.colorMapMode = 1;
    theXyview.autozoom = 1;
    theMultistat.nearNeighbors = 0;
    TwoArgumentViewState view;
    view.seriesCount = 1, view.arguments = 2, view.values = 1, view.view3D = 0, view.mapSelection = 0;
    platform::Bitmap bitmap(900, 700);
    platform::Canvas dc(bitmap);
    for (auto _ : state) {
        plotLeft = 60, plotRight = 800, plotTop = 20, plotBottom = 640;
        benchmark::DoNotOptimize(PaintTwoArgumentMap(dc, view));
    }
    theXyview.colorMapMode = 0;
    theData.OnDeleteAll();
}
BENCHMARK(BM_TwoArgumentMapPaint)->Arg(997)->Arg(998)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
