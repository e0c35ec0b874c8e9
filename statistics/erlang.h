#pragma once

#include <cstdint>

// A fitted Erlang distribution; both 0 for no distribution (a zero spread).
struct erlangFit {
    std::int32_t shape = 0;
    double scale = 0.0;
};

// Shape = mean^2/sd^2 rounded (a fraction of exactly 0.5 rounds down), at least 1;
// scale = mean/shape.
erlangFit ErlangSetup(double mean, double sd);

// Density of the Erlang distribution fit at x (0 for x < 0 or no distribution).
double ErlangDensity(const erlangFit& fit, double x);

// ErlangDensity(x) when x lies strictly inside (lo, hi), else the larger density
// at lo and hi; 0 when lo >= hi, hi <= 0 or x <= 0.
double ErlangPeakDensity(const erlangFit& fit, double x, double lo, double hi);
