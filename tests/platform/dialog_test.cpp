// Dialogs built from templates: geometry, controls that the layer makes itself (spin, scroll
// bar), owner drawing and drawing onto the window. Modal runs driven by a test, refused and
// closed, are checked by every dialog's tests in the app.
#include <QFontInfo>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/dialog_widgets.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::ControlKind;

constexpr int kTemplate = 9401;
constexpr int kValue = 1001, kSpinEdit = 1002, kSpin = 1003, kBar = 1004, kFace = 1005, kTabs = 1006;

const platform::DialogTemplateRegistration formTemplate({.id = kTemplate, .caption = "Form", .cx = 200, .cy = 120,
    .controls = {
        {kValue, ControlKind::Edit, "", 8, 8, 60, 12},
        {kSpinEdit, ControlKind::Edit, "", 8, 24, 40, 12},
        {kSpin, ControlKind::Spin, "", 48, 24, 10, 12, platform::kStyleAutoBuddy | platform::kStyleSetBuddyInt},
        {kBar, ControlKind::ScrollBar, "", 180, 0, 10, 100, platform::kStyleVertical},
        {kFace, ControlKind::Button, "Face", 8, 40, 50, 14, platform::kStyleOwnerDraw},
        {kTabs, ControlKind::TabControl, "", 8, 60, 150, 40},
    }});

class Form : public platform::Dialog {
public:
    Form() : Dialog(kTemplate) {
        Route(kSpin, platform::Notification::SpinDelta, &Form::OnSpin);
        Route(kTabs, platform::Notification::SelChange, &Form::OnTab);
    }
    std::vector<int> deltas;
    std::vector<std::pair<int, int>> scrolls;  // code, pos
    int tabChanges = 0;
    bool refuseSpin = false;
    platform::Font faceFont;
    void OnSpin(platform::Notify& n) {
        deltas.push_back(n.delta);
        n.result = refuseSpin ? 1 : 0;
    }
    void OnTab() { ++tabChanges; }
    void OnVScroll(int code, int pos, int id) override {
        if (id == kBar) scrolls.emplace_back(code, pos);
    }
    bool OnDrawItem(platform::DrawItem& item) override {
        if (item.controlId != kFace) return false;
        faceFont = item.canvas->CurrentFont();
        item.canvas->FillRect(item.rect, platform::Rgb(255, 0, 0));
        return true;
    }
};

TEST(DialogUnits, ScaleWithTheDialogFontsAverageCharacter) {
    const QFontMetrics fm(platform::DialogFont());
    const int w = (fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") + 26) / 52;
    const int h = fm.height();
    ASSERT_GT(w, 3);
    EXPECT_EQ(platform::DialogUnitsToPixelsY(-16), -2 * h);
    Form form;
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(form.Control(kValue).Bounds(), (platform::Rect{2 * w, h, 17 * w, h + platform::DialogUnitsToPixelsY(12)}));
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.Create(nullptr)); }
    QToolButton* Arrow(int index) {
        return form.Control(kSpin).Widget()->findChildren<QToolButton*>().at(index);
    }
    platform::ScriptedDialogs dialogs;
    Form form;
};

TEST_F(FormTest, SpinReportsDeltasAndWritesItsBuddy) {
    Arrow(0)->click();  // up, with the classic range running from 100 down to 0: the pages count on it
    EXPECT_EQ(form.deltas, std::vector<int>{-1});
    form.Control(kSpin).SetRange(0, 10);
    form.Control(kSpinEdit).SetText("4");
    Arrow(0)->click();
    EXPECT_EQ(form.deltas.back(), 1);
    EXPECT_EQ(form.Control(kSpinEdit).Text(), "5");
    form.refuseSpin = true;
    Arrow(1)->click();
    EXPECT_EQ(form.Control(kSpinEdit).Text(), "5");
    form.Control(kSpin).SetPos(12);  // kept in range, shown in the buddy
    EXPECT_EQ(form.Control(kSpinEdit).Text(), "10");
}

TEST_F(FormTest, ScrollBarReportsCodesAndMovesOnlyWhenTold) {
    auto* bar = static_cast<QScrollBar*>(form.Control(kBar).Widget());
    form.Control(kBar).SetPos(50);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    std::vector<int> codes;
    for (auto [code, pos] : form.scrolls) codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<int>{platform::kScrollPageDown, platform::kScrollEnd, platform::kScrollLineUp,
                                       platform::kScrollEnd}));
    EXPECT_EQ(form.Control(kBar).Pos(), 50);
}

TEST_F(FormTest, TabsNotifyOnlyForTheUser) {
    platform::Control tabs = form.Control(kTabs);
    tabs.InsertItem(0, "Data");
    tabs.InsertItem(1, "Legend");
    tabs.SetCurSel(1);
    EXPECT_EQ(form.tabChanges, 0);
    static_cast<QTabBar*>(tabs.Widget())->setCurrentIndex(0);
    EXPECT_EQ(form.tabChanges, 1);
}

TEST_F(FormTest, OwnerDrawnFaceAndClientDrawingReachTheScreen) {
    const QImage face = form.Control(kFace).Widget()->grab().toImage();
    EXPECT_EQ(face.pixelColor(3, 3), QColor(255, 0, 0));
    // The face is drawn with the dialog font chosen, as the control's own caption would be.
    EXPECT_EQ(platform::ToQFont(form.faceFont).pixelSize(), platform::DialogFont().pixelSize());
    EXPECT_EQ(QFontInfo(platform::ToQFont(form.faceFont)).family(), QFontInfo(platform::DialogFont()).family());
    {
        platform::ClientDC dc(form);
        dc.FillRect(platform::Rect{250, 150, 260, 160}, platform::Rgb(0, 0, 255));
    }
    const QImage window = form.ClientWidget()->grab().toImage();
    EXPECT_EQ(window.pixelColor(255, 155), QColor(0, 0, 255));
}

}  // namespace
