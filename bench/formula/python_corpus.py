#!/usr/bin/python3
"""Evaluations per second of the formula corpus (formula_corpus.h) compiled once with
Python's compile() and run with eval(), printed beside formula_bench's figures for the same
corpus (the text evaluator and the compiled form) when the benchmark's path is given.

  /usr/bin/python3 bench/formula/python_corpus.py [SECONDS] [path/to/formula_bench]

The formula language is translated to Python: '^' becomes '**' and every function keyword
becomes a Python function of the same meaning. Python's results follow its own arithmetic
(no six-digit texts between steps), so only the speed is compared.
"""

import math
import os
import re
import subprocess
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
    if len(sys.argv) > 2:
        out = subprocess.run([sys.argv[2], "--benchmark_filter=Corpus"], capture_output=True,
                             text=True, check=True).stdout
        for line in out.splitlines():
            match = re.match(r"(BM_\w+).*items_per_second=([0-9.]+)([kM]?)/s", line)
            if match:
                scale = {"": 1, "k": 1e3, "M": 1e6}[match.group(3)]
                print("%-32s %12.0f evaluations/s" % (match.group(1), float(match.group(2)) * scale))
    print("%-32s %12.0f evaluations/s" % ("python compile()+eval", count / elapsed))


if __name__ == "__main__":
    main()
