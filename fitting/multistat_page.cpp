#include "fitting/multistat_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
multistat theMultistat;

namespace {

platform::DialogTemplate MultiSchemeTemplate() {
    platform::DialogTemplate t;
    t.id = multistat::kTemplateId;
    t.caption = "Multiargument statistics";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    return t;
}

const platform::DialogTemplateRegistration registration(MultiSchemeTemplate());

}  // namespace

multistat::multistat() : Dialog(kTemplateId) {}
