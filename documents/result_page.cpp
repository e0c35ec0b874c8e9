#include "documents/result_page.h"

#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
result theResult;

namespace {

using platform::ControlKind;

platform::DialogTemplate ResultTemplate() {
    platform::DialogTemplate t;
    t.id = result::kTemplateId;
    t.caption = "Results";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {result::kLayoutButton, ControlKind::Button, "", 10, 8, 40, 30, platform::kStyleOwnerDraw},
        {result::kVisibleDataCheck, ControlKind::CheckBox, "Statistics is only for data visible at screen", 10, 44,
         180, 10},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(ResultTemplate());

}  // namespace

result::result() : Dialog(kTemplateId) {
    font.height = 14;
    font.weight = 500;
    font.faceName = "Ariel";
    RouteCommand(kLayoutButton, &result::OnToggleResultText);
    RouteCommand(kVisibleDataCheck, &result::OnStatisticsVisibleOnly);
}

bool result::OnInitDialog() {
    UpdateData(false);
    return true;
}

void result::DoDataExchange(platform::Exchange& dx) { dx.Check(kVisibleDataCheck, visibleDataOnly); }

void result::OnStatisticsVisibleOnly() {
    UpdateData(true);
    Control(kDigitsEdit).Enable(autoDigits == 0);
    Control(kDigitsSpin).Enable(autoDigits == 0);
    changed = 1;
    platform::PostRepaintRequest();
}

void result::ShowVisibleDataOption(bool show) {
    platform::Control check = Control(kVisibleDataCheck);
    check.Show(show);
    check.Enable(show);
    if (HasWindow()) UpdateData(false);
}

void result::OnToggleResultText() {
    chartInMainArea = chartInMainArea ? 0 : 1;
    changed = 1;
    relayoutRequest = 1;
    platform::PostRepaintRequest();
}

bool result::OnDrawItem(platform::DrawItem& item) {
    if (item.controlId != kLayoutButton || !item.canvas) return false;
    // A small picture of the window: the chart box and the text box, in the order in use.
    platform::Canvas& dc = *item.canvas;
    const platform::Rect r = item.rect;
    dc.FillRect(r, platform::Rgb(240, 220, 240));
    const int w = r.Width(), h = r.Height();
    const int split = r.top + h * 2 / 3;
    const platform::Rect big{r.left + 3, r.top + 3, r.right - 3, split};
    const platform::Rect strip{r.left + w / 3, split + 2, r.right - 3, r.bottom - 3};
    const platform::Rect& chartBox = chartInMainArea ? big : strip;
    const platform::Rect& textBox = chartInMainArea ? strip : big;
    dc.FillRect(chartBox, platform::kWhite);
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, platform::Rgb(0, 64, 128)));
    dc.MoveTo(chartBox.left + 2, chartBox.bottom - 3);
    dc.LineTo(chartBox.left + chartBox.Width() / 2, chartBox.top + 3);
    dc.LineTo(chartBox.right - 2, chartBox.top + chartBox.Height() / 2);
    dc.FillRect(textBox, platform::Rgb(255, 255, 230));
    for (int y = textBox.top + 3; y < textBox.bottom - 2; y += 4) {
        dc.MoveTo(textBox.left + 3, y);
        dc.LineTo(textBox.right - 3, y);
    }
    if (item.pressed) {
        dc.SelectBrush(platform::Brush::Null());
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
    return true;
}
