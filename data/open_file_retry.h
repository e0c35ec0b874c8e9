#pragma once
#include <cstdio>

// Opens a file that another program may be writing: tries fopen(path, mode); while
// that fails, waits pauseMs milliseconds and tries again, at most retries + 1 more
// times (10 retries: at most 12 attempts, 11 pauses). An opened stream is positioned
// at offset bytes from the start. Returns nullptr when every attempt fails.
std::FILE* OpenFileRetry(const char* path, long offset, const char* mode, int retries, int pauseMs);
