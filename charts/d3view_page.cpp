#include "charts/d3view_page.h"

#include "platform/dialog_template.h"
#include "platform/requests.h"

// The camera is reached through TheScene3d(), which builds it on first use, so this object
// may be built before or after any other.
d3view theD3view;

namespace {

using platform::ControlKind;

platform::DialogTemplate SceneTemplate() {
    platform::DialogTemplate t;
    t.id = d3view::kTemplateId;
    t.caption = "3D view";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {d3view::kTwoDimensionalButton, ControlKind::Button, "2D", 10, 8, 30, 16},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(SceneTemplate());

}  // namespace

d3view::d3view() : Dialog(kTemplateId), theScene3d(TheScene3d()) {
    RouteCommand(kTwoDimensionalButton, &d3view::On2D);
}

void d3view::On2D() {
    twoDimensional = 1;
    changed = 1;
    platform::PostRepaintRequest();
}
