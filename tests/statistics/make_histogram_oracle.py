#!/usr/bin/python3
"""Writes histogram_bins.csv, the oracle of the one-variable bin counts.

Run with Debian's python3 (numpy): /usr/bin/python3 make_histogram_oracle.py
Each row: origin, width, bins, n, then the bins plain counts (np.bincount of the floor
indexes, values outside 0..bins-1 dropped), the bins running totals (values below the origin
counted in every one), then the n values.
"""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def cases():
    rng = np.random.default_rng(7)
    yield -2.0, 1.0, 6, np.concatenate([rng.uniform(-0.999, 0, 20), rng.normal(1, 1, 200)])
    yield 0.0, 0.5, 10, rng.exponential(1.5, 500)
    yield -30.0, 5.0, 12, rng.normal(0, 10, 1000)
    yield 100.0, 0.25, 40, 100 + rng.integers(0, 40, 300) * 0.25  # values on bin edges
    yield -1.0, 2.0, 1, np.array([-1.0, 0.0, 0.99, 1.0, 1.5, 3.0, -1.5])


def main():
    with open(os.path.join(HERE, "histogram_bins.csv"), "w") as f:
        f.write("origin,width,bins,n,counts...,cumulative...,values...\n")
        for origin, width, bins, v in cases():
            idx = np.floor((v - origin) / width).astype(np.int64)
            inside = idx[(idx >= 0) & (idx < bins)]
            counts = np.bincount(inside, minlength=bins)[:bins]
            cumulative = np.cumsum(counts) + np.count_nonzero(v < origin)
            row = [origin, width, bins, len(v)] + list(counts) + list(cumulative) + list(v)
            f.write(",".join(repr(float(x)) for x in row) + "\n")


if __name__ == "__main__":
    main()
