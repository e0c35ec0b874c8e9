// Bad text files brought in as the user does, through Data > "Import from text file": a header
// name of 100 MB reaches the Data page's series table cut to the name limit (it crashed the
// table's drawing), and a FIFO is refused with a message (it froze the program for good).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include <QPixmap>
#include <QWidget>

#include "data/import_routines.h"
#include "data/name_limit.h"
#include "main_window_steps.h"
#include "main_window_support.h"
#include "user_path.h"

namespace {

using mainwin_test::ScratchFolder;

TEST(ImportBadInput, AHugeHeaderNameIsCutAndAFifoRefused) {
    const ScratchFolder folder("import_bad_input");
    const std::string huge = folder / "huge.txt";
    {
        std::FILE* f = std::fopen(huge.c_str(), "wb");
        const std::string block(1 << 20, 'x');
        std::fputs("a ", f);
        for (int i = 0; i < 100; ++i) std::fwrite(block.data(), 1, block.size(), f);
        std::fputs("\n1 2\n3 4\n", f);
        std::fclose(f);
    }
    const std::string fifo = folder / "pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, huge));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            platform::PumpWaitingMessages();
            // The table lists the series and its parameters; the long name is drawn cut.
            const platform::Control table = theData.Control(data::kSeriesList);
            std::size_t longest = 0;
            for (int row = 0; row < table.Count(); ++row)
                for (int c = 0; c < 3; ++c) longest = std::max(longest, table.ItemText(row, c).size());
            EXPECT_EQ(longest, kMaxNameBytes);
            ASSERT_NE(table.Widget(), nullptr);
            EXPECT_FALSE(table.Widget()->grab().isNull());  // drawn as the screen would draw it
            EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{NamesCutText()});

            dialogs.fileAnswers.push_back(fifo);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Data", "Import from text file"}));
            platform::PumpWaitingMessages();
            EXPECT_EQ(mainwin_steps::LastShown(dialogs),
                      "Cannot open the file \"" + fifo + "\": it is not a regular file.");
            EXPECT_EQ(theData.series.size(), 1u);
        },
        &dialogs);
}

}  // namespace
