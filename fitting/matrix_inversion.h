#pragma once

#include <vector>

// Gauss-Jordan inversion in place with full pivoting. The pivot order (first
// element of largest magnitude, columns scanned outside rows) is part of the
// results: fits compare models whose normal matrices are near singular.
// All forms return the determinant, or exactly 0 at the first zero pivot
// (the matrix is then left partly reduced).

// n x n matrix in a 1-based buffer: element (i, j), from 1, at (j-1)*n + i;
// element 0 unused. n from 1 to 50 (n < 1 returns 1, n > 50 returns 0 untouched).
double InvertMatrix(int n, double* a);

// The whole array is the matrix, element (i, j) from 0 at j*n + i. Returns 0 and
// leaves a unchanged when its size is not a perfect square.
double InvertMatrixArray(std::vector<double>& a);

// n x n matrix used 1-based in the array; no limit on n. Throws
// std::invalid_argument, before touching a, when a holds fewer than n*n+1 elements.
double InvertMatrixArrayN(int n, std::vector<double>& a);

// Determinant of the 1-based n x n matrix a without its row k+1 and column k+1
// (k from 0, below n); a is not changed. 1 for n = 1; 0 when k is out of range
// or n exceeds 51.
double MatrixMinorDeterminant(int n, int k, const double* a);
