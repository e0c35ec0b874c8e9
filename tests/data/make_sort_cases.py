#!/usr/bin/python3
"""Writes sort_cases.txt: records with many equal keys, NaN and infinities, and the order a
stable sort by one column gives them (Python's sorted is stable), ascending and descending,
NaN keys after every number in both directions.

Block format:
  case <parameters> <records> <key column>
  <records lines of values; the last column is the record's own index>
  asc <indices in sorted order>
  desc <indices in sorted order>
"""
import math
import random

random.seed(20261206)


def key_asc(v):
    return (math.isnan(v), 0.0 if math.isnan(v) else v)


def key_desc(v):
    return (math.isnan(v), 0.0 if math.isnan(v) else -v)


def make(parameters, records, column, pool):
    rows = []
    for r in range(records):
        row = [random.choice(pool) for _ in range(parameters - 1)]
        row.append(float(r))
        rows.append(row)
    return rows


cases = [
    (3, 1, 0, [1.0]),
    (2, 7, 0, [3.0, 1.0, 2.0]),
    (4, 40, 2, [0.0, -0.0, 1.5, -2.25, float("nan"), float("inf"), -float("inf")]),
    (3, 500, 1, [float(k) for k in range(6)] + [float("nan")]),
    (4, 1200, 2, [random.uniform(-1e6, 1e6) for _ in range(40)] + [1e-300, -1e300, float("nan")]),
]

with open("sort_cases.txt", "w") as out:
    for parameters, records, column, pool in cases:
        rows = make(parameters, records, column, pool)
        out.write("case %d %d %d\n" % (parameters, records, column))
        for row in rows:
            out.write(" ".join(repr(v) for v in row) + "\n")
        keys = [row[column] for row in rows]
        asc = sorted(range(records), key=lambda i: key_asc(keys[i]))
        desc = sorted(range(records), key=lambda i: key_desc(keys[i]))
        out.write("asc " + " ".join(map(str, asc)) + "\n")
        out.write("desc " + " ".join(map(str, desc)) + "\n")
