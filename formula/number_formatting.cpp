#include "formula/number_formatting.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "formula/formula_evaluator.h"
#include "formula/number_text.h"

namespace {

// Every occurrence, left to right, not overlapping, in one pass.
void ReplaceOnce(std::string& text, std::string_view find, std::string_view replacement)
{
    size_t at = text.find(find);
    if (at == std::string::npos)
        return;
    std::string result;
    result.reserve(text.size() + 8);
    size_t from = 0;
    while (at != std::string::npos) {
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + find.size();
        at = text.find(find, from);
    }
    result.append(text, from, std::string::npos);
    text.swap(result);
}

std::string FixedText(double value, int decimals)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string SignedGText(double value)
{
    std::string text = numtext::GText(value);
    if (text[0] != '-')
        text.insert(text.begin(), '+');
    return text;
}

}  // namespace

void TidyExponentText(std::string& text)
{
    ReplaceOnce(text, "e+0", "e+");
    ReplaceOnce(text, "e+0", "e+");
    ReplaceOnce(text, "+.", "+0.");
    ReplaceOnce(text, "e-0", "e-");
    ReplaceOnce(text, "e-0", "e-");
    ReplaceOnce(text, "-.", "-0.");
}

void TidyFormulaText(std::string& text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    ReplaceOnce(text, "=+", "=");
    for (char digit = '0'; digit <= '9'; ++digit) {
        const std::string d(1, digit);
        ReplaceOnce(text, d + "e+0", d + "e");
        ReplaceOnce(text, d + "e-0", d + "e-");
    }
    ReplaceOnce(text, "=", " = ");
    ReplaceOnce(text, "--", "+");
    ReplaceOnce(text, "-+", "-");
    ReplaceOnce(text, "++", "+");
    ReplaceOnce(text, "+-", "-");
}

void AxisLabelDigits(double a, std::string& textA, double b, std::string& textB)
{
    const double d = std::fabs(b - a);
    if (d < 1e-10 || !std::isfinite(d)) {
        textA = numtext::GText(a);
        textB = numtext::GText(b);
        TidyExponentText(textA);
        TidyExponentText(textB);
        return;
    }
    int k = static_cast<int>(std::trunc(std::log10(d))) + 2;
    if (k <= 1)
        ++k;
    do {
        const int precision = k < 0 ? -k : k;
        textA = numtext::PrecisionGText(a, precision);
        textB = numtext::PrecisionGText(b, precision);
        TidyExponentText(textA);
        TidyExponentText(textB);
        ++k;
    } while (textA == textB && k < 10);
}

std::string formulaEvaluator::FormatNumber(double value) const
{
    if (std::fabs(value) < 1e20 && value >= INT_MIN && value <= INT_MAX) {
        const long long k = static_cast<long long>(std::trunc(value));
        if (std::fabs(value - static_cast<double>(k)) < integerTolerance)
            return numtext::IntText(k);
        if (std::fabs(value - static_cast<double>(k + 1)) < integerTolerance)
            return numtext::IntText(k + 1);
    }
    return numtext::PrecisionGText(value, significantDigits);
}

void SignificantDigitsText(double value, std::string& text, int n)
{
    if (value == 0) {
        text.assign(1, '0');
        return;
    }
    if (!std::isfinite(value)) {
        text = numtext::GText(value);
        return;
    }
    // A relative nudge keeps a decimal value stored just below itself (0.3 is
    // 0.29999...) from losing its last digit when the digits are cut.
    std::string t = FixedText(value + value * 1e-12, 30);
    if (value < 1) {
        const size_t first = t.find_first_of("123456789");
        long long keep = (first == std::string::npos ? -1 : static_cast<long long>(first)) + n;
        if (keep < 0)
            keep = 0;
        if (static_cast<size_t>(keep) < t.size())
            t.resize(static_cast<size_t>(keep));
    } else {
        const size_t point = t.find('.');
        if (value > std::pow(10.0, n - 1)) {
            t.resize(point);
            for (size_t j = n > 0 ? static_cast<size_t>(n) : 0; j < t.size(); ++j)
                t[j] = '0';
        } else if (point + 3 < t.size()) {
            t.resize(point + 3);
        }
    }
    const double x = numtext::ReadReal(t);
    text = (x > 1e6 || x < 1e-6) ? SignedGText(x) : t;
}

void FormatValueWithDeviation(double value, double deviation, std::string& valueText,
                              std::string& deviationText, int count, int automatic, int digits)
{
    if (!automatic) {
        valueText = numtext::PrecisionGText(value, digits);
        deviationText = numtext::PrecisionGText(deviation, digits);
    } else {
        SignificantDigitsText(deviation, deviationText, 2);
        if (deviation == 0 || count <= 1) {
            valueText = numtext::GText(value);
        } else {
            const double ratio = std::fabs(value / (deviation / std::sqrt(count)));
            if (!std::isfinite(ratio)) {
                valueText = numtext::GText(value);
            } else {
                // A value of 0 needs no digits beyond its own: no logarithm of 0.
                int k = 0;
                if (ratio > 0)
                    k = static_cast<int>(std::trunc(std::log10(ratio))) + 1;
                if (k < 0)
                    k = 0;
                valueText = numtext::PrecisionGText(value, k);
            }
        }
    }
    TidyExponentText(valueText);
}

void SortWithIndex(unsigned* index, double* values, int count)
{
    for (int i = 1; i < count; ++i) {
        const double v = values[i];
        const unsigned position = index[i];
        int j = i;
        while (j > 0 && values[j - 1] > v) {
            values[j] = values[j - 1];
            index[j] = index[j - 1];
            --j;
        }
        values[j] = v;
        index[j] = position;
    }
}

void SortWithIndexDescending(unsigned* index, double* values, int count)
{
    if (count < 2)
        return;
    SortWithIndex(index, values, count);
    std::reverse(index, index + count);
    std::reverse(values, values + count);
}
