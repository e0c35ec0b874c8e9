#include "formula/model_evaluation.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "fitting/normal_equations.h"
#include "formula/compiled_formula.h"
#include "formula/formula_evaluator.h"
#include "formula/number_text.h"
#include "statistics/math_domain.h"

namespace {

// The compiled forms of the formulas evaluated lately: a curve or a fit evaluates the same
// few texts at every point.
constexpr std::size_t kRecentFormulas = 64;
std::vector<std::unique_ptr<CompiledFormula>> recentFormulas;
std::vector<double> residualValues;  // the formula's values of the residual ratio
std::vector<double> residualX;       // the points of the last residual ratio
std::vector<CompiledFormula::Written> residualWritten;  // and their "%g" values

const std::vector<std::string>& NamesX() {
    static const std::vector<std::string> names = {"x"};
    return names;
}

const std::vector<std::string>& NamesYX() {
    // The transform has y written in before x.
    static const std::vector<std::string> names = {"y", "x"};
    return names;
}

// The result of an evaluation just made: a failure raises mathDomainError and delivers 0.
double Delivered(double value) {
    if (theFormulaEvaluator.errorFlag) {
        mathDomainError = 1;
        return 0.0;
    }
    return value;
}

const std::string& BasisText(const std::vector<std::string>& basis, int i) {
    static const std::string empty;
    return static_cast<std::size_t>(i) < basis.size() ? basis[static_cast<std::size_t>(i)] : empty;
}

void EvaluateBasisInto(double x, double* values, int n, const std::vector<std::string>& basis) {
    for (int i = 0; i < n; ++i) values[i] = Delivered(CompiledFor(BasisText(basis, i), NamesX()).Evaluate(&x));
}

double EvaluateTransform(double x, double y, const std::string& transform) {
    // Names left after the substitution are evaluated all the same: an unknown function
    // fails inside the evaluation with its own message.
    const double at[2] = {y, x};
    return Delivered(CompiledFor(transform, NamesYX()).Evaluate(at));
}

void ModelAtPoint(double x, double y, double& fValue, double* values, int n, const std::string& transform,
                  const std::vector<std::string>& basis) {
    mathDomainError = 0;
    fValue = EvaluateTransform(x, y, transform);
    EvaluateBasisInto(x, values, n, basis);
}

}  // namespace

int EvaluateModelAtPoint(double x, double y, double& fValue, std::vector<double>& values, int n,
                         const std::string& transform, const std::vector<std::string>& basis) {
    n = std::max(n, 0);
    if (values.size() < static_cast<std::size_t>(n)) values.resize(static_cast<std::size_t>(n));
    ModelAtPoint(x, y, fValue, values.data(), n, transform, basis);
    return 1;
}

int EvaluateBasisAtPoint(double x, double /*y*/, double& /*fValue*/, std::vector<double>& values, int n,
                         const std::string& /*transform*/, const std::vector<std::string>& basis) {
    n = std::max(n, 0);
    if (values.size() < static_cast<std::size_t>(n)) values.resize(static_cast<std::size_t>(n));
    mathDomainError = 0;
    EvaluateBasisInto(x, values.data(), n, basis);
    return 1;
}

double FitUserBasisModel(const std::vector<double>& x, const std::vector<double>& y,
                         std::vector<double>& coefficients, std::vector<double>& deviations, int n,
                         double& rms, const std::string& transform, const std::vector<std::string>& basis) {
    const std::size_t points = x.size();
    if (points < 1 || y.size() != points || n < 1) return 0.0;

    const std::size_t cleared = static_cast<std::size_t>(n) + 1;
    if (coefficients.size() < cleared) coefficients.resize(cleared);
    if (deviations.size() < cleared) deviations.resize(cleared);
    std::fill(coefficients.begin(), coefficients.begin() + static_cast<std::ptrdiff_t>(cleared), 0.0);
    std::fill(deviations.begin(), deviations.begin() + static_cast<std::ptrdiff_t>(cleared), 0.0);

    // Both passes evaluate every text again at each point (a basis using rand differs).
    const CompiledFormula compiledTransform(transform, NamesYX());
    std::vector<CompiledFormula> compiledBasis;
    compiledBasis.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) compiledBasis.emplace_back(BasisText(basis, i), NamesX());
    const auto rowOf = [&](int k, double* row, double& target, double& value) {
        const double at[2] = {y[static_cast<std::size_t>(k)], x[static_cast<std::size_t>(k)]};
        mathDomainError = 0;
        const double f = Delivered(compiledTransform.Evaluate(at));
        for (int i = 0; i < n; ++i) row[i] = Delivered(compiledBasis[static_cast<std::size_t>(i)].Evaluate(&at[1]));
        target = f;
        value = f;
        return true;
    };
    LeastSquaresResult fit;
    FitLeastSquares(n, static_cast<int>(points), rowOf, fit);

    if (fit.determinant == 0.0) {
        for (int i = 0; i < n; ++i) deviations[static_cast<std::size_t>(i)] = kFailedFitMeasure;
        rms = kFailedFitMeasure;
        return kFailedFitMeasure;
    }
    for (int i = 0; i < n; ++i) {
        coefficients[static_cast<std::size_t>(i)] = fit.coefficients[static_cast<std::size_t>(i)];
        deviations[static_cast<std::size_t>(i)] = fit.deviations[static_cast<std::size_t>(i)];
    }
    rms = fit.deviation;
    return fit.sst != 0.0 ? fit.ssr / fit.sst : 0.0;
}

const CompiledFormula& CompiledFor(const std::string& formula, const std::vector<std::string>& names) {
    for (std::size_t i = recentFormulas.size(); i-- > 0;) {
        const CompiledFormula& c = *recentFormulas[i];
        if (c.text() == formula && c.names() == names) return c;
    }
    if (recentFormulas.size() >= kRecentFormulas) recentFormulas.erase(recentFormulas.begin());
    recentFormulas.push_back(std::make_unique<CompiledFormula>(formula, names));
    return *recentFormulas.back();
}

double EvaluateFormulaAt(const std::string& formula, const std::string& name, double value) {
    mathDomainError = 0;
    const CompiledFormula& compiled =
        name == "x" ? CompiledFor(formula, NamesX()) : CompiledFor(formula, std::vector<std::string>{name});
    return Delivered(compiled.Evaluate(&value));
}

double EvaluateFormulaWithVariable(const std::string& formula, const std::string& name,
                                   const std::string& valueText) {
    // A value written "%g" is the compiled form's own value text.
    const double value = numtext::ReadReal(valueText);
    if (numtext::GText(value) == valueText) return EvaluateFormulaAt(formula, name, value);
    mathDomainError = 0;
    std::string work = formula;
    theFormulaEvaluator.ReplaceWholeWord(work, name, valueText);
    const std::string result = theFormulaEvaluator.Evaluate(work);
    return Delivered(numtext::ReadReal(result));
}

const CompiledFormula& CompiledFor(const std::string& formula, const std::vector<std::string>& names,
                                   std::size_t count) {
    if (count >= names.size()) return CompiledFor(formula, names);
    return CompiledFor(formula, std::vector<std::string>(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count)));
}

double EvaluateFormulaWithValues(const std::string& formula, const std::vector<std::string>& names,
                                 const double* values, std::size_t count) {
    count = std::min(count, names.size());
    const double v = CompiledFor(formula, names, count).Evaluate(values);
    return theFormulaEvaluator.errorFlag ? 0.0 : v;
}

double EvaluateFormulaWithValueTexts(const std::string& formula, const std::vector<std::string>& names,
                                     const std::vector<std::string>& valueTexts, std::size_t count) {
    count = std::min({count, names.size(), valueTexts.size()});
    static std::vector<double> values;
    values.resize(count);
    bool written = true;
    for (std::size_t k = 0; k < count && written; ++k) {
        values[k] = numtext::ReadReal(valueTexts[k]);
        written = numtext::GText(values[k]) == valueTexts[k];
    }
    if (written) return EvaluateFormulaWithValues(formula, names, values.data(), count);
    std::string text = formula;
    for (std::size_t k = 0; k < count; ++k) theFormulaEvaluator.ReplaceWholeWord(text, names[k], valueTexts[k]);
    const std::string result = theFormulaEvaluator.Evaluate(text);
    return theFormulaEvaluator.errorFlag ? 0.0 : numtext::ReadReal(result);
}

double FormulaResidualRatio(const std::vector<double>& x, const std::vector<double>& y,
                            const std::string& formula, const std::string& name, double& offset,
                            int useOffset) {
    constexpr double kNoRatio = 1e40;
    offset = 0.0;
    const std::size_t points = x.size();
    if (points < 1 || y.size() < points) return kNoRatio;

    // Each point is evaluated once; the second pass reuses its value.
    std::vector<double>& f = residualValues;
    f.resize(points);
    bool failed = false;
    double sumY = 0.0, sumF = 0.0;
    const CompiledFormula& compiled =
        name == "x" ? CompiledFor(formula, NamesX()) : CompiledFor(formula, std::vector<std::string>{name});
    // A search evaluates trial after trial at the same points: their "%g" texts are kept.
    if (residualX != x) {
        residualX = x;
        residualWritten.resize(points);
        for (std::size_t k = 0; k < points; ++k) residualWritten[k] = CompiledFormula::Write(x[k]);
    }
    for (std::size_t k = 0; k < points; ++k) {
        mathDomainError = 0;
        f[k] = Delivered(compiled.Evaluate(&x[k], nullptr, &residualWritten[k]));
        failed = failed || mathDomainError != 0;
        sumY += y[k];
        sumF += f[k];
    }
    const double count = static_cast<double>(points);
    offset = useOffset ? (sumY - sumF) / count : 0.0;
    const double meanY = sumY / count;

    double ssRes = 0.0, ssTot = 0.0;
    for (std::size_t k = 0; k < points; ++k) {
        const double r = y[k] - (f[k] + offset);
        ssRes += r * r;
        ssTot += (y[k] - meanY) * (y[k] - meanY);
    }
    // A point where the formula fails has no value: the formula does not fit these points.
    if (failed) return kNoRatio;
    const double ratio = ssTot != 0.0 ? ssRes / ssTot : kNoRatio;
    return std::isfinite(ratio) ? ratio : kNoRatio;
}
