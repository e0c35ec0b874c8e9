#include "data/fast_number.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

// Powers of ten that doubles hold exactly.
constexpr double kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Mantissas of up to 15 digits are below 2^53 and so exact; a 16th digit goes to from_chars
// at once rather than after a wasted pass.
constexpr int kExactDigits = 15;

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The blanks that strtod skips in the "C" locale: space, \t, \n, \v, \f, \r.
inline bool IsBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') < 5; }

// Decimal text the exact reading cannot take (long mantissas, far exponents), read by
// std::from_chars, which rounds correctly as strtod does. `digits` points past the sign.
// False when the value lies beyond the range of doubles: strtod's answer then (infinity,
// zero, a denormal with ERANGE) is left to strtod.
bool ReadLongDecimal(const char* digits, bool negative, double* value, const char** end) {
    const char* const last = digits + std::strlen(digits);  // from_chars stops where the number ends
    double v = 0;
    const std::from_chars_result r = std::from_chars(digits, last, v, std::chars_format::general);
    if (r.ec != std::errc()) return false;
    *value = negative ? -v : v;
    *end = r.ptr;
    return true;
}

}  // namespace

bool ReadPlainDecimal(const char* text, double* value, const char** end) {
    const char* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return false;  // hexadecimal
    const char* const digitsStart = p;

    std::uint64_t mantissa = 0;
    int digits = 0;     // significant digits taken into the mantissa
    int scale = 0;      // power of ten of the mantissa's last digit, before the exponent
    bool anyDigit = false;

    while (*p == '0') {
        ++p;
        anyDigit = true;
    }
    for (; IsDigit(*p); ++p) {
        if (digits == kExactDigits) return ReadLongDecimal(digitsStart, negative, value, end);
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++digits;
        anyDigit = true;
    }
    if (*p == '.') {
        ++p;
        if (digits == 0) {
            for (; *p == '0'; ++p) {
                --scale;
                anyDigit = true;
            }
        }
        for (; IsDigit(*p); ++p) {
            if (digits == kExactDigits) return ReadLongDecimal(digitsStart, negative, value, end);
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++digits;
            --scale;
            anyDigit = true;
        }
    }
    if (!anyDigit) return false;

    if (*p == 'e' || *p == 'E') {
        // The exponent counts only when at least one digit follows its sign.
        const char* e = p + 1;
        bool negativeExponent = false;
        if (*e == '+' || *e == '-') {
            negativeExponent = *e == '-';
            ++e;
        }
        if (IsDigit(*e)) {
            int exponent = 0;
            int count = 0;
            for (; IsDigit(*e); ++e) {
                if (++count > 4) return ReadLongDecimal(digitsStart, negative, value, end);
                exponent = exponent * 10 + (*e - '0');
            }
            scale += negativeExponent ? -exponent : exponent;
            p = e;
        }
    }

    double v;
    if (mantissa == 0) {
        v = 0.0;
    } else {
        if (mantissa > (std::uint64_t{1} << 53)) return ReadLongDecimal(digitsStart, negative, value, end);
        v = static_cast<double>(mantissa);
        // One correctly rounded operation on two exact operands.
        if (scale < 0) {
            if (scale < -22) return ReadLongDecimal(digitsStart, negative, value, end);
            v /= kExactPowersOfTen[-scale];
        } else if (scale > 0) {
            if (scale > 22) return ReadLongDecimal(digitsStart, negative, value, end);
            v *= kExactPowersOfTen[scale];
        }
    }
    *value = negative ? -v : v;
    *end = p;
    return true;
}

double ReadLeadingNumber(const char* text) {
    double v;
    const char* end;
    if (ReadPlainDecimal(text, &v, &end)) return v;
    return std::strtod(text, nullptr);
}
