// Mouse work on the chart: a drag changes the View page's ranges (zoom to a rectangle, move
// one bound, pan, or give a bound back to automatic scaling); a Ctrl-click while the data
// sheet is open finds the record plotted nearest to the click and shows it there; Ctrl+H with
// a click gives the main window its default size.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/tabulon_dlg.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "charts/scene3d.h"
#include "charts/series_painting.h"
#include "charts/two_argument_views.h"
#include "charts/xy_correlation_view.h"
#include "charts/xyview_page.h"
#include "data/data_edit.h"
#include "data/data_edit_view.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "app/program_objects.h"
#include "fitting/polynomial_fits.h"
#include "platform/pixel.h"
#include "platform/system.h"
#include "platform/window_defs.h"

namespace {

// The View page's four bounds.
struct Ranges {
    double xMin, xMax, yMin, yMax;
};

Ranges ViewRanges() {
    const xyview& v = theXyview;
    return {v.xMin, v.xMax, v.yMin, v.yMax};
}

// A range that would end at or below its start would leave the chart without a scale: the
// axis keeps the bounds it had.
void StoreRanges(const Ranges& wanted) {
    xyview& v = theXyview;
    if (wanted.xMax > wanted.xMin) v.xMin = wanted.xMin, v.xMax = wanted.xMax;
    if (wanted.yMax > wanted.yMin) v.yMin = wanted.yMin, v.yMax = wanted.yMax;
}

// The nearest plotted point so far; a later point at the same distance replaces it.
struct NearestRecord {
    long long distance = 100000;
    int series = -1;
    int record = -1;
    void Consider(long long d, int s, int r) {
        if (d > distance) return;
        distance = d, series = s, record = r;
    }
};

std::vector<int> ColumnsOfRole(const Series& s, int role) {
    std::vector<int> columns;
    for (int p = 0; p < s.nParameters; ++p) {
        if (theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role == role) columns.push_back(p);
    }
    return columns;
}

long long Distance(int px, int py, platform::Point click) {
    return std::llabs(static_cast<long long>(px) - click.x) + std::llabs(static_cast<long long>(py) - click.y);
}

// The pairs a view drew at (xs[j], ys[j]) in world units for records j * step of series s;
// a pair it did not draw is NaN.
void ConsiderPairs(NearestRecord& nearest, const std::vector<double>& xs, const std::vector<double>& ys, int s,
                   int step, platform::Point click) {
    for (std::size_t j = 0; j < xs.size() && j < ys.size(); ++j) {
        if (std::isnan(xs[j]) || std::isnan(ys[j])) continue;
        nearest.Consider(Distance(WorldToPixelX(xs[j]), WorldToPixelY(ys[j]), click), s, static_cast<int>(j) * step);
    }
}

// Shows the record in the data sheet: its series, refilled from that record, the record's
// row selected and the list focused.
void ShowRecordInSheet(int s, int record) {
    DataEdit& sheet = theDataEdit;
    sheet.currentSeries = s;
    sheet.FillDataGrid(s, record);
    if (!sheet.HasWindow()) return;
    platform::Control grid = sheet.Control(DataEdit::kGrid);
    for (int row : sheet.SelectedRows()) grid.SetSelected(row, false);
    const int row = record - sheet.topRecord;
    grid.EnsureVisible(row);
    grid.SetSelected(row, true);
    grid.SetFocus();
    if (sheet.View()) sheet.View()->Redraw();
}

}  // namespace

void CTabulonDlg::OnLButtonDown(unsigned flags, platform::Point point) {
    const bool control = platform::KeyDown(platform::kKeyControl);
    if (control && platform::KeyDown('H')) MoveToDefaultSize();
    dragStart = point;
    const DataPageLinks& links = theData.links;
    if (control && !hitTestBusy && links.sheetIsVisible && links.sheetIsVisible()) {
        hitTestBusy = 1;
        HitTestChart(point.x, point.y);
        hitTestBusy = 0;
    }
    dragActive = dataValues >= 1 && !theXyview.autozoom && IsInPlotRect(point.x, point.y) ? 1 : 0;
    Dialog::OnLButtonDown(flags, point);
}

void CTabulonDlg::OnLButtonUp(unsigned flags, platform::Point point) {
    xyview& view = theXyview;
    if (!dragActive || view.autozoom || !IsInPlotRect(point.x, point.y)) {
        Dialog::OnLButtonUp(flags, point);
        return;
    }
    dragEnd = point;
    hitTestBusy = 0;
    const platform::Point start = ChartImagePoint(dragStart);
    const platform::Point end = ChartImagePoint(dragEnd);
    // PixelToWorldY takes window rows and removes the chart's top margin: image rows get it back.
    const double xs = PixelToWorldX(start.x), xe = PixelToWorldX(end.x);
    const double ys = PixelToWorldY(start.y + plotMarginTop), ye = PixelToWorldY(end.y + plotMarginTop);
    const double dx = std::abs(xe - xs), dy = std::abs(ys - ye);
    const int kind = ClassifyDrag(start, end);
    if (kind == 0) {
        dragActive = 0;
        theData.dataPageChanged = 1;
        OnPaint();
        Dialog::OnLButtonUp(flags, point);
        return;
    }
    Ranges r = ViewRanges();
    switch (kind) {
        case 1: r = {std::min(xs, xe), std::max(xs, xe), std::min(ys, ye), std::max(ys, ye)}; break;
        case 2: r.xMax += dx; break;
        case 3: r.xMax -= dx; break;
        case 4: r.xMin -= dx, r.xMax -= dx; break;
        case 5: r.xMin += dx, r.xMax += dx; break;
        case 6: r.xMin += dx; break;
        case 7: r.xMin -= dx; break;
        case 8: r.yMax += dy; break;
        case 9: r.yMax -= dy; break;
        case 10: r.yMin -= dy, r.yMax -= dy; break;
        case 11: r.yMin += dy, r.yMax += dy; break;
        case 12: r.yMin += dy; break;
        case 13: r.yMin -= dy; break;
        default: {
            // An edge: one paint with automatic ranges finds that bound's automatic value.
            const Ranges kept{plotXMin, plotXMax, plotYMin, plotYMax};
            view.autozoom = 1;
            theData.dataPageChanged = 1;
            OnPaint();
            const Ranges automatic{plotXMin, plotXMax, plotYMin, plotYMax};
            view.autozoom = 0;
            theData.dataPageChanged = 1;
            view.xMin = kept.xMin, view.xMax = kept.xMax, view.yMin = kept.yMin, view.yMax = kept.yMax;
            r = kept;
            if (kind == 14) r.xMin = automatic.xMin;
            if (kind == 15) r.yMin = automatic.yMin;
            if (kind == 16) r.xMax = automatic.xMax;
            if (kind == 17) r.yMax = automatic.yMax;
            break;
        }
    }
    StoreRanges(r);
    if (view.HasWindow()) view.UpdateData(false);
    plotXMin = view.xMin, plotXMax = view.xMax, plotYMin = view.yMin, plotYMax = view.yMax;
    dragActive = 0;
    theData.dataPageChanged = 1;
    OnPaint();
    Dialog::OnLButtonUp(flags, point);
}

void CTabulonDlg::HitTestChart(int x, int y) {
    dataSeriesCount = static_cast<int>(theData.series.size());
    if (dataSeriesCount < 1) return;
    multistat& m = theMultistat;
    if (m.bestPolynome || m.bestPolynomeAuto) {
        m.unitaryArgument = m.userDefinedFormula = m.nearNeighbors = m.correlation = m.parabolic = m.plane = 0;
    }
    const Series first = theData.series[0];
    const int arguments = static_cast<int>(ColumnsOfRole(first, kRoleArgument).size());
    const int values = static_cast<int>(ColumnsOfRole(first, kRoleValue).size());
    // The click in the pixels of the chart image, which the plot mapping draws into.
    const platform::Point click = ChartImagePoint({x, y});
    NearestRecord nearest;
    std::vector<double> a, v;

    if (arguments == 1 && values >= 1) {
        for (int s = 0; s < dataSeriesCount; ++s) {
            const Series& series = theData.series[static_cast<std::size_t>(s)];
            const std::vector<int> argumentColumns = ColumnsOfRole(series, kRoleArgument);
            if (argumentColumns.empty()) continue;
            theData.GetParameterValues(s, argumentColumns[0], a);
            for (int column : ColumnsOfRole(series, kRoleValue)) {
                theData.GetParameterValues(s, column, v);
                for (std::size_t r = 0; r < v.size() && r < a.size(); ++r) {
                    nearest.Consider(Distance(WorldToPixelX(a[r]), WorldToPixelY(v[r]), click), s, static_cast<int>(r));
                }
            }
        }
    } else if (arguments == 0 && values >= 1 && !theXyview.histogram) {
        // The one-value view draws record r at x = r times its record step.
        const double recordStep = RecordStep(LargestRecordCount());
        for (int s = 0; s < dataSeriesCount; ++s) {
            for (int column : ColumnsOfRole(theData.series[static_cast<std::size_t>(s)], kRoleValue)) {
                theData.GetParameterValues(s, column, v);
                for (std::size_t r = 0; r < v.size(); ++r) {
                    const int px = WorldToPixelX(static_cast<double>(r) * recordStep);
                    nearest.Consider(Distance(px, WorldToPixelY(v[r]), click), s, static_cast<int>(r));
                }
            }
        }
    } else if (values >= 1 && arguments >= 2 && (m.userDefinedFormula || m.unitaryArgument)) {
        // The user-formula views draw instead of the scene with two arguments too: measured
        // against computed values, or the value against the combined argument, of the only series.
        const DrawnPairs& drawn = formulaViewPairs;
        if (theData.series.size() == 1 && drawn.xs.size() <= static_cast<std::size_t>(first.nRecords)) {
            ConsiderPairs(nearest, drawn.xs, drawn.ys, 0, 1, click);
        }
    } else if (values >= 1 && (arguments > 2 || (arguments == 2 && m.nearNeighbors))) {
        // The records the measured-against-estimated view drew: its sample and its estimates
        // (with two arguments the near-neighbour scheme draws it instead of the scene).
        if (!m.plane && !m.parabolic && !m.nearNeighbors && !m.bestPolynome && !m.bestPolynomeAuto) return;
        XYCorrelationState state;
        state.seriesCount = dataSeriesCount;
        state.arguments = dataArguments;
        state.values = dataValues;
        state.argumentMask = &argumentMask;
        state.argumentColumns = &::argumentColumns;
        XYEstimates e;
        for (int s = 0; s < dataSeriesCount; ++s) {
            const Series& series = theData.series[static_cast<std::size_t>(s)];
            if (series.nRecords < series.nArguments + 3) continue;
            for (int column : ColumnsOfRole(series, kRoleValue)) {
                ComputeXYEstimates(state, s, column, e);
                ConsiderPairs(nearest, e.measured, e.estimates, s, e.step, click);
            }
        }
    } else if (arguments == 2 && values >= 1 && view3D) {
        if (m.bestPolynome || m.bestPolynomeAuto) return;
        // The scene projects into the plot rectangle's own pixels.
        const platform::Point relative{click.x - plotLeft, click.y - plotTop};
        const scene3d& scene = theD3view.theScene3d;
        std::vector<double> b;
        for (int s = 0; s < dataSeriesCount; ++s) {
            int xc = -1, yc = -1;
            if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
            theData.GetParameterValues(s, xc, a);
            theData.GetParameterValues(s, yc, b);
            for (int column : ColumnsOfRole(theData.series[static_cast<std::size_t>(s)], kRoleValue)) {
                theData.GetParameterValues(s, column, v);
                for (std::size_t r = 0; r < v.size() && r < a.size() && r < b.size(); ++r) {
                    double px = 0, py = 0, size = 0, depth = 0;
                    if (!scene.ProjectPoint(a[r], b[r], v[r], px, py, size, depth)) continue;
                    nearest.Consider(
                        Distance(platform::SaturatingToInt(px), platform::SaturatingToInt(py), relative), s,
                        static_cast<int>(r));
                }
            }
        }
    }
    if (nearest.series >= 0 && nearest.distance < 25) ShowRecordInSheet(nearest.series, nearest.record);
}
