// Control colours a dialog hands out (OnCtlColor) reaching its widgets, and the font dialog
// with size limits and a text colour.
#include <QFontDialog>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/font_choice.h"

namespace {

using platform::ColorRef;
using platform::ControlKind;
using platform::CtlColor;

constexpr int kTemplate = 9511;
constexpr int kLabel = 1001, kEdit = 1002, kCheck = 1003, kButton = 1004, kPlain = 1005;

const platform::DialogTemplateRegistration colorsTemplate({.id = kTemplate, .caption = "Colours", .cx = 200, .cy = 100,
    .controls = {
        {kLabel, ControlKind::Static, "Label", 5, 5, 60, 12},
        {kEdit, ControlKind::Edit, "text", 5, 20, 60, 12},
        {kCheck, ControlKind::CheckBox, "check", 5, 35, 60, 12},
        {kButton, ControlKind::Button, "Push", 5, 50, 60, 14},
        {kPlain, ControlKind::Static, "Plain", 80, 5, 60, 12},
    }});

constexpr ColorRef kPage = 0xAFE1B4, kText = 0x196914, kEditBack = 0xF0FFFF, kEditText = 0x3700C8;

class Colored : public platform::Dialog {
public:
    Colored() : Dialog(kTemplate) {}
    bool OnCtlColor(int id, CtlColor& out) override {
        if (!colorize) return false;
        out.brush = page;
        switch (id) {
            case kLabel:
            case kCheck: out.hasText = true, out.text = kText, out.back = page; return true;
            case kEdit: out.hasText = true, out.text = kEditText, out.back = kEditBack; return true;
            case kPlain: return false;
            default: return true;
        }
    }
    bool colorize = true;
    ColorRef page = kPage;
};

ColorRef RoleOf(platform::Control c, QPalette::ColorRole role) {
    return platform::FromQColor(c.Widget()->palette().color(QPalette::Active, role));
}

TEST(ControlColors, ReachTheWidgetsAndFollowRefreshes) {
    Colored dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    // Table of (control, role, colour) as the classic colour handler would paint them.
    struct Expect { int id; QPalette::ColorRole role; ColorRef color; };
    const Expect expects[] = {{kLabel, QPalette::Window, kPage}, {kLabel, QPalette::WindowText, kText},
                              {kEdit, QPalette::Base, kEditBack}, {kEdit, QPalette::Text, kEditText}};
    for (const Expect& e : expects) EXPECT_EQ(RoleOf(dlg.Control(e.id), e.role), e.color) << e.id;
    EXPECT_TRUE(dlg.Control(kLabel).Widget()->autoFillBackground());
    EXPECT_FALSE(dlg.Control(kPlain).Widget()->autoFillBackground());

    // A new page colour reaches the controls and the surface on the next refresh.
    dlg.Surface();
    dlg.page = 0x102030;
    dlg.Invalidate();
    EXPECT_EQ(RoleOf(dlg.Control(kLabel), QPalette::Window), 0x102030u);
    EXPECT_EQ(dlg.Surface().Image().pixel(3, 3) & 0xFFFFFFu, platform::ToQRgb(0x102030) & 0xFFFFFFu);

    // The page stops colouring: the own look comes back, but colours set by other code on an
    // uncoloured control stay.
    QPalette own = dlg.Control(kPlain).Widget()->palette();
    own.setColor(QPalette::Window, Qt::red);
    dlg.Control(kPlain).Widget()->setPalette(own);
    dlg.colorize = false;
    dlg.RefreshControlColors();
    EXPECT_FALSE(dlg.Control(kLabel).Widget()->autoFillBackground());
    EXPECT_NE(RoleOf(dlg.Control(kCheck), QPalette::WindowText), kText);
    EXPECT_EQ(RoleOf(dlg.Control(kPlain), QPalette::Window), platform::FromQColor(Qt::red));
    dlg.DestroyWindow();
}

TEST(FontDialog, RealDialogKeepsSizesInsideTheLimitsAndHandsBackTheColour) {
    platform::FontRequest request;
    request.font = platform::Font::Make("Times", 40);  // 30 points: above the limit
    request.minPointSize = 6;
    request.maxPointSize = 18;
    request.effects = true;
    request.color = 0x123456;
    platform::FontChoiceDialog dialog(request, nullptr);
    EXPECT_EQ(dialog.Choice().pointSize, 180);
    EXPECT_EQ(dialog.Choice().font.height, -24);  // 18 points at 96 pixels an inch
    QFont small = dialog.FontDialog()->currentFont();
    small.setPointSize(4);
    dialog.SetCurrentFont(small);
    EXPECT_EQ(dialog.Choice().pointSize, 60);
    dialog.SetColor(0xABCDEF);
    EXPECT_EQ(dialog.Choice().color, 0xABCDEFu);
}

}  // namespace
