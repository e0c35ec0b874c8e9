// A full recomputation of a one-argument series of 10^6 records with marks on a 1920 x 1080
// chart: the painter alone, and the main window's chart paint around it (frame, dispatcher,
// axes, Autozoom copy-back). The allocation counter shows that painting does not allocate
// per point.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "charts/series_painting.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {
std::atomic<long long> allocations{0};
}  // namespace

void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kRecords = 1000000;

void LoadMillion() {
    if (!theData.series.empty() && theData.series[0].nRecords == kRecords) return;
    theData.OnDeleteAll();
    theData.CheckNewSeriesShape(2, theData.pendingSeries);
    theData.allValues.reserve(2 * kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const double x = i * 1e-3;
        theData.allValues.push_back(x);
        theData.allValues.push_back(std::sin(x) * 100 + std::fmod(i * 0.618033, 7.0));
    }
    theData.AddNewSeries(kRecords, {"x", "y"});
}

SeriesPaintContext Shape() {
    SeriesPaintContext c;
    c.seriesCount = 1;
    c.arguments = 1;
    c.values = 1;
    c.visibleDataOnly = 1;
    return c;
}

void BM_FunctionOfOneArgumentMillion(benchmark::State& state) {
    LoadMillion();
    theXyview.autozoom = 1;
    platform::Bitmap image(1920, 1080);
    platform::Canvas dc(image);
    long long perPaint = 0;
    for (auto _ : state) {
        SetChartFrame(1920, 1080, 1, PlotViewRanges{});
        plotLeft = 60, plotRight = 1900, plotTop = 30, plotBottom = 1040;
        const long long before = allocations.load();
        benchmark::DoNotOptimize(PaintFunctionOfOneArgument(dc, Shape()));
        perPaint = allocations.load() - before;
    }
    state.counters["allocations"] = static_cast<double>(perPaint);
    state.counters["allocs_per_point"] = static_cast<double>(perPaint) / kRecords;
}
BENCHMARK(BM_FunctionOfOneArgumentMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same records as two values without an argument: each drawn against its record number.
void BM_OneValueViewMillion(benchmark::State& state) {
    LoadMillion();
    theXyview.autozoom = 1;
    theXyview.show3D = 0;
    for (Initial& p : theData.parameters) p.role = kRoleValue;
    theData.series[0].nArguments = 0;
    theData.series[0].nValues = 2;
    SeriesPaintContext shape = Shape();
    shape.arguments = 0;
    shape.values = 2;
    platform::Bitmap image(1920, 1080);
    platform::Canvas dc(image);
    for (auto _ : state) {
        SetChartFrame(1920, 1080, 1, PlotViewRanges{});
        plotLeft = 60, plotRight = 1900, plotTop = 30, plotBottom = 1040;
        benchmark::DoNotOptimize(PaintOneValueView(dc, shape));
    }
    // Back to one argument and one value for the benchmarks that follow.
    theData.parameters[0].role = kRoleArgument;
    theData.series[0].nArguments = 1;
    theData.series[0].nValues = 1;
}
BENCHMARK(BM_OneValueViewMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ChartRepaintMillion(benchmark::State& state) {
    LoadMillion();
    theXyview.autozoom = 1;
    CTabulonDlg dlg;
    dlg.initialised = 1;
    theData.dataModified = 1;
    dlg.UpdateForDataShape();
    platform::Bitmap image(1920, 1080);
    platform::Canvas dc(image);
    long long perPaint = 0;
    for (auto _ : state) {
        const long long before = allocations.load();
        dlg.PaintChart(dc, 1920, 1080);
        perPaint = allocations.load() - before;
    }
    state.counters["allocations"] = static_cast<double>(perPaint);
}
BENCHMARK(BM_ChartRepaintMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
