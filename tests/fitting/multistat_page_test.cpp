// The several-argument scheme page through its widgets: the eight exclusive schemes, the
// weight list with its percentage, the spin's steps and bounds, and the start and stop of
// the automatic search.
#include <array>

#include <gtest/gtest.h>

#include "fitting/multistat_page.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using Flags = std::array<int, 8>;

Flags FlagsOf(const multistat& p) {
    return {p.correlation, p.plane, p.parabolic, p.nearNeighbors, p.userDefinedFormula, p.unitaryArgument,
            p.bestPolynome, p.bestPolynomeAuto};
}

class MultistatPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    bool Enabled(int id) { return page.Control(id).IsEnabled(); }
    void Spin(int delta) {
        platform::Notify n;
        n.id = multistat::kPercentSpin;
        n.code = platform::Notification::SpinDelta;
        n.delta = delta;
        page.OnDeltaposSpin1(n);
    }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    multistat page;
};

TEST_F(MultistatPageTest, ExclusiveSchemes) {
    // Clicking the scheme that is on (plane, on a new page) turns every scheme off.
    page.Control(multistat::kPlaneCheck).Click();
    EXPECT_EQ(FlagsOf(page), (Flags{}));
    EXPECT_EQ(page.changed, 1);

    const struct {
        int id;
        Flags flags;
    } clicks[] = {
        {multistat::kParabolicCheck, {0, 0, 1, 0, 0, 0, 0, 0}},
        {multistat::kCorrelationCheck, {1, 0, 0, 0, 0, 0, 0, 0}},
        {multistat::kUserDefinedFormulaButton, {0, 0, 0, 0, 1, 0, 0, 0}},
        {multistat::kUnitaryArgumentButton, {0, 0, 0, 0, 0, 1, 0, 0}},
        {multistat::kBestPolynomeButton, {0, 0, 0, 0, 0, 0, 1, 0}},
        {multistat::kBestPolynomeButton, {0, 0, 0, 0, 0, 0, 1, 0}},  // a button sets, never toggles
        {multistat::kPlaneCheck, {0, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : clicks) {
        page.Control(c.id).Click();
        EXPECT_EQ(FlagsOf(page), c.flags) << c.id;
        EXPECT_EQ(page.Control(multistat::kPlaneCheck).Check(), c.flags[1]);
    }
}

TEST_F(MultistatPageTest, NeighbourWeightEnablesThePercentage) {
    page.Control(multistat::kNearNeighborsCheck).Click();
    EXPECT_EQ(FlagsOf(page), (Flags{0, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(Enabled(multistat::kWeightCombo));
    EXPECT_FALSE(Enabled(multistat::kPercentEdit));
    // Only the "closest records" weight takes a percentage.
    page.Control(multistat::kWeightCombo).SetCurSel(3);
    page.OnCloseupWeightCombo();
    EXPECT_EQ(page.weightKind, 3);
    EXPECT_TRUE(Enabled(multistat::kPercentSpin));
    page.Control(multistat::kWeightCombo).SetCurSel(0);
    page.OnCloseupWeightCombo();
    EXPECT_FALSE(Enabled(multistat::kPercentSpin));
}

TEST_F(MultistatPageTest, SpinStepsAndBoundsAndTypedPercentClamped) {
    const struct {
        double from;
        int delta;
        double to;
    } steps[] = {{1, 1, 0.02}, {49.5, -1, 50}, {50, -1, 50}, {3, -1, 4}, {3, 1, 2}, {0.01, 0, 0.02}};
    for (const auto& s : steps) {
        page.nearNeighborPercent = s.from;
        Spin(s.delta);
        EXPECT_DOUBLE_EQ(page.nearNeighborPercent, s.to) << s.from << " " << s.delta;
    }
    // Typed values are held to the spin's bounds.
    for (const auto& [typed, held] : {std::pair{"0", 0.01}, {"75", 50.0}, {"12.5", 12.5}}) {
        page.Control(multistat::kPercentEdit).SetText(typed);
        page.Control(multistat::kOkButton).Click();
        EXPECT_DOUBLE_EQ(page.nearNeighborPercent, held) << typed;
    }
}

// While the automatic search runs the scheme controls are locked; a second press stops it.
TEST_F(MultistatPageTest, AutoSearchStartsAndStops) {
    page.Control(multistat::kBestPolynomeAutoButton).Click();
    EXPECT_EQ(FlagsOf(page), (Flags{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(page.searchRunning, 1);
    EXPECT_FALSE(Enabled(multistat::kPlaneCheck));
    page.Control(multistat::kBestPolynomeAutoButton).Click();
    EXPECT_EQ(page.searchRunning, 0);
    EXPECT_TRUE(Enabled(multistat::kPlaneCheck));
}

}  // namespace
