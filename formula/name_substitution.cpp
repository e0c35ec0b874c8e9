// Variables and record values written into formula text before evaluation.

#include "formula/flat_text.h"
#include "formula/formula_evaluator.h"
#include "formula/number_text.h"

namespace {

int SubstituteVariable(formulaEvaluator& evaluator, std::string& formula, const char* name,
                       double value)
{
    evaluator.ReplaceWholeWord(formula, name, numtext::GText(value));
    const size_t letter = formula.find_first_of(formulaLetters);
    return (letter != std::string::npos && letter > 0) ? 0 : 1;
}

int LowerAscii(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? u - 'A' + 'a' : u;
}

bool HoldsFormulaLetter(std::string_view text)
{
    return text.find_first_of(formulaLetters) != std::string_view::npos;
}

}  // namespace

int formulaEvaluator::SubstituteX(std::string& formula, double x)
{
    return SubstituteVariable(*this, formula, "x", x);
}

int formulaEvaluator::SubstituteY(std::string& formula, double y)
{
    return SubstituteVariable(*this, formula, "y", y);
}

int formulaEvaluator::IsWholeWordAt(const std::string& text, const std::string& name,
                                    int position) const
{
    if (position < 0)
        return 0;
    const size_t m = static_cast<size_t>(position);
    const size_t after = m + name.size();
    if (after > text.size())
        return 0;
    if (m > 0 && !flattext::InSet(wordBefore, text[m - 1]))
        return 0;
    if (after < text.size() && !flattext::InSet(wordAfter, text[after]))
        return 0;
    return 1;
}

void formulaEvaluator::SubstituteParameter(std::string& formula, const std::string& name,
                                           std::span<const double> values, int firstValue,
                                           int recordCount, int parametersPerRecord, int record,
                                           int parameter)
{
    size_t kept = 0;
    for (char c : formula)
        if (c != ' ')
            formula[kept++] = c;
    formula.resize(kept);
    if (name.empty())
        return;
    size_t from = 0;
    for (;;) {
        const size_t at = formula.find(name, from);
        if (at == std::string::npos)
            return;
        size_t inserted = 0;
        if (IsWholeWordAt(formula, name, static_cast<int>(at)) &&
            SubstituteIndexedValueAt(formula, at, name, values, firstValue, recordCount,
                                     parametersPerRecord, record, parameter, inserted)) {
            from = at + inserted;
        } else {
            from = at + 1;
        }
    }
}

int formulaEvaluator::SubstituteIndexedValue(std::string& formula, int position,
                                             const std::string& name,
                                             std::span<const double> values, int firstValue,
                                             int recordCount, int parametersPerRecord,
                                             int record, int parameter)
{
    if (position < 0 || static_cast<size_t>(position) > formula.size())
        return 0;
    size_t inserted = 0;
    return SubstituteIndexedValueAt(formula, static_cast<size_t>(position), name, values,
                                    firstValue, recordCount, parametersPerRecord, record,
                                    parameter, inserted);
}

int formulaEvaluator::SubstituteIndexedValueAt(std::string& formula, size_t position,
                                               const std::string& name,
                                               std::span<const double> values, int firstValue,
                                               int recordCount, int parametersPerRecord,
                                               int record, int parameter,
                                               size_t& insertedLength)
{
    size_t tail = position + name.size();
    if (tail > formula.size())
        tail = formula.size();
    long long shift = 0;
    if (tail < formula.size() && formula[tail] == '[') {
        const size_t close = formula.find(']', tail + 1);
        if (close != std::string::npos) {
            const std::string_view content =
                std::string_view(formula).substr(tail + 1, close - tail - 1);
            // A shift that is no plain number (a1[n]) is ignored: the record itself.
            if (!HoldsFormulaLetter(content))
                shift = numtext::ReadInt32Clamped(content);
            tail = close + 1;
        }
    }
    long long r = record + shift;
    if (r > recordCount - 1)
        r = recordCount - 1;
    if (r < 0)
        r = 0;
    const long long index = r * parametersPerRecord + firstValue + parameter;
    if (index < 0 || index >= static_cast<long long>(values.size()))
        return 0;
    const std::string value = FormatNumber(values[static_cast<size_t>(index)]);
    formula.replace(position, tail - position, value);
    insertedLength = value.size();
    return 1;
}

int formulaEvaluator::FindIndexShiftRange(const std::string& formula, int& largest,
                                          int& smallest) const
{
    largest = 0;
    smallest = 0;
    int found = 0;
    size_t from = 0;
    for (;;) {
        const size_t open = formula.find('[', from);
        if (open == std::string::npos)
            break;
        const size_t close = formula.find(']', open + 1);
        if (close == std::string::npos)
            break;
        found = 1;
        const std::string_view content =
            std::string_view(formula).substr(open + 1, close - open - 1);
        if (!HoldsFormulaLetter(content)) {
            const int k = numtext::ReadInt32Clamped(content);
            if (k > largest)
                largest = k;
            if (k < smallest)
                smallest = k;
        }
        from = close + 1;
    }
    return found;
}

void OrderNamesForSubstitution(const std::vector<std::string>& names, std::vector<int>& order)
{
    const auto greater = [](const std::string& a, const std::string& b) {
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const int ca = LowerAscii(a[i]);
            const int cb = LowerAscii(b[i]);
            if (ca != cb)
                return ca > cb;
        }
        return a.size() > b.size();
    };
    const size_t count = names.size();
    order.clear();
    std::vector<bool> picked(count, false);
    for (size_t step = 0; step < count; ++step) {
        size_t best = count;
        for (size_t i = 0; i < count; ++i) {
            if (picked[i])
                continue;
            if (best == count || greater(names[i], names[best]))
                best = i;
        }
        picked[best] = true;
        order.push_back(static_cast<int>(best));
    }
}
