// The main window's painters of two-argument data through the scene, and their slots in the
// repaint dispatcher.
#include "app/analysis_hooks.h"
#include "app/tabulon_dlg.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "platform/requests.h"

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

namespace {

CTabulonDlg* MainDialog() { return dynamic_cast<CTabulonDlg*>(platform::MainWindow()); }

[[maybe_unused]] const bool registered = [] {
    ChartPainters& p = TheAnalysisHooks().painters;
    p.twoArgument3D = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? window->PaintTwoArgument3D(dc) : 0;
    };
    p.twoArgumentMap = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? window->PaintTwoArgumentMap(dc) : 0;
    };
    p.twoArgumentPoints = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? window->PaintTwoArgumentPoints(dc) : 0;
    };
    return true;
}();

}  // namespace

int CTabulonDlg::PaintTwoArgument3D(platform::Canvas& dc) { return ::PaintTwoArgument3D(dc, TwoArgumentStateOf(*this)); }

int CTabulonDlg::PaintTwoArgumentMap(platform::Canvas& dc) { return ::PaintTwoArgumentMap(dc, TwoArgumentStateOf(*this)); }

int CTabulonDlg::PaintTwoArgumentPoints(platform::Canvas& dc) { return ::PaintTwoArgumentPoints(dc, TwoArgumentStateOf(*this)); }
