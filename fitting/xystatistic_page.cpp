#include "fitting/xystatistic_page.h"

#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
xystatistic theXystatistic;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);

platform::DialogTemplate SchemeTemplate() {
    platform::DialogTemplate t;
    t.id = xystatistic::kTemplateId;
    t.caption = "Statistics";
    t.cx = 200;
    t.cy = 162;
    t.style = platform::kDialogChild;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {xystatistic::kConstructorStyleButton, ControlKind::Button, "Constructor style", 8, 6, 88, 14, owner},
        {xystatistic::kFromListOfFormulasButton, ControlKind::Button, "From list of formulas", 104, 6, 88, 14, owner},
        {xystatistic::kCustomFormulasButton, ControlKind::Button, "Custom formulas", 8, 24, 88, 14, owner},
        {xystatistic::kUserFormulaButton, ControlKind::Button, "User formula", 104, 24, 88, 14, owner},
        {xystatistic::kPeaksRevealingButton, ControlKind::Button, "Peaks revealing", 8, 42, 88, 14, owner},
        {xystatistic::kCurveFittingGroup, ControlKind::GroupBox, "Curve fitting (multivariate approximation)", 6, 62,
         188, 58},
        {xystatistic::kPolynomFittingCheck, ControlKind::CheckBox, "Polynom fitting", 14, 74, 120, 10},
        {xystatistic::kHarmonicAnalysisCheck, ControlKind::CheckBox, "Harmonic analysis", 14, 88, 120, 10},
        {xystatistic::kSearchForBestFormulaCheck, ControlKind::CheckBox, "Search for best formula", 14, 102, 120, 10},
        {xystatistic::kCorrelationCheck, ControlKind::CheckBox, "Correlaton coefficient", 14, 126, 120, 10},
        {xystatistic::kOkButton, ControlKind::Button, "Ok", 146, 142, 46, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(SchemeTemplate());

}  // namespace

xystatistic::xystatistic() : Dialog(kTemplateId) {
    RouteCommand(kConstructorStyleButton, &xystatistic::OnConstructorStyle);
    RouteCommand(kFromListOfFormulasButton, &xystatistic::OnFromListOfFormulas);
    RouteCommand(kCustomFormulasButton, &xystatistic::OnCustomFormulas);
    RouteCommand(kUserFormulaButton, &xystatistic::OnUserFormula);
    RouteCommand(kPeaksRevealingButton, &xystatistic::OnPeaksRevealing);
    RouteCommand(kPolynomFittingCheck, &xystatistic::OnPolynomFitting);
    RouteCommand(kHarmonicAnalysisCheck, &xystatistic::OnHarmonicAnalysis);
    RouteCommand(kSearchForBestFormulaCheck, &xystatistic::OnSearchForBestFormula);
    RouteCommand(kCorrelationCheck, &xystatistic::OnCorrelationCoefficient);
    RouteCommand(kOkButton, &xystatistic::OnOk);
}

bool xystatistic::OnInitDialog() {
    SetKeysEndDialog(false);
    constructorStyle = 0;
    SetDefaultButton(kOkButton);
    UpdateData(false);
    Invalidate();
    return true;
}

void xystatistic::DoDataExchange(platform::Exchange& dx) {
    dx.Check(kCorrelationCheck, correlationCoefficient);
    dx.Check(kPolynomFittingCheck, polynomFitting);
    dx.Check(kHarmonicAnalysisCheck, harmonicAnalysis);
    dx.Check(kSearchForBestFormulaCheck, searchForBestFormula);
}

void xystatistic::ShowControl(int id, int show) {
    platform::Control c = Control(id);
    c.Show(show != 0);
    c.Enable(show != 0);
}

void xystatistic::ShowSchemeControls(int showSchemes, int showCorrelation) {
    for (int id : {kPeaksRevealingButton, kConstructorStyleButton, kFromListOfFormulasButton, kCustomFormulasButton,
                   kUserFormulaButton, kCurveFittingGroup, kPolynomFittingCheck, kHarmonicAnalysisCheck,
                   kSearchForBestFormulaCheck}) {
        ShowControl(id, showSchemes);
    }
    ShowControl(kCorrelationCheck, showCorrelation);
}

void xystatistic::ChooseScheme(int& flag, int& request) {
    schemeChanged = 1;
    constructorStyle = customFormulas = fromListOfFormulas = peaksRevealing = userFormula = 0;
    correlationCoefficient = polynomFitting = harmonicAnalysis = searchForBestFormula = 0;
    flag = 1;
    // The main window's next data-shape step shows the scheme's own settings page.
    constructorRequest = customRequest = userFormulaRequest = collectionRequest = peaksRequest = 0;
    request = 1;
    schemeButtonPressed = 1;
    UpdateData(false);
    OnOk();
}

void xystatistic::ToggleAnalysis(int& flag) {
    const int on = flag ? 0 : 1;
    correlationCoefficient = polynomFitting = harmonicAnalysis = searchForBestFormula = 0;
    flag = on;
    UpdateData(false);
    OnOk();
}

void xystatistic::OnConstructorStyle() { ChooseScheme(constructorStyle, constructorRequest); }
void xystatistic::OnCustomFormulas() { ChooseScheme(customFormulas, customRequest); }
void xystatistic::OnFromListOfFormulas() { ChooseScheme(fromListOfFormulas, collectionRequest); }
void xystatistic::OnPeaksRevealing() { ChooseScheme(peaksRevealing, peaksRequest); }
void xystatistic::OnUserFormula() { ChooseScheme(userFormula, userFormulaRequest); }

void xystatistic::OnCorrelationCoefficient() { ToggleAnalysis(correlationCoefficient); }
void xystatistic::OnPolynomFitting() { ToggleAnalysis(polynomFitting); }
void xystatistic::OnHarmonicAnalysis() { ToggleAnalysis(harmonicAnalysis); }
void xystatistic::OnSearchForBestFormula() { ToggleAnalysis(searchForBestFormula); }

void xystatistic::OnOk() {
    schemeChanged = 1;
    UpdateData(true);
    platform::PostRepaintRequest();
}

bool xystatistic::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kConstructorStyleButton:
        case kFromListOfFormulasButton:
        case kCustomFormulasButton:
        case kUserFormulaButton:
        case kPeaksRevealingButton:
            // The face does not tell whether the scheme is on.
            DrawPageButton(item, kLightText, kPageBrush);
            return true;
        default:
            return false;
    }
}

void xystatistic::OnPaint() { FillPageBackground(*this, kPageBrush); }

bool xystatistic::OnCtlColor(int controlId, platform::CtlColor& out) {
    switch (controlId) {
        case kCorrelationCheck:
        case kPolynomFittingCheck:
        case kHarmonicAnalysisCheck:
        case kSearchForBestFormulaCheck:
        case kCurveFittingGroup:
            out = TextOn(kLightText, kPageBrush, kPageBrush);
            return true;
        default:
            out = PageBrushOnly(kPageBrush);
            return true;
    }
}
