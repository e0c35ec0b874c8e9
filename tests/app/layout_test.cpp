// The minimum size of the window, and the Results page's toggle between the two arrangements.

#include <QPalette>
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_steps.h"
#include "main_window_support.h"
#include "user_path.h"

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

// Pixels of the window's own drawing that lie outside the chart, the result pane with its
// frame, the border strips and every shown control, and differ from the window's background:
// what an earlier layout left behind.
int StalePixels(CTabulonDlg& dlg) {
    const QImage image = dlg.Surface().Image();
    const QRgb background = dlg.ClientWidget()->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    const platform::Rect c = dlg.chartRect, r = dlg.resultRect;
    std::vector<QRect> drawn = {QRect(QPoint(c.left, c.top), QPoint(c.right - 1, c.bottom - 1)),
                                QRect(QPoint(r.left - 2, r.top - 2), QPoint(r.right + 2, r.bottom + 2))};
    const int w = dlg.ClientRect().Width(), h = dlg.ClientRect().Height();
    drawn.push_back(QRect(QPoint(0, h - 18), QPoint(w, h)));    // the border strips
    drawn.push_back(QRect(QPoint(0, 0), QPoint(5, h)));
    drawn.push_back(QRect(QPoint(w - 6, 0), QPoint(w, h)));
    for (QWidget* child : dlg.ClientWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible()) drawn.push_back(child->geometry());
    }
    int stale = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == background) continue;
            const QPoint p(x, y);
            if (std::any_of(drawn.begin(), drawn.end(), [&](const QRect& d) { return d.contains(p); })) continue;
            ++stale;
        }
    }
    return stale;
}

// The result page's picture button swaps the areas and back: the scroll bars of the pane stay
// beside the pane, off the chart strip and the tabs, and nothing of the former layout stays on
// the window.
TEST(Layout, SwappedLayoutKeepsItsScrollBarsByThePaneAndRepaintsWhatItMoves) {
    mainwin_test::ScratchFolder folder("swapped_layout");
    const std::string file = folder / "xy.txt";
    user_path::WriteRecords(file, "x y", 30, [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r % 11); });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Results"));
            EXPECT_EQ(StalePixels(dlg), 0);
            for (int swapped : {0, 1, 0}) {
                SCOPED_TRACE(swapped ? "back" : "swapped");
                ASSERT_TRUE(user_path::PressPicture(theResult.TopWidget(), result::kLayoutButton));
                ASSERT_EQ(theResult.chartInMainArea, swapped);
                const platform::Rect c = dlg.chartRect, r = dlg.resultRect, t = dlg.Control(kTabControl).Bounds();
                const QRect chart(QPoint(c.left, c.top), QPoint(c.right - 1, c.bottom - 1));
                const QRect pane(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
                const QRect tabs(QPoint(t.left, t.top), QPoint(t.right - 1, t.bottom - 1));
                for (int bar : {kResultHScroll, kResultVScroll}) {
                    const platform::Rect b = dlg.Control(bar).Bounds();
                    const QRect barRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
                    EXPECT_FALSE(barRect.intersects(chart)) << bar;
                    EXPECT_FALSE(barRect.intersects(tabs)) << bar;
                    EXPECT_FALSE(barRect.intersects(pane)) << bar;
                }
                EXPECT_EQ(StalePixels(dlg), 0);
                // "Ok" repaints the same picture.
                ASSERT_TRUE(user_path::Press(theResult, "Ok"));
                EXPECT_EQ(StalePixels(dlg), 0);
            }
        },
        &dialogs);
}

}  // namespace
