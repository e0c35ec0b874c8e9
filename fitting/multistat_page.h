#pragma once
// The several-argument scheme page: how data of two or more arguments are modelled. Eight
// scheme flags that exclude each other, the near-neighbour weight and percentage, and the
// start and stop of the automatic best-polynomial search. The dispatcher, the tab rules, the
// job hook and the fits read its flags directly.
#include "fitting/multistat_settings.h"
#include "platform/dialog.h"
#include "widgets/page_look.h"

class multistat : public platform::Dialog, public multistat_settings {
public:
    static constexpr int kTemplateId = 147;

    enum : int {
        kOkButton = 1191,
        kPlaneCheck = 1192,
        kParabolicCheck = 1193,
        kCorrelationCheck = 1194,
        kNearNeighborsCheck = 1195,
        kWeightCombo = 1196,
        kPercentEdit = 1197,
        kPercentSpin = 1198,
        kApproximationGroup = 1304,
        kUserDefinedFormulaButton = 1469,
        kUnitaryArgumentButton = 1470,
        kBestPolynomeButton = 1471,
        kBestPolynomeAutoButton = 1472,
    };
    // The spin's bounds, which a typed percentage is held to as well.
    static constexpr double kMinPercent = 0.01;
    static constexpr double kMaxPercent = 50;

    multistat();

    multistat_settings& settings = *this;  // the saved fields

    int changed = 0;
    int searchRunning = 0;      // the automatic search loops while it is set
    int applyRequested = 0;      // the page asks the main window to apply its scheme

    // Any of the five fit schemes that the View page and the tab rules react to.
    bool AnyFitScheme() const {
        return userDefinedFormula || nearNeighbors || unitaryArgument || bestPolynome || bestPolynomeAuto;
    }

    // Enables or disables the scheme controls together ("Best polynome auto" and "Ok" stay).
    void EnableSchemeControls(int enable);

    void OnCorrelation();
    void OnPlane();
    void OnParabolic();
    void OnNearNeighborsMethod();
    void OnCloseupWeightCombo();
    void OnDeltaposSpin1(platform::Notify& n);
    void OnUserDefinedFormula();
    void OnUnitaryArgument();
    void OnBestPolynome();
    void OnBestPolynomeAuto();
    // The automatic search has ended, by "Stop search" or otherwise (data deleted, window
    // closing): the button and the scheme controls are as before it started.
    void OnSearchEnded();
    // Controls into the fields, changed flag, repaint request.
    void OnOk();
    // The fields as a document set them: the weight list opens for the near-neighbour scheme
    // (unless the document named several schemes and plane was put in their place), the
    // percentage for the "Closest neighbors (%)" weight.
    void ShowDocumentScheme(bool schemesReset);

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    void ClearSchemes();
    void ToggleScheme(int& flag);
    void ChooseScheme(int& flag);
    void EnablePercent();
};

extern multistat theMultistat;
