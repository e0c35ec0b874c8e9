#pragma once
// printf-style text. The program runs in the "C" numeric locale (set at start-up),
// so "%g" and "%f" always write a '.' decimal point.
#include <cstdarg>
#include <string>

namespace platform {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args);

}  // namespace platform
