#include "platform/system.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QStandardPaths>

#include "platform/dialog_widgets.h"
#include "platform/dialogs.h"
#include "platform/qt_text.h"
#include "platform/window_defs.h"

namespace platform {

namespace {

std::string& CommandLineStorage() {
    static std::string commandLine;
    return commandLine;
}

// Follows key presses application-wide, so a key's state can be asked for at any time.
class KeyTracker : public QObject {
public:
    using QObject::QObject;

    bool IsDown(int code) const {
        return std::any_of(down.begin(), down.end(), [code](const auto& held) { return held.second == code; });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (!k->isAutoRepeat()) {
                const int code = KeyCodeOf(k->key(), k->modifiers());
                // Held keys are kept by the physical key: NumLock may change while a keypad key
                // is down, and then it comes up as another key (2 goes down, Down comes up).
                // Input without a scan code can only be matched by its code.
                const std::uint64_t physical =
                    k->nativeScanCode() != 0 ? (std::uint64_t{1} << 32) | k->nativeScanCode() : static_cast<std::uint32_t>(code);
                if (e->type() == QEvent::KeyPress) {
                    down[physical] = code;
                } else {
                    down.erase(physical);
                }
            }
        } else if (e->type() == QEvent::WindowDeactivate || e->type() == QEvent::ApplicationDeactivate ||
                   (e->type() == QEvent::ApplicationStateChange &&
                    static_cast<QApplicationStateChangeEvent*>(e)->applicationState() != Qt::ApplicationActive)) {
            // Once a window loses the keyboard, the releases of the keys held may go to another
            // application and never come here.
            down.clear();
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::map<std::uint64_t, int> down;  // physical key -> the code it had when pressed
};

QPointer<KeyTracker>& Tracker() {
    static QPointer<KeyTracker> tracker;
    return tracker;
}

}  // namespace

void InstallKeyTracker() {
    if (Tracker() || !QCoreApplication::instance()) return;
    Tracker() = new KeyTracker(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(Tracker());
}

bool KeyDown(int key) {
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    switch (key) {
        case kKeyShift: return modifiers & Qt::ShiftModifier;
        case kKeyControl: return modifiers & Qt::ControlModifier;
        case kKeyAlt: return modifiers & Qt::AltModifier;
        case kKeyLeftButton: return buttons & Qt::LeftButton;
        case kKeyRightButton: return buttons & Qt::RightButton;
        case kKeyMiddleButton: return buttons & Qt::MiddleButton;
        default: return Tracker() && Tracker()->IsDown(key);
    }
}

std::string ProgramFolder() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (!dir.endsWith('/')) dir += '/';
    return PathFromQString(dir);
}

std::string UserDataFolder() {
    return PathFromQString(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

const std::string& CommandLine() { return CommandLineStorage(); }

void SetCommandLine(const std::string& commandLine) { CommandLineStorage() = commandLine; }

std::string JoinArguments(int argc, const char* const* argv) {
    std::string joined;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) joined += ' ';
        joined += argv[i];
    }
    return joined;
}

std::string CurrentDirectory() { return PathFromQString(QDir::currentPath()); }

bool SetCurrentDirectory(const std::string& path) { return QDir::setCurrent(PathToQString(path)); }

bool CreateDirectory(const std::string& path) {
    const QString p = PathToQString(path);
    if (p.isEmpty() || QFileInfo::exists(p)) return false;
    return QDir().mkdir(p);
}

bool FileExists(const std::string& path) { return !path.empty() && QFileInfo::exists(PathToQString(path)); }

bool IsDirectory(const std::string& path) { return !path.empty() && QFileInfo(PathToQString(path)).isDir(); }

unsigned FileAttributes(const std::string& path) {
    const QFileInfo info(PathToQString(path));
    if (path.empty() || !info.exists()) return kAttributesInvalid;
    unsigned attributes = 0;
    if (info.isDir()) attributes |= kAttributeDirectory;
    if (!info.isWritable()) attributes |= kAttributeReadOnly;
    if (info.isHidden()) attributes |= kAttributeHidden;
    return attributes == 0 ? static_cast<unsigned>(kAttributeNormal) : attributes;
}

LocalTime Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    LocalTime lt;
    lt.year = d.year();
    lt.month = d.month();
    lt.day = d.day();
    lt.dayOfWeek = d.dayOfWeek() % 7;
    lt.hour = t.hour();
    lt.minute = t.minute();
    lt.second = t.second();
    lt.milliseconds = t.msec();
    return lt;
}

bool OpenWithShell(const std::string& pathOrUrl) { return TheDialogs().OpenWithShell(pathOrUrl); }

}  // namespace platform
