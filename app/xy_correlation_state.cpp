// The main window's side of the measured-against-estimated view of several-argument data
// (charts/xy_correlation_view.*): what it needs of the window, taken at each paint.
#include "app/tabulon_dlg.h"
#include "charts/xy_correlation_view.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"

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
