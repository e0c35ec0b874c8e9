#include "statistics/distrimution_page.h"

#include <algorithm>

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
distrimution theDistrimution;

namespace {

using platform::ControlKind;

platform::DialogTemplate DistributionTemplate() {
    platform::DialogTemplate t;
    t.id = distrimution::kTemplateId;
    t.caption = "Distribution";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {distrimution::kParameterCombo, ControlKind::ComboBox, "", 8, 8, 110, 80},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(DistributionTemplate());

}  // namespace

distrimution::distrimution() : Dialog(kTemplateId) {}

void RemoveConditionsOfParameter(int globalIndex) {
    std::vector<struct conditions>& list = theDistrimution.conditions;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [globalIndex](const struct conditions& c) { return c.parameterIndex == globalIndex; }),
               list.end());
}
