#pragma once
// The About box: the program icon, its name and version, and OK.
#include "platform/dialog.h"

class CAboutDlg : public platform::Dialog {
public:
    CAboutDlg();
    bool OnInitDialog() override;
};
