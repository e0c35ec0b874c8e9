#include <QTabBar>

#include "platform/control.h"
#include "platform/font.h"

namespace platform {

void Control::SetFont(const Font& font) {
    if (QWidget* w = widget_.data()) w->setFont(ToQFont(font));
}

void Control::SetItemImage(int index, const QImage& image) {
    auto* tabs = qobject_cast<QTabBar*>(widget_.data());
    if (!tabs || index < 0 || index >= tabs->count()) return;
    if (!image.isNull()) tabs->setIconSize(image.size());
    tabs->setTabIcon(index, image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
}

}  // namespace platform
