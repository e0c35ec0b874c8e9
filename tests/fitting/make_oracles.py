#!/usr/bin/python3
"""Writes the oracle tables of the fitting tests.

Run with Debian's python3 (numpy): /usr/bin/python3 make_oracles.py
Outputs, beside this script:
  inverse.txt      random well-conditioned matrices with numpy's inverse and determinant
  pivot_order.txt  tie cases: the exact result of Gauss-Jordan elimination whose
                   pivot is the first element of largest magnitude (columns outer,
                   rows inner), computed here by a plain Python elimination
  least_squares.txt  fits with numpy's coefficients and coefficient deviations

Matrix layout in the tables: element (i, j), both from 1, is item (j-1)*n + i - 1 of
a line, that is column by column.
"""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def flat(m):
    # column by column
    return " ".join(repr(float(v)) for v in np.asarray(m).T.reshape(-1))


def inverse_cases():
    rng = np.random.default_rng(20240611)
    lines = []
    for n in [1, 2, 3, 4, 5, 6, 8, 10, 13, 17, 20, 25, 32, 40, 50]:
        for trial in range(2 if n <= 10 else 1):
            while True:
                # Small integers keep the table exact; the shift keeps the matrix
                # well conditioned while off-diagonal elements still win pivots.
                a = rng.integers(-40, 41, size=(n, n)).astype(float)
                a += np.diag(rng.integers(-30, 31, size=n) + 20.0 * np.sign(rng.standard_normal(n)) * np.sqrt(n))
                if np.linalg.cond(a) < 200:
                    break
            inv = np.linalg.inv(a)
            det = np.linalg.det(a)
            lines.append("%d %s" % (n, repr(float(det))))
            lines.append(flat(a))
            lines.append(flat(inv))
    with open(os.path.join(HERE, "inverse.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def gauss_jordan(n, a, first_wins=True):
    """Literal in-place elimination on a dict a[(i, j)], 1-based; returns (d, a)."""
    a = dict(a)
    d = 1.0
    rows, cols = {}, {}
    for k in range(1, n + 1):
        p = a[(k, k)]
        r, c = k, k
        for j in range(k, n + 1):
            for i in range(k, n + 1):
                diff = abs(p) - abs(a[(i, j)])
                if diff < 0 or (not first_wins and diff == 0 and (i, j) != (k, k)):
                    p, r, c = a[(i, j)], i, j
        rows[k], cols[k] = r, c
        if r > k:
            for j in range(1, n + 1):
                hold = -a[(k, j)]
                a[(k, j)] = a[(r, j)]
                a[(r, j)] = hold
        if c > k:
            for i in range(1, n + 1):
                hold = -a[(i, k)]
                a[(i, k)] = a[(i, c)]
                a[(i, c)] = hold
        if p == 0.0:
            return 0.0, a
        for i in range(1, n + 1):
            if i != k:
                a[(i, k)] = a[(i, k)] / -p
        for i in range(1, n + 1):
            if i == k:
                continue
            for j in range(1, n + 1):
                if j != k:
                    a[(i, j)] = a[(i, j)] + a[(i, k)] * a[(k, j)]
        for j in range(1, n + 1):
            if j != k:
                a[(k, j)] = a[(k, j)] / p
        d = d * p
        a[(k, k)] = 1.0 / p
    for k in range(n - 1, 0, -1):
        r = rows[k]
        if r > k:
            for i in range(1, n + 1):
                hold = a[(i, k)]
                a[(i, k)] = -a[(i, r)]
                a[(i, r)] = hold
        c = cols[k]
        if c > k:
            for j in range(1, n + 1):
                hold = a[(k, j)]
                a[(k, j)] = -a[(c, j)]
                a[(c, j)] = hold
    return d, a


def as_dict(m):
    n = len(m)
    return {(i + 1, j + 1): float(m[i][j]) for i in range(n) for j in range(n)}


def dict_flat(n, a):
    return " ".join(repr(a[(i, j)]) for j in range(1, n + 1) for i in range(1, n + 1))


def pivot_cases():
    rng = np.random.default_rng(7)
    lines = []
    count = 0
    # Matrices full of tied magnitudes; keep those where the tie rule changes bits.
    while count < 16:
        n = int(rng.integers(2, 10))
        m = rng.choice([-3.0, -1.0, 1.0, 3.0, 0.1, -0.7], size=(n, n))
        d1, a1 = gauss_jordan(n, as_dict(m), True)
        d2, a2 = gauss_jordan(n, as_dict(m), False)
        if d1 != 0.0 and (dict_flat(n, a1) != dict_flat(n, a2)):
            lines.append("%d %s" % (n, repr(d1)))
            lines.append(dict_flat(n, as_dict(m)))
            lines.append(dict_flat(n, a1))
            count += 1
    # Singular matrices: the partly reduced state shows the pivots taken so far.
    singular = [
        [[1.0, 2.0, 3.0], [1.0, 2.0, 3.0], [4.0, 4.0, 1.0]],
        [[2.0, -2.0, 1.0], [-2.0, 2.0, 0.5], [2.0, -2.0, 1.0]],
        [[0.0, 0.0], [0.0, 0.0]],
        [[3.0, 1.0, -3.0, 2.0], [1.0, 3.0, 1.0, -3.0], [3.0, 1.0, -3.0, 2.0], [0.5, 0.5, 0.5, 0.5]],
    ]
    for m in singular:
        n = len(m)
        d, a = gauss_jordan(n, as_dict(m), True)
        assert d == 0.0
        lines.append("%d %s" % (n, repr(d)))
        lines.append(dict_flat(n, as_dict(m)))
        lines.append(dict_flat(n, a))
    with open(os.path.join(HERE, "pivot_order.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def least_squares_cases():
    """Each case: m n, then the rows (n lines of m basis values and y), then the
    coefficients, then the coefficient deviations sqrt(MSR * (X'X)^-1_jj) with
    MSR = SSR/n, then SSR and SST."""
    rng = np.random.default_rng(99)
    cases = []
    # A cubic on 40 points.
    x = np.linspace(-2.0, 3.0, 40)
    X = np.vander(x, 4, increasing=True)
    y = 1.5 - 0.5 * x + 0.25 * x ** 2 - 0.125 * x ** 3 + rng.normal(0, 0.1, x.size)
    cases.append((X, y))
    # Thirty terms whose normal matrix has a determinant far beyond the double range.
    X = rng.normal(0.0, 1e7, size=(120, 30))
    X[:, 0] = 1e7
    beta = rng.normal(0.0, 1.0, 30)
    y = X @ beta + rng.normal(0.0, 1e6, 120)
    cases.append((X, y))
    lines = []
    for X, y in cases:
        n, m = X.shape
        coef, *_ = np.linalg.lstsq(X, y, rcond=None)
        res = X @ coef - y
        ssr = float(res @ res)
        sst = float(((y.mean() - y) ** 2).sum())
        msr = ssr / n
        inv = np.linalg.inv(X.T @ X)
        dev = np.sqrt(msr * np.diag(inv))
        lines.append("%d %d" % (m, n))
        for i in range(n):
            lines.append(" ".join(repr(float(v)) for v in X[i]) + " " + repr(float(y[i])))
        lines.append(" ".join(repr(float(v)) for v in coef))
        lines.append(" ".join(repr(float(v)) for v in dev))
        lines.append("%r %r" % (ssr, sst))
    with open(os.path.join(HERE, "least_squares.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    inverse_cases()
    pivot_cases()
    least_squares_cases()
