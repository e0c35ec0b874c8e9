// The scoring run over the data store, its report texts and counts, and the scoring report
// dialog driven through its real widgets.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "data/data_page.h"
#include "fitting/scorereport.h"
#include "fitting/scoring_rules.h"
#include "fitting/scoring_run.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"

namespace {

// One series of records {x, response, score}: x = 2 mostly responds, x = 0 hardly does.
void LoadRecords(int series = 1) {
    theData.OnDeleteAll();
    for (int s = 0; s < series; ++s) {
        theData.CheckNewSeriesShape(3, theData.pendingSeries);
        for (int i = 0; i < 600; ++i) {
            const int x = i % 3;
            const bool positive = x == 2 ? i % 5 != 0 : x == 1 ? i % 4 == 0 : i % 20 == 0;
            theData.allValues.insert(theData.allValues.end(), {double(x), positive ? 1.0 : 0.0, 0.0});
        }
        theData.AddNewSeries(600, {"x", "resp", "score"});
    }
}

class ScoringRunTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        Reset();
        theData.OnDeleteAll();
    }
    static void Reset() {
        ClearScoringResults();
        theScorereport.takeOnlyPercent = 50;
        theScorereport.scoreFileRequest = 0;
        theData.scoringSimple = 0;
    }
    platform::ScriptedDialogs dialogs;
};

TEST_F(ScoringRunTest, RunDerivesReportsCountsAndStoresScores) {
    LoadRecords();
    RunScoring(1, 1.0, 2);  // a response equal to the threshold is positive
    ASSERT_GE(ScoringRuleCount(), 1);
    const scorereport& r = theScorereport;
    EXPECT_EQ(std::tuple(r.totalRecords, r.positiveRecords, r.positiveCounts[0]), std::tuple(600, 160 + 50 + 10, 220));
    EXPECT_EQ(r.recipeText.rfind("Scoring rules:\r\n0)    if(x = ", 0), 0u);
    double low = 1e9, high = -1e9;
    for (int i = 0; i < 600; ++i) {
        const double s = theData.allValues[static_cast<std::size_t>(i) * 3 + 2];
        low = std::min(low, s), high = std::max(high, s);
    }
    EXPECT_EQ(std::pair(low, high), std::pair(0.0, 100.0));  // the largest raw score normalises to 100

    // Every entry is reset: a second run over the same data counts the same.
    const ScoreCounts all = r.allCounts, positive = r.positiveCounts;
    const std::string recipe = r.recipeText;
    for (int i = 0; i < 600; ++i) theData.allValues[static_cast<std::size_t>(i) * 3 + 2] = 0;  // the same data
    RunScoring(1, 1.0, 2);
    EXPECT_EQ(std::tie(r.allCounts, r.positiveCounts, r.recipeText), std::tie(all, positive, recipe));

    // Two series: nothing of the earlier run is left to pass for this one's.
    LoadRecords(2);
    RunScoring(1, 1.0, 2);
    EXPECT_EQ(std::tuple(ScoringRuleCount(), r.totalRecords, r.allCounts[0], r.recipeText),
              std::tuple(0, 0, 0, std::string()));
}

// Mend: a line of more numbers than the series has parameters, and a write that fails (a
// full disk), end in a message and leave no score file.
TEST_F(ScoringRunTest, ScoreFileRefusalsAreReported) {
    LoadRecords();
    RunScoring(1, 1.0, 2);
    ASSERT_GE(ScoringRuleCount(), 1);
    const auto dir = std::filesystem::temp_directory_path() / ("tabulon_make_score_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto write = [](const std::filesystem::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    };
    theScorereport.takeOnlyPercent = 100;
    write(dir / "wide.txt", "2 1 0\n2 1 0 5\n");
    write(dir / "full.txt", "2 1 0\n0 0 0\n");
    std::filesystem::create_symlink("/dev/full", dir / "full100.txt");
    for (const char* task : {"wide.txt", "full.txt"}) {
        dialogs.fileAnswers.push_back((dir / task).string());
        MakeScoreFile();
    }
    const std::vector<std::string> messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("A line of the task file holds more than 3 numbers", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1].rfind("The score file could not be written", 0), 0u) << messages[1];
    EXPECT_FALSE(std::filesystem::exists(dir / "wide100.txt"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "full100.txt")));
    std::filesystem::remove_all(dir);
}

// Mend: a score file without a line (no line scored, or none above the threshold) was
// written without a word.
TEST_F(ScoringRunTest, AnEmptyScoreFileIsReported) {
    LoadRecords();
    RunScoring(1, 1.0, 2);
    ASSERT_GE(ScoringRuleCount(), 1);
    const auto dir = std::filesystem::temp_directory_path() / ("tabulon_empty_score_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "blank.txt", std::ios::binary) << "\n\n\n";
    std::ofstream(dir / "same.txt", std::ios::binary) << "2 1 0\n2 1 0\n";
    theScorereport.takeOnlyPercent = 50;
    for (const char* task : {"blank.txt", "same.txt"}) {
        dialogs.fileAnswers.push_back((dir / task).string());
        MakeScoreFile();
    }
    EXPECT_EQ(dialogs.Messages(),
              (std::vector<std::string>{
                  "No line of the task file holds the numbers the scoring rules need.\nThe score file is empty.",
                  "No line of the task file scores above the threshold.\nThe score file is empty."}));
    EXPECT_TRUE(std::filesystem::exists(dir / "blank50.txt"));
    std::filesystem::remove_all(dir);
}

TEST_F(ScoringRunTest, ChartNeedsARecordAndAPositiveOne) {
    platform::Bitmap bitmap(300, 300);
    const auto painted = [&bitmap] {
        platform::Canvas dc(bitmap);
        theScorereport.PaintChart(dc, 300, 300);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x)
                if (dc.GetPixel(x, y) != platform::kWhite) return true;
        return false;
    };
    LoadRecords();
    RunScoring(1, 2.0, 2);  // no response reaches 2
    EXPECT_EQ(theScorereport.positiveRecords, 0);
    EXPECT_FALSE(painted());
    // Counts far beyond what 32-bit products hold still land inside the frame.
    theScorereport.totalRecords = theScorereport.positiveRecords = 2000000000;
    theScorereport.allCounts.fill(2000000000);
    theScorereport.positiveCounts.fill(2000000000);
    EXPECT_TRUE(painted());
    const platform::Canvas dc(bitmap);
    EXPECT_EQ(dc.GetPixel(260, 40), platform::Rgb(0, 0, 220));  // the gain curve reaches the top right
}

TEST_F(ScoringRunTest, DialogRefusesBadPercentCopiesAndReportsToWord) {
    LoadRecords();
    RunScoring(1, 1.0, 2);
    ASSERT_GE(ScoringRuleCount(), 1);
    std::string docx;
    dialogs.modalSteps.push_back([&](platform::Dialog& d) {
        auto& r = static_cast<scorereport&>(d);
        r.Control(scorereport::kTakeOnlyEdit).SetText("0");
        r.SendCommand(scorereport::kScoreFileButton);
        EXPECT_EQ(std::pair(r.scoreFileRequest, dialogs.CountOf("message")), std::pair(0, 1));
        r.Control(scorereport::kTakeOnlyEdit).SetText("30");
        r.SendCommand(scorereport::kScoreFileButton);
        EXPECT_EQ(std::pair(r.scoreFileRequest, r.takeOnlyPercent), std::pair(1, 30));

        platform::SetClipboardText("before");
        dialogs.messageAnswers.push_back(platform::kCancel);
        r.SendCommand(scorereport::kCloseButton);
        EXPECT_FALSE(r.IsDialogEnded());
        EXPECT_EQ(platform::ClipboardText(), "before");

        r.SendCommand(scorereport::kWordReportButton);
        ASSERT_EQ(dialogs.CountOf("shell"), 1);
        docx = dialogs.shown.back().text;
        EXPECT_EQ(platform::ClipboardText().rfind("Scoring rules:", 0), 0u);

        dialogs.messageAnswers.push_back(platform::kOk);
        r.SendCommand(scorereport::kCloseButton);
        EXPECT_TRUE(r.IsDialogEnded());
    });
    EXPECT_EQ(theScorereport.RunModal(), platform::kOk);
    ASSERT_FALSE(docx.empty());
    EXPECT_GT(std::filesystem::file_size(docx), 1000u);
    std::filesystem::remove(docx);
}

}  // namespace
