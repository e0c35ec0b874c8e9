// Data exchange: texts of refused fields, range checks, where a refused pass stops.
#include <QApplication>
#include <tuple>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/exchange.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::ControlKind;

constexpr int kTemplate = 9101;
constexpr int kCount = 1001, kRatio = 1002, kName = 1003, kCheck = 1004, kRadio0 = 1005, kRadio1 = 1006,
              kRadio2 = 1007, kCombo = 1008, kOther = 1009, kOtherRadio = 1010;

const platform::DialogTemplateRegistration fieldsTemplate({.id = kTemplate, .caption = "Fields", .cx = 200, .cy = 150,
    .style = platform::kDialogPopup,
    .controls = {
            {kCount, ControlKind::Edit, "", 5, 5, 50, 12},
            {kRatio, ControlKind::Edit, "", 5, 20, 50, 12},
            {kName, ControlKind::Edit, "", 5, 35, 50, 12},
            {kCheck, ControlKind::CheckBox, "Check", 5, 50, 50, 10},
            {kRadio0, ControlKind::RadioButton, "A", 5, 62, 30, 10, platform::kStyleGroup},
            {-1, ControlKind::Static, "between", 40, 62, 30, 10},
            {kRadio1, ControlKind::RadioButton, "B", 5, 74, 30, 10},
            {kRadio2, ControlKind::RadioButton, "C", 5, 86, 30, 10},
            {kCombo, ControlKind::ComboBox, "", 5, 100, 60, 50, platform::kStyleGroup},
            {kOtherRadio, ControlKind::RadioButton, "D", 80, 62, 30, 10},
            {kOther, ControlKind::Edit, "", 80, 5, 50, 12},
    }});

class Fields : public platform::Dialog {
public:
    Fields() : Dialog(kTemplate) {}
    int count = 5;
    double ratio = 0.25;
    std::string name = "abc";
    int check = 1;
    int radio = 2;
    int combo = 1;
    int other = 7;
    void DoDataExchange(platform::Exchange& dx) override {
        dx.Int(kCount, count);
        dx.Range(count, 1, 10);
        dx.Double(kRatio, ratio);
        dx.Range(ratio, 0.0, 1.5);
        dx.Text(kName, name);
        dx.MaxChars(name, 5);
        dx.Check(kCheck, check);
        dx.Radio(kRadio0, radio);
        dx.ComboIndex(kCombo, combo);
        dx.Int(kOther, other);
    }
};

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(nullptr));
        dlg.Show();
        QApplication::setActiveWindow(dlg.TopWidget());
        dlg.Control(kCombo).AddString("zero");
        dlg.Control(kCombo).AddString("one");
        ASSERT_TRUE(dlg.UpdateData(false));
    }
    platform::ScriptedDialogs dialogs;
    Fields dlg;
};

TEST_F(ExchangeTest, LoadsMembersIntoControlsAndSavesThemBack) {
    EXPECT_EQ((std::vector<std::string>{dlg.Control(kCount).Text(), dlg.Control(kRatio).Text(), dlg.Control(kName).Text()}),
              (std::vector<std::string>{"5", "0.25", "abc"}));
    EXPECT_EQ((std::vector<int>{dlg.Control(kCheck).Check(), dlg.Control(kRadio0).Check(), dlg.Control(kRadio2).Check(),
                                dlg.Control(kCombo).CurSel()}),
              (std::vector<int>{1, 0, 1, 1}));
    dlg.ratio = 0.1;
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.Control(kRatio).Text(), "0.1");  // "%.15g" never shows binary noise

    dlg.Control(kCount).SetText(" 10 ");
    dlg.Control(kRatio).SetText("1.5e0");
    dlg.Control(kName).SetText("xy");
    dlg.Control(kCheck).SetCheck(0);
    dlg.Control(kRadio1).SetCheck(1);
    dlg.Control(kRadio2).SetCheck(0);
    dlg.Control(kCombo).SetCurSel(0);
    EXPECT_TRUE(dlg.UpdateData(true));
    // Radio 1: the label between the buttons does not count, "D" is another group.
    EXPECT_EQ(std::tuple(dlg.count, dlg.ratio, dlg.name, dlg.check, dlg.radio, dlg.combo),
              std::tuple(10, 1.5, "xy", 0, 1, 0));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ExchangeTest, RefusedFieldShowsItsTextAndStopsThePass) {
    struct Case {
        int id;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {kCount, "12x", "Please enter an integer."},
        {kCount, "11", "Please enter an integer between 1 and 10."},
        {kRatio, "1,5", "Please enter a number."},
        {kRatio, "1.6", "Please enter a number between 0 and 1.5."},
        {kName, "toolong", "Please enter no more than 5 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        // A value outside its range was stored before the check refused it; start afresh.
        dlg.count = 5;
        dlg.ratio = 0.25;
        dlg.name = "abc";
        dlg.UpdateData(false);
        dialogs.shown.clear();
        dlg.Control(kOther).SetText("8");
        dlg.Control(kCount).SetText("4");
        dlg.Control(c.id).SetText(c.text);
        EXPECT_FALSE(dlg.UpdateData(true));
        ASSERT_EQ(dialogs.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.shown[0].caption, "Tabulon");
        EXPECT_EQ(dlg.other, 7);  // fields after the refused one keep their values
        if (c.id != kCount) {
            EXPECT_EQ(dlg.count, 4);  // those before it are stored
        }
        if (c.message == "Please enter a number.") {
            EXPECT_EQ(dlg.ratio, 0.25);  // a text that is no number leaves the member alone
        }
        EXPECT_TRUE(dlg.Control(c.id).HasFocus());
    }
}

TEST(ExchangeParse, AcceptsBlanksAroundNumbersOnly) {
    int i = 0;
    double d = 0;
    EXPECT_TRUE(platform::Exchange::ParseInt(" +12\t", i) && i == 12);
    EXPECT_TRUE(platform::Exchange::ParseInt("-2147483648", i) && i == -2147483648);
    EXPECT_TRUE(platform::Exchange::ParseDouble(" -1e-3 ", d) && d == -1e-3);
    EXPECT_TRUE(platform::Exchange::ParseDouble(".5", d) && d == 0.5);
    for (const char* bad : {"2147483648", "1 2", "-"}) EXPECT_FALSE(platform::Exchange::ParseInt(bad, i)) << bad;
    for (const char* bad : {"1e999", "nan", ""}) EXPECT_FALSE(platform::Exchange::ParseDouble(bad, d)) << bad;
}

}  // namespace
