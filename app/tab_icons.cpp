#include "app/tab_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void DataGrid(QPainter& p) {
    p.setPen(QPen(QColor(40, 60, 110), 1));
    p.setBrush(QColor(255, 255, 240));
    p.drawRect(2, 3, 16, 14);
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(2, 3, 16, 4);
    for (int x : {7, 12}) p.drawLine(x, 3, x, 17);
    for (int y : {10, 13}) p.drawLine(2, y, 18, y);
}

void LegendLines(QPainter& p) {
    const QColor marks[] = {QColor(200, 0, 0), QColor(0, 140, 0), QColor(0, 0, 200)};
    for (int i = 0; i < 3; ++i) {
        const int y = 4 + i * 6;
        p.setPen(Qt::NoPen);
        p.setBrush(marks[i]);
        p.drawEllipse(QPointF(4.5, y + 0.5), 2.5, 2.5);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.drawLine(QPointF(9, y + 0.5), QPointF(18, y + 0.5));
    }
}

void ChartLine(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.drawLine(3, 2, 3, 18);
    p.drawLine(3, 18, 19, 18);
    QPainterPath path;
    path.moveTo(4, 15);
    path.cubicTo(8, 4, 12, 16, 18, 5);
    p.setPen(QPen(QColor(25, 105, 20), 2));
    p.drawPath(path);
}

void ViewCube(QPainter& p) {
    p.setPen(QPen(QColor(10, 110, 10), 1.3));
    p.setBrush(QColor(220, 240, 220));
    const QPointF front[] = {{3, 7}, {13, 7}, {13, 18}, {3, 18}};
    p.drawPolygon(front, 4);
    const QPointF top[] = {{3, 7}, {8, 2}, {18, 2}, {13, 7}};
    p.setBrush(QColor(190, 230, 190));
    p.drawPolygon(top, 4);
    const QPointF side[] = {{13, 7}, {18, 2}, {18, 13}, {13, 18}};
    p.setBrush(QColor(160, 210, 160));
    p.drawPolygon(side, 4);
}

void Histogram(QPainter& p) {
    p.setPen(QPen(QColor(120, 20, 20), 1));
    const int heights[] = {4, 9, 14, 10, 5};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(QColor(255, 230, 100));
        p.drawRect(2 + i * 3 + i / 2, 18 - heights[i], 3, heights[i]);
    }
    QPainterPath bell;
    bell.moveTo(1, 17);
    bell.cubicTo(7, 17, 7, 2, 10.5, 2);
    bell.cubicTo(14, 2, 14, 17, 20, 17);
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bell);
}

void ResultPage(QPainter& p) {
    p.setPen(QPen(QColor(0, 64, 128), 1));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(4, 1, 13, 18);
    p.setPen(QPen(QColor(128, 64, 0), 1));
    for (int y = 5; y <= 15; y += 3) p.drawLine(6, y, y % 2 ? 15 : 12, y);
}

void CalculatorKeys(QPainter& p) {
    p.setPen(QPen(QColor(128, 0, 128), 1));
    p.setBrush(QColor(240, 225, 250));
    p.drawRoundedRect(QRectF(3.5, 1.5, 14, 18), 2, 2);
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(6, 3, 9, 4);
    p.setBrush(QColor(128, 0, 128));
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) p.drawRect(6 + c * 3, 9 + r * 3, 2, 2);
    }
}

}  // namespace

QImage TabIcon(int pictureId) {
    QImage icon(kTabIconSize, kTabIconSize, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    switch (pictureId) {
        case 152: DataGrid(p); break;
        case 155: LegendLines(p); break;
        case 156: ChartLine(p); break;
        case 153: ViewCube(p); break;
        case 157: Histogram(p); break;
        case 140: ResultPage(p); break;
        case 158: CalculatorKeys(p); break;
        default: break;
    }
    return icon;
}
