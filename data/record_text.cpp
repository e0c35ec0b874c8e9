#include "data/record_text.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "data/fast_number.h"

int IsNonNumericField(const char* text) {
    return std::strpbrk(text, nonNumericCharacters) != nullptr ? 1 : 0;
}

double DateToYearFraction(int year, int month, int day) {
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    const bool leap = year % 4 == 0;
    // 64 bits: a wild day number must not overflow.
    long long n = static_cast<long long>(daysBeforeMonth[month - 1]) + day;
    if (leap && month >= 3) ++n;
    const double f = static_cast<double>(year) + static_cast<double>(n) / (leap ? 366.0 : 365.0);
    return f <= 20.0 ? f + 100.0 : f;
}

namespace {

// atoi's reading (blanks, sign, digits up to the first non-digit), held within the
// int range instead of overflowing.
int ReadInteger(const char* p) {
    while (*p == ' ' || static_cast<unsigned char>(*p - '\t') < 5) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long v = 0;
    for (; static_cast<unsigned char>(*p - '0') < 10; ++p) {
        if (v < 10000000000LL) v = v * 10 + (*p - '0');
    }
    if (negative) v = -v;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// The three slash-separated parts of a date text; false without two slashes.
bool DateParts(const char* text, int& first, int& second, int& third) {
    const char* slash1 = std::strchr(text, '/');
    if (slash1 == nullptr) return false;
    const char* slash2 = std::strchr(slash1 + 1, '/');
    if (slash2 == nullptr) return false;
    // Reading stops at the slash, so each part is read where it starts.
    first = ReadInteger(text);
    second = ReadInteger(slash1 + 1);
    third = ReadInteger(slash2 + 1);
    return true;
}

int DateValue(int year, int month, int day, double& value) {
    if (month < 1 || month > 12) return 0;  // not a date: the caller reads a number
    value = DateToYearFraction(year, month, day);
    return 1;
}

}  // namespace

int RecordText::ParseDateText(const char* text, double& value) {
    value = 0.0;
    int month, day, year;
    if (!DateParts(text, month, day, year)) return 0;
    return DateValue(year, month, day, value);
}

int RecordText::ParseDateTextDayFirst(const char* text, double& value) {
    value = 0.0;
    int day, month, year;
    if (!DateParts(text, day, month, year)) return 0;
    return DateValue(year, month, day, value);
}

double RecordText::TextToValue(const char* text) {
    double v;
    const char* end;
    // Most fields are plain numbers with no slash after them.
    if (ReadPlainDecimal(text, &v, &end) && std::strchr(end, '/') == nullptr) return v;
    double date;
    const int isDate = dateFormatFlag == 1 ? ParseDateText(text, date) : ParseDateTextDayFirst(text, date);
    if (isDate) return date;
    return ReadLeadingNumber(text);
}

namespace {

bool IsLineControl(char c) { return c == '\r' || c == '\t' || c == '\n'; }

std::string TrimLineControls(const std::string& s, std::size_t begin, std::size_t end) {
    while (begin < end && IsLineControl(s[begin])) ++begin;
    while (end > begin && IsLineControl(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

int RecordText::SplitLineAt(const std::string& text, std::size_t& position, std::string& field) {
    if (position >= text.size()) return 0;
    const std::size_t tab = text.find('\t', position);
    if (tab != std::string::npos && tab > position) {
        field = TrimLineControls(text, position, tab);
        position = tab + 1;
        return 1;
    }
    field = TrimLineControls(text, position, text.size());
    position = text.size();
    return 1;
}

int RecordText::SplitLine(std::string& text, std::string& field) {
    std::size_t position = 0;
    const int taken = SplitLineAt(text, position, field);
    text.erase(0, position);
    return taken;
}

int RecordText::SplitClipboardTextAt(const std::string& text, std::size_t& position, std::string& line) {
    const std::size_t lf = position < text.size() ? text.find('\n', position) : std::string::npos;
    if (lf == std::string::npos || lf == position) return 0;
    line.assign(text, position, lf - position);
    position = lf + 1;
    return 1;
}

int RecordText::SplitClipboardText(std::string& text, std::string& line) {
    std::size_t position = 0;
    const int taken = SplitClipboardTextAt(text, position, line);
    text.erase(0, position);
    return taken;
}

int ReadLineFields(std::FILE* file, const char* separators, std::vector<std::string>& fields) {
    // The line up to its line end: LF, CR LF or a lone CR, each kept as one line feed.
    static thread_local std::string buffer;
    buffer.clear();
    int c;
    while ((c = std::getc(file)) != EOF) {
        if (c == '\r') {
            const int next = std::getc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
            c = '\n';
        }
        buffer += static_cast<char>(c);
        if (c == '\n') break;
    }
    if (buffer.empty()) return 0;
    const char* line = buffer.data();
    const std::size_t length = buffer.size();

    bool isSeparator[256] = {};
    for (int i = 0; i < 199 && separators[i] != '\0'; ++i) isSeparator[static_cast<unsigned char>(separators[i])] = true;

    int count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < length && isSeparator[static_cast<unsigned char>(line[i])]) ++i;
        if (i >= length) break;
        const std::size_t start = i;
        while (i < length && !isSeparator[static_cast<unsigned char>(line[i])]) ++i;
        ++count;
        if (fields.size() < static_cast<std::size_t>(count) + 2) fields.resize(static_cast<std::size_t>(count) + 2);
        fields[static_cast<std::size_t>(count)].assign(line + start, i - start);
    }
    if (count == 0) {
        count = 1;
        if (fields.size() < 3) fields.resize(3);
        fields[1].clear();
    }
    fields.resize(static_cast<std::size_t>(count) + 2);
    fields[0].clear();
    fields[static_cast<std::size_t>(count) + 1].clear();
    return count;
}

int SplitNames(const std::string& text, const char* separators, std::vector<std::string>& names) {
    names.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t cut = text.find_first_of(separators, start);
        if (cut == std::string::npos) break;
        if (cut > start) names.push_back(text.substr(start, cut - start));
        start = cut + 1;
    }
    if (start < text.size()) names.push_back(text.substr(start));
    return static_cast<int>(names.size());
}
