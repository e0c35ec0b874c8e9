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

std::string IntText(long long value);
std::string GText(double value);
std::string FText(double value);
std::string PrecisionGText(double value, int precision);

}  // namespace numtext
