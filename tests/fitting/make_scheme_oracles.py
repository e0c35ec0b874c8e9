#!/usr/bin/python3
"""Writes scheme_values.txt: values of the scheme rows, constructor terms, y-transforms
and several-argument basis functions at typical, boundary and domain points.

Run with Debian's python3: /usr/bin/python3 make_scheme_oracles.py

Each line: kind, code, inputs, expected value(s), expected flag (1 = domain error).
  basis   code x          value error
  term    code x          value flag          (constructor term, periods 1.5 2 3 4 5 6)
  ytrans  code y          Y flag              (constructor y-transform)
  yinv    code v          value flag          (ApplyYTransform)
  scheme  s x y           Y flag row...       (SchemeLinearize)
  sinv    s v             value flag          (SchemeInverseY)
A value that is not finite is expected as 0 with the flag raised.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
TWO_PI = 6.283185307179586
PERIODS = [1.5, 2.0, 3.0, 4.0, 5.0, 6.0]
XS = [-1e60, -2e10, -3.5, -1.0, -0.5, -1e-41, 0.0, 1e-41, 1e-15, 0.25, 0.5, 1.0, 1.7, 2.0, 8.0, 16.0,
      2e10, 1e25, 1e45, 1e60]


def safe(f):
    """(value, flag) of a computation: domain errors and non-finite values give (0, 1)."""
    try:
        v = f()
    except (ValueError, ZeroDivisionError, OverflowError):
        return 0.0, 1
    if v is None:
        return 0.0, 1
    if isinstance(v, complex) or not math.isfinite(v):
        return 0.0, 1
    return float(v), 0


def reduced(u):
    t = math.trunc(u / TWO_PI)
    return u - TWO_PI * t


def basis(code, x):
    ipow = lambda k: (lambda: x ** k)
    table = {
        0: (lambda: 1.0, False),
        1: (lambda: x, False), 2: (lambda: x * x, False), 3: (lambda: x * x * x, False),
        4: (lambda: x * x * x * x, False),
        5: (ipow(5), x > 1e50), 6: (ipow(6), x > 1e40), 7: (ipow(7), x > 1e30),
        8: (ipow(8), x > 1e20), 9: (ipow(9), x > 1e10),
        10: (lambda: math.sqrt(x), x < 0), 11: (lambda: x ** 0.3333333333333, x < 0),
        12: (lambda: x ** 0.25, x < 0), 13: (lambda: x ** 0.666666666666, x < 0),
        14: (lambda: x ** 0.75, x < 0),
        15: (lambda: 1 / x, abs(x) < 1e-40), 16: (lambda: 1 / (x * x), abs(x) < 1e-20),
        17: (lambda: 1 / x ** 3, abs(x) < 1e-10), 18: (lambda: 1 / x ** 4, abs(x) < 1e-10),
        19: (lambda: 1 / x ** 5, abs(x) < 1e-10),
        20: (lambda: 1 / math.sqrt(x), x < 0), 21: (lambda: 1 / x ** 0.3333333333333, x < 0),
        22: (lambda: 1 / x ** 0.25, x < 0), 23: (lambda: 1 / x ** 0.66666666666, x < 0),
        24: (lambda: 1 / x ** 0.75, x < 0),
        25: (lambda: math.log(x), x < 1e-40),
        26: (lambda: math.log(x + 1), x + 1 < 1e-40),
    }
    if code not in table:
        return 0.0, 0
    f, bad = table[code]
    if bad:
        return 0.0, 1
    return safe(f)


def term(code, x):
    if code == 0:
        return 1.0, 0
    if 1 <= code <= 6:
        return safe(lambda: x ** code)
    if 7 <= code <= 12:
        if x == 0:
            return 0.0, 1
        return safe(lambda: 1 / x ** (code - 6))
    if 13 <= code <= 20:
        if x < 0:
            return 0.0, 1
        f = {13: lambda: math.sqrt(x), 14: lambda: math.exp(math.log(x) * 0.33333),
             15: lambda: math.exp(math.log(x) * 0.25), 16: lambda: 1 / math.sqrt(x),
             17: lambda: math.exp(math.log(x) * -0.33333), 18: lambda: math.exp(math.log(x) * -0.25),
             19: lambda: math.log(x), 20: lambda: 1 / math.log(x)}[code]
        if x == 0:
            # ln 0: the limits of the formulas where they stay finite
            return {13: (0.0, 0), 14: (0.0, 0), 15: (0.0, 0), 16: (0.0, 1), 17: (0.0, 1),
                    18: (0.0, 1), 19: (0.0, 1), 20: (0.0, 0)}[code]
        return safe(f)
    if code == 21:
        return safe(lambda: math.exp(x))
    if code == 22:
        return safe(lambda: math.exp(-x))
    if 23 <= code <= 34:
        k = (code - 23) // 2
        u = TWO_PI * x / PERIODS[k]
        return safe(lambda: math.sin(reduced(u)) if (code - 23) % 2 == 0 else math.cos(reduced(u)))
    return 0.0, 0


def ytrans(code, y):
    if code == 0:
        return safe(lambda: y)
    if code == 1:
        return (0.0, 1) if y == 0 else safe(lambda: 1 / y)
    if code == 2:
        return safe(lambda: math.exp(y))
    if y <= 0:
        return 0.0, 1
    return safe({3: lambda: math.sqrt(y), 4: lambda: 1 / math.sqrt(y), 5: lambda: math.log(y)}[code])


def yinv(code, v):
    if code == 0:
        return safe(lambda: v)
    if code == 1:
        return (0.0, 1) if v == 0 else safe(lambda: 1 / v)
    if code == 2:
        return (0.0, 1) if v <= 0 else safe(lambda: math.log(v))
    if code == 3:
        return safe(lambda: v * v)
    if code == 4:
        return (0.0, 1) if v == 0 else safe(lambda: 1 / (v * v))
    if code == 5:
        return safe(lambda: math.exp(v))
    return 0.0, 0


def scheme(s, x, y):
    """(Y, flag, row) of a scheme."""
    flag = 0

    def put(v):
        nonlocal flag
        val, f = safe(lambda: v) if not callable(v) else safe(v)
        flag |= f
        return val

    def powers(d):
        return [put(lambda k=k: x ** k) if k else 1.0 for k in range(d + 1)]

    if s <= 7:
        Y, row = put(y), powers(s + 1)
        return Y, flag, row
    if s <= 12:
        if y < 0:
            flag = 1
            Y = 0.0
        else:
            Y = put(lambda: math.log(y))
        row = powers(s - 7)
        return Y, flag, row
    if s <= 17:
        Y = put(lambda: 1 / y)
        row = powers(s - 12)
        return Y, flag, row
    if s <= 19:
        Y = 0.0 if y <= 0 else put(lambda: math.log(y))
        flag |= y <= 0
        if x <= 0:
            flag = 1
            row = [0.0] if s == 18 else [0.0, 0.0]
        else:
            row = [put(lambda: math.log(x))] if s == 18 else [1.0, put(lambda: math.log(x))]
        return Y, int(flag), row
    if s <= 21:
        row = [1.0, put(x), put(lambda: 1 / x)]
        if s == 21:
            row.append(put(lambda: 1 / (x * x)))
        Y = put(y)
        return Y, flag, row
    n = {22: 3, 23: 3, 24: 4}[s]
    Y = put(y)
    if x <= 0:
        return Y, 1, [0.0] * n
    row = [1.0]
    if s != 23:
        row.append(put(x))
    if s != 22:
        row.append(put(lambda: 1 / x))
    row.append(put(lambda: math.log(x)))
    return Y, flag, row


def sinv(s, v):
    if 8 <= s <= 12 or s in (18, 19):
        return safe(lambda: math.exp(v))
    if 13 <= s <= 17:
        return (0.0, 1) if v == 0 else safe(lambda: 1 / v)
    return safe(lambda: v)


def main():
    lines = []
    for code in range(29):
        for x in XS:
            v, e = basis(code, x)
            lines.append("basis %d %r %r %d" % (code, x, v, e))
    for x in [-2.0, -1.0, 1e-300 * 0, 0.5, 1.0, 2.0, 8.0, 16.0, 710.0, 800.0]:
        for code in range(36):
            v, f = term(code, x)
            lines.append("term %d %r %r %d" % (code, x, v, f))
    for y in [-4.0, -1.0, 0.0, 0.5, 1.0, 9.0, 800.0]:
        for code in range(6):
            v, f = ytrans(code, y)
            lines.append("ytrans %d %r %r %d" % (code, y, v, f))
            v, f = yinv(code, y)
            lines.append("yinv %d %r %r %d" % (code, y, v, f))
    for s in range(25):
        for x in [-2.0, -0.5, 0.0, 0.5, 1.0, 3.0, 1e40]:
            for y in [-1.0, 0.0, 0.5, 2.0]:
                Y, f, row = scheme(s, x, y)
                lines.append("scheme %d %r %r %r %d %s" % (s, x, y, Y, f, " ".join(repr(r) for r in row)))
        for v in [-2.0, 0.0, 0.5, 3.0, 800.0]:
            val, f = sinv(s, v)
            lines.append("sinv %d %r %r %d" % (s, v, val, f))
    with open(os.path.join(HERE, "scheme_values.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
