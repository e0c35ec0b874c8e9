// Start-up: the main dialog run by the start routine, its caption and document path, the
// command line, the About box by both routes, and the ways the dialog ends.
#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_app.h"
#include "app/tabulon_dlg.h"
#include "platform/requests.h"
#include "platform/scripted_dialogs.h"
#include "platform/system.h"

namespace {

// Runs the start routine with the command line given; the step runs while the main dialog is up.
void StartWith(const std::string& commandLine, platform::ScriptedDialogs& dialogs,
               std::function<void(CTabulonDlg&)> step) {
    platform::SetCommandLine(commandLine);
    dialogs.modalSteps.push_back([step](platform::Dialog& d) { step(static_cast<CTabulonDlg&>(d)); });
    EXPECT_EQ(theApp.InitInstance(), 0);
    platform::SetCommandLine("");
}

QAction* MenuAction(CTabulonDlg& dlg, int menu, int item) {
    return dlg.MenuBar().SubMenu(menu).Widget()->actions().at(item);
}

TEST(StartUp, MainDialogShowsTheUntitledDocument) {
    platform::ScriptedDialogs dialogs;
    StartWith("", dialogs, [](CTabulonDlg& dlg) {
        const std::string expected = platform::ProgramFolder() + "untitled.cdf";
        EXPECT_EQ(documentPath, expected);
        EXPECT_EQ(dlg.Caption(), "Tabulon - " + expected);
        EXPECT_EQ(dlg.hasCommandLineDocument, 0);
        EXPECT_EQ(dlg.initialised, 1);
        EXPECT_TRUE(dlg.IsVisible());
        EXPECT_TRUE(dlg.IsMaximized());
        EXPECT_EQ(platform::MainWindow(), &dlg);
        EXPECT_GT(dlg.virtualScreenBitmap.Width(), 0);
        EXPECT_EQ(dlg.virtualScreenBitmap.Image().pixel(0, 0), 0xFFFFFFFFu);
        EXPECT_EQ(MenuAction(dlg, 0, 0)->text().toStdString(), "E&xit");
    });
    EXPECT_EQ(dialogs.CountOf("modal"), 1);
    EXPECT_EQ(platform::MainWindow(), nullptr);
}

TEST(StartUp, CommandLineIsTakenWhole) {
    struct Case {
        std::vector<const char*> argv;
        std::string document;
        int has;
    };
    const Case cases[] = {
        {{"tabulon"}, "", 0},
        {{"tabulon", "\"/data/my file.cdf\""}, "\"/data/my file.cdf\"", 1},
        {{"tabulon", "/a.cdf", "/b.cdf"}, "/a.cdf /b.cdf", 1},
        {{"tabulon", " "}, " ", 1},  // only blanks is not empty
    };
    for (const Case& c : cases) {
        platform::ScriptedDialogs dialogs;
        const std::string line = platform::JoinArguments(static_cast<int>(c.argv.size()), c.argv.data());
        StartWith(line, dialogs, [&](CTabulonDlg& dlg) {
            EXPECT_EQ(dlg.commandLineDocument, c.document);
            EXPECT_EQ(dlg.hasCommandLineDocument, c.has);
        });
    }
}

TEST(StartUp, AboutBoxByMenuAndBySystemCommand) {
    platform::ScriptedDialogs dialogs;
    auto aboutStep = [&](platform::Dialog& about) {
        EXPECT_EQ(about.Caption(), "About Tabulon");
        EXPECT_EQ(about.Control(kAboutVersion).Text(), "Tabulon Version 17.4");
        about.Control(platform::kOk).Click();
        EXPECT_TRUE(about.IsDialogEnded());
    };
    StartWith("", dialogs, [&](CTabulonDlg& dlg) {
        dialogs.modalSteps.push_back(aboutStep);
        MenuAction(dlg, 1, 0)->trigger();
        dialogs.modalSteps.push_back(aboutStep);
        dlg.SystemMenu().Widget()->actions().back()->trigger();
        dialogs.modalSteps.push_back(aboutStep);
        dlg.OnSysCommand(kSysCommandAbout | 0x3, 0);
        EXPECT_FALSE(dlg.IsDialogEnded());
    });
    EXPECT_EQ(dialogs.CountOf("modal"), 4);  // the main dialog and three About boxes
    EXPECT_EQ(dialogs.Messages().size(), 0u);
}

TEST(StartUp, ExitEndsAsOkAndClosingAsCancel) {
    platform::ScriptedDialogs dialogs;
    StartWith("", dialogs, [](CTabulonDlg& dlg) {
        MenuAction(dlg, 0, 0)->trigger();
        EXPECT_TRUE(dlg.IsDialogEnded());
        EXPECT_EQ(dlg.ModalResult(), platform::kOk);
    });
    StartWith("", dialogs, [](CTabulonDlg& dlg) {
        dlg.TopWidget()->close();
        EXPECT_TRUE(dlg.IsDialogEnded());
        EXPECT_EQ(dlg.ModalResult(), platform::kCancel);
    });
}

TEST(StartUp, RepaintRequestCopiesTheVirtualScreen) {
    platform::ScriptedDialogs dialogs;
    StartWith("", dialogs, [](CTabulonDlg& dlg) {
        dlg.virtualScreenDC->FillRect(platform::Rect{0, 0, 20, 20}, platform::Rgb(0, 128, 0));
        platform::PostRepaintRequest();
        platform::PumpWaitingMessages();
        EXPECT_EQ(dlg.Surface().Image().pixel(5, 5), 0xFF008000u);
    });
}

}  // namespace
