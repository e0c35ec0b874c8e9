// What the user sees of the main window: the progress bar leaves no trace once the work is
// over, and a new window size gives a chart painted at that size.
#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_support.h"

using namespace mainwin_test;

namespace {

// The bar's frame, pen and message with a margin, in client coordinates.
QRect BarArea(const CTabulonDlg& dlg) {
    return QRect(dlg.chartAreaWidth - 350, dlg.chartAreaHeight - 62, 310, 36);
}

QImage Under(CTabulonDlg& dlg) { return dlg.Surface().Image().copy(BarArea(dlg)); }

bool BarShown(CTabulonDlg& dlg) {
    const QImage& shown = dlg.Surface().Image();
    return platform::FromQRgb(shown.pixel(dlg.chartAreaWidth - 200, dlg.chartAreaHeight - 44)) ==
           dlg.progressBarColor;
}

// Pumps without asking for a paint until the end-of-work check (a timer) has taken the bar down.
void PumpUntilBarGone(CTabulonDlg& dlg) {
    EXPECT_TRUE(PumpUntil([&] { return !dlg.progressBarUp; }));
}

void SettleWithChart(CTabulonDlg& dlg) {
    ResetChoices();
    LoadShape(1, 1, 0, 50);
    for (int i = 0; i < 5; ++i) PumpWaitingMessages();
    dlg.OnPaint();
    PumpUntilBarGone(dlg);  // any bar of the paint above is gone
}

}  // namespace

TEST(MainWindowLook, ProgressBarGoesWhenTheWorkIsOverAndStaysWhileItGoesOn) {
    HooksGuard guard;
    WithMainWindow([](CTabulonDlg& dlg) {
        SettleWithChart(dlg);
        const QImage before = Under(dlg);
        ASSERT_FALSE(BarShown(dlg));

        const struct {
            const char* name;
            std::function<void()> draw;   // puts the bar up
            std::function<void()> after;  // what happens once the work is over
        } cases[] = {
            // Drawn by a painter, then the chart is shown again by the next paint.
            {"next paint", [] { DrawProgressBar(0, "Painting data to virtual screen", 0.6); }, [&] { dlg.OnPaint(); }},
            // Drawn by a job's loop; nothing repaints the window afterwards.
            {"no paint after", [] { DrawProgressStep(0, "Searching", 10, 10); }, [&] { PumpUntilBarGone(dlg); }},
            // The progress paint of an import comes after the import has ended.
            {"late progress paint",
             [] {
                 theData.progressState = progressReport{1, "Reading clipboard", 5, 10, 0};
                 platform::PostRepaintRequest();
                 PumpWaitingMessages();
             },
             [&] { PumpUntilBarGone(dlg); }},
            // Steps closer together than the end-of-work check: the bar is up after each one and
            // what lay under it is kept from the first.
            {"steps in a row",
             [&] {
                 for (int i = 1; i <= 5; ++i) {
                     DrawProgressStep(0, "Searching", 5, 5);
                     PumpWaitingMessages();
                     EXPECT_TRUE(BarShown(dlg)) << i;
                 }
             },
             [&] { PumpUntilBarGone(dlg); }},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            c.draw();
            EXPECT_TRUE(BarShown(dlg));
            c.after();
            EXPECT_FALSE(dlg.progressBarUp);
            EXPECT_TRUE(Under(dlg) == before);
        }
    });
}

TEST(MainWindowLook, NewSizeRepaintsTheChartAtThatSize) {
    HooksGuard guard;
    WithMainWindow([](CTabulonDlg& dlg) {
        SettleWithChart(dlg);
        dlg.ShowWindow(platform::kShowNormal);
        for (int i = 0; i < 5; ++i) PumpWaitingMessages();
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1000, 860}, {880, 800}}) {
            SCOPED_TRACE(w);
            dlg.Move(0, 0, w, h);
            for (int i = 0; i < 5; ++i) PumpWaitingMessages();
            EXPECT_EQ(dlg.chartImageWidth, dlg.chartRect.Width());
            EXPECT_EQ(dlg.chartImageHeight, dlg.chartAreaHeight);
            // Between the result pane and its scroll bar no old picture is left: the face colour.
            const QImage& shown = dlg.Surface().Image();
            const QRgb face = dlg.ClientWidget()->palette().color(QPalette::Window).rgb();
            const int x = dlg.resultRect.right + 3;
            for (int y = dlg.resultRect.top; y < dlg.resultRect.bottom; y += 7) {
                EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, face & 0xFFFFFF) << y;
            }
        }
    });
}
