#pragma once
// The system clipboard: UTF-8 text and images.
#include <string>

class QImage;

namespace platform {

void SetClipboardText(const std::string& text);
bool HasClipboardText();
std::string ClipboardText();  // empty when the clipboard holds no text

void SetClipboardImage(const QImage& image);
bool HasClipboardImage();
QImage ClipboardImage();  // null when the clipboard holds no image

}  // namespace platform
