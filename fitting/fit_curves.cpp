#include "fitting/fit_curves.h"

#include "charts/plot_mapping.h"
#include "statistics/math_domain.h"

void PlotCurvePen::MoveTo(double x, double y)
{
    penUp = 1;
    mathDomainError = 0;
    PlotPointWorld(dc_, x, y);
}

void PlotCurvePen::LineTo(double x, double y)
{
    mathDomainError = 0;
    PlotPointWorld(dc_, x, y);
}

void PlotCurvePen::PenUp()
{
    penUp = 1;
}

void SchemeYRange(double xFrom, double xTo, int steps, const double* coefficients, int count, int scheme)
{
    CurveYRange(xFrom, xTo, steps, SchemeCurve(coefficients, count, scheme), plotYMin, plotYMax);
}

void DrawSchemeCurve(platform::Canvas& dc, double xFrom, double xTo, int steps, const double* coefficients,
                     int count, int scheme)
{
    PlotCurvePen pen(dc);
    WalkCurve(xFrom, xTo, steps, SchemeCurve(coefficients, count, scheme), pen);
}

void TermModelYRange(double xFrom, double xTo, int steps, const double* periods, const double* coefficients,
                     int termCount, const int* codes, int yCode)
{
    CurveYRange(xFrom, xTo, steps, ConstructorCurve(periods, coefficients, termCount, codes, yCode), plotYMin,
                plotYMax);
}

void DrawTermModelCurve(platform::Canvas& dc, double xFrom, double xTo, int steps, const double* periods,
                        const double* coefficients, int termCount, const int* codes, int yCode)
{
    PlotCurvePen pen(dc);
    WalkCurve(xFrom, xTo, steps, ConstructorCurve(periods, coefficients, termCount, codes, yCode), pen);
}

void PaintTermModelCurve(platform::Canvas& dc, double x0, double x1, const std::vector<double>& periods, int steps,
                         const std::vector<double>& coefficients, int yTransform, const std::vector<unsigned>& codes)
{
    PlotCurvePen pen(dc);
    WalkCurve(x0, x1, steps,
              TermModelCurve(periods, coefficients.data(), static_cast<int>(coefficients.size()), codes, yTransform),
              pen);
}
