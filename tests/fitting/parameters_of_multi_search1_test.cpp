// The search parameters dialog through its widgets: range refusals, the model-size
// rule on OK and after "Browse", and "accepted" only for fields that were taken.
#include <gtest/gtest.h>

#include "fitting/parameters_of_multi_search1.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using P = parametersOfMultiSearch1;

struct Typed {
    int maxTerms, randomTerms, arguments;
    bool accepted;
    const char* message;  // "" when none
};

class SearchParametersTest : public ::testing::Test {
protected:
    // Runs the dialog, types the two fields, presses OK (and ends it when still open).
    void RunWith(const Typed& t) {
        dialog.argumentCount = t.arguments;
        dialogs.modalSteps.push_back([&t](platform::Dialog& d) {
            d.Control(P::kMaxTermsEdit).SetText(std::to_string(t.maxTerms));
            d.Control(P::kRandomTermsEdit).SetText(std::to_string(t.randomTerms));
            d.Control(P::kOkButton).Click();
            d.EndDialog(platform::kCancel);
        });
        dialog.RunModal(nullptr);
    }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    P dialog;
};

TEST_F(SearchParametersTest, BrowseClampsMaxTerms) {
    // 40 and 20 with a log file chosen: maxTerms 29. A cancelled choice changes nothing.
    dialogs.fileAnswers = {std::nullopt, std::string("/tmp/search_log.csv")};
    dialogs.modalSteps.push_back([](platform::Dialog& d) {
        d.Control(P::kMaxTermsEdit).SetText("40");
        d.Control(P::kRandomTermsEdit).SetText("20");
        d.Control(P::kBrowseButton).Click();
        EXPECT_EQ(d.Control(P::kLogFileText).Text(), "default.csv");
        d.Control(P::kBrowseButton).Click();
        EXPECT_EQ(d.Control(P::kMaxTermsEdit).Text(), "29");
        d.EndDialog(platform::kCancel);
    });
    dialog.RunModal(nullptr);
    EXPECT_EQ(dialog.maxTerms, 29);
    EXPECT_EQ(dialog.logFile, "/tmp/search_log.csv");
    EXPECT_EQ(dialog.accepted, 0);
}

TEST_F(SearchParametersTest, OkTakesOnlyFieldsAModelCanHold) {
    const Typed cases[] = {
        {45, 8, 2, false, "Please enter an integer between 2 and 40."},
        {40, 20, 2, false, "Maximum terms plus randomly added terms can not exceed 49"},
        {30, 19, 250, false, "Too many terms for 250 arguments: terms times arguments can not exceed 10000"},
        {30, 19, 200, true, ""},
    };
    for (const Typed& t : cases) {
        SCOPED_TRACE(t.maxTerms);
        dialog.accepted = 0;
        dialogs.shown.clear();
        RunWith(t);
        EXPECT_EQ(dialog.accepted, t.accepted ? 1 : 0);
        const auto messages = dialogs.Messages();
        if (*t.message) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], t.message);
        } else {
            EXPECT_TRUE(messages.empty());
        }
    }
}

}  // namespace
