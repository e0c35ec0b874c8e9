// "Run macro file": the runner of macro files, kept in the message map although start-up
// removes its menu item, and what the runner borrows of the main window.
#include <optional>
#include <string>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "documents/macro_parser.h"
#include "documents/macro_runner.h"
#include "fitting/multistat_page.h"
#include "platform/dialogs.h"
#include "platform/requests.h"

void CTabulonDlg::RouteMacroCommands() { RouteCommand(kCommandRunMacroFile, &CTabulonDlg::OnRunMacroFile); }

MacroHost CTabulonDlg::MacroHostOfWindow() {
    MacroHost host;
    host.pause = macroLinePause ? macroLinePause : [](int ms) { platform::SleepMs(ms); };
    host.pumpWaitingMessages = [] { PumpWaitingMessages(); };
    host.waitWhileBusy = [] { WaitWhileBusy(); };
    host.copyCoefficients = [this] { OnCopyCoefficients(); };
    host.paintMainWindow = [this] { OnPaint(); };
    host.selectUserFormulaScheme = [] { theMultistat.OnUserDefinedFormula(); };
    return host;
}

void CTabulonDlg::OnRunMacroFile() {
    platform::FileDialogRequest request;
    request.title = "Open macro file";
    request.filter = "*.txt|*.txt||";
    request.initialPath = "*.txt";
    request.defaultExtension = "txt";
    request.confirmReplace = false;
    const std::optional<std::string> chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen || chosen->empty()) return;
    RunMacroFile(*chosen, theMacroParser, MacroHostOfWindow());
}

void CTabulonDlg::RunMacroCommand() { ::RunMacroCommand(theMacroParser, MacroHostOfWindow()); }
