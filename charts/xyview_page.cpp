#include "charts/xyview_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "charts/d3view_page.h"
#include "data/data_page.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/owner_button.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
xyview theXyview;

namespace {

using platform::ControlKind;
using platform::Rect;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr unsigned kSpin = platform::kStyleAutoBuddy | platform::kStyleAlignRight;

platform::DialogTemplate ViewTemplate() {
    platform::DialogTemplate t;
    t.id = xyview::kTemplateId;
    t.caption = "View";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {xyview::kParameterCombo, ControlKind::ComboBox, "", 8, 4, 110, 80},
        {xyview::kRangePad, ControlKind::Button, "", 8, 22, 94, 62, kOwnerDraw},
        {xyview::kNoDataLabel, ControlKind::Static, "No data to view", 8, 40, 90, 12},
        {xyview::kXMinEdit, ControlKind::Edit, "", 106, 22, 42, 12},
        {xyview::kXMaxEdit, ControlKind::Edit, "", 152, 22, 42, 12},
        {xyview::kYMinEdit, ControlKind::Edit, "", 106, 36, 42, 12},
        {xyview::kYMaxEdit, ControlKind::Edit, "", 152, 36, 42, 12},
        {xyview::kZMinEdit, ControlKind::Edit, "", 106, 50, 42, 12},
        {xyview::kZMaxEdit, ControlKind::Edit, "", 152, 50, 42, 12},
        {xyview::kAutozoomCheck, ControlKind::CheckBox, "Autozoom", 106, 66, 60, 12},
        {xyview::kStepEdit, ControlKind::Edit, "", 106, 80, 26, 12},
        {xyview::kStepSpin, ControlKind::Spin, "", 132, 80, 10, 12, kSpin},
        {xyview::kPercentLabel, ControlKind::Static, "%", 144, 82, 10, 10},
        {xyview::kZPad, ControlKind::Button, "", 8, 88, 48, 42, kOwnerDraw},
        {xyview::kLowButton, ControlKind::Button, "Low", 60, 88, 24, 14, kOwnerDraw},
        {xyview::kHighButton, ControlKind::Button, "High", 86, 88, 24, 14, kOwnerDraw},
        {xyview::kColorStepsLabel, ControlKind::Static, "Color steps:", 60, 106, 44, 10},
        {xyview::kColorStepsEdit, ControlKind::Edit, "", 104, 104, 24, 12},
        {xyview::kColorStepsSpin, ControlKind::Spin, "", 128, 104, 10, 12, kSpin},
        {xyview::kHistogramButton, ControlKind::Button, "histogram.", 142, 96, 16, 16, kOwnerDraw},
        {xyview::kValueOnlyButton, ControlKind::Button, "", 160, 96, 16, 16, kOwnerDraw},
        {xyview::kColorMapButton, ControlKind::Button, "", 178, 96, 16, 16, kOwnerDraw},
        {xyview::kOkButton, ControlKind::Button, "Ok", 150, 128, 44, 16, kOwnerDraw | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(ViewTemplate());

// Zones of the pads in picture pixels (left, top, right, bottom).
constexpr std::array<Rect, xyview::kRangeZoneCount> kRangeZones = {{
    {150, 98, 180, 115}, {124, 98, 153, 115}, {28, 99, 55, 114}, {1, 99, 28, 114},
    {74, 82, 105, 99},   {74, 99, 105, 116},  {1, 50, 20, 71},   {1, 71, 20, 95},
    {0, 0, 21, 22},      {0, 22, 21, 46},     {23, 34, 49, 54},  {23, 54, 49, 70},
    {118, 17, 145, 35},  {119, 35, 144, 54},
}};
constexpr std::array<Rect, xyview::kZZoneCount> kZZones = {{
    {0, 0, 16, 13}, {0, 13, 16, 26}, {0, 53, 17, 65}, {0, 65, 16, 80}, {56, 48, 72, 60}, {56, 60, 72, 72},
}};
// Order in which overlapping range zones act.
constexpr int kRangeZoneOrder[xyview::kRangeZoneCount] = {0, 1, 2, 3, 8, 9, 6, 7, 4, 5, 10, 11, 12, 13};

bool Inside(const Rect& r, platform::Point p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

int ScaleEdge(int v, double scale) { return static_cast<int>(std::lround(v * scale)); }

Rect ScaleRect(const Rect& r, double sx, double sy) {
    return {ScaleEdge(r.left, sx), ScaleEdge(r.top, sy), ScaleEdge(r.right, sx), ScaleEdge(r.bottom, sy)};
}

// A raised edge (sunken when asked) around a rectangle.
void DrawEdge(platform::Canvas& dc, const Rect& r, bool sunken) {
    const platform::ColorRef light = sunken ? 0x808080 : 0xFFFFFF;
    const platform::ColorRef dark = sunken ? 0xFFFFFF : 0x808080;
    dc.FillRect({r.left, r.top, r.right, r.top + 1}, light);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom}, light);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
}

}  // namespace

xyview::xyview() : Dialog(kTemplateId) {
    RouteCommand(kOkButton, &xyview::OnOk);
    RouteCommand(kAutozoomCheck, &xyview::OnAutozoom);
    RouteCommand(kLowButton, &xyview::OnLow);
    RouteCommand(kHighButton, &xyview::OnHigh);
    RouteCommand(kHistogramButton, &xyview::OnHistogram);
    RouteCommand(kColorMapButton, &xyview::OnColorMapMode);
    RouteCommand(kValueOnlyButton, &xyview::OnButton1105);
    Route(kStepSpin, platform::Notification::SpinDelta, &xyview::OnStepSpin);
    Route(kColorStepsSpin, platform::Notification::SpinDelta, &xyview::OnColorStepsSpin);
    Route(kParameterCombo, platform::Notification::SelChange, &xyview::OnParameterChange);
    pageFont.faceName = "Times";
    pageFont.weight = 530;
    pageFont.height = 16;
    ResetZones();
}

void xyview::DoDataExchange(platform::Exchange& dx) {
    dx.Double(kYMinEdit, yMin);
    dx.Double(kYMaxEdit, yMax);
    dx.Double(kXMinEdit, xMin);
    dx.Double(kXMaxEdit, xMax);
    dx.Check(kAutozoomCheck, autozoom);
    if (!dx.Saving()) stepEdit_ = static_cast<int>(std::min(stepPercent, 1000000u));
    dx.Int(kStepEdit, stepEdit_);
    dx.Range(stepEdit_, 0, 50);
    if (dx.Saving() && !dx.Failed()) stepPercent = static_cast<unsigned>(stepEdit_);
    dx.Int(kColorStepsEdit, colorSteps);
    // The colour scale needs at least three bands; the spin keeps to the same bounds.
    dx.Range(colorSteps, 3, 255);
    dx.Double(kZMaxEdit, zMax);
    dx.Double(kZMinEdit, zMin);
    // A range wider than its edit must show its leading digits: "59520.55.." read from its
    // end looks like "0.55..".
    if (!dx.Saving()) {
        for (int id : {kXMinEdit, kXMaxEdit, kYMinEdit, kYMaxEdit, kZMinEdit, kZMaxEdit}) Control(id).SetSelection(0, 0);
    }
}

bool xyview::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    UpdateData(false);
    ShowRangeEdits();
    ShowModeControls();
    EnableRangeEdits(!autozoom);
    UpdateValueOnlyButton();
    show3D = 0;
    histogram = 0;
    ResetZones();
    padPressed = 0;
    for (int k = 0; k < 8; ++k) pictures[static_cast<size_t>(k)] = MakeViewPicture(k);
    const Rect range = Control(kRangePad).Bounds();
    const Rect z = Control(kZPad).Bounds();
    const double vScale = range.Height() > 0 ? static_cast<double>(range.Height()) / kRangePictureHeight : 1.0;
    pageFont.height = std::max(8, static_cast<int>(std::lround(16 * vScale)));
    for (int id : {kXMinEdit, kXMaxEdit, kYMinEdit, kYMaxEdit, kAutozoomCheck}) Control(id).SetFont(pageFont);
    ScaleZones(range.Width(), range.Height(), z.Width(), z.Height());
    ShowRangeControls(false);
    ShowZControls(false);
    return true;
}

// ---- Shape and presets --------------------------------------------------------------------------

namespace {

// A control the page shows is one the user can use: shown means shown and enabled.
void ShowEnable(const xyview& page, int id, bool v) {
    platform::Control c = page.Control(id);
    c.Show(v);
    c.Enable(v);
}

}  // namespace

void xyview::SetDataShape(int arguments, int values) {
    argumentCount = arguments;
    valueCount = values;
    twoValueColorMap = 0;
    const int a = arguments;
    const int v = values;
    if (v <= 0) {
        ShowRangeControls(false);
        colorMapMode = 0;
        ShowZControls(false);
        ShowColorControls(false);
        ShowEnable(*this, kHistogramButton, false);
        ShowModeControls();
    } else if (a == 0 && v == 2 && colorMapMode) {
        twoValueColorMap = 1;
        if (!show3D) {
            ShowRangeControls(true);
            ShowColorControls(true);
            ShowZControls(true);
        }
        ShowEnable(*this, kColorMapButton, true);
        ShowEnable(*this, kValueOnlyButton, true);
    } else if (a == 0 && v == 2) {
        ShowRangeControls(true);
        show3D = 0;
        ShowZControls(false);
        ShowColorControls(false);
        ShowEnable(*this, kColorMapButton, true);
        ShowEnable(*this, kHistogramButton, true);
    } else if (a == 0) {
        ShowRangeControls(true);
        show3D = 0;
        ShowZControls(false);
        ShowColorControls(false);
        ShowEnable(*this, kHistogramButton, true);
    } else if (a == 2 && !fitSchemeChosen) {
        ShowRangeControls(true);
        ShowZControls(true);
        ShowColorControls(colorMapMode != 0);
        ShowEnable(*this, kHistogramButton, false);
    } else {
        // One argument, a several-argument fit scheme, or three and more arguments.
        ShowRangeControls(true);
        colorMapMode = 0;
        ShowZControls(false);
        ShowColorControls(false);
        ShowEnable(*this, kHistogramButton, false);
    }
    Control(kColorMapButton).Invalidate();
    Control(kHistogramButton).Invalidate();
}

void xyview::PresetPlain() {
    show3D = 0;
    colorMapMode = 0;
    zControlsShown = 0;
    twoValueColorMap = 0;
    ShowRangeControls(true);
    ShowZControls(false);
    ShowColorControls(false);
    ShowEnable(*this, kHistogramButton, argumentCount == 0);
}

void xyview::PresetTwoValues() {
    show3D = 0;
    argumentCount = 0;
    valueCount = 2;
    SetDataShape(0, 2);
}

void xyview::PresetSeveralArguments() {
    fitSchemeChosen = 1;
    show3D = 0;
    colorMapMode = 0;
    ShowRangeControls(true);
    ShowZControls(false);
    ShowColorControls(false);
    ShowEnable(*this, kHistogramButton, false);
}

void xyview::UpdateValueOnlyButton() { ShowEnable(*this, kValueOnlyButton, theData.argumentCount == 0); }

// ---- Control groups -----------------------------------------------------------------------------

void xyview::ShowRangeControls(bool v) {
    for (int id : {kRangePad, kXMinEdit, kXMaxEdit, kYMinEdit, kYMaxEdit, kStepEdit, kStepSpin, kPercentLabel,
                   kAutozoomCheck}) {
        ShowEnable(*this, id, v);
    }
    ShowEnable(*this, kNoDataLabel, !v);
    EnableRangeEdits(!autozoom);
    ShowEnable(*this, kHistogramButton, false);
}

void xyview::ShowZControls(bool v) {
    show3D = 0;
    zControlsShown = v ? 1 : 0;
    for (int id : {kZPad, kZMinEdit, kZMaxEdit, kValueOnlyButton, kColorMapButton}) ShowEnable(*this, id, v);
}

void xyview::ShowColorControls(bool v) {
    for (int id : {kHighButton, kLowButton, kParameterCombo, kColorStepsEdit, kColorStepsLabel, kColorStepsSpin}) {
        ShowEnable(*this, id, v);
    }
}

void xyview::EnableRangeEdits(bool e) {
    for (int id : {kXMinEdit, kXMaxEdit, kYMinEdit, kYMaxEdit, kZMinEdit, kZMaxEdit, kStepEdit, kStepSpin}) {
        Control(id).Enable(e);
    }
}

void xyview::ShowRangeEdits() {
    const bool x = xMax - xMin > 0, y = yMax - yMin > 0, z = zMax - zMin > 0;
    Control(kXMinEdit).Show(x);
    Control(kXMaxEdit).Show(x);
    Control(kYMinEdit).Show(y);
    Control(kYMaxEdit).Show(y);
    Control(kZMinEdit).Show(z);
    Control(kZMaxEdit).Show(z);
}

void xyview::ShowModeControls() {
    if (zControlsShown) {
        ShowZControls(true);
        ShowColorControls(colorMapMode != 0);
    } else {
        ShowZControls(false);
        ShowColorControls(false);
    }
}

// ---- Handlers -----------------------------------------------------------------------------------

bool xyview::ReadFields() {
    if (!HasWindow()) return true;
    UpdateData(true);
    if (autozoom) return true;
    // A range of no width (or upside down) cannot be mapped onto the chart.
    const bool xBad = Control(kXMinEdit).IsVisible() && !(xMin < xMax);
    const bool yBad = Control(kYMinEdit).IsVisible() && !(yMin < yMax);
    const bool zBad = zControlsShown && Control(kZMinEdit).IsVisible() && !(zMin < zMax);
    if (!xBad && !yBad && !zBad) return true;
    const int id = xBad ? kXMinEdit : yBad ? kYMinEdit : kZMinEdit;
    platform::MessageBox("The lower bound must be less than the upper bound.");
    Control(id).SetFocus();
    return false;
}

void xyview::Apply() {
    ReapplyDataShape();
    changed = 1;
    platform::PostRepaintRequest();
}

void xyview::OnOk() {
    if (!ReadFields()) return;
    Apply();
}

void xyview::OnParameterChange() { OnOk(); }

void xyview::OnAutozoom() {
    if (HasWindow()) {
        UpdateData(true);
        UpdateData(false);
    }
    EnableRangeEdits(!autozoom);
    OnOk();
    Invalidate();
}

void xyview::StepPercent(int delta) {
    if (delta < 0) {
        ++stepPercent;
    } else {
        stepPercent = stepPercent > 1 ? stepPercent - 1 : 1;
    }
}

void xyview::StepColorSteps(int delta) { colorSteps = std::clamp(colorSteps + (delta < 0 ? 1 : -1), 3, 255); }

void xyview::OnStepSpin(platform::Notify& n) {
    StepPercent(n.delta);
    UpdateData(false);
    n.result = 1;  // the page keeps the value; the up-down stays out of it
}

void xyview::OnColorStepsSpin(platform::Notify& n) {
    StepColorSteps(n.delta);
    UpdateData(false);
    n.result = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

void xyview::OnLow() {
    if (const auto chosen = platform::TheDialogs().ChooseColor(lowColor)) lowColor = *chosen;
    Control(kLowButton).Invalidate();
    changed = 1;
    platform::PostRepaintRequest();
}

void xyview::OnHigh() {
    if (const auto chosen = platform::TheDialogs().ChooseColor(highColor)) highColor = *chosen;
    Control(kHighButton).Invalidate();
    changed = 1;
    platform::PostRepaintRequest();
}

void xyview::OnHistogram() {
    histogram = histogram ? 0 : 1;
    Control(kHistogramButton).Invalidate();
    show3D = 0;
    OnOk();
}

void xyview::OnColorMapMode() {
    if (colorMapMode) {
        colorMapMode = 0;
        zControlsShown = 0;
        histogram = 0;
    } else {
        colorMapMode = 1;
        zControlsShown = 1;
    }
    ReapplyDataShape();
    Control(kColorMapButton).Invalidate();
    OnOk();
}

void xyview::OnButton1105() {
    theD3view.sceneRebuildRequest = 1;
    show3D = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

// ---- Pads ---------------------------------------------------------------------------------------

void xyview::StepXMax(int sign) { xMax += sign * xStep; }
void xyview::StepXMin(int sign) { xMin += sign * xStep; }
void xyview::StepYMax(int sign) { yMax += sign * yStep; }
void xyview::StepYMin(int sign) { yMin += sign * yStep; }
void xyview::StepZMax(int sign) { zMax += sign * zStep; }
void xyview::StepZMin(int sign) { zMin += sign * zStep; }

void xyview::ClickRangePad(platform::Point p) {
    if (autozoom) return;
    padPressed = 1;
    xStep = (xMax - xMin) * 0.01 * stepPercent;
    yStep = (yMax - yMin) * 0.01 * stepPercent;
    rangeZonePressed.fill(0);
    auto zone = [&](int k) {
        switch (k) {
            case 0: StepXMax(1); break;
            case 1: StepXMax(-1); break;
            case 2: StepXMin(1); break;
            case 3: StepXMin(-1); break;
            case 4: StepXMax(1), StepXMin(-1); break;
            case 5: StepXMax(-1), StepXMin(1); break;
            case 6: StepYMin(1); break;
            case 7: StepYMin(-1); break;
            case 8: StepYMax(1); break;
            case 9: StepYMax(-1); break;
            case 10: StepYMax(1), StepYMin(-1); break;
            case 11: StepYMax(-1), StepYMin(1); break;
            case 12: StepXMax(1), StepXMin(-1), StepYMax(1), StepYMin(-1); break;
            case 13: StepXMax(-1), StepXMin(1), StepYMax(-1), StepYMin(1); break;
            default: break;
        }
    };
    for (int k : kRangeZoneOrder) {
        if (!Inside(rangePadZones[static_cast<size_t>(k)], p)) continue;
        zone(k);
        rangeZonePressed[static_cast<size_t>(k)] = 1;
    }
    TidyRanges();
    OnOk();
    Control(kRangePad).Invalidate();
}

void xyview::ClickZPad(platform::Point p) {
    if (autozoom) return;
    padPressed = 1;
    zStep = (zMax - zMin) * 0.01 * stepPercent;
    zZonePressed.fill(0);
    for (int k = 0; k < kZZoneCount; ++k) {
        if (!Inside(zPadZones[static_cast<size_t>(k)], p)) continue;
        switch (k) {
            case 0: StepZMax(1); break;
            case 1: StepZMax(-1); break;
            case 2: StepZMin(1); break;
            case 3: StepZMin(-1); break;
            case 4: StepZMax(1), StepZMin(-1); break;
            default: StepZMax(-1), StepZMin(1); break;
        }
        zZonePressed[static_cast<size_t>(k)] = 1;
    }
    TidyRanges();
    OnOk();
    Control(kZPad).Invalidate();
}

namespace {

// Six significant digits, as the bounds are shown.
double Round6(double v, std::string& scratch) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    scratch = buffer;
    return std::strtod(buffer, nullptr);
}

// Puts hi above lo by the step; when the step is gone (no width, or lost in the rounding to
// six digits) by a fixed share of lo's magnitude, so no range is ever of zero width.
void OrderBounds(double& lo, double& hi, double step, std::string& scratch) {
    if (lo < hi) return;
    const double w = std::fabs(step);
    if (w > 0 && std::isfinite(w) && Round6(lo + w, scratch) > lo) {
        hi = lo + w;
    } else {
        hi = lo + (lo != 0 && std::isfinite(lo) ? std::fabs(lo) * 1e-5 : 1.0);
    }
}

}  // namespace

void xyview::TidyRanges() {
    OrderBounds(yMin, yMax, yStep, numberText);
    OrderBounds(xMin, xMax, xStep, numberText);
    OrderBounds(zMin, zMax, zStep, numberText);
    for (double* v : {&xMax, &xMin, &yMax, &yMin, &zMax, &zMin}) *v = Round6(*v, numberText);
    // Close bounds may have become equal in the rounding: order them again.
    OrderBounds(yMin, yMax, yStep, numberText);
    OrderBounds(xMin, xMax, xStep, numberText);
    OrderBounds(zMin, zMax, zStep, numberText);
    for (double* v : {&xMax, &yMax, &zMax}) *v = Round6(*v, numberText);
    if (HasWindow()) UpdateData(false);
}

void xyview::ResetZones() {
    rangePadZones = kRangeZones;
    zPadZones = kZZones;
    rangeZonePressed.fill(0);
    zZonePressed.fill(0);
}

void xyview::ScaleZones(int rangeWidth, int rangeHeight, int zWidth, int zHeight) {
    if (rangeWidth > 0 && rangeHeight > 0) {
        const double sx = static_cast<double>(rangeWidth) / kRangePictureWidth;
        const double sy = static_cast<double>(rangeHeight) / kRangePictureHeight;
        for (size_t k = 0; k < rangePadZones.size(); ++k) rangePadZones[k] = ScaleRect(kRangeZones[k], sx, sy);
    }
    if (zWidth > 0 && zHeight > 0) {
        const double sx = static_cast<double>(zWidth) / kZPictureWidth;
        const double sy = static_cast<double>(zHeight) / kZPictureHeight;
        for (size_t k = 0; k < zPadZones.size(); ++k) zPadZones[k] = ScaleRect(kZZones[k], sx, sy);
    }
}

bool xyview::PreTranslateInput(const platform::InputEvent& input) {
    if (input.controlId != kRangePad && input.controlId != kZPad) return false;
    if (input.kind == platform::InputEvent::LButtonDown || input.kind == platform::InputEvent::LButtonDblClk) {
        const Rect pad = Control(input.controlId).Bounds();
        const platform::Point p{input.point.x - pad.left, input.point.y - pad.top};
        if (input.controlId == kRangePad) {
            ClickRangePad(p);
        } else {
            ClickZPad(p);
        }
    } else if (input.kind == platform::InputEvent::LButtonUp) {
        padPressed = 0;
        Control(input.controlId).Invalidate();
    }
    return false;  // the button still shows itself pressed
}

// ---- Look ---------------------------------------------------------------------------------------

ControlColors xyview::OnCtlColor(int controlId) const {
    const platform::ColorRef text = autozoom ? platform::kBlack : kTextManual;
    switch (controlId) {
        case kXMinEdit:
        case kXMaxEdit:
        case kYMinEdit:
        case kYMaxEdit:
        case kZMinEdit:
        case kZMaxEdit:
        case kStepEdit:
            return autozoom ? TextOn(text, kEditBackAuto, kEditBackAuto) : TextOn(text, kEditBackManual, kLabelBack);
        case kAutozoomCheck:
            return TextOn(text, kLabelBack, autozoom ? kEditBackAuto : kLabelBack);
        case kColorStepsLabel:
            return TextOn(text, kLabelBack, kLabelBack);
        case kNoDataLabel:
            return TextOn(kNoDataText, kLabelBack, autozoom ? kEditBackAuto : kLabelBack);
        default: {
            ControlColors c = PageBrushOnly(kLabelBack);
            c.hasText = true;
            c.text = text;
            return c;
        }
    }
}

void xyview::OnPaint() { FillPageBackground(*this, kLabelBack); }

void xyview::DrawPad(platform::DrawItem& item, const platform::Bitmap& picture, const Rect* zones, int* pressed,
                     int count) {
    platform::Canvas& dc = *item.canvas;
    const Rect& r = item.rect;
    if (!picture.IsNull()) {
        dc.StretchFrom(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, picture.Width(), picture.Height());
    } else {
        dc.FillRect(r, kButtonFace);
    }
    padPressed = item.pressed ? 1 : padPressed;
    for (int k = 0; k < count; ++k) {
        const Rect z{r.left + zones[k].left, r.top + zones[k].top, r.left + zones[k].right, r.top + zones[k].bottom};
        DrawEdge(dc, z, pressed[k] && padPressed);
    }
    for (int k = 0; k < count; ++k) pressed[k] = 0;
}

bool xyview::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    auto pictureButton = [&](int picture) {
        const Rect inner = DrawButtonFace(dc, item.rect, kButtonFace, item.pressed);
        (void)inner;
        const Rect inset{item.rect.left + 3, item.rect.top + 3, item.rect.right - 3, item.rect.bottom - 3};
        DrawButtonPicture(dc, inset, pictures[static_cast<size_t>(picture)]);
    };
    switch (item.controlId) {
        case kRangePad:
            DrawPad(item, pictures[kPictureRangePad], rangePadZones.data(), rangeZonePressed.data(), kRangeZoneCount);
            return true;
        case kZPad:
            DrawPad(item, pictures[kPictureZPad], zPadZones.data(), zZonePressed.data(), kZZoneCount);
            return true;
        case kOkButton: {
            const Rect inner = DrawButtonFace(dc, item.rect, kOkFace, item.pressed);
            DrawButtonCaption(dc, inner, item.text, kOkCaption);
            return true;
        }
        case kHighButton:
        case kLowButton:
            pictureButton(kPictureHighLow);
            return true;
        case kHistogramButton:
            pictureButton(histogram ? kPictureHistogramOn : kPictureHistogramOff);
            return true;
        case kValueOnlyButton:
            pictureButton(kPictureValueOnly);
            return true;
        case kColorMapButton:
            pictureButton(twoValueColorMap ? kPictureHistogramOff
                                           : (colorMapMode ? kPictureColorMapOn : kPictureColorMapOff));
            return true;
        default:
            return false;
    }
}
