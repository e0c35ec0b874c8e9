#include "documents/result_page.h"

#include <cstdlib>

#include "charts/legend_page.h"
#include "widgets/owner_button.h"
#include "platform/clipboard.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
result theResult;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(240, 220, 240);
constexpr platform::ColorRef kLabelText = Rgb(128, 64, 0);
constexpr int kFontPictureId = 166;

platform::DialogTemplate ResultTemplate() {
    platform::DialogTemplate t;
    t.id = result::kTemplateId;
    t.caption = "Results";
    t.cx = 210;
    t.cy = 190;
    t.style = platform::kDialogChild;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {result::kResultScreenGroup, ControlKind::GroupBox, "Result screen:", 4, 2, 202, 62},
        {result::kFontButton, ControlKind::Button, "Font", 10, 12, 30, 24, owner},
        {result::kLayoutButton, ControlKind::Button, "", 44, 12, 36, 24, owner},
        {result::kAutoDigitsCheck, ControlKind::CheckBox, "auto number of digits", 86, 12, 112, 10},
        {result::kDigitsEdit, ControlKind::Edit, "", 86, 24, 30, 12, platform::kStyleDisabled},
        {result::kDigitsSpin, ControlKind::Spin, "", 116, 24, 10, 12, platform::kStyleDisabled},
        {result::kVisibleDataCheck, ControlKind::CheckBox, "Statistics is only for data visible at screen", 10,
         44, 190, 10},
        {result::kImageSizeGroup, ControlKind::GroupBox, "Size of image:", 4, 66, 202, 40},
        {result::kActualSizeCheck, ControlKind::CheckBox, "actual size of screen", 10, 76, 100, 10},
        {result::kHorizontalStatic, ControlKind::Static, "Horizontal:", 10, 90, 40, 10},
        {result::kImageWidthEdit, ControlKind::Edit, "", 50, 88, 40, 12, platform::kStyleDisabled},
        {result::kVerticalStatic, ControlKind::Static, "Vertical:", 100, 90, 36, 10},
        {result::kImageHeightEdit, ControlKind::Edit, "", 136, 88, 40, 12, platform::kStyleDisabled},
        {result::kCopyGroup, ControlKind::GroupBox, "Copy:", 4, 108, 202, 38},
        {result::kCopyScreenCommand, ControlKind::Button, "Copy", 10, 118, 46, 12, owner},
        {result::kSaveScreenCommand, ControlKind::Button, "Save in file", 60, 118, 46, 12, owner},
        {result::kFormulasButton, ControlKind::Button, "Formulas", 10, 132, 46, 12, owner},
        {result::kCopyContentCommand, ControlKind::Button, "Report", 60, 132, 46, 12, owner},
        {result::kCopyCoefficientsCommand, ControlKind::Button, "Coefficients", 110, 132, 56, 12, owner},
        {result::kReportGroup, ControlKind::GroupBox, "Create report file:", 4, 148, 202, 24},
        {result::kWordReportCommand, ControlKind::Button, "MS Word", 10, 158, 46, 12, owner},
        {result::kHtmlReportCommand, ControlKind::Button, "HTML", 60, 158, 46, 12, owner},
        {result::kOkButton, ControlKind::Button, "Ok", 160, 174, 46, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(ResultTemplate());

// A one-line copy of the text without its trailing line feeds.
void TrimTrailingLineFeeds(std::string& text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
}

}  // namespace

result::result() : Dialog(kTemplateId) {
    font.height = 14;
    font.weight = 500;
    font.faceName = "Ariel";
    font.pitchAndFamily = 0x20;  // the swiss family: a sans-serif face stands in
    RouteCommand(kOkButton, &result::OnOk);
    RouteCommand(kVisibleDataCheck, &result::OnStatisticsVisibleOnly);
    RouteCommand(kAutoDigitsCheck, &result::OnStatisticsVisibleOnly);
    RouteCommand(kActualSizeCheck, &result::OnActualSizeOfScreen);
    Route(kDigitsSpin, platform::Notification::SpinDelta, &result::OnDeltaposDigitsSpin);
    RouteCommand(kFontButton, &result::OnChooseFont);
    RouteCommand(kLayoutButton, &result::OnToggleResultText);
    RouteCommand(kFormulasButton, &result::OnCopyFormulas);
}

bool result::OnInitDialog() {
    SetKeysEndDialog(false);
    fontPicture = LoadButtonPicture(kFontPictureId);
    SetDefaultButton(kOkButton);
    UpdateData(false);
    Control(kImageWidthEdit).Enable(actualScreenSize == 0);
    Control(kImageHeightEdit).Enable(actualScreenSize == 0);
    EnableDigitControls();
    Invalidate();
    return true;
}

void result::DoDataExchange(platform::Exchange& dx) {
    dx.Check(kVisibleDataCheck, visibleDataOnly);
    dx.Check(kActualSizeCheck, actualScreenSize);
    dx.Int(kImageWidthEdit, imageWidth);
    dx.Int(kImageHeightEdit, imageHeight);
    dx.Check(kAutoDigitsCheck, autoDigits);
    dx.Int(kDigitsEdit, digits);
}

void result::OnCommand(int id, platform::Notification code) {
    switch (id) {
        case kCopyScreenCommand:
        case kCopyContentCommand:
        case kSaveScreenCommand:
        case kWordReportCommand:
        case kHtmlReportCommand:
        case kCopyCoefficientsCommand:
            // The same command as the menu item: the owner's handler serves it.
            if (code == platform::Notification::Clicked && Parent()) Parent()->SendCommand(id);
            return;
        default:
            Dialog::OnCommand(id, code);
    }
}

void result::RequestRepaint() {
    changed = 1;
    platform::PostRepaintRequest();
}

void result::EnableDigitControls() {
    Control(kDigitsEdit).Enable(autoDigits == 0);
    Control(kDigitsSpin).Enable(autoDigits == 0);
}

void result::OnOk() {
    UpdateData(true);
    EnableDigitControls();
    RequestRepaint();
}

void result::OnStatisticsVisibleOnly() { OnOk(); }

void result::OnActualSizeOfScreen() {
    UpdateData(true);
    Control(kImageWidthEdit).Enable(actualScreenSize == 0);
    Control(kImageHeightEdit).Enable(actualScreenSize == 0);
    OnOk();
}

void result::OnDeltaposDigitsSpin(platform::Notify& n) {
    if (n.delta < 0) {
        if (digits < kMaxDigits) ++digits;
    } else if (digits > 1) {
        --digits;
    }
    Control(kDigitsEdit).SetText(std::to_string(digits));
    RequestRepaint();
}

void result::OnChooseFont() {
    platform::FontRequest request;
    request.font = font;
    request.minPointSize = 6;
    request.maxPointSize = 18;
    if (const auto chosen = platform::TheDialogs().ChooseFont(request)) font = chosen->font;
    RequestRepaint();
}

void result::OnToggleResultText() {
    chartInMainArea = chartInMainArea ? 0 : 1;
    relayoutRequest = 1;
    RequestRepaint();
}

void result::OnCopyFormulas() {
    if (!theLegend.showFormulas) {
        platform::MessageBox(
            "You need to display formula on screen to be able copy it.\nGo to 'Legend' tab and check on 'Result "
            "formulas'");
        return;
    }
    TrimTrailingLineFeeds(fittedFormulasText);
    if (!fittedFormulasText.empty()) platform::SetClipboardText(fittedFormulasText);
}

void result::ShowVisibleDataOption(bool show) {
    platform::Control check = Control(kVisibleDataCheck);
    check.Show(show);
    check.Enable(show);
    if (HasWindow()) UpdateData(false);
}

void result::ClampImageSize() {
    if (HasWindow() && !actualScreenSize) UpdateData(true);
    auto clamp = [](int v) { return v < kMinImageSide ? kMinImageSide : (v > kMaxImageSide ? kMaxImageSide : v); };
    const int w = clamp(imageWidth);
    // The height counts by its absolute value; its sign is kept.
    const int h = clamp(std::abs(imageHeight));
    const int signedH = imageHeight < 0 ? -h : h;
    if (w == imageWidth && signedH == imageHeight) return;
    imageWidth = w;
    imageHeight = signedH;
    if (HasWindow()) UpdateData(false);
}

bool result::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    const platform::Rect r = item.rect;
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kFormulasButton:
        case kCopyContentCommand:
        case kCopyCoefficientsCommand:
            DrawPageButton(item, Rgb(205, 240, 245), kLabelText);
            return true;
        case kCopyScreenCommand:
        case kSaveScreenCommand:
            DrawPageButton(item, Rgb(225, 250, 250), kLabelText);
            return true;
        case kWordReportCommand:
        case kHtmlReportCommand:
            DrawPageButton(item, Rgb(255, 255, 255), Rgb(0, 0, 200));
            return true;
        case kFontButton: {
            DrawButtonFace(dc, r, Rgb(220, 220, 220), item.pressed);
            DrawButtonPicture(dc, {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}, fontPicture);
            return true;
        }
        case kLayoutButton:
            break;
        default:
            return false;
    }
    // A small picture of the window: the chart box and the text box, in the order in use.
    DrawButtonFace(dc, r, Rgb(220, 220, 220), item.pressed);
    const int w = r.Width(), h = r.Height();
    const int split = r.top + h * 2 / 3;
    const platform::Rect big{r.left + 3, r.top + 3, r.right - 3, split};
    const platform::Rect strip{r.left + w / 3, split + 2, r.right - 3, r.bottom - 3};
    const platform::Rect& chartBox = chartInMainArea ? big : strip;
    const platform::Rect& textBox = chartInMainArea ? strip : big;
    dc.FillRect(chartBox, platform::kWhite);
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, platform::Rgb(0, 64, 128)));
    dc.MoveTo(chartBox.left + 2, chartBox.bottom - 3);
    dc.LineTo(chartBox.left + chartBox.Width() / 2, chartBox.top + 3);
    dc.LineTo(chartBox.right - 2, chartBox.top + chartBox.Height() / 2);
    dc.FillRect(textBox, platform::Rgb(255, 255, 230));
    for (int y = textBox.top + 3; y < textBox.bottom - 2; y += 4) {
        dc.MoveTo(textBox.left + 3, y);
        dc.LineTo(textBox.right - 3, y);
    }
    dc.SelectPen(old);
    return true;
}

void result::OnPaint() { FillPageBackground(*this, kPageBrush); }

bool result::OnCtlColor(int controlId, platform::CtlColor& out) {
    switch (controlId) {
        case kVisibleDataCheck:
        case kActualSizeCheck:
        case kImageWidthEdit:
        case kImageHeightEdit:
        case kResultScreenGroup:
        case kImageSizeGroup:
        case kCopyGroup:
        case kReportGroup:
        case kAutoDigitsCheck:
        case kDigitsEdit:
        case kHorizontalStatic:
        case kVerticalStatic:
            out = TextOn(kLabelText, kPageBrush, kPageBrush);
            return true;
        default:
            out = PageBrushOnly(kPageBrush);
            return true;
    }
}
