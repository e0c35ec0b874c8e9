#include "platform/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

WaitCursor::WaitCursor() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    shown_ = true;
}

WaitCursor::~WaitCursor() {
    if (shown_ && QCoreApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

}  // namespace platform
