#!/usr/bin/python3
"""Writes formula_oracle.tsv: random formulas with the values numpy gives for them.

Run with Debian's /usr/bin/python3 (numpy):  /usr/bin/python3 gen_formula_oracle.py

The formulas avoid the evaluator's documented quirks (no sign in front of a power's
base after an operand, no power chains, no empty arguments), so that ordinary
arithmetic gives their value. Two kinds of rows:

  int   integer-only formulas (+ - * and powers with integer exponents, every step
        inside the 32-bit range): the evaluator's text must equal the exact integer.
  real  formulas with reals, division and built-in functions: the evaluator writes
        every intermediate result with six significant digits (or six decimals in a
        sum), so its value may differ from the exact one by the rounding errors
        carried through the formula. The row holds a bound on that difference,
        propagated to first order from a rounding error of 5e-6*|v| + 5e-7 at every
        step; rows whose bound is large against the value (ill-conditioned) are
        dropped.

Columns: kind, formula, expected (exact integer text or the value with 17 digits),
tolerance.
"""

import math
import random

import numpy as np

ROWS_INT = 150
ROWS_REAL = 450
SEED = 20240517
INT32 = (-2**31, 2**31 - 1)


def rounding(v):
    return 5e-6 * abs(v) + 5e-7


class Node:
    """A formula piece: text, precedence class, value and error bound."""

    def __init__(self, text, prec, value, err, is_int=False):
        self.text = text
        self.prec = prec  # 0 sum, 1 product, 2 power, 3 atom
        self.value = float(value)
        self.err = err
        self.is_int = is_int


class Reject(Exception):
    pass


def check(value, err):
    if not np.isfinite(value) or abs(value) > 1e12 or not np.isfinite(err):
        raise Reject()
    if err > 1e-3 * max(abs(value), 1e-2):
        raise Reject()


def bracket(node):
    return Node("(" + node.text + ")", 3, node.value, node.err, node.is_int)


def real_literal(rng, low=0.1, high=20.0, negative=False):
    digits = rng.choice([1, 2, 3])
    v = round(rng.uniform(low, high), digits)
    if v == 0:
        v = 0.5
    text = ("%." + str(digits) + "f") % v
    if negative:
        text = "-" + text
    return Node(text, 3, float(text), 0.0)


def int_literal(rng, low=0, high=9, negative=False):
    v = rng.randint(low, high)
    text = ("-%d" % v) if negative else ("%d" % v)
    return Node(text, 3, int(text), 0.0, True)


def binary(op, a, b):
    # Brackets where ordinary precedence and left association need them.
    if op in "+-":
        right = bracket(b) if b.prec <= 0 else b
        left = a
        prec = 0
    else:
        left = bracket(a) if a.prec < 1 else a
        right = bracket(b) if b.prec <= 1 else b
        prec = 1
    x, y = a.value, b.value
    if op == "+":
        v, e = x + y, a.err + b.err
    elif op == "-":
        v, e = x - y, a.err + b.err
    elif op == "*":
        v, e = x * y, abs(y) * a.err + abs(x) * b.err + a.err * b.err
    else:
        if abs(y) - b.err <= 1e-3:
            raise Reject()
        v = x / y
        e = (a.err + abs(v) * b.err) / (abs(y) - b.err)
    e += rounding(v)
    check(v, e)
    return Node(left.text + op + right.text, prec, v, e)


def power(rng, base):
    base = base if base.prec == 3 else bracket(base)
    x = base.value
    if rng.random() < 0.7 or x <= 0.05:
        n = rng.randint(0, 3)
        v = x ** n
        e = (abs(n) * abs(x) ** max(n - 1, 0) * base.err) + rounding(v)
        text = "%s^%d" % (base.text, n)
    else:
        expo = real_literal(rng, 0.1, 2.5)
        v = float(np.power(x, expo.value))
        e = abs(v) * expo.value / (x - base.err) * base.err + rounding(v)
        text = "%s^%s" % (base.text, expo.text)
    check(v, e)
    return Node(text, 2, v, e)


def function(rng, depth):
    name = rng.choice(["sin", "cos", "atan", "exp", "ln", "log10", "sqrt", "abs",
                       "min", "max", "sum", "mean", "rad", "degree", "pct", "pow",
                       "log", "floor", "if", "solve1", "solve2p", "!"])
    shown = name if rng.random() < 0.8 else name.upper()
    if name in ("min", "max", "sum", "mean"):
        args = [expression(rng, depth + 1) for _ in range(rng.randint(1, 4))]
        vals = [a.value for a in args]
        errs = [a.err + rounding(a.value) for a in args]
        if name == "min":
            v, e = min(vals), max(errs)
        elif name == "max":
            v, e = max(vals), max(errs)
        elif name == "sum":
            v, e = float(np.sum(vals)), sum(errs)
        else:
            v, e = float(np.mean(vals)), sum(errs) / len(errs)
    elif name == "pow":
        a = expression(rng, depth + 1)
        ea = a.err + rounding(a.value)
        if a.value > 0.05 and rng.random() < 0.5:
            b = real_literal(rng, 0.1, 2.5)
            v = float(np.power(a.value, b.value))
            e = abs(v) * b.value / (a.value - ea) * ea
        else:
            b = int_literal(rng, 0, 3)
            v = float(a.value ** b.value)
            e = b.value * abs(a.value) ** max(b.value - 1, 0) * ea
        args = [a, b]
    elif name == "log":
        a, b = expression(rng, depth + 1), real_literal(rng, 1.5, 12)
        ea = a.err + rounding(a.value)
        if a.value - ea <= 0.01:
            raise Reject()
        v = float(np.log(a.value) / np.log(b.value))
        e = ea / ((a.value - ea) * np.log(b.value))
        args = [a, b]
    elif name == "if":
        c = expression(rng, depth + 1)
        if abs(c.value) <= 10 * (c.err + rounding(c.value)):
            raise Reject()
        branches = [expression(rng, depth + 1) for _ in range(3)]
        chosen = branches[0] if c.value < 0 else branches[2]
        v, e = chosen.value, chosen.err + rounding(chosen.value)
        args = [c] + branches
    elif name == "solve1":
        a, b = real_literal(rng, 0.5, 5), expression(rng, depth + 1)
        eb = b.err + rounding(b.value)
        v, e = -b.value / a.value, eb / a.value
        args = [a, b]
    elif name == "solve2p":
        a, b, c = real_literal(rng, 0.5, 3), real_literal(rng, 2, 10, True), real_literal(rng, 0.1, 2)
        d = b.value * b.value - 4 * a.value * c.value
        if d < 1:
            raise Reject()
        v, e = (-b.value + math.sqrt(d)) / (2 * a.value), 0.0
        args = [a, b, c]
    elif name == "!":
        a = int_literal(rng, 0, 12)
        v, e = float(math.factorial(int(a.value))), 0.0
        args = [a]
    else:
        a = expression(rng, depth + 1)
        x = a.value
        ea = a.err + rounding(x)
        if name == "sin":
            v, e = float(np.sin(x)), ea
        elif name == "cos":
            v, e = float(np.cos(x)), ea
        elif name == "atan":
            v, e = float(np.arctan(x)), ea
        elif name == "exp":
            if x > 25:
                raise Reject()
            v = float(np.exp(x))
            e = v * ea * 1.01
        elif name in ("ln", "log10", "sqrt"):
            if x - ea <= 0.01:
                raise Reject()
            if name == "ln":
                v, e = float(np.log(x)), ea / (x - ea)
            elif name == "log10":
                v, e = float(np.log10(x)), ea / ((x - ea) * np.log(10))
            else:
                v, e = float(np.sqrt(x)), ea / (2 * np.sqrt(x - ea))
        elif name == "abs":
            v, e = abs(x), ea
        elif name == "rad":
            v, e = x * 0.017453292519943, ea * 0.0175
        elif name == "degree":
            v, e = x * 57.295779513082, ea * 57.3
        elif name == "pct":
            v, e = x * 0.01, ea * 0.01
        else:  # floor
            if abs(x - round(x)) <= 10 * ea:
                raise Reject()
            v, e = float(np.floor(x)), 0.0
        args = [a]
    e += rounding(v)
    check(v, e)
    text = shown + "(" + ",".join(a.text for a in args) + ")"
    return Node(text, 3, v, e)


def atom(rng, depth):
    r = rng.random()
    if depth >= 3 or r < 0.35:
        return real_literal(rng) if rng.random() < 0.6 else int_literal(rng, 1, 20)
    if r < 0.75:
        return function(rng, depth)
    return bracket(expression(rng, depth + 1))


def expression(rng, depth=0):
    node = atom(rng, depth)
    if rng.random() < 0.2:
        node = power(rng, node)
    for _ in range(rng.randint(0, 3 if depth < 2 else 1)):
        op = rng.choice("+-*/")
        right = atom(rng, depth)
        if rng.random() < 0.15:
            right = power(rng, right)
        elif op in "*/-" and right.prec == 3 and right.text[0].isdigit() and rng.random() < 0.2:
            right = Node("-" + right.text, 3, -right.value, right.err)
        node = binary(op, node, right)
    return node


def integer_formula(rng):
    """+ - * and small powers over integer literals; every step inside 32 bits."""
    terms = []
    value = None
    text = ""
    for i in range(rng.randint(2, 8)):
        factor_text = str(rng.randint(0, 999))
        factor = int(factor_text)
        if rng.random() < 0.3:
            n = rng.randint(1, 3)
            factor_text += "^%d" % n
            factor = factor ** n
        if rng.random() < 0.4:
            other = rng.randint(1, 99)
            factor_text += "*%d" % other
            factor *= other
        if not INT32[0] <= factor <= INT32[1]:
            raise Reject()
        op = rng.choice("+-") if i else ""
        text += op + factor_text
        value = factor if value is None else (value + factor if op == "+" else value - factor)
        if not INT32[0] <= value <= INT32[1]:
            raise Reject()
        terms.append(factor_text)
    return text, value


def main():
    rng = random.Random(SEED)
    rows = []
    while len(rows) < ROWS_INT:
        try:
            text, value = integer_formula(rng)
        except Reject:
            continue
        rows.append(("int", text, str(value), "0"))
    count = 0
    while count < ROWS_REAL:
        try:
            node = expression(rng)
        except (Reject, OverflowError, ZeroDivisionError):
            continue
        total = node.err + rounding(node.value)
        if len(node.text) > 300:
            continue
        rows.append(("real", node.text, "%.17g" % node.value, "%.3g" % (1.5 * total + 1e-12)))
        count += 1
    with open("formula_oracle.tsv", "w") as out:
        out.write("# kind\tformula\texpected\ttolerance  (generated by gen_formula_oracle.py)\n")
        for row in rows:
            out.write("\t".join(row) + "\n")


if __name__ == "__main__":
    main()
