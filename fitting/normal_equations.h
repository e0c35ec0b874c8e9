#pragma once

#include <functional>
#include <vector>

// Normal equations of linear least squares, shared by every fit.

// Standard deviation of a coefficient from the mean squared residual and the
// coefficient's diagonal element of the inverse normal matrix:
// sqrt(|msr * inverseDiagonal|); infinite when the determinant is 0.
double CoefficientDeviation(double msr, double inverseDiagonal, double determinant);

// The whole least-squares recipe over n points and m terms (terms counted from 0).
struct LeastSquaresResult {
    double determinant = 0.0;          // 0: singular normal matrix, a failed fit
    std::vector<double> coefficients;  // m entries (0 after a failed fit)
    std::vector<double> deviations;    // m entries (infinite after a failed fit)
    double mean = 0.0;                 // of the untransformed values
    double sst = 0.0;                  // sum of (mean - y)^2
    double ssr = 0.0;                  // sum of (yhat - y)^2
    double msr = 0.0;                  // ssr / n
    double deviation = 0.0;            // sqrt(msr)
    double residualMeasure = 0.0;      // ssr / sst; 0 when sst is 0
};

// Fills the basis row (m values), the target the coefficients are fitted to, and
// the point's untransformed value. Returns false to abandon the fit (a basis value
// outside its function's domain, say).
using LeastSquaresRow = std::function<bool(int point, double* row, double& target, double& value)>;
// The fitted value of a point from its row and the coefficients; by default
// the row times the coefficients.
using LeastSquaresPrediction = std::function<double(const double* row, const double* coefficients, int m)>;

// The recipe from sums already made: matrix (1-based, element (j, l) from 0 at l*m + j + 1,
// m*m + 1 elements, inverted in place), the right-hand side (m entries) and the mean of the
// values; `residuals` makes the second pass, SST and SSR from the coefficients. Fits that
// share their sums get the same results bit for bit.
using LeastSquaresResiduals = std::function<void(const double* coefficients, double& sst, double& ssr)>;
void SolveLeastSquares(int m, int n, std::vector<double>& matrix, const std::vector<double>& rhs, double mean,
                       const LeastSquaresResiduals& residuals, LeastSquaresResult& result);

// The sums FitLeastSquares makes, over rows already made, in parts: n rows of m basis values
// one after the other, their targets and untransformed values (n each) are added to the
// lower triangle of matrix (1-based, m*m + 1 elements, as SolveLeastSquares takes it), to
// rhs (m) and to valueSum; MirrorNormalMatrix then fills the upper triangle. Started from
// zeros, the same rows give the same sums bit for bit, however they are split.
void AddNormalRows(int m, int n, const double* rows, const double* targets, const double* values, double* matrix,
                   double* rhs, double& valueSum);
void MirrorNormalMatrix(int m, double* matrix);

// Returns false (result not valid) when m < 1, n < 1 or a row callback refused a
// point. A singular matrix is a completed fit with determinant 0, coefficients 0
// and infinite deviations, ssr, msr and residual measure.
bool FitLeastSquares(int m, int n, const LeastSquaresRow& rowOf, LeastSquaresResult& result,
                     const LeastSquaresPrediction& predict = nullptr);
