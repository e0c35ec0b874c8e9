#pragma once
// The options page of the distribution of two variables: the interval counts of both
// variables, "Auto intervals" and "Maximum density". The painters write the grid bounds and
// the largest record count back; the main window reads and clears its changed flag.
#include "platform/dialog.h"
#include "statistics/distribution2_settings.h"

class distribution2 : public platform::Dialog, public distribution2_settings {
public:
    static constexpr int kTemplateId = 140;

    enum : int {
        kOkButton = 1123,
        kFirstEdit = 1124,
        kFirstSpin = 1125,
        kAutoIntervalsCheck = 1126,
        kSecondEdit = 1127,
        kSecondSpin = 1128,
        kBothSpin = 1129,
        kMaximumDensityCheck = 1130,
        kIntervalsGroup = 1323,
    };
    static constexpr int kMinSpinIntervals = 3;
    static constexpr platform::ColorRef kPageColor = 0xCD1E1E;
    static constexpr platform::ColorRef kLabelColor = 0xFFFF64;
    static constexpr platform::ColorRef kEditColor = 0xF0FAFF;

    distribution2();

    distribution2_settings& settings = *this;  // the saved fields

    // Minimum of the first and of the second variable, then their maxima, as the last paint
    // used them; not saved.
    double densityGrid[4] = {0, 0, 0, 0};
    int changed = 0;

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;
    bool OnDrawItem(platform::DrawItem& item) override;

    void OnOk();
    void OnMaximumDensity() { OnOk(); }
    void OnAutoIntervals();
    void OnSpinFirstIntervals(platform::Notify& n);
    void OnSpinSecondIntervals(platform::Notify& n);
    void OnSpinBothIntervals(platform::Notify& n);
    // The edits and spins are open only without automatic intervals.
    void EnableIntervalControls();

    // One spin step: a negative delta adds one (no upper limit), any other removes one, not
    // below 3.
    static int SpinStep(int count, int delta);
};

extern distribution2 theDistribution2;
