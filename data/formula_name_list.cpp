#include "data/data_page.h"
#include "fitting/useruf_page.h"

int data::BuildFormulaNameList() {
    if (series.size() != 1) return 0;
    pendingSeries = series[0];
    const int n = pendingSeries.nParameters;
    const std::vector<std::string>& coefficients = theUseruf.names;
    formulaNames.clear();
    formulaNames.reserve(static_cast<size_t>(n) + coefficients.size());
    for (int p = 0; p < n; ++p) {
        const size_t g = static_cast<size_t>(pendingSeries.firstParameter + p);
        // The store keeps one name per parameter; a missing one would shift every later name.
        formulaNames.push_back(g < parameterNames.size() ? parameterNames[g] : std::string());
    }
    formulaNames.insert(formulaNames.end(), coefficients.begin(), coefficients.end());
    formulaNameCount = static_cast<std::int32_t>(formulaNames.size());
    // The value texts go with the names one to one; the callers fill them.
    formulaValueTexts.resize(formulaNames.size());
    return 1;
}
