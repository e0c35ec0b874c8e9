// The single-argument scheme page through its widgets: five exclusive scheme buttons, four
// exclusive check boxes, the two groups independent, and every change posting a repaint.
#include <array>

#include <gtest/gtest.h>

#include "fitting/xystatistic_page.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using Flags = std::array<int, 9>;

Flags FlagsOf(const xystatistic& p) {
    return {p.constructorStyle, p.customFormulas, p.fromListOfFormulas, p.peaksRevealing, p.userFormula,
            p.correlationCoefficient, p.polynomFitting, p.harmonicAnalysis, p.searchForBestFormula};
}

class XystatisticPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    xystatistic page;
};

TEST_F(XystatisticPageTest, ButtonsExcludeEachOtherAndEveryCheckBox) {
    const struct {
        int id;
        Flags flags;
    } buttons[] = {
        {xystatistic::kCustomFormulasButton, {0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {xystatistic::kConstructorStyleButton, {1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {xystatistic::kFromListOfFormulasButton, {0, 0, 1, 0, 0, 0, 0, 0, 0}},
        {xystatistic::kPeaksRevealingButton, {0, 0, 0, 1, 0, 0, 0, 0, 0}},
        {xystatistic::kUserFormulaButton, {0, 0, 0, 0, 1, 0, 0, 0, 0}},
        {xystatistic::kUserFormulaButton, {0, 0, 0, 0, 1, 0, 0, 0, 0}},  // pressed again: stays on
    };
    for (const auto& b : buttons) {
        page.Control(xystatistic::kHarmonicAnalysisCheck).Click();
        page.Control(b.id).Click();
        EXPECT_EQ(FlagsOf(page), b.flags) << b.id;
    }
    // Only the last button's page is asked for.
    EXPECT_EQ(page.userFormulaRequest, 1);
    EXPECT_EQ(page.customRequest + page.constructorRequest + page.collectionRequest + page.peaksRequest, 0);
}

TEST_F(XystatisticPageTest, CheckBoxesToggleExcludeEachOtherAndKeepTheButtonScheme) {
    page.Control(xystatistic::kPeaksRevealingButton).Click();
    const int ids[] = {xystatistic::kCorrelationCheck, xystatistic::kPolynomFittingCheck,
                       xystatistic::kHarmonicAnalysisCheck, xystatistic::kSearchForBestFormulaCheck};
    for (int i = 0; i < 4; ++i) {
        page.Control(ids[i]).Click();
        Flags expected{0, 0, 0, 1, 0, 0, 0, 0, 0};
        expected[static_cast<size_t>(5 + i)] = 1;
        EXPECT_EQ(FlagsOf(page), expected);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(page.Control(ids[j]).Check(), i == j ? 1 : 0);
    }
    // Clicking the one that is on turns it off; the button scheme stays.
    page.Control(xystatistic::kSearchForBestFormulaCheck).Click();
    EXPECT_EQ(FlagsOf(page), (Flags{0, 0, 0, 1, 0, 0, 0, 0, 0}));
}

TEST_F(XystatisticPageTest, EveryChangeMarksThePageAndPostsARepaint) {
    page.schemeChanged = 0;
    page.Control(xystatistic::kHarmonicAnalysisCheck).Click();
    EXPECT_EQ(page.schemeChanged, 1);
    page.schemeChanged = 0;
    page.Control(xystatistic::kOkButton).Click();
    EXPECT_EQ(page.schemeChanged, 1);
    platform::PumpWaitingMessages();
    EXPECT_GE(main.paints, 1);
}

// Which scheme controls the data shape shows is checked for every control in tests/app/neighbour_pages_test.cpp.

}  // namespace
