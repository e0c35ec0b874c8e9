// The colours the Data page and the data dialogs give their controls, as the widgets show
// them once the window exists: text on a background for labels and choices, the field
// colour of edits and lists, and controls the page leaves alone keep their own look.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

#include "data/data_page.h"
#include "data/fromimage_dialog.h"
#include "data/import_wizard.h"
#include "data/insert_dialog.h"
#include "data/modify_dialog.h"
#include "data/synchronize_dialog.h"
#include "data/tables_dialog.h"
#include "platform/color.h"
#include "platform/scripted_dialogs.h"
#include "widgets/text_dialog.h"

namespace {

using platform::ColorRef;

enum class Look { Filled, Field };

struct Expected {
    int id;
    Look look;
    ColorRef text;
    ColorRef back;
};

ColorRef Role(QWidget* w, QPalette::ColorRole role) {
    return platform::FromQColor(w->palette().color(QPalette::Active, role));
}

void ExpectColors(platform::Dialog& d, const std::vector<Expected>& expected, const std::string& name) {
    for (const Expected& e : expected) {
        QWidget* w = d.Control(e.id).Widget();
        ASSERT_NE(w, nullptr) << name << " " << e.id;
        if (e.look == Look::Filled) {
            EXPECT_EQ(Role(w, QPalette::Window), e.back) << name << " " << e.id;
            EXPECT_EQ(Role(w, QPalette::WindowText), e.text) << name << " " << e.id;
            EXPECT_TRUE(w->autoFillBackground()) << name << " " << e.id;
        } else {
            EXPECT_EQ(Role(w, QPalette::Base), e.back) << name << " " << e.id;
            EXPECT_EQ(Role(w, QPalette::Text), e.text) << name << " " << e.id;
        }
    }
}

struct DialogCase {
    std::string name;
    std::function<std::unique_ptr<platform::Dialog>()> make;
    std::optional<ColorRef> background;  // the dialog's own, where the layer is told it
    std::vector<Expected> expected;
};

template <class D>
std::unique_ptr<platform::Dialog> Make() {
    return std::make_unique<D>();
}

TEST(DataDialogColors, ControlsShowTheirDialogsColours) {
    const ColorRef kBlack = platform::kBlack;
    const std::vector<DialogCase> cases = {
        {"data", Make<data>, kBlack,
         {{data::kRenameEdit, Look::Field, data::kRenameEditText, data::kRenameEditBack},
          {data::kMarkerGroup, Look::Filled, 0xFFAAFF, kBlack},
          {data::kHeaderText, Look::Filled, 0xB4FFFF, kBlack},
          {data::kSeriesGroup, Look::Filled, 0xFFC8C8, kBlack}}},
        {"insert", Make<insert>, std::nullopt,
         {{insert::kNameLabel, Look::Filled, insert::kTextColor, insert::kDialogBrush},
          {insert::kValueRadio, Look::Filled, insert::kTextColor, insert::kDialogBrush},
          {insert::kCreateGroup, Look::Filled, insert::kTextColor, insert::kDialogBrush},
          {insert::kNameEdit, Look::Field, insert::kTextColor, insert::kFieldBack},
          {insert::kFormulaEdit, Look::Field, insert::kTextColor, insert::kFieldBack}}},
        {"modify", Make<modify>, std::nullopt,
         {{modify::kParameterLabel, Look::Filled, modify::kTextColor, modify::kDialogBrush},
          {modify::kToLabel, Look::Filled, modify::kTextColor, modify::kDialogBrush},
          {modify::kFormulaEdit, Look::Field, modify::kTextColor, modify::kEditBack},
          {modify::kToEdit, Look::Field, modify::kTextColor, modify::kEditBack}}},
        {"fromimage", Make<fromimage>, fromimage::kDialogBrush,
         {{fromimage::kHorizontalMinEdit, Look::Field, fromimage::kEditText, fromimage::kEditBack},
          {fromimage::kVerticalMaxEdit, Look::Field, fromimage::kEditText, fromimage::kEditBack},
          {fromimage::kHorizontalLabel, Look::Filled, fromimage::kLabelText, fromimage::kDialogBrush},
          {fromimage::kChartAreaGroup, Look::Filled, fromimage::kLabelText, fromimage::kDialogBrush}}},
        {"Text", Make<Text>, std::nullopt,
         {{Text::kSeparatorsLabel, Look::Filled, Text::kTextColor, Text::kDialogBrush},
          {Text::kSeparatorsEdit, Look::Field, Text::kTextColor, Text::kFieldBack}}},
        {"Tables", Make<Tables>, std::nullopt,
         {{Tables::kListLabel, Look::Filled, Tables::kTextColor, Tables::kDialogBrush},
          {Tables::kSqlEdit, Look::Field, Tables::kTextColor, Tables::kFieldBack},
          {Tables::kNameList, Look::Field, Tables::kTextColor, Tables::kFieldBack}}},
        {"synchronize", Make<synchronize>, synchronize::kDialogBrush,
         {{synchronize::kLabel, Look::Filled, synchronize::kTextColor, synchronize::kDialogBrush},
          {synchronize::kMinutesEdit, Look::Field, synchronize::kTextColor, synchronize::kFieldBack}}},
        {"ImportData", Make<ImportData>, std::nullopt,
         {{ImportData::kSourceGroup, Look::Filled, ImportData::kTextColor, ImportData::kDialogBrush},
          {ImportData::kClipboardRadio, Look::Filled, ImportData::kTextColor, ImportData::kDialogBrush},
          // Another source than an empty series: the names box shows the dialog's colour.
          {ImportData::kNamesEdit, Look::Field, ImportData::kTextColor, ImportData::kDialogBrush}}},
    };
    platform::ScriptedDialogs dialogs;
    for (const DialogCase& c : cases) {
        std::unique_ptr<platform::Dialog> d = c.make();
        ASSERT_TRUE(d->Create(nullptr)) << c.name;
        d->Show(true);
        ExpectColors(*d, c.expected, c.name);
        if (c.background) {
            EXPECT_EQ(platform::FromQColor(d->ClientWidget()->palette().color(QPalette::Window)), *c.background)
                << c.name;
        }
        d->DestroyWindow();
    }
}

TEST(DataDialogColors, TableKeepsItsBackgroundAndNamesBoxFollowsTheSource) {
    platform::ScriptedDialogs dialogs;
    {
        data page;
        ASSERT_TRUE(page.Create(nullptr));
        page.Show(true);
        page.Invalidate();
        QWidget* table = page.Control(data::kSeriesList).Widget();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(Role(table, QPalette::Base), data::kListBackground);
        page.DestroyWindow();
    }
    ImportData wizard;
    ASSERT_TRUE(wizard.Create(nullptr));
    wizard.Show(true);
    wizard.SendCommand(ImportData::kEmptySeriesRadio);
    ExpectColors(wizard, {{ImportData::kNamesEdit, Look::Field, ImportData::kTextColor, ImportData::kFieldBack}},
                 "empty series");
    wizard.SendCommand(ImportData::kClipboardRadio);
    ExpectColors(wizard, {{ImportData::kNamesEdit, Look::Field, ImportData::kTextColor, ImportData::kDialogBrush}},
                 "clipboard");
    wizard.DestroyWindow();
}

}  // namespace
