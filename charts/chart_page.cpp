#include "charts/chart_page.h"

#include <algorithm>

#include "charts/legend_page.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/owner_button.h"

chart theChart;

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr unsigned kSpin = platform::kStyleAutoBuddy | platform::kStyleAlignRight;

// A label, an edit, its spin and (optionally) a colour button on one row.
void WidthRow(std::vector<ControlTemplate>& c, int y, int labelId, const char* label, int editId, int spinId,
              int colorId) {
    c.push_back({labelId, ControlKind::Static, label, 8, y + 2, 70, 10});
    c.push_back({editId, ControlKind::Edit, "", 80, y, 34, 13});
    c.push_back({spinId, ControlKind::Spin, "", 114, y, 10, 13, kSpin});
    if (colorId > 0) c.push_back({colorId, ControlKind::Button, "", 130, y - 1, 22, 15, kOwnerDraw});
}

platform::DialogTemplate ChartTemplate() {
    platform::DialogTemplate t;
    t.id = chart::kTemplateId;
    t.caption = "Chart";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({chart::kChartAreaButton, ControlKind::Button, "Chart area", 10, 8, 84, 18, kOwnerDraw});
    c.push_back({chart::kBorderAreaButton, ControlKind::Button, "Border area", 104, 8, 84, 18, kOwnerDraw});
    WidthRow(c, 36, 1291, "Border lines:", chart::kBorderLinesEdit, chart::kBorderLinesSpin,
             chart::kBorderLineColorButton);
    WidthRow(c, 56, 1290, "Grid lines:", chart::kGridLinesEdit, chart::kGridLinesSpin, chart::kGridLineColorButton);
    WidthRow(c, 76, 1294, "Intervals:", chart::kIntervalsEdit, chart::kIntervalsSpin, 0);
    WidthRow(c, 96, 1289, "Fitting lines:", chart::kFittingLinesEdit, chart::kFittingLinesSpin, 0);
    c.push_back({chart::kShowSlashesCheck, ControlKind::CheckBox, "Show slashes", 10, 118, 80, 12});
    c.push_back({chart::kOkButton, ControlKind::Button, "Ok", 130, 116, 58, 18,
                 kOwnerDraw | platform::kStyleDefault});
    return t;
}

const platform::DialogTemplateRegistration registration(ChartTemplate());

platform::Font TimesFont(int height, int weight) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.faceName = "Times";
    return f;
}

int Step(int value, int delta, int lo, int hi) { return std::clamp(value + (delta < 0 ? 1 : -1), lo, hi); }

}  // namespace

chart::chart() : Dialog(kTemplateId), pageFont(TimesFont(18, platform::kWeightSemiBold)) {
    RouteCommand(kChartAreaButton, &chart::OnChartAreaColor);
    RouteCommand(kBorderAreaButton, &chart::OnBorderAreaColor);
    RouteCommand(kOkButton, &chart::OnOk);
    RouteCommand(kShowSlashesCheck, &chart::Apply);
    RouteCommand(kBorderLineColorButton, &chart::OnBorderLineColor);
    RouteCommand(kGridLineColorButton, &chart::OnGridLineColor);
    Route(kBorderLinesSpin, platform::Notification::SpinDelta, &chart::OnBorderLinesSpin);
    Route(kGridLinesSpin, platform::Notification::SpinDelta, &chart::OnGridLinesSpin);
    Route(kIntervalsSpin, platform::Notification::SpinDelta, &chart::OnIntervalsSpin);
    Route(kFittingLinesSpin, platform::Notification::SpinDelta, &chart::OnFittingLinesSpin);
}

void chart::DoDataExchange(platform::Exchange& dx) {
    dx.Check(kShowSlashesCheck, showSlashes);
    dx.Int(kBorderLinesEdit, borderWidthEdit);
    dx.Int(kGridLinesEdit, gridWidthEdit);
    dx.Int(kIntervalsEdit, intervals);
    dx.Int(kFittingLinesEdit, fittingLineWidth);
}

bool chart::OnInitDialog() {
    buttonBitmap = LoadButtonPicture(kButtonPicture);
    for (int id : {1289, 1291, 1290, int{kFittingLinesEdit}, int{kBorderLinesEdit}, int{kGridLinesEdit},
                   int{kShowSlashesCheck}, 1294, int{kIntervalsEdit}, int{kChartAreaButton}, int{kBorderAreaButton},
                   int{kOkButton}})
        Control(id).SetFont(pageFont);
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    UpdateData(false);
    Invalidate();
    return true;
}

void chart::Apply() {
    UpdateData(true);
    changed = 1;
    platform::PostRepaintRequest();
}

void chart::OnOk() {
    UpdateData(true);
    AcceptTypedWidths();
    UpdateData(false);
    Apply();
}

void chart::OnBorderLinesSpin(platform::Notify& n) {
    StepBorderWidth(n.delta);
    UpdateData(false);
    Apply();
    n.result = 1;  // the page sets the value; the up-down keeps out of it
}

void chart::OnGridLinesSpin(platform::Notify& n) {
    StepGridWidth(n.delta);
    UpdateData(false);
    Apply();
    n.result = 1;
}

void chart::OnIntervalsSpin(platform::Notify& n) {
    StepIntervals(n.delta);
    UpdateData(false);
    Apply();
}

void chart::OnFittingLinesSpin(platform::Notify& n) {
    StepFittingLineWidth(n.delta);
    UpdateData(false);
    Apply();
}

void chart::ChooseColorInto(platform::ColorRef& field, int buttonId) {
    if (const auto chosen = platform::TheDialogs().ChooseColor(field)) field = *chosen;
    Control(buttonId).Invalidate();
    Apply();
}

void chart::OnChartAreaColor() {
    ChooseColorInto(chartAreaColor, kChartAreaButton);
    Invalidate();
}

void chart::OnBorderAreaColor() {
    ChooseColorInto(borderAreaColor, kBorderAreaButton);
    Invalidate();
    // The legend page shows its title and caption edits on this colour.
    theLegend.RefreshControlColors();
}

void chart::OnBorderLineColor() { ChooseColorInto(borderLineColor, kBorderLineColorButton); }

void chart::OnGridLineColor() { ChooseColorInto(gridLineColor, kGridLineColorButton); }

bool chart::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    switch (item.controlId) {
        case kChartAreaButton:
        case kBorderAreaButton: {
            const platform::ColorRef face = item.controlId == kChartAreaButton ? chartAreaColor : borderAreaColor;
            platform::Rect inner = DrawButtonFace(dc, item.rect, face, item.pressed);
            const int side = std::max(0, inner.Height() - 2);
            DrawButtonPicture(dc, {inner.left + 1, inner.top + 1, inner.left + 1 + side, inner.top + 1 + side},
                              buttonBitmap);
            inner.left += buttonBitmap.IsNull() ? 0 : side + 2;
            DrawButtonCaption(dc, inner, item.text, CaptionColorOnFace(face));
            return true;
        }
        case kOkButton: {
            const platform::Rect inner = DrawButtonFace(dc, item.rect, 0x14FF14, item.pressed);
            DrawButtonCaption(dc, inner, item.text, 0x0A6E0A);
            return true;
        }
        case kBorderLineColorButton:
        case kGridLineColorButton: {
            const platform::Rect inner = DrawButtonFace(dc, item.rect, 0xDCDCDC, item.pressed);
            DrawButtonPicture(dc, {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1}, buttonBitmap);
            return true;
        }
        default:
            return false;
    }
}

bool chart::OnCtlColor(int controlId, platform::CtlColor& out) {
    out.brush = kPageBackColor;
    switch (controlId) {
        case kShowSlashesCheck:
        case kBorderLinesEdit:
        case kGridLinesEdit:
        case kFittingLinesEdit:
        case kIntervalsEdit:
        case 1289:
        case 1290:
        case 1291:
        case 1294:
            out.hasText = true;
            out.text = kPageTextColor;
            out.back = kPageBackColor;
            break;
        default:
            break;
    }
    return true;
}

int chart::StepBorderWidth(int delta) {
    borderWidth = Step(borderWidth, delta, kMinLineWidth, kMaxLineWidth);
    borderWidthEdit = borderWidth;
    return borderWidth;
}

int chart::StepGridWidth(int delta) {
    gridWidth = Step(gridWidth, delta, kMinLineWidth, kMaxLineWidth);
    gridWidthEdit = gridWidth;
    return gridWidth;
}

namespace {

// Only the limit in the direction of the step applies: a typed value beyond the range
// steps back one at a time, but never steps further out.
int StepOneSided(int value, int delta, int lo, int hi) {
    return delta >= 0 ? std::max(value - 1, lo) : std::min(value + 1, hi);
}

}  // namespace

int chart::StepIntervals(int delta) {
    intervals = StepOneSided(intervals, delta, kMinIntervals, kMaxIntervals);
    return intervals;
}

int chart::StepFittingLineWidth(int delta) {
    fittingLineWidth = StepOneSided(fittingLineWidth, delta, kMinFittingWidth, kMaxFittingWidth);
    return fittingLineWidth;
}

void chart::AcceptTypedWidths() {
    borderWidth = borderWidthEdit = std::clamp(borderWidthEdit, kMinLineWidth, kMaxLineWidth);
    gridWidth = gridWidthEdit = std::clamp(gridWidthEdit, kMinLineWidth, kMaxLineWidth);
}

platform::ColorRef chart::CaptionColorOnFace(platform::ColorRef face) {
    const int sum = platform::RedOf(face) + platform::GreenOf(face) + platform::BlueOf(face);
    return sum < 391 ? platform::kWhite : platform::kBlack;
}
