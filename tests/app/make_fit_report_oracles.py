#!/usr/bin/python3
"""Writes fit_reports.txt, the oracle of the single-argument fit report tests.

Run with Debian's python3 (numpy, statsmodels): /usr/bin/python3 make_fit_report_oracles.py
One line per case: "<case> <N> x... y... | coefficients... | deviations...".
Coefficients are statsmodels OLS of the transformed value on the model's columns; the
deviations are the reports' sqrt(SSR/N * inv(X'X)_jj) = bse * sqrt((N - m) / N).
The "lnline" case (ln y on 1 and x) is checked against np.polyfit(x, log y, 1) as well.
"""
import os

import numpy as np
import statsmodels.api as sm

HERE = os.path.dirname(os.path.abspath(__file__))

x = np.linspace(0.5, 6.0, 23)
noise = np.sin(7.7 * x) * 0.15 + np.cos(3.1 * x) * 0.1
y_quad = 1.5 - 0.8 * x + 0.25 * x * x + noise
y_exp = np.exp(0.3 + 0.45 * x + noise * 0.3)
# Custom formulas see the points written "%g": data of six significant digits fit alike.
y_quad = np.array([float("%g" % v) for v in y_quad])
y_exp = np.array([float("%g" % v) for v in y_exp])

cases = [
    # case name, transformed target, design columns, y given to the report
    ("quadratic", y_quad, [np.ones_like(x), x, x * x], y_quad),
    ("lnline", np.log(y_exp), [np.ones_like(x), x], y_exp),
]

lines = []
for name, target, cols, y in cases:
    X = np.column_stack(cols)
    fit = sm.OLS(target, X).fit()
    n, m = X.shape
    dev = fit.bse * np.sqrt((n - m) / n)
    coef = fit.params
    if name == "lnline":
        slope, intercept = np.polyfit(x, target, 1)
        assert abs(slope - coef[1]) < 1e-10 and abs(intercept - coef[0]) < 1e-10
    fmt = lambda v: " ".join(repr(float(t)) for t in v)
    lines.append(f"{name} {n} {fmt(x)} {fmt(y)} | {fmt(coef)} | {fmt(dev)}")

with open(os.path.join(HERE, "fit_reports.txt"), "w") as out:
    out.write("\n".join(lines) + "\n")
