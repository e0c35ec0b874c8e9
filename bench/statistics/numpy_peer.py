#!/usr/bin/python3
"""Prints the seconds numpy takes for one piece of work on a file of raw float64 values laid
out record by record (the best of three runs; starting Python, importing numpy and reading
the file are not timed). The statistics benchmarks run it on the data they time themselves.

    numpy_peer.py corrcoef FILE RECORDS COLUMNS          numpy.corrcoef of the columns
    numpy_peer.py histogram2d FILE RECORDS BINSX BINSY   numpy.histogram2d of two columns
"""
import sys
import time

import numpy as np


def best_of_three(work):
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    kind, path, records = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if kind == "corrcoef":
        columns = int(sys.argv[4])
        data = np.fromfile(path, dtype=np.float64).reshape(records, columns)
        seconds = best_of_three(lambda: np.corrcoef(data, rowvar=False))
    elif kind == "histogram2d":
        bins = (int(sys.argv[4]), int(sys.argv[5]))
        data = np.fromfile(path, dtype=np.float64).reshape(records, 2)
        seconds = best_of_three(lambda: np.histogram2d(data[:, 0], data[:, 1], bins=bins))
    else:
        raise SystemExit(f"unknown work {kind}")
    print(f"{seconds:.6f}")


if __name__ == "__main__":
    main()
