// The result pane beside (or under) the chart: the lines the analyses wrote into the result
// document, scrolled by two bars whose positions 0..100 are percentages of the part of the
// document that does not fit. Only the window of the document that the pane shows is ever
// painted, so a long report costs no more than a short one.
#include <algorithm>
#include <cmath>

#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/result_document.h"
#include "documents/result_page.h"

namespace {

constexpr platform::ColorRef kPaneOuterFrame = 0x4BFFFF;
constexpr platform::ColorRef kPaneInnerFrame = 0xF4E3C1;
constexpr int kPaneFrameInside = 3;                     // the frame's rows and columns inside the pane
constexpr int kPaneTopMargin = kPaneFrameInside + 2;   // and two clear rows below them

void Outline(platform::Canvas& dc, int left, int right, int top, int bottom, int width, platform::ColorRef colour) {
    const platform::Point corners[5] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}, {left, bottom}};
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, width, colour));
    dc.Polyline(corners, 5);
    dc.SelectPen(old);
}

// Offset of the window into a document `size` long shown `shown` long at bar position p.
int ScrollOffset(int size, int shown, int p) {
    if (size <= shown) return 0;
    return static_cast<int>(std::trunc((static_cast<double>(size) - shown) * p * 0.01));
}

}  // namespace

void CTabulonDlg::PaintResultPane() {
    if (IsMinimized() || !HasWindow() || !Control(kTabControl).IsValid()) return;
    resultPaneRect = PaneRectSave{resultRect.left, resultRect.right, resultRect.bottom, resultRect.top};
    const int W = resultRect.right - resultRect.left;
    const int H = resultRect.bottom - resultRect.top;

    platform::ClientDC dc(*this);
    // The pane with its frame lines, which reach a little beyond it.
    dc.Changes({resultRect.left - 4, resultRect.top - 4, resultRect.right + 4, resultRect.bottom + 4});
    dc.SetBkMode(platform::BkMode::Transparent);

    // The correlation table rewrites the document: it comes before measuring, so the pane
    // never shows the size of the previous paint's lines.
    if (correlationTableReport) correlationTableReport(dc);

    resultDocument& doc = theResultDocument;
    doc.leftMargin = 15;
    // The frame's lines cover the pane's top rows: a report that starts on its first line
    // starts below them, and no scroll position brings its top under the frame.
    doc.topMargin = kPaneTopMargin;
    // The series marks at tab 10 would reach under the frame's left columns.
    doc.markInset = kPaneFrameInside;
    doc.Measure(dc, theResult.font);
    platform::Control hBar = Control(kResultHScroll);
    platform::Control vBar = Control(kResultVScroll);
    if (doc.width < W) {
        doc.width = W;
        hBar.SetPos(0);
    }
    if (doc.height < H) {
        doc.height = H;
        vBar.SetPos(0);
    }
    doc.scrollX = ScrollOffset(doc.width, W, hBar.Pos());
    doc.scrollY = ScrollOffset(doc.height, H, vBar.Pos());
    if (W <= 0 || H <= 0) return;

    if (resultPaneBitmap.Width() != W || resultPaneBitmap.Height() != H) {
        if (!resultPaneBitmap.Resize(W, H)) return;
    }
    {
        platform::Canvas pane(resultPaneBitmap);
        pane.SetBkMode(platform::BkMode::Transparent);
        PaintResultFrame(pane);
    }
    dc.CopyFrom(resultRect.left, resultRect.top, W, H, resultPaneBitmap, 0, 0);

    const PaneRectSave& r = resultPaneRect;
    Outline(dc, r.left, r.right, r.top, r.bottom, 4, kPaneOuterFrame);
    Outline(dc, r.left + 2, r.right - 2, r.top + 2, r.bottom - 2, 2, kPaneInnerFrame);
}

void CTabulonDlg::PaintResultFrame(platform::Canvas& dc) {
    const platform::Brush oldBrush = dc.SelectBrush(whiteBrush);
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, platform::kWhite));
    dc.Rectangle(0, 0, dc.Width(), dc.Height());
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    resultDocument& doc = theResultDocument;
    doc.PaintWindow(dc, theResult.font, doc.scrollX, doc.scrollY, dc.Width(), dc.Height());
}

void CTabulonDlg::OnVScroll(int code, int pos, int controlId) {
    if (controlId != kResultVScroll) return;
    const resultDocument& doc = theResultDocument;
    const int excess = doc.height - (resultPaneRect.bottom - resultPaneRect.top);
    // One line step scrolls about one text line.
    int step = 100;
    if (excess > doc.symbolCell) step = std::max(1, static_cast<int>(std::trunc(doc.symbolCell * 100.0 / excess)));
    platform::Control bar = Control(kResultVScroll);
    int p = bar.Pos();
    switch (code) {
        case platform::kScrollLineUp: p = std::clamp(p - step, 0, 100); break;
        case platform::kScrollLineDown: p = std::clamp(p + step, 0, 100); break;
        case platform::kScrollThumbPosition: p = pos; break;
        default: break;  // page steps, tracking, top, bottom and end leave the bar where it is
    }
    bar.SetPos(p);
    PaintResultPane();
}

void CTabulonDlg::OnHScroll(int code, int pos, int controlId) {
    if (controlId != kResultHScroll) return;
    const resultDocument& doc = theResultDocument;
    const int excess = doc.width - (resultPaneRect.right - resultPaneRect.left);
    // One line step scrolls about half a pane width.
    int step = 15;
    if (excess > 0) {
        const long long paneWidth = resultPaneRect.right - resultPaneRect.left;
        step = static_cast<int>(std::clamp<long long>(paneWidth * 50 / excess, 5, 20));
    }
    platform::Control bar = Control(kResultHScroll);
    int p = bar.Pos();
    switch (code) {
        case platform::kScrollLineUp: p = std::max(p - step, 0); break;
        case platform::kScrollLineDown: p = std::min(p + step, 100); break;
        case platform::kScrollThumbPosition: p = pos; break;
        default: break;
    }
    bar.SetPos(p);
    PaintResultPane();
}
