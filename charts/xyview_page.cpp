#include "charts/xyview_page.h"

#include "charts/d3view_page.h"
#include "data/data_page.h"
#include "platform/dialog_template.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
xyview theXyview;

namespace {

using platform::ControlKind;

platform::DialogTemplate ViewTemplate() {
    platform::DialogTemplate t;
    t.id = xyview::kTemplateId;
    t.caption = "View";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {xyview::kParameterCombo, ControlKind::ComboBox, "", 10, 8, 120, 80},
        {xyview::kValueOnlyButton, ControlKind::Button, "", 150, 8, 24, 24, platform::kStyleHidden},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(ViewTemplate());

}  // namespace

xyview::xyview() : Dialog(kTemplateId) { RouteCommand(kValueOnlyButton, &xyview::OnButton1105); }

bool xyview::OnInitDialog() {
    UpdateValueOnlyButton();
    return true;
}

void xyview::SetDataShape(int arguments, int values) {
    argumentCount = arguments;
    valueCount = values;
    UpdateValueOnlyButton();
}

void xyview::UpdateValueOnlyButton() {
    const bool noArgument = theData.series.empty() || theData.series[0].nArguments == 0;
    Control(kValueOnlyButton).Show(noArgument);
}

void xyview::OnButton1105() {
    theD3view.sceneRebuildRequest = 1;
    twoVariableView = 1;
    changed = 1;
    platform::PostRepaintRequest();
}
