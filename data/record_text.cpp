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

int RecordText::SplitLine(std::string& text, std::string& field) {
    const std::size_t tab = text.find('\t');
    if (tab != std::string::npos && tab > 0) {
        field = TrimLineControls(text, 0, tab);
        text.erase(0, tab + 1);
        return 1;
    }
    if (text.empty()) return 0;
    field = TrimLineControls(text, 0, text.size());
    text.clear();
    return 1;
}

int RecordText::SplitClipboardText(std::string& text, std::string& line) {
    const std::size_t lf = text.find('\n');
    if (lf == std::string::npos || lf == 0) return 0;
    line = text.substr(0, lf);
    text.erase(0, lf + 1);
    return 1;
}

namespace {

// getline's buffer, kept between calls and released at exit.
struct LineBuffer {
    char* data = nullptr;
    std::size_t capacity = 0;
    ~LineBuffer() { std::free(data); }
};

}  // namespace

int ReadLineFields(std::FILE* file, const char* separators, std::vector<std::string>& fields) {
    static thread_local LineBuffer buffer;
    const ssize_t read = getline(&buffer.data, &buffer.capacity, file);
    if (read < 0) return 0;
    // The text ends at the first NUL, as for any C string.
    std::size_t length = std::strlen(buffer.data);
    char* line = buffer.data;
    // Lines from Windows end in CR LF; the CR is no part of the last field.
    if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
        line[length - 2] = '\n';
        --length;
    } else if (length >= 1 && line[length - 1] == '\r') {
        --length;
    }

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
