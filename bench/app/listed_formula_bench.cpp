// The "From list of formulas" scheme's share of a repaint of the one-argument view: its range
// pass and its report (fit, curve, texts, Monte-Carlo band of 300 x 100) on a 1920 x 1080
// chart, at 10^4 and 10^5 points.
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "documents/result_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/collection.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

static void BM_ListedFormulaSchemeRepaint(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<double> x(static_cast<std::size_t>(n)), y(x.size());
    for (int i = 0; i < n; ++i) {
        x[static_cast<std::size_t>(i)] = 0.1 + 5.0 * i / n;
        y[static_cast<std::size_t>(i)] = std::exp(0.3 + 0.5 * x[static_cast<std::size_t>(i)]) * (1 + 0.01 * std::sin(i * 12.9898));
    }
    CTabulonDlg dlg;
    dlg.dataArguments = 1;
    theXystatistic.fromListOfFormulas = 1;
    theCollection.selectedModel = 9;
    theCollection.showDeviationLines = 1;
    platform::Bitmap bitmap(1920, 1080);
    platform::Canvas dc(bitmap);
    plotLeft = 0;
    plotRight = 1920;
    plotTop = 0;
    plotBottom = 1080;
    for (auto _ : state) {
        theResultDocument.Clear();
        theResultTables.Clear();
        coefficientsText.clear();
        theResult.formulaText.clear();
        dlg.legendTexts.clear();
        dlg.legendMarks.clear();
        plotXMin = 0;
        plotXMax = 5.2;
        plotYMin = 1e60;
        plotYMax = -1e60;
        dlg.CollectionFitYRange(x, y);
        ComputePlotScales();
        dlg.FitResultReport(dc, x, y, 0, 1);
    }
    theXystatistic.fromListOfFormulas = 0;
    theCollection.showDeviationLines = 0;
    state.counters["points"] = n;
}
BENCHMARK(BM_ListedFormulaSchemeRepaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
