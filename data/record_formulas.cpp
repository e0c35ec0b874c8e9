// Formulas over the records of a series: a parameter computed record by record from the
// other parameters of the same record (and of records shifted by name[k]), and the
// evaluation of a formula at one record or at given values for the fitting code.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "data/data_store.h"
#include "formula/compiled_formula.h"
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

// The values a formula at a record sees, in the order of formulaNames: the record's values,
// then the coefficients read from their value texts. The text path writes each value "%g"
// into the formula; a text that is not the "%g" text of a number (typed by hand) leaves the
// formula to the text path.
struct RecordValues {
    std::vector<double> values;
    std::vector<CompiledFormula::Written> written;
    std::size_t count = 0;
    bool numbers = true;

    RecordValues(const std::vector<std::string>& names, const std::vector<std::string>& texts, int nameCount,
                 std::size_t stride) {
        count = std::min({static_cast<std::size_t>(std::max(nameCount, 0)), names.size(), texts.size()});
        values.resize(count);
        written.resize(count);
        for (std::size_t k = stride; k < count && numbers; ++k) {
            values[k] = numtext::ReadReal(texts[k]);
            numbers = numtext::GText(values[k]) == texts[k];
            written[k] = CompiledFormula::Write(values[k]);
        }
    }
    // The formula with row[0..stride) in the record's places; 0 after a failure. rowWritten,
    // when given, holds CompiledFormula::Write of each row value.
    double Evaluate(const CompiledFormula& formula, const double* row, std::size_t stride,
                    const CompiledFormula::Written* rowWritten = nullptr) {
        for (std::size_t j = 0; j < stride && j < count; ++j) {
            values[j] = row[j];
            written[j] = rowWritten ? rowWritten[j] : CompiledFormula::Write(row[j]);
        }
        const double v = formula.Evaluate(values.data(), nullptr, written.data());
        return theFormulaEvaluator.errorFlag ? 0.0 : v;
    }
};

// The "%g" forms of the records a search evaluates trial after trial, kept while the
// values stay the same bit for bit.
std::vector<double> writtenRecords;
std::vector<CompiledFormula::Written> recordsWritten;

const CompiledFormula::Written* RecordsWritten(const double* values, std::size_t count) {
    if (writtenRecords.size() != count ||
        (count > 0 && std::memcmp(writtenRecords.data(), values, count * sizeof(double)) != 0)) {
        writtenRecords.assign(values, values + count);
        recordsWritten.resize(count);
        for (std::size_t k = 0; k < count; ++k) recordsWritten[k] = CompiledFormula::Write(values[k]);
    }
    return recordsWritten.data();
}

void WriteRecordTexts(std::vector<std::string>& texts, const double* row, std::size_t stride) {
    if (texts.size() < stride) texts.resize(stride);
    for (std::size_t j = 0; j < stride; ++j) texts[j] = numtext::GText(row[j]);
}

// The formula at one record's values, the value texts written as the text path writes them.
double EvaluateAtRow(DataStore& store, const std::string& formula, const double* row) {
    const std::size_t stride = static_cast<std::size_t>(std::max(store.parametersPerSeries, 0));
    WriteRecordTexts(store.formulaValueTexts, row, stride);
    RecordValues at(store.formulaNames, store.formulaValueTexts, store.formulaNameCount, stride);
    if (!at.numbers)
        return EvaluateFormulaWithValueTexts(formula, store.formulaNames, store.formulaValueTexts, at.count);
    return at.Evaluate(CompiledFor(formula, store.formulaNames, at.count), row, stride);
}

}  // namespace

double DataStore::EvaluateFormulaAtRecord(const std::string& formula, int r) {
    const long long stride = std::max(parametersPerSeries, 0);
    if (r < 0 || (static_cast<long long>(r) + 1) * stride > static_cast<long long>(allValues.size())) return 0.0;
    return EvaluateAtRow(*this, formula, allValues.data() + r * stride);
}

double DataStore::EvaluateFormulaAtValues(const std::string& formula, const std::vector<double>& v) {
    const std::size_t stride = static_cast<std::size_t>(std::max(parametersPerSeries, 0));
    if (v.size() < stride) return 0.0;
    return EvaluateAtRow(*this, formula, v.data());
}

void DataStore::EvaluateFormulaAtRecords(const std::string& formula, int count, std::vector<double>& out) {
    const std::size_t stride = static_cast<std::size_t>(std::max(parametersPerSeries, 0));
    std::size_t records = static_cast<std::size_t>(std::max(count, 0));
    if (stride > 0) records = std::min(records, allValues.size() / stride);
    out.assign(static_cast<std::size_t>(std::max(count, 0)), 0.0);
    if (formulaValueTexts.size() < stride) formulaValueTexts.resize(stride);
    RecordValues at(formulaNames, formulaValueTexts, formulaNameCount, stride);
    const CompiledFormula& compiled = CompiledFor(formula, formulaNames, at.count);
    const CompiledFormula::Written* written = at.numbers ? RecordsWritten(allValues.data(), records * stride) : nullptr;
    for (std::size_t r = 0; r < records; ++r) {
        const double* row = allValues.data() + r * stride;
        double v = 0.0;
        if (at.numbers) {
            v = at.Evaluate(compiled, row, stride, written + r * stride);
        } else {
            WriteRecordTexts(formulaValueTexts, row, stride);
            v = EvaluateFormulaWithValueTexts(formula, formulaNames, formulaValueTexts, at.count);
        }
        out[r] = theFormulaEvaluator.errorFlag ? std::nan("") : v;
    }
    // The value texts of the last record, as a record-by-record evaluation leaves them.
    if (records > 0) WriteRecordTexts(formulaValueTexts, allValues.data() + (records - 1) * stride, stride);
}
