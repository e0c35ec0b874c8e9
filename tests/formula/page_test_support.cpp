#include "page_test_support.h"

#include "platform/dialog_template.h"

namespace pagetest {

namespace {

const platform::DialogTemplateRegistration stubTemplate({
    .id = MainStub::kTemplateId,
    .caption = "Main",
    .cx = 100,
    .cy = 60,
    .style = platform::kDialogPopup,
    .controls = {},
});

}  // namespace

MainStub::MainStub() : Dialog(kTemplateId) {
    Create(nullptr);
    platform::PumpWaitingMessages();
    paints = 0;
    platform::SetMainWindow(this);
}

MainStub::~MainStub() { platform::SetMainWindow(nullptr); }

}  // namespace pagetest
