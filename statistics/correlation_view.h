#pragma once
// The correlation view: a matrix of small scatter plots, one cell per pair of a series'
// parameters, shaded by the pair's correlation coefficient; and the correlation reports.
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/pen.h"

// What the view and the reports need of the main window.
struct CorrelationContext {
    int hasMultiArgumentData = 0;  // the schemes ask for the correlation view
    int* dataSeriesCount = nullptr;  // written: the number of series
    platform::Pen nullPen{platform::PenStyle::Null, 1, 0};
    int dataArguments = 0;         // of the first series
    std::string* coefficientsText = nullptr;       // the copy of the last coefficients
    std::vector<std::string>* legendTexts = nullptr;  // the formula legend's lines
    std::vector<unsigned>* legendMarks = nullptr;     // their parameters
};

// The coefficients of the last painted series, entry i * n + j for parameters i and j of the
// series (n its parameter count).
extern std::vector<double> correlationMatrix;

// 1 when it painted, 0 when the view does not apply (nothing changed but the series count).
int PaintCorrelationView(platform::Canvas& dc, int series, const CorrelationContext& context);

// "Correlation of parameters:" with one table per series of at least nArguments + 3 records,
// each from the series' own coefficients. dc measures the column widths in the result font.
// 0 (nothing written) when the view does not apply or there is no series.
int ReportCorrelationOfParameters(platform::Canvas& dc, const CorrelationContext& context);

// The one-line report of the correlation of a value parameter with its argument (or with the
// record number "n"), when the single-argument scheme asks for the coefficient.
void ReportCorrelationOfTwoParameters(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                      int value, const CorrelationContext& context);
