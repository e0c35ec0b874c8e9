#pragma once
// Walking a fitted curve over an x range: the points a range pass takes into the y range
// and a painter draws. Kept free of drawing so tests can record what a painter would do.
//
// The x values are from, from + step, from + 2*step, ... (the step added each time) while
// x <= to, step = (to - from) / steps. Nothing happens unless from < to and steps >= 1;
// the walk stops when x no longer advances and after steps + 1 points.
#include <functional>
#include <vector>

// Receives the pieces of a curve in world units.
class CurvePen {
public:
    virtual ~CurvePen() = default;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y) = 0;
    // A point was left out: the next valid point starts a new piece.
    virtual void PenUp() = 0;
};

// The model's value at x; false when x is outside the model's domain (or the value is not
// finite), so the point is left out.
using CurveValue = std::function<bool(double x, double& y)>;

void WalkCurve(double from, double to, int steps, const CurveValue& valueAt, CurvePen& pen);

// Widens [yMin, yMax] to every valid point of the curve.
void CurveYRange(double from, double to, int steps, const CurveValue& valueAt, double& yMin, double& yMax);

// Curve values of the model families, for the walkers.
CurveValue SchemeCurve(const double* coefficients, int count, int scheme);
CurveValue ConstructorCurve(const double* periods, const double* coefficients, int termCount,
                            const int* codes, int yCode);
CurveValue TermModelCurve(const std::vector<double>& periods, const double* coefficients, int m,
                          const std::vector<unsigned>& codes, int yTransform);

// Draws a poly-line through the points as given: a move to the first, lines to the others.
void DrawPolyline(const std::vector<double>& xs, const std::vector<double>& ys, CurvePen& pen);
