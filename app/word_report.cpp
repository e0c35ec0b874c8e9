// Results > "Report as MS Word file" and File > "Print": the chart at 700 x 500, the chart
// title in bold 16 point and every paragraph and table of the report copy of the results.
#include <cmath>
#include <exception>
#include <string>

#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/legend_page.h"
#include "charts/result_tables.h"
#include "charts/result_tables_word.h"
#include "documents/result_page.h"
#include "platform/dialogs.h"
#include "platform/word_document.h"

namespace {

constexpr const char* kNoWordProcessor = "The mistake at start of MS Word?!";

// The result page's image size, set for the report and put back after it.
class ReportImageSize {
public:
    ReportImageSize() : width_(theResult.imageWidth), height_(theResult.imageHeight) { Show(700, 500); }
    ~ReportImageSize() { Show(width_, height_); }
    ReportImageSize(const ReportImageSize&) = delete;
    ReportImageSize& operator=(const ReportImageSize&) = delete;

private:
    static void Show(int width, int height) {
        theResult.imageWidth = width;
        theResult.imageHeight = height;
        if (theResult.HasWindow()) theResult.UpdateData(false);
    }
    int width_, height_;
};

}  // namespace

void CTabulonDlg::RouteWordReportCommands() {
    RouteCommand(kCommandReportAsWord, &CTabulonDlg::OnReportAsMsWordFile);
    RouteCommand(kCommandFilePrint, &CTabulonDlg::OnFilePrint);
}

void CTabulonDlg::OnReportAsMsWordFile() {
    // Any failure of the document writer ends here as a message, never in the event loop.
    std::string error;
    try {
        platform::WordDocument document;
        document.AddParagraph();
        {
            const ReportImageSize reportSize;
            OnCopyScreen();
        }
        document.Paste();
        document.TypeText("\n");

        document.SetBold(true);
        const double size = std::trunc(document.FontSize());
        document.SetFontSize(16);
        document.TypeText(theLegend.title);
        document.TypeText("\n");
        document.SetFontSize(size);

        OnPaint();
        WordResultItems(theResultTables, document);
        ShowWindow(platform::kShowMinimized);
        if (reportPrintRequest) {
            reportPrintRequest = 0;
            platform::ShowPrintPreview(document);
            return;
        }
        if (!platform::OpenWordDocument(document, error).empty()) return;
    } catch (const std::exception& e) {
        error = e.what();
    }
    reportPrintRequest = 0;
    platform::MessageBox(std::string(kNoWordProcessor) + (error.empty() ? std::string() : "\n" + error));
}

void CTabulonDlg::OnFilePrint() {
    reportPrintRequest = 1;
    OnReportAsMsWordFile();
    reportPrintRequest = 0;
}
