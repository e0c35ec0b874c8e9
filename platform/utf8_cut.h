#pragma once
// Cutting UTF-8 text only between characters, so a shortened text never ends in half of one.
#include <cstddef>
#include <string>

namespace platform {

// The text's first `limit` bytes or fewer, ending where a character ends.
inline std::string CutUtf8(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) --limit;
    return text.substr(0, limit);
}

// Removes the text's last character (all bytes of a UTF-8 sequence).
inline void PopUtf8(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
}

}  // namespace platform
