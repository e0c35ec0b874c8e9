#pragma once
// The analyses that the repaint cycle and the job hook call. FillAnalysisHooks (analysis_hooks.cpp)
// fills every slot, and the other calls the pages and painters make into the main window, in
// one place when the hooks are first used at start-up; tests may replace any slot afterwards.
// An empty painter slot counts as a view that does not apply (result 0); the job hook never
// starts an empty job slot.
#include <functional>

namespace platform {
class Canvas;
}

// A painter draws its view into the chart and appends its findings to the result stores;
// it returns non-zero when it painted, 0 when its view does not apply to the data or the
// settings (it decides that before it paints or writes anything).
using ChartPainter = std::function<int(platform::Canvas& dc)>;

struct ChartPainters {
    std::function<int(platform::Canvas& dc, int series)> correlationView;
    ChartPainter distributionOfOneVariable;
    ChartPainter oneValueView;
    ChartPainter distributionOfTwoVariables;
    ChartPainter distributionOfTwoVariablesFlat;
    ChartPainter functionOfOneArgument;
    std::function<void()> multiArgumentApproximationReport;  // writes the report, paints nothing
    ChartPainter multivariantFormulaFit;
    ChartPainter unifiedArgumentFit;
    ChartPainter dataSeries;
    ChartPainter axes;  // both axes over the current plot range
    ChartPainter xyCorrelation;
    ChartPainter twoArgument3D;
    ChartPainter twoArgumentMap;
    ChartPainter twoArgumentPoints;
};

// The long jobs run inside the job hook, and the other services of later analyses that the
// repaint cycle serves. A job runs as a loop: one step, a repaint request, then
// CTabulonDlg::PumpJobStep, which pumps the waiting messages and says whether it may go on.
struct MainWindowJobs {
    std::function<void()> userFormulaFitting;
    std::function<void()> bestPolynomialSearch;
    std::function<void()> autoPolynomialSearch;
    std::function<void()> calculateTheoreticalValues;  // fills a parameter from the current scheme
    std::function<void()> makeScoreFile;                // writes the score file of the scoring report
    std::function<int()> scoringRuleCount;              // rules found by the last scoring run
};

struct AnalysisHooks {
    ChartPainters painters;
    MainWindowJobs jobs;
};

// The program's one set of hooks, built and filled on first use (the main dialog's set-up).
AnalysisHooks& TheAnalysisHooks();
