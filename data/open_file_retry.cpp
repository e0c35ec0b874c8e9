#include "data/open_file_retry.h"

#include <chrono>
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
