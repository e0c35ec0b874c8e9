// The HTML report: the texts as markup (table-driven), the figure folder and link names, and the
// whole command on the running main window with the report read back by Debian's html5lib.
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "charts/html_text.h"
#include "charts/legend_page.h"
#include "charts/result_tables.h"
#include "documents/html_report.h"
#include "main_window_support.h"
#include "user_path.h"

namespace fs = std::filesystem;

namespace {

using mainwin_test::WithMainWindow;

const std::string kX = "<span style='text-decoration: overline; font-weight:700'>X</span>";
const std::string kS = "<font face='Symbol' size='5'>s</font>";

std::string Html(std::string text) {
    ResultTextToHtml(text);
    return text;
}

TEST(HtmlText, ResultTextBecomesMarkupAndNamesComeFromTheFileName) {
    const std::pair<std::string, std::string> cases[] = {
        // Mend: symbols replace whole words only; the user's names keep their letters.
        {Html("Values spinach Value_pi Sigma2"), "Values spinach Value_pi Sigma2"},
        {Html("Value: pi*x (Average)"), kX + ": <font face='Symbol' size='5'>p</font>*x (" + kX + ")"},
        {Html("St. Dev. Sigma"), kS + " " + kS},
        {Html("Corl. Coef.(%)"), kS + "/" + kX + " (%)"},
        {Html("x^2"), "x<sup><small>2</small></sup>"},
        {Html("x^2+3 y"), "x<sup><small>2+3</small></sup> y"},
        {Html("a^b"), "a<sup><small></small></sup>b"},
        {Html("1e^-5^"), "1e<sup><small>-5</small></sup><sup><small></small></sup>"},
        {EscapeHtml("<b a='1'>&\""), "&lt;b a=&#39;1&#39;&gt;&amp;&quot;"},
        {ColorToHtml(platform::Rgb(0, 0, 255)), "0000ff"},
        {ColorToHtml(platform::Rgb(8, 8, 8)), "080808"},
        // The report's own name for a document: the full page's tests.
        {HtmlFigureFolder("/r/rep.html"), "/r/rep"},
        {HtmlLinkName("/r/rep"), "rep"},
        {HtmlFigurePath("/r/rep", 1), "/r/rep/fig1.jpg"},
        {HtmlFigureFolder("/my.data/rep"), "/my.data/rep"},
        {HtmlReportPathWithExtension("/my.data/rep"), "/my.data/rep.html"},
        {HtmlReportPathWithExtension("/d/rep.htm"), "/d/rep.htm"},
        {HtmlReportPathFor("/d.x/run"), "/d.x/run.html"},
        {HtmlReportPathFor("/d.x/untitled.cdf"), "/d.x/untitled.html"},  // the full analysis' proposed report
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(HtmlText, ParagraphsAndTablesAreEscapedBeforeTheMarkup) {
    resultTables store;
    store.AddParagraphStyled("two\nlines <i>", 1, platform::Rgb(255, 0, 0));
    store.AddTable(1, 2);
    store.AddCell("a\nb");
    store.AddCellStyled("x^2", 1, platform::Rgb(0, 0, 255));
    std::ostringstream out;
    store.WriteHtmlParagraph(out, 0);
    store.WriteHtmlParagraph(out, 1);  // outside: nothing
    store.WriteHtmlTable(out, 0);
    store.WriteHtmlTable(out, 3);
    EXPECT_EQ(out.str(),
              "<font color=ff0000><b>two<br>\nlines &lt;i&gt;</b></font>"
              "<table border=1 CELLPADDING=5 CELLSPACING=0>\n<tr>\n"
              "<td>\n<font color=000000>a\nb</font>\n</td>\n"
              "<td>\n<font color=0000ff><b>x<sup><small>2</small></sup></b></font>\n</td>\n"
              "</tr>\n</table>\n");
}

}  // namespace

// The report as html5lib reads it (the full analysis' tests read theirs with it too).
QJsonObject ParseReport(const fs::path& report) {
    const std::string json = mainwin_test::CommandOutput(
        "/usr/bin/python3 '" TABULON_SOURCE_DIR "/tests/app/html_report_parse.py' '" + report.string() + "'");
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

namespace {

class HtmlReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        mainwin_test::ResetChoices();
        mainwin_test::LoadShape(1, 1, 0, 12);
        theData.parameterNames[1] = "<script>";
        theResult.actualScreenSize = 0;
    }
    void TearDown() override {
        theResult.actualScreenSize = 1;
        theLegend.title = "New chart";
        theXystatistic.correlationCoefficient = 0;
        theData.OnDeleteAll();
    }
    platform::ScriptedDialogs dialogs;
    mainwin_test::ScratchFolder scratch{"html_report"};
    const fs::path folder = scratch.path, report = folder / "rep.html";
};

TEST_F(HtmlReportTest, ReportHoldsTitleFigureAndTheResultTablesAsText) {
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            // Two parameters brought in as the user does; the first an argument, the name of the
            // second a cell of the report's tables.
            const std::string text = (folder / "data.txt").string();
            user_path::WriteRecords(text, "x <script>", 12, [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r % 5); });
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, text));
            theLegend.title = "<script>alert(1)</script> Ünïcode";
            theXystatistic.correlationCoefficient = 1;
            dialogs.fileAnswers.push_back(report.string());
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as HTML file"}));
            ASSERT_TRUE(fs::exists(report));
            EXPECT_EQ(dialogs.Messages().size(), 0u);
            EXPECT_NE(mainwin_test::FileText(report).find("<b>Correlation of parameters:<br>"), std::string::npos);
            EXPECT_EQ(dialogs.shown.back().kind, "shell");
            EXPECT_EQ(dialogs.shown.back().text, report.string());
            const QImage figure1(QString::fromStdString((folder / "rep" / "fig1.jpg").string()), "JPEG");
            EXPECT_EQ(figure1.size(), QSize(1000, 800));
            // JPEG blurs the white: painted pixels are the clearly dark ones.
            EXPECT_GT(mainwin_test::CountPixels(figure1, [](QRgb p) { return qGray(p) < 160; }), 500);

            const QJsonObject parsed = ParseReport(report);
            EXPECT_EQ(parsed["title"].toString().toStdString(), "<script>alert(1)</script> Ünïcode");
            EXPECT_EQ(parsed["scripts"].toInt(), 0);
            EXPECT_NE(parsed["charset"].toString().toStdString().find("charset=utf-8"), std::string::npos);
            ASSERT_EQ(parsed["figures"].toArray().size(), 1);
            const QJsonObject figure = parsed["figures"].toArray()[0].toObject();
            EXPECT_EQ(figure["src"].toString() + " " + figure["href"].toString() + " " + figure["width"].toString(),
                      "rep/fig1.jpg rep/fig1.jpg 800");

            // Every table of the store comes back; the parameter name is a cell of the correlation table.
            const QJsonArray tables = parsed["tables"].toArray();
            ASSERT_EQ(static_cast<std::size_t>(tables.size()), theResultTables.tables.size());
            const std::string cells = QJsonDocument(tables).toJson(QJsonDocument::Compact).toStdString();
            EXPECT_NE(cells.find("\"text\":\"<script>\""), std::string::npos) << cells;
        },
        &dialogs);
}

TEST_F(HtmlReportTest, FigureThatCannotBeSavedStillLeavesAReportAndTellsTheUser) {
    std::ofstream(folder / "rep") << "a file where the figure folder would go";
    WithMainWindow(
        [&](CTabulonDlg& dlg) {
            dialogs.fileAnswers.push_back(report.string());
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as HTML file"}));
            ASSERT_TRUE(fs::exists(report));
            ASSERT_EQ(dialogs.Messages().size(), 1u);
            EXPECT_NE(dialogs.Messages()[0].find("figure could not be saved"), std::string::npos);
            EXPECT_EQ(ParseReport(report)["figures"].toArray().size(), 1);
            EXPECT_EQ(dialogs.shown.back().kind, "shell");

            // An existing report is replaced only when the user agrees.
            const auto before = fs::last_write_time(report);
            dialogs.fileAnswers.push_back(report.string());
            dialogs.messageAnswers.push_back(platform::kNo);
            ASSERT_TRUE(user_path::ChooseMenu(dlg, {"Results", "Report as HTML file"}));
            EXPECT_EQ(fs::last_write_time(report), before);
            EXPECT_EQ(dialogs.Messages().size(), 2u);
        },
        &dialogs);
}

}  // namespace
