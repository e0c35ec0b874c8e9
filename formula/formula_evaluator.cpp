#include "formula/formula_evaluator.h"

#include "formula/flat_text.h"
#include "formula/formula_messages.h"
#include "statistics/random.h"

const char formulaLetters[] =
    "`~@#$%&_=qwrtyuiop[]QWRTYUIOP{}asdfghjkl;'ASDFGHJKL:zxcvbnm,ZXCVBNM<>?";
static_assert(sizeof formulaLetters == 71, "70 letters and the terminator");

formulaEvaluator theFormulaEvaluator;

namespace {

constexpr int kCycleLimit = 10000;
constexpr int kReplaceLimit = 10000;

}  // namespace

formulaEvaluator::formulaEvaluator()
    : wordBefore(" ,+-*/^("), wordAfter(" ,+-*/^)["), nameStops("+-*/^(,")
{
    for (char c : nameStops)
        nameStopTable_[static_cast<unsigned char>(c)] = true;
    RandomSeedFromClock();
}

std::string formulaEvaluator::Evaluate(const std::string& formula)
{
    std::string& work = workText_;
    work.assign(formula);
    errorText.clear();
    errorFlag = 0;
    SubstituteConstants(work);
    int cycles = 0;
    size_t searchFrom = 0;
    for (;;) {
        const int reduced = ReduceInnermostBracketFrom(work, searchFrom);
        ++cycles;
        if (cycles > kCycleLimit) {
            // Giving up is a failure like any other: callers test the flag.
            errorText = formulaMessages::tooBig;
            errorFlag = 1;
            return errorText;
        }
        if (errorFlag)
            return errorText;
        if (!reduced)
            return work;
    }
}

namespace {

// Character classes for the one scan of SubstituteConstants.
enum : unsigned char { kBlank = 1, kLetterE = 2, kLetterP = 4, kSign = 8 };

struct ConstantScanTable {
    unsigned char cls[256] = {};
    constexpr ConstantScanTable()
    {
        cls[static_cast<unsigned char>(' ')] = kBlank;
        cls[static_cast<unsigned char>('e')] = kLetterE;
        cls[static_cast<unsigned char>('p')] = kLetterP;
        cls[static_cast<unsigned char>('+')] = kSign;
        cls[static_cast<unsigned char>('-')] = kSign;
    }
};

constexpr ConstantScanTable kConstantScan;

}  // namespace

void formulaEvaluator::SubstituteConstants(std::string& text)
{
    unsigned seen = 0, pair = 0, previous = 0;
    for (char c : text) {
        const unsigned cls = kConstantScan.cls[static_cast<unsigned char>(c)];
        seen |= cls;
        pair |= previous & cls;
        previous = cls;
    }
    if (seen & kBlank) {
        size_t kept = 0;
        for (char c : text)
            if (c != ' ')
                text[kept++] = c;
        text.resize(kept);
        // Removing blanks may bring signs together.
        pair = 0;
        previous = 0;
        for (char c : text) {
            const unsigned cls = kConstantScan.cls[static_cast<unsigned char>(c)];
            pair |= previous & cls;
            previous = cls;
        }
    }
    if (pair & kSign) {
        text = ReplaceAll(text, "-+", "-");
        text = ReplaceAll(text, "+-", "-");
        text = ReplaceAll(text, "++", "+");
    }
    static const std::string pi = "pi", piValue = "3.14159265359";
    static const std::string e = "e", eValue = "2.7182818284590452353602874";
    if (seen & kLetterP)
        ReplaceWholeWord(text, pi, piValue);
    if (seen & kLetterE)
        ReplaceWholeWord(text, e, eValue);
}

std::string formulaEvaluator::ReplaceAll(const std::string& text, const std::string& find,
                                         const std::string& replacement)
{
    std::string result = text;
    if (find.empty())
        return result;
    // A replacement that holds the searched text would grow without end: one pass then.
    const int passes =
        replacement.find(find) == std::string::npos ? kReplaceLimit : 1;
    for (int pass = 0; pass < passes; ++pass) {
        size_t at = result.find(find);
        if (at == std::string::npos)
            break;
        std::string next;
        next.reserve(result.size());
        size_t from = 0;
        while (at != std::string::npos) {
            next.append(result, from, at - from);
            next += replacement;
            from = at + find.size();
            at = result.find(find, from);
        }
        next.append(result, from, std::string::npos);
        result.swap(next);
    }
    return result;
}

int formulaEvaluator::ReplaceWholeWord(std::string& text, const std::string& name,
                                       const std::string& value)
{
    if (name.empty())
        return 0;
    int count = 0;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(name, from);
        if (at == std::string::npos)
            break;
        const size_t after = at + name.size();
        const bool atEnd = after == text.size();
        const bool before = at == 0 || flattext::InSet(wordBefore, text[at - 1]);
        const bool follows = atEnd || flattext::InSet(wordAfter, text[after]);
        if (before && follows) {
            text.replace(at, name.size(), value);
            ++count;
            if (atEnd)
                break;
            // Go on after the inserted value: a value that holds the name itself
            // must not be searched again.
            from = at + value.size();
            continue;
        }
        if (atEnd)
            break;
        from = at + 1;
    }
    return count;
}
