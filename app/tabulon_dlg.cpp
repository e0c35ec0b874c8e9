#include "app/tabulon_dlg.h"

#include <cstdlib>
#include <ctime>

#include <QGuiApplication>
#include <QScreen>

#include "app/about_dlg.h"
#include "app/main_resources.h"
#include "app/program_icon.h"
#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "platform/format.h"
#include "platform/system.h"
#include "statistics/random.h"

CTabulonDlg::CTabulonDlg() : Dialog(kTemplateMain), icon_(ProgramIcon()) {
    SetMenu(MainMenu());
    SetIcon(icon_);
    // Only File > Exit and closing the window end the program, never a stray Return or Escape.
    SetKeysEndDialog(false);
    RouteCommand(kCommandAbout, &CTabulonDlg::OnAbout);
    initialised = 0;
    minimumSizeGuard = 0;
    setUpDone = 0;
    RandomSeedFromClock();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

CTabulonDlg::~CTabulonDlg() = default;

bool CTabulonDlg::OnInitDialog() {
    if (setUpDone) return true;
    setUpDone = 1;

    platform::Menu systemMenu = SystemMenu();
    systemMenu.AppendSeparator();
    systemMenu.Append(kAboutMenuText, kSysCommandAbout);
    SetIcon(icon_);

    CreateVirtualScreen();
    documentPath = platform::Format("%suntitled.cdf", platform::ProgramFolder().c_str());

    SetMinimumClientSize(tabAreaWidth + 101, tabAreaHeight + 351);
    minimumSizeGuard = 1;
    ShowWindow(platform::kShowMaximized);
    SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
    initialised = 1;
    Invalidate();
    return true;
}

void CTabulonDlg::CreateVirtualScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1920, 1080);
    virtualScreenBitmap = platform::Bitmap(size.width(), size.height(), platform::kWhite);
    virtualScreenDC = std::make_unique<platform::Canvas>(virtualScreenBitmap);
}

void CTabulonDlg::OnPaint() {
    if (!initialised || IsMinimized()) return;
    // Until the page area is laid out, the chart takes the whole client area.
    chartRect = ClientRect();
    platform::ClientDC dc(*this);
    dc.CopyFrom(chartRect.left, chartRect.top, chartRect.Width(), chartRect.Height(), virtualScreenBitmap, 0, 0);
}

void CTabulonDlg::OnSysCommand(unsigned command, long) {
    if ((command & platform::kSysCommandMask) == kSysCommandAbout) {
        CAboutDlg about;
        about.RunModal(this);
        return;
    }
}

void CTabulonDlg::OnAbout() {
    CAboutDlg about;
    about.RunModal(this);
    OnPaint();
}

void CTabulonDlg::OnDestroy() {}
