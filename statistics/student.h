#pragma once

// Cumulative Student t distribution and the probabilities built on it. A Student
// variable is described by a centre, a scale sd and a point count n; its degrees
// of freedom are n - 1.

// P(T <= t) with df degrees of freedom (df above 100 taken as 100, below 2 gives 0.5),
// clamped to [0, 1]; not a number gives 0.
double StudentCdf(int df, double t);

// StudentCdf(n - 1, (x - mean)/sd).
double StudentCdfAt(double x, double sd, int n, double mean);

// Probability of lying within +-d of the centre; 0 for n below 3.
double StudentIntervalProbability(double sd, int n, double d);

// Half-width d with StudentIntervalProbability(sd, n, d) = p (p clamped to
// [0, 0.9999999]), to 1e-6*sd; 0 when 10000 steps do not suffice or sd <= 0.
double StudentIntervalHalfWidth(double sd, int n, double p);

// StudentCdfAt(centre, sd, n, a) - StudentCdfAt(centre, sd, n, b): the probability
// of [a, b] for a Student variable about centre.
double StudentProbabilityBetween(double centre, double sd, int n, double a, double b);

// Largest probability per unit width of a bin of width w in [lo, hi]: the bin
// centred on the mean when the mean lies inside, else the larger of the bins
// centred at lo and at hi. 0 when lo >= hi.
double StudentPeakBinProbability(double mean, double sd, int n, double lo, double hi, double w);
