#include "charts/legend_page.h"

#include <cmath>
#include <cstdlib>

#include "charts/owner_button.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"

legend theLegend;

namespace {

using platform::ControlKind;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;

platform::DialogTemplate LegendTemplate() {
    platform::DialogTemplate t;
    t.id = legend::kTemplateId;
    t.caption = "Legend";
    t.cx = 200;
    t.cy = 176;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({1282, ControlKind::Static, "Title:", 10, 10, 40, 10});
    c.push_back({legend::kTitleEdit, ControlKind::Edit, "", 52, 8, 108, 13});
    c.push_back({legend::kTitleFontButton, ControlKind::Button, "", 166, 7, 22, 15, kOwnerDraw});
    c.push_back({1283, ControlKind::Static, "X-axis:", 10, 30, 40, 10});
    c.push_back({legend::kXCaptionEdit, ControlKind::Edit, "", 52, 28, 108, 13});
    c.push_back({1284, ControlKind::Static, "Y-axis:", 10, 48, 40, 10});
    c.push_back({legend::kYCaptionEdit, ControlKind::Edit, "", 52, 46, 108, 13});
    c.push_back({legend::kAxisFontButton, ControlKind::Button, "", 166, 36, 22, 15, kOwnerDraw});
    c.push_back({1285, ControlKind::Static, "Formula(s):", 10, 70, 42, 10});
    c.push_back({legend::kShowCheck, ControlKind::CheckBox, "show", 54, 69, 40, 12});
    c.push_back({legend::kOverlapCheck, ControlKind::CheckBox, "overlap", 98, 69, 50, 12});
    c.push_back({legend::kFormulaFontButton, ControlKind::Button, "", 166, 67, 22, 15, kOwnerDraw});
    c.push_back({1288, ControlKind::Static, "Align:", 10, 92, 40, 10});
    c.push_back({legend::kTitleAlignSlider, ControlKind::Slider, "", 52, 90, 108, 12});
    c.push_back({legend::kXCaptionAlignSlider, ControlKind::Slider, "", 52, 104, 108, 12});
    c.push_back({legend::kYCaptionAlignSlider, ControlKind::Slider, "", 52, 118, 108, 12});
    c.push_back({legend::kFormulaAlignSlider, ControlKind::Slider, "", 52, 132, 108, 12});
    c.push_back({legend::kOkButton, ControlKind::Button, "Ok", 130, 152, 58, 18,
                 kOwnerDraw | platform::kStyleDefault});
    return t;
}

const platform::DialogTemplateRegistration registration(LegendTemplate());

platform::Font TimesFont(int height, int weight, int escapement = 0, int orientation = 0) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.escapement = escapement;
    f.orientation = orientation;
    f.faceName = "Times";
    return f;
}

// Tenths of a point of a font record, at the screen's 96 pixels per inch.
int PointSizeTenths(const platform::Font& f) {
    return static_cast<int>(std::lround(std::abs(f.height) * 720.0 / 96.0));
}

}  // namespace

legend::legend()
    : Dialog(kTemplateId),
      titleFont(TimesFont(24, platform::kWeightSemiBold)),
      xCaptionFont(TimesFont(16, platform::kWeightSemiBold)),
      yCaptionFontUp(TimesFont(16, platform::kWeightSemiBold, 900, 900)),
      yCaptionFontDown(TimesFont(16, platform::kWeightSemiBold, -900, 900)),
      formulaFont(TimesFont(16, platform::kWeightMedium)),
      pageFont(TimesFont(16, platform::kWeightSemiBold)) {
    RouteCommand(kTitleFontButton, &legend::OnTitleFont);
    RouteCommand(kAxisFontButton, &legend::OnAxisFont);
    RouteCommand(kOkButton, &legend::OnOk);
    RouteCommand(kFormulaFontButton, &legend::OnFormulaFont);
    RouteCommand(kShowCheck, &legend::OnShowOrOverlap);
    RouteCommand(kOverlapCheck, &legend::OnShowOrOverlap);
    for (int id : {kTitleAlignSlider, kXCaptionAlignSlider, kYCaptionAlignSlider, kFormulaAlignSlider})
        Route(id, platform::Notification::Scroll, &legend::OnAlignSlider);
}

void legend::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kTitleEdit, title);
    dx.Text(kXCaptionEdit, xCaption);
    dx.Text(kYCaptionEdit, yCaption);
    dx.Check(kShowCheck, showFormulas);
    dx.Check(kOverlapCheck, overlap);
    dx.Slider(kTitleAlignSlider, titleAlign);
    dx.Slider(kXCaptionAlignSlider, xCaptionAlign);
    dx.Slider(kYCaptionAlignSlider, yCaptionAlign);
    dx.Slider(kFormulaAlignSlider, formulaAlign);
}

bool legend::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    for (int id : {kTitleAlignSlider, kXCaptionAlignSlider, kYCaptionAlignSlider, kFormulaAlignSlider})
        Control(id).SetRange(kSliderMin, kSliderMax);
    UpdateData(false);
    Invalidate();
    return true;
}

void legend::OnOk() {
    UpdateData(true);
    changed = 1;
    platform::PostRepaintRequest();
}

void legend::OnShowOrOverlap() { OnOk(); }

void legend::OnAlignSlider(platform::Notify& n) {
    // Only when the thumb is let go: dragging does not repaint the chart at every step.
    if (n.scrollCode == platform::kScrollEnd) OnOk();
}

void legend::OnTitleFont() {
    if (const auto chosen = platform::TheDialogs().ChooseFont(titleFont)) {
        titleFont = *chosen;
        titlePointSize = PointSizeTenths(*chosen);
    }
    OnOk();
}

void legend::OnAxisFont() {
    if (const auto chosen = platform::TheDialogs().ChooseFont(xCaptionFont)) SetCaptionFonts(*chosen);
    OnOk();
}

void legend::OnFormulaFont() {
    if (const auto chosen = platform::TheDialogs().ChooseFont(formulaFont)) formulaFont = *chosen;
    OnOk();
}

void legend::SetCaptionFonts(const platform::Font& chosen) {
    xCaptionFont = chosen;
    yCaptionFontUp = chosen;
    yCaptionFontUp.escapement = 900;
    yCaptionFontDown = yCaptionFontUp;
    yCaptionFontDown.escapement = -900;
    yCaptionFontDown.orientation = 900;
}

bool legend::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    switch (item.controlId) {
        case kTitleFontButton:
        case kAxisFontButton:
        case kFormulaFontButton: {
            const platform::Rect inner = DrawButtonFace(dc, item.rect, 0xDCDCDC, item.pressed);
            DrawButtonPicture(dc, {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1}, buttonBitmap);
            return true;
        }
        case kOkButton: {
            const platform::Rect inner = DrawButtonFace(dc, item.rect, 0x14FF14, item.pressed);
            DrawButtonCaption(dc, inner, item.text, 0x0A6E0A);
            return true;
        }
        default:
            return false;
    }
}
