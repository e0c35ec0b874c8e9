// Where the chart, the result pane, the tab control, the pages and the scroll bars go in both
// arrangements, the minimum size of the window, and the Results page's layout toggle.
#include <gtest/gtest.h>

#include "app/main_pages.h"
#include "app/resource_ids.h"
#include "main_window_support.h"

namespace {

using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;

struct Measures {
    int W, H, T, TW, V, S;
};

Measures Measure(CTabulonDlg& dlg) {
    const platform::Rect tab = dlg.Control(kTabControl).Bounds();
    return {dlg.ClientRect().Width(),
            dlg.ClientRect().Height(),
            tab.Height(),
            tab.Width(),
            dlg.Control(kResultVScroll).Bounds().Width(),
            dlg.Control(kResultHScroll).Bounds().Height()};
}

TEST(Layout, BothArrangementsOfChartAndResultPane) {
    WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        const Measures m = Measure(dlg);
        ASSERT_GT(m.T, 0);
        ASSERT_GT(m.TW, 0);

        theResult.chartInMainArea = 1;
        dlg.ComputeLayoutRects();
        EXPECT_EQ(dlg.chartRect, (platform::Rect{7, 1, m.W, m.H - m.T - 20}));
        EXPECT_EQ(dlg.resultRect, (platform::Rect{m.TW + 7, m.H - 20 - m.T, m.W - 10 - m.V, m.H - 20 - m.S}));

        theResult.chartInMainArea = 0;
        dlg.ComputeLayoutRects();
        EXPECT_EQ(dlg.chartRect, (platform::Rect{m.TW + 7, m.H - 20 - m.T + 5, m.W - 10, m.H - 20}));
        EXPECT_EQ(dlg.resultRect, (platform::Rect{7, 1, m.W - 10 - m.V, m.H - m.S - m.T - 20}));
        EXPECT_EQ(dlg.sideWidth, 0);
        theResult.chartInMainArea = 1;
    });
}

TEST(Layout, ControlsFollowTheClientSize) {
    WithMainWindow([](CTabulonDlg& dlg) {
        ResetChoices();
        const int cx = dlg.ClientRect().Width();
        const int cy = dlg.ClientRect().Height();
        for (int toggle : {1, 0}) {
            SCOPED_TRACE(toggle);
            theResult.chartInMainArea = toggle;
            dlg.LayoutControls(cx, cy);
            const int a = dlg.tabAreaWidth, b = dlg.tabAreaHeight, h = dlg.tabItemHeight;
            EXPECT_EQ(dlg.tabTop, cy - b - h - 20);
            EXPECT_EQ(dlg.Control(kTabControl).Bounds(), (platform::Rect{5, dlg.tabTop, 5 + a, dlg.tabTop + b + h}));
            for (const pageRecord& record : dlg.pages) {
                const platform::Point at = dlg.ScreenToClient(
                    platform::Point{record.page->WindowRect().left, record.page->WindowRect().top});
                EXPECT_EQ(at, (platform::Point{10, dlg.tabTop + h + 10}));
            }
            const platform::Rect v = dlg.Control(kResultVScroll).Bounds();
            const platform::Rect s = dlg.Control(kResultHScroll).Bounds();
            if (toggle) {
                EXPECT_EQ(v, (platform::Rect{cx - 25, cy - b - 5, cx - 5, cy - 15}));
                EXPECT_EQ(s, (platform::Rect{a + 5, cy - 33, cx - 28, cy - 17}));
            } else {
                EXPECT_EQ(v, (platform::Rect{cx - 25, 1, cx - 5, cy - b - 9}));
                EXPECT_EQ(s, (platform::Rect{2, cy - b - 30, cx - 33, cy - b - 10}));
            }
        }
        theResult.chartInMainArea = 1;
    });
}

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
        theResult.Control(result::kLayoutButton).Click();
        EXPECT_EQ(theResult.chartInMainArea, 0);
        EXPECT_EQ(theResult.relayoutRequest, 1);
        PumpWaitingMessages();
        EXPECT_EQ(theResult.relayoutRequest, 0);
        EXPECT_EQ(theResult.changed, 0);  // consumed by the recomputation
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
