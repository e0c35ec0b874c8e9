#include "data/open_file_retry.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/stat.h>
#include <thread>

std::FILE* OpenFileRetry(const char* path, long offset, const char* mode, int retries, int pauseMs) {
    std::FILE* file = std::fopen(path, mode);
    for (int pause = 0; file == nullptr && pause <= retries; ++pause) {
        if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        file = std::fopen(path, mode);
    }
    if (file != nullptr) std::fseek(file, offset, SEEK_SET);
    return file;
}

bool IsRegularOrMissing(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

std::FILE* OpenChosenFile(const std::string& path, const char* mode, int retries, int pauseMs, std::string& why) {
    why.clear();
    struct stat info {};
    int error = 0;
    std::FILE* file = nullptr;
    const bool found = stat(path.c_str(), &info) == 0;
    if (found && S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (found && !S_ISREG(info.st_mode)) {
        // A FIFO would block the open for good, a device never ends.
        why = "Cannot open the file \"" + path + "\": it is not a regular file.";
        return nullptr;
    } else {
        file = OpenFileRetry(path.c_str(), 0, mode, retries, pauseMs);
        if (file == nullptr) error = errno;
    }
    if (file == nullptr) why = "Cannot open the file \"" + path + "\": " + std::strerror(error != 0 ? error : EIO) + ".";
    return file;
}
