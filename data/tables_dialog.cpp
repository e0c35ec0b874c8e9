#include "data/tables_dialog.h"

#include <algorithm>

#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"

Tables theTables;

namespace {

using platform::ControlKind;

platform::DialogTemplate TablesTemplate() {
    platform::DialogTemplate t;
    t.id = Tables::kTemplateId;
    t.caption = "Tables";
    t.cx = 276;
    t.cy = 190;
    auto& c = t.controls;
    c.push_back({Tables::kListLabel, ControlKind::Static, "Chose one table that contains data to analyze:", 8, 6, 200,
                 10});
    c.push_back({Tables::kNameList, ControlKind::ListBox, "", 8, 18, 200, 76,
                 platform::kStyleSort | platform::kStyleMultiSelect});
    c.push_back({Tables::kOkButton, ControlKind::Button, "OK", 216, 18, 52, 16,
                 platform::kStyleOwnerDraw | platform::kStyleDefault});
    c.push_back({Tables::kSqlLabel, ControlKind::Static, "or place SQL statement:", 8, 104, 200, 10});
    c.push_back({Tables::kSqlEdit, ControlKind::Edit, "", 8, 116, 260, 66, platform::kStyleMultiline});
    return t;
}

const platform::DialogTemplateRegistration registration(TablesTemplate());

}  // namespace

Tables::Tables() : Dialog(kTemplateId) {}

bool Tables::OnInitDialog() {
    // Return in the statement box starts a new line; only "OK" ends the dialog.
    SetDefaultButton(kOkButton);
    UpdateData(false);
    Invalidate();
    return true;
}

void Tables::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kSqlEdit, sqlText);
    dx.Text(kSqlLabel, sqlLabel);
    dx.Text(kListLabel, listLabel);
}

void Tables::OnShowWindow(bool show) {
    if (!show) return;
    const bool fieldMode = showFields != 0;
    platform::Control edit = Control(kSqlEdit);
    platform::Control label = Control(kSqlLabel);
    edit.Show(!fieldMode);
    edit.Enable(!fieldMode);
    label.Show(!fieldMode);
    label.Enable(!fieldMode);
    listLabel = fieldMode ? kFieldModeLabel : kTableModeLabel;

    // The list takes the room the statement box leaves.
    platform::Control list = Control(kNameList);
    const platform::Rect bounds = list.Bounds();
    const int windowHeight = WindowRect().Height();
    const int height = fieldMode ? windowHeight - 90 : windowHeight / 2 - 60;
    list.Move(bounds.left, bounds.top, bounds.Width(), std::max(height, 40));
    FillList();
}

void Tables::FillList() {
    platform::Control list = Control(kNameList);
    list.ResetContent();
    for (const std::string& name : names) list.AddString(name);
    if (showFields != 0) {
        for (int i = 0; i < list.Count(); ++i) list.SetSelected(i, true);
    }
    caption = "Database - " + databaseName;
    SetCaption(caption);
    UpdateData(false);
}

void Tables::OnSelectTable() {
    names.clear();
    selectedName.clear();
    platform::Control list = Control(kNameList);
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        if (!list.IsSelected(i)) continue;
        names.push_back(list.ItemText(i));
        selectedName = names.back();
    }
    UpdateData(true);
    EndDialog(platform::kOk);
}

bool Tables::OnDrawItem(platform::DrawItem& item) {
    if (item.controlId != kOkButton) return false;
    DrawPageButton(item, 0x14FF14, 0x0A6E0A);
    return true;
}

void Tables::OnPaint() { FillPageBackground(*this, kDialogBrush); }

ControlColors Tables::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kNameList:
        case kSqlEdit:
            return TextOn(kTextColor, kFieldBack, kFieldBack);
        case kListLabel:
        case kSqlLabel:
            return TextOn(kTextColor, kDialogBrush, kDialogBrush);
        default:
            return PageBrushOnly(kDialogBrush);
    }
}
