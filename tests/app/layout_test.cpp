// Where the chart, the result pane, the tab control, the pages and the scroll bars go in both
// arrangements, the minimum size of the window, and the Results page's layout toggle.

#include <QWidget>
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_support.h"

namespace {

using mainwin_test::ResetChoices;
using mainwin_test::WithMainWindow;

// Gives the window's client area the size and lets the window lay itself out.
void ResizeClient(CTabulonDlg& dlg, int cx, int cy) {
    QWidget* top = dlg.TopWidget();
    for (int i = 0; i < 20 && (dlg.ClientRect().Width() != cx || dlg.ClientRect().Height() != cy); ++i) {
        // The window system may answer a first request with the size it had.
        top->resize(cx + top->width() - dlg.ClientRect().Width(), cy + top->height() - dlg.ClientRect().Height());
        PumpWaitingMessages();
    }
}

// Where everything goes for two window sizes in both arrangements, with a tab area of
// 420 x 260 pixels under a 22-pixel tab row (numbers worked out by hand from the layout rules).
TEST(Layout, BothArrangementsAtTwoWindowSizes) {
    struct Expected {
        int cx, cy, toggle;
        platform::Rect tab, vscroll, hscroll, result, chart;
        platform::Point page;
    };
    const Expected cases[] = {
        {1000, 700, 1, {5, 398, 425, 680}, {975, 435, 995, 685}, {425, 667, 972, 683}, {427, 398, 970, 664},
         {7, 1, 1000, 398}, {10, 430}},
        {1000, 700, 0, {5, 398, 425, 680}, {975, 1, 995, 431}, {2, 410, 967, 430}, {7, 1, 970, 378},
         {427, 403, 990, 680}, {10, 430}},
        {1400, 950, 0, {5, 648, 425, 930}, {1375, 1, 1395, 681}, {2, 660, 1367, 680}, {7, 1, 1370, 628},
         {427, 653, 1390, 930}, {10, 680}},
    };
    WithMainWindow([&](CTabulonDlg& dlg) {
        dlg.ShowWindow(platform::kShowNormal);
        PumpWaitingMessages();
        dlg.tabAreaWidth = 420;
        dlg.tabAreaHeight = 260;
        dlg.tabItemHeight = 22;
        dlg.LayoutControls(dlg.ClientRect().Width(), dlg.ClientRect().Height());  // the minimum size follows
        for (const Expected& e : cases) {
            SCOPED_TRACE(std::to_string(e.cx) + " x " + std::to_string(e.cy) + ", chart in main area " +
                         std::to_string(e.toggle));
            theResult.chartInMainArea = e.toggle;
            ResizeClient(dlg, e.cx, e.cy);
            ASSERT_EQ(dlg.ClientRect(), (platform::Rect{0, 0, e.cx, e.cy}));
            dlg.LayoutControls(e.cx, e.cy);
            dlg.ComputeLayoutRects();
            EXPECT_EQ(dlg.Control(kTabControl).Bounds(), e.tab);
            EXPECT_EQ(dlg.Control(kResultVScroll).Bounds(), e.vscroll);
            EXPECT_EQ(dlg.Control(kResultHScroll).Bounds(), e.hscroll);
            EXPECT_EQ(dlg.resultRect, e.result);
            EXPECT_EQ(dlg.chartRect, e.chart);
            EXPECT_EQ(dlg.sideWidth, 0);
            for (const pageRecord& record : dlg.pages) {
                const platform::Rect w = record.page->WindowRect();
                EXPECT_EQ(dlg.ScreenToClient(platform::Point{w.left, w.top}), e.page);
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
