// The "Results" page through its widgets: digits by the spin within 1 to 20, the size edits
// open only without "actual size of screen", the font dialog, the layout toggle, the export
// buttons reaching the owner, and the formula lines through the real clipboard.
#include <vector>

#include <gtest/gtest.h>

#include "charts/legend_page.h"
#include "documents/result_page.h"
#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

const int kExportCommands[] = {result::kCopyScreenCommand,       result::kSaveScreenCommand,
                               result::kCopyContentCommand,      result::kCopyCoefficientsCommand,
                               result::kWordReportCommand,       result::kHtmlReportCommand};

// The owner of the page: records the commands that its buttons hand up.
class Owner : public pagetest::MainStub {
public:
    Owner() {
        for (int id : kExportCommands) RouteRange(id, id, platform::Notification::Clicked, &Owner::Command);
    }
    void Command(int id) { commands.push_back(id); }
    std::vector<int> commands;
};

class ResultPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(&owner)); }
    void TearDown() override { theLegend.showFormulas = savedShow; }
    void Spin(int delta) {
        platform::Notify n;
        n.id = result::kDigitsSpin;
        n.code = platform::Notification::SpinDelta;
        n.delta = delta;
        page.DispatchNotify(n);
    }
    Owner owner;
    platform::ScriptedDialogs dialogs;
    result page;
    int savedShow = theLegend.showFormulas;
};

TEST_F(ResultPageTest, DigitsStepWithinOneToTwenty) {
    EXPECT_FALSE(page.Control(result::kDigitsEdit).IsEnabled());
    page.Control(result::kAutoDigitsCheck).Click();
    EXPECT_TRUE(page.Control(result::kDigitsEdit).IsEnabled());
    page.digits = 19;
    for (int i = 0; i < 3; ++i) Spin(-1);
    EXPECT_EQ(page.digits, 20);
    page.digits = 2;
    for (int i = 0; i < 3; ++i) Spin(+1);
    EXPECT_EQ(page.digits, 1);
    EXPECT_EQ(page.Control(result::kDigitsEdit).Text(), "1");
    EXPECT_EQ(page.changed, 1);
}

// The sizes' limits are checked by the app's screen export tests.
TEST_F(ResultPageTest, SizeEditsOpenOnlyWithoutActualScreenSize) {
    EXPECT_FALSE(page.Control(result::kImageWidthEdit).IsEnabled());
    page.Control(result::kActualSizeCheck).Click();
    EXPECT_TRUE(page.Control(result::kImageHeightEdit).IsEnabled());
}

TEST_F(ResultPageTest, FontDialogCancelledStillRepaintsAndLayoutToggles) {
    const platform::Font before = page.font;
    page.Control(result::kFontButton).Click();
    EXPECT_EQ(dialogs.fontRequests.back().minPointSize, 6);
    EXPECT_EQ(dialogs.fontRequests.back().maxPointSize, 18);
    EXPECT_EQ(page.font, before);
    platform::PumpWaitingMessages();
    EXPECT_GE(owner.paints, 1);

    page.Control(result::kLayoutButton).Click();
    EXPECT_EQ(page.relayoutRequest, 1);
}

TEST_F(ResultPageTest, ExportButtonsReachTheOwner) {
    for (int id : kExportCommands) page.Control(id).Click();
    EXPECT_EQ(owner.commands, (std::vector<int>{32779, 32785, 32781, 32803, 32787, 32793}));
}

TEST_F(ResultPageTest, FormulasAreCopiedOnlyWhenShownOnTheChart) {
    platform::SetClipboardText("before");
    page.fittedFormulasText = "v = 1*t+2\nw = 3*t\n\n";
    theLegend.showFormulas = 0;
    page.Control(result::kFormulasButton).Click();
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"You need to display formula on screen to be able copy "
                                                           "it.\nGo to 'Legend' tab and check on 'Result formulas'"});
    EXPECT_EQ(platform::ClipboardText(), "before");

    theLegend.showFormulas = 1;
    page.Control(result::kFormulasButton).Click();
    EXPECT_EQ(platform::ClipboardText(), "v = 1*t+2\nw = 3*t");
}

TEST_F(ResultPageTest, VisibleDataOptionHidesWithoutLosingItsValue) {
    page.ShowVisibleDataOption(false);
    EXPECT_FALSE(page.Control(result::kVisibleDataCheck).IsVisible());
    EXPECT_EQ(page.visibleDataOnly, 1);
    page.ShowVisibleDataOption(true);
    EXPECT_EQ(page.Control(result::kVisibleDataCheck).Check(), 1);
}

}  // namespace
