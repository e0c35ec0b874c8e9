// The quick ways out of the program: the chart as a picture on the clipboard or in a ".bmp"
// file with a time record beside it, and the result text and the fitted coefficients as
// clipboard text. The `result` page's buttons carry the same commands.
#include <cstdlib>
#include <string>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "charts/two_argument_views.h"
#include "widgets/progress_bar.h"
#include "charts/result_document.h"
#include "data/bmp_file.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "documents/screen_record.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "statistics/stretch_and_browse.h"

namespace {

// Puts the text on the clipboard without its trailing line feeds; an empty text leaves the
// clipboard as it was.
void CopyTextWithoutTrailingLineFeeds(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (!text.empty()) platform::SetClipboardText(text);
}

// While a picture of its own size is painted, the three-dimensional views fit their camera to
// that picture, the scene keeping the share of the smaller half size it has in the window (the
// window's own following of its panel would shrink it in a picture shaped unlike the chart);
// afterwards the window's camera (and what the View page shows of it) is back, so an export
// never moves or rescales the scene on the screen.
class ExportCamera {
public:
    ExportCamera()
        : scene_(theD3view.theScene3d), fields_(theD3view.settings), rebuild_(theD3view.sceneRebuildRequest),
          viewportChanged_(theD3view.viewportChanged), resized_(chartFrameResized) {
        chartFrameResized = 1;
        paintingOwnPicture = 1;
    }
    ~ExportCamera() {
        paintingOwnPicture = 0;
        theD3view.theScene3d = scene_;
        theD3view.settings = fields_;
        theD3view.sceneRebuildRequest = rebuild_;
        theD3view.viewportChanged = viewportChanged_;
        chartFrameResized = resized_;
        if (theD3view.HasWindow()) theD3view.UpdateData(false);
    }
    ExportCamera(const ExportCamera&) = delete;
    ExportCamera& operator=(const ExportCamera&) = delete;

private:
    scene3d scene_;
    d3view_settings fields_;
    int rebuild_, viewportChanged_, resized_;
};

}  // namespace

void CTabulonDlg::RouteExportCommands() {
    RouteCommand(kCommandCopyScreen, &CTabulonDlg::OnCopyScreen);
    RouteCommand(kCommandSaveScreenInFile, &CTabulonDlg::OnSaveScreenInFile);
    RouteCommand(kCommandCopyContentOfResultControl, &CTabulonDlg::OnCopyContentOfResultControl);
    RouteCommand(kCommandCopyCoefficients, &CTabulonDlg::OnCopyCoefficients);
}

bool CTabulonDlg::PaintChartAtImageSize(platform::Bitmap& picture) {
    result& page = theResult;
    page.ClampImageSize();
    const int width = page.imageWidth;
    const int height = std::abs(page.imageHeight);
    if (!picture.Resize(width, height, platform::Rgb(255, 255, 255))) return false;
    plotXMin = plotYMin = 0;
    plotXMax = plotYMax = 1;
    ComputePlotScales();
    DrawProgressBar(0, "Painting data to virtual screen", 0.6);
    platform::Canvas dc(picture);
    dc.FillRect({0, 0, width, height}, whiteBrush);
    dc.SetBkMode(platform::BkMode::Transparent);
    dc.SetTextColor(blackColor);
    // The chart frame takes the View page's ranges, or with Autozoom finds its own.
    const ExportCamera camera;
    PaintChart(dc, width, height);
    return true;
}

bool CTabulonDlg::CopyScreenInto(platform::Bitmap& picture) {
    if (!PaintChartAtImageSize(picture)) return false;
    platform::SetClipboardImage(picture.Image());
    OnPaint();
    return true;
}

void CTabulonDlg::OnCopyScreen() {
    platform::Bitmap picture;
    CopyScreenInto(picture);
}

bool MayReplaceFile(const std::string& path) {
    return !platform::FileExists(path) ||
           platform::MessageBox(platform::Format("The file %s already exists.\nDo you want to replace it?", path.c_str()),
                                platform::kButtonsYesNo | platform::kIconQuestion) == platform::kYes;
}

void CTabulonDlg::OnSaveScreenInFile() {
    // A save dialog: a new name is welcome, and it asks before an existing file is replaced.
    std::string folder, title, path;
    if (!BrowseForFile(folder, "bmp", title, path, "Open file to save picture", "Tabulon")) return;
    const std::size_t slash = documentPath.find_last_of('/');
    theData.documentFolder = slash == std::string::npos ? std::string() : documentPath.substr(0, slash);
    platform::Bitmap picture;
    if (!PaintChartAtImageSize(picture)) {
        platform::MessageBox("The picture is too large to be painted.");
        return;
    }
    if (!WriteBmpFile(path, MakeBitmapInfoHeader(picture), picture)) {
        platform::MessageBox(platform::Format("Can not write the picture file %s", path.c_str()));
        return;
    }
    if (!AppendPictureRecord(PictureRecordPath(path), platform::Now())) {
        platform::MessageBox("There is problems to open file to write");
    }
}

void CTabulonDlg::OnCopyContentOfResultControl() {
    std::string text;
    theResultDocument.ToText(text);
    CopyTextWithoutTrailingLineFeeds(text);
}

void CTabulonDlg::OnCopyCoefficients() {
    if (IsMinimized()) {
        // The coefficients come from a painting: a minimised window has none of its own.
        ShowWindow(platform::kShowMaximized);
        platform::SleepMs(200);
        recomputeNeeded = 1;
        OnPaint();
    }
    CopyTextWithoutTrailingLineFeeds(coefficientsText);
}
