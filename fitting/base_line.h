#pragma once
// Base-line correction of a signal before its peaks are searched for: the lowest point
// of each bin of the x range is taken, a base-line model is fitted to the lower envelope
// of those points in a few passes, and the fitted line is subtracted from the signal.
// The fitted line stays in the caller's fit record for the peaks report.
#include "fitting/normal_equations.h"

#include <vector>

enum BaseLineKind {
    kBaseLineNone = 0,
    kBaseLineLinear = 1,        // 1, x
    kBaseLineQuadratic = 2,     // 1, x, x^2
    kBaseLineExponential = 3,   // 1, e^-x
    kBaseLineExponential2 = 4,  // 1, e^-x, (e^-x)^2
};

// Writes y to the target and the basis row of x to row (constant first).
using BaseLineRow = void (*)(double* target, double* row, double y, double x);
void RowLinear(double* target, double* row, double y, double x);
void RowQuadratic(double* target, double* row, double y, double x);
void RowExponential(double* target, double* row, double y, double x);
void RowExponential2(double* target, double* row, double y, double x);

inline constexpr int kBaseLineMaxTerms = 9;

// Corrects the signal in place by the base line of the given kind, fitted into fit
// (coefficients in row order and deviations; emptied when a fit failed). Returns 1 after a
// correction, 0 when it corrected nothing (kind 0, too few points or bins, or a fit that
// failed: a singular normal matrix or a coefficient that is not finite); fit is left as it
// was when no fit was tried.
int CorrectBaseLine(std::vector<double>& x, std::vector<double>& y, int kind, LeastSquaresResult& fit);

// Up to `passes` rounds of fit and trim of the candidate points; stops early when fewer
// than terms + 2 remain. False when a fit failed (the workspace is then cleared).
bool FitLowerEnvelope(std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row, int passes,
                      LeastSquaresResult& fit);
// Least squares of the row's basis (terms at most 9) into fit. False (fit empty) when there
// are too few points, the normal matrix is singular or a coefficient is not finite.
bool FitRowCallbackModel(const std::vector<double>& x, const std::vector<double>& y, int terms, BaseLineRow row,
                         LeastSquaresResult& fit);
// Removes the points at or above the fitted line.
void KeepPointsBelowModel(std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row,
                          const LeastSquaresResult& fit);
// y - b at or above the line b, 0.01*|y - b| below it.
void RemoveBaseLine(const std::vector<double>& x, std::vector<double>& y, int terms, BaseLineRow row,
                    const LeastSquaresResult& fit);

// Number of bins for n points.
int BaseLineBinCount(int n);
