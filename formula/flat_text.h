#pragma once

// Scanning helpers shared by the operator passes and the built-in functions.

#include <cstdint>
#include <string>
#include <string_view>

namespace flattext {

// Membership in one of the evaluator's short character sets.
inline bool InSet(std::string_view set, char c)
{
    for (char s : set)
        if (s == c)
            return true;
    return false;
}

// No '.', 'e' or 'E': the operand uses integer arithmetic (an empty text too).
bool IsIntegerText(std::string_view text);

// A '+' or '-' at i that is an operator, not the sign of an exponent after e or E.
bool IsOperatorSign(std::string_view text, size_t i);

// First operator sign at position 1 or later; -1 after 10000 probes or when none.
int FindSign(std::string_view text, char sign);

// Length of the leading signed term of a sum (the whole text when no sign follows).
size_t TermLength(std::string_view text);

// An integer text within the signed 32-bit range.
bool ReadOperandInt32(std::string_view text, std::int32_t& value);

// Two signs side by side somewhere in the text.
bool HasSignPair(std::string_view text);

// One left-to-right pass each: "--" to "+", "+-" to "-", "-+" to "-", "++" to "+".
void FoldSignPairs(std::string& text);

}  // namespace flattext
