#include "statistics/distribution2_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
distribution2 theDistribution2;

namespace {

platform::DialogTemplate TwoVariablesTemplate() {
    platform::DialogTemplate t;
    t.id = distribution2::kTemplateId;
    t.caption = "Distribution of two values";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    return t;
}

const platform::DialogTemplateRegistration registration(TwoVariablesTemplate());

}  // namespace

distribution2::distribution2() : Dialog(kTemplateId) {}
