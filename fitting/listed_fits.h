#pragma once
// The two user-assembled models of one argument: the constructor's model (codes 0..34 with
// a y-code, schemes.h) and the listed formulas (fitting schemes 0..24). Their least-squares
// fits, the acceptance test, the automatic choice among the listed formulas, the
// Monte-Carlo deviation band around a fitted curve, and the polynomial-with-cosines value.
//
// Both fits work in transformed units: SST and SSR are taken of the transformed values.
#include <vector>

constexpr double kFailedListedFit = 1e40;      // result of a fit that could not be made
constexpr double kFailedFirstDeviation = 1e30; // its first deviation (fails the acceptance test)
constexpr int kMaxListedFitCoefficients = 100; // room of the main window's coefficient arrays

// Every |deviation_k| / (|a_k| + 0.1) is at most 100 (a value that is not a number fails),
// and there is at least one coefficient.
bool ListedFitAccepted(const double* coefficients, const double* deviations, int count);

// Constructor model fit. Rejected values enter as the 0 of the tables. Returns e = SSR/SST
// (0 when SST is 0). No points, x and y of different lengths, or a term count outside
// 1..100 fail: coefficient 0 = 1, deviation 0 = 1e30, rms 1e40, result 1e40.
double FitConstructorModel(const std::vector<double>& x, const std::vector<double>& y, const double* periods,
                           double* coefficients, double* deviations, const int* codes, int yCode, int termCount,
                           double& rms);

// Listed formula fit. Fails as above, and also at the first point outside the scheme's
// domain. maxDeviation: the largest |back-transformed prediction - y| (1e40 when a back-
// transform fails or the fit failed).
double FitCollectionModel(const std::vector<double>& x, const std::vector<double>& y, double* coefficients,
                          double* deviations, int count, double& rms, int scheme, double& maxDeviation);

// How the automatic choice ranks the formulas (the collection page sets one at a time).
struct ListedSearchModes {
    int overallFit = 0;      // lowest e among fits whose worst ratio is below 0.2
    int stability = 0;       // lowest worst ratio
    int minOfMaxOut = 0;     // lowest maximum deviation
};

// Fits formulas 0 .. formulaCount-1 and returns the best index, or -1 when none qualifies
// (a qualifying fit passes the acceptance test and has e != 0).
int SearchBestListedFormula(const std::vector<double>& x, const std::vector<double>& y, const ListedSearchModes& modes,
                            int formulaCount = 25);

// Mean of x; with visibleOnly only of the x in [xMin, xMax] (0 when none).
double BandMeanX(const std::vector<double>& x, int visibleOnly, double xMin, double xMax);

// Monte-Carlo deviation band: N points xs[i] = xFrom + i*step, mid[i] the fitted linear
// value, band[i] = sqrt(sum over M trials of the squared change of the linear value at
// xs[i] and at its mirror 2*meanX - xs[i] under coefficients drawn from N(a_k, s_k), * 0.5/M)
// + rms. Draws come from the program's one generator, trial by trial, coefficient by
// coefficient. Returns 0 (arrays untouched) when the step is not positive or a coefficient
// or deviation is not finite. With widenMin/widenMax given, the back-transforms of
// mid +- band widen them (points outside the domain are passed over).
int ConstructorStdDevBand(double xFrom, double xTo, std::vector<double>& xs, double& step, std::vector<double>& band,
                          std::vector<double>& mid, int N, int M, const double* periods, const double* coefficients,
                          const double* deviations, const int* codes, int yCode, int termCount, double rms,
                          double meanX, double* widenMin = nullptr, double* widenMax = nullptr);
int CollectionStdDevBand(double xFrom, double xTo, std::vector<double>& xs, double& step, std::vector<double>& band,
                         std::vector<double>& mid, int N, int M, const double* coefficients, const double* deviations,
                         int count, double rms, double meanX, int scheme, double* widenMin = nullptr,
                         double* widenMax = nullptr);

// sum a_i x^i (i < polyCount) + sum A_k cos((x + phi_k) * 6.2831853072 / T_k) (k < cosineCount),
// A_k = coefficients[polyCount + 2k], phi_k = coefficients[polyCount + 2k + 1], T_k = periods[k].
double PolynomialCosineValue(double x, const double* coefficients, int polyCount, int cosineCount,
                             const double* periods);
