// The two views of the user formula over several-argument data: measured against computed
// values ("User defined formula"), and the value against the combined argument with its
// power series ("Unitary argument"). Both write the formula and its coefficient of
// correlation to the result stores.
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "data/point_marks.h"
#include "documents/fitted_formulas.h"
#include "fitting/multistat_page.h"
#include "fitting/polynomial_fits.h"
#include "fitting/power_series_curve.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/useruf_page.h"
#include "formula/calculator.h"
#include "formula/number_formatting.h"
#include "platform/canvas.h"
#include "platform/format.h"
#include "statistics/color_maps.h"
#include "widgets/progress_bar.h"

namespace {

using platform::Pen;
using platform::PenStyle;


// The first value parameter of the series.
int FirstValueColumn() {
    const Series& s = theData.series[0];
    for (int p = 0; p < s.nParameters; ++p) {
        if (theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role == kRoleValue) return p;
    }
    return 0;
}

// With Autozoom: the ranges of the pairs with 5 % margins (one common range when square),
// stored as the View page's limits.
void ZoomToPairs(const std::vector<double>& xs, const std::vector<double>& ys, bool square) {
    if (!theXyview.autozoom) return;
    ResetPlotRanges();
    ExtendXRange(xs);
    ExtendYRange(ys);
    const double dx = (plotXMax - plotXMin) * 0.05, dy = (plotYMax - plotYMin) * 0.05;
    plotXMin -= dx;
    plotXMax += dx;
    plotYMin -= dy;
    plotYMax += dy;
    if (square) {
        plotXMin = plotYMin = std::min(plotXMin, plotYMin);
        plotXMax = plotYMax = std::max(plotXMax, plotYMax);
    }
    xyview& view = theXyview;
    view.xMin = plotXMin;
    view.xMax = plotXMax;
    view.yMin = plotYMin;
    view.yMax = plotYMax;
    if (view.HasWindow()) view.UpdateData(false);
}

// The marks of the value column at the pairs inside the plot range (a NaN pair is outside),
// kept in `drawn` for the chart's hit test.
void DrawPairs(platform::Canvas& dc, const std::vector<double>& xs, const std::vector<double>& ys, int column,
               CTabulonDlg::DrawnPairs& drawn) {
    const Initial& value = theData.parameters[static_cast<std::size_t>(theData.series[0].firstParameter + column)];
    const int n = static_cast<int>(std::min(xs.size(), ys.size()));
    const int size = value.autoSize ? std::clamp(150 / (n + 2), 2, 10) : value.markSize;
    drawn.xs.assign(static_cast<std::size_t>(n), std::nan(""));
    drawn.ys.assign(static_cast<std::size_t>(n), std::nan(""));
    for (int i = 0; i < n; ++i) {
        const double x = xs[static_cast<std::size_t>(i)], y = ys[static_cast<std::size_t>(i)];
        if (x >= plotXMin && x <= plotXMax && y >= plotYMin && y <= plotYMax) {
            DrawMarker(dc, WorldToPixelX(x), WorldToPixelY(y), size, value.markShape,
                       static_cast<platform::ColorRef>(value.color), theChart.chartAreaColor);
            drawn.xs[static_cast<std::size_t>(i)] = x;
            drawn.ys[static_cast<std::size_t>(i)] = y;
        }
    }
}

// The formula with the coefficient values written in, tidied.
std::string FormulaWithCoefficients() {
    std::string text = UserFormulaWithValues();
    TidyFormulaText(text);
    return text;
}

// Header, formula line and coefficient of correlation in both result stores; the legend's
// formula and the coefficients line (extra: the offset, when there is one). A fit that fits
// nothing writes the line `noFit` in place of the correlation, which it has not.
void Report(const std::string& header, const std::string& formula, double e, int column, const std::string& extra,
            const std::string& noFit = "") {
    const int global = theData.series[0].firstParameter + column;
    const double r = 1 - std::sqrt(e);
    const std::string& correlation = noFit.empty() ? CorrelationText(r) : std::string();
    for (double v : theUseruf.values) coefficientsText += platform::Format("%g", v) + "\t";
    coefficientsText += extra + correlation + "\n";
    AppendFittedFormula(formula, global);

    resultDocument& doc = theResultDocument;
    doc.AddTab(10);
    doc.AddText(header, 0, 100);
    doc.NewLine();
    theResultTables.AddParagraph(header);
    theResultTables.AddParagraph("\n");
    if (noFit.empty()) {
        WriteFormulaWithCorrelation(global, formula, correlation, r);
        return;
    }
    WriteFormulaLine(global, formula);
    doc.AddTab(45);
    doc.AddText(noFit, 0, 100);
    doc.NewLine();
    theResultTables.AddParagraph(noFit);
    theResultTables.AddParagraph("\n");
}

// The calculator's typed point (one value per parameter) and argument-file rows.
void ServeCalculator(int column, const std::function<double(const std::vector<double>&)>& model) {
    calculator& c = theCalculator;
    const int parameters = theData.series[0].nParameters;
    const std::string& name = theData.parameterNames[static_cast<std::size_t>(theData.series[0].firstParameter + column)];
    if (c.WantsTypedValue(parameters) && static_cast<int>(c.typedValues.size()) >= parameters) {
        const double value = model(std::vector<double>(c.typedValues.begin(), c.typedValues.begin() + parameters));
        c.valuesText += platform::Format("%s = %g; ", name.c_str(), value);
    }
    c.ComputeRows(parameters, [&](const double* row) { return model(std::vector<double>(row, row + parameters)); });
}

void DrawDiagonal(platform::Canvas& dc) {
    const double w0 = std::max(plotXMin, plotYMin), w1 = std::min(plotXMax, plotYMax);
    const Pen oldPen = dc.SelectPen(Pen(PenStyle::Dash, theChart.fittingLineWidth, platform::kBlack));
    dc.MoveTo(WorldToPixelX(w0), WorldToPixelY(w0));
    dc.LineTo(WorldToPixelX(w1), WorldToPixelY(w1));
    dc.SelectPen(oldPen);
}

}  // namespace

int CTabulonDlg::PaintMultivariantFormulaFit(platform::Canvas& dc) {
    if (dataArguments < 2 || dataValues != 1 || !theMultistat.userDefinedFormula || theData.series.empty()) return 0;
    const useruf& page = theUseruf;
    const int column = FirstValueColumn();
    std::vector<double> measured, computed;
    const double e = MultivariantFormulaValues(measured, computed, column, page.values, formulaOffset, page.plusConst);
    ZoomToPairs(measured, computed, true);
    ComputePlotScales();
    DrawProgressBar(0, "Painting data to virtual screen", 0.6);
    DrawDiagonal(dc);

    theData.schemeReady = 1;
    const double offset = page.plusConst ? formulaOffset : 0.0;
    ServeCalculator(column, [&](const std::vector<double>& v) {
        return theData.EvaluateFormulaAtValues(page.formula, v) + offset;
    });
    DrawPairs(dc, measured, computed, column, formulaViewPairs);

    const std::string& name = theData.parameterNames[static_cast<std::size_t>(theData.series[0].firstParameter + column)];
    std::string formula = name + " = " + FormulaWithCoefficients();
    std::string extra;
    if (page.plusConst) {
        formula += platform::Format(" %+g", formulaOffset);
        extra = platform::Format("%g", formulaOffset) + "\t";
    }
    Report("Multivariant fitting with formula:", formula, e, column, extra);
    return 1;
}

int CTabulonDlg::PaintUnifiedArgumentFit(platform::Canvas& dc) {
    if (dataArguments < 2 || dataValues != 1 || !theMultistat.unitaryArgument || theData.series.empty()) return 0;
    const useruf& page = theUseruf;
    const int column = FirstValueColumn();
    std::vector<double> measured, combined, series;
    ScaledPowerSeries curve;
    const double e = UnifiedArgumentValues(measured, combined, column, page.values, series, &curve);
    ZoomToPairs(combined, measured, false);
    ComputePlotScales();
    DrawProgressBar(0, "Painting data to virtual screen", 0.6);
    // Refused data (several series, failed evaluations) and terms that are not independent
    // leave no curve to draw.
    const bool fitted = e < 1e40 && curve.determinant != 0.0;
    if (fitted) {
        const Pen oldPen = dc.SelectPen(Pen(PenStyle::Dash, theChart.fittingLineWidth, platform::kBlack));
        PaintPowerSeriesCurve(dc, plotXMin, plotXMax, plotYMin, plotYMax, 200, curve);
        dc.SelectPen(oldPen);
    }
    coefficientsText.clear();

    theData.schemeReady = 1;
    // The calculator receives the curve's value at the combined argument of the typed point;
    // no curve, no value.
    if (fitted) {
        ServeCalculator(column, [&](const std::vector<double>& v) {
            return curve.Value(theData.EvaluateFormulaAtValues(page.formula, v));
        });
    }
    DrawPairs(dc, combined, measured, column, formulaViewPairs);

    const std::string& name = theData.parameterNames[static_cast<std::size_t>(theData.series[0].firstParameter + column)];
    const bool dependent = !curve.coefficients.empty() && curve.determinant == 0.0;
    Report("Unified argument to fit as curve:", name + "(" + FormulaWithCoefficients() + ")", e, column, "",
           dependent ? "No fit: the terms are not independent for these data." : "");
    return 1;
}
