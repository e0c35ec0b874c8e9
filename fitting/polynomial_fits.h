#pragma once
// Fixed-basis least-squares fits and their small companions: the one-argument
// polynomial, the scoring rules' polynomial, the several-argument plane and
// parabolic regressions, the term-code regression of the best-polynomial searches,
// their basis rows and a few vector routines of the several-argument views.
//
// Records are read by the data store's layout: parameter p of record r is
// values[first + r*stride + p]. An argument mask holds -1 for every parameter
// taken as an argument, in parameter order. Buffers grow with the term count, so
// no fit has a fixed upper limit; every index is computed in 64 bits and tested.
#include <cstdint>
#include <functional>
#include <vector>

// A power series in the argument centred and scaled, t = (x - centre) / halfWidth, which runs
// over [-1, 1] for the points it was fitted to: in raw powers of an argument far from 0 the
// normal equations are singular up to rounding long before the curve is.
struct ScaledPowerSeries {
    double centre = 0.0, halfWidth = 1.0;
    std::vector<double> coefficients;  // of 1, t, t^2, ...
    double determinant = 0.0;          // of the fit's normal matrix; 0: the terms are not independent

    double Value(double x) const;
    // The same polynomial in powers of x: c0 + c1*x + ...
    std::vector<double> PowersOfArgument() const;
};

// The least-squares power series of n coefficients of y over x, solved in the scaled argument.
// Returns the determinant of that normal matrix (also kept in the fit): 0 when it is singular
// (up to rounding), the coefficients then 0.
double FitScaledPowerSeries(const std::vector<double>& x, const std::vector<double>& y, int n,
                            ScaledPowerSeries& fit);

// a1 + a2*x + ... + an*x^(n-1) by least squares over points 1 to count of x and y
// (element 0 unused); the coefficients go to coefficients[1 .. n]. Solved as
// FitScaledPowerSeries; returns its determinant (0: singular, the coefficients are then 0).
double FitPolynomial(int n, const double* x, const double* y, int count, double* coefficients);

// The same fit, 0-based: coefficients is resized to n and holds c0 .. c(n-1); they
// stay 0 when x and y differ in length. Returns the determinant.
double FitPolynomialArray(const std::vector<double>& x, const std::vector<double>& y, int n,
                          std::vector<double>& coefficients);

// c0 + c1*x + ... + c(n-1)*x^(n-1), n limited to the coefficients held.
double PowerSeriesValue(int n, double x, const std::vector<double>& coefficients);

// out[0] = 1, out[i] = out[i-1]*x for i < n.
void PowersOfX(double x, int n, double* out);

// values[record*stride + first + column]; throws std::invalid_argument outside the array.
double TableCell(const std::vector<double>& values, int stride, int first, std::int64_t record, int column);

// row = 1, then x_j of every selected argument j.
void LinearBasisRow(double* row, const std::vector<double>& values, int stride, int first, std::int64_t record,
                    const std::vector<int>& mask);
// row = 1, then x_j^2, x_j for every selected argument j (no cross products).
void QuadraticBasisRow(double* row, const std::vector<double>& values, int stride, int first, std::int64_t record,
                       const std::vector<int>& mask);

// row_t = product over arguments k of SchemeBasis(code(t, k), x_k), code(t, k) at
// codes[t*a + k], x_k in column argumentColumns[k]. Raises *error and returns at
// the first rejected value.
void TermCodeBasisRow(double* row, int m, const std::vector<double>& values, int stride, int first,
                      std::int64_t record, int a, const std::vector<int>& argumentColumns,
                      const std::vector<std::uint32_t>& codes, int* error);

enum MultipleRegressionKind { kPlaneRegression = 0, kParabolicRegression = 1 };

// Plane (1, x_1 .. x_a) or parabolic (1, x_1^2, x_1, .. x_a^2, x_a) regression of the
// value column over the N records. coefficients and deviations are resized to the
// term count, in basis-row order; *deviation = sqrt(SSR/N). Returns SSR/SST (0 when
// the values do not vary). a is the number of arguments the mask selects.
double FitMultipleRegression(const std::vector<double>& values, int stride, int a, int first, int N,
                             const std::vector<int>& mask, int valueColumn, std::vector<double>& coefficients,
                             std::vector<double>& deviations, double* deviation, int kind);

// Several-argument polynomial whose terms are vectors of basis codes (term-major, a
// codes per term). The roles (-1 argument, 1 value) choose the columns; the argument
// columns are handed back in argumentColumns. Nothing is fitted, and *error is
// raised, unless exactly one parameter is the value and there are arguments and
// terms. A rejected basis value stops the fit with *error raised (the outputs are
// then not valid). *maxDeviation is the largest |fitted - value|. Returns SSR/SST.
//
// columnOf, when given, hands over term t's basis values at every record, computed
// before (a search step keeps the columns of its terms between refits); nullptr for a
// term with a rejected value. The fit is then the same, sum for sum.
using TermColumnLookup = std::function<const std::vector<double>*(int term)>;
double FitTermCodeRegression(const std::vector<double>& values, int first, int N, int stride,
                             const std::vector<int>& roles, std::vector<int>& argumentColumns,
                             std::vector<double>& coefficients, std::vector<double>& deviations, double* deviation,
                             double* maxDeviation, const std::vector<std::uint32_t>& codes, int* error,
                             const TermColumnLookup& columnOf = nullptr);

// The basis values of one term (a codes) at records 0 .. N-1, as TermCodeBasisRow gives
// them; false at the first rejected value.
bool TermCodeColumn(const std::vector<double>& values, int stride, int first, int N, int a,
                    const std::vector<int>& argumentColumns, const std::vector<std::uint32_t>& termCodes,
                    std::vector<double>& column);

// Polynomial 1, x, .. x^(m-1) of y over x with coefficient deviations. Returns
// SSR/SST; 0, with nothing written, when x is empty or x and y differ in length.
double FitScoreRatePolynomial(const std::vector<double>& x, const std::vector<double>& y,
                              std::vector<double>& coefficients, std::vector<double>& deviations, int m,
                              double* deviation);

// sqrt(sum (a_i - b_i)^2) over the length of a (b must be as long).
double VectorDistance(const std::vector<double>& a, const std::vector<double>& b);

// out[0 ..] = the selected arguments' values of the record, in parameter order.
void GatherSelectedArguments(const std::vector<double>& values, int stride, int first, const std::vector<int>& mask,
                             std::int64_t record, std::vector<double>& out);

// Largest first, by selection: position i takes the first largest of i .. end.
void SortDescending(std::vector<double>& a);

// Keeps elements 0, k, 2k, ... (all of them for k < 1).
void KeepEveryKth(std::vector<double>& a, int k);

// One argument's term a*(x + b)^2 of the parabolic surface in vertex form, with deviations.
struct VertexTerm {
    double a = 0, aDeviation = 0, b = 0, bDeviation = 0;
};

// Turns the raw parabolic coefficients (a0, then p_j for x_j^2 and q_j for x_j, per
// argument) into y = A0 + sum a_j*(x_j + b_j)^2. A p_j below 1e-30 in magnitude gives
// b_j = 1e30 (deviation 1e30) and leaves A0 alone. Returns A0; terms gets n entries.
double ParabolicVertexForm(const double* raw, const double* deviations, int n, std::vector<VertexTerm>& terms);
