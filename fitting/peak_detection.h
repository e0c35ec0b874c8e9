#pragma once
// Gaussian peaks of a signal (a chromatogram, say): base and noise levels, the highest
// remaining point taken again and again and fitted with a Gaussian between its
// half-height edges, removed from a working copy, and all peaks refined together by one
// least-squares fit of a constant plus one Gaussian per peak. Also the small surface fit
// of the three-dimensional view.
//
// x and y are taken in record order: the edges of a peak are found by walking indices.
#include <vector>

// One detected peak. (Not called `signal`: that name is the C library's.)
struct peakSignal {
    double centre = 0;       // argument value of the Gaussian's centre
    double sigma = 0;        // standard deviation, in argument units
    double area = 0;         // height above base at x: area*invSqrtTwoPi/sigma*exp(-0.5*((x-centre)/sigma)^2)
    double base = 0;         // base level under the peak
    double noise = 0;        // standard deviation of the background
    double maxSignal = 0;    // highest value of the working signal when the peak was found
    double maxPosition = 0;  // argument value at that point
    int widthPoints = 0;     // width at half height in points
};

extern const double invSqrtTwoPi;  // 1/sqrt(2*pi)

constexpr int kMaxPeaksFound = 51;    // peak finding ends after this many
constexpr int kMaxPeaksRefined = 40;  // the refinement fits the first 40

// Peak shape functions: with base, without, and of unit area (ignoring `area`). The first
// two stop at 4 sigma, the unit peak at 3 sigma.
double GaussianPeakWithBase(const peakSignal& peak, double x);
double GaussianPeak(const peakSignal& peak, double x);
double UnitGaussianPeak(const peakSignal& peak, double x);

// Mean and deviation of the values inside [low, high] (with findRange, low and high first
// become the values' minimum and maximum; an empty array then leaves them). Fewer than 2
// values give mean = sum, deviation = 1000*sum.
void SignalLevelRange(double& mean, double& deviation, int& count, double& low, double& high,
                      const std::vector<double>& values, int findRange);
// Base and noise of the whole signal by clipping at 3 deviations until the level settles.
void EstimateNoiseLevel(peakSignal& peak, const std::vector<double>& values);
// Fits ln(y - base) between the edges with a parabola: centre, sigma and area. Points at
// or below the base are left out; false (peak left unchanged) when fewer than 3 remain,
// the parabola opens upwards, a result is not finite, the centre lies outside the run's
// arguments or the height is more than twice the run's highest point above the base.
bool FitPeakShape(peakSignal& peak, const std::vector<double>& x, const std::vector<double>& y, int left, int right);
// One step of the search on the working copy y: 0 when no further peak stands above
// base + noiseFactor*noise, else 1 with isPeak 1 for a fitted peak, 0 for a flattened
// spike or unfittable run.
int FindNextPeak(peakSignal& peak, const std::vector<double>& x, std::vector<double>& y, double noiseFactor,
                 int spikeWidth, int& isPeak);
// Removes the peak from the working signal.
void SubtractPeak(const peakSignal& peak, const std::vector<double>& x, std::vector<double>& y);
// Fills the list (at most 51 peaks); y is not changed. plates: 5.545*(centre/sigma)^2 of
// the first peak with chromatogramOnly, else 0; later peaks then enter the list only when
// sqrt(their count / the first's) lies in [0.65, 1.55].
void FindPeaks(const std::vector<double>& x, const std::vector<double>& y, std::vector<peakSignal>& list,
               double noiseFactor, int spikeWidth, int chromatogramOnly, double& plates);
// Refits the first 40 peaks' areas with a common constant (summary.base), dropping peaks
// at centre <= 0, with a negligible area or under a negative constant.
void RefinePeaks(peakSignal& summary, const std::vector<double>& x, const std::vector<double>& y,
                 std::vector<peakSignal>& list);

// Finds and refines the peaks into list (emptied first, in the order found) and summary
// (base: the refined model's constant) with the peak settings; returns the theoretical
// plates (0 without chromatogramOnly). The list is empty when no peak was found or none
// survived the refinement.
double FindAndRefinePeaks(const std::vector<double>& x, const std::vector<double>& y, double noiseFactor,
                          int spikeWidth, int chromatogramOnly, std::vector<peakSignal>& list, peakSignal& summary);

// Standard plate count of a Gaussian peak, (centre/sigma)^2 (that is 5.545*(centre/W)^2
// with W the width at half height).
double TheoreticalPlates(const peakSignal& peak);

// peakSummary.base plus every listed peak's GaussianPeak at x.
double PeakModelValue(const peakSignal& summary, const std::vector<peakSignal>& list, double x);

// Surface fit: kind 0 (1, x, y), kind 1 (1, x, y, x^2, y^2).
int SurfaceTermCount(int kind);
void SurfaceRow(double x, double y, double* row, int kind);
// Least squares of z over the rows; coefficients and deviations resized to the term
// count. Returns the residual share E/V (0 when V is 0 or nothing was fitted: fewer
// than terms + 2 records or arrays of different lengths).
double FitSurface(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                  std::vector<double>& coefficients, std::vector<double>& deviations, int kind);
