// "Full analysis" on the running main window: the sections and figure counts of the report as
// html5lib reads it, the refusals before it starts, and the work restored afterwards.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/resource_ids.h"
#include "documents/full_page.h"
#include "main_window_support.h"
#include "platform/system.h"

QJsonObject ParseReport(const std::filesystem::path& report);  // html_report_test.cpp

namespace {

namespace fs = std::filesystem;
using mainwin_test::WithMainWindow;

class FullAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override {
        mainwin_test::ResetChoices();
        folder = fs::temp_directory_path() / ("full_analysis_" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        static_cast<full_settings&>(theFull) = full_settings{};
        theFull.running = 0;
        theData.OnDeleteAll();
        fs::remove_all(folder);
    }
    // Answers the options page with "Run analysis" into `report`.
    void RunFromPage(const fs::path& report) {
        dialogs.modalSteps.push_back([report](platform::Dialog& d) {
            full& page = static_cast<full&>(d);
            page.reportFile = report.string();
            page.Control(full::kReportFileStatic).SetText(report.string());
            page.OnRunAnalysis();
        });
    }
    platform::ScriptedDialogs dialogs;
    fs::path folder;
};

TEST_F(FullAnalysisTest, WritesEverySectionWithItsFiguresNumberedAcrossSections) {
    struct Case {
        int parameters;
        int figures;
        std::vector<std::string> sections;
    } cases[] = {
        // 1 + 1 + 3 + 3 + 6 + 3 + 3 + 3 (no multivariate with 3 parameters)
        {3, 23, {"Matrix of correlation.", "Distribution of parameters alltogether.", "Distribution of parameters separately.",
                 "Cirve fitting of une parameter (time series).", "Curve fitting (approximation).",
                 "Distribution of two variables.", "One variable as function of two arguments.", "Conditional distribution."}},
        // 1 + 1 + 4 + 4 + 12 + 6 + 12 + 4 + 4
        {4, 48, {"Matrix of correlation.", "Distribution of parameters alltogether.", "Distribution of parameters separately.",
                 "Cirve fitting of une parameter (time series).", "Curve fitting (approximation).",
                 "Distribution of two variables.", "One variable as function of two arguments.", "Multivariate regression.",
                 "Conditional distribution."}},
    };
    for (const Case& c : cases) {
        const fs::path report = folder / ("run" + std::to_string(c.parameters) + ".html");
        dialogs.shown.clear();
        WithMainWindow(
            [&](CTabulonDlg& dlg) {
                mainwin_test::LoadShape(0, c.parameters, 0, 12);
                theData.parameterNames[0] = "<b>name</b>";
                const std::string former = documentPath;
                dlg.recentFilesListPath = (folder / "recent.txt").string();
                dlg.recentFiles.fill(std::string());
                const int roleBefore = theData.parameters[0].role;
                RunFromPage(report);
                dlg.SendCommand(kCommandFullAnalysis);
                ASSERT_TRUE(fs::exists(report));
                EXPECT_EQ(dialogs.Messages().size(), 0u);
                const QJsonObject parsed = ParseReport(report);
                EXPECT_EQ(parsed["title"].toString(), "Full statistical analysis");
                const QJsonArray figures = parsed["figures"].toArray();
                ASSERT_EQ(figures.size(), c.figures);
                const std::string link = report.stem().string();
                for (int i = 0; i < figures.size(); ++i) {
                    EXPECT_EQ(figures[i].toObject()["src"].toString().toStdString(),
                              link + "/fig" + std::to_string(i + 1) + ".jpg");
                }
                EXPECT_EQ(QImage(QString::fromStdString((folder / link / "fig1.jpg").string()), "JPEG").size(),
                          QSize(1000, 800));
                const QJsonArray sections = parsed["sections"].toArray();
                ASSERT_EQ(sections.size(), static_cast<int>(c.sections.size()) + 1);
                EXPECT_EQ(sections[0].toObject()["text"].toString(), "Variables.");
                for (std::size_t i = 0; i < c.sections.size(); ++i)
                    EXPECT_EQ(sections[i + 1].toObject()["text"].toString().toStdString(), c.sections[i]);
                // The variables table: a name from the data stays text.
                const QJsonArray variables = parsed["tables"].toArray()[0].toArray();
                ASSERT_EQ(variables.size(), c.parameters + 1);
                EXPECT_EQ(variables[1].toArray()[0].toObject()["text"].toString(), "<b>name</b>");
                EXPECT_EQ(variables[1].toArray().size(), 5);

                // The work is back, under its former name; the snapshot is in the user's folder.
                EXPECT_EQ(documentPath, former);
                for (const std::string& recent : dlg.recentFiles) EXPECT_EQ(recent.find("temp_auto"), std::string::npos);
                EXPECT_EQ(theData.parameters[0].role, roleBefore);
                EXPECT_EQ(theFull.running, 0);
                EXPECT_TRUE(platform::UserDataFolder().empty() ||
                            fs::exists(platform::UserDataFolder() + "/temp_auto.cdf"));
                EXPECT_EQ(dialogs.shown.back().kind, "shell");
            },
            &dialogs);
    }
}

TEST_F(FullAnalysisTest, StopEndsTheRunWithAClosedReportAndTheWorkRestored) {
    const fs::path report = folder / "stopped.html";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            mainwin_test::LoadShape(0, 3, 0, 12);
            RunFromPage(report);
            bool mainWindowTookInput = true;
            // Pressed once the run has started: the only window taking input is the Stop window.
            QTimer::singleShot(0, [&] {
                mainWindowTookInput = dlg.IsEnabled();
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
                        if (button->text() == "Stop" && button->isVisible()) button->click();
                    }
                }
            });
            dlg.SendCommand(kCommandFullAnalysis);
            EXPECT_FALSE(mainWindowTookInput);
            EXPECT_TRUE(dlg.IsEnabled());
            const QJsonObject parsed = ParseReport(report);
            EXPECT_LT(parsed["figures"].toArray().size(), 23);
            std::ifstream in(report);
            const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            EXPECT_NE(text.find("</body></html>"), std::string::npos);
            EXPECT_EQ(theData.parameters[2].role, 1);
            EXPECT_EQ(theFull.running, 0);
        },
        &dialogs);
}

TEST_F(FullAnalysisTest, RefusesTwoSeriesAndNeverStartsWithoutRunAnalysis) {
    const fs::path report = folder / "never.html";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            mainwin_test::LoadShape(0, 3, 0, 12, 2);
            dlg.SendCommand(kCommandFullAnalysis);
            ASSERT_EQ(dialogs.Messages().size(), 1u);
            EXPECT_EQ(dialogs.Messages()[0], "Automatic data analysis is working only when one series of data is presented.");

            mainwin_test::LoadShape(0, 3, 0, 12);
            dialogs.modalSteps.push_back([&](platform::Dialog& d) { d.EndDialog(platform::kCancel); });
            dlg.SendCommand(kCommandFullAnalysis);
            EXPECT_FALSE(fs::exists(report));
            EXPECT_EQ(dialogs.CountOf("shell"), 0);
        },
        &dialogs);
}

}  // namespace
