#!/usr/bin/python3
# Deviations of a nine-term base-line fit (powers 0..8 of x), the numbers the base-line
# test compares with: sqrt(msr * diag(inverse normal matrix)) with msr = ssr / n.
import numpy as np

n = 60
x = -1 + 2 * np.arange(n) / (n - 1)
y = np.sin(3 * x) + 0.1 * np.cos(17 * x)
X = np.vander(x, 9, increasing=True)
inverse = np.linalg.inv(X.T @ X)
c = inverse @ X.T @ y
msr = np.sum((X @ c - y) ** 2) / n
for k in range(9):
    print("%.17g %.17g" % (c[k], np.sqrt(msr * inverse[k, k])))
