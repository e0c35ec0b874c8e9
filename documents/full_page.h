#pragma once
// The options dialog of the full analysis, run modally before it. Its fields and controls
// come with the full analysis.
#include "documents/full_settings.h"
#include "platform/dialog.h"

class full : public platform::Dialog, public full_settings {
public:
    static constexpr int kTemplateId = 190;

    full();

    full_settings& settings = *this;  // the saved fields
};

extern full theFull;
