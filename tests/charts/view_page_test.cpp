// The View page through its real widgets: the pads' zones and steps, the tidying of bounds,
// the presets per data shape, the spins, the switches and the validation of typed fields.
#include <tuple>

#include <gtest/gtest.h>

#include "charts/xyview_page.h"
#include "charts_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::Point;

// The centre of a zone in picture pixels: the pads work in picture pixels until the page
// scales the zones to its window.
Point Centre(const platform::Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(ViewPage, RangePadZonesMoveTheBoundsByTheStep) {
    // The bounds after a click on each zone, from x 0..10 and y 0..100 at 5 %.
    const struct { int zone; double xMin, xMax, yMin, yMax; } cases[] = {
        {0, 0, 10.5, 0, 100},   {1, 0, 9.5, 0, 100},   {2, 0.5, 10, 0, 100},   {3, -0.5, 10, 0, 100},
        {4, -0.5, 10.5, 0, 100}, {5, 0.5, 9.5, 0, 100}, {6, 0, 10, 5, 100},     {7, 0, 10, -5, 100},
        {8, 0, 10, 0, 105},     {9, 0, 10, 0, 95},     {10, 0, 10, -5, 105},   {11, 0, 10, 5, 95},
        {12, -0.5, 10.5, -5, 105}, {13, 0.5, 9.5, 5, 95},
    };
    xyview v;
    v.autozoom = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        v.xMin = 0, v.xMax = 10, v.yMin = 0, v.yMax = 100;
        v.changed = 0;
        v.ClickRangePad(Centre(v.rangePadZones[static_cast<size_t>(c.zone)]));
        charts_test::ExpectDoubles(
            {{"xMin", v.xMin, c.xMin}, {"xMax", v.xMax, c.xMax}, {"yMin", v.yMin, c.yMin}, {"yMax", v.yMax, c.yMax}});
        EXPECT_EQ(v.changed, 1);
    }
    // The z pad, and nothing at all while Autozoom is on.
    v.zMin = 0, v.zMax = 20;
    v.ClickZPad(Centre(v.zPadZones[4]));
    EXPECT_DOUBLE_EQ(v.zMin, -1);
    EXPECT_DOUBLE_EQ(v.zMax, 21);
    v.autozoom = 1;
    v.changed = 0;
    v.ClickRangePad(Centre(v.rangePadZones[0]));
    v.ClickZPad(Centre(v.zPadZones[0]));
    EXPECT_DOUBLE_EQ(v.xMax, 9.5);
    EXPECT_DOUBLE_EQ(v.zMax, 21);
    EXPECT_EQ(v.changed, 0);
}

TEST(ViewPage, TidyingRoundsAndNeverLeavesAnEmptyRange) {
    xyview v;
    struct Case { double lo, hi, step, wantLo, wantHi; };
    const Case cases[] = {
        {10.1234567, 20.7654321, 0, 10.1235, 20.7654},  // six significant digits
        {5, 5, 0, 5, 5.00005},                           // no width and no step: a fixed share
        {0, 0, 0, 0, 1},                                 // at zero: a fixed width of 1
        {7, 3, -0.2, 7, 7.2},                            // upside down: the step's size
        {1.0000001, 1.0000002, 1e-8, 1, 1.00001},        // equal after the rounding: apart again
        {-2e9, -2e9, 0, -2e9, -1.99998e9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lo);
        v.xMin = c.lo, v.xMax = c.hi, v.xStep = c.step;
        v.yMin = 0, v.yMax = 1, v.zMin = 0, v.zMax = 1;
        v.TidyRanges();
        EXPECT_DOUBLE_EQ(v.xMin, c.wantLo);
        EXPECT_DOUBLE_EQ(v.xMax, c.wantHi);
    }
}

TEST(ViewPage, PresetsKeepTheColourMapOnlyForShapesThatShowIt) {
    // The map and its z controls stay for two values or two arguments and one value, unless a
    // several-argument scheme is chosen.
    const struct { int arguments, values, fitScheme, colorMapAfter; } cases[] = {
        {1, 0, 0, 0}, {0, 2, 0, 1}, {1, 2, 0, 0}, {2, 1, 0, 1}, {2, 1, 1, 0}, {3, 1, 0, 0},
    };
    platform::ScriptedDialogs dialogs;
    xyview v;
    ASSERT_TRUE(v.Create(nullptr));
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.arguments << "/" << c.values << " scheme " << c.fitScheme);
        v.colorMapMode = 1;
        v.fitSchemeChosen = c.fitScheme;
        v.show3D = 0;
        v.SetDataShape(c.arguments, c.values);
        EXPECT_EQ(v.colorMapMode, c.colorMapAfter);
        EXPECT_EQ(v.Control(xyview::kZPad).IsVisible(), c.colorMapAfter == 1);
        EXPECT_EQ(v.twoValueColorMap, c.arguments == 0 && c.values == 2 ? 1 : 0);
    }
    v.DestroyWindow();
}

TEST(ViewPage, FieldsSpinsSwitchesAndTypedBounds) {
    platform::ScriptedDialogs dialogs;
    xyview v;
    ASSERT_TRUE(v.Create(nullptr));
    v.SetDataShape(1, 1);
    v.autozoom = 0;
    v.xMin = 0, v.xMax = 10, v.yMin = -1, v.yMax = 1;
    v.UpdateData(false);
    // A mouse click on zone 0 of the range pad (xMax + step), as scaled to the pad's window.
    const Point zone0 = Centre(v.rangePadZones[0]);
    charts_test::Click(v.Control(xyview::kRangePad).Widget(), zone0.x, zone0.y);
    EXPECT_DOUBLE_EQ(v.xMax, 10.5);
    v.xMax = 10;
    v.UpdateData(false);

    // Typed bounds reach the fields on Ok.
    v.Control(xyview::kYMaxEdit).SetText("7");
    v.changed = 0;
    v.SendCommand(xyview::kOkButton);
    EXPECT_DOUBLE_EQ(v.yMax, 7);
    EXPECT_EQ(v.changed, 1);

    // A minimum equal to the maximum is refused with a message and nothing is applied.
    v.changed = 0;
    v.Control(xyview::kXMinEdit).SetText("10");
    v.SendCommand(xyview::kOkButton);
    EXPECT_EQ(v.changed, 0);
    ASSERT_FALSE(dialogs.Messages().empty());
    EXPECT_EQ(dialogs.Messages().back(), "The lower bound must be less than the upper bound.");

    // Fields that do not read are reported by the exchange.
    const struct { int id; const char* text; const char* message; } bad[] = {
        {xyview::kYMinEdit, "abc", "Please enter a number."},
        {xyview::kStepEdit, "60", "Please enter an integer between 0 and 50."},
        {xyview::kColorStepsEdit, "2", "Please enter an integer between 3 and 255."},
    };
    for (const auto& b : bad) {
        v.xMin = 0, v.xMax = 10, v.yMin = -1, v.yMax = 1, v.stepPercent = 5, v.colorSteps = 10;
        v.UpdateData(false);
        v.Control(b.id).SetText(b.text);
        v.SendCommand(xyview::kOkButton);
        EXPECT_EQ(dialogs.Messages().back(), b.message);
    }

    // Spins: the step never below 1, the colour steps within 3..255.
    for (int i = 0; i < 10; ++i) v.StepPercent(+1);
    EXPECT_EQ(v.stepPercent, 1u);
    for (int i = 0; i < 300; ++i) v.StepColorSteps(-1);
    EXPECT_EQ(v.colorSteps, 255);
    for (int i = 0; i < 300; ++i) v.StepColorSteps(+1);
    EXPECT_EQ(v.colorSteps, 3);

    // Turning the colour map off turns the histogram off too.
    v.SetDataShape(0, 2);
    v.histogram = 1;
    v.SendCommand(xyview::kColorMapButton);
    EXPECT_EQ(std::tie(v.colorMapMode, v.zControlsShown, v.twoValueColorMap), std::make_tuple(1, 1, 1));
    v.SendCommand(xyview::kColorMapButton);
    EXPECT_EQ(std::tie(v.colorMapMode, v.histogram), std::make_tuple(0, 0));
    v.DestroyWindow();
}

}  // namespace
