// The main window's side of the painters of two-argument data through the scene
// (charts/two_argument_views.*): what they need of the window, taken at each paint.
#include "app/tabulon_dlg.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"

TwoArgumentViewState TwoArgumentStateOf(const CTabulonDlg& window) {
    TwoArgumentViewState state;
    state.seriesCount = window.dataSeriesCount;
    state.arguments = window.dataArguments;
    state.values = window.dataValues;
    state.view3D = window.view3D;
    state.frameResized = chartFrameResized;
    state.mapSelection = theXyview.Control(xyview::kParameterCombo).CurSel();
    state.nullPen = window.nullPen;
    return state;
}

int CTabulonDlg::PaintTwoArgument3D(platform::Canvas& dc) { return ::PaintTwoArgument3D(dc, TwoArgumentStateOf(*this)); }

int CTabulonDlg::PaintTwoArgumentMap(platform::Canvas& dc) { return ::PaintTwoArgumentMap(dc, TwoArgumentStateOf(*this)); }

int CTabulonDlg::PaintTwoArgumentPoints(platform::Canvas& dc) { return ::PaintTwoArgumentPoints(dc, TwoArgumentStateOf(*this)); }
