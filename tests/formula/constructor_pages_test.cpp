// The transform constructor and the multi-term constructor, clicked through their windows.
#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "page_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using Codes = std::vector<int>;
using Texts = std::vector<std::string>;
using platform::Rgb;

Codes SelectedCodes(const constructor& page) {
    return Codes(page.selectedCodes.begin(), page.selectedCodes.begin() + page.selectedCodeCount);
}

class ConstructorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    void ClickTerm(int cell) { pagetest::MouseDown(page, pagetest::Centre(page.termCellRects[cell])); }
    void ClickY(int code) { pagetest::MouseDown(page, pagetest::Centre(page.yCellRects[code])); }
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
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 1}));
    ClickTerm(23);
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 1, 23, 24}));
    EXPECT_EQ(page.changed, 1);
    EXPECT_TRUE(page.Control(constructor::kFirstPeriodEdit).IsEnabled());
    EXPECT_FALSE(page.Control(constructor::kFirstPeriodEdit + 2).IsEnabled());
    ClickTerm(23);
    ClickTerm(25);
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 1, 27, 28}));
    ClickTerm(1);
    ClickTerm(19);
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 19, 27, 28}));

    // A click on the selected transform falls back to y.
    for (const auto& [code, selected] : {std::pair{5, 5}, std::pair{3, 3}, std::pair{3, 0}}) {
        ClickY(code);
        EXPECT_EQ(page.yTransform, selected) << code;
    }
    EXPECT_EQ(page.yCellStates, (std::vector<unsigned>{1, 0, 0, 0, 0, 0}));

    // A click between the cells changes nothing.
    page.changed = 0;
    pagetest::MouseDown(page, {page.termCellRects[0].right + 2, page.termCellRects[0].top + 3});
    EXPECT_EQ(page.changed, 0);

    // The painted grid shows the selection: a selected cell inside its edge, a plain one.
    platform::PumpWaitingMessages();
    const platform::Rect sel = page.termCellRects[19], plain = page.termCellRects[20];
    const auto at = [this](int x, int y) { return pagetest::SurfacePixel(page, x, y); };
    EXPECT_EQ((std::vector<platform::ColorRef>{at(sel.left + 4, sel.top + 4), at(plain.left + 4, plain.top + 4),
                                               at(sel.left, sel.top + 4), at(page.gridRight - 2, page.gridBottom - 2)}),
              (std::vector<platform::ColorRef>{Rgb(255, 255, 100), Rgb(197, 205, 224), Rgb(200, 200, 41),
                                               Rgb(158, 0, 221)}));
}

TEST_F(ConstructorTest, PeriodsRelabelTheirCell) {
    EXPECT_EQ(page.termCellLabels[25], "Cos(x/3)");
    ClickTerm(25);
    page.Control(constructor::kFirstPeriodEdit + 2).SetText("12");
    page.Control(constructor::kOkButton).Click();
    EXPECT_EQ(page.termCellLabels[25], "Cos(x/12)");
    EXPECT_EQ(std::tuple(page.periodValues[2], page.periodEdited[2]), std::tuple(12.0, 0));
    EXPECT_TRUE(page.Control(constructor::kFirstPeriodEdit + 2).IsEnabled());
    ClickTerm(25);
    EXPECT_FALSE(page.Control(constructor::kFirstPeriodEdit + 2).IsEnabled());
    page.Control(constructor::kFirstPeriodEdit + 4).SetText("abc");
    page.Control(constructor::kOkButton).Click();
    EXPECT_DOUBLE_EQ(page.periodValues[4], 0.0);

    std::string label = "unchanged";
    page.TransformLabel(label, 1, 25, "t");
    EXPECT_EQ(label, "Cos(t/12)");
    page.Control(constructor::kDeviationLinesCheck).Click();
    EXPECT_EQ(page.showDeviationLines, 1);
    page.Control(constructor::kApplyButton).Click();
    EXPECT_EQ(page.applyRequested, 1);
}

TEST_F(ConstructorTest, RestoredCodesSelectTheirCells) {
    Restore(5, 4, {0, 1, 27, 28});
    for (int cell = 0; cell < constructor::kTermCells; ++cell) {
        EXPECT_EQ(page.termCellStates[cell], (cell == 0 || cell == 1 || cell == 25) ? 1u : 0u) << cell;
    }
    EXPECT_EQ(SelectedCodes(page), (Codes{0, 1, 27, 28}));
    EXPECT_EQ(page.yTransform, 5);

    // Values from a damaged document index nothing.
    Restore(17, 1000, {99, 22});
    EXPECT_EQ(page.yTransform, 0);
    EXPECT_EQ(SelectedCodes(page), (Codes{22}));
    Restore(2, 0, {});
    EXPECT_EQ(page.yTransform, 2);
    EXPECT_TRUE(SelectedCodes(page).empty());
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

TEST_F(MultiTest, LibraryAndBoxes) {
    ASSERT_EQ(page.boxCount, 25);
    EXPECT_EQ(page.HitTestTermBox({94, 69}), 0);  // box 0 ends at (94, 69): borders included
    EXPECT_EQ(page.HitTestTermBox({95, 60}), -1);
    EXPECT_EQ(page.choosingArgument, -1);
    for (int id : {constructor_multi::kDeleteLastButton, constructor_multi::kStopButton,
                   constructor_multi::kParametersButton}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
}

TEST_F(MultiTest, ComposingATermByClicks) {
    ClickBox(2);  // not composing: nothing happens
    EXPECT_TRUE(page.currentPolyTerms.empty());

    page.Control(constructor_multi::kAddTermButton).Click();
    EXPECT_FALSE(Enabled(constructor_multi::kAddTermButton));
    EXPECT_EQ(page.ComposingText(), "v = ... + F0(p)*F1(q)");
    pagetest::MouseDown(page, {5, 200});  // outside every box
    EXPECT_TRUE(page.pendingTerm.empty());
    ClickBox(2);
    EXPECT_EQ(page.choosingArgument, 1);
    EXPECT_EQ(page.ComposingText(), "v = ... + pow(p,2)*F1(q)");
    ClickBox(0);
    EXPECT_EQ(page.currentPolyTerms, (std::vector<unsigned>{2, 0}));
    EXPECT_EQ(page.choosingArgument, 2);
    EXPECT_EQ(page.ComposingText(), "v = ... + pow(p,2)*1");
    EXPECT_TRUE(Enabled(constructor_multi::kAddTermButton));
    EXPECT_TRUE(Enabled(constructor_multi::kDeleteLastButton));
    EXPECT_EQ(page.changed, 1);
    ClickBox(5);  // the term is complete: further clicks add nothing
    EXPECT_EQ(page.currentPolyTerms.size(), 2u);

    page.Control(constructor_multi::kAddTermButton).Click();
    ClickBox(1);
    ClickBox(13);
    EXPECT_EQ(page.currentPolyTerms, (std::vector<unsigned>{2, 0, 1, 13}));
    EXPECT_EQ(Term(0, page.currentPolyTerms), "pow(p,2)");
    EXPECT_EQ(Term(1, page.currentPolyTerms), "p*pow(q,(2/3))");
    EXPECT_EQ(Term(0, {0, 0}), "1.0");
    // Entries that index nothing contribute nothing.
    EXPECT_EQ(Term(0, {99, 3}), "pow(q,3)");
    EXPECT_EQ(Term(5, {1, 1}), "1.0");
    std::string file;
    const std::vector<int> plain{4, 20};
    page.ComposeTermFormulaForFile(file, 0, 2, page.argumentParameters, Texts{"a", "b"}, plain);
    EXPECT_EQ(file, "pow(a,4)*pow(b,-0.5)");

    page.Control(constructor_multi::kDeleteLastButton).Click();
    EXPECT_EQ(page.currentPolyTerms, (std::vector<unsigned>{2, 0}));
    page.Control(constructor_multi::kApplyButton).Click();
    EXPECT_EQ(page.applyRequested, 1);
}

TEST_F(MultiTest, DeleteLastOfAThreeArgumentTerm) {
    page.factorsPerTerm = 3;
    page.currentPolyTerms = {1, 2, 3};
    page.Control(constructor_multi::kOkButton).Click();
    EXPECT_TRUE(Enabled(constructor_multi::kDeleteLastButton));
    page.Control(constructor_multi::kDeleteLastButton).Click();
    EXPECT_TRUE(page.currentPolyTerms.empty());
    EXPECT_FALSE(Enabled(constructor_multi::kDeleteLastButton));
}

TEST_F(MultiTest, SearchesPostJobsAndStopRestoresTheButtons) {
    platform::PumpWaitingMessages();
    page.OnStop();  // no search runs: only the buttons change
    EXPECT_EQ(page.polySearchStop, 1);
    EXPECT_TRUE(Enabled(constructor_multi::kSearchOneNextButton));
    EXPECT_FALSE(Enabled(constructor_multi::kStopButton));

    page.Control(constructor_multi::kSearchOneNextButton).Click();
    EXPECT_EQ(std::tuple(page.polySearchStop, page.polySearchOneNext, page.polySearchFull), std::tuple(0, 1, 0));
    for (int id : {constructor_multi::kAddTermButton, constructor_multi::kDeleteLastButton,
                   constructor_multi::kSearchOneNextButton, constructor_multi::kStartFullSearchButton,
                   constructor_multi::kParametersButton}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(constructor_multi::kStopButton));
    platform::PumpWaitingMessages();
    EXPECT_EQ(main.jobs, 1);

    // Clicks on the library during a search compose nothing.
    ClickBox(3);
    EXPECT_TRUE(page.pendingTerm.empty());

    page.Control(constructor_multi::kStopButton).Click();
    page.Control(constructor_multi::kStartFullSearchButton).Click();
    EXPECT_EQ(std::tuple(page.polySearchFull, page.polySearchOneNext), std::tuple(1, 0));
    page.Control(constructor_multi::kStopButton).Click();
    EXPECT_EQ(std::tuple(page.polySearchStop, page.polySearchFull), std::tuple(1, 0));
    EXPECT_TRUE(Enabled(constructor_multi::kAddTermButton));
    EXPECT_FALSE(Enabled(constructor_multi::kParametersButton));  // its dialog is not there yet

    int runs = 0;
    page.runSearchParameters = [&runs] { return ++runs, 0; };
    page.OnStop();
    ASSERT_TRUE(Enabled(constructor_multi::kParametersButton));
    page.polySearchStop = 0;
    page.Control(constructor_multi::kParametersButton).Click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(page.polySearchStop, 1);  // cancelled: as "Stop"
}

TEST_F(MultiTest, HoverHighlightsTheBoxUnderTheMouse) {
    pagetest::MouseMove(page, pagetest::Centre(page.boxRects[3]));
    EXPECT_EQ(page.hoverBox, 3);
    EXPECT_EQ(page.lastHoverBox, 3);
    const platform::Rect r = page.boxRects[3];
    EXPECT_EQ(pagetest::SurfacePixel(page, r.left + 3, r.top + 3), Rgb(150, 185, 195));
    pagetest::MouseMove(page, {2, 2});
    EXPECT_EQ(page.hoverBox, -1);
    EXPECT_EQ(pagetest::SurfacePixel(page, r.left + 3, r.top + 3), Rgb(197, 205, 224));
}

TEST(MultiPage, NoArgumentsNoTerm) {
    platform::ScriptedDialogs dialogs;
    constructor_multi page;
    ASSERT_TRUE(page.Create(nullptr));
    page.Control(constructor_multi::kAddTermButton).Click();
    EXPECT_TRUE(page.Control(constructor_multi::kAddTermButton).IsEnabled());
    EXPECT_EQ(page.choosingArgument, -1);
}

}  // namespace
