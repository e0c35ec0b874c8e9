#include "statistics/correlation_matrix.h"

#include <cstddef>

#include "statistics/one_variable.h"

std::vector<double> CorrelationMatrix(const std::vector<std::vector<double>>& columns) {
    const std::size_t n = columns.size();
    std::vector<double> m(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i; j < n; ++j) {
            const double r = CorrelationCoefficient(columns[i], columns[j]);
            m[i * n + j] = m[j * n + i] = r;
        }
    }
    return m;
}
