// File > Open, Save, Save as and Recent Files through the real main window: the document
// comes back whole, a failed read changes nothing, unsaved work is not left without a word.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

#include <QTimer>

#include "app/resource_ids.h"
#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "documents/cdf_file.h"
#include "documents/doc_test_support.h"
#include "documents/document_model.h"
#include "fitting/sinaldlg_page.h"
#include "main_window_steps.h"
#include "user_path.h"
#include "platform/window_defs.h"
#include "statistics/distrimution_page.h"
#include "tests/documents/doc_test_support.h"

using namespace mainwin_test;

namespace {

// A fresh folder for the documents; each test keeps its recent-files list there too (tests
// run in parallel processes that share the program folder).
class DocumentCommands : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tabulon_docs_XXXXXX";
        folder = mkdtemp(pattern);
        ResetPages();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
        theData.OnDeleteAll();
        ResetPages();
    }
    static void ResetPages() {
        ResetChoices();
        theLegend.settings = legend_settings();
        theSinaldlg.settings = sinaldlg_settings();
        theUseruf.settings = useruf_settings();
        theDistrimution.settings = distrimution_settings();
    }
    // Runs `step` in the main window, whose recent-files list goes to the test's own folder.
    void Run(const std::function<void(CTabulonDlg&)>& step) {
        WithMainWindow(
            [&](CTabulonDlg& dlg) {
                dlg.recentFilesListPath = folder + "/files_Tabulon.txt";
                dlg.recentFiles.fill("");
                step(dlg);
            },
            &dialogs);
    }
    std::string LastMessage() const { return mainwin_steps::LastShown(dialogs); }
    platform::ScriptedDialogs dialogs;
    std::string folder;
};

}  // namespace

TEST_F(DocumentCommands, SaveAsThenOpenBringsTheWorkBack) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 2, 0, 7, 1);  // one series: the condition list is kept for a single series
        theData.allValues[3] = -1e-300;
        theLegend.title = "Müller";
        theSinaldlg.noiseFactor = 3.75;
        theChart.borderWidth = 7;
        theUseruf.formula = "k*x";
        theUseruf.names = {"k"}, theUseruf.values = {0.1}, theUseruf.steps = {1e-3};
        theUseruf.minima = {-1}, theUseruf.maxima = {1};
        theDistrimution.conditions = {{1, 2, -0.5, 0.25}};
        const useruf_settings coefficients = theUseruf.settings;
        const distrimution_settings distribution = theDistrimution.settings;
        const std::vector<double> values = theData.allValues;
        // "Müller.txt" is saved as "Müller.cdf".
        dialogs.fileAnswers.push_back(folder + "/Müller.txt");
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        const std::string path = folder + "/Müller.cdf";
        EXPECT_EQ(documentPath, path);

        // Everything changes, unsaved: Open asks first ("No": go on without saving).
        LoadShape(2, 1, 0, 3, 1);
        theLegend.title = "other";
        theSinaldlg.noiseFactor = 1;
        theChart.borderWidth = 1;
        theUseruf.settings = useruf_settings();
        theDistrimution.conditions.clear();
        dialogs.messageAnswers.push_back(platform::kNo);
        dialogs.fileAnswers.push_back(path);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_EQ(LastMessage(), "Save changes to " + path + "?");
        EXPECT_EQ(theData.allValues, values);
        EXPECT_EQ(theData.parameterTexts, std::vector<std::string>(3, "0"));
        EXPECT_EQ(theLegend.title, "Müller");
        EXPECT_EQ(theSinaldlg.noiseFactor, 3.0);  // the document keeps whole numbers
        EXPECT_EQ(theChart.borderWidth, 7);
        EXPECT_EQ(theUseruf.settings, coefficients);
        EXPECT_EQ(theDistrimution.settings, distribution);
        // Painting what was read changes nothing that counts as work.
        dlg.RepaintAll();
        PumpWaitingMessages();
        EXPECT_FALSE(dlg.WorkChanged());
    });
}

namespace {

// Big-endian words, as a hand-made file's header has them.
std::string Words(std::initializer_list<std::uint32_t> words) {
    std::string b;
    for (std::uint32_t v : words) b += std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return b;
}

}  // namespace

TEST_F(DocumentCommands, AFailedReadKeepsTheWorkAndItsName) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        const std::vector<double> values = theData.allValues;
        const std::string formerPath = documentPath;
        // A good document of this work, and one whose counts say no series while it holds the values.
        const std::string good = folder + "/good.cdf";
        dialogs.fileAnswers.push_back(good);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        cdfFile damaged;
        ASSERT_EQ(damaged.Load(good), 1);
        const std::uint32_t counts = damaged.attributes[46].firstValue;
        damaged.intValues[counts] = damaged.intValues[counts + 1] = 0;
        damaged.variables.erase(damaged.variables.begin(), damaged.variables.end() - 1);
        ASSERT_TRUE(damaged.Save(folder + "/empty.cdf"));
        dlg.recentFiles.fill("");
        documentPath = formerPath;
        dlg.SetCaption("Tabulon - " + formerPath);
        dlg.NoteDocumentClean();
        // 128 bytes: a record variable of 2^40 values per record in 2^24 records, whose
        // value count wraps to 0 in 64 bits.
        std::string wide = std::string("CDF\x01", 4) + Words({1u << 24, 10, 3});
        for (std::uint32_t length : {0u, 1u << 20, 1u << 20}) wide += Words({1}) + std::string("d\0\0\0", 4) + Words({length});
        wide += Words({0, 0, 11, 1, 1}) + std::string("v\0\0\0", 4) + Words({3, 0, 1, 2, 0, 0, 1, 4, 112});
        wide.resize(128, '\0');
        struct Case {
            std::string name, bytes, message;
        } cases[] = {
            {"bad.cdf", "CDF\x01garbage", "can not be read"},
            {"wrong.cdf", "PK\x03\x04", "not a NetCDF document"},
            {"wide.cdf", wide, "larger than the file"},
            {"empty.cdf", "", "holds values but announces no series"},
            {"notes.txt", "CDF", "Wrong file extention"},
            {"CAPITALS.CDF", "CDF", "Wrong file extention"},
            {"x.cdf.d/notes", "", "Wrong file extention"},  // a folder's name does not count
            {"missing.cdf", "", "Can not open file"},
        };
        for (const Case& c : cases) {
            const std::string path = folder + "/" + c.name;
            if (!c.bytes.empty()) std::ofstream(path, std::ios::binary) << c.bytes;
            dialogs.fileAnswers.push_back(path);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
            EXPECT_NE(LastMessage().find(c.message), std::string::npos) << c.name << ": " << LastMessage();
            // A document file that can not be opened has a caption of its own.
            EXPECT_EQ(dialogs.shown.back().caption, c.message == "Can not open file" ? "Trelvix" : platform::ApplicationTitle());
            if (c.message != "Wrong file extention") {
                EXPECT_NE(LastMessage().find(path), std::string::npos) << LastMessage();
            }
            EXPECT_EQ(theData.allValues, values) << c.name;
            EXPECT_EQ(std::tie(documentPath, dlg.recentFiles[0]), std::tuple(formerPath, "")) << c.name;
            EXPECT_EQ(dlg.Caption(), "Tabulon - " + formerPath) << c.name;
        }
        // The reads that failed end: the next one reads.
        theData.OnDeleteAll();
        dialogs.messageAnswers.push_back(platform::kNo);  // "Save changes?": no
        dialogs.fileAnswers.push_back(good);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_EQ(std::tie(documentPath, theData.allValues), std::tie(good, values));
    });
}

// Another program's NetCDF file is no document: refused, the work and its name stay, so the
// next Save does not write the work over that file.
TEST_F(DocumentCommands, AnotherProgramsNetcdfFileIsRefused) {
    if (access("/usr/bin/ncgen", X_OK) != 0) GTEST_SKIP() << "ncgen is not installed";
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        const std::vector<double> values = theData.allValues;
        const std::string formerPath = documentPath, other = folder + "/other.nc";
        std::ofstream(folder + "/other.cdl") << "netcdf other {\n dimensions:\n  n = 20 ;\n variables:\n  double x(n) ;\n"
                                                " // global attributes:\n  :title = \"measurements\" ;\n data:\n"
                                                "  x = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 ;\n}\n";
        ASSERT_EQ(std::system(("ncgen -k classic -o " + other + " " + folder + "/other.cdl").c_str()), 0);
        const std::string bytes = mainwin_steps::FileText(other);
        dialogs.messageAnswers.push_back(platform::kNo);  // unsaved work: go on without saving
        dialogs.fileAnswers.push_back(other);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_NE(LastMessage().find("not a document of this program"), std::string::npos) << LastMessage();
        EXPECT_EQ(std::tie(theData.allValues, documentPath), std::tie(values, formerPath));
        EXPECT_EQ(mainwin_steps::FileText(other), bytes);
    });
}

// A save that failed changes neither the document's name nor the caption nor the recent list.
TEST_F(DocumentCommands, SaveAsIntoAMissingFolderKeepsTheFormerName) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        const std::string formerPath = documentPath, caption = dlg.Caption();
        dialogs.fileAnswers.push_back(folder + "/missing/doc.cdf");
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        EXPECT_NE(LastMessage().find("Can not open file for writing"), std::string::npos) << LastMessage();
        EXPECT_EQ(dialogs.shown.back().caption, "Trelvix");
        EXPECT_EQ(std::tie(documentPath, dlg.recentFiles[0]), std::tuple(formerPath, ""));
        EXPECT_EQ(dlg.Caption(), caption);
        EXPECT_TRUE(dlg.WorkChanged());
    });
}

TEST_F(DocumentCommands, CancelKeepsUnsavedWork) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        dialogs.messageAnswers.push_back(platform::kCancel);
        const std::size_t before = dialogs.shown.size();
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        // The question, and no file dialog after it.
        EXPECT_EQ(dialogs.shown.size(), before + 1);
        // "Yes" saves first, then the dialog comes.
        dialogs.messageAnswers.push_back(platform::kYes);
        dialogs.fileAnswers.push_back(std::nullopt);
        documentPath = folder + "/kept.cdf";
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_TRUE(std::filesystem::exists(folder + "/kept.cdf"));
        EXPECT_FALSE(dlg.WorkChanged());
    });
}

TEST(DocumentNames, ExtensionRuleLooksAtTheFileName) {
    struct Case {
        const char* chosen;
        const char* saved;
    } cases[] = {
        {"/work/run.txt", "/work/run.cdf"},   {"/ab.txt", "/ab.cdf"},           {"/x.txt", "/x.cdf"},
        {"/work/a.nc", "/work/a.nc"},         {"/work/a.cdf.bak", "/work/a.cdf.bak"},
        {"/work/run", "/work/run.cdf"},       {"/my.folder/run", "/my.folder/run.cdf"},
        {"/a.cdf.d/run", "/a.cdf.d/run.cdf"}, {"/w/Müller", "/w/Müller.cdf"},
    };
    for (const Case& c : cases) EXPECT_EQ(CTabulonDlg::ApplyExtensionRule(c.chosen), c.saved) << c.chosen;
}

TEST_F(DocumentCommands, RecentFilesList) {
    Run([&](CTabulonDlg& dlg) {
        for (const char* p : {"/a/1.cdf", "/b/2.cdf", "/c/3.cdf", "/d/4.cdf"}) EXPECT_EQ(dlg.AddRecentFile(p), 1);
        EXPECT_EQ(dlg.AddRecentFile("/B/2.CDF"), 0);  // already there, in any case: nothing moves
        EXPECT_EQ(dlg.AddRecentFile("/e/Müller.cdf"), 1);
        EXPECT_EQ(mainwin_steps::FileText(dlg.recentFilesListPath), "/e/Müller.cdf\n/d/4.cdf\n/c/3.cdf\n/b/2.cdf\n");

        // Reading: blank lines skipped, lines read whole however long, trimmed of blanks and '_'
        // ("___" leaves an empty entry), four at most. They name the File menu's items, and the
        // newest one's folder becomes the current directory.
        const std::string longPath = "/tmp/" + std::string(700, 'x') + ".cdf";
        std::ofstream(dlg.recentFilesListPath, std::ios::binary | std::ios::trunc)
            << "\n\n" << longPath << "\n _/q/r.cdf_ \n__/tmp/first.cdf  \n___\n/s.cdf\n/t.cdf\n";
        dlg.recentFiles.fill("");
        dlg.LoadRecentFiles();
        dlg.UpdateRecentFilesMenu();
        const std::array<std::string, 4> expected{longPath, "/q/r.cdf", "/tmp/first.cdf", ""};
        EXPECT_EQ(dlg.recentFiles, expected);
        EXPECT_EQ(dlg.MenuBar().Text(kCommandRecentFile1 + 1), expected[1]);
        EXPECT_EQ(platform::CurrentDirectory(), "/tmp");
        // An empty item does nothing; a quoted entry opens without its quotes.
        dlg.recentFiles = {"", "\"" + folder + "/none.cdf\"", "", ""};
        const std::size_t before = dialogs.shown.size();
        dlg.OpenRecentFile(0);
        EXPECT_EQ(dialogs.shown.size(), before);
        dlg.OpenRecentFile(1);
        EXPECT_NE(LastMessage().find(folder + "/none.cdf: "), std::string::npos) << LastMessage();
    });
}

TEST_F(DocumentCommands, UndoSnapshotThroughTheJobHook) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 5);
        const std::vector<double> values = theData.allValues;
        const std::string name = documentPath;
        dlg.undoSaveRequest = 1;
        dlg.OnSysCommand(0, 0);
        LoadShape(2, 2, 0, 2);
        dlg.undoRestoreRequest = 1;
        dlg.OnSysCommand(0, 0);
        EXPECT_EQ(theData.allValues, values);
        EXPECT_EQ(documentPath, name);  // Save still writes the user's document
        std::remove(dlg.UndoSnapshotPath().c_str());
    });
}

TEST_F(DocumentCommands, SaveAsAsksBeforeReplacingAndClosingAsksForUnsavedWork) {
    Run([&](CTabulonDlg& dlg) {
        const std::string path = folder + "/kept.cdf";
        std::ofstream(path, std::ios::binary) << "older";
        LoadShape(1, 1, 0, 3);
        dialogs.fileAnswers.push_back(folder + "/kept");  // the extension rule names the file
        dialogs.messageAnswers.push_back(platform::kNo);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        EXPECT_EQ(LastMessage(), path + " already exists.\nDo you want to replace it?");
        EXPECT_EQ(mainwin_steps::FileText(path), "older");
        dialogs.fileAnswers.push_back(path);
        dialogs.messageAnswers.push_back(platform::kYes);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        EXPECT_EQ(std::filesystem::file_size(path) > 100, true);
        // Closing with unsaved work: Cancel keeps the window.
        LoadShape(1, 2, 0, 3);
        dialogs.messageAnswers.push_back(platform::kCancel);
        dlg.OnClose();
        EXPECT_EQ(LastMessage(), "Save changes to " + path + "?");
        EXPECT_FALSE(dlg.IsDialogEnded());
        dlg.NoteDocumentClean();  // the test's window then closes without a question
    });
}

// One document open in two windows: what the other window saved since this one read or wrote
// the file is not replaced without a question, and No keeps it.
TEST_F(DocumentCommands, SaveAsksBeforeReplacingADocumentSavedElsewhere) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        const std::string path = folder + "/shared.cdf";
        dialogs.fileAnswers.push_back(path);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        // The other window's save, here of the same document: the file is written anew all the same.
        auto savedElsewhere = [&] {
            cdfFile other;
            EXPECT_EQ(other.Load(path), 1);
            EXPECT_TRUE(other.Save(path));
            return mainwin_steps::FileText(path);
        };
        const std::string theirs = savedElsewhere();
        const std::string question = path + " has been changed since this window read or saved it.\nDo you want to replace it?";
        LoadShape(1, 2, 0, 4);
        dialogs.messageAnswers.push_back(platform::kNo);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        EXPECT_EQ(LastMessage(), question);
        EXPECT_TRUE(mainwin_steps::FileText(path) == theirs);
        EXPECT_TRUE(dlg.WorkChanged());
        // Open asks to save the work first; the save asks again, and No stops the Open there.
        dialogs.messageAnswers.insert(dialogs.messageAnswers.end(), {platform::kYes, platform::kNo});
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_EQ(LastMessage(), question);
        EXPECT_EQ(dialogs.CountOf("open"), 0);
        EXPECT_TRUE(mainwin_steps::FileText(path) == theirs);
        // Yes replaces it; what this window wrote itself is replaced without a question.
        dialogs.messageAnswers.push_back(platform::kYes);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        EXPECT_TRUE(mainwin_steps::FileText(path) != theirs);
        const std::size_t shown = dialogs.shown.size();
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        // And what it read, until the other window saves again.
        dialogs.fileAnswers.push_back(path);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        EXPECT_EQ(dialogs.shown.size(), shown + 1);  // the Open dialog alone
        savedElsewhere();
        dialogs.messageAnswers.push_back(platform::kNo);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        EXPECT_EQ(LastMessage(), question);
    });
}

// Save as takes the longest names the folder allows and writes through a link to a document;
// a save removes what a killed save of the same document left.
TEST_F(DocumentCommands, SaveTakesLongNamesAndLinksAndClearsKilledSaves) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        const std::string longPath = folder + "/" + std::string(251, 'n') + ".cdf";
        dialogs.fileAnswers.push_back(longPath);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        EXPECT_EQ(documentPath, longPath);
        EXPECT_EQ(dialogs.CountOf("message"), 0) << LastMessage();

        cdfFile copy;
        ASSERT_EQ(copy.Load(longPath), 1);
        const std::vector<std::string> saved = doc_test::Entries(folder);
        ASSERT_TRUE(doc_test::KilledPartWay([&] { copy.Save(longPath); }, 1000));
        EXPECT_EQ(doc_test::Entries(folder).size(), saved.size() + 1);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save"}));
        EXPECT_EQ(doc_test::Entries(folder), saved);

        const std::string real = folder + "/real/doc.cdf", link = folder + "/link.cdf";
        std::filesystem::create_directory(folder + "/real");
        ASSERT_TRUE(copy.Save(real));
        const std::string old = mainwin_steps::FileText(real);
        std::filesystem::create_symlink("real/doc.cdf", link);
        LoadShape(1, 2, 0, 3);
        dialogs.fileAnswers.push_back(link);
        dialogs.messageAnswers.push_back(platform::kYes);  // it exists: replace it
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_TRUE(mainwin_steps::FileText(real) != old);
        EXPECT_EQ(doc_test::Entries(folder + "/real"), std::vector<std::string>{"doc.cdf"});
        EXPECT_EQ(documentPath, link);
    });
}

// A pipe or a device named as a document is refused at once, the work kept: a pipe froze the
// program for good, a link to /dev/zero took gigabytes.
TEST_F(DocumentCommands, APipeOrADeviceIsNoDocument) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 4);
        dlg.NoteDocumentClean();
        const std::vector<double> values = theData.allValues;
        const std::string formerPath = documentPath;
        ASSERT_EQ(mkfifo((folder + "/pipe.cdf").c_str(), 0600), 0);
        ASSERT_EQ(symlink("/dev/zero", (folder + "/zero.cdf").c_str()), 0);
        for (const char* name : {"pipe.cdf", "zero.cdf"}) {
            const std::string path = folder + "/" + name;
            dialogs.fileAnswers.push_back(path);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
            EXPECT_EQ(LastMessage(), "Can not open file\n" + path + ": it is not a regular file");
            EXPECT_EQ(std::tie(theData.allValues, documentPath), std::tie(values, formerPath)) << name;
        }
    });
}

// Documents that ask for more than the pages allow. A polynomial of 256 term bytes (128 terms
// of two arguments) read past the fits' 100 coefficients: refused, the work kept. 2^31 - 1
// colour steps (the window never appeared), 10,000 coefficient items that can not be read
// (as many message boxes, after the work was replaced) and a series name of 20 MB: the
// document opens with the steps held, the name cut, and one message.
TEST_F(DocumentCommands, DocumentsAskingTooMuchAreHeldOrRefusedWithOneMessage) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(2, 1, 0, 6);
        const std::string good = folder + "/good.cdf", poly = folder + "/poly.cdf", held = folder + "/held.cdf";
        dialogs.fileAnswers.push_back(good);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        cdfFile f;
        ASSERT_EQ(f.Load(good), 1);
        cdfFile polyFile = f;
        ASSERT_TRUE(doc_test::ReplaceAttribute(polyFile, "Constructor Poly", cdfFile::kByte, std::vector<double>(256, 1)));
        ASSERT_TRUE(polyFile.Save(poly));
        ASSERT_TRUE(doc_test::ReplaceAttribute(f, "High and low colors", cdfFile::kInt,
                                               {0, 0, 0, 255, 255, 255, 2147483647.0, 0, 0}));
        std::string items = "a*x";
        for (int i = 0; i < 10000; ++i) items += "$bad";
        ASSERT_EQ(f.NameOf(f.attributes[32].nameIndex), "User defiened");
        f.texts[f.attributes[32].firstValue] = items;
        f.attributes[32].count = static_cast<std::uint32_t>(items.size());
        f.names[static_cast<std::size_t>(f.variables[0].nameIndex)] = std::string(20 << 20, 'n');
        ASSERT_TRUE(f.Save(held));

        LoadShape(1, 1, 0, 4);
        dlg.NoteDocumentClean();
        const std::vector<double> values = theData.allValues;
        const int steps = theXyview.colorSteps;
        dialogs.fileAnswers.push_back(poly);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_NE(LastMessage().find("holds 128 terms of 2 arguments; a polynomial holds at most 50"), std::string::npos)
            << LastMessage();
        EXPECT_EQ(std::tie(theData.allValues, theXyview.colorSteps), std::tie(values, steps));

        const std::size_t before = dialogs.Messages().size();
        dialogs.fileAnswers.push_back(held);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        ASSERT_EQ(dialogs.Messages().size(), before + 1);
        EXPECT_EQ(LastMessage(), "The document " + held + " was read with these changes:\n"
                                 "10000 coefficients of the user formula (\"User defiened\") were left out: No equal "
                                 "symbol. Check and try again.\n"
                                 "1 name of a series or parameter was longer than 4096 bytes and cut to that length.");
        EXPECT_EQ(documentPath, held);
        EXPECT_EQ(theXyview.colorSteps, 255);
        EXPECT_EQ(theData.seriesNames[0], std::string(4096, 'n'));
        dlg.RepaintAll();
        PumpWaitingMessages();
    });
}

// Another program cuts the document short while it is being read: a message, the work kept
// (the reader walked the values through a memory map and the program died of SIGBUS).
TEST_F(DocumentCommands, ADocumentCutShortWhileReadKeepsTheWork) {
    Run([&](CTabulonDlg& dlg) {
        LoadShape(1, 1, 0, 30000);  // 60,000 values, 480 KB
        const std::string path = folder + "/cut.cdf";
        dialogs.fileAnswers.push_back(path);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Save as"}));
        LoadShape(1, 1, 0, 4);
        dlg.NoteDocumentClean();
        const std::vector<double> values = theData.allValues;
        // Runs at the read's first progress report, once the header's first bytes are in.
        QTimer::singleShot(0, [&] { ASSERT_EQ(truncate(path.c_str(), 4096), 0); });
        dialogs.fileAnswers.push_back(path);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Open"}));
        EXPECT_EQ(LastMessage(), "The document " + path +
                                     " can not be read:\nThe file became shorter while it was read: another program changed it");
        EXPECT_EQ(theData.allValues, values);
    });
}
