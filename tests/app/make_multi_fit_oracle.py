#!/usr/bin/python3
# Least-squares oracle of the several-argument fit driver: plane (1, x1 .. xa) and parabolic
# (1, x1^2, x1, .. xa^2, xa) fits of the last column over the others, solved with numpy's
# lstsq on the sample files. Each line: file kind e c0 c1 ...
# Run from the repository root: /usr/bin/python3 tests/app/make_multi_fit_oracle.py
import numpy as np

def load(path):
    rows = [line.split() for line in open(path) if line.strip()]
    return np.array([[float(v) for v in r] for r in rows[1:]])

out = []
for name in ["stackloss.txt", "longley.txt"]:
    data = load("examples/" + name)
    x, y = data[:, :-1], data[:, -1]
    for kind in (0, 1):
        cols = [np.ones(len(y))]
        for j in range(x.shape[1]):
            if kind == 1:
                cols.append(x[:, j] ** 2)
            cols.append(x[:, j])
        a = np.column_stack(cols)
        if kind == 1 and name == "longley.txt":
            continue  # too ill-conditioned for a normal-equation fit to match to many digits
        c, *_ = np.linalg.lstsq(a, y, rcond=None)
        r = y - a @ c
        e = (r @ r) / ((y - y.mean()) @ (y - y.mean()))
        out.append(" ".join([name, str(kind), repr(float(e))] + [repr(float(v)) for v in c]))
open("tests/app/multi_fit_oracle.txt", "w").write("\n".join(out) + "\n")
