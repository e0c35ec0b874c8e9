#pragma once

// A formula text read once and evaluated at many values of its variables.
//
// The text evaluator writes every variable value into the formula as "%g" text and rewrites
// the text step by step. The compiled form keeps the same steps on a list of numbers and sign
// runs: each number is held as the value its text reads back as (six significant digits where
// the text evaluator writes "%g", six decimals for the sum's "%f"), together with whether its
// text is an integer text, so every result, error text and error flag equals the text path's.
// A formula whose shape the compiled form does not cover (names left as letters, rand and
// gauss, the Student functions, unbalanced brackets, stray characters) is not compiled and is
// evaluated as text; a value that gives a sign run the compiled steps do not cover falls back
// to the text for that evaluation.

#include <cstdint>
#include <string>
#include <vector>

class CompiledFormula {
public:
    CompiledFormula() = default;
    // The formula and the names its variables go by; each name is replaced as a whole word
    // by its value written "%g", in list order, before the text is evaluated.
    CompiledFormula(const std::string& text, const std::vector<std::string>& names);
    void Compile(const std::string& text, const std::vector<std::string>& names);

    // False when the formula is evaluated as text (see above).
    bool compiled() const { return compiled_; }
    const std::string& text() const { return text_; }
    const std::vector<std::string>& names() const { return names_; }

    // Number text as the compiled steps hold it: a magnitude and whether its text is an
    // integer text (no '.', 'e' or 'E'); the sign stands in the sign run before it.
    // The two flags stand apart so that no copy reads them in one load: a number a step has
    // just written sits in the store buffer as separate small stores.
    struct Number {
        bool integer = true;
        double magnitude = 0;
        // The sum step writes this value alone back as itself ("%f", or "%g" below 0.1):
        // true for every number a step wrote.
        bool settled = true;
    };
    // A value as "%g" writes it, for evaluations at the same values again and again.
    struct Written {
        bool negative = false;
        Number number;
    };
    static Written Write(double value);

    // The formula at values[i] for names[i]: theFormulaEvaluator's errorFlag and errorText
    // are left as its Evaluate leaves them, and the result is its result text read as a
    // double (0 after an error). resultText, when given, receives that result text.
    // written, when given, holds Write(values[i]) for every i.
    double Evaluate(const double* values, std::string* resultText = nullptr,
                    const Written* written = nullptr) const;
    // The same through the text evaluator: the reference the compiled form must match.
    double EvaluateText(const double* values, std::string* resultText = nullptr) const;

    // A run of '+' and '-' characters between operands.
    struct Run {
        std::uint8_t size = 0;
        char signs[7] = {};
    };

private:
    enum class Source : std::uint8_t { literal, variable, group };
    struct Cell {
        char op = 0;  // '*', '/', '^' before the run, or 0
        Run run;      // the sign run before the operand
        Run negativeRun;  // a variable's run when its value is negative
        Source source = Source::literal;
        int index = 0;
    };
    struct Flat {
        int first = 0, count = 0;  // cells_
        // Whether a cell stands after '^', after '*' or '/': a pass without such a step is skipped.
        bool power = false, product = false;
    };
    struct Group {
        int function = -1;  // -1: a bracket without a name, or the whole text
        int firstFlat = 0, flatCount = 0;
        bool emptyList = false;
    };

    bool Build(const std::string& text);

    std::string text_;
    std::vector<std::string> names_;
    bool compiled_ = false;
    std::vector<Number> literals_;
    std::vector<Cell> cells_;
    std::vector<Flat> flats_;
    std::vector<Group> groups_;  // in the order the text evaluator reduces the brackets

    friend class CompiledRun;
};
