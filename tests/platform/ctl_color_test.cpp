// Control colours a dialog hands out (OnCtlColor) reaching its widgets, and the font dialog
// with size limits and a text colour.
#include <QFontDialog>
#include <QImage>
#include <QListView>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/font_choice.h"
#include "platform/scripted_dialogs.h"

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
        ++asked;
        if (!colorize) return false;
        out.brush = page;
        switch (id) {
            case kLabel:
            case kCheck: out.hasText = !textOff, out.text = kText, out.back = page; return true;
            case kEdit: out.hasText = true, out.text = kEditText, out.back = kEditBack; return true;
            case kPlain: return false;
            default: return true;
        }
    }
    bool colorize = true;
    bool textOff = false;
    ColorRef page = kPage;
    int asked = 0;
};

ColorRef RoleOf(platform::Control c, QPalette::ColorRole role) {
    return platform::FromQColor(c.Widget()->palette().color(QPalette::Active, role));
}

// The pixel at (x, y) of the widget as drawn; negative places count from the right or bottom.
ColorRef PixelOf(QWidget* w, int x, int y) {
    const QImage image = w->grab().toImage();
    return platform::FromQRgb(image.pixel(x < 0 ? image.width() + x : x, y < 0 ? image.height() + y : y));
}

TEST(ControlColors, ReachTheWidgetsAndFollowRefreshes) {
    Colored dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    EXPECT_GT(dlg.asked, 0);  // asked right after OnInitDialog

    // Table of (control, role, colour) as the classic colour handler would paint them.
    struct Expect { int id; QPalette::ColorRole role; ColorRef color; };
    const Expect expects[] = {{kLabel, QPalette::Window, kPage},      {kLabel, QPalette::WindowText, kText},
                              {kCheck, QPalette::Window, kPage},      {kCheck, QPalette::WindowText, kText},
                              {kEdit, QPalette::Base, kEditBack},     {kEdit, QPalette::Text, kEditText}};
    for (const Expect& e : expects) EXPECT_EQ(RoleOf(dlg.Control(e.id), e.role), e.color) << e.id;
    EXPECT_TRUE(dlg.Control(kLabel).Widget()->autoFillBackground());
    EXPECT_FALSE(dlg.Control(kPlain).Widget()->autoFillBackground());
    EXPECT_EQ(platform::FromQColor(dlg.ClientWidget()->palette().color(QPalette::Window)), kPage);

    // Pixels: the label's corner shows the brush, the edit's field its background.
    EXPECT_EQ(PixelOf(dlg.Control(kLabel).Widget(), 1, 1), kPage);
    EXPECT_EQ(PixelOf(dlg.Control(kCheck).Widget(), -2, -2), kPage);
    EXPECT_EQ(PixelOf(dlg.Control(kEdit).Widget(), -4, dlg.Control(kEdit).Bounds().Height() / 2), kEditBack);
    EXPECT_EQ(PixelOf(dlg.ClientWidget(), -2, -2), kPage);

    // A new page colour reaches the controls and the surface on the next refresh.
    dlg.Surface();
    dlg.page = 0x102030;
    dlg.Invalidate();
    EXPECT_EQ(RoleOf(dlg.Control(kLabel), QPalette::Window), 0x102030u);
    EXPECT_EQ(dlg.Surface().Image().pixel(3, 3) & 0xFFFFFFu, platform::ToQRgb(0x102030) & 0xFFFFFFu);

    // A control that loses its text colour but keeps the brush shows the natural text again.
    dlg.textOff = true;
    dlg.RefreshControlColor(kLabel);
    EXPECT_EQ(RoleOf(dlg.Control(kLabel), QPalette::Window), 0x102030u);
    EXPECT_NE(RoleOf(dlg.Control(kLabel), QPalette::WindowText), kText);
    dlg.textOff = false;
    dlg.RefreshControlColor(kLabel);

    // One control refreshed alone; then the page stops colouring: the own look comes back,
    // but colours set by other code on an uncoloured control stay.
    QPalette own = dlg.Control(kPlain).Widget()->palette();
    own.setColor(QPalette::Window, Qt::red);
    dlg.Control(kPlain).Widget()->setPalette(own);
    dlg.colorize = false;
    dlg.Control(kLabel).Invalidate();
    EXPECT_FALSE(dlg.Control(kLabel).Widget()->autoFillBackground());
    EXPECT_NE(RoleOf(dlg.Control(kLabel), QPalette::WindowText), kText);
    EXPECT_EQ(RoleOf(dlg.Control(kCheck), QPalette::WindowText), kText);  // not refreshed yet
    dlg.RefreshControlColors();
    EXPECT_NE(RoleOf(dlg.Control(kCheck), QPalette::WindowText), kText);
    EXPECT_EQ(RoleOf(dlg.Control(kPlain), QPalette::Window), platform::FromQColor(Qt::red));
    dlg.DestroyWindow();
}

// The chart pages' tests use the double's queued fonts and colours; beyond them: with no colour
// queued the choice keeps the colour it opened on, and the plain call asks for no limits.
TEST(FontDialog, ScriptedDoubleKeepsTheOpeningColourAndThePlainCallHasNoLimits) {
    platform::ScriptedDialogs dialogs;
    platform::FontRequest request;
    request.maxPointSize = 26;
    request.effects = true;
    request.color = 0x0000FF;
    dialogs.fontAnswers = {platform::Font::Make("Arial", 16), platform::Font::Make("Arial", 12)};
    EXPECT_EQ(dialogs.ChooseFont(request).value().color, 0x0000FFu);
    EXPECT_EQ(dialogs.fontRequests.back().maxPointSize, 26);
    EXPECT_EQ(dialogs.ChooseFont(platform::Font::Make("Times", 16)).value().faceName, "Arial");
    EXPECT_EQ(dialogs.fontRequests.back().maxPointSize, 0);
    EXPECT_EQ(dialogs.CountOf("font"), 2);
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
    EXPECT_EQ(dialog.Choice().color, 0x123456u);
    struct Case { int points; int expected; };
    for (const Case c : {Case{4, 60}, Case{12, 120}, Case{72, 180}}) {
        QFont f = dialog.FontDialog()->currentFont();
        f.setPointSize(c.points);
        dialog.SetCurrentFont(f);
        EXPECT_EQ(dialog.Choice().pointSize, c.expected) << c.points;
        EXPECT_EQ(dialog.Choice().font.height, -(c.expected * 96 / 720 + (c.expected * 96 % 720 >= 360)));
    }
    // The size list offers only the sizes inside the limits.
    int shown = 0, hidden = 0;
    for (QListView* list : dialog.FontDialog()->findChildren<QListView*>()) {
        for (int row = 0; list->model() && row < list->model()->rowCount(); ++row) {
            bool number = false;
            const int size = list->model()->index(row, 0).data().toString().toInt(&number);
            if (!number) break;
            const bool inside = size >= 6 && size <= 18;
            EXPECT_EQ(list->isRowHidden(row), !inside) << size;
            (inside ? shown : hidden) += 1;
        }
    }
    EXPECT_GT(shown, 3);
    EXPECT_GT(hidden, 3);
    dialog.SetColor(0xABCDEF);
    EXPECT_EQ(dialog.Choice().color, 0xABCDEFu);

    // Without effects: no colour offered, underline stays as it was.
    request.effects = false;
    platform::FontChoiceDialog plain(request, nullptr);
    QFont f = plain.FontDialog()->currentFont();
    f.setUnderline(true);
    plain.SetCurrentFont(f);
    EXPECT_EQ(plain.Choice().font.underline, 0);
    EXPECT_EQ(plain.Choice().color, 0x123456u);
}

}  // namespace
