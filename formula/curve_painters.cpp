#include "formula/curve_painters.h"

#include <algorithm>

#include "charts/plot_mapping.h"
#include "formula/model_evaluation.h"
#include "formula/number_text.h"
#include "platform/canvas.h"
#include "statistics/math_domain.h"

namespace {

// Calls body(x) for x = start, start + step, ... while x <= to. A step that no longer
// moves x (zero, or lost against a large x) ends the walk instead of repeating a point.
template <class Body>
void WalkSteps(double start, double to, double step, Body body) {
    for (double x = start; x <= to;) {
        body(x);
        const double next = x + step;
        if (!(next > x)) break;
        x = next;
    }
}

double ModelSum(const std::vector<double>& coefficients, const std::vector<double>& values, int n) {
    const int terms = std::min<int>(n, static_cast<int>(std::min(coefficients.size(), values.size())));
    double v = 0.0;
    for (int i = 0; i < terms; ++i) v += coefficients[static_cast<std::size_t>(i)] * values[static_cast<std::size_t>(i)];
    return v;
}

void WidenY(double v) {
    if (v > plotYMax) plotYMax = v;
    if (v < plotYMin) plotYMin = v;
}

double FormulaAt(const std::string& formula, const std::string& name, double x, double offset) {
    return EvaluateFormulaAt(formula, name, x) + offset;
}

}  // namespace

void UserModelCurveRange(double from, double to, int steps, const std::vector<double>& coefficients, int n,
                         const std::string& transform, const std::vector<std::string>& basis) {
    if (!(from < to) || steps < 1) return;
    const double step = (to - from) / steps;
    std::vector<double> values;
    WalkSteps(from, to, step, [&](double x) {
        double f = 0.0;
        EvaluateModelAtPoint(x, 1.0, f, values, n, transform, basis);
        const double v = ModelSum(coefficients, values, n);
        if (!mathDomainError) WidenY(v);
    });
}

void PaintUserModelCurve(platform::Canvas& dc, double from, double to, int steps,
                         const std::vector<double>& coefficients, int n, const std::string& transform,
                         const std::vector<std::string>& basis) {
    if (!(from < to) || steps < 1) return;
    const double step = (to - from) / steps;
    std::vector<double> values;
    double unused = 0.0;
    EvaluateBasisAtPoint(from, 1.0, unused, values, n, transform, basis);
    const double first = ModelSum(coefficients, values, n);
    penUp = 1;
    if (!mathDomainError) dc.MoveTo(WorldToPixelX(from), WorldToPixelY(first));
    WalkSteps(from + step, to, step, [&](double x) {
        EvaluateBasisAtPoint(x, 1.0, unused, values, n, transform, basis);
        PlotPointWorld(dc, x, ModelSum(coefficients, values, n));
    });
}

void FormulaCurveRange(const std::string& formula, const std::string& name, double from, double to, int steps,
                       double offset) {
    if (steps < 1) return;
    const double step = (to - from) / steps;
    WalkSteps(from + step, to, step, [&](double x) { WidenY(FormulaAt(formula, name, x, offset)); });
}

void PaintFormulaCurve(platform::Canvas& dc, double from, double to, int steps, const std::string& formula,
                       const std::string& name, double offset) {
    if (!(from < to) || steps < 1) return;
    const double step = (to - from) / steps;
    const double first = FormulaAt(formula, name, from, offset);
    dc.MoveTo(WorldToPixelX(from), WorldToPixelY(first));
    WalkSteps(from + step, to, step, [&](double x) { PlotPointWorld(dc, x, FormulaAt(formula, name, x, offset)); });
}
