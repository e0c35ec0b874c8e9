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

std::function<bool(int)>& IdleHandler() {
    static std::function<bool(int)> handler;
    return handler;
}

void RunIdle() {
    std::function<bool(int)>& idle = IdleHandler();
    if (!idle) return;
    for (int count = 0; idle(count); ++count) {
    }
}

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
    RunIdle();
}

void PumpWaitingMessagesExceptInput() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    RunIdle();
}

void SetIdleHandler(std::function<bool(int count)> handler) { IdleHandler() = std::move(handler); }

void SleepMs(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
