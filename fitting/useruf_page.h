#pragma once
// The user-formula page: a formula with named coefficients whose values the user-formula
// fitting searches. "Run fitting" asks the main window's job hook for the fitting, "Stop"
// ends it; the job hook and the fitting read the running and busy flags directly. The
// formula and the coefficient table come with the page's own work.
#include <string>
#include <vector>

#include "fitting/useruf_settings.h"
#include "platform/dialog.h"

class useruf : public platform::Dialog, public useruf_settings {
public:
    static constexpr int kTemplateId = 145;

    enum : int {
        kRunFittingButton = 1172,
        kStopButton = 1173,
        kFormulaLabel = 1315,
        kPlusConstCheck = 1467,
    };

    useruf();

    useruf_settings& settings = *this;  // the saved fields

    int busy = 0;         // 1 while the fitting loop runs
    int moreRequest = 0;  // ">>": the main window shows the scheme page again
    int running = 0;      // the fitting is running or asked for
    int changed = 0;

    // "Run fitting" and "Stop".
    void OnRunFitting();
    void OnStop();
    void StartFitting();
    void StopFitting();

    // The left-hand side of the formula, and the '+ const' option.
    void SetFormulaLabel(const std::string& text);
    void EnablePlusConst(int flag);

    bool OnInitDialog() override;

private:
    void ShowRunningButtons();
};

extern useruf theUseruf;
