#pragma once
// Names of series and parameters come from header lines, the clipboard and documents, where
// nothing bounds their length; one of megabytes can neither be drawn nor stored sensibly, so
// every way in cuts it here.
#include <cstddef>
#include <string>

inline constexpr std::size_t kMaxNameBytes = 4096;

// Cuts name to at most kMaxNameBytes bytes without splitting a UTF-8 character; true when
// anything was cut.
bool LimitNameLength(std::string& name);
