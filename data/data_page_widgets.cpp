#include "data/data_page_widgets.h"

#include <algorithm>

#include <QComboBox>
#include <QIcon>
#include <QPixmap>
#include <QWidget>

void SetComboPictures(platform::Control combo, const std::vector<platform::Bitmap>& pictures, int side) {
    auto* box = qobject_cast<QComboBox*>(combo.Widget());
    if (!box) return;
    box->clear();
    box->setIconSize(QSize(side, side));
    for (const platform::Bitmap& picture : pictures) box->addItem(QIcon(QPixmap::fromImage(picture.Image())), QString());
    // Keep the top edge; the box grows to show the pictures.
    const QRect g = box->geometry();
    box->setGeometry(g.x(), g.y(), g.width(), std::max(g.height(), box->sizeHint().height()));
}

void SetControlColors(platform::Control control, platform::ColorRef text, platform::ColorRef background) {
    QWidget* w = control.Widget();
    if (!w) return;
    QPalette p = w->palette();
    const QColor fore = platform::ToQColor(text);
    const QColor back = platform::ToQColor(background);
    p.setColor(QPalette::WindowText, fore);
    p.setColor(QPalette::Text, fore);
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Base, back);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void RaiseControl(platform::Control control) {
    if (QWidget* w = control.Widget()) w->raise();
}

void SetControlFont(platform::Control control, const platform::Font& font) {
    if (QWidget* w = control.Widget()) w->setFont(platform::ToQFont(font));
}
