#pragma once
// Fitted curves of the schemes and term models on the chart: the range passes that widen
// plotYMin/plotYMax before the axes are drawn, and the painters that draw a curve with the
// current pen through the plot mapping. Points outside a model's domain are left out of a
// range and lift the pen of a drawing.
#include <vector>

#include "fitting/curve_walk.h"

namespace platform {
class Canvas;
}

// Draws through PlotPointWorld: the plot mapping's poly-line steps.
class PlotCurvePen : public CurvePen {
public:
    explicit PlotCurvePen(platform::Canvas& dc) : dc_(dc) {}
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void PenUp() override;

private:
    platform::Canvas& dc_;
};

// Fitting scheme 0..24 of the list of formulas.
void SchemeYRange(double xFrom, double xTo, int steps, const double* coefficients, int count, int scheme);
void DrawSchemeCurve(platform::Canvas& dc, double xFrom, double xTo, int steps, const double* coefficients,
                     int count, int scheme);

// Constructor model: codes 0..34 with the six periods and a y-code 0..5.
void TermModelYRange(double xFrom, double xTo, int steps, const double* periods, const double* coefficients,
                     int termCount, const int* codes, int yCode);
void DrawTermModelCurve(platform::Canvas& dc, double xFrom, double xTo, int steps, const double* periods,
                        const double* coefficients, int termCount, const int* codes, int yCode);

// Term model of codes 0..64 (the searches' models); m = the coefficient count.
void PaintTermModelCurve(platform::Canvas& dc, double x0, double x1, const std::vector<double>& periods, int steps,
                         const std::vector<double>& coefficients, int yTransform, const std::vector<unsigned>& codes);
