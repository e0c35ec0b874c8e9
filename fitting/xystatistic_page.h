#pragma once
// The single-argument scheme page: which fitting schemes the views of one argument run.
// Views, scheme routines and the main window read its flags directly; the main window shows
// or hides its scheme controls by the data shape. The buttons' handlers come with the page's
// own work.
#include "fitting/xystatistic_settings.h"
#include "platform/dialog.h"

class xystatistic : public platform::Dialog, public xystatistic_settings {
public:
    static constexpr int kTemplateId = 134;

    enum : int {
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

    xystatistic_settings& settings = *this;  // the saved fields

    // show != 0 shows and enables the control, 0 hides and disables it.
    void ShowControl(int id, int show);
    // The five scheme buttons with the curve-fitting group by showSchemes, the correlation
    // check box by showCorrelation.
    void ShowSchemeControls(int showSchemes, int showCorrelation);

    int schemeChanged = 0;  // the page's changed flag
    // Scheme buttons, at most one on.
    // Analysis check boxes, at most one on.
    // Requests of the scheme buttons for their pages, and "a scheme button was pressed";
    // the main window's data-shape step serves and clears them.
    int constructorRequest = 0;
    int customRequest = 0;
    int userFormulaRequest = 0;
    int collectionRequest = 0;
    int peaksRequest = 0;
    int schemeButtonPressed = 0;
};

extern xystatistic theXystatistic;
