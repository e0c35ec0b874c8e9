#include "fitting/sinaldlg_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
sinaldlg theSinaldlg;

namespace {

platform::DialogTemplate PeaksTemplate() {
    platform::DialogTemplate t;
    t.id = sinaldlg::kTemplateId;
    t.caption = "Peaks";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    return t;
}

const platform::DialogTemplateRegistration registration(PeaksTemplate());

}  // namespace

sinaldlg::sinaldlg() : Dialog(kTemplateId) {}
