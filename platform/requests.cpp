#include "platform/requests.h"

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QEvent>

#include "platform/dialog.h"
#include "platform/dialog_widgets.h"

namespace platform {

namespace {

Dialog* mainWindow = nullptr;
bool jobPending = false;

}  // namespace

void SetMainWindow(Dialog* window) {
    mainWindow = window;
    jobPending = false;
}

Dialog* MainWindow() { return mainWindow; }

void PostRepaintRequest() {
    if (mainWindow) mainWindow->Invalidate();
}

void PostJobRequest() {
    if (!mainWindow || jobPending || !mainWindow->ClientWidget()) return;
    jobPending = true;
    QCoreApplication::postEvent(mainWindow->ClientWidget(),
                                new QEvent(static_cast<QEvent::Type>(DialogClient::JobRequestType())));
}

void DeliverJobRequest(Dialog* window) {
    if (window == mainWindow) jobPending = false;
    window->Dispatch([window] { window->OnSysCommand(0, 0); });
}

void PumpWaitingMessages() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SleepMs(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
