#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::Notification;

// A spin arrow as the layer reports it: the up arrow of a classic spin is a negative delta.
void Spin(platform::Dialog& page, int id, int delta) {
    platform::Notify n;
    n.id = id;
    n.code = Notification::SpinDelta;
    n.delta = delta;
    page.DispatchNotify(n);
}

TEST(ChartPage, DefaultsAndSpinArithmetic) {
    chart c;
    EXPECT_EQ(c.borderAreaColor, 0xFFEBD7u);
    EXPECT_EQ(c.chartAreaColor, 0xFFFFFFu);
    EXPECT_EQ(c.borderWidth, 2);
    EXPECT_EQ(c.gridWidth, 1);
    EXPECT_EQ(c.intervals, 6);
    EXPECT_EQ(c.fittingLineWidth, 2);
    EXPECT_EQ(c.showSlashes, 1);
    EXPECT_EQ(c.pageFont.height, 18);

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
    EXPECT_EQ(c.borderWidthEdit, 10);
    EXPECT_EQ(c.gridWidthEdit, 10);
    c.intervals = 99;  // typed beyond the range: steps back one at a time, never further out
    EXPECT_EQ(c.StepIntervals(+1), 98);
    EXPECT_EQ(c.StepIntervals(-1), 30);

    EXPECT_EQ(chart::CaptionColorOnFace(0xFFFFFF), platform::kBlack);
    EXPECT_EQ(chart::CaptionColorOnFace(platform::Rgb(131, 130, 130)), platform::kBlack);  // sum 391
    EXPECT_EQ(chart::CaptionColorOnFace(platform::Rgb(130, 130, 130)), platform::kWhite);  // sum 390
}

TEST(ChartPage, ControlsSpinsOkAndColours) {
    platform::ScriptedDialogs dialogs;
    chart c;
    ASSERT_TRUE(c.Create(nullptr));
    EXPECT_EQ(c.Control(chart::kIntervalsEdit).Text(), "6");
    EXPECT_EQ(c.Control(chart::kShowSlashesCheck).Check(), 1);

    for (int i = 0; i < 10; ++i) Spin(c, chart::kBorderLinesSpin, -1);
    EXPECT_EQ(c.borderWidth, 10);
    EXPECT_EQ(c.Control(chart::kBorderLinesEdit).Text(), "10");
    EXPECT_EQ(c.changed, 1);
    Spin(c, chart::kIntervalsSpin, +1);
    EXPECT_EQ(c.intervals, 5);
    EXPECT_EQ(c.Control(chart::kIntervalsEdit).Text(), "5");

    // Typed widths take effect on "Ok", clamped and written back.
    c.Control(chart::kBorderLinesEdit).SetText("25");
    c.Control(chart::kGridLinesEdit).SetText("3");
    EXPECT_EQ(c.borderWidth, 10);
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
    EXPECT_EQ(dialogs.CountOf("color"), 2);

    // The area buttons show their colour and a caption that stands out from it.
    platform::Bitmap face(80, 24);
    platform::Canvas dc(face);
    platform::DrawItem item;
    item.controlId = chart::kBorderAreaButton;
    item.canvas = &dc;
    item.rect = {0, 0, 80, 24};
    item.text = "Border area";
    ASSERT_TRUE(c.OnDrawItem(item));
    EXPECT_EQ(dc.GetPixel(4, 4), c.borderAreaColor);
    c.DestroyWindow();
}

TEST(LegendPage, DefaultsFontsAndSliders) {
    platform::ScriptedDialogs dialogs;
    legend l;
    EXPECT_EQ(l.title, "New chart");
    EXPECT_TRUE(l.xCaption.empty());
    EXPECT_EQ(l.showFormulas, 1);
    EXPECT_EQ(l.overlap, 1);
    EXPECT_EQ(l.titleFont.height, 24);
    EXPECT_EQ(l.yCaptionFontUp.escapement, 900);
    EXPECT_EQ(l.yCaptionFontDown.escapement, -900);
    EXPECT_EQ(l.yCaptionFontDown.orientation, 900);
    ASSERT_TRUE(l.Create(nullptr));
    EXPECT_EQ(l.Control(legend::kTitleEdit).Text(), "New chart");
    const int sliders[] = {legend::kTitleAlignSlider, legend::kXCaptionAlignSlider, legend::kYCaptionAlignSlider,
                           legend::kFormulaAlignSlider};
    const int positions[] = {50, 50, 50, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(l.Control(sliders[i]).Pos(), positions[i]);
        EXPECT_EQ(l.Control(sliders[i]).RangeMax(), 100);
    }

    // A 14-point bold caption font reaches the labels and both y caption fonts.
    const platform::Font chosen = platform::Font::Make("Arial", 19, platform::kWeightBold);
    dialogs.fontAnswers = {chosen, std::nullopt};
    l.SendCommand(legend::kAxisFontButton);
    EXPECT_EQ(l.xCaptionFont, chosen);
    EXPECT_EQ(l.yCaptionFontUp.weight, platform::kWeightBold);
    EXPECT_EQ(l.yCaptionFontUp.escapement, 900);
    EXPECT_EQ(l.yCaptionFontDown.escapement, -900);
    EXPECT_EQ(l.yCaptionFontDown.orientation, 900);
    EXPECT_EQ(l.yCaptionFontDown.height, chosen.height);
    EXPECT_EQ(l.changed, 1);
    l.changed = 0;
    l.SendCommand(legend::kTitleFontButton);  // cancelled: nothing changes but the flag
    EXPECT_EQ(l.titleFont.height, 24);
    EXPECT_EQ(l.changed, 1);

    // Sliders apply only when the thumb is let go.
    l.Control(legend::kFormulaAlignSlider).SetPos(70);
    platform::Notify n;
    n.id = legend::kFormulaAlignSlider;
    n.code = Notification::Scroll;
    n.scrollCode = platform::kScrollThumbTrack;
    l.DispatchNotify(n);
    EXPECT_EQ(l.formulaAlign, 0);
    n.scrollCode = platform::kScrollEnd;
    l.DispatchNotify(n);
    EXPECT_EQ(l.formulaAlign, 70);

    l.Control(legend::kXCaptionEdit).SetText("Time");
    l.Control(legend::kOverlapCheck).Click();
    EXPECT_EQ(l.xCaption, "Time");
    EXPECT_EQ(l.overlap, 0);
    l.DestroyWindow();
}

}  // namespace
