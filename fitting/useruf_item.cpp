#include "fitting/useruf_item.h"

#include "formula/number_text.h"
#include "formula/split_fields.h"

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

bool IsCoefficientName(const std::string& name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!letter(name[0])) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const std::size_t a = s.find_first_not_of(blanks);
    if (a == std::string::npos) return std::string();
    return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

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

std::string UserDefinedText(const useruf_settings& u) {
    std::string t = u.formula;
    if (u.names.empty()) return t + "$";
    for (std::size_t i = 0; i < u.names.size(); ++i) {
        UserCoefficient c;
        c.name = u.names[i];
        c.value = i < u.values.size() ? u.values[i] : 0;
        c.step = i < u.steps.size() ? u.steps[i] : 0;
        c.min = i < u.minima.size() ? u.minima[i] : 0;
        c.max = i < u.maxima.size() ? u.maxima[i] : 0;
        t += "$" + UserCoefficientText(c);
    }
    return t;
}

bool ApplyUserDefinedText(const std::string& text, useruf_settings& u, std::vector<std::string>& messages) {
    std::vector<std::string> fields;
    if (SplitFields(text, "$", fields) < 1) return false;
    u.formula = fields[0];
    if (fields.size() < 2) return false;
    u.names.clear(), u.values.clear(), u.steps.clear(), u.minima.clear(), u.maxima.clear();
    for (std::size_t i = 1; i < fields.size(); ++i) {
        UserCoefficient c;
        bool set = false;
        const std::string message = ParseUserCoefficient(fields[i], c, set);
        if (!message.empty()) messages.push_back(message);
        if (!set) continue;
        u.names.push_back(c.name), u.values.push_back(c.value), u.steps.push_back(c.step);
        u.minima.push_back(c.min), u.maxima.push_back(c.max);
    }
    u.selectedRow = 0;
    return true;
}

std::string BadCoefficientNameMessage(const std::string& name) {
    return "\"" + name + "\" can not be a coefficient name: it must start with a letter and hold only letters, digits and _.";
}
