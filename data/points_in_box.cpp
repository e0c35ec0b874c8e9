#include "data/points_in_box.h"

#include <algorithm>
#include <cstddef>

void KeepPointsInBox(std::vector<double>& x, std::vector<double>& y, double xmin, double xmax, double ymin,
                     double ymax) {
    const std::size_t n = std::min(x.size(), y.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (xmin <= x[i] && x[i] <= xmax && ymin <= y[i] && y[i] <= ymax) {
            x[kept] = x[i];
            y[kept] = y[i];
            ++kept;
        }
    }
    x.resize(kept);
    y.resize(kept);
}

void KeepPointsInBox3(std::vector<double>& x, std::vector<double>& y, std::vector<double>& z, double xmin,
                      double xmax, double ymin, double ymax, double zmin, double zmax) {
    const std::size_t n = std::min({x.size(), y.size(), z.size()});
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (xmin <= x[i] && x[i] <= xmax && ymin <= y[i] && y[i] <= ymax && zmin <= z[i] && z[i] <= zmax) {
            x[kept] = x[i];
            y[kept] = y[i];
            z[kept] = z[i];
            ++kept;
        }
    }
    x.resize(kept);
    y.resize(kept);
    z.resize(kept);
}
