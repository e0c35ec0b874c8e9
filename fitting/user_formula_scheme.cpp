#include "fitting/user_formula_scheme.h"

#include <cmath>

#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "data/points_in_box.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/calculator.h"
#include "formula/curve_painters.h"
#include "formula/formula_evaluator.h"
#include "formula/model_evaluation.h"
#include "formula/number_formatting.h"
#include "platform/format.h"
#include "statistics/color_maps.h"

double userFormulaOffset = 0;

namespace {

constexpr int kCurveSteps = 200;

// Argument count of the first series (0 without data).
int DataArguments() { return theData.series.empty() ? 0 : theData.series[0].nArguments; }

}  // namespace

std::string UserFormulaWithValues(const std::vector<double>& values) {
    const useruf& page = theUseruf;
    std::string text = page.formula;
    std::vector<int> order;
    OrderNamesForSubstitution(page.names, order);
    for (int i : order) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (k >= values.size()) continue;
        theFormulaEvaluator.ReplaceWholeWord(text, page.names[k], platform::Format("%g", values[k]));
    }
    return text;
}

std::string UserFormulaWithValues() { return UserFormulaWithValues(theUseruf.values); }

double UserFormulaError(const std::string& formula) {
    // No data is no fit: a refusal must never read as a perfect one.
    if (theData.series.empty()) return 1e40;
    const bool boxOnly = !theXyview.autozoom && theResult.visibleDataOnly;
    double sum = 0;
    std::vector<double> x, y, column;
    const int seriesCount = static_cast<int>(theData.series.size());
    for (int s = 0; s < seriesCount; ++s) {
        const Series se = theData.series[static_cast<std::size_t>(s)];
        if (se.nRecords < se.nArguments + 3) continue;
        // With several arguments the last one counts; a series without one gives no points.
        column.clear();
        for (int p = 0; p < se.nParameters; ++p) {
            if (theData.parameters[static_cast<std::size_t>(se.firstParameter + p)].role == kRoleArgument) {
                theData.GetParameterValues(s, p, column);
            }
        }
        for (int p = 0; p < se.nParameters; ++p) {
            if (theData.parameters[static_cast<std::size_t>(se.firstParameter + p)].role != kRoleValue) continue;
            if (!theData.GetParameterValues(s, p, y)) continue;
            x = column;
            if (boxOnly) KeepPointsInBox(x, y, plotXMin, plotXMax, plotYMin, plotYMax);
            sum += FormulaResidualRatio(x, y, formula, "x", userFormulaOffset, theUseruf.plusConst);
        }
    }
    return sum;
}

void UserFormulaYRange(const std::vector<double>& x, const std::vector<double>& y) {
    if (!theXystatistic.userFormula) return;
    const std::string f = UserFormulaWithValues();
    FormulaResidualRatio(x, y, f, "x", userFormulaOffset, theUseruf.plusConst);
    FormulaCurveRange(f, "x", plotXMin, plotXMax, kCurveSteps, userFormulaOffset);
}

void UserFormulaReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y, int a,
                       int v) {
    if (!theXystatistic.userFormula) return;
    const useruf& page = theUseruf;
    const std::string f = UserFormulaWithValues();
    const double r = FormulaResidualRatio(x, y, f, "x", userFormulaOffset, page.plusConst);
    const double offset = userFormulaOffset;
    PaintFormulaCurve(dc, plotXMin, plotXMax, kCurveSteps, f, "x", offset);
    theData.schemeReady = 1;

    const std::string& valueName = theData.parameterNames[static_cast<std::size_t>(v)];
    const int arguments = DataArguments();
    auto model = [&f, offset](double at) {
        return EvaluateFormulaWithVariable(f, "x", platform::Format("%g", at)) + offset;
    };
    calculator& calc = theCalculator;
    if (arguments >= 1 && calc.WantsTypedValue(arguments) && !calc.typedValues.empty()) {
        calc.AddTypedValue(valueName, model(calc.typedValues[0]));
    }
    if (arguments >= 1) calc.ComputeRows(arguments, [&model](const double* row) { return model(row[0]); });

    std::string argumentName;
    if (arguments == 0 && !theXyview.show3D) argumentName = "n";
    if (arguments == 1) argumentName = theData.parameterNames[static_cast<std::size_t>(a)];
    std::string t = f;
    theFormulaEvaluator.ReplaceWholeWord(t, "x", argumentName);
    TidyFormulaText(t);
    std::string display = valueName + " = " + t;
    if (page.plusConst) display += platform::Format(" %+g", offset);

    const double c = 1 - std::sqrt(r);
    const std::string correlation = CorrelationText(c);
    for (double value : page.values) coefficientsText += platform::Format("%g", value) + "\t";
    if (page.plusConst) coefficientsText += platform::Format("%g", offset) + "\t";
    coefficientsText += correlation + "\n";

    AppendFittedFormula(display, v);

    WriteFormulaWithCorrelation(v, display, correlation, c);
}

void WriteFormulaLine(int seriesIndex, const std::string& formula) {
    resultDocument& doc = theResultDocument;
    doc.AddTab(10);
    doc.AddSeriesMark(static_cast<std::uint32_t>(seriesIndex));
    doc.AddTab(45);
    doc.AddText(formula, 0, 100);
    doc.NewLine();
    theResultTables.AddParagraph(formula);
    theResultTables.AddParagraph("\n");
}

void WriteFormulaWithCorrelation(int seriesIndex, const std::string& formula, const std::string& correlation,
                                 double r) {
    resultDocument& doc = theResultDocument;
    WriteFormulaLine(seriesIndex, formula);
    doc.AddTab(45);
    doc.AddTextLiteral("Coefficient of correlation = ", 0, 100);
    doc.AddText(correlation, ValueToColor(r), 100);
    doc.NewLine();
    for (const std::string& p : {std::string("\n"), std::string("Coefficient of correlation = "), correlation,
                                 std::string("\n")}) {
        theResultTables.AddParagraph(p);
    }
}
