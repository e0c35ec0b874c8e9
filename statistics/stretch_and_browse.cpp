#include "statistics/stretch_and_browse.h"

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/system.h"

void StretchBitmapTo(platform::Canvas* dc, const platform::Bitmap& bitmap, int x, int y, int width, int height) {
    if (!dc || bitmap.IsNull()) return;
    dc->StretchFrom(x, y, width, height, bitmap, 0, 0, bitmap.Width(), bitmap.Height());
}

int BrowseForFile(std::string& folder, const std::string& extension, std::string& fileTitle, std::string& file,
                  const std::string& dialogTitle, const std::string& defaultName) {
    folder = platform::CurrentDirectory();
    if (folder.size() > 1000) folder.resize(1000);
    platform::FileDialogRequest request;
    request.title = dialogTitle;
    request.filter = "*.*|*.*||";
    request.initialPath = folder + "/" + defaultName + "." + extension;
    // A save dialog, not an open one: it confirms before an existing file is replaced.
    const std::optional<std::string> chosen = platform::TheDialogs().SaveFile(request);
    if (!chosen) return 0;
    file = *chosen;
    const size_t slash = file.find_last_of('/');
    fileTitle = slash == std::string::npos ? file : file.substr(slash + 1);
    return 1;
}
