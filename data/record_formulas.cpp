// Formulas over the records of a series: a parameter computed record by record from the
// other parameters of the same record (and of records shifted by name[k]), and the
// evaluation of a formula at one record or at given values for the fitting code.
#include <algorithm>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "data/data_store.h"
#include "formula/formula_evaluator.h"
#include "formula/model_evaluation.h"
#include "formula/number_text.h"

namespace {

bool IsRecordNumberName(const std::string& name) { return name == "N" || name == "n"; }

// Longest names first so that no name is replaced inside a longer one; among names of
// equal length the higher column goes first.
std::vector<int> SubstitutionOrder(const std::vector<std::string>& names) {
    std::vector<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const std::size_t la = names[static_cast<std::size_t>(a)].size();
        const std::size_t lb = names[static_cast<std::size_t>(b)].size();
        return la != lb ? la > lb : a > b;
    });
    return order;
}

std::string ShiftRefusal(int smallest, int largest, const std::string& seriesName) {
    return "Index shifts from " + std::to_string(smallest) + " to " + std::to_string(largest) +
           " in the formula leave no record in the series '" + seriesName + "'.";
}

}  // namespace

int DataStore::ModifyParameterByFormula(const std::string& formula, int p) {
    int owner = -1;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const Series& x = series[s];
        if (p >= x.firstParameter && p < x.firstParameter + x.nParameters) {
            owner = static_cast<int>(s);
            break;
        }
    }
    if (owner < 0 || series[0].nParameters <= 0) return 0;

    const Series& ownerSeries = series[static_cast<std::size_t>(owner)];
    std::vector<std::string> names;
    for (int j = 0; j < ownerSeries.nParameters; ++j) {
        const std::size_t k = static_cast<std::size_t>(ownerSeries.firstParameter + j);
        names.push_back(k < parameterNames.size() ? parameterNames[k] : std::string());
    }
    const std::vector<int> order = SubstitutionOrder(names);
    const int column = p % series[0].nParameters;

    std::vector<int> targets;
    if (modifyCurrentSeriesOnly) {
        if (modifySeriesIndex >= 0 && modifySeriesIndex < static_cast<int>(series.size()))
            targets.push_back(modifySeriesIndex);
    } else {
        for (int s = 0; s < static_cast<int>(series.size()); ++s) targets.push_back(s);
    }

    formulaEvaluator& evaluator = theFormulaEvaluator;
    int largestShift = 0, smallestShift = 0;
    evaluator.FindIndexShiftRange(formula, largestShift, smallestShift);
    const long long shiftSpan = static_cast<long long>(largestShift) - smallestShift;

    // Refused before anything is written: dropping the clamped records would leave a
    // series without records.
    for (int s : targets) {
        const Series& x = series[static_cast<std::size_t>(s)];
        if (column >= x.nParameters) return 0;
        if (shiftSpan > 0 && shiftSpan >= x.nRecords) {
            const std::size_t k = static_cast<std::size_t>(s);
            ShowStoreMessage(ShiftRefusal(smallestShift, largestShift, k < seriesNames.size() ? seriesNames[k] : ""));
            return 0;
        }
    }

    std::vector<std::vector<double>> results(targets.size());
    long long evaluated = 0, failed = 0;
    std::string firstError;
    std::string text;
    const std::span<const double> values(allValues);
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const Series& x = series[static_cast<std::size_t>(targets[t])];
        std::vector<double>& out = results[t];
        out.resize(static_cast<std::size_t>(std::max(x.nRecords, 0)));
        for (int i = 0; i < x.nRecords; ++i) {
            text = formula;
            const std::string recordText = numtext::IntText(i);
            for (int j : order) {
                const std::string& name = names[static_cast<std::size_t>(j)];
                if (IsRecordNumberName(name))
                    evaluator.ReplaceWholeWord(text, name, recordText);
                else
                    evaluator.SubstituteParameter(text, name, values, x.firstValue, x.nRecords, x.nParameters, i, j);
            }
            evaluator.ReplaceWholeWord(text, "N", recordText);
            const std::string result = evaluator.Evaluate(text);
            ++evaluated;
            if (evaluator.errorFlag) {
                if (failed++ == 0) firstError = result;
                out[static_cast<std::size_t>(i)] = 0.0;
            } else {
                out[static_cast<std::size_t>(i)] = numtext::ReadReal(result);
            }
        }
    }
    if (evaluated > 0 && failed == evaluated) {
        ShowStoreMessage(firstError);
        return 0;
    }

    for (std::size_t t = 0; t < targets.size(); ++t) {
        const Series& x = series[static_cast<std::size_t>(targets[t])];
        for (int i = 0; i < x.nRecords; ++i) {
            allValues[static_cast<std::size_t>(x.firstValue) + static_cast<std::size_t>(i) * x.nParameters +
                      static_cast<std::size_t>(column)] = results[t][static_cast<std::size_t>(i)];
        }
    }
    NoteStoreChanged();

    for (int s : targets) {
        const int n = series[static_cast<std::size_t>(s)].nParameters;
        if (smallestShift < 0)
            RemoveRecordValues(s, series[static_cast<std::size_t>(s)].firstValue, -smallestShift * n);
        if (largestShift > 0) {
            const Series& x = series[static_cast<std::size_t>(s)];
            RemoveRecordValues(s, x.firstValue + (x.nRecords - largestShift) * n, largestShift * n);
        }
    }
    return 1;
}

namespace {

double EvaluateWithNames(const std::string& formula, const std::vector<std::string>& names,
                         const std::vector<std::string>& valueTexts, int nameCount) {
    return EvaluateFormulaWithValueTexts(formula, names, valueTexts,
                                         static_cast<std::size_t>(std::max(nameCount, 0)));
}

}  // namespace

double DataStore::EvaluateFormulaAtRecord(const std::string& formula, int r) {
    const long long stride = std::max(parametersPerSeries, 0);
    if (r < 0 || (static_cast<long long>(r) + 1) * stride > static_cast<long long>(allValues.size())) return 0.0;
    if (formulaValueTexts.size() < static_cast<std::size_t>(stride)) formulaValueTexts.resize(static_cast<std::size_t>(stride));
    for (long long j = 0; j < stride; ++j)
        formulaValueTexts[static_cast<std::size_t>(j)] = numtext::GText(allValues[static_cast<std::size_t>(r * stride + j)]);
    return EvaluateWithNames(formula, formulaNames, formulaValueTexts, formulaNameCount);
}

double DataStore::EvaluateFormulaAtValues(const std::string& formula, const std::vector<double>& v) {
    const std::size_t stride = static_cast<std::size_t>(std::max(parametersPerSeries, 0));
    if (v.size() < stride) return 0.0;
    if (formulaValueTexts.size() < stride) formulaValueTexts.resize(stride);
    for (std::size_t j = 0; j < stride; ++j) formulaValueTexts[j] = numtext::GText(v[j]);
    return EvaluateWithNames(formula, formulaNames, formulaValueTexts, formulaNameCount);
}
