// The user-formula page through its widgets: the coefficient table edited row by row, default
// steps by the fetch setting, and the stored text read back exactly, with bad items left out
// and bad names or formulas refused. Running and stopping: tests/app/user_formula_fitting_test.cpp.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documents/document_model.h"
#include "fitting/useruf_page.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using Texts = std::vector<std::string>;

class UserufPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    Texts Lines() {
        Texts lines;
        platform::Control list = page.Control(useruf::kCoefficientList);
        for (int i = 0; i < list.Count(); ++i) lines.push_back(list.ItemText(i));
        return lines;
    }
    void Select(int row) {
        page.Control(useruf::kCoefficientList).SetCurSel(row);
        pagetest::Notify(page, useruf::kCoefficientList, platform::Notification::SelChange);
    }
    std::string Edit(int id) { return page.Control(id).Text(); }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    useruf page;
};

TEST_F(UserufPageTest, AddCopiesTheLastRowUnderANewName) {
    for (int i = 0; i < 3; ++i) page.Control(useruf::kAddButton).Click();
    EXPECT_EQ(Lines(), (Texts{"a", "b", "b1", "b11", "b111"}));
    EXPECT_EQ(std::tuple(page.values.back(), page.steps.back(), page.selectedRow), std::tuple(2.0, 0.2, 4));
    EXPECT_EQ(Edit(useruf::kNameEdit), "b111");
}

// Mend: while a fitting runs, the formula and the coefficient table cannot change under it.
TEST_F(UserufPageTest, RunningFittingLocksTheFormulaAndTheTable) {
    const int locked[] = {useruf::kFormulaEdit, useruf::kAddButton, useruf::kDeleteButton, useruf::kPlusConstCheck};
    page.Control(useruf::kRunFittingButton).Click();
    ASSERT_EQ(page.running, 1);
    for (int id : locked) EXPECT_FALSE(page.Control(id).IsEnabled()) << id;
    page.Control(useruf::kStopButton).Click();
    ASSERT_EQ(page.running, 0);
    for (int id : locked) EXPECT_TRUE(page.Control(id).IsEnabled()) << id;
}

TEST_F(UserufPageTest, OkTakesTheEditsIntoTheSelectedRowAndTheFormulaWithoutBlanks) {
    Select(1);
    page.Control(useruf::kNameEdit).SetText(" slope ");
    page.Control(useruf::kValueEdit).SetText("3.5");
    page.Control(useruf::kFormulaEdit).SetText("a * x + slope");
    page.Control(useruf::kOkButton).Click();
    EXPECT_EQ(page.formula, "a*x+slope");
    EXPECT_EQ(Lines(), (Texts{"a", "slope"}));
    EXPECT_EQ(page.values[1], 3.5);
    platform::PumpWaitingMessages();
    EXPECT_GE(main.paints, 1);

    // A name that is no identifier and a formula holding "$" are refused with a message.
    page.Control(useruf::kNameEdit).SetText("2b");
    page.Control(useruf::kFormulaEdit).SetText("a*x$b");
    page.Control(useruf::kOkButton).Click();
    EXPECT_EQ(page.formula, "a*x+slope");
    EXPECT_EQ(Lines(), (Texts{"a", "slope"}));
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}

TEST_F(UserufPageTest, DeleteMovesTheSelectionUpAndStopsAtAnEmptyTable) {
    Select(1);
    page.Control(useruf::kDeleteButton).Click();
    EXPECT_EQ(page.selectedRow, 0);
    page.Control(useruf::kDeleteButton).Click();
    page.Control(useruf::kDeleteButton).Click();
    EXPECT_TRUE(page.values.empty());
    page.Control(useruf::kAddButton).Click();
    EXPECT_EQ(Lines(), (Texts{"a"}));
    EXPECT_EQ(page.values, (std::vector<double>{1.0}));
}

TEST_F(UserufPageTest, DefaultStepsFollowTheFetchSetting) {
    page.values = {0.0, 10.0};
    page.Control(useruf::kStopConditionEdit).SetText("1e-6");
    page.Control(useruf::kFetchCombo).SetCurSel(2);  // "Try (fast)"
    page.Control(useruf::kDefaultStepsButton).Click();
    EXPECT_DOUBLE_EQ(page.steps[0], 1e-4);
    EXPECT_DOUBLE_EQ(page.steps[1], 5.1);
}

// The document's text of the page read back into the page as the reader does.
void ReadBack(useruf& page, const std::string& text, Texts& messages) {
    if (ApplyUserDefinedText(text, page.settings, messages) || !text.empty()) page.ShowSettings();
}

TEST_F(UserufPageTest, StoredTextRoundTripsEveryDigitThroughThePage) {
    page.values = {1.0 / 3.0, -2.5e-300};
    page.steps = {0.1, 1e300};
    page.minima = {-1e40, -7.0};
    page.selectedRow = 0;
    const std::string text = UserDefinedText(page.settings);
    page.values = {0, 0};
    page.steps = {0, 0};
    Texts messages;
    ReadBack(page, text, messages);
    // "Ok" after the read keeps every digit of the row shown in the edits.
    EXPECT_EQ(page.values, (std::vector<double>{1.0 / 3.0, -2.5e-300}));
    EXPECT_EQ(page.steps, (std::vector<double>{0.1, 1e300}));
    EXPECT_EQ(page.minima, (std::vector<double>{-1e40, -7.0}));
    EXPECT_EQ(Edit(useruf::kFormulaEdit), "a*x+b");
    EXPECT_TRUE(messages.empty());
}

// The items' syntax and its messages are checked in tests/documents/document_model_test.cpp; here the
// page shows what was read, a bad name left out with its message.
TEST_F(UserufPageTest, AttributeItemsParseOrAreLeftOut) {
    Texts messages;
    ReadBack(page, "c*x+d$c=3$9z=1$g=-1e2(2)[-5,x]", messages);
    EXPECT_EQ(Lines(), (Texts{"c", "g"}));
    EXPECT_EQ(page.formula, "c*x+d");
    EXPECT_EQ(page.values, (std::vector<double>{3, -100}));
    EXPECT_EQ(std::pair(page.minima.back(), page.maxima.back()), std::pair(-5.0, 0.0));
    EXPECT_EQ(messages, (Texts{"\"9z\" can not be a coefficient name: it must start with a letter and hold "
                               "only letters, digits and _."}));
}

}  // namespace
