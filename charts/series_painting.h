#pragma once
// Painting of data series: the "Function of one argument." view (every value parameter
// against the argument of its series, with the single-argument fitting schemes run over it)
// and the chart of measured against model values of the several-argument schemes.
//
// The fitting schemes and the several-argument model live with the main window; they join
// through the two sets of calls below, which the analysis hooks fill at start-up. An unset call
// widens nothing and reports nothing (the custom transform then passes the values through
// unchanged).
#include <functional>
#include <vector>

namespace platform {
class Canvas;
}

// What the painters need of the main window: the shape of the first series as last read,
// whether the reports take only the points shown, and the legend's list of painted parameters.
struct SeriesPaintContext {
    int seriesCount = 0;
    int arguments = 0;
    int values = 0;
    int visibleDataOnly = 1;
    std::vector<unsigned>* paintedParameters = nullptr;
};

// The single-argument schemes, called for every value parameter in this order. x and y are
// the argument and value columns; a and v their global parameter indexes.
struct OneArgumentSchemeCalls {
    using Column = std::vector<double>;
    using RangeCall = std::function<void(const Column& x, const Column& y)>;
    using ReportCall = std::function<void(platform::Canvas& dc, const Column& x, const Column& y, int a, int v)>;
    std::function<void()> refreshCustomModel;  // the custom model texts, when that scheme is on
    std::function<void(const Column& y, const Column& x, Column& out)> customTransformedValues;
    std::function<void(Column& x, Column& y)> correctBaseLine;  // peaks scheme: y corrected in place
    RangeCall constructorFitYRange;
    RangeCall customFitYRange;
    RangeCall collectionFitYRange;
    RangeCall userFormulaYRange;
    RangeCall analysePeaks;
    ReportCall constructorFitReport;
    ReportCall customFormulaFitReport;
    ReportCall fitResultReport;
    ReportCall userFormulaReport;
    ReportCall peaksReport;
    std::function<void(const Column& x, const Column& y, int a, int v)> reportCorrelationOfTwoParameters;
    ReportCall runPolynomFitting;
    ReportCall runHarmonicAnalysis;
    ReportCall runBestFormulaSearch;
};
OneArgumentSchemeCalls& TheOneArgumentSchemes();

// The several-argument model of the polynomial and user-formula schemes.
struct SeveralArgumentModel {
    // Measured values of the value parameter and the model's values at every record of the
    // first series; 0 when there is no model to show.
    std::function<int(std::vector<double>& measured, std::vector<double>& model)> values;
    // The model at one point of `arguments` argument values.
    std::function<double(const double* arguments)> evaluate;
};
SeveralArgumentModel& TheSeveralArgumentModel();

// "Function of one argument.": 1 when painted, 0 when the data are not of one argument.
int PaintFunctionOfOneArgument(platform::Canvas& target, const SeriesPaintContext& context);
// "Line of one value.": every value against its record number times the record step; 1 when
// painted, 0 when the data have an argument (or two values shown as a value line).
int PaintOneValueView(platform::Canvas& target, const SeriesPaintContext& context);
// The x step between records of the one-value view: 1 up to 10 records, else
// 10^-trunc(log10(records)).
double RecordStep(int largestRecordCount);
// The most records of any series.
int LargestRecordCount();

// Measured against model values for two and more arguments and one value; draws nothing
// unless the polynomial or user-formula scheme is chosen and a model is there. 1 when painted.
int PaintDataSeries(platform::Canvas& dc, const SeriesPaintContext& context);

// Half size of automatic marks for n points: trunc(150 / (n + 2)) within 2..10.
int AutomaticMarkSize(long long n);

// A range of no width is widened by a fixed amount (half of it each way, larger for large
// magnitudes so that it survives the six-digit display); an empty range becomes 0..1.
void WidenDegenerateRange(double& lo, double& hi);
