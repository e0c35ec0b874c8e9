// The distribution options page through its real widgets, the filter over the store and the
// two picture and file routines.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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

TEST_F(PageFixture, BinCountOpensWithoutAutoIntervalsAndIsHeld) {
    EXPECT_FALSE(page.Control(D::kBinCountEdit).IsEnabled());
    Click(D::kAutoIntervalsCheck);  // off: the bin count opens
    EXPECT_EQ(std::tuple(page.autoIntervals, page.Control(D::kBinCountEdit).IsEnabled()), std::tuple(0, true));
    Spin(page, D::kBinCountSpin, -1);
    EXPECT_EQ(page.binCount, 11);
    for (int k = 0; k < 20; ++k) Spin(page, D::kBinCountSpin, +1);
    EXPECT_EQ(std::tuple(page.binCount, page.Control(D::kBinCountEdit).Text()), std::tuple(3, "3"));

    // A typed count is held to 1..10000 on "Ok".
    for (const auto& [typed, held] : {std::pair{"0", 1}, std::pair{"250000", 10000}}) {
        page.Control(D::kBinCountEdit).SetText(typed);
        page.SendCommand(D::kOkButton);
        EXPECT_EQ(std::tuple(page.binCount, page.Control(D::kBinCountEdit).Text()),
                  std::tuple(held, std::to_string(held))) << typed;
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
    EXPECT_EQ(page.conditions, (std::vector<conditions>{{1, 3, 2.5, 4}}));
    EXPECT_EQ(page.appliedConditions, page.conditions);
    Click(D::kPartOfWholeCheck);

    page.Control(D::kParameterCombo).SetCurSel(-1);
    Click(D::kAddButton);  // no parameter chosen: index -1, ignored by the filter
    EXPECT_EQ(page.conditions.back().parameterIndex, -1);
    Click(D::kUndoButton);
    Click(D::kUndoButton);  // emptied: "part of whole" goes off and is disabled
    const platform::Control partOfWhole = page.Control(D::kPartOfWholeCheck);
    EXPECT_EQ(std::tuple(page.conditions.size(), page.partOfWhole, partOfWhole.Check(), partOfWhole.IsEnabled()),
              std::tuple(0u, 0, 0, false));

    Click(D::kAddButton);
    Click(D::kAddButton);
    Click(D::kClearButton);
    EXPECT_EQ(std::tuple(page.conditions.size(), page.appliedConditions.size()), std::tuple(0u, 0u));
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
    EXPECT_EQ(std::tuple(lo, hi), std::tuple(20.0, 30.0));
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
    EXPECT_EQ(std::tuple(dc.GetPixel(2, 8), dc.GetPixel(17, 1)),
              std::tuple(platform::Rgb(255, 0, 0), platform::Rgb(0, 0, 255)));
    StretchBitmapTo(nullptr, source, 0, 0, 20, 10);

    platform::ScriptedDialogs dialogs;
    dialogs.fileAnswers = {std::string("/tmp/x/chart.bmp"), std::nullopt};
    std::string folder, title, file;
    EXPECT_EQ(BrowseForFile(folder, "bmp", title, file, "Save chart", "chart"), 1);
    EXPECT_EQ(std::tuple(file, title), std::tuple("/tmp/x/chart.bmp", "chart.bmp"));
    EXPECT_EQ(dialogs.shown[0].kind, "save");  // asks before replacing, unlike an open dialog
    EXPECT_EQ(BrowseForFile(folder, "bmp", title, file, "Save chart", "chart"), 0);
    EXPECT_EQ(file, "/tmp/x/chart.bmp");
}

}  // namespace
