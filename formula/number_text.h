#pragma once

// Reading and writing the numbers of formula text, as the C library's conversions do
// in the "C" numeric locale, without depending on the process locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace numtext {

// The leading decimal number of a text, as atof reads it: blanks, sign, digits,
// point, digits, exponent. Hexadecimal, infinity and not-a-number forms are not
// numbers here; a text that does not begin with a number reads as 0.
double ReadReal(std::string_view text);

// As ReadReal; consumed is the length of the number with its leading blanks and sign
// (0 when the text does not begin with a number).
double ReadRealPrefix(std::string_view text, size_t& consumed);

// The leading integer of a text, as atoi reads it but in 64 bits. Returns false when
// the value lies outside the signed 32-bit range (the caller then reads it as a real).
bool ReadInt32(std::string_view text, std::int32_t& value);

// As ReadInt32, clamping a value outside the signed 32-bit range to it.
std::int32_t ReadInt32Clamped(std::string_view text);

// printf "%d", "%g" (six significant digits), "%f" (six decimals), "%.Ng".
void AppendInt(std::string& out, long long value);
void AppendG(std::string& out, double value);
void AppendF(std::string& out, double value);
void AppendPrecisionG(std::string& out, double value, int precision);

// The same into a buffer (at least 400 characters); the length written.
size_t WriteG(char* buffer, double value);
size_t WriteF(char* buffer, double value);

// The value that reading back the "%g" (resp. "%f") text of a finite value gives.
double ReadBackG(double value);
double ReadBackF(double value);
// As ReadBackG; integerText tells whether that text holds none of '.', 'e' and 'E'.
double ReadBackG(double value, bool& integerText);

// Fast forms of ReadBackG and ReadBackF for a positive finite magnitude: false when the
// double arithmetic cannot decide the rounding for certain (a near tie, a magnitude far from
// 1), and the caller then takes ReadBackG or ReadBackF.
inline constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline constexpr double kInversePowersOfTen[6] = {1, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5};

inline bool QuickReadBackG(double a, double& rounded, bool& integerText)
{
    std::uint64_t bits;
    __builtin_memcpy(&bits, &a, sizeof bits);
    // floor(log10(a)) from the binary exponent, or one less.
    int e = ((static_cast<int>((bits >> 52) & 0x7ff) - 1023) * 78913) >> 18;
    if (e < -16 || e > 25)
        return false;
    int k = 5 - e;
    // Exact powers of ten make each of these one correctly rounded operation.
    double m = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
    if (m >= 999999.5) {
        --k, ++e;
        m = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
    } else if (m < 99999.5) {
        ++k, --e;
        m = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
    }
    if (!(m >= 99999.5 && m < 999999.5))
        return false;
    // The nearest whole number by adding and taking away 2^52 (no integer conversions on
    // the way); m carries one rounding error of at most 6e-11 here, so a fraction near
    // one half is left to the exact conversion.
    const double digits = (m + 0x1p52) - 0x1p52;
    const double fraction = m - digits;
    if (fraction > 0.5 - 1e-9 || fraction < -0.5 + 1e-9)
        return false;
    rounded = k >= 0 ? digits / kPowersOfTen[k] : digits * kPowersOfTen[-k];
    // "%g" writes without exponent for -4 <= e < 6; below 10^6 a fraction of six digits
    // never reads back as a whole number. The text is whole when the last k of its six
    // digits are zeros: decided on the digits, beside the division rather than after it
    // (digits times 10^-k lies within a rounding of the quotient, so the nearest whole
    // number is the quotient exactly when there is one).
    integerText = false;
    if (e >= 0 && e < 6) {
        const double whole = (digits * kInversePowersOfTen[k] + 0x1p52) - 0x1p52;
        integerText = whole * kPowersOfTen[k] == digits;
    }
    return true;
}

inline bool QuickReadBackF(double a, double& rounded)
{
    if (!(a < 1e9))
        return false;
    const double m = a * 1e6;
    const double whole = (m + 0x1p52) - 0x1p52;
    const double fraction = m - whole;
    const double margin = m * 2.3e-16 + 1e-9;
    if (fraction > 0.5 - margin || fraction < -0.5 + margin)
        return false;
    rounded = whole / 1e6;
    return true;
}

std::string IntText(long long value);
std::string GText(double value);
std::string FText(double value);
std::string PrecisionGText(double value, int precision);

}  // namespace numtext
