// The four recent documents: kept in the main window and in a small text file beside the
// program, shown as the items of File > Recent Files, opened on request.
#include <fstream>
#include <strings.h>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "platform/menu.h"
#include "platform/system.h"

namespace {

// The text of a line of the list without line ends, blanks and '_' at both ends.
std::string TrimmedEntry(const std::string& line) {
    auto strip = [](char c) { return c == '\r' || c == '\n' || c == ' ' || c == '_'; };
    std::size_t begin = 0, end = line.size();
    while (begin < end && strip(line[begin])) ++begin;
    while (end > begin && strip(line[end - 1])) --end;
    return line.substr(begin, end - begin);
}

}  // namespace

void CTabulonDlg::LoadRecentFiles() {
    if (!platform::FileExists(recentFilesListPath)) return;
    std::ifstream file(recentFilesListPath, std::ios::binary);
    if (!file) return;
    // Lines are read whole, however long; a line holding nothing but its end is skipped.
    std::string line;
    int count = 0;
    while (count < kRecentFileCount && std::getline(file, line)) {
        const std::size_t length = line.size() + (file.eof() ? 0 : 1);
        if (length <= 1) continue;
        recentFiles[count++] = TrimmedEntry(line);
    }
}

void CTabulonDlg::SaveRecentFiles() {
    std::ofstream file(recentFilesListPath, std::ios::binary | std::ios::trunc);
    if (!file) return;
    for (const std::string& entry : recentFiles) file << entry << '\n';
}

void CTabulonDlg::UpdateRecentFilesMenu() {
    platform::Menu menu = MenuBar();
    for (int i = 0; i < kRecentFileCount; ++i) menu.Rename(kCommandRecentFile1 + i, recentFiles[i]);
    if (recentFiles[0].size() > 1) {
        const std::size_t cut = recentFiles[0].find_last_of("/\\");
        recentFolder = cut == std::string::npos ? std::string() : recentFiles[0].substr(0, cut);
        if (!recentFolder.empty()) platform::SetCurrentDirectory(recentFolder);
    }
}

int CTabulonDlg::AddRecentFile(std::string path) {
    for (const std::string& entry : recentFiles)
        if (strcasecmp(entry.c_str(), path.c_str()) == 0) return 0;
    for (int i = kRecentFileCount - 1; i > 0; --i) recentFiles[i] = recentFiles[i - 1];
    recentFiles[0] = std::move(path);
    UpdateRecentFilesMenu();
    SaveRecentFiles();
    return 1;
}

void CTabulonDlg::OpenRecentFile(int n) {
    if (n < 0 || n >= kRecentFileCount) return;
    std::string path = recentFiles[n];
    if (path.size() < 3 || readingDocument) return;
    if (!AskToSaveChanges()) return;
    OpenListedDocument(path);
}

void CTabulonDlg::OpenListedDocument(std::string path) {
    while (!path.empty() && path.back() == '"') path.pop_back();
    std::size_t first = 0;
    while (first < path.size() && path[first] == '"') ++first;
    activeTab = 0;
    ReadDocumentAt(path.substr(first));
    RepaintAll();
}
