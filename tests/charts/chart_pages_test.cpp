#include <tuple>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "platform/scripted_dialogs.h"

namespace {

TEST(ChartPage, SpinArithmetic) {
    chart c;
    struct Case { int (chart::*step)(int); int chart::*field; int min, max; };
    const Case cases[] = {{&chart::StepBorderWidth, &chart::borderWidth, 0, 10},
                          {&chart::StepGridWidth, &chart::gridWidth, 0, 10},
                          {&chart::StepIntervals, &chart::intervals, 2, 30},
                          {&chart::StepFittingLineWidth, &chart::fittingLineWidth, 1, 7}};
    for (const Case& k : cases) {
        for (int i = 0; i < 40; ++i) (c.*k.step)(+1);  // down arrow
        EXPECT_EQ(c.*k.field, k.min);
        for (int i = 0; i < 40; ++i) (c.*k.step)(-1);  // up arrow
        EXPECT_EQ(c.*k.field, k.max);
    }
    c.intervals = 99;  // typed beyond the range: steps back one at a time, never further out
    EXPECT_EQ(c.StepIntervals(+1), 98);
    EXPECT_EQ(c.StepIntervals(-1), 30);

    EXPECT_EQ(chart::CaptionColorOnFace(platform::Rgb(131, 130, 130)), platform::kBlack);  // sum 391
    EXPECT_EQ(chart::CaptionColorOnFace(platform::Rgb(130, 130, 130)), platform::kWhite);  // sum 390
}

TEST(ChartPage, OkClampsAndColourDialogs) {
    platform::ScriptedDialogs dialogs;
    chart c;
    ASSERT_TRUE(c.Create(nullptr));
    // Typed widths take effect on "Ok", clamped and written back.
    c.Control(chart::kBorderLinesEdit).SetText("25");
    c.Control(chart::kGridLinesEdit).SetText("3");
    c.SendCommand(chart::kOkButton);
    EXPECT_EQ(c.borderWidth, 10);
    EXPECT_EQ(c.Control(chart::kBorderLinesEdit).Text(), "10");
    EXPECT_EQ(c.gridWidth, 3);

    // A cancelled colour dialog leaves the colour but still applies.
    c.changed = 0;
    dialogs.colorAnswers = {std::nullopt, platform::Rgb(10, 20, 30)};
    c.SendCommand(chart::kChartAreaButton);
    EXPECT_EQ(c.chartAreaColor, 0xFFFFFFu);
    EXPECT_EQ(c.changed, 1);
    c.SendCommand(chart::kGridLineColorButton);
    EXPECT_EQ(c.gridLineColor, platform::Rgb(10, 20, 30));
    c.DestroyWindow();
}

TEST(LegendPage, FontDialogs) {
    platform::ScriptedDialogs dialogs;
    legend l;
    ASSERT_TRUE(l.Create(nullptr));

    // A 14-point bold caption font reaches the labels and both y caption fonts.
    const platform::Font chosen = platform::Font::Make("Arial", 19, platform::kWeightBold);
    dialogs.fontAnswers = {chosen, std::nullopt};
    dialogs.fontColorAnswers = {0x0000C0};
    l.SendCommand(legend::kAxisFontButton);
    EXPECT_EQ(std::tie(l.xCaptionFont, l.captionColor, l.yCaptionFontUp.escapement),
              std::make_tuple(chosen, 0x0000C0u, 900));
    EXPECT_EQ(std::tie(l.yCaptionFontDown.escapement, l.yCaptionFontDown.orientation, l.yCaptionFontDown.height),
              std::make_tuple(-900, 900, chosen.height));
    l.SendCommand(legend::kTitleFontButton);  // cancelled: nothing changes
    EXPECT_EQ(l.titleFont.height, 24);

    // The title dialog: 20 pixels (15 points), blue; the colour and size follow.
    dialogs.fontAnswers = {platform::Font::Make("Arial", 20, platform::kWeightBold)};
    dialogs.fontColorAnswers = {0xFF0000};
    l.SendCommand(legend::kTitleFontButton);
    EXPECT_EQ(std::tie(l.titleColor, l.titlePointSize), std::make_tuple(0xFF0000u, 150));

    // The formula dialog offers no colour; its answer leaves both colours alone.
    dialogs.fontAnswers = {platform::Font::Make("Arial", 14)};
    dialogs.fontColorAnswers = {0x00FF00};
    l.SendCommand(legend::kFormulaFontButton);
    EXPECT_EQ(std::tie(l.titleColor, l.captionColor), std::make_tuple(0xFF0000u, 0x0000C0u));
    l.DestroyWindow();
}

}  // namespace
