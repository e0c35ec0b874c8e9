#pragma once
// The preset models page: a fixed list of 25 models of one argument (polynomials of y, ln(y)
// and 1/y in x, and a few with ln(x), 1/x and 1/x^2). The user picks one, or asks the fitting
// code to search the list by one of three criteria; the fitting code turns the chosen entry
// into a model formula pair through GetPresetModelFormulas.
#include <string>
#include <vector>

#include "formula/collection_settings.h"
#include "platform/dialog.h"
#include "widgets/page_look.h"

class collection : public platform::Dialog, public collection_settings {
public:
    static constexpr int kTemplateId = 144;
    static constexpr int kModelCount = 25;

    enum : int {
        kOkButton = 1151,
        kApplyButton = 1152,
        kOverallFitButton = 1153,
        kModelList = 1154,
        kDeviationLinesCheck = 1156,
        kHintStatic = 1308,
        kAutoSearchStatic = 1425,
        kStabilityButton = 1426,
        kMinOfMaxOutButton = 1427,
    };

    collection();

    collection_settings& settings = *this;  // the saved fields

    int changed = 0;
    int applyRequested = 0;
    int overallFit = 0;         // search criteria: exactly one is 1 after a search button
    int stabilitySearch = 0;
    int minOfMaxOutSearch = 0;
    int fittedModel = 0;        // written and read by the fitting code
    std::string modelTransform; // filled by the fitting code through GetPresetModelFormulas
    std::vector<std::string> modelBasis;

    // The list entry as shown, "" outside 0 to 24.
    static std::string DisplayText(int index);
    // Fills the model formula pair of entry selectedModel for the argument name x and the
    // value name y; both outputs empty for an index outside 0 to 24.
    void GetPresetModelFormulas(std::string& transform, std::vector<std::string>& basis, const std::string& x,
                                const std::string& y) const;
    // Shows selectedModel as the list's selection (the fitting code calls it after a search).
    void SelectModelInList();

    void OnSelChangeModelList();
    void OnOverallFit();
    void OnStability();
    void OnMinOfMaxOut();
    void OnDeviationLines();
    void OnApply();
    // The scheme page's apply step, run on this page: controls into members, changed flag,
    // repaint request.
    void ApplyStep();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

private:
    void StartSearch(int& criterion);
};

extern collection theCollection;
