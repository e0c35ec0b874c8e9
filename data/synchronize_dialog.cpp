#include "data/synchronize_dialog.h"

#include <climits>

#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"

synchronize theSynchronize;

namespace {

using platform::ControlKind;

constexpr unsigned kSpinStyle = platform::kStyleAutoBuddy | platform::kStyleAlignRight;

platform::DialogTemplate SynchronizeTemplate() {
    platform::DialogTemplate t;
    t.id = synchronize::kTemplateId;
    t.caption = "Synchronize";
    t.cx = 200;
    t.cy = 62;
    auto& c = t.controls;
    c.push_back({synchronize::kLabel, ControlKind::Static, "Update file every", 8, 10, 64, 10});
    c.push_back({synchronize::kMinutesEdit, ControlKind::Edit, "", 74, 8, 32, 13});
    c.push_back({synchronize::kMinutesSpin, ControlKind::Spin, "", 106, 8, 10, 13, kSpinStyle});
    c.push_back({synchronize::kMinutesLabel, ControlKind::Static, "minutes", 120, 10, 34, 10});
    c.push_back({synchronize::kSecondsEdit, ControlKind::Edit, "", 74, 26, 32, 13});
    c.push_back({synchronize::kSecondsSpin, ControlKind::Spin, "", 106, 26, 10, 13, kSpinStyle});
    c.push_back({synchronize::kSecondsLabel, ControlKind::Static, "seconds", 120, 28, 34, 10});
    c.push_back({synchronize::kDoButton, ControlKind::Button, "Do", 158, 7, 36, 15, platform::kStyleOwnerDraw});
    c.push_back({synchronize::kCancelButton, ControlKind::Button, "Cancel", 158, 26, 36, 15,
                 platform::kStyleOwnerDraw});
    c.push_back({synchronize::kHiddenOkButton, ControlKind::Button, "Ok", 8, 44, 30, 14,
                 platform::kStyleDefault | platform::kStyleHidden});
    return t;
}

const platform::DialogTemplateRegistration registration(SynchronizeTemplate());

}  // namespace

int SyncPeriodMs(long long minutes, long long seconds) {
    // Typed values go through unchecked: clamp before multiplying so nothing overflows.
    constexpr long long kLimit = INT_MAX / 1000;
    if (minutes > kLimit) minutes = kLimit;
    if (minutes < -kLimit) minutes = -kLimit;
    if (seconds > kLimit) seconds = kLimit;
    if (seconds < -kLimit) seconds = -kLimit;
    long long ms = (minutes * 60 + seconds) * 1000;
    // A period of zero or less would fire without pause.
    if (ms < 1000) ms = 1000;
    if (ms > INT_MAX) ms = INT_MAX;
    return static_cast<int>(ms);
}

synchronize::synchronize() : Dialog(kTemplateId) {
    RouteCommand(kDoButton, &synchronize::OnDo);
    Route(kMinutesSpin, platform::Notification::SpinDelta, &synchronize::OnDeltaPosMinutes);
    Route(kSecondsSpin, platform::Notification::SpinDelta, &synchronize::OnDeltaPosSeconds);
}

bool synchronize::OnInitDialog() {
    SetDefaultButton(kHiddenOkButton);
    Control(kHiddenOkButton).Show(false);
    UpdateData(false);
    Invalidate();
    return true;
}

void synchronize::DoDataExchange(platform::Exchange& dx) {
    dx.Int(kMinutesEdit, minutes);
    dx.Int(kSecondsEdit, seconds);
}

void synchronize::OnDeltaPosMinutes(platform::Notify& n) {
    if (n.delta < 0) {
        if (minutes < INT32_MAX) ++minutes;
    } else {
        --minutes;
    }
    if (minutes < 0) minutes = 0;
    UpdateData(false);
}

void synchronize::OnDeltaPosSeconds(platform::Notify& n) {
    if (n.delta < 0) {
        if (seconds < INT32_MAX) ++seconds;
    } else {
        --seconds;
    }
    if (seconds < 0) {
        seconds = 0;
        if (minutes > 0) --minutes;
    }
    if (seconds >= 60) {
        seconds = 0;
        if (minutes < INT32_MAX) ++minutes;
    }
    UpdateData(false);
}

void synchronize::OnDo() {
    if (!UpdateData(true)) return;
    EndDialog(platform::kOk);
}

void synchronize::OnCancelShared() { EndDialog(platform::kCancel); }

void synchronize::OnUpdateDataShared() { UpdateData(true); }

bool synchronize::OnDrawItem(platform::DrawItem& item) {
    return DrawActionAndCancelButtons(item, kDoButton, 0x14FF14, 0x0A6E0A, kCancelButton);
}

void synchronize::OnPaint() { FillPageBackground(*this, kDialogBrush); }

ControlColors synchronize::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kLabel:
        case kMinutesLabel:
        case kSecondsLabel:
            return TextOn(kTextColor, kDialogBrush, kDialogBrush);
        case kMinutesEdit:
        case kSecondsEdit:
            return TextOn(kTextColor, kFieldBack, kFieldBack);
        default:
            return PageBrushOnly(kDialogBrush);
    }
}
