#include "app/analysis_hooks.h"

#include "app/tabulon_dlg.h"
#include "charts/axes.h"
#include "charts/series_painting.h"
#include "fitting/user_formula_scheme.h"

AnalysisHooks::AnalysisHooks() {
    painters.axes = [](platform::Canvas& dc) {
        DrawAxes(dc);
        return 1;
    };
    painters.oneValueView = [](platform::Canvas& dc) { return PaintOneValueView(dc, CurrentSeriesPaintContext()); };
    painters.functionOfOneArgument = [](platform::Canvas& dc) {
        return PaintFunctionOfOneArgument(dc, CurrentSeriesPaintContext());
    };
    painters.dataSeries = [](platform::Canvas& dc) {
        PaintDataSeries(dc, CurrentSeriesPaintContext());
        return 1;
    };

    // The single-argument schemes: both views call every slot for every value parameter in
    // their fixed order (series_painting.h); a scheme not built yet leaves its slot empty.
    OneArgumentSchemeCalls& schemes = TheOneArgumentSchemes();
    schemes.userFormulaYRange = UserFormulaYRange;
    schemes.userFormulaReport = UserFormulaReport;
}

AnalysisHooks& TheAnalysisHooks() {
    static AnalysisHooks hooks;
    return hooks;
}
