// The minimum size of the window, and the Results page's toggle between the two arrangements.

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_support.h"

namespace {

using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;

TEST(Layout, SmallWindowIsHeldAtTheMinimumSize) {
    WithMainWindow([](CTabulonDlg& dlg) {
        dlg.ShowWindow(platform::kShowNormal);
        PumpWaitingMessages();
        dlg.Move(0, 0, 200, 150);
        for (int i = 0; i < 5; ++i) PumpWaitingMessages();
        EXPECT_GE(dlg.ClientRect().Width(), dlg.tabAreaWidth + 101);
        EXPECT_GE(dlg.ClientRect().Height(), dlg.tabAreaHeight + 351);
        // Laid out for no smaller a size.
        EXPECT_EQ(dlg.tabTop, dlg.ClientRect().Height() - dlg.tabAreaHeight - dlg.tabItemHeight - 20);
    });
}

TEST(Layout, ResultPageToggleSwapsTheAreas) {
    WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        PumpWaitingMessages();
        const platform::Rect chartBefore = dlg.chartRect;
        const platform::Rect resultBefore = dlg.resultRect;
        // The chart in the main area, the result pane beside the tab control.
        EXPECT_EQ(resultBefore.left, dlg.Control(kTabControl).Bounds().right + 2);
        theResult.Control(result::kLayoutButton).Click();
        EXPECT_EQ(theResult.chartInMainArea, 0);
        PumpWaitingMessages();
        EXPECT_EQ(dlg.chartRect.left, dlg.Control(kTabControl).Bounds().Width() + 7);
        EXPECT_EQ(dlg.resultRect.top, 1);
        // The chart is painted at the main area's size and shrunk into the strip.
        EXPECT_EQ(dlg.chartImageWidth, dlg.resultRect.Width());
        EXPECT_EQ(dlg.chartAreaWidth, dlg.chartRect.Width());
        theResult.Control(result::kLayoutButton).Click();
        PumpWaitingMessages();
        EXPECT_EQ(dlg.chartRect, chartBefore);
        EXPECT_EQ(dlg.resultRect, resultBefore);
    });
}

}  // namespace
