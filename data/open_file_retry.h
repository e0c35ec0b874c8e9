#pragma once
#include <cstdio>

// Opens a file that another program may be writing: tries fopen(path, mode); while
// that fails, waits pauseMs milliseconds and tries again, at most retries + 1 more
// times (10 retries: at most 12 attempts, 11 pauses). An opened stream is positioned
// at offset bytes from the start. Returns nullptr when every attempt fails.
std::FILE* OpenFileRetry(const char* path, long offset, const char* mode, int retries, int pauseMs);

#include <string>

// False for a path that names something other than a regular file (links followed): a
// folder, a FIFO, a device. A missing file may still come: true.
bool IsRegularOrMissing(const std::string& path);

// OpenFileRetry for reading a file the user chose: a folder, a FIFO or a device is refused
// too (fopen would open it, or block). On failure returns nullptr and sets why to a message naming the path and the
// system's reason.
std::FILE* OpenChosenFile(const std::string& path, const char* mode, int retries, int pauseMs, std::string& why);
