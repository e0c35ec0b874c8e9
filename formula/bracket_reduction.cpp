// One bracket cycle: the innermost bracket pair, the function name before it and the
// write-back of its value.

#include <cstring>

#include "formula/flat_text.h"
#include "formula/formula_evaluator.h"
#include "formula/formula_messages.h"

int formulaEvaluator::ReduceInnermostBracket(std::string& work)
{
    size_t searchFrom = 0;
    return ReduceInnermostBracketFrom(work, searchFrom);
}

int formulaEvaluator::ReduceInnermostBracketFrom(std::string& work, size_t& searchFrom)
{
    // No ')' stands before searchFrom: the text before a reduced bracket is unchanged.
    const size_t close = work.find(')', searchFrom);
    if (close == std::string::npos) {
        // Only the last cycle sees no ')': a '(' still standing was never closed.
        if (work.find('(') != std::string::npos) {
            Raise(formulaMessages::noCloseBracket);
            return 0;
        }
        ReduceFlat(work);
        return 0;
    }
    const void* found = close == 0 ? nullptr : memrchr(work.data(), '(', close);
    if (!found) {
        Raise(formulaMessages::noOpenBracket);
        return 0;
    }
    const size_t open = static_cast<size_t>(static_cast<const char*>(found) - work.data());
    const size_t start = NameStart(work, open);
    searchFrom = start;
    const std::string_view name = std::string_view(work).substr(start, open - start);
    if (name.empty()) {
        // A bracket without a name: its content reduced as one flat text.
        argumentText_.assign(work, open + 1, close - open - 1);
        ReduceFlat(argumentText_);
        work.replace(start, close - start + 1, argumentText_);
    } else {
        const std::string value = CallBuiltin(
            name, std::string_view(work).substr(open + 1, close - open - 1));
        if (!errorFlag)
            work.replace(start, close - start + 1, value);
    }
    return errorFlag ? 0 : 1;
}

std::string formulaEvaluator::NameBeforeBracket(const std::string& text, int openPosition,
                                                int& start) const
{
    start = 0;
    if (openPosition <= 0 || static_cast<size_t>(openPosition) > text.size())
        return std::string();
    start = static_cast<int>(NameStart(text, static_cast<size_t>(openPosition)));
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(openPosition - start));
}

size_t formulaEvaluator::NameStart(std::string_view text, size_t open) const
{
    for (size_t i = open; i-- > 0;)
        if (nameStopTable_[static_cast<unsigned char>(text[i])])
            return i + 1;
    return 0;
}

int formulaEvaluator::ApplyBracket(std::string& work, const std::string& name,
                                   const std::string& content, int start, int end)
{
    if (name.empty()) {
        std::string value = content;
        ReduceFlat(value);
        ReplaceSpan(work, value, start, end);
        return 1;
    }
    const std::string value = CallBuiltin(name, content);
    if (errorFlag)
        return 0;
    ReplaceSpan(work, value, start, end);
    return 1;
}

void formulaEvaluator::ReplaceSpan(std::string& text, const std::string& value, int first,
                                   int last) const
{
    if (first < 0)
        first = 0;
    if (first > static_cast<int>(text.size()))
        first = static_cast<int>(text.size());
    const size_t count = last < first ? 0 : static_cast<size_t>(last - first + 1);
    text.replace(static_cast<size_t>(first), count, value);
}

std::string formulaEvaluator::PopArgument(std::string& list) const
{
    const size_t comma = list.find(',');
    std::string argument;
    if (comma == std::string::npos) {
        argument.swap(list);
        list.clear();
    } else {
        argument = list.substr(0, comma);
        list.erase(0, comma + 1);
    }
    return argument;
}

std::string formulaEvaluator::EvalPi(std::string_view) const
{
    return "3.1415926535897932384626433";
}
