// The distribution painters' slots in the repaint dispatcher, with what they need of the main
// window.
#include "app/analysis_hooks.h"
#include "app/tabulon_dlg.h"
#include "platform/requests.h"
#include "app/program_objects.h"
#include "statistics/correlation_view.h"
#include "statistics/one_variable_view.h"
#include "statistics/two_variables_view.h"

namespace {

CTabulonDlg* MainDialog() { return dynamic_cast<CTabulonDlg*>(platform::MainWindow()); }

OneVariableViewState OneVariableStateOf(CTabulonDlg& window) {
    OneVariableViewState state;
    state.seriesCount = window.dataSeriesCount;
    state.arguments = window.dataArguments;
    state.values = window.dataValues;
    state.visibleDataOnly = window.visibleDataOnly;
    state.textLineY = [&window](int line) { return window.TextLineY(line); };
    state.legendBlockLines = &window.legendBlockLines;
    return state;
}

TwoVariablesViewState TwoVariablesStateOf(CTabulonDlg& window) {
    TwoVariablesViewState state;
    static_cast<TwoArgumentViewState&>(state) = TwoArgumentStateOf(window);
    state.textLineY = [&window](int line) { return window.TextLineY(line); };
    return state;
}

CorrelationContext CorrelationContextOf(CTabulonDlg& window) {
    CorrelationContext context;
    context.hasMultiArgumentData = window.HasMultiArgumentData();
    context.dataSeriesCount = &window.dataSeriesCount;
    context.nullPen = window.nullPen;
    context.dataArguments = window.dataArguments;
    context.coefficientsText = &coefficientsText;
    context.legendTexts = &window.legendTexts;
    context.legendMarks = &window.legendMarks;
    return context;
}

[[maybe_unused]] const bool registered = [] {
    ChartPainters& p = TheAnalysisHooks().painters;
    p.distributionOfOneVariable = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfOneVariable(dc, OneVariableStateOf(*window)) : 0;
    };
    p.correlationView = [](platform::Canvas& dc, int series) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintCorrelationView(dc, series, CorrelationContextOf(*window)) : 0;
    };
    p.distributionOfTwoVariables = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfTwoVariables(dc, TwoVariablesStateOf(*window)) : 0;
    };
    p.distributionOfTwoVariablesFlat = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfTwoVariablesFlat(dc, TwoVariablesStateOf(*window)) : 0;
    };
    return true;
}();

}  // namespace

void ReportTwoParameterCorrelation(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                   int value) {
    if (CTabulonDlg* window = MainDialog()) {
        ReportCorrelationOfTwoParameters(x, y, argument, value, CorrelationContextOf(*window));
    }
}

int CorrelationTableReport(CTabulonDlg& window, platform::Canvas& dc) {
    return ReportCorrelationOfParameters(dc, CorrelationContextOf(window));
}
