#include "fitting/xystatistic_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
xystatistic theXystatistic;

namespace {

platform::DialogTemplate SchemeTemplate() {
    platform::DialogTemplate t;
    t.id = xystatistic::kTemplateId;
    t.caption = "Statistics";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    return t;
}

const platform::DialogTemplateRegistration registration(SchemeTemplate());

}  // namespace

xystatistic::xystatistic() : Dialog(kTemplateId) {}
