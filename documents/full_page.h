#pragma once
// The options dialog of the full analysis, run modally before it. Its fields and controls
// come with the full analysis.
#include "platform/dialog.h"

class full : public platform::Dialog {
public:
    static constexpr int kTemplateId = 190;

    full();
};

extern full theFull;
