// Controls by kind: items of lists and combos, list view columns, radio groups, and the keys
// a dialog takes for itself.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::ControlKind;

constexpr int kTemplate = 9501;
constexpr int kSorted = 1001, kList = 1002, kView = 1003, kRadioA = 1004, kRadioB = 1005, kEdit = 1006,
              kApply = 1007;

const platform::DialogTemplateRegistration controlsTemplate({.id = kTemplate, .caption = "Controls", .cx = 220,
    .cy = 160, .controls = {
        {kSorted, ControlKind::ComboBox, "", 5, 5, 80, 60, platform::kStyleSort},
        {kList, ControlKind::ListBox, "", 5, 22, 80, 40, platform::kStyleMultiSelect},
        {kView, ControlKind::ListView, "", 90, 5, 120, 60},
        {kRadioA, ControlKind::RadioButton, "A", 5, 70, 30, 10, platform::kStyleGroup},
        {kRadioB, ControlKind::RadioButton, "B", 40, 70, 30, 10},
        {kEdit, ControlKind::Edit, "", 5, 85, 60, 12, platform::kStyleGroup},
        {kApply, ControlKind::Button, "Apply", 5, 140, 40, 14, platform::kStyleDefault},
        {platform::kCancel, ControlKind::Button, "Cancel", 50, 140, 40, 14},
    }});

class Controls : public platform::Dialog {
public:
    Controls() : Dialog(kTemplate) { RouteCommand(kApply, &Controls::OnApply); }
    void OnApply() { ++applied; }
    void OnCancel() override {
        ++cancelled;
        Dialog::OnCancel();
    }
    bool PreTranslateInput(const platform::InputEvent& in) override {
        if (in.kind == platform::InputEvent::KeyDown && in.key == 'Q' && in.controlId == kEdit) {
            ++swallowed;
            return true;
        }
        return false;
    }
    int applied = 0;
    int cancelled = 0;
    int swallowed = 0;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(nullptr)); }
    // Shows the dialog as the active window with the focus in the edit.
    void ShowWithFocusInEdit() {
        dlg.Show();
        QApplication::setActiveWindow(dlg.TopWidget());
        dlg.Control(kEdit).SetFocus();
        ASSERT_TRUE(dlg.Control(kEdit).HasFocus());
    }
    void Key(int qtKey) {
        const QString text = qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z ? QString(QChar(qtKey - Qt::Key_A + 'a')) : QString();
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    platform::ScriptedDialogs dialogs;
    Controls dlg;
};

TEST_F(ControlsTest, ListsKeepSortedItemsAndFindThemWithoutCase) {
    platform::Control combo = dlg.Control(kSorted);
    for (const char* text : {"pear", "Apple", "fig", "apple"}) combo.AddString(text);
    std::vector<std::string> items;
    for (int i = 0; i < combo.Count(); ++i) items.push_back(combo.ItemText(i));
    EXPECT_EQ(items, (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
    combo.SetText("FIG");  // a drop-down list selects the item with that text, whatever its case
    EXPECT_EQ(combo.CurSel(), 2);

    platform::Control list = dlg.Control(kList);
    for (const char* text : {"a0", "a1", "a2"}) list.AddString(text);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.SelectedItems(), (std::vector<int>{0, 2}));
}

TEST_F(ControlsTest, ListViewColumnsShiftTheirCells) {
    platform::Control view = dlg.Control(kView);
    view.InsertColumn(0, "x", 40);
    view.InsertColumn(1, "y", 40);
    EXPECT_EQ(view.InsertItem(-1, "1"), 0);
    view.SetItemText(0, 1, "10");
    view.InsertColumn(1, "name", 60);  // a column in the middle moves "y" right
    EXPECT_EQ((std::vector<std::string>{view.ItemText(0, 0), view.ItemText(0, 1), view.ItemText(0, 2)}),
              (std::vector<std::string>{"1", "", "10"}));
    EXPECT_TRUE(view.DeleteColumn(0));
    EXPECT_EQ(view.ItemText(0, 1), "10");
}

TEST_F(ControlsTest, RadioGroupCanBeClearedAndStaysExclusiveForTheUser) {
    platform::Control a = dlg.Control(kRadioA);
    platform::Control b = dlg.Control(kRadioB);
    a.SetCheck(1);
    b.Click();
    EXPECT_EQ(a.Check(), 0);
    b.SetCheck(0);
    EXPECT_EQ(a.Check() + b.Check(), 0);
}

TEST_F(ControlsTest, TextIsUtf8BothWays) {
    const std::string text = "M\xC3\xBCller \xE2\x80\x94 \xE6\x95\xB0\xE6\x8D\xAE";  // "Müller — 数据"
    platform::Control edit = dlg.Control(kEdit);
    edit.SetText(text);
    EXPECT_EQ(static_cast<QLineEdit*>(edit.Widget())->text(), QString::fromUtf8(text.c_str()));
    static_cast<QLineEdit*>(edit.Widget())->setText(QString::fromUtf8("\xCE\xB1 \xE2\x89\xA4 \xCE\xB2"));  // typed "α ≤ β"
    EXPECT_EQ(edit.Text(), "\xCE\xB1 \xE2\x89\xA4 \xCE\xB2");
}

TEST_F(ControlsTest, ReturnPressesTheDefaultButtonAndEscapeCancels) {
    ShowWithFocusInEdit();
    Key(Qt::Key_Q);
    EXPECT_EQ(dlg.swallowed, 1);
    EXPECT_EQ(dlg.Control(kEdit).Text(), "");
    Key(Qt::Key_Return);
    EXPECT_EQ(dlg.applied, 1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(dlg.cancelled, 1);
    EXPECT_FALSE(dlg.IsVisible());  // a modeless window ends by hiding

    dlg.SetKeysEndDialog(false);
    ShowWithFocusInEdit();
    Key(Qt::Key_Escape);
    EXPECT_EQ(dlg.cancelled, 1);
}

}  // namespace
