#!/usr/bin/python3
# Oracle of the least-squares power series (FitPolynomialArray, FitScaledPowerSeries): numpy.polyfit of
# the same degree, over the argument centred and scaled to [-1, 1] (the same least-squares polynomial;
# numpy.polyfit on the raw argument near 1e4 is itself rounding noise), checked against
# numpy.polynomial.Polynomial.fit. Two cases:
#   stackloss  the combined argument 0.671482*AIRFLOW + 1.29531*WATERTEMP of examples/stackloss.txt
#              against STACKLOSS, degree 6 (what "Unitary argument" fits to 21 records);
#   near1e4    60 generated points whose argument lies near 1e4 (one decimal), degree 6.
# Each case: a line "name coefficients points", a line of the arguments, one of the values, one of the
# fitted values at the points, one with SSR/SST.
# Run from the repository root: /usr/bin/python3 tests/fitting/make_power_series_oracle.py
import numpy as np


def load(path):
    rows = [line.split() for line in open(path) if line.strip()]
    return rows[0], np.array([[float(v) for v in r] for r in rows[1:]])


def fit(x, y, n):
    centre, half = 0.5 * x.min() + 0.5 * x.max(), 0.5 * x.max() - 0.5 * x.min()
    t = (x - centre) / half
    fitted = np.polyval(np.polyfit(t, y, n - 1), t)
    other = np.polynomial.Polynomial.fit(x, y, n - 1)(x)
    assert np.allclose(fitted, other, rtol=0, atol=1e-9 * np.abs(y).max()), "the two fits disagree"
    e = np.sum((fitted - y) ** 2) / np.sum((y - y.mean()) ** 2)
    return fitted, e


cases = []
names, data = load("examples/stackloss.txt")
u = 0.671482 * data[:, names.index("AIRFLOW")] + 1.29531 * data[:, names.index("WATERTEMP")]
cases.append(("stackloss", u, data[:, names.index("STACKLOSS")]))

i = np.arange(60)
# One decimal: the formulas read record values in six digits, so these are the values they see.
x = np.array([float("%.1f" % v) for v in 1e4 + 40.0 * ((i * 37) % 60) / 59.0 + 0.01 * i])
assert len(set(x)) == len(x)
noise = 0.3 * np.sin(i * 12.9898) * np.cos(i * 78.233)
y = 3 + 0.02 * (x - 1e4) + 5 * np.sin((x - 1e4) / 8.0) + noise
cases.append(("near1e4", x, y))

out = []
for name, x, y in cases:
    fitted, e = fit(x, y, 7)
    print(name, "correlation", 1 - np.sqrt(e))
    out.append("%s 7 %d" % (name, len(x)))
    for v in (x, y, fitted):
        out.append(" ".join(repr(float(a)) for a in v))
    out.append(repr(float(e)))
open("tests/fitting/power_series.txt", "w").write("\n".join(out) + "\n")
