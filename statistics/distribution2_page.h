#pragma once
// The options page of the distribution of two variables. The main window reads and clears
// its changed flag; the interval controls come with the page's own work.
#include "platform/dialog.h"
#include "statistics/distribution2_settings.h"

class distribution2 : public platform::Dialog, public distribution2_settings {
public:
    static constexpr int kTemplateId = 140;

    distribution2();

    distribution2_settings& settings = *this;  // the saved fields

    int changed = 0;
};

extern distribution2 theDistribution2;
