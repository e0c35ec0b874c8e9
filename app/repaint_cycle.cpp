// The repaint cycle: every repaint request reaches OnPaint. Only when a page's changed flag
// (or a change of the window's show state) asks for it is the chart recomputed: the analysis
// that fits the data paints into the virtual screen, which is then copied to the window.
// Every other paint copies the stored picture again.
#include <cmath>
#include <cstdlib>

#include "app/analysis_hooks.h"
#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/scorereport.h"
#include "formula/calculator.h"
#include "platform/dialogs.h"
#include "platform/wait_cursor.h"

int chartPaintEnabled = 1;
int chartFrameResized = 0;

namespace {

int Run(const ChartPainter& painter, platform::Canvas& dc) { return painter ? painter(dc) : 0; }

void ServeScoreFileRequest() {
    theScorereport.scoreFileRequest = 0;
    const MainWindowJobs& jobs = TheAnalysisHooks().jobs;
    if (jobs.makeScoreFile) jobs.makeScoreFile();
}

// What a chart copy changes on the window: the border strips, the chart area and what lies
// beside it. Only these are shown again, so the controls need no repaint of their own.
void NameChartCopyAreas(platform::ClientDC& dc, const platform::Rect& client, int top, int extra,
                        const platform::Rect& chart) {
    const int w = client.Width(), h = client.Height();
    dc.Changes({-2, h - 18, w + extra + 1, h + 2});
    dc.Changes({-2, top - 1, 6, h + 2});
    dc.Changes({w - 6, top - 1, w + extra + 1, h + 2});
    dc.Changes(chart);
    dc.Changes({chart.right, chart.top, w, chart.bottom});
}

}  // namespace

int CTabulonDlg::CurrentShowCommand() const {
    if (IsMinimized()) return platform::kShowMinimized;
    if (IsMaximized()) return platform::kShowMaximized;
    return platform::kShowNormal;
}

void CTabulonDlg::OnPaint() {
    if (theScorereport.scoreFileRequest) {
        ServeScoreFileRequest();
        return;
    }
    if (!IsMinimized()) {
        if (theData.editPending) UpdateForDataShape();
        if (theData.progressState.active) {
            // A long job is running: only its progress bar is drawn again.
            RepaintProgressBar();
            return;
        }
        if (theResult.relayoutRequest) {
            const platform::Rect client = ClientRect();
            LayoutControls(client.Width(), client.Height());
            // Chart, pane and bars all move: nothing the former layout drew may stay.
            EraseClientArea();
            theResult.relayoutRequest = 0;
            chartFrameResized = 1;
            recomputeNeeded = 1;
            ComputeLayoutRects();
        }
        ComputeLayoutRects();
        // The chart's copy paints the result pane after it; before set-up it paints nothing.
        if (!initialised) PaintResultPane();
        BlitChart();
        CheckPageFlags();
        const int showCommand = CurrentShowCommand();
        if (showCommand != storedShowCommand) {
            recomputeNeeded = 1;
            ComputeLayoutRects();
        }
        storedShowCommand = showCommand;
        if (recomputeNeeded) {
            visibleDataOnly = theResult.visibleDataOnly;
            UpdateForDataShape();
            PaintResultPane();
            recomputeNeeded = 0;
            chartPaintEnabled = 1;
            ClearPageFlags();
            RepaintAll();
            const int page = wantedPage;
            if (page != activeTab) {
                ShowTabPage(page);
                activeTab = page;
            }
        }
    } else {
        // Remembered, so that restoring the window recomputes the chart.
        storedShowCommand = platform::kShowMinimized;
    }
    if (theData.scoringRequest) {
        theData.scoringRequest = 0;
        const MainWindowJobs& jobs = TheAnalysisHooks().jobs;
        if (jobs.scoringRuleCount && jobs.scoringRuleCount() >= 1) {
            theScorereport.RunModal(this);
        } else {
            platform::MessageBox("No rules for scoring this set of data can be found./nTry again with other initials.");
        }
    }
    if (theScorereport.scoreFileRequest) ServeScoreFileRequest();
}

// UpdateForDataShape: data_shape.cpp.

void CTabulonDlg::DrawBorderStrips(platform::Canvas& dc, int extra) {
    const platform::Rect client = ClientRect();
    const int w = client.Width();
    const int h = client.Height();
    const int t = plotMarginTop;
    const platform::Brush oldBrush = dc.SelectBrush(marginBrush);
    dc.Rectangle(-1, h - 17, w + extra, h + 1);
    dc.Rectangle(-1, t, 5, h + 1);
    dc.Rectangle(w - 5, t, w + extra, h + 1);
    dc.SelectBrush(oldBrush);
    dc.SetTextColor(platform::kBlack);
}

void CTabulonDlg::RepaintAll() {
    if (!initialised || !HasWindow()) return;
    if (theData.schemeFillRequest) {
        const MainWindowJobs& jobs = TheAnalysisHooks().jobs;
        if (jobs.calculateTheoreticalValues) jobs.calculateTheoreticalValues();
        theData.schemeFillRequest = 0;
    }
    platform::ClientDC dc(*this);
    ComputeLayoutRects();
    chartAreaWidth = chartRect.Width();
    chartAreaHeight = chartRect.Height();
    NameChartCopyAreas(dc, ClientRect(), plotMarginTop, 5, chartRect);
    DrawBorderStrips(dc, 5);
    if (theResult.chartInMainArea) {
        chartImageWidth = chartRect.Width();
        chartImageHeight = chartRect.Height();
    } else {
        chartImageWidth = resultRect.Width();
        chartImageHeight = resultRect.Height();
    }
    theData.schemeReady = 0;
    if (virtualScreenDC) PaintChart(*virtualScreenDC, chartImageWidth, chartImageHeight);
    RestoreUnderProgressBar();  // the copy below covers only what the virtual screen holds
    if (theResult.chartInMainArea) {
        dc.CopyFrom(chartRect.left, chartRect.top, chartAreaWidth, chartAreaHeight, virtualScreenBitmap, 0, 0);
    } else {
        dc.StretchFrom(chartRect.left, chartRect.top, chartAreaWidth, chartAreaHeight, virtualScreenBitmap, 0, 0,
                       chartImageWidth, chartImageHeight);
    }
    EraseBesideChart(dc);
    // After the chart: the pane's frame reaches two rows beyond the pane, onto the chart's edge.
    PaintResultPane();
    chartFrameResized = 0;
}

void CTabulonDlg::BlitChart() {
    if (!initialised || !HasWindow()) return;
    platform::ClientDC dc(*this);
    chartAreaWidth = chartRect.Width();
    chartAreaHeight = chartRect.Height();
    if (theResult.actualScreenSize) {
        theResult.imageWidth = chartAreaWidth;
        theResult.imageHeight = chartAreaHeight;
        if (theResult.HasWindow()) theResult.UpdateData(false);
    }
    RestoreUnderProgressBar();
    NameChartCopyAreas(dc, ClientRect(), plotMarginTop, 1, chartRect);
    DrawBorderStrips(dc, 1);
    const bool sameSize = chartImageWidth == chartAreaWidth && chartImageHeight == chartAreaHeight;
    if (sameSize || chartImageWidth <= 0 || chartImageHeight <= 0) {
        dc.CopyFrom(chartRect.left, chartRect.top, chartAreaWidth, chartAreaHeight, virtualScreenBitmap, 0, 0);
    } else {
        dc.StretchFrom(chartRect.left, chartRect.top, chartAreaWidth, chartAreaHeight, virtualScreenBitmap, 0, 0,
                       chartImageWidth, chartImageHeight);
    }
    EraseBesideChart(dc);
    PaintResultPane();
}

void CTabulonDlg::PaintChart(platform::Canvas& dc, int width, int height) {
    if (!chartPaintEnabled) return;
    chartPaintEnabled = 0;
    const PlotViewRanges view{theXyview.xMin, theXyview.xMax, theXyview.yMin,
                              theXyview.yMax, theXyview.zMin, theXyview.zMax};
    auto background = [&] {
        dc.FillRect(platform::Rect{-2, -2, plotFrameRight + 5, plotFrameBottom + 5}, whiteBrush);
    };
    SetChartFrame(width, height, theXyview.autozoom, view);
    background();
    PaintChartFrame(dc);
    PaintVirtualScreen(dc);
    if (theLegend.showFormulas) {
        const int widest = MeasureFormulaLegend(dc);
        const int p = theLegend.formulaAlign;
        const int room = plotRight - plotLeft - widest - 30;
        const int x = room > 0 ? plotLeft + static_cast<int>(std::trunc(p * 0.01 * room)) : plotLeft;
        legendBlockLines = PaintLegendBlock(dc, x);
        if (!theLegend.overlap) {
            // The block gets a strip of its own and the chart is painted again below it.
            SetChartFrame(width, height, theXyview.autozoom, view);
            background();
            PaintChartFrame(dc);
            legendBlockLines = PaintLegendBlock(dc, x);
            ReserveLegendSpace(dc, legendBlockLines);
            const platform::Pen line = theChart.borderWidth >= 1
                                           ? platform::Pen(platform::PenStyle::Solid, theChart.borderWidth,
                                                           theChart.borderLineColor)
                                           : nullPen;
            const platform::Pen oldPen = dc.SelectPen(line);
            dc.MoveTo(plotLeft, plotTop);
            dc.LineTo(plotRight, plotTop);
            dc.SelectPen(oldPen);
            PaintVirtualScreen(dc);
        }
    }
    if (theXyview.autozoom) {
        theXyview.xMin = plotXMin;
        theXyview.xMax = plotXMax;
        theXyview.yMin = plotYMin;
        theXyview.yMax = plotYMax;
        theXyview.zMin = plotZMin;
        theXyview.zMax = plotZMax;
        if (theXyview.HasWindow()) theXyview.UpdateData(false);
    }
    chartPaintEnabled = 1;
}

void CTabulonDlg::PaintVirtualScreen(platform::Canvas& dc) {
    savedPlotRect = PlotRectSave{plotLeft, plotRight, plotBottom, plotTop};
    const platform::WaitCursor wait;
    theResultTables.Clear();
    theResultDocument.Clear();
    coefficientsText.clear();
    legendMarks.clear();
    legendTexts.clear();
    formulaViewPairs = {};
    theResult.fittedFormulasText.clear();
    theCalculator.BeginRepaint(dataArguments);

    const ChartPainters& p = TheAnalysisHooks().painters;
    const bool correlationPainted = p.correlationView && p.correlationView(dc, correlationSeries) == 1;
    if (!correlationPainted && dataSeriesCount > 0) {
        const int a = dataArguments;
        const int v = dataValues;
        if (a == 0) {
            bool done = false;
            if (v == 2 && theXyview.colorMapMode == 0 && theXyview.show3D == 0) {
                done = Run(theXyview.histogram ? p.distributionOfOneVariable : p.oneValueView, dc) != 0;
            }
            if (!done && !Run(p.distributionOfTwoVariables, dc) && !Run(p.distributionOfTwoVariablesFlat, dc)) {
                Run(theXyview.histogram && !theXyview.show3D ? p.distributionOfOneVariable : p.oneValueView, dc);
            }
        } else if (a == 1) {
            Run(p.functionOfOneArgument, dc);
        } else {
            const multistat& m = theMultistat;
            if (v >= 1 && (m.plane || m.parabolic || m.nearNeighbors || m.bestPolynome || m.bestPolynomeAuto)) {
                if (p.multiArgumentApproximationReport) p.multiArgumentApproximationReport();
            }
            if (v == 1 && (m.userDefinedFormula || m.unitaryArgument || m.bestPolynome || m.bestPolynomeAuto)) {
                Run(p.multivariantFormulaFit, dc);
                Run(p.unifiedArgumentFit, dc);
                Run(p.dataSeries, dc);
                Run(p.axes, dc);
            } else if (view3D) {
                if (!Run(p.xyCorrelation, dc)) Run(p.twoArgument3D, dc);
            } else {
                if (!Run(p.twoArgumentMap, dc)) Run(p.twoArgumentPoints, dc);
                Run(p.xyCorrelation, dc);
            }
        }
    }
    theCalculator.EndRepaint();
}
