#!/usr/bin/python3
"""Writes correlation_series.csv, the oracle of the correlation view and report.

Run with Debian's python3 (numpy): /usr/bin/python3 make_correlation_oracle.py
Each row is one series of 4 parameters: n, the 16 entries of np.corrcoef (row-major, a
column without spread giving 0), then the n records of 4 values.
"""
import os

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def series():
    rng = np.random.default_rng(29)
    a = rng.normal(0, 1, 60)
    yield np.column_stack([a, 2 * a + rng.normal(0, 0.5, 60), rng.uniform(0, 1, 60), -a + rng.normal(0, 2, 60)])
    b = rng.uniform(0, 10, 45)
    yield np.column_stack([b, rng.normal(0, 1, 45), np.full(45, 3.0), b * b])


def main():
    with open(os.path.join(HERE, "correlation_series.csv"), "w") as f:
        f.write("n,corr[16],records...\n")
        for m in series():
            c = np.zeros((4, 4))
            for i in range(4):
                for j in range(4):
                    if np.std(m[:, i]) > 0 and np.std(m[:, j]) > 0:
                        c[i, j] = np.corrcoef(m[:, i], m[:, j])[0, 1]
            row = [len(m)] + list(c.flatten()) + list(m.flatten())
            f.write(",".join(repr(float(v)) for v in row) + "\n")


if __name__ == "__main__":
    main()
