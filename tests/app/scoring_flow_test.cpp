// The scoring run from end to end on the running main window: the insert dialog's "Scores"
// choice scores the records into the new parameter, and the next paint shows the scoring
// report with its recipe.

#include <gtest/gtest.h>

#include "data/insert_dialog.h"
#include "fitting/scorereport.h"
#include "fitting/scoring_run.h"
#include "main_window_support.h"

namespace {

TEST(ScoringFlow, InsertScoresThenTheReportShows) {
    platform::ScriptedDialogs dialogs;
    // The insert dialog keeps its fields between showings: put them back for the next test.
    const std::string name = theInsert.name;
    const double threshold = theInsert.scoreThreshold;
    const std::int32_t simple = theInsert.simpleAlgorithm;
    mainwin_test::WithMainWindow(
        [&](CTabulonDlg& dlg) {
            std::vector<double> rows;
            for (int i = 0; i < 600; ++i) {
                const int x = i % 3;
                const bool positive = x == 2 ? i % 5 != 0 : x == 1 ? i % 4 == 0 : i % 20 == 0;
                rows.insert(rows.end(), {double(x), positive ? 1.0 : 0.0});
            }
            mainwin_test::LoadRows({"x", "resp"}, rows);

            std::string recipe;
            dialogs.modalSteps.push_back([](platform::Dialog& d) {
                auto& in = static_cast<insert&>(d);
                ASSERT_TRUE(in.Control(insert::kScoresRadio).IsEnabled());
                in.Control(insert::kScoresRadio).Click();
                in.Control(insert::kScoreCombo).SetCurSel(1);
                in.SendCommand(insert::kScoreCombo, platform::Notification::SelChange);
                in.Control(insert::kThresholdEdit).SetText("1");
                in.Control(insert::kInsertButton).Click();
            });
            dialogs.modalSteps.push_back([&recipe](platform::Dialog& d) {
                EXPECT_EQ(d.TemplateId(), scorereport::kTemplateId);
                recipe = d.Control(scorereport::kRecipeEdit).Text();
                d.EndDialog(platform::kCancel);
            });
            InsertParameterCommand(theData);
            ASSERT_EQ(theData.parametersPerSeries, 3);
            dlg.OnPaint();
            EXPECT_NE(recipe.find("Scoring rules:"), std::string::npos);
            EXPECT_GE(ScoringRuleCount(), 1);
            EXPECT_EQ(theScorereport.totalRecords, 600);
        },
        &dialogs);
    ClearScoringResults();
    theData.OnDeleteAll();
    theInsert.name = name;
    theInsert.scoreThreshold = threshold;
    theInsert.simpleAlgorithm = simple;
}

}  // namespace
