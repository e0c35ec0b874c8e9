#pragma once
// The shared open-file routine of the imports.
#include <string>

// Shows the open-file dialog titled `title`, starting in `initialFolder`, every file
// listed ("*.*"); the name box shows the name part of `path` with "." + `extension`
// added unless it already ends so.
// Returns 1 when the user chose a file: `path` then holds it and `fileTitle` its name
// without the folder. Returns 0 when the user cancelled; `path` and `fileTitle` are then
// unchanged, so the caller ends its command without any change.
int ChooseFileName(const std::string& initialFolder, const std::string& extension, std::string& fileTitle,
                   std::string& path, const std::string& title);
