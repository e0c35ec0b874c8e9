#include "data/choose_file_name.h"

#include "platform/dialogs.h"

namespace {

std::string NamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int ChooseFileName(const std::string& initialFolder, const std::string& extension, std::string& fileTitle,
                   std::string& path, const std::string& title) {
    // The name box shows the buffer's name with the extension; its own folder gives way
    // to the initial folder, where the dialog starts.
    std::string name = NamePart(path);
    const std::string suffix = "." + extension;
    const bool hasSuffix = name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (!name.empty() && !extension.empty() && !hasSuffix) name += suffix;
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = "*.*|*.*||";
    request.initialPath = initialFolder.empty() ? name
                          : name.empty()        ? initialFolder
                          : initialFolder.back() == '/' ? initialFolder + name
                                                        : initialFolder + "/" + name;
    const std::optional<std::string> chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen || chosen->empty()) return 0;
    path = *chosen;
    fileTitle = NamePart(path);
    return 1;
}
