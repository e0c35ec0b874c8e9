// The word-processor report of the main window: the .docx opened with the desktop holds the
// 700 x 500 chart, the bold title and the report copy of the results; File > Print shows the
// same content in the print preview; the result page keeps its image size.

#include <QTextDocument>
#include <gtest/gtest.h>

#include "charts/legend_page.h"
#include "charts/result_tables.h"
#include "charts/result_tables_word.h"
#include "main_window_steps.h"
#include "main_window_support.h"
#include "platform/system.h"
#include "user_path.h"
#include "platform/word_document.h"

namespace {

class WordReportTest : public ::testing::Test {
protected:
    void TearDown() override {
        platform::SetPrintPreviewRunner(nullptr);
        theResult.actualScreenSize = 1;
        theLegend.title = title_;
    }
    platform::ScriptedDialogs dialogs;
    mainwin_test::ScratchFolder folder_{"word_report"};
    const user_path::DataFolderAt reports_{folder_.path.string()};  // the report is kept there
    const std::string title_ = theLegend.title;
};

TEST_F(WordReportTest, ReportOpensTheDocumentAndPrintEndsInThePreview) {
    const std::string text = folder_ / "xy.txt";
    user_path::WriteRecords(text, "x y", 12, [](int i) { return std::to_string(i) + ' ' + std::to_string(i * i % 7); });
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
        ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
        const std::string heading = user_path::ResultHeading(dlg);
        ASSERT_EQ(heading, "Function of one argument.");
        theResult.actualScreenSize = 0;
        theLegend.title = "Report <title>";
        theResult.imageWidth = 320;
        theResult.imageHeight = -240;
        theResult.UpdateData(false);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as MS Word file"}));
        ASSERT_EQ(dialogs.CountOf("shell"), 1) << (dialogs.Messages().empty() ? "" : dialogs.Messages().front());
        const std::string path = dialogs.shown.back().text;
        EXPECT_EQ(path.rfind(platform::UserDataFolder() + "/", 0), 0u) << path;
        EXPECT_TRUE(dlg.IsMinimized());
        EXPECT_EQ(theResult.imageHeight, -240);  // the page keeps its own image size

        const std::string unzip = "/usr/bin/unzip -p '" + path + "' ";
        const std::string png = mainwin_test::CommandOutput(unzip + "word/media/image1.png 2>/dev/null");
        QImage chart;
        ASSERT_TRUE(chart.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size())));
        EXPECT_EQ(chart.size(), QSize(700, 500));
        EXPECT_GT(mainwin_test::CountPixels(chart, [](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; }), 500);
        const std::string xml = mainwin_test::CommandOutput(unzip + "word/document.xml 2>/dev/null");
        const std::string title = "<w:b/><w:color w:val=\"000000\"/><w:sz w:val=\"32\"/></w:rPr><w:t xml:space=\"preserve\">" +
                                  platform::XmlText(theLegend.title) + "</w:t>";
        EXPECT_NE(xml.find(title), std::string::npos);
        EXPECT_NE(xml.find(platform::XmlText(heading)), std::string::npos) << heading;
        EXPECT_EQ(std::system((unzip + "word/document.xml | /usr/bin/xmllint --noout - 2>/dev/null").c_str()), 0);

        dlg.ShowWindow(platform::kShowNormal);
        std::string previewed;
        platform::SetPrintPreviewRunner([&](QTextDocument& d) { previewed = d.toPlainText().toStdString(); });
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"File", "Print"}));
        EXPECT_EQ(dialogs.CountOf("shell"), 1);  // the preview, not another document
        EXPECT_NE(previewed.find(theLegend.title), std::string::npos);
        dlg.ShowWindow(platform::kShowNormal);

        // No application takes the document: the message names the report, which stays.
        dialogs.shellAnswers.push_back(false);
        ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as MS Word file"}));
        ASSERT_EQ(dialogs.Messages().size(), 1u);
        const std::string message = dialogs.Messages()[0];
        EXPECT_EQ(message.rfind("The mistake at start of MS Word?!\n", 0), 0u);
        const std::string kept = mainwin_steps::LastShown(dialogs, "shell");
        ASSERT_NE(kept, path);
        EXPECT_NE(message.find(kept), std::string::npos) << message;
        EXPECT_EQ(kept.rfind(platform::UserDataFolder() + "/", 0), 0u) << kept;
        EXPECT_TRUE(std::filesystem::exists(kept));
        dlg.ShowWindow(platform::kShowNormal);
        },
        &dialogs);
}

TEST(WordResultItems, ParagraphsAndTablesInOrderWithTheirStyles) {
    resultTables t;
    t.AddParagraphStyled("head\n", 1, platform::Rgb(255, 0, 0));
    t.AddTable(2, 2);
    t.AddCellStyled("a", 1, platform::Rgb(0, 0, 255));
    t.AddCell("b");
    t.AddCell("c");  // the writer left the table one cell short
    t.AddParagraph("tail");
    platform::WordDocument d;
    WordResultItems(t, d);
    WordResultParagraph(t, 7, d);  // outside: nothing
    WordResultTable(t, 3, d);
    const auto& blocks = d.Blocks();
    ASSERT_EQ(blocks.size(), 4u);  // head, table, the line below it, tail
    EXPECT_TRUE(blocks[0].runs[0].bold);
    EXPECT_EQ(blocks[0].runs[0].color, platform::Rgb(255, 0, 0));
    ASSERT_TRUE(blocks[1].isTable);
    EXPECT_TRUE(blocks[1].cells[0].bold);
    EXPECT_EQ(blocks[1].cells[0].color, platform::Rgb(0, 0, 255));
    EXPECT_EQ(blocks[1].cells[3].text, "");
    EXPECT_EQ(blocks[3].runs[0].text, "tail");
    EXPECT_FALSE(blocks[3].runs[0].bold);
}

}  // namespace
