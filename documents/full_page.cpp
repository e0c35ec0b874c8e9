#include "documents/full_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
full theFull;

namespace {

platform::DialogTemplate FullTemplate() {
    platform::DialogTemplate t;
    t.id = full::kTemplateId;
    t.caption = "Full satatistical analysis";
    t.cx = 260;
    t.cy = 200;
    t.style = platform::kDialogPopup;
    return t;
}

const platform::DialogTemplateRegistration registration(FullTemplate());

}  // namespace

full::full() : Dialog(kTemplateId) {}
