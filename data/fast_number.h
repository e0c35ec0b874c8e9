#pragma once

// Reading the leading number of a text exactly as the C library's strtod/atof do
// in the "C" locale, fast for plain decimal text.

// Reads a plain decimal number (blanks, sign, digits, point, exponent) at the start
// of text when its value is certain to be exact: at most 19 significant digits
// forming an integer below 2^53, scaled by at most 10^22. Then stores the value
// (equal to strtod's) and the end of the number, and returns true. Returns false
// for anything else (hexadecimal, infinity, NaN, no digits, long or far-scaled
// numbers), leaving the outputs alone.
bool ReadPlainDecimal(const char* text, double* value, const char** end);

// The value that atof(text) gives: the fast reading when it applies, else strtod.
double ReadLeadingNumber(const char* text);
