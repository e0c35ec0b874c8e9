#!/usr/bin/python3
"""Writes one_variable.csv, the oracle of the one-variable statistics tests.

Run with Debian's python3 (numpy): /usr/bin/python3 make_one_variable_oracle.py
Each row: n, mean, std (ddof=1), median, corrcoef(x, y) (0 when either has no spread),
then the n values of x and the n values of y.
"""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def samples():
    rng = np.random.default_rng(20261206)
    yield rng.normal(10.0, 3.0, 200), rng.normal(0.0, 1.0, 200)
    x = rng.uniform(0.0, 1.0, 301)
    yield x, 2.0 * x + rng.normal(0.0, 0.1, 301)
    # A large offset: sums of squares minus mean times sum lose every digit here.
    x = 1.6e9 + rng.uniform(0.0, 1.0, 500)
    yield x, -x + rng.uniform(0.0, 1e-3, 500)
    # Ties at the middle.
    yield np.array([1.0, 2.0, 3.0, 3.0]), np.array([4.0, 3.0, 2.0, 1.0])
    x = rng.integers(0, 5, 100).astype(float)
    yield x, rng.integers(0, 3, 100).astype(float)
    yield rng.exponential(2.0, 1000), np.full(1000, 7.0)


def main():
    with open(os.path.join(HERE, "one_variable.csv"), "w") as f:
        f.write("n,mean,std,median,corr,x...,y...\n")
        for x, y in samples():
            if np.std(x) > 0 and np.std(y) > 0:
                r = np.corrcoef(x, y)[0, 1]
            else:
                r = 0.0
            row = [len(x), np.mean(x), np.std(x, ddof=1), np.median(x), r] + list(x) + list(y)
            f.write(",".join(repr(float(v)) for v in row) + "\n")


if __name__ == "__main__":
    main()
