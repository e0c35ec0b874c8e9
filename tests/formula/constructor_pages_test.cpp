// The transform constructor and the multi-term constructor, clicked through their windows.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "page_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using Codes = std::vector<int>;
using Texts = std::vector<std::string>;

Codes SelectedCodes(const constructor& page) {
    return Codes(page.selectedCodes.begin(), page.selectedCodes.begin() + page.selectedCodeCount);
}

class ConstructorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    void ClickTerm(int cell) { pagetest::MouseDown(page, pagetest::Centre(page.termCellRects[cell])); }
    // Restores a selection as a document would hand it over, then paints it.
    void Restore(int yTransform, int count, const Codes& codes) {
        page.yTransform = yTransform;
        page.selectedCodeCount = count;
        page.selectedCodes.fill(-4);
        std::copy(codes.begin(), codes.end(), page.selectedCodes.begin());
        page.RestoreSelection();
        page.PaintTransformGrid();
    }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    constructor page;
};

TEST_F(ConstructorTest, ClicksSelectTransformsAndTerms) {
    ClickTerm(23);
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 1, 23, 24}));
    ClickTerm(23);
    ClickTerm(25);
    ClickTerm(1);
    ClickTerm(19);
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 19, 27, 28}));

    // A click on the selected transform falls back to y.
    for (const auto& [code, selected] : {std::pair{5, 5}, std::pair{3, 3}, std::pair{3, 0}}) {
        pagetest::MouseDown(page, pagetest::Centre(page.yCellRects[code]));
        EXPECT_EQ(page.yTransform, selected) << code;
    }
}

TEST_F(ConstructorTest, PeriodsRelabelTheirCell) {
    ClickTerm(25);
    // Only the period of a selected cosine can be typed.
    EXPECT_FALSE(page.Control(constructor::kFirstPeriodEdit + 1).IsEnabled());
    page.Control(constructor::kFirstPeriodEdit + 2).SetText("12");
    page.Control(constructor::kOkButton).Click();
    EXPECT_EQ(page.termCellLabels[25], "Cos(x/12)");
    std::string label = "unchanged";
    page.TransformLabel(label, 1, 25, "t");
    EXPECT_EQ(label, "Cos(t/12)");
    ClickTerm(25);
    page.Control(constructor::kFirstPeriodEdit + 4).SetText("abc");
    page.Control(constructor::kOkButton).Click();
    EXPECT_DOUBLE_EQ(page.periodValues[4], 0.0);
}

TEST_F(ConstructorTest, RestoredCodesSelectTheirCells) {
    Restore(5, 4, {0, 1, 27, 28});
    for (int cell = 0; cell < constructor::kTermCells; ++cell) {
        EXPECT_EQ(page.termCellStates[cell], (cell == 0 || cell == 1 || cell == 25) ? 1u : 0u) << cell;
    }
    // Values from a damaged document index nothing.
    Restore(17, 1000, {99, 22});
    EXPECT_EQ(page.yTransform, 0);
    EXPECT_EQ(SelectedCodes(page), (Codes{22}));
}

TEST(ConstructorLabels, EngineAndPageLabels) {
    struct Case {
        int kind, code;
        const char* expected;
    };
    const Case longCases[] = {
        {0, 0, "v"},          {0, 3, "sqrt(v)"},   {0, 5, "ln(v)"},        {1, 0, "1"},
        {1, 1, "v"},          {1, 10, "v^10"},     {1, 11, "1/(v)"},       {1, 20, "1/(v^10)"},
        {1, 21, "v^0.5"},     {1, 22, "v^0.333"},  {1, 25, "1/(v^0.33)"},  {1, 26, "1/(v^0.25)"},
        {1, 31, "ln(v)"},     {1, 34, "1/exp(v)"}, {1, 27, "kept"},        {1, 30, "kept"},
        {1, 35, "kept"},      {0, 6, "kept"},      {2, 1, "kept"},         {1, -1, "kept"},
    };
    for (const Case& c : longCases) {
        std::string text = "kept";
        constructor::TransformLabelLong(text, c.kind, c.code, "v");
        EXPECT_EQ(text, c.expected) << c.kind << " " << c.code;
    }
    constructor page;
    const Case cellCases[] = {{1, 7, "1/v"},    {1, 13, "v^(1/2)"}, {1, 20, "1/ln(v)"}, {1, 23, "Cos(v/1)"},
                              {1, 28, "Cos(v/6)"}, {1, 29, "kept"},  {0, 4, "1/sqrt(v)"}, {3, 0, "kept"}};
    for (const Case& c : cellCases) {
        std::string text = "kept";
        page.TransformLabel(text, c.kind, c.code, "v");
        EXPECT_EQ(text, c.expected) << c.kind << " " << c.code;
    }
}

// ---------------------------------------------------------------------------------------------

class MultiTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.argumentNames = {"p", "q"};
        page.argumentParameters = {0, 1};
        page.valueName = "v";
        page.factorsPerTerm = 2;
        page.notApplicable = 0;
        ASSERT_TRUE(page.Create(nullptr));
    }
    void ClickBox(int box) { pagetest::MouseDown(page, pagetest::Centre(page.boxRects[box])); }
    bool Enabled(int id) { return page.Control(id).IsEnabled(); }
    std::string Term(int t, const std::vector<unsigned>& terms) {
        std::string text = "stale";
        page.ComposeTermFormula(text, t, 2, page.argumentParameters, Texts{"p", "q", "v"}, terms);
        return text;
    }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    constructor_multi page;
};

TEST_F(MultiTest, ComposingATermByClicks) {
    EXPECT_EQ(page.HitTestTermBox({94, 69}), 0);  // box 0 ends at (94, 69): borders included
    EXPECT_EQ(page.HitTestTermBox({95, 60}), -1);
    ClickBox(2);  // not composing: nothing happens
    EXPECT_TRUE(page.currentPolyTerms.empty());

    page.Control(constructor_multi::kAddTermButton).Click();
    ClickBox(2);
    ClickBox(0);
    ClickBox(5);  // the term is complete: further clicks add nothing
    EXPECT_EQ(page.currentPolyTerms, (std::vector<unsigned>{2, 0}));
    EXPECT_EQ(page.ComposingText(), "v = ... + pow(p,2)*1");

    page.Control(constructor_multi::kAddTermButton).Click();
    ClickBox(1);
    ClickBox(13);
    EXPECT_EQ(Term(1, page.currentPolyTerms), "p*pow(q,(2/3))");
    // Entries that index nothing contribute nothing.
    EXPECT_EQ(Term(0, {99, 3}), "pow(q,3)");
    EXPECT_EQ(Term(5, {1, 1}), "1.0");
    std::string file;
    page.ComposeTermFormulaForFile(file, 0, 2, page.argumentParameters, Texts{"a", "b"}, std::vector<int>{4, 20});
    EXPECT_EQ(file, "pow(a,4)*pow(b,-0.5)");

    page.Control(constructor_multi::kDeleteLastButton).Click();
    EXPECT_EQ(page.currentPolyTerms, (std::vector<unsigned>{2, 0}));
}

TEST_F(MultiTest, DeleteLastOfAThreeArgumentTerm) {
    page.factorsPerTerm = 3;
    page.currentPolyTerms = {1, 2, 3};
    page.Control(constructor_multi::kOkButton).Click();
    page.Control(constructor_multi::kDeleteLastButton).Click();
    EXPECT_TRUE(page.currentPolyTerms.empty());
    EXPECT_FALSE(Enabled(constructor_multi::kDeleteLastButton));
}

TEST_F(MultiTest, SearchesPostJobsAndStopRestoresTheButtons) {
    platform::PumpWaitingMessages();
    page.Control(constructor_multi::kSearchOneNextButton).Click();
    EXPECT_EQ(std::tuple(page.polySearchStop, page.polySearchOneNext), std::tuple(0, 1));
    // No composing during a search: the button is closed and clicks on the library do nothing.
    EXPECT_FALSE(Enabled(constructor_multi::kAddTermButton));
    ClickBox(3);
    EXPECT_TRUE(page.pendingTerm.empty());
    platform::PumpWaitingMessages();
    EXPECT_EQ(main.jobs, 1);

    page.Control(constructor_multi::kStopButton).Click();
    EXPECT_EQ(std::tuple(page.polySearchStop, page.polySearchOneNext), std::tuple(1, 0));
    EXPECT_TRUE(Enabled(constructor_multi::kAddTermButton));
    EXPECT_FALSE(Enabled(constructor_multi::kParametersButton));  // its dialog is not there yet
}

TEST(MultiPage, NoArgumentsNoTerm) {
    platform::ScriptedDialogs dialogs;
    constructor_multi page;
    ASSERT_TRUE(page.Create(nullptr));
    page.Control(constructor_multi::kAddTermButton).Click();
    EXPECT_EQ(page.choosingArgument, -1);
}

}  // namespace
