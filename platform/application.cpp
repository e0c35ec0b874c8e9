#include "platform/application.h"

#include <clocale>

#include "platform/guard.h"
#include "platform/system.h"

namespace platform {

void UseClassicNumbers() { std::setlocale(LC_NUMERIC, "C"); }

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    UseClassicNumbers();
    SetCommandLine(JoinArguments(argc, argv));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // The layer guards its own handlers; this catches what escapes Qt's.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

}  // namespace platform
