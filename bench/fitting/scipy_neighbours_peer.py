#!/usr/bin/python3
"""Prints the seconds scipy takes to estimate every record of a file of raw float64 records
(three arguments and the value) from the sampled records, every (N // 500 + 1)-th, as the
near-neighbour benchmark does (the best of three runs; starting Python and reading the file
are not timed). A record never takes part in its own estimate.

    scipy_neighbours_peer.py closest FILE RECORDS PERCENT   cKDTree: mean of the closest percent
    scipy_neighbours_peer.py inverse FILE RECORDS           cdist: the 1/d weighted mean of all
"""
import sys
import time

import numpy as np
from scipy.spatial import cKDTree
from scipy.spatial.distance import cdist


def best_of_three(work):
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    kind, path, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
    data = np.fromfile(path, dtype=np.float64).reshape(n, 4)
    step = n // 500 + 1
    sampled = data[::step]
    points, values = data[:, :3], sampled[:, 3]
    rows = np.arange(n)
    # The sampled place of each record, -1 for the records not sampled.
    own = np.where(rows % step == 0, rows // step, -1)

    if kind == "closest":
        k = max(1, int(len(sampled) * 0.01 * float(sys.argv[4])))

        def work():
            tree = cKDTree(sampled[:, :3])
            _, index = tree.query(points, k=k + 1)
            others = index != own[:, None]
            keep = others & (np.cumsum(others, axis=1) <= k)
            return (values[index] * keep).sum(axis=1) / k
    elif kind == "inverse":
        def work():
            out = np.empty(n)
            for start in range(0, n, 10000):
                d = cdist(points[start:start + 10000], sampled[:, :3])
                w = 1 / np.maximum(d, 1e-270)
                mine = own[start:start + 10000]
                sampledRows = np.nonzero(mine >= 0)[0]
                w[sampledRows, mine[sampledRows]] = 0
                out[start:start + 10000] = (w @ values) / w.sum(axis=1)
            return out
    else:
        raise SystemExit(f"unknown work {kind}")
    print(f"{best_of_three(work):.6f}")


if __name__ == "__main__":
    main()
