#!/usr/bin/python3
"""Writes color_map.csv, the oracle of the result tables' colour maps.

Run with Debian's python3: /usr/bin/python3 make_color_oracle.py
Columns: v, then red, green, blue of the share map, of the share map of abs(v), and of the
green-shade map. Channels are truncated toward zero and clamped to 0..255.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def clamp(x):
    if math.isnan(x) or x <= 0:
        return 0
    return min(255, math.trunc(x))


def share(v):
    if v > 0.975:
        return (0, 255, 0)
    if 0.9 <= v <= 0.975:
        return (0, clamp((1 - (0.975 - v) / 0.075) * 255), 0)
    if 0.5 <= v < 0.9:
        return (clamp((0.9 - v) * 255 / 0.4), 0, 0)
    return (255, 0, 0)


def green_shade(v):
    a = abs(v)
    if a > 0.975:
        return (0, 255, 0)
    c = clamp(a * (255 * a))
    return (255 - c, 255, 255 - c)


def main():
    vs = [-2.0, -0.99, -0.975, -0.95, -0.7, -0.5, -0.3, 0.0, 0.1, 0.3, 0.4999, 0.5, 0.5001, 0.6, 0.7,
          0.75, 0.8, 0.85, 0.8999, 0.9, 0.9001, 0.92, 0.95, 0.96, 0.97, 0.9749, 0.975, 0.9751, 0.98, 1.0, 1.5,
          float("nan"), float("inf"), float("-inf")]
    vs += [i / 200 for i in range(201)]
    with open(os.path.join(HERE, "color_map.csv"), "w") as f:
        f.write("v,r,g,b,absR,absG,absB,shadeR,shadeG,shadeB\n")
        for v in vs:
            cells = share(v) + share(abs(v)) + green_shade(v)
            f.write(repr(float(v)) + "," + ",".join(str(c) for c in cells) + "\n")


main()
