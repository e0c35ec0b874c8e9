#pragma once
// Two small routines of the picture commands: a bitmap stretched onto a canvas, and the
// file choice used for saving.
#include <string>

namespace platform {
class Bitmap;
class Canvas;
}  // namespace platform

// The whole bitmap scaled onto the rectangle (x, y, width, height); nothing without a canvas.
void StretchBitmapTo(platform::Canvas* dc, const platform::Bitmap& bitmap, int x, int y, int width, int height);

// The save dialog titled dialogTitle, starting in the current directory (written to folder)
// with defaultName + "." + extension proposed; it asks before replacing a file. Returns
// non-zero when the user chose a file: file then holds the path and fileTitle its name.
int BrowseForFile(std::string& folder, const std::string& extension, std::string& fileTitle, std::string& file,
                  const std::string& dialogTitle, const std::string& defaultName);
