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
        SCOPED_TRACE(testing::Message() << name << " " << e.id);
        QWidget* w = d.Control(e.id).Widget();
        ASSERT_NE(w, nullptr);
        const bool filled = e.look == Look::Filled;
        EXPECT_EQ(Role(w, filled ? QPalette::Window : QPalette::Base), e.back);
        EXPECT_EQ(Role(w, filled ? QPalette::WindowText : QPalette::Text), e.text);
        EXPECT_TRUE(w->autoFillBackground() || !filled);
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
    // The colours as written down for each dialog (0x00BBGGRR), not the classes' own constants.
    const ColorRef kBlack = platform::kBlack;
    const std::vector<DialogCase> cases = {
        {"data", Make<data>, kBlack,
         {{data::kRenameEdit, Look::Field, 0x3232C8, 0xB4FFFF},
          {data::kMarkerGroup, Look::Filled, 0xFFAAFF, kBlack},
          {data::kHeaderText, Look::Filled, 0xB4FFFF, kBlack},
          {data::kSeriesGroup, Look::Filled, 0xFFC8C8, kBlack}}},
        {"insert", Make<insert>, std::nullopt,
         {{insert::kNameLabel, Look::Filled, 0xC80000, 0x87FF00},
          {insert::kValueRadio, Look::Filled, 0xC80000, 0x87FF00},
          {insert::kCreateGroup, Look::Filled, 0xC80000, 0x87FF00},
          {insert::kNameEdit, Look::Field, 0xC80000, 0x73FF46},
          {insert::kFormulaEdit, Look::Field, 0xC80000, 0x73FF46}}},
        {"modify", Make<modify>, std::nullopt,
         {{modify::kParameterLabel, Look::Filled, 0x961437, 0xFFCDE1},
          {modify::kToLabel, Look::Filled, 0x961437, 0xFFCDE1},
          {modify::kFormulaEdit, Look::Field, 0x961437, 0xF5E1FF},
          {modify::kToEdit, Look::Field, 0x961437, 0xF5E1FF}}},
        {"fromimage", Make<fromimage>, 0xEBE1E1,
         {{fromimage::kHorizontalMinEdit, Look::Field, 0x5A3C37, 0xC3BEC8},
          {fromimage::kVerticalMaxEdit, Look::Field, 0x5A3C37, 0xC3BEC8},
          {fromimage::kHorizontalLabel, Look::Filled, 0x465A37, 0xEBE1E1},
          {fromimage::kChartAreaGroup, Look::Filled, 0x465A37, 0xEBE1E1}}},
        {"Text", Make<Text>, std::nullopt,
         {{Text::kSeparatorsLabel, Look::Filled, 0xC80000, 0x87FF00},
          {Text::kSeparatorsEdit, Look::Field, 0xC80000, 0x73FF46}}},
        {"Tables", Make<Tables>, std::nullopt,
         {{Tables::kListLabel, Look::Filled, 0xC80000, 0x87FF00},
          {Tables::kSqlEdit, Look::Field, 0xC80000, 0x73FF46},
          {Tables::kNameList, Look::Field, 0xC80000, 0x73FF46}}},
        {"synchronize", Make<synchronize>, 0x87FF00,
         {{synchronize::kLabel, Look::Filled, 0xC80000, 0x87FF00},
          {synchronize::kMinutesEdit, Look::Field, 0xC80000, 0x73FF46}}},
        {"ImportData", Make<ImportData>, std::nullopt,
         {{ImportData::kSourceGroup, Look::Filled, 0xC80000, 0x96F096},
          {ImportData::kClipboardRadio, Look::Filled, 0xC80000, 0x96F096},
          // Another source than an empty series: the names box shows the dialog's colour.
          {ImportData::kNamesEdit, Look::Field, 0xC80000, 0x96F096}}},
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
        EXPECT_EQ(Role(table, QPalette::Base), 0xFFEBF0);
        page.DestroyWindow();
    }
    ImportData wizard;
    ASSERT_TRUE(wizard.Create(nullptr));
    wizard.Show(true);
    wizard.SendCommand(ImportData::kEmptySeriesRadio);
    ExpectColors(wizard, {{ImportData::kNamesEdit, Look::Field, 0xC80000, 0x73FF46}}, "empty series");
    wizard.SendCommand(ImportData::kClipboardRadio);
    ExpectColors(wizard, {{ImportData::kNamesEdit, Look::Field, 0xC80000, 0x96F096}}, "clipboard");
    wizard.DestroyWindow();
}

}  // namespace
