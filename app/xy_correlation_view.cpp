// The main window's measured-against-estimated view of several-argument data, and its slot in
// the repaint dispatcher.
#include "app/analysis_hooks.h"
#include "app/tabulon_dlg.h"
#include "charts/xy_correlation_view.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"
#include "platform/requests.h"

namespace {

[[maybe_unused]] const bool registered = [] {
    TheAnalysisHooks().painters.xyCorrelation = [](platform::Canvas& dc) {
        auto* window = dynamic_cast<CTabulonDlg*>(platform::MainWindow());
        return window ? window->PaintXYCorrelation(dc) : 0;
    };
    return true;
}();

}  // namespace

int CTabulonDlg::PaintXYCorrelation(platform::Canvas& dc) {
    XYCorrelationState state;
    state.seriesCount = dataSeriesCount;
    state.arguments = dataArguments;
    state.values = dataValues;
    state.correlationMatrix = HasMultiArgumentData() != 0;
    state.argumentMask = &argumentMask;
    state.argumentColumns = &::argumentColumns;
    state.fitCoefficients = &fitCoefficients;
    state.fitDeviations = &fitDeviations;
    state.legendTexts = &legendTexts;
    state.legendMarks = &legendMarks;
    state.lastEstimate = &lastEstimate;
    return ::PaintXYCorrelation(dc, state);
}
