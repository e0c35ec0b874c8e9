#pragma once
// The scoring report dialog. The main window's paint handler serves its score-file request;
// the report itself comes with the scoring work.
#include "platform/dialog.h"

class scorereport : public platform::Dialog {
public:
    static constexpr int kTemplateId = 187;

    scorereport();

    int scoreFileRequest = 0;  // the next paint of the main window writes the score file
};

extern scorereport theScorereport;
