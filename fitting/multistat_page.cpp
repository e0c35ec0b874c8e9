#include "fitting/multistat_page.h"

#include <algorithm>

#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
multistat theMultistat;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);

platform::DialogTemplate MultiSchemeTemplate() {
    platform::DialogTemplate t;
    t.id = multistat::kTemplateId;
    t.caption = "Multiargument statistics";
    t.cx = 230;
    t.cy = 190;
    t.style = platform::kDialogChild;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {multistat::kCorrelationCheck, ControlKind::CheckBox, "Correlation", 10, 6, 120, 10},
        {multistat::kApproximationGroup, ControlKind::GroupBox, "Multivariate approximation", 4, 20, 222, 90},
        {multistat::kPlaneCheck, ControlKind::CheckBox, "Plane (y=a0+a1*x1+a2*x2+...an*xn)", 10, 32, 180, 10},
        {multistat::kParabolicCheck, ControlKind::CheckBox, "Parabolic (y=a0+a1(x1+b1)^2+a2*(x+b2)^2+...an*(x+bn)^2",
         10, 46, 214, 10},
        {multistat::kNearNeighborsCheck, ControlKind::CheckBox, "Near neighbors method ", 10, 60, 120, 10},
        {multistat::kWeightCombo, ControlKind::ComboBox, "", 10, 74, 130, 60},
        {multistat::kPercentEdit, ControlKind::Edit, "", 146, 74, 30, 12},
        {multistat::kPercentSpin, ControlKind::Spin, "", 176, 74, 10, 12},
        {multistat::kUserDefinedFormulaButton, ControlKind::Button, "User defined formula", 8, 116, 90, 14, owner},
        {multistat::kUnitaryArgumentButton, ControlKind::Button, "Unitary argument", 104, 116, 90, 14, owner},
        {multistat::kBestPolynomeButton, ControlKind::Button, "Best polynome", 8, 134, 90, 14, owner},
        {multistat::kBestPolynomeAutoButton, ControlKind::Button, "Best polynome auto", 104, 134, 90, 14, owner},
        {multistat::kOkButton, ControlKind::Button, "Ok", 146, 170, 46, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(MultiSchemeTemplate());

}  // namespace

multistat::multistat() : Dialog(kTemplateId) {
    RouteCommand(kCorrelationCheck, &multistat::OnCorrelation);
    RouteCommand(kPlaneCheck, &multistat::OnPlane);
    RouteCommand(kParabolicCheck, &multistat::OnParabolic);
    RouteCommand(kNearNeighborsCheck, &multistat::OnNearNeighborsMethod);
    Route(kWeightCombo, platform::Notification::SelChange, &multistat::OnCloseupWeightCombo);
    Route(kPercentSpin, platform::Notification::SpinDelta, &multistat::OnDeltaposSpin1);
    RouteCommand(kUserDefinedFormulaButton, &multistat::OnUserDefinedFormula);
    RouteCommand(kUnitaryArgumentButton, &multistat::OnUnitaryArgument);
    RouteCommand(kBestPolynomeButton, &multistat::OnBestPolynome);
    RouteCommand(kBestPolynomeAutoButton, &multistat::OnBestPolynomeAuto);
    RouteCommand(kOkButton, &multistat::OnOk);
}

bool multistat::OnInitDialog() {
    SetKeysEndDialog(false);
    platform::Control combo = Control(kWeightCombo);
    // The items carry trailing blanks, as the page always showed them.
    for (const char* item : {"Weight is invert distance ", "Weight is invert square distance ",
                             "Weight is invert exponent distance ", "Closest neighbors (%) "}) {
        combo.AddString(item);
    }
    SetDefaultButton(kOkButton);
    UpdateData(false);
    for (int id : {kWeightCombo, kPercentEdit, kPercentSpin}) Control(id).Enable(false);
    Invalidate();
    return true;
}

void multistat::DoDataExchange(platform::Exchange& dx) {
    dx.Check(kCorrelationCheck, correlation);
    dx.Check(kPlaneCheck, plane);
    dx.Check(kParabolicCheck, parabolic);
    dx.Check(kNearNeighborsCheck, nearNeighbors);
    dx.ComboIndex(kWeightCombo, weightKind);
    dx.Double(kPercentEdit, nearNeighborPercent);
    // A typed percentage is held to the spin's bounds: the estimate needs at least one
    // neighbour and at most half of the records.
    if (dx.Saving() && !dx.Failed()) {
        nearNeighborPercent = std::clamp(nearNeighborPercent, kMinPercent, kMaxPercent);
    }
}

void multistat::EnableSchemeControls(int enable) {
    for (int id : {kWeightCombo, kPercentEdit, kPercentSpin, kBestPolynomeButton, kUserDefinedFormulaButton,
                   kUnitaryArgumentButton, kCorrelationCheck, kPlaneCheck, kParabolicCheck, kNearNeighborsCheck}) {
        Control(id).Enable(enable != 0);
    }
}

void multistat::ClearSchemes() {
    correlation = plane = parabolic = nearNeighbors = 0;
    userDefinedFormula = unitaryArgument = bestPolynome = bestPolynomeAuto = 0;
}

void multistat::EnablePercent() {
    const bool on = weightKind > 2;
    Control(kPercentEdit).Enable(on);
    Control(kPercentSpin).Enable(on);
}

void multistat::ToggleScheme(int& flag) {
    const int on = flag ? 0 : 1;
    ClearSchemes();
    flag = on;
    UpdateData(false);
    for (int id : {kWeightCombo, kPercentEdit, kPercentSpin}) Control(id).Enable(false);
    OnOk();
}

void multistat::ChooseScheme(int& flag) {
    ClearSchemes();
    flag = 1;
    UpdateData(false);
    OnOk();
}

void multistat::OnCorrelation() { ToggleScheme(correlation); }
void multistat::OnPlane() { ToggleScheme(plane); }
void multistat::OnParabolic() { ToggleScheme(parabolic); }

void multistat::OnNearNeighborsMethod() {
    const int on = nearNeighbors ? 0 : 1;
    ClearSchemes();
    nearNeighbors = on;
    UpdateData(false);
    Control(kWeightCombo).Enable(true);
    EnablePercent();
    OnOk();
}

void multistat::OnCloseupWeightCombo() {
    UpdateData(true);
    EnablePercent();
    OnOk();
}

void multistat::OnDeltaposSpin1(platform::Notify& n) {
    nearNeighborPercent += n.delta < 0 ? 1 : -1;
    if (nearNeighborPercent > kMaxPercent) nearNeighborPercent = kMaxPercent;
    if (nearNeighborPercent < kMinPercent) nearNeighborPercent = 0.02;
    UpdateData(false);
    OnOk();
    n.result = 0;
}

void multistat::OnUserDefinedFormula() { ChooseScheme(userDefinedFormula); }
void multistat::OnUnitaryArgument() { ChooseScheme(unitaryArgument); }
void multistat::OnBestPolynome() { ChooseScheme(bestPolynome); }

void multistat::OnBestPolynomeAuto() {
    ClearSchemes();
    bestPolynomeAuto = 1;
    UpdateData(false);
    platform::PostJobRequest();
    if (searchRunning) {
        OnSearchEnded();
    } else {
        searchRunning = 1;
        Control(kBestPolynomeAutoButton).SetText("Stop search");
        EnableSchemeControls(0);
    }
    OnOk();
}

void multistat::OnSearchEnded() {
    Control(kBestPolynomeAutoButton).SetText("Best polynome auto");
    EnableSchemeControls(1);
    searchRunning = 0;
}

void multistat::ShowDocumentScheme(bool schemesReset) {
    if (!HasWindow()) return;
    UpdateData(false);
    Control(kWeightCombo).Enable(!schemesReset && nearNeighbors);
    EnablePercent();
}

void multistat::OnOk() {
    UpdateData(true);
    changed = 1;
    platform::PostRepaintRequest();
}

bool multistat::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kUserDefinedFormulaButton:
        case kUnitaryArgumentButton:
        case kBestPolynomeButton:
        case kBestPolynomeAutoButton:
            DrawPageButton(item, Rgb(20, 155, 100), Rgb(250, 250, 150));
            return true;
        default:
            return false;
    }
}

void multistat::OnPaint() { FillPageBackground(*this, kPageBrush); }

bool multistat::OnCtlColor(int controlId, platform::CtlColor& out) {
    if ((controlId >= kPlaneCheck && controlId <= kPercentSpin) || controlId == kApproximationGroup) {
        out = TextOn(kLightText, kPageBrush, kPageBrush);
    } else {
        out = PageBrushOnly(kPageBrush);
    }
    return true;
}
