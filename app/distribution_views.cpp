// What the distribution painters need of the main window.
#include "app/distribution_views.h"

#include "app/tabulon_dlg.h"
#include "platform/requests.h"
#include "app/program_objects.h"
#include "statistics/correlation_view.h"
#include "statistics/one_variable_view.h"
#include "statistics/two_variables_view.h"

namespace {

CTabulonDlg* MainDialog() { return dynamic_cast<CTabulonDlg*>(platform::MainWindow()); }

}  // namespace

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

void ReportTwoParameterCorrelation(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                   int value) {
    if (CTabulonDlg* window = MainDialog()) {
        ReportCorrelationOfTwoParameters(x, y, argument, value, CorrelationContextOf(*window));
    }
}

int CorrelationTableReport(CTabulonDlg& window, platform::Canvas& dc) {
    return ReportCorrelationOfParameters(dc, CorrelationContextOf(window));
}
