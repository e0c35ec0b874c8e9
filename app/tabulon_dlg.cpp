#include "app/tabulon_dlg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/about_dlg.h"
#include "app/analysis_hooks.h"
#include "app/main_resources.h"
#include "app/program_icon.h"
#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tab_icons.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_symbols.h"
#include "data/data_edit.h"
#include "data/data_page.h"
#include "data/insert_dialog.h"
#include "data/modify_dialog.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/useruf_page.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "statistics/distrimution_page.h"
#include "statistics/random.h"

namespace {

platform::Font FontOf(const char* face, int height, int weight) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.faceName = face;
    return f;
}

// Creates every missing folder of an absolute path, one level at a time.
void MakeFolders(const std::string& path) {
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (!platform::IsDirectory(part)) platform::CreateDirectory(part);
    }
    if (!platform::IsDirectory(path)) platform::CreateDirectory(path);
}

}  // namespace

CTabulonDlg::CTabulonDlg() : Dialog(kTemplateMain), icon_(ProgramIcon()) {
    SetMenu(MainMenu());
    SetIcon(icon_);
    // Only File > Exit and closing the window end the program, never a stray Return or Escape.
    SetKeysEndDialog(false);
    RouteCommand(kCommandAbout, &CTabulonDlg::OnAbout);
    RouteCommand(kCommandOnlineHelp, &CTabulonDlg::OnOnlineHelp);
    RouteSeriesCommands();
    RouteDocumentCommands();
    RouteExportCommands();
    RouteMacroCommands();
    RouteHtmlReportCommands();
    RouteCommand(kCommandFullAnalysis, &CTabulonDlg::OnFullAnalysis);
    RouteWordReportCommands();
    correlationTableReport = [this](platform::Canvas& dc) { return CorrelationTableReport(*this, dc); };
    Route(kTabControl, platform::Notification::SelChanging, &CTabulonDlg::OnTabSelChanging);
    Route(kTabControl, platform::Notification::SelChange, &CTabulonDlg::OnTabSelChange);
    initialised = 0;
    minimumSizeGuard = 0;
    setUpDone = 0;
    RandomSeedFromClock();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    SetProgressBarWindow(this);
    SetSeriesPaintingDialog(this);
    SetFittedFormulaLists(&legendTexts, &legendMarks);
}

CTabulonDlg::~CTabulonDlg() {
    SetProgressBarWindow(nullptr);
    ForgetSeriesPaintingDialog(this);
    SetFittedFormulaLists(nullptr, nullptr);
}

void CTabulonDlg::CreateDrawingObjects() {
    blackColor = 0x000000;
    marginBrush = platform::Brush::Solid(0xDCC8BE);
    whiteBrush = platform::Brush::Solid(0xFFFFFF);
    nullPen = platform::Pen(platform::PenStyle::Null, 1, blackColor);
    tabFont = FontOf("Ariel", 14, 600);
}

bool CTabulonDlg::OnInitDialog() {
    if (setUpDone) return true;
    setUpDone = 1;
    TheAnalysisHooks();  // every hook in place before a page can ask for one (the insert dialog's scoring)
    dataArguments = 0;
    dataValues = 0;

    if (std::strlen(kAboutMenuText) > 0) {
        platform::Menu systemMenu = SystemMenu();
        systemMenu.AppendSeparator();
        systemMenu.Append(kAboutMenuText, kSysCommandAbout);
    }
    SetIcon(icon_);

    recomputeNeeded = 1;
    termCodes.clear();
    periods.clear();
    argumentMask.clear();
    modelLabels.clear();
    modelLabelParameters.clear();
    triedTermCodes.clear();
    triedTermSetStarts.clear();
    CreateDrawingObjects();
    sideWidthFraction = 0.3;

    plotXMin = 0;
    plotXMax = 1.51e6;
    plotYMin = 0;
    plotYMax = 1.51e6;

    // The data sheet stands beside the window, hidden until the data page shows it.
    theDataEdit.Create(this);
    theDataEdit.Move(10, 10, 200, 200);
    theDataEdit.RememberPlace();
    theDataEdit.Show(false);

    platform::Control tabs = Control(kTabControl);
    tabs.SetFont(tabFont);
    for (int i = 0; i < kTabCount; ++i) {
        tabImages[i] = TabIcon(kTabs[i].picture);
        tabColors[i] = {kTabs[i].fill, kTabs[i].textColor};
    }
    for (int i = 0; i < kTabCount; ++i) {
        tabs.InsertItem(i, kTabs[i].text);
        tabs.SetItemImage(i, tabImages[i]);
    }

    initialised = 1;
    dragActive = 0;
    activeTab = 0;

    LinkDataPage();
    LinkImportCommands();
    const std::array<platform::Dialog*, kPageCount> objects = PageObjects();
    for (int i = 0; i < kPageCount; ++i) {
        pages[i] = pageRecord{};
        pages[i].mask = kTabItemParam;
        pages[i].page = objects[i];
        objects[i]->Create(this);
        objects[i]->Move(10, 0);
    }
    for (int i = 0; i < kPageCount; ++i) pages[i].page->Show(i == 0);

    if (tabs.IsValid()) {
        tabItemHeight = tabs.ItemRect(0).Height();
        tabAreaWidth = theData.ClientRect().Width() + 10;
        tabAreaHeight = theData.ClientRect().Height();
    }
    LayoutControls(ClientRect().Width(), ClientRect().Height());

    view3D = 1;
    coefficientsText.clear();
    AttachResultSymbols(theResultDocument);

    Control(kResultVScroll).SetRange(0, 100);
    Control(kResultHScroll).SetRange(0, 100);

    ComputeLayoutRects();
    theResult.imageWidth = chartRect.Width();
    theResult.imageHeight = chartRect.Height();
    CreateVirtualScreen();

    const std::string programFolder = platform::ProgramFolder();
    documentPath = platform::Format("%suntitled.cdf", programFolder.c_str());
    defaultDocumentPath = documentPath;
    theData.documentFolder = programFolder;
    while (theData.documentFolder.size() > 1 && theData.documentFolder.back() == '/') theData.documentFolder.pop_back();
    theData.lastFolder = programFolder;

    minimumSizeGuard = 1;
    ShowWindow(platform::kShowMaximized);
    PaintResultPane();

    Control(kHelpButton).Show(false);
    ShowWindow(platform::kShowMaximized);
    CenterWindow();

    LoadSettings(programFolder);

    // The macro-file runner is reached by no menu command: its item and the separator before
    // it leave the "Data" menu.
    platform::Menu dataMenu = MenuBar().SubMenu(kMenuData);
    for (int pos = 0; pos < dataMenu.ItemCount(); ++pos) {
        if (dataMenu.ItemCommand(pos) != kCommandRunMacroFile) continue;
        dataMenu.RemoveAt(pos);
        if (pos > 0 && dataMenu.IsSeparator(pos - 1)) dataMenu.RemoveAt(pos - 1);
        break;
    }
    recentFiles.fill(std::string());
    LoadRecentFiles();
    UpdateRecentFilesMenu();

    SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
    Invalidate();
    sideWidthFraction = 0.3;
    minimumSizeGuard = 1;

    if (hasCommandLineDocument) OpenListedDocument(commandLineDocument);
    NoteDocumentClean();
    Control(kHelpButton).Show(false);
    return true;
}

void CTabulonDlg::LinkDataPage() {
    DataPageLinks& links = theData.links;
    links.sheetCurrentSeries = [] { return theDataEdit.currentSeries; };
    links.sheetSetCurrentSeries = [](int series, int topRecord) {
        theDataEdit.currentSeries = series;
        theDataEdit.topRecord = topRecord;
    };
    links.sheetIsVisible = [] { return theDataEdit.IsVisible(); };
    links.sceneRebuild = RequestSceneRebuild;
    links.resetAnalysisChoices = ResetAnalysisChoices;
    links.dropParameterConditions = RemoveConditionsOfParameter;
    links.insertParameter = [] { InsertParameterCommand(theData); };
    links.modifyParameter = [] { ModifyParameterCommand(theData); };
}

void CTabulonDlg::CreateVirtualScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1920, 1080);
    virtualScreenBitmap = platform::Bitmap(size.width(), size.height(), platform::kWhite);
    virtualScreenDC = std::make_unique<platform::Canvas>(virtualScreenBitmap);
}

void CTabulonDlg::LoadSettings(const std::string& programFolder) {
    makerFolder = programFolder + "Marvisto";
    if (!platform::IsDirectory(makerFolder)) platform::CreateDirectory(makerFolder);
    if (!platform::IsDirectory(makerFolder) || (platform::FileAttributes(makerFolder) & platform::kAttributeReadOnly)) {
        // The program's folder is not writable (an installed program): the user's own data
        // folder takes the list instead.
        const std::string userFolder = platform::UserDataFolder();
        if (!userFolder.empty()) {
            makerFolder = userFolder + "/Marvisto";
            MakeFolders(makerFolder);
        }
    }
    if (platform::IsDirectory(makerFolder)) platform::SetCurrentDirectory(makerFolder);
    recentFilesListPath = platform::Format("%s/files_Tabulon.txt", makerFolder.c_str());
}

void CTabulonDlg::MoveToDefaultSize() {
    ShowWindow(platform::kShowNormal);
    Move(0, 0, 1360, 760);
    CenterWindow();
}

void CTabulonDlg::OnSize(int type, int cx, int cy) {
    if (!initialised || type == platform::kSizeMinimized) return;
    theD3view.viewportChanged = 1;
    chartFrameResized = 1;
    // The chart is painted again at the new size rather than stretched.
    recomputeNeeded = 1;
    EraseClientArea();
    LayoutControls(cx, cy);
}

void CTabulonDlg::OnShowWindow(bool) {
    if (!IsMinimized() && initialised && activeTab == 0) recomputeNeeded = 1;
}

void CTabulonDlg::OnMove(int, int) {
    chartFrameResized = 1;
    PlaceSideWindow();
}

void CTabulonDlg::OnOK() {
    // Work that changed since it was last saved is not left without a word.
    if (initialised && !closing_ && !AskToSaveChanges()) return;
    closing_ = true;
    StopRunningJobs();
    Dialog::OnOK();
}

void CTabulonDlg::OnCancel() {
    // Work that changed since it was last saved is not left without a word.
    if (initialised && !closing_ && !AskToSaveChanges()) return;
    closing_ = true;
    StopRunningJobs();
    Dialog::OnCancel();
}

void CTabulonDlg::OnClose() {
    // Work that changed since it was last saved is not left without a word.
    if (initialised && !closing_ && !AskToSaveChanges()) return;
    closing_ = true;
    StopRunningJobs();
    Dialog::OnClose();
}

void CTabulonDlg::OnDestroy() {
    theUseruf.running = 0;
    theUseruf.busy = 0;
    closing_ = true;
    StopRunningJobs();
    // The data sheet is a window of its own that this one owns: it goes first, on its own.
    theDataEdit.DestroyWindow();
}

void CTabulonDlg::OnOnlineHelp() {
    // The program has no web page: its help is the README beside it, else the one of the
    // source tree it was built from.
    for (const std::string& readme : {platform::ProgramFolder() + "README.md", std::string(TABULON_SOURCE_README)}) {
        if (!platform::FileExists(readme) || platform::IsDirectory(readme)) continue;
        if (!platform::OpenWithShell(readme))
            platform::MessageBox("No program on this desktop shows the help file. It is\n" + readme);
        return;
    }
    platform::MessageBox("The help file README.md cannot be found.");
}

void CTabulonDlg::OnAbout() {
    CAboutDlg about;
    about.RunModal(this);
    OnPaint();
}

bool CTabulonDlg::ProgressBarShown(progressBarLook& look) {
    if (!HasWindow() || !theResult.chartInMainArea) return false;
    look.chartWidth = chartAreaWidth;
    look.chartHeight = chartAreaHeight;
    look.frameColor = progressFrameColor;
    look.textColor = progressTextColor;
    look.barColor = progressBarColor;
    return true;
}

// PaintOnClientArea: progress_backdrop.cpp.

progressReport* CTabulonDlg::ProgressState() { return &theData.progressState; }
