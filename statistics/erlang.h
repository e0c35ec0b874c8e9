#pragma once

#include <cstdint>

// The fitted Erlang distribution, program-wide: set by ErlangSetup, read by
// ErlangDensity. Both 0 until the first setup and after a setup with zero spread.
extern std::int32_t erlangShape;
extern double erlangScale;

// Shape = mean^2/sd^2 rounded (a fraction of exactly 0.5 rounds down), at least 1;
// scale = mean/shape.
void ErlangSetup(double mean, double sd);

// Density of the current Erlang distribution at x (0 for x < 0 or no distribution).
double ErlangDensity(double x);

// ErlangDensity(x) when x lies strictly inside (lo, hi), else the larger density
// at lo and hi; 0 when lo >= hi, hi <= 0 or x <= 0.
double ErlangPeakDensity(double x, double lo, double hi);
