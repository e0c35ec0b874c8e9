#include "fitting/useruf_page.h"

#include "platform/dialog_template.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
useruf theUseruf;

namespace {

using platform::ControlKind;

platform::DialogTemplate UserFormulaTemplate() {
    platform::DialogTemplate t;
    t.id = useruf::kTemplateId;
    t.caption = "User formula";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {useruf::kFormulaLabel, ControlKind::Static, "Formula: y=", 10, 10, 60, 10},
        {useruf::kPlusConstCheck, ControlKind::CheckBox, "+ const", 10, 26, 60, 12},
        {useruf::kRunFittingButton, ControlKind::Button, "Run fitting", 10, 120, 60, 16},
        {useruf::kStopButton, ControlKind::Button, "Stop", 80, 120, 60, 16,
         platform::kStyleHidden | platform::kStyleDisabled},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(UserFormulaTemplate());

}  // namespace

useruf::useruf() : Dialog(kTemplateId) {
    RouteCommand(kRunFittingButton, &useruf::OnRunFitting);
    RouteCommand(kStopButton, &useruf::OnStop);
}

bool useruf::OnInitDialog() {
    running = 0;
    ShowRunningButtons();
    return true;
}

void useruf::OnRunFitting() { StartFitting(); }

void useruf::OnStop() { StopFitting(); }

void useruf::StartFitting() {
    running = 1;
    ShowRunningButtons();
    platform::SleepMs(100);
    platform::PostJobRequest();
}

void useruf::StopFitting() {
    running = 0;
    ShowRunningButtons();
    platform::PostJobRequest();
}

void useruf::ShowRunningButtons() {
    const bool on = running != 0;
    Control(kStopButton).Enable(on);
    Control(kStopButton).Show(on);
    Control(kRunFittingButton).Enable(!on);
    Control(kRunFittingButton).Show(!on);
}

void useruf::SetFormulaLabel(const std::string& text) { Control(kFormulaLabel).SetText(text); }

void useruf::EnablePlusConst(int flag) {
    Control(kPlusConstCheck).Enable(flag != 0);
    Control(kPlusConstCheck).Show(flag != 0);
}
