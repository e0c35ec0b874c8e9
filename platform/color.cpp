#include "platform/color.h"

#include <QColor>

namespace platform {

QColor ToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

ColorRef FromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return Rgb(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace platform
