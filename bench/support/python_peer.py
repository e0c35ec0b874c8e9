#!/usr/bin/python3
"""Prints the seconds numpy or scipy takes for one piece of work on a file of raw float64
values laid out record by record (the best of three runs; starting Python, importing the
modules and reading the file are not timed). The benchmarks run it on the data they time
themselves (bench/support/python_peer.h).

    python_peer.py corrcoef FILE RECORDS COLUMNS          numpy.corrcoef of the columns
    python_peer.py histogram2d FILE RECORDS BINSX BINSY   numpy.histogram2d of two columns
    python_peer.py closest FILE RECORDS PERCENT           cKDTree: mean of the closest percent
    python_peer.py inverse FILE RECORDS                   cdist: the 1/d weighted mean of all

The last two estimate every record of (three arguments, value) from the sampled records,
every (N // 500 + 1)-th, a record never taking part in its own estimate, as the
near-neighbour benchmark does.
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


def neighbours(kind, data, n, arguments):
    from scipy.spatial import cKDTree
    from scipy.spatial.distance import cdist

    step = n // 500 + 1
    sampled = data[::step]
    points, values = data[:, :3], sampled[:, 3]
    rows = np.arange(n)
    # The sampled place of each record, -1 for the records not sampled.
    own = np.where(rows % step == 0, rows // step, -1)
    if kind == "closest":
        k = max(1, int(len(sampled) * 0.01 * float(arguments[0])))

        def work():
            tree = cKDTree(sampled[:, :3])
            _, index = tree.query(points, k=k + 1)
            others = index != own[:, None]
            keep = others & (np.cumsum(others, axis=1) <= k)
            return (values[index] * keep).sum(axis=1) / k
        return work

    def work():
        out = np.empty(n)
        for start in range(0, n, 10000):
            d = cdist(points[start:start + 10000], sampled[:, :3])
            w = 1 / np.maximum(d, 1e-270)
            mine = own[start:start + 10000]
            sampled_rows = np.nonzero(mine >= 0)[0]
            w[sampled_rows, mine[sampled_rows]] = 0
            out[start:start + 10000] = (w @ values) / w.sum(axis=1)
        return out
    return work


def main():
    kind, path, records, arguments = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
    values = np.fromfile(path, dtype=np.float64)
    if kind == "corrcoef":
        data = values.reshape(records, int(arguments[0]))
        work = lambda: np.corrcoef(data, rowvar=False)
    elif kind == "histogram2d":
        data = values.reshape(records, 2)
        bins = (int(arguments[0]), int(arguments[1]))
        work = lambda: np.histogram2d(data[:, 0], data[:, 1], bins=bins)
    elif kind in ("closest", "inverse"):
        work = neighbours(kind, values.reshape(records, 4), records, arguments)
    else:
        raise SystemExit(f"unknown work {kind}")
    print(f"{best_of_three(work):.6f}")


if __name__ == "__main__":
    main()
