#pragma once
#include <charconv>
#include <system_error>

// Reading the leading number of a text exactly as the C library's strtod/atof do
// in the "C" locale, fast for plain decimal text.

// Reads a plain decimal number (blanks, sign, digits, point, exponent) at the start
// of text: exactly by one operation on exact operands when it has at most 15 significant
// digits scaled by at most 10^22, else by std::from_chars
// (17-digit values and the like). Both round correctly, so the value equals strtod's.
// Stores the value and the end of the number, and returns true. Returns false for
// anything else (hexadecimal, infinity, NaN, no digits, a value beyond the range of
// doubles), leaving the outputs alone.
bool ReadPlainDecimal(const char* text, double* value, const char** end);

// Reads text [begin, end) that is one decimal number and nothing else (a line feed after
// it allowed) by a single std::from_chars: digits, point and exponent with an optional
// minus sign, no blanks. Stores the value and returns true; false for anything else
// (a plus sign, hexadecimal, infinity, NaN, a value beyond the range of doubles, more
// text after the number), leaving value alone. Where it answers, the value is the one
// ReadPlainDecimal gives, since both round correctly.
// Inline: it runs once for every field of an import.
inline bool ReadWholeDecimal(const char* begin, const char* end, double* value) {
    if (begin == end) return false;
    // A leading digit, point or minus keeps out "inf" and "nan", which from_chars reads.
    const char first = *begin == '-' && end - begin > 1 ? begin[1] : *begin;
    if (static_cast<unsigned char>(first - '0') >= 10 && first != '.') return false;
    double v = 0;
    const std::from_chars_result r = std::from_chars(begin, end, v, std::chars_format::general);
    if (r.ec != std::errc()) return false;
    if (r.ptr != end && !(r.ptr + 1 == end && *r.ptr == '\n')) return false;
    *value = v;
    return true;
}

// The value that atof(text) gives: the fast reading when it applies, else strtod.
double ReadLeadingNumber(const char* text);
