// The user's path itself: a file brought in through the import dialog reaches the chart and
// the result text, found only through captions.
#include <fstream>

#include <gtest/gtest.h>

#include "main_window_steps.h"
#include "user_path.h"

namespace {

TEST(UserPath, ImportedSeriesIsPaintedAndReported) {
    mainwin_test::ScratchFolder folder("user_path");
    const std::string file = folder / "xy.txt";
    {
        std::ofstream out(file);
        out << "x y\n";
        for (int i = 0; i < 20; ++i) out << i << ' ' << 2.0 * i + 1 << '\n';
    }
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_EQ(theData.series.size(), 1u);
            EXPECT_EQ(theData.series[0].nRecords, 20);
            EXPECT_NE(user_path::ResultText(dlg), "");
            EXPECT_TRUE(user_path::ChooseTab(dlg, "View"));
        },
        &dialogs);
}

}  // namespace
