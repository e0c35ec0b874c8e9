#!/usr/bin/python3
"""Writes polynomial_fits.txt, the oracle table of the polynomial and regression fits.

Run with Debian's python3 (numpy, statsmodels): /usr/bin/python3 make_fit_oracles.py

Blocks, numbers separated by blanks:
  poly n N        N lines "x y"; then numpy.polyfit's coefficients c0 .. c(n-1)
                  (lowest power first), statsmodels OLS deviations scaled to SSR/N,
                  and SSR/SST
  plane a N / parabolic a N
                  N lines "x_1 .. x_a y"; then the OLS coefficients in the order
                  1, x_1 .. x_a (plane) or 1, x_1^2, x_1, .. x_a^2, x_a (parabolic),
                  the deviations scaled to SSR/N, and SSR/SST

It also writes peak_refinement.txt: the linear step of the peak refinement, numpy's
lstsq of y on the columns [1, Gaussian_j] (unit-area Gaussians cut at 3 sigma):
  N K / K lines "centre sigma" / N lines "x y" / the K+1 coefficients (constant first)
"""
import os

import numpy as np
import statsmodels.api as sm

HERE = os.path.dirname(os.path.abspath(__file__))


def fmt(values):
    return " ".join(repr(float(v)) for v in values)


def ols(design, y):
    fit = sm.OLS(y, design).fit()
    n, m = design.shape
    # The program divides the residual sum by N, not by N - m.
    dev = fit.bse * np.sqrt((n - m) / n)
    sst = np.sum((y - y.mean()) ** 2)
    return fit.params, dev, fit.ssr / sst


def main():
    rng = np.random.default_rng(25103)
    out = []
    for n, count in [(1, 7), (2, 10), (3, 25), (4, 40), (6, 60), (8, 120)]:
        x = np.sort(rng.uniform(-3, 4, count))
        true = rng.normal(0, 2, n)
        y = np.polynomial.polynomial.polyval(x, true) + rng.normal(0, 0.3, count)
        coef = np.polyfit(x, y, n - 1)[::-1]
        _, dev, e = ols(np.vander(x, n, increasing=True), y)
        out.append(f"poly {n} {count}")
        out += [fmt([a, b]) for a, b in zip(x, y)]
        out += [fmt(coef), fmt(dev), fmt([e])]
    for kind in ["plane", "parabolic"]:
        for a, count in [(1, 12), (2, 30), (3, 50), (5, 80)]:
            X = rng.uniform(-2, 5, (count, a))
            cols = [np.ones(count)]
            for j in range(a):
                if kind == "parabolic":
                    cols.append(X[:, j] ** 2)
                cols.append(X[:, j])
            design = np.column_stack(cols)
            y = design @ rng.normal(0, 3, design.shape[1]) + rng.normal(0, 0.5, count)
            coef, dev, e = ols(design, y)
            out.append(f"{kind} {a} {count}")
            out += [fmt(list(X[i]) + [y[i]]) for i in range(count)]
            out += [fmt(coef), fmt(dev), fmt([e])]
    with open(os.path.join(HERE, "polynomial_fits.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


def unit_gaussian(x, centre, sigma):
    d = x - centre
    g = 1.0 / np.sqrt(2 * np.pi) / sigma * np.exp(-0.5 * d * d / (sigma * sigma))
    return np.where(np.abs(d) <= 3 * sigma, g, 0.0)


def refinement():
    rng = np.random.default_rng(26120)
    out = []
    for n, peaks in [(400, [(80.0, 6.0), (200.0, 9.0), (320.0, 4.5)]),
                     (1500, [(100.0 + 130.0 * k, 5.0 + k % 4) for k in range(10)])]:
        x = np.arange(n, dtype=float)
        cols = [np.ones(n)] + [unit_gaussian(x, c, s) for c, s in peaks]
        design = np.column_stack(cols)
        truth = np.array([5.0] + [rng.uniform(200, 900) for _ in peaks])
        y = design @ truth + rng.normal(0, 0.5, n)
        coef = np.linalg.lstsq(design, y, rcond=None)[0]
        out.append(f"{n} {len(peaks)}")
        out += [fmt(p) for p in peaks]
        out += [fmt([a, b]) for a, b in zip(x, y)]
        out.append(fmt(coef))
    with open(os.path.join(HERE, "peak_refinement.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
    refinement()
