// The distribution painters' slots in the repaint dispatcher, with what they need of the main
// window.
#include "app/analysis_hooks.h"
#include "app/tabulon_dlg.h"
#include "platform/requests.h"
#include "statistics/one_variable_view.h"

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

[[maybe_unused]] const bool registered = [] {
    ChartPainters& p = TheAnalysisHooks().painters;
    p.distributionOfOneVariable = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfOneVariable(dc, OneVariableStateOf(*window)) : 0;
    };
    return true;
}();

}  // namespace
