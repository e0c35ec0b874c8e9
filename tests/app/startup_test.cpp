// Start-up: the main dialog run by the start routine, what its set-up leaves behind (document,
// pages, folder, menu), the command line, help, and the ways the dialog ends.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include "app/main_pages.h"
#include "app/resource_ids.h"
#include "main_window_steps.h"

namespace {

using mainwin_test::WithMainWindow;

TEST(StartUp, SetUpLeavesTheWindowItsPagesAndItsDocument) {
    WithMainWindow([](CTabulonDlg& dlg) {
        const std::string folder = platform::ProgramFolder();
        EXPECT_EQ(documentPath, folder + "untitled.cdf");
        EXPECT_EQ(theData.lastFolder, folder);

        // Seventeen pages in table order, children of the window, only the data page shown.
        const std::array<platform::Dialog*, kPageCount> objects = PageObjects();
        for (int i = 0; i < kPageCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(dlg.pages[i].page, objects[i]);
            EXPECT_TRUE(objects[i]->HasWindow());
            EXPECT_EQ(objects[i]->IsVisible(), i == 0);
        }

        // The Marvisto folder beside the program is the current directory; the list was loaded
        // after the folder was made (no list there yet: four empty entries).
        EXPECT_EQ(dlg.makerFolder, folder + "Marvisto");
        EXPECT_EQ(platform::CurrentDirectory(), dlg.makerFolder);
        EXPECT_EQ(dlg.recentFilesListPath, dlg.makerFolder + "/files_Tabulon.txt");
        EXPECT_EQ(dlg.recentFiles, (std::array<std::string, 4>{}));
    });
}

TEST(StartUp, ReadOnlyProgramFolderFallsBackToTheUserDataFolder) {
    char pattern[] = "/tmp/tabulon_mainwin_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string base = pattern;
    const std::string cwd = platform::CurrentDirectory();
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    setenv("XDG_DATA_HOME", (base + "/share/deeper").c_str(), 1);
    {
        CTabulonDlg dlg;
        // A program folder that cannot take a new folder (here: one that does not exist).
        dlg.LoadSettings("/nonexistent-tabulon-folder/bin/");
        EXPECT_EQ(dlg.makerFolder, platform::UserDataFolder() + "/Marvisto");
        EXPECT_EQ(dlg.makerFolder.rfind(base + "/share/deeper/", 0), 0u) << dlg.makerFolder;
        EXPECT_TRUE(platform::IsDirectory(dlg.makerFolder));
    }
    if (oldXdg) {
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
    platform::SetCurrentDirectory(cwd);
    std::system(("rm -rf '" + base + "'").c_str());
}

TEST(StartUp, DataMenuLosesTheMacroItemAndItsSeparator) {
    WithMainWindow([](CTabulonDlg& dlg) {
        const platform::Menu menu = dlg.MenuBar();
        EXPECT_FALSE(menu.Has(kCommandRunMacroFile));
        const platform::Menu data = menu.SubMenu(kMenuData);
        int full = -1;
        for (int pos = 0; pos < data.ItemCount(); ++pos) {
            if (data.ItemCommand(pos) == kCommandFullAnalysis) full = pos;
        }
        ASSERT_GE(full, 0);
        ASSERT_LT(full + 1, data.ItemCount());
        EXPECT_EQ(data.ItemText(full + 1), "Modify marks of all variables");
        EXPECT_FALSE(data.IsSeparator(full + 1));

        // Every other item of the menu can be chosen.
        std::vector<QMenu*> open;
        for (QAction* a : menu.Widget()->actions()) {
            if (a->menu()) open.push_back(a->menu());
        }
        int items = 0;
        while (!open.empty()) {
            QMenu* m = open.back();
            open.pop_back();
            for (QAction* a : m->actions()) {
                if (a->menu()) open.push_back(a->menu());
                if (a->isSeparator() || a->menu()) continue;
                ++items;
                EXPECT_TRUE(a->isVisible() && a->isEnabled()) << a->text().toStdString();
            }
        }
        EXPECT_GT(items, 35);
    });
}

TEST(StartUp, CommandLineDocumentLosesItsOuterQuotes) {
    struct Case {
        std::string line;
        std::string path;
    };
    const Case cases[] = {
        {"\"/data/my file.cdf\"", "/data/my file.cdf"},
        {"\"\"/data/a\"b.cdf\"", "/data/a\"b.cdf"},
        {" ", " "},  // only blanks is not empty: it is taken as the path
    };
    for (const Case& c : cases) {
        platform::ScriptedDialogs dialogs;
        dialogs.modalSteps.push_back([&](platform::Dialog& d) {
            auto& dlg = static_cast<CTabulonDlg&>(d);
            EXPECT_EQ(dlg.hasCommandLineDocument, 1);
            EXPECT_EQ(dlg.commandLineDocument, c.line);
            // None of them can be read: the message names the path without its quotes, and
            // the work keeps its start-up name, so Save cannot overwrite the file that failed.
            const std::string message = mainwin_steps::LastShown(dialogs);
            EXPECT_TRUE(message == "Wrong file extention" || message.find("\n" + c.path + ":") != std::string::npos) << message;
            EXPECT_EQ(documentPath, dlg.defaultDocumentPath);
        });
        platform::SetCommandLine(c.line);
        EXPECT_EQ(theApp.InitInstance(), 0);
        platform::SetCommandLine("");
    }
}

// A pipe named on the command line is refused with a message: the start-up waited for a
// writer for good.
TEST(StartUp, APipeOnTheCommandLineIsRefused) {
    char pattern[] = "/tmp/tabulon_start_XXXXXX";
    const std::string folder = mkdtemp(pattern), pipe = folder + "/pipe.cdf";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    platform::ScriptedDialogs dialogs;
    dialogs.modalSteps.push_back([&](platform::Dialog& d) {
        EXPECT_EQ(mainwin_steps::LastShown(dialogs), "Can not open file\n" + pipe + ": it is not a regular file");
        EXPECT_EQ(documentPath, static_cast<CTabulonDlg&>(d).defaultDocumentPath);
    });
    platform::SetCommandLine(pipe);
    EXPECT_EQ(theApp.InitInstance(), 0);
    platform::SetCommandLine("");
    std::remove(pipe.c_str());
    rmdir(folder.c_str());
}

TEST(StartUp, OnlineHelpOpensTheReadme) {
    // The README of the source tree is found wherever the build folder lies; when the desktop
    // cannot open it, a message says where it is.
    platform::ScriptedDialogs dialogs;
    dialogs.shellAnswers.push_back(false);
    WithMainWindow([](CTabulonDlg& dlg) { dlg.SendCommand(kCommandOnlineHelp); }, &dialogs);
    const std::string path = mainwin_steps::LastShown(dialogs, "shell");
    std::ifstream readme(path);
    std::string firstLine;
    std::getline(readme, firstLine);
    EXPECT_EQ(firstLine, "# Tabulon") << path;
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find(path), std::string::npos) << dialogs.Messages()[0];
}

// Closing the window ends it as Cancel: see the job hook's tests.
TEST(StartUp, ExitEndsAsOk) {
    WithMainWindow([](CTabulonDlg& dlg) {
        dlg.MenuBar().SubMenu(kMenuFile).Widget()->actions().back()->trigger();
        EXPECT_TRUE(dlg.IsDialogEnded());
        EXPECT_EQ(dlg.ModalResult(), platform::kOk);
    });
}

}  // namespace
