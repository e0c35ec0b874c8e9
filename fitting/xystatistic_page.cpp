#include "fitting/xystatistic_page.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
xystatistic theXystatistic;

namespace {

using platform::ControlKind;

platform::DialogTemplate SchemeTemplate() {
    platform::DialogTemplate t;
    t.id = xystatistic::kTemplateId;
    t.caption = "Statistics";
    t.cx = 200;
    t.cy = 150;
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
    };
    return t;
}

const platform::DialogTemplateRegistration registration(SchemeTemplate());

}  // namespace

xystatistic::xystatistic() : Dialog(kTemplateId) {}

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
