#include "charts/html_text.h"

#include <array>
#include <cctype>
#include <utility>

#include "platform/format.h"

namespace {

constexpr const char* kOverlinedX = "<span style='text-decoration: overline; font-weight:700'>X</span>";
constexpr const char* kSymbolSigma = "<font face='Symbol' size='5'>s</font>";
constexpr const char* kSigmaOverX =
    "<font face='Symbol' size='5'>s</font>/<span style='text-decoration: overline; font-weight:700'>X</span> ";
constexpr const char* kSymbolPi = "<font face='Symbol' size='5'>p</font>";

bool WordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// Replaces `from` only where it stands as a word of its own: a parameter named "spinach" or
// "Value_pi" keeps its letters.
void ReplaceWholeWords(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;) {
        const std::size_t end = at + from.size();
        const bool whole = (at == 0 || !WordCharacter(text[at - 1])) && (end >= text.size() || !WordCharacter(text[end]));
        if (!whole) {
            at = text.find(from, at + 1);
            continue;
        }
        text.replace(at, from.size(), to);
        at = text.find(from, at + to.size());
    }
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

void ResultTextToHtml(std::string& text) {
    // In this order: a word replaced earlier is no longer there for a later one.
    static const std::array<std::pair<const char*, const char*>, 10> kWords{{
        {"Value", kOverlinedX},
        {"Average", kOverlinedX},
        {"Xo", kOverlinedX},
        {"St. Dev.", kSymbolSigma},
        {"St.Dev.", kSymbolSigma},
        {"Sigma", kSymbolSigma},
        {"sigma", kSymbolSigma},
        {"Corl. Coef.", kSigmaOverX},
        {"Coeff. of. Variance", kSigmaOverX},
        {"pi", kSymbolPi},
    }};
    for (const auto& [word, markup] : kWords) ReplaceWholeWords(text, word, markup);
    static const std::string kExponentCharacters = "01234567890.eE-+";
    for (std::size_t p = text.find('^'); !text.empty() && p != std::string::npos; p = text.find('^')) {
        std::size_t end = text.find_first_not_of(kExponentCharacters, p + 1);
        if (end == std::string::npos) end = text.size();
        const std::string run = text.substr(p + 1, end - p - 1);
        text.replace(p, end - p, platform::Format("<sup><small>%s</small></sup>", run.c_str()));
    }
}

std::string ColorToHtml(platform::ColorRef color) {
    std::string text = platform::Format("%2x%2x%2x", static_cast<unsigned>(color & 0xFF),
                                        static_cast<unsigned>((color >> 8) & 0xFF),
                                        static_cast<unsigned>((color >> 16) & 0xFF));
    for (char& c : text) {
        if (c == ' ') c = '0';
    }
    return text;
}
