#pragma once

// Poisson probabilities at whole and fractional points. No probability falls
// below exp(-40), so the shapes drawn from them stay on a logarithmic axis.

// Probability of k events at rate lambda; 0 for k < 0 or lambda <= 0.
double PoissonProbability(double lambda, int k);

// Linear interpolation between the probabilities of trunc(x) and trunc(x) + 1
// (within 0.0001 of either it is that probability); 0 for x <= 0 or lambda <= 0.
double PoissonProbabilityAt(double lambda, double x);

// Sum of PoissonProbabilityAt at a, a+h, ... below b (a always counts), divided by h.
// 0 when b <= a, b <= 0, lambda <= 0 or h <= 0.
double PoissonIntervalSum(double lambda, double a, double b, double h);

// PoissonIntervalSum / (b - a).
double PoissonIntervalMean(double lambda, double a, double b, double h);

// Largest bin value in [lo, hi] with bins of width (hi - lo)/100 (or 1 when the
// range is under 100); 0 when lo >= hi, hi <= 0 or lambda <= 0.
double PoissonPeakBinProbability(double lambda, double lo, double hi);
