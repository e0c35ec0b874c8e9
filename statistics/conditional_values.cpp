#include "statistics/conditional_values.h"

#include <algorithm>

#include "data/data_store.h"

void GetConditionalValues(const DataStore& store, int s, int p, const std::vector<conditions>& list,
                          std::vector<double>& out) {
    out.clear();
    if (s < 0 || s >= static_cast<int>(store.series.size())) return;
    const Series& se = store.series[static_cast<size_t>(s)];
    const long long first = se.firstValue;
    const long long count = static_cast<long long>(se.nRecords) * se.nParameters;
    if (first < 0 || count <= 0 || first + count > static_cast<long long>(store.allValues.size())) return;
    ConditionalValues(store.allValues.data() + first, se.nRecords, se.nParameters, p, list, out);
}

int ConditionalRange(const DataStore& store, int s, int p, const std::vector<conditions>& list, double& minimum,
                     double& maximum) {
    std::vector<double> values;
    GetConditionalValues(store, s, p, list, values);
    if (values.empty()) return 0;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    minimum = *lo;
    maximum = *hi;
    return maximum - minimum < 1e-50 ? 0 : 1;
}
