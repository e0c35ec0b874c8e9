#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/qt_text.h"

namespace platform {

namespace {

QClipboard* Board() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

void SetClipboardText(const std::string& text) {
    if (QClipboard* board = Board()) board->setText(ToQString(text));
}

bool HasClipboardText() {
    QClipboard* board = Board();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    return data && data->hasText();
}

std::string ClipboardText() {
    QClipboard* board = Board();
    return board ? FromQString(board->text()) : std::string();
}

void SetClipboardImage(const QImage& image) {
    if (QClipboard* board = Board()) board->setImage(image);
}

bool HasClipboardImage() {
    QClipboard* board = Board();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    return data && data->hasImage();
}

QImage ClipboardImage() {
    QClipboard* board = Board();
    return board ? board->image() : QImage();
}

}  // namespace platform
