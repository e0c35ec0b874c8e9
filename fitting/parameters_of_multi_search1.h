#pragma once
// The settings dialog of the stepped best-polynomial searches, run modally from the
// multi-term constructor page: how the full search starts and grows, its limits, the score
// criterion and the CSV log. The searches read its fields directly.
#include <string>

#include "fitting/parameters_of_multi_search1_settings.h"
#include "platform/dialog.h"

class parametersOfMultiSearch1 : public platform::Dialog, public parameters_of_multi_search1_settings {
public:
    static constexpr int kTemplateId = 196;

    enum : int {
        kSaveLogCheck = 1500,
        kLogFileText = 1501,
        kBrowseButton = 1502,
        kConditionsGroup = 1503,
        kIncludeConstantCheck = 1504,
        kContinueFromCurrentCheck = 1505,
        kMaxTermsEdit = 1506,
        kVainTriesEdit = 1508,
        kRandomTermsEdit = 1509,
        kMaxMinutesEdit = 1515,
        kCriterionCombo = 1516,
        kStartTermsEdit = 1520,
        kOkButton = 1498,
    };
    // A model holds 50 terms; the full search fits maxTerms + 1 + randomTerms of them.
    static constexpr int kMaxSearchTerms = 49;
    // A model holds 10,000 codes: terms times arguments.
    static constexpr int kMaxSearchCodes = 10000;

    parametersOfMultiSearch1();

    parameters_of_multi_search1_settings& settings = *this;  // the saved fields

    int accepted = 0;     // 1 when the user ended the dialog with "OK" on valid fields
    int searchFlag = 0;   // written by the best-polynomial search
    int startTerms = 2;   // terms of the polynomial the full search starts from (not saved)
    int argumentCount = 0;  // arguments of the data, set by whoever runs the dialog
    std::string fileNameBuffer = "default.csv";
    std::string initialFolder;  // first folder of the next file dialog
    std::string browseTitle = "Select file to save results of search";

    // Holds the settings to what a model can take: maxTerms + randomTerms at most 49 (else
    // maxTerms = 49 - randomTerms, or 40 and 8 when that is below 4). Returns true when
    // something changed.
    bool ClampToModelSize();
    // Whether the settings fit the model: terms within 49 and terms times arguments within
    // 10,000; the refusal text otherwise.
    bool FitsModel(std::string* why) const;

    void OnBrowse();
    void OnUpdateDataShared();
    void OnOK() override;

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;
};

extern parametersOfMultiSearch1 theParametersOfMultiSearch1;
