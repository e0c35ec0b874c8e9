#include "app/main_resources.h"

#include "app/resource_ids.h"
#include "platform/dialog_template.h"

namespace {

const platform::DialogTemplateRegistration mainTemplate({
    .id = kTemplateMain,
    .caption = "Tabulon",
    .cx = 600,
    .cy = 400,
    .style = platform::kDialogPopup | platform::kDialogResizable | platform::kDialogMinMax,
    .controls = {},
});

}  // namespace

platform::MenuTemplate MainMenu() {
    using platform::MenuCommand;
    using platform::MenuPopup;
    return {
        MenuPopup("&File", {MenuCommand("E&xit", kCommandExit)}),
        MenuPopup("&Help", {MenuCommand("&About Tabulon", kCommandAbout)}),
    };
}
