#pragma once
// Evaluation and least-squares fitting of user-written model formulas.
//
// A user basis model is a transform text F(y,x) and basis texts f_0(x) .. f_(n-1)(x),
// fitted as F(y,x) = a_0*f_0(x) + ... + a_(n-1)*f_(n-1)(x). A formula of one variable
// is any text with that variable as a whole word. Every entry evaluates through
// theFormulaEvaluator and reports a failed evaluation in mathDomainError; a failed
// evaluation delivers 0.
#include <cstddef>
#include <string>
#include <vector>

// F at (x, y) into fValue and the n basis functions at x into values[0..n-1] (values
// grows to n when shorter). Clears mathDomainError first and sets it when any of the
// n + 1 evaluations failed. A basis text beyond the list is taken as empty. Returns 1.
int EvaluateModelAtPoint(double x, double y, double& fValue, std::vector<double>& values, int n,
                         const std::string& transform, const std::vector<std::string>& basis);
// The basis functions only: y, fValue and the transform are not used.
int EvaluateBasisAtPoint(double x, double y, double& fValue, std::vector<double>& values, int n,
                         const std::string& transform, const std::vector<std::string>& basis);

// Sentinel of a fit that could not be made (singular normal matrix).
inline constexpr double kFailedFitMeasure = 1e40;

// Least-squares fit of the model over the points (x_k, y_k) in the space of F.
// Returns SSres/SStot of F (0 when SStot is 0); coefficients and deviations grow to at
// least n+1 entries, the first n+1 cleared, then the n coefficients and their standard
// deviations sqrt(SSres/N * (M^-1)_jj) are written; rms = sqrt(SSres/N).
// No points, x and y of different sizes or n < 1: returns 0 and changes nothing.
// A singular normal matrix: coefficients 0, deviations and rms kFailedFitMeasure, and
// kFailedFitMeasure is returned.
double FitUserBasisModel(const std::vector<double>& x, const std::vector<double>& y,
                         std::vector<double>& coefficients, std::vector<double>& deviations, int n,
                         double& rms, const std::string& transform, const std::vector<std::string>& basis);

// The formula with every whole word `name` replaced by valueText, evaluated. Clears
// mathDomainError first and sets it when the evaluation failed (the value is then 0).
double EvaluateFormulaWithVariable(const std::string& formula, const std::string& name,
                                   const std::string& valueText);
// The same with the value written "%g".
double EvaluateFormulaAt(const std::string& formula, const std::string& name, double value);

// The formula with names[k] replaced by valueTexts[k] for the first count names in list
// order, evaluated; 0 after a failure (theFormulaEvaluator's errorFlag tells it;
// mathDomainError is not touched).
double EvaluateFormulaWithValueTexts(const std::string& formula, const std::vector<std::string>& names,
                                     const std::vector<std::string>& valueTexts, std::size_t count);

// The same with values[k] in place of the text valueTexts[k] would hold ("%g" of values[k]),
// for the first count names.
double EvaluateFormulaWithValues(const std::string& formula, const std::vector<std::string>& names,
                                 const double* values, std::size_t count);

class CompiledFormula;
// The compiled form of a formula evaluated lately with these names (compiled on first use).
const CompiledFormula& CompiledFor(const std::string& formula, const std::vector<std::string>& names);
// The same for the first count names.
const CompiledFormula& CompiledFor(const std::string& formula, const std::vector<std::string>& names,
                                   std::size_t count);

// Compares the formula, evaluated once at every x (written "%g"), with y in y's own space:
// offset = mean(y) - mean(f) when useOffset, else 0; returns
// sum (y - f - offset)^2 / sum (y - mean y)^2, or 1e40 when there are no points, the y
// array is shorter than x, y has no spread, the formula fails at a point or the ratio is
// not finite.
double FormulaResidualRatio(const std::vector<double>& x, const std::vector<double>& y,
                            const std::string& formula, const std::string& name, double& offset,
                            int useOffset);
