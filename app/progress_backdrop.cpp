// The progress bar is drawn straight onto the window's picture, which keeps whatever is drawn
// on it. So the pixels under the bar are kept when it first appears and put back when the
// chart is shown again, or, when nothing repaints the window after the work, by a short check
// that finds no new progress since the bar's last draw.
#include <QTimer>
#include <QWidget>

#include "app/tabulon_dlg.h"
#include "data/data_page.h"

namespace {

// After this long without a new draw and with no progress waiting, the work is over.
constexpr int kProgressIdleMs = 300;

// The bar's frame with its 3-pixel pen and the message, in client coordinates.
platform::Rect BarArea(int chartWidth, int chartHeight) {
    return platform::Rect{chartWidth - 349, chartHeight - 61, chartWidth - 41, chartHeight - 27};
}

}  // namespace

void CTabulonDlg::KeepUnderProgressBar() {
    if (!HasWindow()) return;
    platform::Bitmap& surface = Surface();
    const QRect bounds(0, 0, surface.Width(), surface.Height());
    const platform::Rect a = BarArea(chartAreaWidth, chartAreaHeight);
    const QRect area = QRect(a.left, a.top, a.Width(), a.Height()).intersected(bounds);
    const platform::Rect wanted{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    if (progressBarUp && wanted == underProgressBarRect) return;  // still over the first backdrop
    if (progressBarUp) RestoreUnderProgressBar();                 // the chart area moved meanwhile
    underProgressBarRect = wanted;
    underProgressBar = area.isEmpty() ? QImage() : surface.Image().copy(area);
    progressBarUp = true;
}

void CTabulonDlg::RestoreUnderProgressBar() {
    if (!progressBarUp) return;
    progressBarUp = false;
    if (underProgressBar.isNull() || !HasWindow()) return;
    platform::ClientDC dc(*this);
    dc.Changes(underProgressBarRect);
    dc.CopyFrom(underProgressBarRect.left, underProgressBarRect.top, underProgressBar.width(),
                underProgressBar.height(), underProgressBar, 0, 0);
    underProgressBar = QImage();
}

void CTabulonDlg::PaintOnClientArea(const std::function<void(platform::Canvas&)>& draw) {
    if (!HasWindow()) return;
    KeepUnderProgressBar();
    {
        // Not a ClientDC: that would mark the whole window for painting, and the bar is drawn
        // at every chart paint; only the bar's own area is shown again below.
        platform::Canvas dc(Surface());
        draw(dc);
    }
    QWidget* client = ClientWidget();
    if (!client) return;
    const platform::Rect a = BarArea(chartAreaWidth, chartAreaHeight);
    const QRect area(a.left, a.top, a.Width(), a.Height());
    // Shown now: the loops that draw the bar may not return to the event loop for a while.
    if (client->isVisible())
        client->repaint(area);
    else
        client->update(area);
    const unsigned stamp = ++progressBarStamp;
    QTimer::singleShot(kProgressIdleMs, client, [this, stamp] {
        if (stamp != progressBarStamp || theData.progressState.active) return;
        RestoreUnderProgressBar();
    });
}
