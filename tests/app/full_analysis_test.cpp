// "Full analysis" on the running main window: the sections and figure counts of the report as
// html5lib reads it, the refusals before it starts, and the work restored afterwards.
#include <cmath>
#include <filesystem>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <unistd.h>

#include "documents/cdf_file.h"
#include "documents/document_model.h"
#include "documents/full_page.h"
#include "main_window_steps.h"
#include "user_path.h"

QJsonObject ParseReport(const std::filesystem::path& report);  // html_report_test.cpp

namespace {

namespace fs = std::filesystem;
using mainwin_test::WithMainWindow;
using mainwin_steps::FileText;

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
    // Answers the options page with "Run analysis" into `report`; when `on` names sections, only
    // they run, `filters` switching both fit filters on.
    // `started` runs once "Run analysis" is pressed, before the run begins.
    void RunFromPage(const fs::path& report, std::vector<int full_settings::*> on = {}, bool filters = false,
                     std::function<void()> started = {}) {
        dialogs.modalSteps.push_back([report, on, filters, started](platform::Dialog& d) {
            full& page = static_cast<full&>(d);
            if (!on.empty()) {
                for (int full_settings::* section :
                     {&full_settings::doDistribution, &full_settings::doTimeSeries, &full_settings::doCurveFitting,
                      &full_settings::doCorrelationMatrix, &full_settings::doDistributionAll,
                      &full_settings::doSurfaceFitting, &full_settings::doMultivariate, &full_settings::doTwoVariables,
                      &full_settings::doConditional})
                    page.*section = 0;
                for (int full_settings::* section : on) page.*section = 1;
                page.correlationFilter = page.coefficientFilter = filters ? 1 : 0;
                page.UpdateData(false);
            }
            page.reportFile = report.string();
            page.Control(full::kReportFileStatic).SetText(report.string());
            user_path::Press(d, "Run analysis");
            if (started) started();
        });
    }
    // A parameter name no other process's work holds.
    static std::string Marker() { return "process_" + std::to_string(::getpid()); }
    // The snapshots in the user's data folder that hold `name`.
    static std::vector<fs::path> SnapshotsHolding(const std::string& name) {
        std::vector<fs::path> found;
        std::error_code ec;
        if (platform::UserDataFolder().empty()) return found;
        for (const auto& e : fs::directory_iterator(platform::UserDataFolder(), ec)) {
            const std::string file = e.path().filename().string();
            if (file.rfind("temp_auto", 0) == 0 && FileText(e.path().string()).find(name) != std::string::npos)
                found.push_back(e.path());
        }
        return found;
    }
    platform::ScriptedDialogs dialogs;
    fs::path folder;
    // The user's data folder of this process alone: copies of the test run side by side.
    mainwin_test::ScratchFolder dataFolder{"full_analysis_data"};
    const user_path::DataFolderAt ownDataFolder{dataFolder.path.string()};
};

TEST_F(FullAnalysisTest, WritesEverySectionWithItsFiguresNumberedAcrossSections) {
    const std::vector<std::string> sections3 = {
        "Matrix of correlation.", "Distribution of parameters alltogether.", "Distribution of parameters separately.",
        "Cirve fitting of une parameter (time series).", "Curve fitting (approximation).",
        "Distribution of two variables.", "One variable as function of two arguments.", "Conditional distribution."};
    std::vector<std::string> sections4 = sections3;
    sections4.insert(sections4.end() - 1, "Multivariate regression.");
    struct Case {
        int parameters;
        int figures;
        std::vector<std::string> sections;
    } cases[] = {
        {3, 23, sections3},  // 1 + 1 + 3 + 3 + 6 + 3 + 3 + 3 (no multivariate with 3 parameters)
        {4, 48, sections4},  // 1 + 1 + 4 + 4 + 12 + 6 + 12 + 4 + 4
    };
    for (const Case& c : cases) {
        const fs::path report = folder / ("run" + std::to_string(c.parameters) + ".html");
        dialogs.shown.clear();
        const std::string text = (folder / "data.txt").string();
        user_path::WriteRecords(text, "<b>name</b> " + Marker() + (c.parameters == 3 ? " c" : " c d"), 12, [&](int r) {
            std::string line;
            for (int p = 0; p < c.parameters; ++p) line += std::to_string((r * 7 + p * 3) % 11 + r * p) + ' ';
            return line;
        });
        WithMainWindow(
            [&](CTabulonDlg& dlg) {
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
                const std::string former = documentPath;
                dlg.recentFilesListPath = (folder / "recent.txt").string();
                dlg.recentFiles.fill(std::string());
                const int roleBefore = theData.parameters[0].role;
                RunFromPage(report);
                ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
                ASSERT_TRUE(fs::exists(report));
                EXPECT_EQ(dialogs.Messages().size(), 0u);
                const QJsonObject parsed = ParseReport(report);
                EXPECT_EQ(parsed["title"].toString(), "Full statistical analysis");
                const QJsonArray figures = parsed["figures"].toArray();
                ASSERT_EQ(figures.size(), c.figures);
                EXPECT_EQ(figures.last().toObject()["src"].toString().toStdString(),
                          report.stem().string() + "/fig" + std::to_string(c.figures) + ".jpg");
                const QJsonArray sections = parsed["sections"].toArray();
                ASSERT_EQ(sections.size(), static_cast<int>(c.sections.size()) + 1);
                EXPECT_EQ(sections[0].toObject()["text"].toString(), "Variables.");
                for (std::size_t i = 0; i < c.sections.size(); ++i)
                    EXPECT_EQ(sections[i + 1].toObject()["text"].toString().toStdString(), c.sections[i]);
                // The variables table: a name from the data stays text.
                const QJsonArray variables = parsed["tables"].toArray()[0].toArray();
                ASSERT_EQ(variables.size(), c.parameters + 1);
                EXPECT_EQ(variables[1].toArray()[0].toObject()["text"].toString(), "<b>name</b>");

                // The work is back, under its former name; the run's snapshot is gone.
                EXPECT_EQ(documentPath, former);
                EXPECT_EQ(theData.parameters[0].role, roleBefore);
                EXPECT_TRUE(SnapshotsHolding(theData.parameterNames[1]).empty());
            },
            &dialogs);
    }
}

// Runs in other windows at the same time keep snapshots of their own: another run's work
// written under the name every run once shared does not come back here, and this run's
// snapshot is gone when it ends.
TEST_F(FullAnalysisTest, StopEndsTheRunWithAClosedReportAndTheWorkRestored) {
    const fs::path report = folder / "stopped.html";
    const std::string shared = platform::UserDataFolder() + "/temp_auto.cdf";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            mainwin_test::LoadShape(0, 3, 0, 12);
            theData.parameterNames[0] = Marker();
            bool mainWindowTookInput = true;
            std::vector<fs::path> snapshots;
            // Pressed once the run has started: the only window taking input is the Stop window.
            RunFromPage(report, {}, false, [&] {
                QTimer::singleShot(0, [&] {
                    snapshots = SnapshotsHolding(Marker());
                    DocumentData other;
                    other.series = {Series{3, 0, 0, 0, 0, 1}};  // three inactive parameters, one record
                    other.seriesNames = {"other window"};
                    other.parameters.assign(3, Initial{0, 4, 0, 0, 0});
                    other.parameterNames = {"a", "b", "c"};
                    other.allValues = {1, 2, 3};
                    cdfFile file;
                    BuildDocument(DocumentSettings(), other, file);
                    EXPECT_TRUE(platform::UserDataFolder().empty() || file.Save(shared)) << file.error;
                    mainWindowTookInput = dlg.IsEnabled();
                    for (QWidget* top : QApplication::topLevelWidgets()) {
                        for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
                            if (button->text() == "Stop" && button->isVisible()) button->click();
                        }
                    }
                });
            });
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
            EXPECT_FALSE(mainWindowTookInput);
            EXPECT_TRUE(dlg.IsEnabled());
            EXPECT_LT(ParseReport(report)["figures"].toArray().size(), 23);
            EXPECT_NE(FileText(report.string()).find("</body></html>"), std::string::npos);
            EXPECT_EQ(theData.parameters[2].role, 1);
            EXPECT_EQ(theData.parameterNames[0], Marker());
            ASSERT_EQ(snapshots.size(), 1u);
            EXPECT_FALSE(fs::exists(snapshots[0])) << snapshots[0];
        },
        &dialogs);
    std::remove(shared.c_str());
}

TEST_F(FullAnalysisTest, RefusesTwoSeriesAndNeverStartsWithoutRunAnalysis) {
    const fs::path report = folder / "never.html";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            mainwin_test::LoadShape(0, 3, 0, 12, 2);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
            EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Automatic data analysis is working only when one "
                                                                   "series of data is presented."});

            mainwin_test::LoadShape(0, 3, 0, 12);
            dialogs.modalSteps.push_back([&](platform::Dialog& d) { d.EndDialog(platform::kCancel); });
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
            EXPECT_FALSE(fs::exists(report));
            EXPECT_EQ(dialogs.CountOf("shell"), 0);
        },
        &dialogs);
}

// "Search for best formula" runs on each parameter over its record number. With the filters on,
// the exact line keeps its fit and the scattered values lose theirs, their figure still written;
// with the filters off both keep it.
TEST_F(FullAnalysisTest, FitFiltersKeepTheFitThatMeetsThemAndDropTheOneThatMissesThem) {
    for (const bool filters : {true, false}) {
        const fs::path report = folder / (filters ? "filtered.html" : "unfiltered.html");
        WithMainWindow(
            [&](CTabulonDlg& dlg) {
                constexpr int kRecords = 30;
                mainwin_test::LoadShape(0, 2, 0, kRecords);
                for (int r = 0; r < kRecords; ++r) {
                    theData.allValues[2 * r] = 2 + 3 * r;
                    theData.allValues[2 * r + 1] = std::fmod(r * 7919.0 * (r + 13), 101.0);
                }
                theData.parameterNames[0] = "line";
                theData.parameterNames[1] = "scatter";
                RunFromPage(report, {&full_settings::doTimeSeries}, filters);
                ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
                EXPECT_EQ(ParseReport(report)["figures"].toArray().size(), 2);
                // Each figure is followed by the result text of its own paint.
                const std::string text = FileText(report.string());
                const std::size_t second = text.find("fig2.jpg");
                ASSERT_NE(second, std::string::npos);
                const std::string first = text.substr(0, second), last = text.substr(second);
                EXPECT_NE(first.find("line = "), std::string::npos);
                EXPECT_EQ(last.find("scatter") != std::string::npos, !filters);
                EXPECT_EQ(last.find("Coefficient of correlation") != std::string::npos, !filters);
            },
            &dialogs);
    }
}

// The box of the pixels of `image` inside `area` that are drawn on (darker than the white of
// the plot, with room for the JPEG's noise); empty when there are none.
QRect InkIn(const QImage& image, const QRect& area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::min({qRed(p), qGreen(p), qBlue(p)}) < 160) ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// The figures of the two-variable and the surface sections are painted into the figure's own
// size: each fills the plot of its picture, whatever the window's chart measures, and more than
// half the picture's width and height.
TEST_F(FullAnalysisTest, ThreeDimensionalFiguresFillTheirPictures) {
    const fs::path report = folder / "surfaces.html";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, std::string(TABULON_SOURCE_DIR) + "/examples/stackloss.txt"));
            RunFromPage(report, {&full_settings::doTwoVariables, &full_settings::doSurfaceFitting});
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
            const QJsonArray figures = ParseReport(report)["figures"].toArray();
            ASSERT_EQ(figures.size(), 6 + 12);
            for (const auto& figure : figures) {
                const std::string src = figure.toObject()["src"].toString().toStdString();
                SCOPED_TRACE(src);
                const QImage picture(QString::fromStdString((folder / src).string()));
                ASSERT_FALSE(picture.isNull());
                // The plot: the picture less the margins of the frame, the captions and the formula
                // legend above it.
                const QRect plot = picture.rect().adjusted(picture.width() / 10, picture.height() / 10,
                                                           -picture.width() / 20, -picture.height() / 10);
                const QRect ink = InkIn(picture, plot);
                EXPECT_GT(ink.width(), picture.width() / 2) << ink.width() << " of " << picture.width();
                EXPECT_GT(ink.height(), picture.height() / 2) << ink.height() << " of " << picture.height();
                EXPECT_NEAR(ink.center().x(), plot.center().x(), plot.width() / 5);
                EXPECT_NEAR(ink.center().y(), plot.center().y(), plot.height() / 5);
            }
        },
        &dialogs);
}

// Surfaces over an argument that takes only the values 0 and 100:
// beside it as an argument a parabolic surface's terms are not independent. That surface never
// wins over the plane and is never written as a formula of rounding noise: every correlation
// shown lies within [-1, 1].
TEST_F(FullAnalysisTest, TermsNotIndependentNeverGiveNonsense) {
    const fs::path report = folder / "two_valued.html";
    const std::string text = (folder / "two_valued.txt").string();
    user_path::WriteRecords(text, "x1 x2 x3 height", 21, [](int r) {
        const double x1 = r % 2 ? 100 : 0, x2 = 1.7 + 0.37 * r, x3 = (r * 7) % 5;
        return std::to_string(x1) + ' ' + std::to_string(x2) + ' ' + std::to_string(x3) + ' ' +
               std::to_string(3 + 0.02 * x1 + x2 + 0.5 * x3 + 0.1 * std::sin(r));
    });
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
            dlg.recentFilesListPath = (folder / "recent.txt").string();
            dlg.recentFiles.fill(std::string());
            RunFromPage(report, {&full_settings::doSurfaceFitting});
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Full analysis"}));
            const std::string html = FileText(report.string());
            const std::string label = "Coefficient of correlation = </font><font color=";
            int shown = 0;
            for (std::size_t at = html.find(label); at != std::string::npos; at = html.find(label, at + 1), ++shown) {
                const std::size_t number = html.find('>', at + label.size()) + 1;
                const double r = std::strtod(html.c_str() + number, nullptr);
                EXPECT_TRUE(r >= -1 && r <= 1) << html.substr(number, 20);
            }
            EXPECT_EQ(shown, 4 * 3);  // each value over each pair of the others
            EXPECT_EQ(html.find("inf"), std::string::npos);
            EXPECT_EQ(html.find("nan"), std::string::npos);
        },
        &dialogs);
}

}  // namespace
