#!/usr/bin/python3
"""Oracle tables for the scene tests, made offline with Debian's numpy and qhull-bin.

Writes, beside this script:
  points.txt  point sets: "set NAME N" then N lines "x y z" (17 significant digits)
  hulls.txt   per hull set: "NAME H i1 ... iH", the convex hull from `qconvex Fx`,
              ordered clockwise starting at the highest point
  cells.txt   cell map of the set "cells": "map xMin xMax yMin yMax", "grid G zMin zMax",
              then G*G lines "i j count mean" (binned with numpy)
Run: /usr/bin/python3 generate.py
"""
import os
import subprocess

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
rng = np.random.default_rng(20240611)


def uniform(n):
    return rng.uniform(-3.0, 5.0, n), rng.uniform(10.0, 12.0, n)


def disk(n):
    r = np.sqrt(rng.uniform(0, 1, n))
    a = rng.uniform(0, 2 * np.pi, n)
    return r * np.cos(a), r * np.sin(a)


def gauss(n):
    return rng.normal(0, 1, n), rng.normal(0, 3, n)


hull_sets = [("uniform20", *uniform(20)), ("uniform60", *uniform(60)), ("disk150", *disk(150)),
             ("gauss300", *gauss(300)), ("uniform500", *uniform(500))]


def qconvex_hull(x, y):
    text = "2\n%d\n" % len(x) + "".join("%r %r\n" % (a, b) for a, b in zip(x, y))
    out = subprocess.run(["qconvex", "Fx"], input=text, capture_output=True, text=True, check=True).stdout.split()
    idx = [int(v) for v in out[1:1 + int(out[0])]]
    # Clockwise (negative signed area), starting at the highest point.
    px, py = x[idx], y[idx]
    area = np.sum(px * np.roll(py, -1) - np.roll(px, -1) * py)
    if area > 0:
        idx = idx[::-1]
    top = max(range(len(idx)), key=lambda k: (y[idx[k]], -idx[k]))
    return idx[top:] + idx[:top]


def write_set(f, name, x, y, z):
    f.write("set %s %d\n" % (name, len(x)))
    for a, b, c in zip(x, y, z):
        f.write("%.17g %.17g %.17g\n" % (a, b, c))


# Cell map set: 1500 points (a 12 x 12 grid), some on and beyond the map rectangle's edges.
map_rect = (-1.0, 3.0, 2.0, 4.5)
cx = rng.uniform(map_rect[0], map_rect[1], 1500)
cy = rng.uniform(map_rect[2], map_rect[3], 1500)
cx[:5] = [map_rect[1], map_rect[0], map_rect[1] + 0.7, map_rect[0] - 0.4, 1.0]
cy[:5] = [3.0, map_rect[3], 2.5, map_rect[2] - 1.0, map_rect[3] + 2.0]
cz = np.sin(cx) * 4 + cy * cy - 3 + rng.normal(0, 0.5, 1500)

with open(os.path.join(HERE, "points.txt"), "w") as f:
    for name, x, y in hull_sets:
        write_set(f, name, x, y, np.zeros(len(x)))
    write_set(f, "cells", cx, cy, cz)

with open(os.path.join(HERE, "hulls.txt"), "w") as f:
    for name, x, y in hull_sets:
        h = qconvex_hull(np.array(x), np.array(y))
        f.write("%s %d %s\n" % (name, len(h), " ".join(map(str, h))))

n = len(cx)
g = min(40, int(np.sqrt(n * 0.1)))
w = (map_rect[1] - map_rect[0]) / g
h = (map_rect[3] - map_rect[2]) / g
i = np.clip(np.trunc((cx - map_rect[0]) / w), 0, g - 1).astype(int)
j = np.clip(np.trunc((cy - map_rect[2]) / h), 0, g - 1).astype(int)
count = np.zeros((g, g), dtype=int)
total = np.zeros((g, g))
np.add.at(count, (j, i), 1)
np.add.at(total, (j, i), cz)
zmin, zmax = cz.min(), cz.max()
with open(os.path.join(HERE, "cells.txt"), "w") as f:
    f.write("map %.17g %.17g %.17g %.17g\n" % map_rect)
    f.write("grid %d %.17g %.17g\n" % (g, zmin, zmax))
    for jj in range(g):
        for ii in range(g):
            mean = total[jj, ii] / count[jj, ii] if count[jj, ii] else zmin
            f.write("%d %d %d %.17g\n" % (ii, jj, count[jj, ii], mean))
