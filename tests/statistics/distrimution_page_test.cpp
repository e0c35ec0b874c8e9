// The distribution options page through its real widgets, the filter over the store and the
// two picture and file routines.
#include <gtest/gtest.h>

#include "data/data_store.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"
#include "statistics/conditional_values.h"
#include "statistics/distrimution_page.h"
#include "tests/statistics/page_notify.h"
#include "statistics/stretch_and_browse.h"

namespace {

using D = distrimution;

struct PageFixture : ::testing::Test {
    platform::ScriptedDialogs dialogs;
    distrimution page;
    void SetUp() override {
        ASSERT_TRUE(page.Create(nullptr));
        platform::Control combo = page.Control(D::kParameterCombo);
        for (const char* name : {"a", "b", "c"}) combo.AddString(name);
    }
    void Click(int id) { page.Control(id).Click(); }
};

TEST_F(PageFixture, StartsWithItsDefaults) {
    EXPECT_EQ(page.Control(D::kBinCountEdit).Text(), "10");
    EXPECT_EQ(page.Control(D::kPercentOfDataEdit).Text(), "10");
    EXPECT_EQ(page.Control(D::kAutoIntervalsCheck).Check(), 1);
    EXPECT_FALSE(page.Control(D::kBinCountEdit).IsEnabled());
    EXPECT_FALSE(page.Control(D::kBinCountSpin).IsEnabled());
    EXPECT_FALSE(page.Control(D::kPartOfWholeCheck).IsEnabled());
    const platform::Control operation = page.Control(D::kOperationCombo);
    ASSERT_EQ(operation.Count(), 4);
    EXPECT_EQ(operation.CurSel(), 0);
    EXPECT_EQ(operation.ItemText(2).substr(0, 8), "not and ");

    platform::CtlColor c;
    ASSERT_TRUE(page.OnCtlColor(D::kMedianCheck, c));
    EXPECT_EQ(c.text, D::kLightColor);
    EXPECT_EQ(c.back, D::kDarkColor);
    ASSERT_TRUE(page.OnCtlColor(D::kConditionMinEdit, c));
    EXPECT_EQ(c.text, D::kDarkColor);
    EXPECT_EQ(c.back, D::kEditColor);
}

TEST_F(PageFixture, SwitchesAndBins) {
    Click(D::kStudentCheck);
    EXPECT_EQ(page.showStudent, 1);
    EXPECT_EQ(page.changed, 1);
    Click(D::kMedianCheck);
    Click(D::kMinAbsDeviationCheck);
    Click(D::kCumulativeCheck);
    EXPECT_EQ(page.showMedian + page.minAbsDeviation + page.cumulative, 3);

    Click(D::kAutoIntervalsCheck);  // off: the bin count opens
    EXPECT_EQ(page.autoIntervals, 0);
    EXPECT_TRUE(page.Control(D::kBinCountEdit).IsEnabled());
    Spin(page, D::kBinCountSpin, -1);
    EXPECT_EQ(page.binCount, 11);
    for (int k = 0; k < 20; ++k) Spin(page, D::kBinCountSpin, +1);
    EXPECT_EQ(page.binCount, 3);
    EXPECT_EQ(page.Control(D::kBinCountEdit).Text(), "3");

    // A typed count is held to 1..10000 on "Ok".
    for (const auto& [typed, held] : {std::pair{"0", 1}, std::pair{"250000", 10000}, std::pair{"7", 7}}) {
        page.Control(D::kBinCountEdit).SetText(typed);
        page.SendCommand(D::kOkButton);
        EXPECT_EQ(page.binCount, held) << typed;
        EXPECT_EQ(page.Control(D::kBinCountEdit).Text(), std::to_string(held));
    }
}

TEST_F(PageFixture, ConditionListAddUndoClear) {
    Click(D::kUndoButton);  // empty list: nothing changes, nothing is posted
    EXPECT_EQ(page.changed, 0);

    page.Control(D::kParameterCombo).SetCurSel(1);
    page.Control(D::kOperationCombo).SetCurSel(3);
    page.Control(D::kConditionMinEdit).SetText("2.5");
    page.Control(D::kConditionMaxEdit).SetText("4");
    Click(D::kAddButton);
    ASSERT_EQ(page.conditions.size(), 1u);
    EXPECT_EQ(page.conditions[0].parameterIndex, 1);
    EXPECT_EQ(page.conditions[0].operation, 3);
    EXPECT_EQ(page.conditions[0].from, 2.5);
    EXPECT_EQ(page.conditions[0].till, 4);
    EXPECT_EQ(page.appliedConditions.size(), 1u);
    EXPECT_TRUE(page.Control(D::kPartOfWholeCheck).IsEnabled());
    Click(D::kPartOfWholeCheck);
    EXPECT_EQ(page.partOfWhole, 1);

    page.Control(D::kParameterCombo).SetCurSel(-1);
    Click(D::kAddButton);  // no parameter chosen: index -1, ignored by the filter
    EXPECT_EQ(page.conditions.back().parameterIndex, -1);
    Click(D::kUndoButton);
    EXPECT_EQ(page.conditions.size(), 1u);
    EXPECT_EQ(page.partOfWhole, 1);
    Click(D::kUndoButton);  // emptied: "part of whole" goes off and is disabled
    EXPECT_TRUE(page.conditions.empty());
    EXPECT_EQ(page.partOfWhole, 0);
    EXPECT_EQ(page.Control(D::kPartOfWholeCheck).Check(), 0);
    EXPECT_FALSE(page.Control(D::kPartOfWholeCheck).IsEnabled());

    Click(D::kAddButton);
    Click(D::kAddButton);
    Click(D::kClearButton);
    EXPECT_TRUE(page.conditions.empty());
    EXPECT_TRUE(page.appliedConditions.empty());
    EXPECT_FALSE(page.Control(D::kPartOfWholeCheck).IsEnabled());
}

TEST(ConditionalValues, OverTheStore) {
    DataStore store;
    store.allValues = {9, 9, 1, 10, 2, 20, 3, 30};  // series 1 starts at value 2
    store.series = {Series{2, 0, 2, 0, 0, 1}, Series{2, 0, 2, 2, 2, 3}};
    std::vector<double> out;
    GetConditionalValues(store, 1, 1, {{0, kConditionAnd, 2, 3}}, out);
    EXPECT_EQ(out, (std::vector<double>{20, 30}));
    GetConditionalValues(store, 2, 1, {}, out);
    EXPECT_TRUE(out.empty());
    double lo = 0, hi = 0;
    EXPECT_EQ(ConditionalRange(store, 1, 1, {{0, kConditionOr, 2, 3}}, lo, hi), 1);
    EXPECT_EQ(lo, 20);
    EXPECT_EQ(hi, 30);
    EXPECT_EQ(ConditionalRange(store, 1, 1, {{0, kConditionOr, 2, 2}}, lo, hi), 0);
}

TEST(PictureAndFileRoutines, StretchAndSaveDialog) {
    platform::Bitmap source(2, 1);
    {
        platform::Canvas dc(source);
        dc.SetPixel(0, 0, platform::Rgb(255, 0, 0));
        dc.SetPixel(1, 0, platform::Rgb(0, 0, 255));
    }
    platform::Bitmap target(20, 10);
    platform::Canvas dc(target);
    StretchBitmapTo(&dc, source, 0, 0, 20, 10);
    EXPECT_EQ(dc.GetPixel(2, 8), platform::Rgb(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(17, 1), platform::Rgb(0, 0, 255));
    StretchBitmapTo(nullptr, source, 0, 0, 20, 10);

    platform::ScriptedDialogs dialogs;
    dialogs.fileAnswers = {std::string("/tmp/x/chart.bmp"), std::nullopt};
    std::string folder, title, file;
    EXPECT_EQ(BrowseForFile(folder, "bmp", title, file, "Save chart", "chart"), 1);
    EXPECT_EQ(file, "/tmp/x/chart.bmp");
    EXPECT_EQ(title, "chart.bmp");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "save");  // asks before replacing, unlike an open dialog
    EXPECT_EQ(BrowseForFile(folder, "bmp", title, file, "Save chart", "chart"), 0);
    EXPECT_EQ(file, "/tmp/x/chart.bmp");
}

}  // namespace
