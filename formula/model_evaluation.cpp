#include "formula/model_evaluation.h"

#include <algorithm>
#include <cmath>

#include "fitting/normal_equations.h"
#include "formula/formula_evaluator.h"
#include "formula/number_text.h"
#include "statistics/math_domain.h"

namespace {

// Reused text of the evaluation under way: one full rewrite per evaluation, no allocation
// once the texts have been seen.
std::string workText;

// Evaluates text; a failure raises mathDomainError and delivers 0.
double EvaluateText(const std::string& text) {
    const std::string result = theFormulaEvaluator.Evaluate(text);
    if (theFormulaEvaluator.errorFlag) {
        mathDomainError = 1;
        return 0.0;
    }
    return numtext::ReadReal(result);
}

const std::string& BasisText(const std::vector<std::string>& basis, int i) {
    static const std::string empty;
    return static_cast<std::size_t>(i) < basis.size() ? basis[static_cast<std::size_t>(i)] : empty;
}

void EvaluateBasisInto(double x, double* values, int n, const std::vector<std::string>& basis) {
    for (int i = 0; i < n; ++i) {
        workText = BasisText(basis, i);
        theFormulaEvaluator.SubstituteX(workText, x);
        values[i] = EvaluateText(workText);
    }
}

double EvaluateTransform(double x, double y, const std::string& transform) {
    workText = transform;
    // Names left after the substitution are evaluated all the same: an unknown function
    // fails inside the evaluation with its own message.
    theFormulaEvaluator.SubstituteY(workText, y);
    theFormulaEvaluator.SubstituteX(workText, x);
    return EvaluateText(workText);
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
    const auto rowOf = [&](int k, double* row, double& target, double& value) {
        double f = 0.0;
        ModelAtPoint(x[static_cast<std::size_t>(k)], y[static_cast<std::size_t>(k)], f, row, n, transform, basis);
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

double EvaluateFormulaWithVariable(const std::string& formula, const std::string& name,
                                   const std::string& valueText) {
    mathDomainError = 0;
    workText = formula;
    theFormulaEvaluator.ReplaceWholeWord(workText, name, valueText);
    return EvaluateText(workText);
}

double FormulaResidualRatio(const std::vector<double>& x, const std::vector<double>& y,
                            const std::string& formula, const std::string& name, double& offset,
                            int useOffset) {
    constexpr double kNoRatio = 1e40;
    offset = 0.0;
    const std::size_t points = x.size();
    if (points < 1 || y.size() < points) return kNoRatio;

    std::string valueText;
    bool failed = false;
    const auto formulaAt = [&](std::size_t k) {
        valueText = numtext::GText(x[k]);
        const double f = EvaluateFormulaWithVariable(formula, name, valueText);
        failed = failed || mathDomainError != 0;
        return f;
    };
    double sumY = 0.0, sumF = 0.0;
    for (std::size_t k = 0; k < points; ++k) {
        sumY += y[k];
        sumF += formulaAt(k);
    }
    const double count = static_cast<double>(points);
    offset = useOffset ? (sumY - sumF) / count : 0.0;
    const double meanY = sumY / count;

    double ssRes = 0.0, ssTot = 0.0;
    for (std::size_t k = 0; k < points; ++k) {
        const double r = y[k] - (formulaAt(k) + offset);
        ssRes += r * r;
        ssTot += (y[k] - meanY) * (y[k] - meanY);
    }
    // A point where the formula fails has no value: the formula does not fit these points.
    if (failed) return kNoRatio;
    const double ratio = ssTot != 0.0 ? ssRes / ssTot : kNoRatio;
    return std::isfinite(ratio) ? ratio : kNoRatio;
}
