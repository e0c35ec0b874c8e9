#pragma once
// The several-argument scheme page: how data of two or more arguments are modelled. The
// dispatcher, the tab rules, the job hook and the fits read its flags directly; its controls
// come with the page's own work.
#include "fitting/multistat_settings.h"
#include "platform/dialog.h"

class multistat : public platform::Dialog, public multistat_settings {
public:
    static constexpr int kTemplateId = 147;

    multistat();

    multistat_settings& settings = *this;  // the saved fields

    int changed = 0;
    int searchRunning = 0;      // the automatic search loops while it is set
    int applyRequested = 0;      // the page asks the main window to apply its scheme

    // Any of the five fit schemes that the View page and the tab rules react to.
    bool AnyFitScheme() const {
        return userDefinedFormula || nearNeighbors || unitaryArgument || bestPolynome || bestPolynomeAuto;
    }
};

extern multistat theMultistat;
