#pragma once
// The several-argument scheme page: how data of two or more arguments are modelled. The
// dispatcher, the tab rules, the job hook and the fits read its flags directly; its controls
// come with the page's own work.
#include "platform/dialog.h"

class multistat : public platform::Dialog {
public:
    static constexpr int kTemplateId = 147;

    multistat();

    int changed = 0;
    int bestPolynomeAuto = 0;   // "Best polynome auto"
    int searchRunning = 0;      // the automatic search loops while it is set
    int nearNeighbors = 0;      // "Near neighbors method "
    int correlation = 0;        // "Correlation"
    int parabolic = 0;
    int plane = 1;
    int unitaryArgument = 0;    // "Unitary argument"
    int bestPolynome = 0;       // "Best polynome"
    int weightKind = 2;
    double nearNeighborPercent = 3.0;
    int userDefinedFormula = 0;  // "User defined formula"
    int applyRequested = 0;      // the page asks the main window to apply its scheme

    // Any of the five fit schemes that the View page and the tab rules react to.
    bool AnyFitScheme() const {
        return userDefinedFormula || nearNeighbors || unitaryArgument || bestPolynome || bestPolynomeAuto;
    }
};

extern multistat theMultistat;
