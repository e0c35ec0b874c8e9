#include "app/tabulon_app.h"

#include "app/tabulon_dlg.h"
#include "platform/dialogs.h"
#include "platform/requests.h"
#include "platform/system.h"

namespace {

// Office automation needs no start-up of its own here, so it cannot fail.
bool InitializeAutomation() { return true; }

}  // namespace

CTabulonApp::CTabulonApp() { platform::SetApplicationTitle("Tabulon"); }

int CTabulonApp::InitInstance() {
    if (!InitializeAutomation()) {
        platform::MessageBox(
            "Could not initialize COM dll/n this means that you will not be able to export results/n to MS Office "
            "applications");
    }

    CTabulonDlg dlg;
    platform::SetMainWindow(&dlg);
    dlg.hasCommandLineDocument = 0;
    const std::string& commandLine = platform::CommandLine();
    if (!commandLine.empty()) {
        dlg.commandLineDocument = commandLine;
        dlg.hasCommandLineDocument = 1;
    }
    dlg.RunModal();
    return 0;
}
