#!/usr/bin/python3
"""Evaluations per second of the formula corpus (formula_corpus.h) compiled once with
Python's compile() and run with eval(), beside formula_bench's BM_EvaluateCorpusCompiled.

  /usr/bin/python3 bench/formula/python_corpus.py [SECONDS]

The formula language is translated to Python: '^' becomes '**' and every function keyword
becomes a Python function of the same meaning. Python's results follow its own arithmetic
(no six-digit texts between steps), so only the speed is compared.
"""

import math
import os
import re
import sys
import time


def _if(c, a, b, d):
    return a if c < 0 else (b if c == 0 else d)


def _log(x, base=0):
    return math.log(x) / math.log(base)


def _mean(*v):
    return sum(v) / len(v)


FUNCTIONS = {
    "sin": math.sin, "cos": math.cos, "exp": math.exp, "ln": math.log, "sqrt": math.sqrt,
    "abs": abs, "atan": math.atan, "log10": math.log10, "rad": lambda x: x * 0.017453292519943,
    "floor": lambda x: math.floor(x), "int": lambda x: math.trunc(x), "max": max, "min": min,
    "sum": lambda *v: sum(v), "mean": _mean, "pow": pow, "log": _log, "if": _if,
}
NAMES = {name: "f_" + name for name in FUNCTIONS}
GLOBALS = {"__builtins__": {}}
GLOBALS.update({"f_" + name: f for name, f in FUNCTIONS.items()})


def corpus():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "formula_corpus.h")) as f:
        text = f.read()
    return re.findall(r'\{"([^"]+)",\s*\n\s*"[^"]*"\}', text)


def to_python(formula):
    formula = formula.replace("^", "**")
    return re.sub(r"([A-Za-z_][A-Za-z_0-9]*)\(", lambda m: NAMES[m.group(1)] + "(", formula)


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 2.0
    codes = [compile(to_python(f), "<formula>", "eval") for f in corpus()]
    for code in codes:
        eval(code, GLOBALS)
    count = 0
    start = time.perf_counter()
    while time.perf_counter() - start < seconds:
        for code in codes:
            eval(code, GLOBALS)
        count += len(codes)
    elapsed = time.perf_counter() - start
    print("python compile()+eval: %d formulas, %.0f evaluations/s" % (len(codes), count / elapsed))


if __name__ == "__main__":
    main()
