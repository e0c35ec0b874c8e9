#pragma once
// The peak settings page. The main window reads and clears its flags; the settings come with
// the page's own work.
#include "platform/dialog.h"

class sinaldlg : public platform::Dialog {
public:
    static constexpr int kTemplateId = 146;

    sinaldlg();

    int changed = 0;
    int applyRequested = 0;  // set when its content changes; the data-shape step clears it
};

extern sinaldlg theSinaldlg;
