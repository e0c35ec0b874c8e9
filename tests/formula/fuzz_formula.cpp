// libFuzzer target: any formula text must evaluate without a crash, a hang or
// undefined behaviour, and a failure must come with its error text; the compiled form must
// give the text evaluator's result text, error flag and error text at every value of x.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formula/compiled_formula.h"
#include "formula/formula_evaluator.h"
#include "formula/number_formatting.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string formula(reinterpret_cast<const char*>(data), size);
    formulaEvaluator& evaluator = theFormulaEvaluator;
    const std::string result = evaluator.Evaluate(formula);
    if (evaluator.errorFlag && result != evaluator.errorText)
        std::abort();
    if (!evaluator.errorFlag && result.empty())
        std::abort();

    // The compiled form against the text, x written in as the curves and fits write it.
    const CompiledFormula compiled(formula, {"x", "y"});
    if (compiled.compiled()) {
        for (const double x : {1.5, -3.0, 0.0, -0.0, 2.0, 1e-7, -123456.5, 1e20, 0.1}) {
            const double at[2] = {x, 0.5 - x};
            std::string slowText, fastText;
            const double slow = compiled.EvaluateText(at, &slowText);
            const int slowFlag = evaluator.errorFlag;
            const std::string slowError = evaluator.errorText;
            const double fast = compiled.Evaluate(at, &fastText);
            if (fastText != slowText || evaluator.errorFlag != slowFlag || evaluator.errorText != slowError ||
                std::memcmp(&fast, &slow, sizeof fast) != 0)
                std::abort();
        }
    }

    // The substitution and formatting helpers see the same text.
    std::string text = formula;
    evaluator.SubstituteX(text, 1.5);
    int largest = 0, smallest = 0;
    evaluator.FindIndexShiftRange(formula, largest, smallest);
    TidyFormulaText(text);
    const double value = std::strtod(result.c_str(), nullptr);
    std::string a, b;
    AxisLabelDigits(value, a, value * 1.001 + 1e-9, b);
    FormatValueWithDeviation(value, value / 7, a, b, static_cast<int>(size), 1, 3);
    SignificantDigitsText(value, a, 1 + static_cast<int>(size % 5));
    return 0;
}
