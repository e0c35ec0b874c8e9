#pragma once
// Measured against estimated: for data of several arguments, every record of every eligible
// series becomes a marker at (measured value, value the chosen several-argument model
// estimates), with the dashed line y = x for reference. The near-neighbour estimate also
// writes a result line with the coefficient of correlation and serves the calculator page.
#include <array>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}

// What the view needs of the main window.
struct XYCorrelationState {
    int seriesCount = 0;             // series in the store
    int arguments = 0;               // of the first series
    int values = 0;                  // of the first series
    bool correlationMatrix = false;  // the correlation view owns the chart
    std::vector<int>* argumentMask = nullptr;       // rebuilt from each series' roles
    std::vector<int>* argumentColumns = nullptr;    // of the current several-argument polynomial
    std::array<double, 100>* fitCoefficients = nullptr;
    std::array<double, 100>* fitDeviations = nullptr;
    std::vector<std::string>* legendTexts = nullptr;
    std::vector<unsigned>* legendMarks = nullptr;
    double* lastEstimate = nullptr;  // the last value computed for an argument-file row
};

// The measured values of one value column and what the chosen scheme estimates for them:
// with the near-neighbour scheme only every k-th record (k = N / 500 + 1) is estimated, so
// estimates[j] pairs with measured[j], the value of record j*k.
struct XYEstimates {
    std::vector<double> measured;
    std::vector<double> estimates;
    int step = 1;     // k
    int records = 0;  // N
};
// The pairs the view draws for value column v (a column of the series) of an eligible
// series s (at least nArguments + 3 records).
void ComputeXYEstimates(XYCorrelationState& state, int s, int v, XYEstimates& out);

// The formatted coefficient of correlation of the latest fit report or view (one of the
// program-wide texts, kept with the main window's objects).
extern std::string correlationText;

// 1 when it painted, or when the correlation view owns the chart (nothing painted then);
// 0 when the data or the scheme choice do not call for it.
int PaintXYCorrelation(platform::Canvas& dc, XYCorrelationState& state);
