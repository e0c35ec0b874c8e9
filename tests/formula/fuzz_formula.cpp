// libFuzzer target: any formula text must evaluate without a crash, a hang or
// undefined behaviour, and a failure must come with its error text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

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
