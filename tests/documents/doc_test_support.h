#pragma once
// A fresh temporary folder for document files (removed with everything in it), and small
// file and process helpers of the document tests.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "documents/cdf_file.h"

namespace doc_test {

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tabulon_doc_XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command; its standard output, and the exit status in status.
inline std::string Run(const std::string& command, int& status) {
    std::string out;
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    status = pclose(p);
    return out;
}

// Runs save in a child process that a file-size limit of `bytes` kills part way, as a kill in
// the middle of a save would; true when it died so.
inline bool KilledPartWay(const std::function<void()>& save, rlim_t bytes) {
    const pid_t child = fork();
    if (child == 0) {
        const struct rlimit noCore {0, 0}, limit {bytes, bytes};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        save();
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

// The names in a folder, sorted.
inline std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline bool HaveProgram(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

// Gives the global attribute `name` of a file model the values given, of the type given;
// false when there is no such attribute.
inline bool ReplaceAttribute(cdfFile& f, const std::string& name, cdfFile::Type type, const std::vector<double>& values) {
    for (std::uint32_t i = 0; i < f.globalAttributeCount; ++i) {
        if (f.NameOf(f.attributes[i].nameIndex) != name) continue;
        const std::size_t added = f.AddAttribute(name, type, values);
        f.attributes[i] = f.attributes[added];
        f.attributes.pop_back();
        return true;
    }
    return false;
}

}  // namespace doc_test
