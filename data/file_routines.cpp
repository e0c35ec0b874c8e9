#include "data/file_routines.h"

#include <sys/stat.h>

#include "data/open_file_retry.h"

int IsDirectory(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return 0;
    return S_ISDIR(info.st_mode) ? 1 : 0;
}

std::FILE* OpenFileRetryAt(const std::string& path, long& offset, const char* mode, int retries, int pauseMs) {
    if (mode == nullptr) return nullptr;
    std::FILE* file = OpenFileRetry(path.c_str(), offset, mode, retries, pauseMs);
    if (file != nullptr) {
        // A seek that failed (before the start) leaves the stream where it was.
        const long at = std::ftell(file);
        if (at >= 0) offset = at;
    }
    return file;
}
