#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The 70 characters that cannot belong to a number: every Latin letter but e and E,
// and a set of signs. A text that holds none of them can be read as a number.
extern const char formulaLetters[];

// Evaluates formula text by rewriting it: every step finds one operation, computes it
// and writes the result back as a number until a single number is left. The program
// has one instance, theFormulaEvaluator; it keeps the state of one evaluation.
class formulaEvaluator {
public:
    formulaEvaluator();

    std::string errorText;            // message of the last error
    int errorFlag = 0;                // 1 once an error occurred in the current evaluation
    double technicalZero = 1e-40;     // magnitudes below it count as zero
    double overflowBound = 1e+40;     // a power's running value above it overflows
    std::string wordBefore;           // characters allowed directly before a whole word
    std::string wordAfter;            // characters allowed directly after a whole word
    std::string nameStops;            // characters that end a function name (read at construction)
    double integerTolerance = 1e-20;  // read by FormatNumber
    int significantDigits = 20;       // read by FormatNumber

    // Evaluation entry: the result text, or the error text with errorFlag set.
    std::string Evaluate(const std::string& formula);

    // Removes blanks, folds sign pairs and writes the constants pi and e.
    void SubstituteConstants(std::string& text);
    std::string ReplaceAll(const std::string& text, const std::string& find,
                           const std::string& replacement);
    // Replaces every whole-word occurrence of name; returns the number replaced.
    int ReplaceWholeWord(std::string& text, const std::string& name, const std::string& value);

    // Flat (bracket-free) text: power, then multiply and divide, then the sum.
    int ReduceFlat(std::string& text);
    int ReducePower(std::string& text);
    int ReduceProduct(std::string& text);
    std::string ReduceSum(const std::string& text);
    std::string Power(const std::string& base, const std::string& exponent);
    std::string PopTerm(std::string& text);
    int IsIntegerText(const std::string& text) const;
    int IsExponentSignAt(const std::string& text, int position) const;
    int IsZeroText(const std::string& text) const;
    int FindPlusSign(const std::string& text) const;
    int FindMinusSign(const std::string& text) const;

    // One bracket cycle and the function calls.
    int ReduceInnermostBracket(std::string& work);
    std::string NameBeforeBracket(const std::string& text, int openPosition, int& start) const;
    int ApplyBracket(std::string& work, const std::string& name, const std::string& content,
                     int start, int end);
    void ReplaceSpan(std::string& text, const std::string& value, int first, int last) const;
    std::string PopArgument(std::string& list) const;
    std::string CallBuiltin(std::string_view name, std::string_view arguments);
    std::string EvalPi(std::string_view arguments) const;

    // Built-in functions: argument list in, value text out ("" after a domain error).
    std::string EvalPct(std::string_view arguments);
    std::string EvalFactorial(std::string_view arguments);
    std::string EvalLn(std::string_view arguments);
    std::string EvalIf(std::string_view arguments);
    std::string EvalExp(std::string_view arguments);
    std::string EvalLog(std::string_view arguments);
    std::string EvalSin(std::string_view arguments);
    std::string EvalSum(std::string_view arguments);
    std::string EvalCos(std::string_view arguments);
    std::string EvalAbs(std::string_view arguments);
    std::string EvalTan(std::string_view arguments);
    std::string EvalInt(std::string_view arguments);
    std::string EvalRad(std::string_view arguments);
    std::string EvalMin(std::string_view arguments);
    std::string EvalMax(std::string_view arguments);
    std::string EvalPow(std::string_view arguments);
    std::string EvalAsin(std::string_view arguments);
    std::string EvalAcos(std::string_view arguments);
    std::string EvalAtan(std::string_view arguments);
    std::string EvalSqrt(std::string_view arguments);
    std::string EvalRand(std::string_view arguments);
    std::string EvalMean(std::string_view arguments);
    std::string EvalCtan(std::string_view arguments);
    std::string EvalActan(std::string_view arguments);
    std::string EvalLog10(std::string_view arguments);
    std::string EvalGauss(std::string_view arguments);
    std::string EvalSigma(std::string_view arguments);
    std::string EvalTrust(std::string_view arguments);
    std::string EvalPow10(std::string_view arguments);
    std::string EvalFloor(std::string_view arguments);
    std::string EvalStudent(std::string_view arguments);
    std::string EvalSolve1(std::string_view arguments);
    std::string EvalSolve2p(std::string_view arguments);
    std::string EvalSolve2m(std::string_view arguments);
    std::string EvalDegree(std::string_view arguments);

    // Substitution of variables and record values into formula text.
    int SubstituteX(std::string& formula, double x);
    int SubstituteY(std::string& formula, double y);
    int IsWholeWordAt(const std::string& text, const std::string& name, int position) const;
    void SubstituteParameter(std::string& formula, const std::string& name,
                             std::span<const double> values, int firstValue, int recordCount,
                             int parametersPerRecord, int record, int parameter);
    int SubstituteIndexedValue(std::string& formula, int position, const std::string& name,
                               std::span<const double> values, int firstValue, int recordCount,
                               int parametersPerRecord, int record, int parameter);
    int FindIndexShiftRange(const std::string& formula, int& largest, int& smallest) const;

    // An integer within integerTolerance without decimals, else significantDigits digits.
    std::string FormatNumber(double value) const;

private:
    // Domain and arithmetic failures; the first failure of an evaluation is kept.
    void Raise(const char* message);
    // Writes a computed real with "%g"; a value that is not finite raises failText.
    std::string RealText(double value, const char* failText);
    bool IsZeroView(std::string_view text) const;
    std::string PowerOf(std::string_view base, std::string_view exponent);
    std::string RealPower(double base, long long n);
    std::string RealReciprocalPower(double base, long long n);
    void ReduceSumInPlace(std::string& text);
    // The value that reducing a single plain term would give; false when the text
    // needs the full passes.
    bool ReduceSimpleTerm(std::string_view text, double& value);
    // An argument reduced as flat text; the view lives until the next reduction.
    std::string_view ReduceArgument(std::string_view argument);
    // The next argument of a list, reduced, as text or read as a double.
    std::string_view NextReducedText(std::string_view& list);
    double NextValue(std::string_view& list);
    enum class Aggregate { sum, min, max, mean, sigma };
    std::string EvalAggregate(std::string_view arguments, Aggregate kind);
    std::string SolveQuadratic(std::string_view arguments, double rootSign,
                               const char* zeroMessage, const char* discriminantMessage);
    int SubstituteIndexedValueAt(std::string& formula, size_t position, const std::string& name,
                                 std::span<const double> values, int firstValue, int recordCount,
                                 int parametersPerRecord, int record, int parameter,
                                 size_t& insertedLength);

    int ReduceInnermostBracketFrom(std::string& work, size_t& searchFrom);
    // Where the function name before the '(' at open starts (after a nameStops character).
    size_t NameStart(std::string_view text, size_t open) const;

    bool nameStopTable_[256] = {};  // nameStops as a lookup table
    std::string workText_;          // reused work text of Evaluate
    std::string argumentText_;      // reused scratch for argument reduction
    std::string sumText_;           // reused scratch for the sum pass
};

extern formulaEvaluator theFormulaEvaluator;

// Order of substitution for a list of names: descending in a comparison without regard
// to letter case (ties keep the earlier name), so a name goes before its prefixes.
void OrderNamesForSubstitution(const std::vector<std::string>& names, std::vector<int>& order);
