#pragma once
// Statistics of one sample of doubles: bin summaries over a fixed bin grid, mean and
// deviations, the median, the centre of least absolute deviation, the densest interval,
// agreement of the histogram with a fitted shape, the randomness of a conditional selection
// and the correlation of two samples. Free functions without state; samples are read only.
#include <cstdint>
#include <vector>

// Summary of one sample over a bin grid (bin i covers origin + i*width up to origin +
// (i+1)*width; a value is binned by floor, so it lands in exactly one bin).
struct distributionSummary {
    std::int32_t n = 0;         // values summarised
    std::int32_t maxCount = 0;  // largest bin count (or running total)
    double mean = 0;
    double spread = 0;          // population standard deviation
    double maxCountShare = 0;   // maxCount / n; the largest deviation for FromDeviations
    double min = 1e40;
    double max = -1e40;

    // Counts per bin. Fewer than 3 values: n is set, the bins are cleared and the rest of
    // the record is reset, so nothing stale is drawn from it.
    void FromBinnedValues(const std::vector<double>& sample, std::vector<double>& bins, double origin,
                          int binCount, double width);
    // Running totals: bin i holds the number of values below its upper edge.
    void FromCumulativeValues(const std::vector<double>& sample, std::vector<double>& bins, double origin,
                              int binCount, double width);
    // The "part of whole" summary of per-bin percentages (100 * conditional / all count of
    // each bin) against the overall conditional share, taken in percent as well so that the
    // two compare: mean = 100 * conditionalCount / allCount, min and max the extreme
    // deviations from it, maxCountShare the largest deviation seen by this record so far
    // (not reset, so over several variables it is the largest of them all).
    void FromDeviations(const std::vector<double>& percentages, int allCount, int conditionalCount);
};

// Mean, sample standard deviation (n - 1) and standard error; all 0 with fewer than 2 values.
void MeanStdDev(const std::vector<double>& sample, double& mean, double& stdDev, double& stdError);
// |100 * spread / mean| in percent, or 1e40 when the mean is (almost) zero.
double CoefficientOfVariation(double mean, double spread);
// Mean of |v - centre|; 0 for an empty sample.
double MeanAbsoluteDeviation(const std::vector<double>& sample, double centre);
// The centre of least mean absolute deviation by a shrinking pattern search from the mean;
// with fewer than 3 values the deviation output is not written.
double MinimumAbsoluteDeviation(const std::vector<double>& sample, double& deviation);
// Values strictly below and strictly above x.
void CountBelowAbove(const std::vector<double>& sample, double x, int& below, int& above);
// The middle value, or the mean of the two middle values; 0 for an empty sample.
double Median(const std::vector<double>& sample);
// The shortest run of equal bins over [min, max] holding at least share of the values:
// [from, till] are the outer edges of the bins counted. The grid of min(n, 100) bins is
// refined tenfold (up to 100,000 bins) while its first bin holds more than the values a run
// may leave out; beyond that, or with share 1, [min, max]. Outputs untouched with fewer than
// 2 values or no spread.
void MostDenseInterval(const std::vector<double>& sample, double share, double& from, double& till);
// 1 - residuals/total of the sample's 100-bin histogram against a Student (kind 0),
// Poisson (1) or Erlang (2) shape; 0 when it is undefined.
double DistributionCorrelation(const std::vector<double>& sample, double mean, double stdDev, int n, int kind);
// Randomisation test (1000 trials of the program's random sequence): how surely a selection
// of that share with that mean is not a random subsample. In [0, 1]; 0 with fewer than 3 values.
double SelectionNotRandomProbability(const std::vector<double>& sample, double share, double observedMean);
// Pearson's r; 0 for empty or unequal samples, and when either has no spread.
double CorrelationCoefficient(const std::vector<double>& x, const std::vector<double>& y);
