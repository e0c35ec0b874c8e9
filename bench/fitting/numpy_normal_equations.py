"""The peer of the least-squares benchmark: numpy's normal equations on the same points.

Reads n (x, y) pairs of little-endian doubles from the file named first, builds the design
of the terms 1, x, e^x, sin(2 pi x / T), cos(2 pi x / T) with T the second argument, and
prints two figures in milliseconds, each the best of five runs: X^T X and X^T y then solve
on the design built beforehand, and the same including building the design.
"""
import sys
import time

import numpy as np


def design(x, period):
    u = 2.0 * np.pi * x / period
    return np.column_stack([np.ones_like(x), x, np.exp(x), np.sin(u), np.cos(u)])


def solve(X, y):
    return np.linalg.solve(X.T @ X, X.T @ y)


def best_ms(run, repeats=5):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        run()
        best = min(best, time.perf_counter() - start)
    return best * 1000.0


def main():
    pairs = np.fromfile(sys.argv[1], dtype="<f8").reshape(-1, 2)
    period = float(sys.argv[2])
    x = np.ascontiguousarray(pairs[:, 0])
    y = np.ascontiguousarray(pairs[:, 1])
    X = design(x, period)
    normal = best_ms(lambda: solve(X, y))
    whole = best_ms(lambda: solve(design(x, period), y))
    print(f"{normal:.3f} {whole:.3f}")


if __name__ == "__main__":
    main()
