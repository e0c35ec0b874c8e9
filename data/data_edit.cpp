#include "data/data_edit.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
DataEdit theDataEdit;

namespace {

platform::DialogTemplate SheetTemplate() {
    platform::DialogTemplate t;
    t.id = DataEdit::kTemplateId;
    t.caption = "Data";
    t.cx = 140;
    t.cy = 120;
    t.style = platform::kDialogPopup | platform::kDialogResizable;
    return t;
}

const platform::DialogTemplateRegistration registration(SheetTemplate());

}  // namespace

DataEdit::DataEdit() : Dialog(kTemplateId) {}

void DataEdit::RememberPlace() {
    if (HasWindow()) savedRect = WindowRect();
}
