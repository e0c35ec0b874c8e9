#include "fitting/parameters_of_multi_search1.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
parametersOfMultiSearch1 theParametersOfMultiSearch1;

namespace {

platform::DialogTemplate SearchParametersTemplate() {
    platform::DialogTemplate t;
    t.id = parametersOfMultiSearch1::kTemplateId;
    t.caption = "Parameters for search for best fitting polynomial";
    t.cx = 240;
    t.cy = 160;
    t.style = platform::kDialogPopup;
    return t;
}

const platform::DialogTemplateRegistration registration(SearchParametersTemplate());

}  // namespace

parametersOfMultiSearch1::parametersOfMultiSearch1() : Dialog(kTemplateId) {}
