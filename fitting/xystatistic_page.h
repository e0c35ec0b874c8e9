#pragma once
// The single-argument scheme page: which fitting schemes the views of one argument run. Five
// exclusive scheme buttons and four exclusive analysis check boxes; a button and a check box
// may be on together. Views, scheme routines and the document read its flags directly; the
// main window shows or hides its scheme controls by the data shape and, after a scheme button,
// shows that scheme's own settings page.
#include "widgets/page_look.h"
#include "fitting/xystatistic_settings.h"
#include "platform/dialog.h"

class xystatistic : public platform::Dialog, public xystatistic_settings {
public:
    static constexpr int kTemplateId = 134;

    enum : int {
        kOkButton = 1054,
        kConstructorStyleButton = 1133,
        kFromListOfFormulasButton = 1155,
        kCustomFormulasButton = 1150,
        kUserFormulaButton = 1178,
        kPeaksRevealingButton = 1185,
        kCurveFittingGroup = 1305,
        kPolynomFittingCheck = 1188,
        kHarmonicAnalysisCheck = 1189,
        kSearchForBestFormulaCheck = 1190,
        kCorrelationCheck = 1187,
    };

    xystatistic();

    // show != 0 shows and enables the control, 0 hides and disables it.
    void ShowControl(int id, int show);
    // The five scheme buttons with the curve-fitting group by showSchemes, the correlation
    // check box by showCorrelation.
    void ShowSchemeControls(int showSchemes, int showCorrelation);

    xystatistic_settings& settings = *this;  // the saved fields: the nine scheme flags

    int schemeChanged = 0;  // the page's changed flag
    // Requests of the scheme buttons for their pages, and "a scheme button was pressed";
    // the main window's data-shape step serves and clears them.
    int constructorRequest = 0;
    int customRequest = 0;
    int userFormulaRequest = 0;
    int collectionRequest = 0;
    int peaksRequest = 0;
    int schemeButtonPressed = 0;

    // The scheme buttons: each turns its scheme on and every other flag off.
    void OnConstructorStyle();
    void OnCustomFormulas();
    void OnFromListOfFormulas();
    void OnPeaksRevealing();
    void OnUserFormula();
    // The check boxes: each inverts its own flag and turns the other three off.
    void OnCorrelationCoefficient();
    void OnPolynomFitting();
    void OnHarmonicAnalysis();
    void OnSearchForBestFormula();
    // Controls into members, changed flag, repaint request.
    void OnOk();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    void ChooseScheme(int& flag, int& request);
    void ToggleAnalysis(int& flag);
};

extern xystatistic theXystatistic;
