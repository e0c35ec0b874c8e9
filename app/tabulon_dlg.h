#pragma once
// The main dialog: menu, the virtual screen the charts are painted into, the repaint and job
// hooks. It lives as a local object of the start routine; its modal loop is the program's.
#include <memory>
#include <string>

#include <QImage>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/dialog.h"

class CTabulonDlg : public platform::Dialog {
public:
    CTabulonDlg();
    ~CTabulonDlg() override;

    // The document named on the command line, read by the set-up.
    std::string commandLineDocument;
    int hasCommandLineDocument = 0;

    int initialised = 0;
    int minimumSizeGuard = 0;
    int setUpDone = 0;

    int tabAreaWidth = 200;
    int tabAreaHeight = 100;
    platform::Rect chartRect;

    // The virtual screen: a screen-sized bitmap cleared white once, with its drawing context.
    platform::Bitmap virtualScreenBitmap;
    std::unique_ptr<platform::Canvas> virtualScreenDC;

    bool OnInitDialog() override;
    void OnPaint() override;
    void OnSysCommand(unsigned command, long lParam) override;
    void OnDestroy() override;
    void OnAbout();

    void CreateVirtualScreen();

private:
    QImage icon_;
};
