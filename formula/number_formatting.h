#pragma once

// Number texts for chart labels, result lines, report tables and formulas.

#include <string>

// Exponents without leading zeros, no bare "+." or "-.": 1.5e+005 becomes 1.5e+5.
void TidyExponentText(std::string& text);

// A model formula with its coefficients put in: no blanks, single signs, " = ".
void TidyFormulaText(std::string& text);

// Labels of two neighbouring values with just enough digits to tell them apart.
void AxisLabelDigits(double a, std::string& textA, double b, std::string& textB);

// The value cut (not rounded) to n significant digits in fixed-point form.
void SignificantDigitsText(double value, std::string& text, int n);

// A value and its standard deviation as two texts, the value with the digits the
// deviation justifies (automatic) or with a fixed number of significant digits.
void FormatValueWithDeviation(double value, double deviation, std::string& valueText,
                              std::string& deviationText, int count, int automatic, int digits);

// Stable ascending insertion sort of values[0..count-1]; every index entry moves with
// the value at its position.
void SortWithIndex(unsigned* index, double* values, int count);

// SortWithIndex, then both arrays reversed.
void SortWithIndexDescending(unsigned* index, double* values, int count);
