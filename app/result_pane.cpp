// The result pane beside (or under) the chart. The document's painting and the scrolling
// come with the pane's own work; until then the pane is shown empty.
#include "app/tabulon_dlg.h"

void CTabulonDlg::PaintResultPane() {
    if (IsMinimized() || !HasWindow() || !Control(1000).IsValid() || resultRect.IsEmpty()) return;
    platform::ClientDC dc(*this);
    dc.FillRect(resultRect, whiteColor);
}
