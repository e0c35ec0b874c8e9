#pragma once
// The user-formula page: a formula with named coefficients and their table (value, step,
// minimum, maximum), the settings of the coefficient fitting, and "Run fitting" / "Stop".
// The user-formula schemes, the fitting, the job hook and the document read its fields
// directly; the document keeps them as one text (UserDefinedAttributeText).
#include <cstdint>
#include <string>
#include <vector>

#include "fitting/useruf_settings.h"
#include "statistics/random.h"

#include "widgets/page_look.h"
#include "platform/dialog.h"

class useruf : public platform::Dialog, public useruf_settings {
public:
    static constexpr int kTemplateId = 145;

    enum : int {
        kOkButton = 1157,
        kFormulaEdit = 1158,
        kCoefficientList = 1159,
        kAddButton = 1160,
        kEditButton = 1162,
        kDeleteButton = 1163,
        kNameEdit = 1166,
        kValueEdit = 1167,
        kStepEdit = 1168,
        kMinEdit = 1169,
        kMaxEdit = 1170,
        kMoreButton = 1171,
        kRunFittingButton = 1172,
        kStopButton = 1173,
        kStopConditionEdit = 1176,
        kStopConditionLabel = 1313,
        kColumnHeads = 1314,
        kFormulaLabel = 1315,
        kPlusConstCheck = 1467,
        kDefaultStepsButton = 1468,
        kSchemeLabel = 1470,
        kSchemeCombo = 1471,
        kFetchLabel = 1472,
        kCoefficientsLabel = 1473,
        kFetchCombo = 1474,
        kRoundLabel = 1475,
    };

    useruf();

    int busy = 0;         // 1 while the fitting loop runs
    int moreRequest = 0;  // ">>": the main window shows the scheme page again
    int running = 0;      // the fitting is running or asked for
    // Saved: the formula, the coefficient table (names, values, steps, minima, maxima), the
    // selected row and "+ const".
    useruf_settings& settings = *this;
    int listCount = 0;
    int changed = 0;
    double limitHours = 1.0;
    int limitOn = 0;
    std::int64_t startTime = 0;
    // The fitting's own generator, seeded by the clock when the page is built and drawn from
    // by every run after.
    randomGenerator fitRandom;
    std::string nameEdit;
    int trialsBeforeShrink = 20;
    double maxEdit = 1e40, minEdit = -1e40, stepEdit = 0, valueEdit = 0;
    double shrinkFactor = 0.87;
    double stopCondition = 1e-6;
    int fittingScheme = 1;
    int fetchSetting = 0;

    // The page's apply step (also run by the document reader and the macro runner).
    void OnOk();
    void ApplyCoefficientEdits();
    void ShowSelectedCoefficient();
    void RefillCoefficientList();
    void OnSelChangeCoefficientList();
    void OnEdit();
    void OnAdd();
    void AddNextCoefficient();
    void AddCoefficient();
    void OnDelete();
    void DeleteAllCoefficients();
    void OnSetDefaultSteps();
    void SetDefaultSteps();
    void ApplyFetchSetting();
    void OnPlusConst();
    void OnMore();
    void OnRunFitting();
    void StartFitting();
    void OnStop();
    void StopFitting();
    void StopOnTimeLimit();
    void ForwardToOnOk() { OnOk(); }
    // The number of the running fitting's round in label 1475.
    void ShowRound(int n);

    // The left-hand side of the formula, and the '+ const' option.
    void SetFormulaLabel(const std::string& text);
    void EnablePlusConst(int flag);

    // Shows the saved fields again (after a document is read), then applies the page.
    void ShowSettings();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    void ShowRunningButtons();
    void AppendRow(const std::string& name, double value, double step, double min, double max);
    void ResetTable();
};

extern useruf theUseruf;
