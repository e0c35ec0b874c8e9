#pragma once
// The distribution options page of one variable: bins, display modes and the list of record
// filter conditions. The main window reads its changed flag and refills its parameter list
// (combo 1246); the bin and display controls come with the page's own work.
#include <vector>

#include "platform/dialog.h"
#include "statistics/conditions.h"
#include "statistics/distrimution_settings.h"

class distrimution : public platform::Dialog, public distrimution_settings {
public:
    static constexpr int kTemplateId = 138;

    enum : int {
        kParameterCombo = 1246,  // parameter of the condition to add
    };

    distrimution();

    distrimution_settings& settings = *this;  // the saved fields

    int changed = 0;
};

// Removes every condition on the global parameter index (column deletion calls it for each
// removed index).
void RemoveConditionsOfParameter(int globalIndex);

extern distrimution theDistrimution;
