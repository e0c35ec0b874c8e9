#!/usr/bin/python3
"""Writes the oracle tables of the term-model tests.

Run with Debian's python3 (numpy, statsmodels): /usr/bin/python3 make_term_model_oracles.py
  term_code_values.txt  "code x value flag" for every term code 0..64 (periods below)
                        and "ytrans code y value flag" for the six y-transforms
  term_model_fits.txt   per case: "m n yTransform", codes, periods, x, y, then the
                        coefficients, deviations, e and criterion expected
Coefficients of a transformed model are statsmodels OLS of T(y) on the terms; the
deviations are sqrt(MSR * inv(X'X)_jj) with MSR = SSR/N taken in y's own units (for the
identity transform that is bse * sqrt((N - m) / N)); e = SSR / SST in y's units.
"""
import math
import os

import numpy as np
import statsmodels.api as sm

HERE = os.path.dirname(os.path.abspath(__file__))
TWO_PI = 6.283185307179586
PERIODS = [10.0, 4.0, 7.3, 2.5, 3.0, 5.0, 6.0, 8.0, 9.0, 11.0, 12.0, 13.0]


def reduced(u):
    return u - TWO_PI * math.trunc(u / TWO_PI)


def power(x, k):
    return x ** k


def term(code, x, periods):
    """(value, flag); a value that is not finite is a domain error (0, 1)."""
    def fin(f):
        try:
            v = f()
        except (ZeroDivisionError, OverflowError, ValueError):
            return 0.0, 1
        return (float(v), 0) if math.isfinite(v) else (0.0, 1)

    if code == 0:
        return 1.0, 0
    if code <= 10:
        return fin(lambda: power(x, code))
    if code <= 20:
        try:
            p = power(x, code - 10)
        except OverflowError:
            return 0.0, 0  # 1/inf
        if abs(p) <= 1e-120:
            return 0.0, 1
        return fin(lambda: 1 / p)
    if code in (21, 22, 23, 24, 25, 26, 31, 32):
        if x < 0:
            return 0.0, 1
        if x == 0:
            return {21: (0.0, 0), 22: (0.0, 0), 23: (0.0, 0), 24: (0.0, 1), 25: (0.0, 1), 26: (0.0, 1),
                    31: (0.0, 1), 32: (0.0, 0)}[code]
        f = {21: lambda: math.sqrt(x), 22: lambda: math.exp(math.log(x) * 0.3333333333333333),
             23: lambda: math.exp(math.log(x) * 0.25), 24: lambda: 1 / math.sqrt(x),
             25: lambda: 1 / math.exp(math.log(x) * 0.3333333333333333),
             26: lambda: 1 / math.exp(math.log(x) * 0.25), 31: lambda: math.log(x),
             32: lambda: 1 / math.log(x)}[code]
        return fin(f)
    if code == 33:
        return fin(lambda: math.exp(x))
    if code == 34:
        return fin(lambda: math.exp(-x))
    if 41 <= code <= 64:
        sine = (code - 41) % 2 == 0
        i = (code - (41 if sine else 42)) // 2
        u = TWO_PI * x / periods[i]
        return fin(lambda: math.sin(reduced(u)) if sine else math.cos(reduced(u)))
    return 0.0, 0


def ytrans(code, y):
    if code == 0:
        return y, 0
    if code == 1:
        return (0.0, 1) if y == 0 else (1 / y, 0)
    if code == 2:
        try:
            return math.exp(y), 0
        except OverflowError:
            return 0.0, 1
    if y <= 0:
        return 0.0, 1
    return {3: math.sqrt(y), 4: 1 / math.sqrt(y), 5: math.log(y)}[code], 0


def yinv(code, v):
    return {0: lambda: v, 1: lambda: 1 / v, 2: lambda: math.log(v), 3: lambda: v * v, 4: lambda: 1 / (v * v),
            5: lambda: math.exp(v)}[code]()


def values_table():
    lines = []
    for x in [-2.0, -1.0, 0.0, 1e-13, 0.5, 1.0, 2.0, 8.0, 16.0, 1e31, 800.0]:
        for code in range(65):
            v, f = term(code, x, PERIODS)
            lines.append("code %d %r %r %d" % (code, x, v, f))
    for y in [-3.0, 0.0, 0.25, 2.0, 800.0]:
        for code in range(6):
            v, f = ytrans(code, y)
            lines.append("ytrans %d %r %r %d" % (code, y, v, f))
    with open(os.path.join(HERE, "term_code_values.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


def fit_case(codes, yt, periods, x, y):
    n, m = len(x), len(codes)
    X = np.array([[term(c, xi, periods)[0] for c in codes] for xi in x])
    T = np.array([ytrans(yt, yi)[0] for yi in y])
    res = sm.OLS(T, X).fit()
    a = res.params
    L = X @ a
    yhat = np.array([yinv(yt, v) for v in L])
    ssr = float(np.sum((yhat - y) ** 2))
    sst = float(np.sum((np.mean(y) - y) ** 2))
    msr = ssr / n
    cov = np.linalg.inv(X.T @ X)
    s = np.sqrt(msr * np.diag(cov))
    if yt == 0:
        # the same through statsmodels' own deviations
        assert np.allclose(s, res.bse * math.sqrt((n - m) / n), rtol=1e-8, atol=1e-300)
    e = ssr / sst if sst / n != 0 else 0.0
    crit = max(e ** 0.25, 6 * e)
    for k in range(m):
        if abs(a[k]) <= 1e-46:
            crit += 1e46
        else:
            r = abs(s[k] / a[k])
            crit += r * 0.5 if codes[k] >= 40 else r
    return a, s, e, crit


def fits_table():
    rng = np.random.default_rng(7301)
    cases = []
    # (codes, y-transform, periods, x range, true model on x giving y)
    lin = np.linspace(-1, 1, 41)
    pos = np.linspace(0.5, 3.0, 37)
    cases.append(([0, 1], 0, [], lin, lambda x: 1 + 2 * x))
    cases.append(([0, 1, 2, 3], 0, [], lin, lambda x: 0.5 - x + 2 * x ** 2 + 0.3 * x ** 3))
    cases.append(([0, 1, 2, 3, 4, 5], 0, [], lin, lambda x: 1 + x ** 5 - x ** 2))
    cases.append(([0, 11, 21, 31], 0, [], pos, lambda x: 2 + 1 / x + math.sqrt(x) - math.log(x)))
    cases.append(([0, 22, 25, 33, 34], 0, [], pos, lambda x: x ** (1 / 3) + math.exp(-x)))
    cases.append(([0, 1], 5, [], lin, lambda x: math.exp(0.3 + 0.8 * x)))
    cases.append(([0, 1, 2], 1, [], pos, lambda x: 1 / (1 + x + 0.2 * x * x)))
    cases.append(([0, 1], 3, [], pos, lambda x: (1 + x) ** 2))
    cases.append(([0, 1], 4, [], pos, lambda x: 1 / (2 + x) ** 2))
    cases.append(([0, 1], 2, [], pos, lambda x: math.log(3 + x)))
    cases.append(([0, 1, 41, 42], 0, [7.3], np.linspace(0, 20, 60),
                  lambda x: 2 + 0.1 * x + 3 * math.sin(TWO_PI * x / 7.3)))
    cases.append(([0, 41, 42, 43, 44], 0, [10.0, 4.0], np.linspace(0, 30, 80),
                  lambda x: 1 + math.cos(TWO_PI * x / 10) - 0.5 * math.sin(TWO_PI * x / 4)))
    lines = []
    for codes, yt, periods, xs, f in cases:
        x = np.array(xs, dtype=float)
        y = np.array([f(v) for v in x])
        scale = max(1e-3, float(np.std(y)))
        y = y * (1 + 0.02 * rng.standard_normal(len(x))) if yt != 0 else y + 0.05 * scale * rng.standard_normal(len(x))
        a, s, e, crit = fit_case(codes, yt, periods, x, y)
        lines.append("%d %d %d" % (len(codes), len(x), yt))
        lines.append(" ".join(str(c) for c in codes))
        lines.append(" ".join(repr(p) for p in periods) if periods else "-")
        lines.append(" ".join(repr(float(v)) for v in x))
        lines.append(" ".join(repr(float(v)) for v in y))
        lines.append(" ".join(repr(float(v)) for v in a))
        lines.append(" ".join(repr(float(v)) for v in s))
        lines.append("%r %r %r" % (float(e), float(crit), float(np.linalg.cond(np.array(
            [[term(c, xi, periods)[0] for c in codes] for xi in x])))))
    with open(os.path.join(HERE, "term_model_fits.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    values_table()
    fits_table()
