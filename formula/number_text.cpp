#include "formula/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <system_error>

namespace numtext {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Powers of ten that doubles hold exactly.
constexpr double kExactPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^-22 .. 10^22 (nearest doubles), indexed by exponent + 22.
constexpr double kNearPowers[45] = {
    1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11,
    1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
    1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22};

char* WriteDigits(char* p, std::uint64_t v, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        p[i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return p + count;
}

// The six significant digits r (100000..999999) and decimal exponent e of a positive
// finite v as "%g" rounds them. False when the double arithmetic here cannot decide
// the rounding for certain (a near tie, an exponent beyond the exact powers of ten);
// such values are left to the exact conversion.
bool SixDigits(double v, std::uint64_t& r, int& e)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0 || biased == 0x7ff)
        return false;
    // floor(log10(v)) from the binary exponent, at most one too small; the nearest
    // power of ten settles most cases, the range checks below the rest.
    e = ((biased - 1023) * 78913) >> 18;
    if (e >= -23 && e <= 21 && v >= kNearPowers[e + 23])
        ++e;
    double m = 0;
    for (int tries = 0;; ++tries) {
        const int k = 5 - e;
        if (k > 22 || k < -22)
            return false;
        m = k >= 0 ? v * kExactPowers[k] : v / kExactPowers[-k];
        if (m < 99999.5 && tries < 3) {
            --e;
            continue;
        }
        if (m >= 999999.5 && tries < 3) {
            ++e;
            continue;
        }
        break;
    }
    r = static_cast<std::uint64_t>(m);
    const double fraction = m - static_cast<double>(r);
    // m carries one rounding error of at most 1.2e-10 here.
    if (std::fabs(fraction - 0.5) < 1e-9)
        return false;
    r += fraction > 0.5;
    if (r >= 1000000) {
        r /= 10;
        ++e;
    }
    return r >= 100000 && 5 - e <= 22 && 5 - e >= -22;
}

// The value of v rounded to six decimals, times 10^6, as "%f" rounds it.
bool SixDecimals(double a, std::uint64_t& r)
{
    if (!(a < 1e9))
        return false;
    const double m = a * 1e6;
    r = static_cast<std::uint64_t>(m);
    const double fraction = m - static_cast<double>(r);
    if (std::fabs(fraction - 0.5) < m * 2.3e-16 + 1e-9)
        return false;
    r += fraction > 0.5;
    return true;
}

// r * 10^(e-5) correctly rounded: the value a text of those digits reads back as.
double DigitsValue(std::uint64_t r, int e)
{
    const int k = 5 - e;
    const double m = static_cast<double>(r);
    return k >= 0 ? m / kExactPowers[k] : m * kExactPowers[-k];
}

char* FastG(char* out, double v)
{
    char* p = out;
    if (std::signbit(v)) {
        *p++ = '-';
        v = -v;
    }
    if (v == 0) {
        *p++ = '0';
        return p;
    }
    std::uint64_t r = 0;
    int e = 0;
    if (!SixDigits(v, r, e))
        return nullptr;
    // Trailing zeros are dropped as "%g" drops them.
    int kept = 6;
    while (r % 10 == 0) {
        r /= 10;
        --kept;
    }
    char digits[6] = {};
    WriteDigits(digits, r, kept);
    if (e >= -4 && e < 6) {
        if (e >= 0) {
            const int whole = e + 1;
            if (kept <= whole) {
                std::memcpy(p, digits, kept);
                p += kept;
                for (int i = kept; i < whole; ++i)
                    *p++ = '0';
                return p;
            }
            std::memcpy(p, digits, whole);
            p += whole;
            *p++ = '.';
            std::memcpy(p, digits + whole, kept - whole);
            return p + (kept - whole);
        }
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -e - 1; ++i)
            *p++ = '0';
        std::memcpy(p, digits, kept);
        return p + kept;
    }
    *p++ = digits[0];
    if (kept > 1) {
        *p++ = '.';
        std::memcpy(p, digits + 1, kept - 1);
        p += kept - 1;
    }
    *p++ = 'e';
    int x = e;
    if (x < 0) {
        *p++ = '-';
        x = -x;
    } else {
        *p++ = '+';
    }
    if (x >= 100) {
        *p++ = static_cast<char>('0' + x / 100);
        x %= 100;
    }
    *p++ = static_cast<char>('0' + x / 10);
    *p++ = static_cast<char>('0' + x % 10);
    return p;
}

char* FastF(char* out, double v)
{
    std::uint64_t r = 0;
    if (!SixDecimals(std::fabs(v), r))
        return nullptr;
    char* p = out;
    if (std::signbit(v))
        *p++ = '-';
    p = std::to_chars(p, p + 12, r / 1000000).ptr;
    *p++ = '.';
    return WriteDigits(p, r % 1000000, 6);
}

}  // namespace

double ReadReal(std::string_view text)
{
    size_t consumed = 0;
    return ReadRealPrefix(text, consumed);
}

double ReadRealPrefix(std::string_view text, size_t& consumed)
{
    const char* const begin = text.data();
    const char* p = begin;
    const char* end = p + text.size();
    consumed = 0;
    if (p < end && !IsDigit(*p)) {
        while (p < end && IsBlank(*p))
            ++p;
    }
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Digits are gathered while the pattern is checked: up to 19 significant digits
    // and a power of ten within the exact range make one correctly rounded
    // multiplication or division; anything else goes to the exact conversion.
    const char* start = p;
    std::uint64_t mantissa = 0;
    while (p < end && *p == '0')
        ++p;
    const char* first = p;
    for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
        mantissa = mantissa * 10 + d;
    long significant = p - first;
    bool digits = p > start;
    int scale = 0;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        if (significant == 0)
            while (p < end && *p == '0')
                ++p;
        const char* counted = p;
        for (unsigned d; p < end && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
            mantissa = mantissa * 10 + d;
        significant += p - counted;
        scale = -static_cast<int>(p - fraction > 100000 ? 100000 : p - fraction);
        digits = digits || p > fraction;
    }
    if (!digits)
        return 0.0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q < end && (*q == '+' || *q == '-'))
            negativeExponent = *q++ == '-';
        if (q < end && IsDigit(*q)) {
            int exponent = 0;
            for (; q < end && IsDigit(*q); ++q) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (*q - '0');
            }
            scale += negativeExponent ? -exponent : exponent;
            p = q;
        }
    }
    consumed = static_cast<size_t>(p - begin);
    double value = 0.0;
    if (significant == 0)
        return negative ? -value : value;
    if (significant <= 19 && mantissa <= (std::uint64_t{1} << 53) && scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        value = scale < 0 ? m / kExactPowers[-scale] : m * kExactPowers[scale];
        return negative ? -value : value;
    }
    const auto result = std::from_chars(start, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow reads as infinity and underflow as the nearest tiny value, as strtod does.
        const std::string copy(start, p);
        value = std::strtod(copy.c_str(), nullptr);
    }
    return negative ? -value : value;
}

bool ReadInt32(std::string_view text, std::int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[i] - '0');
            if (magnitude > 1LL << 40)
                tooLarge = true;
        }
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (tooLarge || signedValue < INT_MIN || signedValue > INT_MAX) {
        value = 0;
        return false;
    }
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

std::int32_t ReadInt32Clamped(std::string_view text)
{
    std::int32_t value = 0;
    if (ReadInt32(text, value))
        return value;
    return ReadReal(text) < 0 ? INT_MIN : INT_MAX;
}

void AppendInt(std::string& out, long long value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

size_t WriteG(char* buffer, double value)
{
    char* end = FastG(buffer, value);
    if (!end)
        end = std::to_chars(buffer, buffer + 64, value, std::chars_format::general, 6).ptr;
    return static_cast<size_t>(end - buffer);
}

size_t WriteF(char* buffer, double value)
{
    char* end = FastF(buffer, value);
    if (!end)
        end = std::to_chars(buffer, buffer + 400, value, std::chars_format::fixed, 6).ptr;
    return static_cast<size_t>(end - buffer);
}

double ReadBackG(double value)
{
    std::uint64_t r = 0;
    int e = 0;
    const double a = std::fabs(value);
    if (a == 0)
        return value;
    if (SixDigits(a, r, e)) {
        const double rounded = DigitsValue(r, e);
        return std::signbit(value) ? -rounded : rounded;
    }
    char buffer[64];
    return ReadReal(std::string_view(buffer, WriteG(buffer, value)));
}

double ReadBackG(double value, bool& integerText)
{
    std::uint64_t r = 0;
    int e = 0;
    const double a = std::fabs(value);
    if (a == 0) {
        integerText = true;
        return value;
    }
    if (SixDigits(a, r, e)) {
        // "%g" writes without exponent for -4 <= e < 6, and without a point when no
        // significant digit stands after it.
        integerText = e >= 0 && e < 6 && r % static_cast<std::uint64_t>(kExactPowers[5 - e]) == 0;
        const double rounded = DigitsValue(r, e);
        return std::signbit(value) ? -rounded : rounded;
    }
    char buffer[64];
    const std::string_view text(buffer, WriteG(buffer, value));
    integerText = text.find_first_of(".eE") == std::string_view::npos;
    return ReadReal(text);
}

double ReadBackF(double value)
{
    std::uint64_t r = 0;
    if (SixDecimals(std::fabs(value), r)) {
        const double rounded = static_cast<double>(r) / 1e6;
        return std::signbit(value) ? -rounded : rounded;
    }
    char buffer[400];
    return ReadReal(std::string_view(buffer, WriteF(buffer, value)));
}

void AppendG(std::string& out, double value)
{
    char buffer[64];
    out.append(buffer, WriteG(buffer, value));
}

void AppendF(std::string& out, double value)
{
    char buffer[400];
    out.append(buffer, WriteF(buffer, value));
}

void AppendPrecisionG(std::string& out, double value, int precision)
{
    // A negative precision acts as if none were given, as printf's '*' does.
    if (precision < 0)
        precision = 6;
    if (precision > 400)
        precision = 400;
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, precision);
    out.append(buffer, result.ptr);
}

std::string IntText(long long value)
{
    std::string out;
    AppendInt(out, value);
    return out;
}

std::string GText(double value)
{
    std::string out;
    AppendG(out, value);
    return out;
}

std::string FText(double value)
{
    std::string out;
    AppendF(out, value);
    return out;
}

std::string PrecisionGText(double value, int precision)
{
    std::string out;
    AppendPrecisionG(out, value, precision);
    return out;
}

}  // namespace numtext
