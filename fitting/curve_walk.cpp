#include "fitting/curve_walk.h"

#include <cmath>

#include "fitting/schemes.h"
#include "fitting/term_models.h"
#include "statistics/math_domain.h"

namespace {

template <typename Visit>
void ForEachX(double from, double to, int steps, Visit visit)
{
    if (!(from < to) || steps < 1)
        return;
    const double step = (to - from) / steps;
    double x = from;
    for (int i = 0; i <= steps && x <= to; ++i) {
        visit(x);
        const double next = x + step;
        if (!(next > x))
            break;
        x = next;
    }
}

}  // namespace

void WalkCurve(double from, double to, int steps, const CurveValue& valueAt, CurvePen& pen)
{
    bool penIsUp = true;
    pen.PenUp();
    ForEachX(from, to, steps, [&](double x) {
        double y = 0.0;
        if (!valueAt(x, y)) {
            penIsUp = true;
            pen.PenUp();
            return;
        }
        if (penIsUp)
            pen.MoveTo(x, y);
        else
            pen.LineTo(x, y);
        penIsUp = false;
    });
}

void CurveYRange(double from, double to, int steps, const CurveValue& valueAt, double& yMin, double& yMax)
{
    ForEachX(from, to, steps, [&](double x) {
        double y = 0.0;
        if (!valueAt(x, y))
            return;
        if (y > yMax)
            yMax = y;
        if (y < yMin)
            yMin = y;
    });
}

CurveValue SchemeCurve(const double* coefficients, int count, int scheme)
{
    return [=](double x, double& y) {
        y = SchemeModelValue(x, coefficients, count, scheme);
        return !mathDomainError && std::isfinite(y);
    };
}

CurveValue ConstructorCurve(const double* periods, const double* coefficients, int termCount, const int* codes,
                            int yCode)
{
    return [=](double x, double& y) {
        y = ConstructorModelValue(x, periods, coefficients, termCount, yCode, codes);
        return !mathDomainError && std::isfinite(y);
    };
}

CurveValue TermModelCurve(const std::vector<double>& periods, const double* coefficients, int m,
                          const std::vector<unsigned>& codes, int yTransform)
{
    return [&periods, &codes, coefficients, m, yTransform](double x, double& y) {
        y = TermModelValue(x, periods, codes, coefficients, m, yTransform);
        return !mathDomainError && std::isfinite(y);
    };
}

void DrawPolyline(const std::vector<double>& xs, const std::vector<double>& ys, CurvePen& pen)
{
    const std::size_t n = xs.size() < ys.size() ? xs.size() : ys.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i == 0)
            pen.MoveTo(xs[i], ys[i]);
        else
            pen.LineTo(xs[i], ys[i]);
    }
}
