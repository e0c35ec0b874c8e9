#pragma once
// Dropping points outside a box before they are painted.
#include <vector>

// Keeps, in order, the pairs (x[i], y[i]) with xmin <= x <= xmax and ymin <= y <= ymax
// (bounds included) and cuts both arrays to the kept count. Arrays of unequal length
// are paired up to the shorter one.
void KeepPointsInBox(std::vector<double>& x, std::vector<double>& y, double xmin, double xmax, double ymin,
                     double ymax);

// The same for triples inside a box.
void KeepPointsInBox3(std::vector<double>& x, std::vector<double>& y, std::vector<double>& z, double xmin,
                      double xmax, double ymin, double ymax, double zmin, double zmax);
