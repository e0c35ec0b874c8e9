#pragma once
// Model and formula curves on the chart: widening the plot's y range to a curve and
// drawing it through the plot mapping. A point whose evaluation failed (mathDomainError)
// is left out of a range and lifts the pen of a drawing.
//
// The x steps run from `from` by (to - from) / steps while x <= to, x advanced by adding
// the step; nothing happens for steps below 1.
#include <string>
#include <vector>

namespace platform {
class Canvas;
}

// Widens plotYMin/plotYMax to a_0*f_0(x) + ... at x = from, from + step, ... (from < to
// only). The transform is evaluated at y = 1 as well: its failure leaves the point out.
void UserModelCurveRange(double from, double to, int steps, const std::vector<double>& coefficients, int n,
                         const std::string& transform, const std::vector<std::string>& basis);

// Draws a_0*f_0(x) + ... against x (from < to only): a move to the first point, then one
// poly-line step per x. The pen stays lifted after the first point.
void PaintUserModelCurve(platform::Canvas& dc, double from, double to, int steps,
                         const std::vector<double>& coefficients, int n, const std::string& transform,
                         const std::vector<std::string>& basis);

// Widens plotYMin/plotYMax to f(x) + offset at x = from + step, from + 2*step, ...;
// a failed point counts with the value offset.
void FormulaCurveRange(const std::string& formula, const std::string& name, double from, double to, int steps,
                       double offset);

// Draws f(x) + offset (from < to only): a move to the first point whatever its
// evaluation gave, then one poly-line step per x.
void PaintFormulaCurve(platform::Canvas& dc, double from, double to, int steps, const std::string& formula,
                       const std::string& name, double offset);
