#include "documents/fitted_formulas.h"

#include "documents/result_page.h"
#include "platform/format.h"

std::string lastCorrelationText;

namespace {

std::vector<std::string>* formulaTexts = nullptr;
std::vector<unsigned>* formulaParameters = nullptr;

}  // namespace

void SetFittedFormulaLists(std::vector<std::string>* texts, std::vector<unsigned>* parameters) {
    formulaTexts = texts;
    formulaParameters = parameters;
}

void AppendFittedFormula(const std::string& text, int v) {
    if (formulaTexts && formulaParameters) {
        formulaTexts->push_back(text);
        formulaParameters->push_back(static_cast<unsigned>(v));
    }
    theResult.fittedFormulasText += text + "\n";
}

const std::string& CorrelationText(double c) {
    lastCorrelationText = platform::Format("%.4g   ", c);
    return lastCorrelationText;
}
