#pragma once
// The "Distribution of one variable." view: every value parameter of every series as a
// histogram over one common bin grid, restricted by the distribution page's conditions, with
// fitted Student, Poisson and Erlang curves, and its result lines and tables.
//
// Part of whole: the bars are the per-bin percentages of the conditional values among all
// values (100 * conditional / all in each bin), and the reference level is the overall
// conditional share in percent, so the bars, the level, the y range and the table all speak
// percent.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/pen.h"
#include "statistics/erlang.h"
#include "statistics/one_variable.h"

// What the view needs of the main window.
struct OneVariableViewState {
    int seriesCount = 0;
    int arguments = 0;  // of the first series
    int values = 0;     // of the first series
    int visibleDataOnly = 0;
    // Legend lines: y of line k of the legend table.
    std::function<int(int line)> textLineY = [](int line) { return 20 * line + 5; };
    int* legendBlockLines = nullptr;  // written: the rows of the legend table
};

// Agreements of the last painted variable with the Student, Poisson and Erlang shapes, read
// by the full-analysis report; a shape that is off keeps its previous value.
extern std::array<double, 3> distributionCorrelations;
// Offsets of the legend-table columns from plotLeft, kept until the next paint.
extern std::vector<unsigned> legendColumnX;
// The Erlang shape of the latest curve set up (by the y range or a variable), shown in the
// header texts until the next one.
extern erlangFit shownErlangFit;

// The start of the header line of a variable table in the result document: "Variable" and
// the symbols of the average, the deviation and the coefficient of variation.
void AddVariableHeader();

// One variable's values, bins and summaries as the view works with them.
struct ParameterDistribution {
    std::vector<double> conditional, all;
    std::vector<double> conditionalBins, allBins, shares;
    distributionSummary conditionalSummary, allSummary, shareSummary;
};

// The values of parameter p of series s (within the visible x range when asked), binned over
// the page's grid, and in part-of-whole mode the per-bin shares.
void DistributionOfParameter(int s, int p, int visibleDataOnly, ParameterDistribution& out);

// 0 when the view does not apply (nothing drawn or written), else 1.
int PaintDistributionOfOneVariable(platform::Canvas& dc, const OneVariableViewState& state);

// One variable's bars, ticks, reference marks, curves and densest-interval marks, and the
// rest of its result lines and per-bin table. bins are the bar heights' source: the
// conditional counts, or the per-bin shares in part-of-whole mode.
struct HistogramArguments {
    const std::vector<double>* conditional = nullptr;
    const std::vector<double>* bins = nullptr;
    const std::vector<double>* conditionalBins = nullptr;
    const std::vector<double>* allBins = nullptr;
    int index = 0;             // j among the variables
    double subWidth = 1;       // w / V
    double binWidth = 1;       // w
    platform::ColorRef color = 0;
    distributionSummary summary;  // conditional, or the shares' in part-of-whole mode
    // The conditional summary: the fitted shapes and their agreements always describe the
    // conditional values, also in part-of-whole mode.
    distributionSummary conditionalSummary;
    double origin = 0;
};
void PaintDistributionHistogram(platform::Canvas& dc, const HistogramArguments& a, const OneVariableViewState& state);
