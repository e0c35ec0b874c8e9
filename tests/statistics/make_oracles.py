#!/usr/bin/python3
"""Writes the oracle tables of the statistics tests.

Run with Debian's python3 (numpy and scipy): /usr/bin/python3 make_oracles.py
Outputs, beside this script:
  student_cdf.csv   df, t, scipy.stats.t.cdf
  poisson_pmf.csv   lambda, k, scipy.stats.poisson.pmf (only where pmf > exp(-40))
  erlang_pdf.csv    mean, sd, x, scipy.stats.erlang.pdf with the shape and scale
                    that a fit to (mean, sd) gives
  taus88.csv        words of an independent combined Tausworthe generator
"""
import math
import os

import numpy as np
from scipy import stats

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, header, rows):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(header + "\n")
        for r in rows:
            f.write(",".join(r) + "\n")


def g(x):
    return repr(float(x))


def student():
    ts = [-1e6, -250.0, -40.0, -12.5, -7.0, -3.3, -2.0, -1.25, -0.7, -0.3, -0.05, 0.0,
          0.01, 0.2, 0.5, 1.0, 1.7, 2.5, 3.0, 4.4, 6.0, 9.0, 15.0, 33.0, 120.0, 1e5]
    rows = []
    for df in range(2, 101):
        for t in ts:
            rows.append((str(df), g(t), g(stats.t.cdf(t, df))))
    write("student_cdf.csv", "df,t,cdf", rows)


def poisson():
    lambdas = [0.001, 0.1, 0.5, 1.0, 2.5, 7.0, 13.3, 30.0, 64.5, 100.0, 250.0, 500.0]
    floor = math.exp(-40.0)
    rows = []
    for lam in lambdas:
        kmax = int(lam + 12 * math.sqrt(lam) + 40)
        for k in range(0, kmax + 1):
            p = stats.poisson.pmf(k, lam)
            # Keep a margin from the floor so rounding cannot put a value on either side.
            if p > floor * 1.01:
                rows.append((g(lam), str(k), g(p)))
    write("poisson_pmf.csv", "lambda,k,pmf", rows)


def erlang_shape(mean, sd):
    v = mean * mean / (sd * sd)
    shape = math.trunc(v)
    if v - shape > 0.5:
        shape += 1
    if shape < 2:
        shape = 1
    return shape, mean / shape


def erlang():
    cases = [(10.0, 20.0), (3.0, 2.0), (4.0, 2.0), (5.0, 2.5), (12.0, 4.0), (7.5, 1.5),
             (50.0, 2.0), (100.0, 10.0), (1.0, 0.1), (2000.0, 40.0), (0.02, 0.005)]
    rows = []
    for mean, sd in cases:
        k, s = erlang_shape(mean, sd)
        lo = max(0.0, mean - 6 * sd) if k > 1 else 0.0
        hi = mean + 8 * sd
        for x in np.linspace(lo, hi, 25):
            p = stats.erlang.pdf(x, k, scale=s)
            if p > 1e-250:
                rows.append((g(mean), g(sd), g(x), g(p)))
    write("erlang_pdf.csv", "mean,sd,x,pdf", rows)


class Taus88:
    """L'Ecuyer's taus88 in its published form, written out constant by constant."""

    M = 0xFFFFFFFF

    def __init__(self, s1, s2, s3):
        self.s1, self.s2, self.s3 = s1, s2, s3

    def next(self):
        M = self.M
        b = (((self.s1 << 13) & M) ^ self.s1) >> 19
        self.s1 = (((self.s1 & 0xFFFFFFFE) << 12) & M) ^ b
        b = (((self.s2 << 2) & M) ^ self.s2) >> 25
        self.s2 = (((self.s2 & 0xFFFFFFF8) << 4) & M) ^ b
        b = (((self.s3 << 3) & M) ^ self.s3) >> 11
        self.s3 = (((self.s3 & 0xFFFFFFF0) << 17) & M) ^ b
        return self.s1 ^ self.s2 ^ self.s3

    def seed(self, s1, s2, s3):
        # A component keeps its word unless the seed exceeds 2^19, 2^25, 2^11.
        if s1 > 1 << 19:
            self.s1 = s1
        if s2 > 1 << 25:
            self.s2 = s2
        if s3 > 1 << 11:
            self.s3 = s3
        self.next()


def taus88():
    start = (390451501, 613566701, 858993401)
    rows = []
    # Sequence 0: from the starting state.
    r = Taus88(*start)
    for i in range(2000):
        rows.append(("0", str(i), str(r.next())))
    # Sequence 1: after seeding the starting state with the start-up seeds.
    r = Taus88(*start)
    r.seed(337643, 62047, 2751976)
    for i in range(200):
        rows.append(("1", str(i), str(r.next())))
    # Sequence 2: seeds that all exceed their thresholds.
    r = Taus88(*start)
    r.seed(4000000000, 123456789, 987654321)
    for i in range(200):
        rows.append(("2", str(i), str(r.next())))
    # Sequence 3: start-up seeding with the clock at 17 min 42 s 345 ms.
    r = Taus88(*start)
    r.seed(337643, 62047, 2751976)
    t = (17 * 60 + 42) * 60000 + 345
    for _ in range(t % 5493):
        r.next()
    for i in range(200):
        rows.append(("3", str(i), str(r.next())))
    write("taus88.csv", "sequence,index,word", rows)


if __name__ == "__main__":
    student()
    poisson()
    erlang()
    taus88()
