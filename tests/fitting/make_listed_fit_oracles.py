#!/usr/bin/python3
"""Writes listed_fits.txt: fits of the listed formulas (schemes) and constructor models.

Run with Debian's python3 (numpy, statsmodels): /usr/bin/python3 make_listed_fit_oracles.py
Both fits work in transformed units, so every case is statsmodels OLS of the transformed
y on the scheme's row: coefficients = params, deviations = bse * sqrt((N - m) / N),
e = 1 - R^2 (uncentred when the model has no constant), rms = sqrt(SSR / N).
Per case, lines: "kind id yCode n m cond" (kind scheme|constructor; id the scheme or "-"),
codes ("-" for schemes), x, y, coefficients, deviations, "e rms".
"""
import math
import os

import numpy as np
import statsmodels.api as sm

HERE = os.path.dirname(os.path.abspath(__file__))
TWO_PI = 6.283185307179586
PERIODS = [1.5, 2.0, 3.0, 4.0, 5.0, 6.0]


def scheme_row(s, x):
    if s <= 7:
        return [x ** k for k in range(s + 2)]
    if s <= 12:
        return [x ** k for k in range(s - 6)]
    if s <= 17:
        return [x ** k for k in range(s - 11)]
    return {18: [math.log(x)], 19: [1, math.log(x)], 20: [1, x, 1 / x], 21: [1, x, 1 / x, 1 / x ** 2],
            22: [1, x, math.log(x)], 23: [1, 1 / x, math.log(x)], 24: [1, x, 1 / x, math.log(x)]}[s]


def scheme_y(s, y):
    if s <= 7 or s >= 20:
        return y
    if s <= 12 or s in (18, 19):
        return math.log(y)
    return 1 / y


def reduced(u):
    return u - TWO_PI * math.trunc(u / TWO_PI)


def cterm(c, x):
    if c == 0:
        return 1.0
    if c <= 6:
        return x ** c
    if c <= 12:
        return 1 / x ** (c - 6)
    f = {13: lambda: math.sqrt(x), 14: lambda: math.exp(math.log(x) * 0.33333),
         15: lambda: math.exp(math.log(x) * 0.25), 16: lambda: 1 / math.sqrt(x),
         17: lambda: math.exp(math.log(x) * -0.33333), 18: lambda: math.exp(math.log(x) * -0.25),
         19: lambda: math.log(x), 20: lambda: 1 / math.log(x), 21: lambda: math.exp(x),
         22: lambda: math.exp(-x)}
    if c in f:
        return f[c]()
    k = (c - 23) // 2
    u = TWO_PI * x / PERIODS[k]
    return math.sin(reduced(u)) if (c - 23) % 2 == 0 else math.cos(reduced(u))


def cy(code, y):
    return {0: lambda: y, 1: lambda: 1 / y, 2: lambda: math.exp(y), 3: lambda: math.sqrt(y),
            4: lambda: 1 / math.sqrt(y), 5: lambda: math.log(y)}[code]()


def ols(X, T):
    n, m = X.shape
    res = sm.OLS(T, X).fit()
    a = res.params
    s = res.bse * math.sqrt((n - m) / n)
    resid = T - X @ a
    ssr = float(resid @ resid)
    sst = float(np.sum((T - T.mean()) ** 2))
    e = ssr / sst if sst / n != 0 else 0.0
    if np.any(np.abs(X[:, 0] - 1) < 1e-300) and np.allclose(X[:, 0], 1):
        assert abs(e - (1 - res.rsquared)) < 1e-9
    return a, s, e, math.sqrt(ssr / n), float(np.linalg.cond(X))


def main():
    rng = np.random.default_rng(112)
    lines = []

    def emit(kind, ident, ycode, codes, x, y, X, T):
        a, s, e, rms, cond = ols(X, T)
        lines.append("%s %s %d %d %d %r" % (kind, ident, ycode, len(x), X.shape[1], cond))
        lines.append(" ".join(str(c) for c in codes) if codes else "-")
        for arr in (x, y, a, s):
            lines.append(" ".join(repr(float(v)) for v in arr))
        lines.append("%r %r" % (float(e), float(rms)))

    xs = np.linspace(-1, 1, 31)
    xp = np.linspace(0.3, 2.5, 29)
    for s in range(25):
        x = xs if s <= 7 else xp
        if 13 <= s <= 17:
            x = np.linspace(0.1, 1.5, 29)
        base = {True: lambda v: 1.5 + 0.7 * v + 0.3 * math.sin(2 * v)}[True]
        y = np.array([base(v) for v in x]) * (1 + 0.03 * rng.standard_normal(len(x)))
        X = np.array([scheme_row(s, v) for v in x], dtype=float)
        T = np.array([scheme_y(s, v) for v in y])
        emit("scheme", str(s), 0, None, x, y, X, T)
    cases = [([0, 1, 2], 0), ([0, 13, 19], 5), ([0, 7, 21], 3), ([0, 1, 23, 24], 0), ([0, 1], 1),
             ([1, 14, 22], 4), ([0, 1, 2, 3, 4, 5, 6], 0), ([0, 15, 17, 18], 2)]
    for codes, ycode in cases:
        x = xp
        y = np.array([2 + 0.5 * v + 0.2 * math.cos(v) for v in x]) * (1 + 0.02 * rng.standard_normal(len(x)))
        if ycode == 2:
            y = y * 0.3
        X = np.array([[cterm(c, v) for c in codes] for v in x], dtype=float)
        T = np.array([cy(ycode, v) for v in y])
        emit("constructor", "-", ycode, codes, x, y, X, T)
    with open(os.path.join(HERE, "listed_fits.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
