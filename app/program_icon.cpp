#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>

QImage ProgramIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    p.setPen(QPen(QColor(40, 60, 110), 1.5));
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);

    p.setPen(Qt::NoPen);
    const QColor bars[] = {QColor(60, 120, 200), QColor(70, 170, 90), QColor(220, 150, 40), QColor(200, 70, 60)};
    const double heights[] = {9, 15, 12, 19};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(6 + i * 5.5, 26 - heights[i], 4, heights[i]));
    }

    QPainterPath line;
    line.moveTo(5, 20);
    line.cubicTo(11, 14, 18, 13, 27, 5);
    p.setPen(QPen(QColor(30, 30, 30), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    return icon;
}
