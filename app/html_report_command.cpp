// Results > "Report as HTML file": the chart as a JPEG figure in a folder beside the report,
// then the paragraphs and tables of the last analysis; the full analysis reuses the figure block.
#include <fstream>
#include <optional>
#include <string>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/legend_page.h"
#include "charts/result_tables.h"
#include "documents/html_report.h"
#include "documents/result_page.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/image.h"
#include "platform/requests.h"
#include "platform/system.h"

namespace {

constexpr int kFigureWidth = 1000;
constexpr int kFigureHeight = 800;

// The folder of the newest recent document, else the current one.
std::string ReportStartFolder(const std::string& newestDocument) {
    const std::size_t slash = newestDocument.find_last_of('/');
    return slash == std::string::npos ? platform::CurrentDirectory() : newestDocument.substr(0, slash);
}

}  // namespace

void CTabulonDlg::RouteHtmlReportCommands() { RouteCommand(kCommandReportAsHtml, &CTabulonDlg::OnReportAsHtmlFile); }

bool CTabulonDlg::AppendHtmlFigure(std::ostream& report, int figureNumber, const std::string& folder) {
    theResult.imageWidth = kFigureWidth;
    theResult.imageHeight = kFigureHeight;
    if (theResult.HasWindow()) theResult.UpdateData(false);
    // The window shows the chart of these settings already (the caller repainted it or let the
    // paint handler run): the paint handlers below would only paint it once more at its own size.
    recomputeNeeded = 0;
    platform::Bitmap picture;
    bool saved = false;
    // Copy screen without its own paint handler run: the one after the pause below shows the
    // same picture.
    if (PaintChartAtImageSize(picture)) {
        platform::SetClipboardImage(picture.Image());
        // Saved from the painted picture itself: the clipboard copy is only a convenience.
        platform::Image figure;
        saved = figure.Assign(picture.Image()) && figure.SaveJpeg(HtmlFigurePath(folder, figureNumber), 75);
    }
    platform::SleepMs(100);
    OnPaint();
    WriteHtmlFigureLink(report, HtmlLinkName(folder), figureNumber);
    std::size_t tableCounter = 0;
    for (std::size_t i = 0, paragraph = 0; i < theResultTables.itemKinds.size(); ++i) {
        if (theResultTables.itemKinds[i] == 0) {
            theResultTables.WriteHtmlParagraph(report, static_cast<int>(theResultTables.paragraphIndex[paragraph++]));
        } else if (theResultTables.itemKinds[i] == 1) {
            theResultTables.WriteHtmlTable(report, static_cast<int>(tableCounter++));
        }
    }
    return saved;
}

void CTabulonDlg::OnReportAsHtmlFile() {
    platform::FileDialogRequest request;
    request.title = "Select html file to save report";
    request.filter = "*.html|*.html||";
    request.initialPath = ReportStartFolder(recentFiles[0]);
    request.defaultExtension = "html";
    request.confirmReplace = false;  // asked below, the same way for every chosen name
    const std::optional<std::string> chosen = platform::TheDialogs().SaveFile(request);
    if (!chosen || chosen->empty()) return;
    const std::string path = HtmlReportPathWithExtension(*chosen);
    if (!MayReplaceFile(path)) return;
    const std::string folder = HtmlFigureFolder(path);
    platform::CreateDirectory(folder);  // an existing folder is fine
    std::ofstream report(path, std::ios::binary | std::ios::trunc);
    if (!report) {
        platform::MessageBox("Problems to open file");
        return;
    }
    WriteHtmlHead(report, theLegend.title, "<p><h3>%s</h3>\n");
    OnPaint();  // a repaint still pending is made before the figure
    const bool saved = AppendHtmlFigure(report, 1, folder);
    report << "</body></html>\n";
    report.close();
    if (!saved || !report) {
        platform::MessageBox(!report ? platform::Format("Can not write the report %s", path.c_str())
                                     : platform::Format("The figure could not be saved in %s", folder.c_str()));
    }
    platform::OpenWithShell(path);
}
