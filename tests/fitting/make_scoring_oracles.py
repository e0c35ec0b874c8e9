#!/usr/bin/python3
"""Writes the oracle tables of the scoring rules.

Run with Debian's python3 (numpy, statsmodels): /usr/bin/python3 make_scoring_oracles.py

scoring_rules.txt, one block per data set:
  n threshold variant
  n lines "variable response"
  best_bins quality
  weights of the best binning (bins counted by numpy.histogram over (min, max))
  centres of those weights
  rule: kind c0 c1 c2 (numpy.polyfit of the weights over the centres)

score_task.txt, score_task50.expected and score_task100.expected: a task file and the
score files that the rules below give for "Take only" 50 % and 100 %, byte for byte:
  rules (variable, kind, comparison, categorical, low, high, points, c0, c1, c2)
  scoreMinimum -20, scoreMaximum 60
"""
import os

import numpy as np
import statsmodels.api as sm

HERE = os.path.dirname(os.path.abspath(__file__))

RULES = [
    (0, 0, 0, 0, 0.0, 2.5, 12.0, 0, 0, 0),
    (1, 0, 2, 0, 3.0, 5.0, -7.5, 0, 0, 0),
    (2, 1, 2, 0, 0.0, 9.0, 0.0, 1.5, 2.0, 0),
    (3, 2, 2, 0, 0.0, 9.0, 0.0, -1.0, 0.5, -0.25),
    (1, 0, 0, 1, 4.0, 4.0, 6.0, 0, 0, 0),
]
SCORE_MIN, SCORE_MAX = -20.0, 60.0


def selection_weight(n, m, a, b, power):
    r = m / n
    if not (m >= 6 and n > 1 and 0.01111 <= r <= 0.8):
        return 0.0
    d = b - a
    x = 1.0 if a == 0 or a == m else (d / (m - a) if d > 0 else d / a)
    s = abs(x) ** power
    if d < 0:
        s = -s
    if r >= 0.35:
        return 100.0 * np.sqrt(1 - (r - 0.35) / 0.65) * s
    if m <= 10:
        return 0.0
    return 100.0 * np.sqrt(min(1.0, r / 0.05)) * s


def binning(v, positive, bins):
    lo, hi = v.min(), v.max()
    counts, edges = np.histogram(v, bins=bins, range=(lo, hi))
    pos, _ = np.histogram(v[positive], bins=bins, range=(lo, hi))
    n = len(v)
    p = positive.sum() / n
    width = (hi - lo) / bins
    weights, centres = [], []
    for i in range(bins):
        e = int(counts[i] * p)
        if e != 0 and counts[i] / n > 0.01:
            weights.append(selection_weight(n, int(counts[i]), e, int(pos[i]), 2.0))
            centres.append(lo + i * width + 0.5 * width)
    q = max(weights) - min(weights) if weights else 0.0
    return q, weights, centres


def choose_degree(centres, weights, q, variant):
    """The rule's polynomial as the derivation chooses it, from statsmodels' fits
    (deviations over N, not N - m)."""
    x, y = np.asarray(centres), np.asarray(weights)
    limits = {2: (1.0, 0.6, 15.0), 1: (1.0, 0.6, 10.0)} if not variant else {2: (0.5, 0.15, None), 1: (0.5, 0.2, None)}
    for degree in (2, 1):
        design = np.vander(x, degree + 1, increasing=True)
        fit = sm.OLS(y, design).fit()
        n, m = design.shape
        dev = fit.bse * np.sqrt((n - m) / n)
        share = fit.ssr / np.sum((y - y.mean()) ** 2)
        sd_limit, share_limit, q_limit = limits[degree]
        if abs(dev[degree]) / (abs(fit.params[degree]) + 1e-20) < sd_limit and share < share_limit and (
                q_limit is None or q > q_limit):
            return degree
    return 0


def fmt(values):
    return " ".join(repr(float(v)) for v in values)


def rules_table():
    rng = np.random.default_rng(27123)
    out = []
    for n, variant, shape in [(3000, 0, "quadratic"), (5000, 1, "quadratic"), (4000, 0, "linear")]:
        v = rng.uniform(0, 10, n)
        if shape == "quadratic":
            chance = 0.05 + 0.5 * np.exp(-0.5 * ((v - 5) / 1.5) ** 2)
        else:
            chance = 0.03 + 0.04 * v
        response = (rng.uniform(0, 1, n) < chance).astype(float) * 2.0
        threshold = 1.0
        positive = response >= threshold
        best, best_bins = -1.0, 0
        for bins in range(2, n // 100 + 1):
            q, _, _ = binning(v, positive, bins)
            if q > best:
                best, best_bins = q, bins
        q, weights, centres = binning(v, positive, best_bins)
        degree = choose_degree(centres, weights, q, variant)
        coef = np.polyfit(centres, weights, degree)[::-1] if degree else []
        coef = list(coef) + [0.0] * (3 - len(coef))
        out.append(f"{n} {threshold} {variant}")
        out += [fmt([a, b]) for a, b in zip(v, response)]
        out.append(f"{best_bins} {q!r}")
        out += [fmt(weights), fmt(centres), fmt([degree] + coef)]
    with open(os.path.join(HERE, "scoring_rules.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


def rule_score(rule, v):
    var, kind, comparison, categorical, low, high, points, c0, c1, c2 = rule
    if categorical:
        return points if np.trunc(v) == np.trunc(low) else 0.0
    if kind == 0:
        if comparison == 0:
            return points if v <= high else 0.0
        if comparison == 1:
            return points if v >= low else 0.0
        if comparison == 2:
            return points if low <= v <= high else 0.0
        return 0.0
    if kind == 1:
        return c1 * v + c0
    return c2 * v * v + c1 * v + c0


def score_file():
    rng = np.random.default_rng(2750)
    seps = [" ", "\t", ",", ";", " ,", ";  "]
    lines, scored = [], []
    for i in range(60):
        values = [round(float(x), 3) for x in rng.uniform(0, 9, 4)]
        if i % 7 == 3:
            values[1] = 4.0
        if i % 11 == 5:
            values = values[:2]  # too few numbers: skipped
        text = ""
        for k, x in enumerate(values):
            text += (seps[(i + k) % len(seps)] if k else "") + repr(x)
        if i == 9:
            text += " " + "0" * 700  # a long line is read whole
        lines.append(text)
        if len(values) < 4:
            continue
        total = sum(rule_score(r, values[r[0]]) for r in RULES)
        scored.append((len(scored), text, 100.0 * (total - SCORE_MIN) / (SCORE_MAX - SCORE_MIN)))
    with open(os.path.join(HERE, "score_task.txt"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    for percent in (50, 100):
        counts = [0] * 101
        for _, _, sc in scored:
            for k in range(0, max(0, min(100, int(sc))) + 1):
                counts[k] += 1
        threshold = -1e40
        if percent < 100:
            threshold = 100
            for k in range(101):
                p = int(counts[k] / len(scored) * 100)
                if p <= 0:
                    threshold = k - 1
                    break
                if p < percent:
                    threshold = k
                    break
        with open(os.path.join(HERE, f"score_task{percent}.expected"), "w", newline="") as f:
            for _, text, sc in scored:
                if sc > threshold:
                    f.write(f"{text}   {int(sc)}\n")

if __name__ == "__main__":
    rules_table()
    score_file()
