#pragma once
// The peak settings page. The main window reads and clears its flags; the settings come with
// the page's own work.
#include "fitting/sinaldlg_settings.h"
#include "platform/dialog.h"

class sinaldlg : public platform::Dialog, public sinaldlg_settings {
public:
    static constexpr int kTemplateId = 146;

    sinaldlg();

    sinaldlg_settings& settings = *this;  // the saved fields

    int changed = 0;
    int applyRequested = 0;  // set when its content changes; the data-shape step clears it
};

extern sinaldlg theSinaldlg;
