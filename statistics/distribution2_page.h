#pragma once
// The options page of the distribution of two variables. The main window reads and clears
// its changed flag; the interval controls come with the page's own work.
#include "platform/dialog.h"

class distribution2 : public platform::Dialog {
public:
    static constexpr int kTemplateId = 140;

    distribution2();

    int changed = 0;
};

extern distribution2 theDistribution2;
