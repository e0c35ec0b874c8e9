// The colours the Data page and two dialogs give their controls through the layer's hook (once
// their own handlers hid it), as the widgets show them once the window exists: text on a
// background for labels and groups, the field colour of edits, and the dialog's background.
#include <memory>
#include <string>
#include <vector>

#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include "data/data_page.h"
#include "data/fromimage_dialog.h"
#include "data/synchronize_dialog.h"
#include "platform/color.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::ColorRef;

ColorRef Role(QWidget* w, QPalette::ColorRole role) {
    return platform::FromQColor(w->palette().color(QPalette::Active, role));
}

struct DialogCase {
    std::unique_ptr<platform::Dialog> dialog;
    ColorRef background;
    int filledId, fieldId;  // a label or group, and an edit
    ColorRef filledText, filledBack, fieldText, fieldBack;
};

TEST(DataDialogColors, ControlsShowTheirDialogsColours) {
    // The colours as written down for each dialog (0x00BBGGRR), not the classes' own constants.
    DialogCase cases[] = {
        {std::make_unique<data>(), platform::kBlack, data::kSeriesGroup, data::kRenameEdit, 0xFFC8C8,
         platform::kBlack, 0x3232C8, 0xB4FFFF},
        {std::make_unique<fromimage>(), 0xEBE1E1, fromimage::kChartAreaGroup, fromimage::kHorizontalMinEdit,
         0x465A37, 0xEBE1E1, 0x5A3C37, 0xC3BEC8},
        {std::make_unique<synchronize>(), 0x87FF00, synchronize::kLabel, synchronize::kMinutesEdit, 0xC80000,
         0x87FF00, 0xC80000, 0x73FF46},
    };
    platform::ScriptedDialogs dialogs;
    for (DialogCase& c : cases) {
        platform::Dialog& d = *c.dialog;
        ASSERT_TRUE(d.Create(nullptr));
        d.Show(true);
        SCOPED_TRACE(d.Caption());
        QWidget* filled = d.Control(c.filledId).Widget();
        QWidget* field = d.Control(c.fieldId).Widget();
        ASSERT_TRUE(filled != nullptr && field != nullptr);
        EXPECT_EQ(Role(filled, QPalette::Window), c.filledBack);
        EXPECT_EQ(Role(filled, QPalette::WindowText), c.filledText);
        EXPECT_TRUE(filled->autoFillBackground());
        EXPECT_EQ(Role(field, QPalette::Base), c.fieldBack);
        EXPECT_EQ(Role(field, QPalette::Text), c.fieldText);
        EXPECT_EQ(platform::FromQColor(d.ClientWidget()->palette().color(QPalette::Window)), c.background);
        d.DestroyWindow();
    }
}

}  // namespace
