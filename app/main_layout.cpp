// The tabs and the layout of the main window: which page a tab shows, where the tab control,
// the pages, the data sheet, the scroll bars, the chart and the result pane go.
#include <algorithm>
#include <cmath>
#include <string>

#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tab_icons.h"
#include "app/tabulon_dlg.h"
#include "charts/xyview_page.h"
#include "data/data_edit.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/xystatistic_page.h"

namespace {

// With the result text in the main area: the height of the pane's horizontal bar, and the
// rows between the pane's bottom edge and the bar (the frame reaches 2 rows below the pane).
constexpr int kSwappedBarHeight = 20;
constexpr int kSwappedBarGap = 4;

// The label colour of the tabs that are not the current one.
constexpr platform::ColorRef kTabTextUnselected = 0x646464;

// The page of the single-argument scheme chosen on the scheme page; the scheme page itself
// when none is chosen.
int SingleArgumentSchemePage() {
    if (theXystatistic.constructorStyle) return kPageConstructor;
    if (theXystatistic.customFormulas) return kPageApproxcustom;
    if (theXystatistic.userFormula) return kPageUseruf;
    if (theXystatistic.fromListOfFormulas) return kPageCollection;
    if (theXystatistic.peaksRevealing) return kPageSinaldlg;
    return kPageXystatistic;
}

}  // namespace

int CTabulonDlg::TabToPage(int tab) {
    if (tab < 0 || tab > pageCount - 2) return kPageData;
    if (theMultistat.userDefinedFormula || theMultistat.nearNeighbors || theMultistat.unitaryArgument) view3D = 0;
    switch (tab) {
        case kTabData: return kPageData;
        case kTabLegend: return kPageLegend;
        case kTabChart: return kPageChart;
        case kTabResults: return kPageResult;
        case kTabCalculator: return kPageCalculator;
        default: break;
    }
    const bool hasSeries = !theData.series.empty();
    const int a = hasSeries ? theData.series[0].nArguments : 0;
    const int v = hasSeries ? theData.series[0].nValues : 0;
    if (tab == kTabView) {
        if (!hasSeries) return kPageXyview;
        if (a == 2 && v >= 1 && view3D) return kPageD3view;
        if (a == 0 && v == 2 && view3D) return kPageD3view;
        return kPageXyview;
    }
    if (tab == kTabStatistics) {
        if (a == 0 && v == 2) {
            if (theXyview.twoVariableView || theXyview.mode3D) return kPageDistribution2;
            return theXyview.histogram ? kPageDistrimution : kPageXystatistic;
        }
        if (a == 0 && !theXyview.histogram) return SingleArgumentSchemePage();
        if (a == 0 && v == 1) return kPageDistrimution;
        if (v == 0) return kPageXystatistic;
        if (a == 1) return SingleArgumentSchemePage();
        if (a >= 2) {
            if (theMultistat.userDefinedFormula || theMultistat.unitaryArgument) return kPageUseruf;
            return theMultistat.bestPolynome ? kPageConstructorMulti : kPageMultistat;
        }
        return kPageDistrimution;
    }
    return kPageData;
}

int CTabulonDlg::CurrentTab() const { return Control(kTabControl).CurSel(); }

void CTabulonDlg::OnTabSelChanging() {}

void CTabulonDlg::OnTabSelChange() {
    const int page = TabToPage(CurrentTab());
    recomputeNeeded = 0;
    ShowTabPage(page);
    activeTab = page;
}

void CTabulonDlg::ShowTabPage(int page) {
    if (page < 0 || page >= pageCount || !pages[page].page) return;
    const int old = activeTab;
    activeTab = page;
    PumpWaitingMessages();
    if (old >= 0 && old < pageCount && old != page && pages[old].page) pages[old].page->Show(false);
    PumpWaitingMessages();
    pages[page].page->Show(true);
}

void CTabulonDlg::ComputeLayoutRects() {
    const platform::Rect client = ClientRect();
    const int W = client.Width();
    const int H = client.Height();
    const platform::Rect tab = Control(kTabControl).Bounds();
    const int T = tab.Height();
    const int TW = tab.Width();
    const int V = Control(kResultVScroll).Bounds().Width();
    const int S = Control(kResultHScroll).Bounds().Height();
    const bool sheetShown = theDataEdit.HasWindow() && theDataEdit.IsVisible();
    if (!theResult.chartInMainArea) {
        // The pane's horizontal bar lies between the pane (with its frame) and the tab control.
        resultRect = platform::Rect{7, 1, W - 10 - V, H - S - T - 20 - kSwappedBarGap};
        chartRect = platform::Rect{TW + 7, H - 20 - T + 5, W - 10, H - 20};
    } else {
        resultRect = platform::Rect{TW + 7, H - 20 - T, W - 10 - V, H - 20 - S};
        const int right = sheetShown ? ScreenToClient(platform::Point{theDataEdit.WindowRect().left, 0}).x : W;
        chartRect = platform::Rect{7, 1, right, H - T - 20};
    }
    sideWidth = sheetShown ? theDataEdit.WindowRect().Width() : 0;
}

void CTabulonDlg::LayoutControls(int cx, int cy) {
    if (minimumSizeGuard) {
        // A window made smaller than the pages need is held at a minimum size by the window
        // system (growing it from here would raise size message after size message).
        SetMinimumClientSize(tabAreaWidth + 101, tabAreaHeight + 351);
        cx = std::max(cx, tabAreaWidth + 101);
        cy = std::max(cy, tabAreaHeight + 351);
    }
    platform::Control tabs = Control(kTabControl);
    if (!tabs.IsValid()) return;
    tabTop = cy - tabAreaHeight - tabItemHeight - 20;
    tabs.Move(5, tabTop, tabAreaWidth, tabAreaHeight + tabItemHeight);
    if (initialised) {
        for (const pageRecord& record : pages) {
            if (record.page) record.page->Move(10, tabTop + tabItemHeight + 10);
        }
        if (activeTab >= 0 && activeTab < pageCount && pages[activeTab].page) pages[activeTab].page->Invalidate();
        PlaceSideWindow();
        tabs.Invalidate();
    }
    sideWidth = theDataEdit.HasWindow() && theDataEdit.IsVisible() ? theDataEdit.WindowRect().Width() : 0;
    if (theResult.chartInMainArea) {
        Control(kResultVScroll).Move(cx - 25, cy - tabAreaHeight - 5, 20, tabAreaHeight - 10);
        Control(kResultHScroll).Move(tabAreaWidth + 5, cy - 33, cx - tabAreaWidth - 33, 16);
    } else {
        // Both bars keep to the pane, above the tab control and the chart strip beside it.
        const int paneBottom = tabTop - kSwappedBarHeight - kSwappedBarGap;
        Control(kResultVScroll).Move(cx - sideWidth - 25, 1, 20, paneBottom - 1);
        Control(kResultHScroll).Move(2, paneBottom + kSwappedBarGap - 1, cx - sideWidth - 35, kSwappedBarHeight);
    }
    Invalidate();
}

void CTabulonDlg::EraseClientArea() {
    if (!HasWindow() || !HasSurface() || !ClientWidget()) return;
    progressBarUp = false;  // what lay under the bar goes too
    platform::ClientDC dc(*this);
    const platform::Bitmap& surface = Surface();
    dc.FillRect(platform::Rect{0, 0, surface.Width(), surface.Height()},
                platform::FromQColor(ClientWidget()->palette().color(QPalette::Window)));
}

void CTabulonDlg::EraseBesideChart(platform::Canvas& dc) {
    // With the data sheet docked the chart ends at the sheet: what a wider chart left to its
    // right (seen around the sheet) goes, down to the window's own background.
    const int right = ClientRect().Width() - 5;
    if (!theResult.chartInMainArea || chartRect.right >= right || !ClientWidget()) return;
    dc.FillRect(platform::Rect{chartRect.right, chartRect.top, right, chartRect.bottom},
                platform::FromQColor(ClientWidget()->palette().color(QPalette::Window)));
}

void CTabulonDlg::PlaceSideWindow() {
    if (!theDataEdit.HasWindow() || !HasWindow()) return;
    const platform::Rect window = WindowRect();
    const int w = static_cast<int>(std::trunc(window.Width() * sideWidthFraction));
    const int tabHeight = Control(kTabControl).Bounds().Height();
    theDataEdit.Move(window.right - w + 15, window.top + 48, w - 25, window.Height() - tabHeight - 78);
    theDataEdit.RememberPlace();
}

bool CTabulonDlg::OnDrawItem(platform::DrawItem& item) {
    if (item.controlId != kTabControl || item.item < 0 || item.item >= kTabCount || !item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    const platform::Rect r = item.rect;
    const int i = item.item;
    dc.FillRect(r, item.selected ? tabColors[i][0] : kTabFaceUnselected);
    const int iconTop = r.top + (r.Height() - kTabIconSize) / 2;
    {
        QPainter painter(&dc.Image());
        painter.drawImage(r.left + 3, iconTop, tabImages[i]);
    }
    dc.SelectFont(tabFont);
    dc.SetBkMode(platform::BkMode::Transparent);
    dc.SetTextColor(item.selected ? tabColors[i][1] : kTabTextUnselected);
    // A row too narrow for every full label gives the tab less than its text: cut it with dots.
    const int textLeft = r.left + 3 + kTabIconSize + 4;
    const int room = r.right - 2 - textLeft;
    std::string text = item.text;
    platform::Size extent = dc.GetTextExtent(text);
    while (extent.cx > room && !text.empty()) {
        text.pop_back();
        while (!text.empty() && text.back() == ' ') text.pop_back();
        extent = dc.GetTextExtent(text + "..");
        if (extent.cx <= room || text.empty()) text += "..";
    }
    dc.TextOut(textLeft, r.top + (r.Height() - extent.cy) / 2, text);
    return true;
}
