#include "statistics/distribution2_page.h"

#include <algorithm>

#include "widgets/owner_button.h"
#include "widgets/page_look.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
distribution2 theDistribution2;

namespace {

using platform::ControlKind;
using D = distribution2;

constexpr unsigned kSpin = platform::kStyleAutoBuddy | platform::kStyleAlignRight;

platform::DialogTemplate TwoVariablesTemplate() {
    platform::DialogTemplate t;
    t.id = D::kTemplateId;
    t.caption = "Distribution of two values";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {D::kIntervalsGroup, ControlKind::GroupBox, "Intervals:", 6, 4, 120, 70},
        {D::kFirstEdit, ControlKind::Edit, "", 14, 18, 36, 12},
        {D::kFirstSpin, ControlKind::Spin, "", 50, 18, 10, 12, kSpin},
        {D::kSecondEdit, ControlKind::Edit, "", 14, 36, 36, 12},
        {D::kSecondSpin, ControlKind::Spin, "", 50, 36, 10, 12, kSpin},
        {D::kBothSpin, ControlKind::Spin, "", 66, 26, 10, 14},
        {D::kAutoIntervalsCheck, ControlKind::CheckBox, "Auto intervals", 14, 54, 100, 12},
        {D::kMaximumDensityCheck, ControlKind::CheckBox, "Maximum density", 6, 82, 120, 12},
        {D::kOkButton, ControlKind::Button, "Ok", 150, 128, 44, 16, platform::kStyleOwnerDraw | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(TwoVariablesTemplate());

}  // namespace

distribution2::distribution2() : Dialog(kTemplateId) {
    RouteCommand(kOkButton, &distribution2::OnOk);
    RouteCommand(kMaximumDensityCheck, &distribution2::OnMaximumDensity);
    RouteCommand(kAutoIntervalsCheck, &distribution2::OnAutoIntervals);
    Route(kFirstSpin, platform::Notification::SpinDelta, &distribution2::OnSpinFirstIntervals);
    Route(kSecondSpin, platform::Notification::SpinDelta, &distribution2::OnSpinSecondIntervals);
    Route(kBothSpin, platform::Notification::SpinDelta, &distribution2::OnSpinBothIntervals);
}

void distribution2::DoDataExchange(platform::Exchange& dx) {
    dx.Int(kFirstEdit, firstIntervals);
    dx.Int(kSecondEdit, secondIntervals);
    dx.Check(kAutoIntervalsCheck, autoIntervals);
    dx.Check(kMaximumDensityCheck, maximumDensity);
}

bool distribution2::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    UpdateData(false);
    OnAutoIntervals();
    Invalidate();
    return true;
}

int distribution2::SpinStep(int count, int delta) {
    if (delta < 0) return count < INT32_MAX ? count + 1 : count;
    return std::max(count - 1, kMinSpinIntervals);
}

// A typed value that does not read keeps the fields; the change is still reported.
void distribution2::OnOk() {
    if (HasWindow()) UpdateData(true);
    changed = 1;
    platform::PostRepaintRequest();
}

void distribution2::OnAutoIntervals() {
    if (HasWindow()) UpdateData(true);
    EnableIntervalControls();
    changed = 1;
    platform::PostRepaintRequest();
}

void distribution2::OnSpinFirstIntervals(platform::Notify& n) {
    firstIntervals = SpinStep(firstIntervals, n.delta);
    UpdateData(false);
    OnOk();
}

void distribution2::OnSpinSecondIntervals(platform::Notify& n) {
    secondIntervals = SpinStep(secondIntervals, n.delta);
    UpdateData(false);
    OnOk();
}

void distribution2::OnSpinBothIntervals(platform::Notify& n) {
    secondIntervals = SpinStep(secondIntervals, n.delta);
    firstIntervals = secondIntervals;
    UpdateData(false);
    OnOk();
}

void distribution2::EnableIntervalControls() {
    if (!HasWindow()) return;
    for (int id : {kFirstEdit, kSecondEdit, kFirstSpin, kSecondSpin, kBothSpin}) Control(id).Enable(autoIntervals == 0);
}

bool distribution2::OnCtlColor(int controlId, platform::CtlColor& out) {
    out.brush = kPageColor;
    switch (controlId) {
        case kFirstEdit:
        case kSecondEdit:
            out.hasText = true;
            out.text = kPageColor;
            out.back = kEditColor;
            out.brush = kEditColor;
            break;
        case kAutoIntervalsCheck:
        case kMaximumDensityCheck:
        case kIntervalsGroup:
            out.hasText = true;
            out.text = kLabelColor;
            out.back = kPageColor;
            break;
        default:
            break;
    }
    return true;
}

bool distribution2::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas || item.controlId != kOkButton) return false;
    DrawPageButton(item, 0x14FF14, 0x0A6E0A);
    return true;
}
