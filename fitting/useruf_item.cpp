#include "fitting/useruf_item.h"

#include <algorithm>
#include <cctype>

#include "formula/number_text.h"

std::string UserCoefficientText(const UserCoefficient& c) {
    std::string s = c.name + "=";
    numtext::AppendPrecisionG(s, c.value, 17);
    s += "(";
    numtext::AppendPrecisionG(s, c.step, 17);
    s += ")[";
    numtext::AppendPrecisionG(s, c.min, 17);
    s += ",";
    numtext::AppendPrecisionG(s, c.max, 17);
    s += "]";
    return s;
}

namespace {

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const std::size_t a = s.find_first_not_of(blanks);
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

}  // namespace

std::string ParseUserCoefficient(const std::string& item, UserCoefficient& c, bool& set) {
    set = false;
    if (item.empty()) return std::string();
    static const std::string noOpen = "No open brackets. Check and try again.";
    UserCoefficient out;
    std::string rest = item;
    const std::size_t close = rest.find(']');
    if (close != std::string::npos) {
        const std::size_t open = rest.find('[');
        if (open == std::string::npos) return noOpen;
        const std::size_t end = rest.find(']', open);
        const std::string range = rest.substr(open + 1, end == std::string::npos ? std::string::npos : end - open - 1);
        const std::size_t comma = range.find(',');
        out.min = numtext::ReadReal(range.substr(0, comma));
        out.max = comma == std::string::npos ? 0.0 : numtext::ReadReal(range.substr(comma + 1));
        rest = rest.substr(0, open);
    }
    bool hasStep = false;
    const std::size_t closeStep = rest.find(')');
    if (closeStep != std::string::npos) {
        rest = rest.substr(0, closeStep);
        const std::size_t open = rest.find('(');
        if (open == std::string::npos) return noOpen;
        out.step = numtext::ReadReal(rest.substr(open + 1));
        hasStep = true;
    }
    const std::size_t eq = rest.find('=');
    if (eq == std::string::npos) return "No equal symbol. Check and try again.";
    out.name = Trimmed(rest.substr(0, eq));
    if (!IsCoefficientName(out.name)) return BadCoefficientNameMessage(out.name);
    out.value = numtext::ReadReal(rest.substr(eq + 1));
    if (!hasStep) out.step = 0.1 * out.value;
    c = out;
    set = true;
    return std::string();
}

bool IsCoefficientName(const std::string& name) {
    if (name.empty()) return false;
    const auto first = static_cast<unsigned char>(name[0]);
    if (!std::isalpha(first) && first != '_') return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

std::string BadCoefficientNameMessage(const std::string& name) {
    return "\"" + name + "\" can not be a coefficient name: it must start with a letter and hold only letters, digits and _.";
}
