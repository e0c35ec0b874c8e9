#pragma once
// File and folder routines of the main window.
#include <cstdio>
#include <string>

// 1 when the path exists and is a folder, else 0 (also when it cannot be examined).
int IsDirectory(const std::string& path);

// Opens a file that another program may be writing, in the given stream mode: while
// that fails, waits pauseMs milliseconds and tries again, at most retries + 1 more
// times (0 retries: two attempts). An opened stream is positioned offset bytes from the
// start, and offset then holds the position actually reached. Returns nullptr when
// every attempt fails.
std::FILE* OpenFileRetryAt(const std::string& path, long& offset, const char* mode, int retries, int pauseMs);
