#include "fitting/scorereport.h"

#include "platform/dialog_template.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
scorereport theScorereport;

namespace {

platform::DialogTemplate ScoreReportTemplate() {
    platform::DialogTemplate t;
    t.id = scorereport::kTemplateId;
    t.caption = "Scoring";
    t.cx = 300;
    t.cy = 200;
    t.style = platform::kDialogPopup;
    return t;
}

const platform::DialogTemplateRegistration registration(ScoreReportTemplate());

}  // namespace

scorereport::scorereport() : Dialog(kTemplateId) {}
