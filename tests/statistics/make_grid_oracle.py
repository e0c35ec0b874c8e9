#!/usr/bin/python3
"""Writes grid_counts.csv, the oracle of the two-variable grid counts.

Run with Debian's python3 (numpy): /usr/bin/python3 make_grid_oracle.py
Each row: originX, originY, widthX, widthY, nx, ny, n, then the nx*ny counts (np.bincount of
i*ny + j with i, j the truncated indexes clipped into the grid), then the n x and n y values.
"""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def cases():
    rng = np.random.default_rng(11)
    x, y = rng.normal(0, 1, 500), rng.normal(5, 2, 500)
    yield x.min(), y.min(), (x.max() - x.min()) / 6, (y.max() - y.min()) / 6, 6, 6, x, y
    x, y = rng.uniform(0, 10, 2000), rng.exponential(3, 2000)
    yield 0.0, 0.0, 1.0, 2.0, 10, 4, x, y  # beyond the last row: clipped into it
    x = rng.integers(0, 4, 100).astype(float)
    y = rng.integers(0, 3, 100).astype(float)
    yield 0.0, 0.0, 4 / 9, 2 / 9, 9, 9, x, y  # records at both maxima


def main():
    with open(os.path.join(HERE, "grid_counts.csv"), "w") as f:
        f.write("originX,originY,widthX,widthY,nx,ny,n,counts...,x...,y...\n")
        for ox, oy, wx, wy, nx, ny, x, y in cases():
            i = np.clip(np.trunc((x - ox) / wx), 0, nx - 1).astype(np.int64)
            j = np.clip(np.trunc((y - oy) / wy), 0, ny - 1).astype(np.int64)
            counts = np.bincount(i * ny + j, minlength=nx * ny)
            row = [ox, oy, wx, wy, nx, ny, len(x)] + list(counts) + list(x) + list(y)
            f.write(",".join(repr(float(v)) for v in row) + "\n")


if __name__ == "__main__":
    main()
