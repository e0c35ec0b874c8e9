#pragma once
// The analyses that the repaint cycle and the job hook call. Each slot is filled by the part
// of the program that implements it, when it is built (tests put spies in some). An empty
// painter slot is a view not built yet: the dispatcher counts it as a view that does not
// apply (result 0). An empty job slot is a job not built yet: the job hook never starts it.
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
    AnalysisHooks();  // the painters that exist already are set here
    ChartPainters painters;
    MainWindowJobs jobs;
};

// The program's one set of hooks, built on first use.
AnalysisHooks& TheAnalysisHooks();
