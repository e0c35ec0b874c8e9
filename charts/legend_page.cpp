#include "charts/legend_page.h"

#include "charts/chart_page.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/owner_button.h"

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
    c.push_back({1285, ControlKind::Static, "Formula(s):", 6, 70, 52, 10});
    c.push_back({legend::kShowCheck, ControlKind::CheckBox, "show", 60, 69, 38, 12});
    c.push_back({legend::kOverlapCheck, ControlKind::CheckBox, "overlap", 100, 69, 50, 12});
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

// A font dialog on `font` with screen fonts and the given sizes; with effects it also offers
// the text colour and opens on `color`.
platform::FontRequest FontDialogRequest(const platform::Font& font, int minPoints, int maxPoints, bool effects,
                                        platform::ColorRef color = 0) {
    platform::FontRequest r;
    r.font = font;
    r.minPointSize = minPoints;
    r.maxPointSize = maxPoints;
    r.effects = effects;
    r.color = color;
    return r;
}

}  // namespace

namespace {

FontRecord ToRecord(const platform::Font& f) {
    return {f.height, f.width, f.escapement, f.orientation, f.weight, f.italic, f.underline, f.strikeOut, f.charSet,
            f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily, f.faceName};
}

platform::Font FromRecord(const FontRecord& r) {
    platform::Font f;
    f.height = r.height, f.width = r.width, f.escapement = r.escapement, f.orientation = r.orientation, f.weight = r.weight;
    f.italic = r.italic, f.underline = r.underline, f.strikeOut = r.strikeOut, f.charSet = r.charSet;
    f.outPrecision = r.outPrecision, f.clipPrecision = r.clipPrecision, f.quality = r.quality;
    f.pitchAndFamily = r.pitchAndFamily, f.faceName = r.faceName;
    return f;
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
    StoreFontRecords();
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
    buttonBitmap = LoadButtonPicture(kButtonPicture);
    for (int id : {int{kTitleFontButton}, int{kAxisFontButton}, int{kFormulaFontButton}, int{kShowCheck}, 1282, 1283,
                   1284, 1285, 1288})
        Control(id).SetFont(pageFont);
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
    if (const auto chosen = platform::TheDialogs().ChooseFont(
            FontDialogRequest(titleFont, kTitleMinPoints, kTitleMaxPoints, true, titleColor))) {
        titleFont = chosen->font;
        titleFontRecord = ToRecord(titleFont);
        titleColor = chosen->color;
        titlePointSize = chosen->pointSize;
        RefreshControlColor(kTitleEdit);
    }
    OnOk();
}

void legend::OnAxisFont() {
    if (const auto chosen = platform::TheDialogs().ChooseFont(
            FontDialogRequest(xCaptionFont, kOtherMinPoints, kOtherMaxPoints, true, captionColor))) {
        SetCaptionFonts(chosen->font);
        captionColor = chosen->color;
        RefreshControlColor(kXCaptionEdit);
        RefreshControlColor(kYCaptionEdit);
    }
    OnOk();
}

void legend::OnFormulaFont() {
    if (const auto chosen = platform::TheDialogs().ChooseFont(
            FontDialogRequest(formulaFont, kOtherMinPoints, kOtherMaxPoints, false)))
        formulaFont = chosen->font;
    formulaFontRecord = ToRecord(formulaFont);
    OnOk();
}

bool legend::OnCtlColor(int controlId, platform::CtlColor& out) {
    out.brush = kPageBackColor;
    switch (controlId) {
        case kTitleEdit:
        case kXCaptionEdit:
        case kYCaptionEdit:
            out.hasText = true;
            out.text = controlId == kTitleEdit ? titleColor : captionColor;
            out.back = out.brush = theChart.borderAreaColor;
            break;
        case kShowCheck:
        case kOverlapCheck:
        case 1282:
        case 1283:
        case 1284:
        case 1285:
        case kTitleAlignSlider:
        case 1288:
        case kXCaptionAlignSlider:
        case kYCaptionAlignSlider:
        case kFormulaAlignSlider:
            out.hasText = true;
            out.text = kLabelTextColor;
            out.back = kPageBackColor;
            break;
        default:
            break;
    }
    return true;
}


void legend::StoreFontRecords() {
    titleFontRecord = ToRecord(titleFont);
    formulaFontRecord = ToRecord(formulaFont);
    axisFontRecord = ToRecord(xCaptionFont);
}

void legend::ApplyFontRecords() {
    titleFont = FromRecord(titleFontRecord);
    formulaFont = FromRecord(formulaFontRecord);
    SetCaptionFonts(FromRecord(axisFontRecord));
}

void legend::ShowSettings() {
    ApplyFontRecords();
    UpdateData(false);
    for (int id : {kTitleAlignSlider, kXCaptionAlignSlider, kYCaptionAlignSlider, kFormulaAlignSlider})
        if (HasWindow()) Control(id).Invalidate();
    if (HasWindow()) Invalidate();
}

void legend::SetCaptionFonts(const platform::Font& chosen) {
    xCaptionFont = chosen;
    yCaptionFontUp = chosen;
    yCaptionFontUp.escapement = 900;
    yCaptionFontDown = yCaptionFontUp;
    yCaptionFontDown.escapement = -900;
    yCaptionFontDown.orientation = 900;
    axisFontRecord = ToRecord(xCaptionFont);
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
