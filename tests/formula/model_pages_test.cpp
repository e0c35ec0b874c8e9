// The custom approximation page and the preset models page, driven through their widgets.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "formula/approxcustom.h"
#include "formula/collection.h"
#include "page_test_support.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::Notification;
using Texts = std::vector<std::string>;

struct Model {
    std::string transform;
    Texts basis;
    int count = -1;
};

Model FormulasOf(approxcustom& page, const std::string& previousTransform = "keep") {
    Model m;
    m.transform = previousTransform;
    page.GetModelFormulas(m.transform, m.basis, m.count);
    return m;
}

void SelectLine(approxcustom& page, int line) { page.Control(approxcustom::kFormulaList).SetCurSel(line); }

class ApproxcustomTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    approxcustom page;
};

TEST_F(ApproxcustomTest, AddCommitsTheNextPowerAndCutRenumbers) {
    const Model start = FormulasOf(page);
    EXPECT_EQ(std::tie(start.transform, start.basis, start.count), std::tuple("y", Texts{"1.0", "x"}, 2));
    page.Control(approxcustom::kAddButton).Click();
    EXPECT_EQ(page.Lines().back(), "f2(x)=x^2");

    SelectLine(page, 2);
    page.Control(approxcustom::kCutButton).Click();
    EXPECT_EQ(page.Lines(), (Texts{"F(y,x) = y ", "f0(x)= 1.0", "f1(x)=x^2"}));

    // Line 0 stays; no selection is refused with its own message.
    SelectLine(page, 0);
    page.Control(approxcustom::kCutButton).Click();
    SelectLine(page, -1);
    page.Control(approxcustom::kCutButton).Click();
    page.Control(approxcustom::kEditButton).Click();
    EXPECT_EQ(dialogs.Messages(), (Texts{"F(y,x) formula has to be present and can be edited only.",
                                         "Please select the formula to delete and try again",
                                         "Please select the formula to edit and try again"}));
    EXPECT_EQ(page.Lines().size(), 3u);
}

TEST_F(ApproxcustomTest, EditedTextsLoseTheirBlanks) {
    SelectLine(page, 2);
    pagetest::Notify(page, approxcustom::kFormulaList, Notification::DoubleClicked);
    EXPECT_EQ(page.Control(approxcustom::kEditBox).Text(), " x");
    page.Control(approxcustom::kEditBox).SetText(" x ^ 2 ");
    page.Control(approxcustom::kOkButton).Click();
    EXPECT_EQ(page.Lines()[2], "f1(x)= x ^ 2 ");

    SelectLine(page, 0);
    page.Control(approxcustom::kEditButton).Click();
    page.Control(approxcustom::kEditBox).SetText(" ln( y ) ");
    page.Control(approxcustom::kOkButton).Click();
    const Model m = FormulasOf(page);
    EXPECT_EQ(std::tie(m.transform, m.basis), std::tuple("ln(y)", Texts{"1.0", "x^2"}));

    // "Ok" with an empty edit box leaves the line.
    SelectLine(page, 1);
    page.Control(approxcustom::kEditButton).Click();
    page.Control(approxcustom::kEditBox).SetText("");
    page.Control(approxcustom::kOkButton).Click();
    EXPECT_EQ(page.Lines()[1], "f0(x)= 1.0");
}

TEST_F(ApproxcustomTest, TransformLineAloneGivesNoBasis) {
    for (int i = 0; i < 2; ++i) {
        SelectLine(page, 1);
        page.Control(approxcustom::kCutButton).Click();
    }
    const Model m = FormulasOf(page, "1/y");  // the transform is left as it was
    EXPECT_EQ(std::tie(m.transform, m.basis, m.count), std::tuple("1/y", Texts{}, 0));

    // "Add" on the transform line alone starts the basis with f0.
    page.Control(approxcustom::kAddButton).Click();
    EXPECT_EQ(page.Lines().back(), "f0(x)=x^0");
}

TEST_F(ApproxcustomTest, RestoreRebuildsTheList) {
    page.transformText = "sqrt(y)";
    page.basisTexts = {"1.0", "ln(x)", "exp(-x)"};
    page.RestoreFormulaList();
    EXPECT_EQ(page.Lines(), (Texts{"F(y,x) = sqrt(y)", "f0(x)=1.0", "f1(x)=ln(x)", "f2(x)=exp(-x)"}));
}

// ---------------------------------------------------------------------------------------------

struct Preset {
    std::string display, transform;
    Texts basis;
};

// The 18 polynomial presets (y to degree 8, ln(y) and 1/y to degree 5), then the others.
std::vector<Preset> Presets() {
    std::vector<Preset> presets;
    for (auto [transform, degrees] : {std::pair{"y", 8}, std::pair{"ln(y)", 5}, std::pair{"1/y", 5}}) {
        for (int d = 1; d <= degrees; ++d) {
            Preset p{std::string(transform) + "=a0+a1*x", transform, {"1.0", "x"}};
            for (int k = 2; k <= d; ++k) {
                p.display += "+a" + std::to_string(k) + "*x^" + std::to_string(k);
                p.basis.push_back("x^" + std::to_string(k));
            }
            presets.push_back(p);
        }
    }
    const Preset others[] = {
        {"ln(y)=a0*ln(x)", "ln(y)", {"ln(x)"}},
        {"ln(y)=a0+a1*ln(x)", "ln(y)", {"1.0", "ln(x)"}},
        {"y=a0+a1*x+a2/x", "y", {"1.0", "x", "1/x"}},
        {"y=a0+a1*x+a2/x+a3/x^2", "y", {"1.0", "x", "1/x", "1/x^2"}},
        {"y=a0+a1*x+a2*ln(x)", "y", {"1.0", "x", "ln(x)"}},
        {"y=a0+a1/x+a2*ln(x)", "y", {"1.0", "1/x", "ln(x)"}},
        {"y=a0+a1*x+a2/x+a3*ln(x)", "y", {"1.0", "x", "1/x", "ln(x)"}},
    };
    presets.insert(presets.end(), std::begin(others), std::end(others));
    return presets;
}

TEST(CollectionPage, EveryPresetGivesItsModel) {
    collection page;
    const std::vector<Preset> presets = Presets();
    ASSERT_EQ(presets.size(), static_cast<size_t>(collection::kModelCount));
    for (int i = 0; i < collection::kModelCount; ++i) {
        SCOPED_TRACE(i);
        const Preset& p = presets[static_cast<size_t>(i)];
        page.selectedModel = i;
        std::string transform = "stale";
        Texts basis{"stale"};
        page.GetPresetModelFormulas(transform, basis, "x", "y");
        EXPECT_EQ(collection::DisplayText(i), p.display);
        EXPECT_EQ(transform, p.transform);
        EXPECT_EQ(basis, p.basis);
    }
    std::string transform;
    Texts basis;
    // Other names, and indexes outside the list giving nothing.
    const std::tuple<int, const char*, Texts> named[] = {
        {21, "v", {"1.0", "t", "1/t", "1/t^2"}}, {9, "ln(v)", {"1.0", "t", "t^2"}},
        {25, "", {}}, {1000, "", {}}, {-1, "", {}}};
    for (const auto& [model, expectedTransform, expectedBasis] : named) {
        page.selectedModel = model;
        page.GetPresetModelFormulas(transform, basis, "t", "v");
        EXPECT_EQ(std::tie(transform, basis), std::tie(expectedTransform, expectedBasis)) << model;
    }
}

TEST(CollectionPage, ListSearchButtonsAndApply) {
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    collection page;
    page.selectedModel = 19;  // as a document left it
    ASSERT_TRUE(page.Create(nullptr));
    const platform::Control list = page.Control(collection::kModelList);
    EXPECT_EQ(list.CurSel(), 19);

    page.Control(collection::kOverallFitButton).Click();
    page.Control(collection::kStabilityButton).Click();
    EXPECT_EQ(std::tuple(page.searchRequested, page.overallFit, page.stabilitySearch, page.minOfMaxOutSearch),
              std::tuple(1, 0, 1, 0));

    page.Control(collection::kModelList).SetCurSel(4);
    pagetest::Notify(page, collection::kModelList, Notification::SelChange);
    EXPECT_EQ(page.selectedModel, 4);
    page.Control(collection::kApplyButton).Click();
    platform::PumpWaitingMessages();
    EXPECT_EQ(main.paints, 1);  // a burst of apply steps costs one repaint

    page.selectedModel = 40;  // a stored index out of range selects nothing
    page.SelectModelInList();
    EXPECT_EQ(list.CurSel(), -1);
}

}  // namespace
