#pragma once
// Fixed model families of curve fitting and their small evaluators.
//
// Three numberings live here and must not be mixed up:
//  - fitting schemes 0 to 24 of the list of formulas (SchemeLinearize, SchemeInverseY);
//  - constructor term codes 0 to 34 with y-codes 0 to 5 (BuildTermRow, ApplyYTransform);
//  - basis codes 0 to 26 of the several-argument polynomials (SchemeBasis).
// The term models' codes 0 to 64 are yet another set (term_models.h).
//
// Domain errors: the scheme and constructor functions report them in mathDomainError
// (the value written there is 0); SchemeBasis and TermProductModelValue through their
// error output. A value that would not be finite (ln 0, 1/ln 1, 1/0) is a domain error
// too, so one bad point never turns a whole fit into NaN.
//
// Nothing here allocates: the row functions run for every point of every fit.
#include <string>
#include <vector>

constexpr int kSchemeCount = 25;     // schemes 0 to 24
constexpr int kSchemeRowSize = 9;    // room a caller's scheme row needs
constexpr int kConstructorPeriods = 6;
constexpr int kConstructorMaxCode = 34;
constexpr int kBasisCodeCount = 27;  // basis codes 0 to 26

// Coefficient count of a scheme; a number outside 0..24 comes back unchanged.
int SchemeCoefficientCount(int scheme);

// Clears mathDomainError, writes the transformed Y and the scheme's row (up to
// kSchemeRowSize values) and raises the flag where the scheme's domain is left.
// A scheme outside 0..24 writes nothing. Returns 1. `count` is not used.
int SchemeLinearize(double x, double y, double& Y, double* row, int count, int scheme);

// Clears mathDomainError and turns a fitted value of Y back into y (exp v for
// schemes 8 to 12, 18 and 19; 1/v for 13 to 17, the flag and 0 for v = 0 there);
// other schemes return v.
double SchemeInverseY(double v, int scheme);

// Value of a fitted scheme at x: the row at (x, 1) times the coefficients, back-
// transformed. The flag tells whether the row or the back-transform failed.
double SchemeModelValue(double x, const double* coefficients, int count, int scheme);

// Constructor model row: clears mathDomainError, writes Y by yCode (left unwritten for
// a code above 5) and row[i] for each of the first termCount codes (a code above 34
// gives 0). periods are the six periods of the harmonic codes 23 to 34.
void BuildTermRow(double x, double y, double& Y, const double* periods, double* row, int termCount, int yCode,
                  const int* codes);

// The y-transform shared by the constructor rows and the term models: writes T(y) to Y
// (0 with the flag raised outside the domain); a code above 5 leaves Y unwritten.
// Does not clear the flag.
void TransformY(double y, double& Y, int yCode);

// Inverse of a constructor y-transform. Raises the flag on a domain error (result 0)
// but never clears it, so a flag raised by the row of the same point survives.
// A code above 5 gives 0 without the flag.
double ApplyYTransform(double v, int yCode);

// Value of a fitted constructor model at x (row at y = 1, back-transformed).
double ConstructorModelValue(double x, const double* periods, const double* coefficients, int termCount,
                             int yCode, const int* codes);

// Basis function of the several-argument polynomials; error 1 (value 0) outside the
// function's domain or where the value is not finite. Codes of 27 or more give 0
// without an error. Does not touch mathDomainError.
double SchemeBasis(int code, double x, int& error);

// Sum over terms t of coefficient[t] * prod_j SchemeBasis(codes[t*argumentCount + j], x[j]);
// the term count is codes.size() / argumentCount. At the first basis error the value
// is 0 and error 1.
double TermProductModelValue(const double* x, const double* coefficients, int argumentCount,
                             const std::vector<unsigned>& codes, int& error);

// Back-transform of a y-transform given by its text ("ln(y)", "1/y", "exp(y)",
// "sin(y)", "asin(y)", "cos(y)", "acos(y)", "tan(y)", "atan(y)", any case); any other
// name gives v. Raises no flag.
double InverseYTransform(double v, const std::string& name);
