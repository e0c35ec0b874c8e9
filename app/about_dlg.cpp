#include "app/about_dlg.h"

#include "app/program_icon.h"
#include "app/resource_ids.h"

namespace {

using platform::ControlKind;

const platform::DialogTemplateRegistration aboutTemplate({
    .id = kTemplateAbout,
    .caption = "About Tabulon",
    .cx = 170,
    .cy = 48,
    .style = platform::kDialogPopup,
    .controls =
        {
            {kAboutIcon, ControlKind::Picture, "", 10, 10, 21, 20},
            {kAboutVersion, ControlKind::Static, "Tabulon Version 17.4", 40, 10, 120, 8},
            {platform::kOk, ControlKind::Button, "OK", 113, 27, 50, 14, platform::kStyleDefault | platform::kStyleGroup},
        },
});

}  // namespace

CAboutDlg::CAboutDlg() : Dialog(kTemplateAbout) {}

bool CAboutDlg::OnInitDialog() {
    Control(kAboutIcon).SetImage(ProgramIcon());
    return true;
}
