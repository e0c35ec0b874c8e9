#pragma once

#include <vector>

// Gauss-Jordan inversion in place with full pivoting. The pivot order (first
// element of largest magnitude, columns scanned outside rows) is part of the
// results: fits compare models whose normal matrices are near singular.
// All forms return the determinant, or exactly 0 at the first pivot that is zero or
// negligible (the matrix is then left partly reduced). A pivot is negligible when its
// magnitude is at most `negligibleShare` of its scale, the geometric mean of the magnitudes
// that its row's and its column's diagonal elements had before the elimination. For a normal
// matrix that share is what is left of a basis column beside the columns already eliminated
// (the squared sine of its angle to them); when it is no more than the rounding that the sums
// carry, the terms are not independent for those data. A zero diagonal gives no scale: only
// an exact zero pivot counts there.

// The share for a normal matrix summed over `points` points: one rounding unit per point
// (each sum may carry that much), and never fewer than 64.
double NegligiblePivotShare(long long points = 0);

// n x n matrix in a 1-based buffer: element (i, j), from 1, at (j-1)*n + i;
// element 0 unused. n from 1 to 50 (n < 1 returns 1, n > 50 returns 0 untouched).
double InvertMatrix(int n, double* a, double negligibleShare = NegligiblePivotShare());

// The whole array is the matrix, element (i, j) from 0 at j*n + i. Returns 0 and
// leaves a unchanged when its size is not a perfect square.
double InvertMatrixArray(std::vector<double>& a, double negligibleShare = NegligiblePivotShare());

// n x n matrix used 1-based in the array; no limit on n. Throws
// std::invalid_argument, before touching a, when a holds fewer than n*n+1 elements.
double InvertMatrixArrayN(int n, std::vector<double>& a, double negligibleShare = NegligiblePivotShare());

// Determinant of the 1-based n x n matrix a without its row k+1 and column k+1
// (k from 0, below n); a is not changed. 1 for n = 1; 0 when k is out of range
// or n exceeds 51.
double MatrixMinorDeterminant(int n, int k, const double* a);
