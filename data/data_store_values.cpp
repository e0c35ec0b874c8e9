#include "data/data_store.h"

#include <algorithm>
#include <cmath>

int DataStore::RescaleParameter(int globalIndex, double a, double b, double c) {
    const int s = SeriesOfParameter(globalIndex);
    if (s < 0) return 0;
    const Series& x = series[static_cast<std::size_t>(s)];
    if (x.nRecords <= 0 || !ValuesInside(x)) return 0;
    const std::size_t stride = static_cast<std::size_t>(x.nParameters);
    double* v = allValues.data() + x.firstValue + (globalIndex - x.firstParameter);
    for (int r = 0; r < x.nRecords; ++r) {
        double& value = v[static_cast<std::size_t>(r) * stride];
        value = (value - b) * c + a;
    }
    NoteStoreChanged();
    return 1;
}

int DataStore::NormalizeParameter(int globalIndex, double low, double high) {
    if (!(std::fabs(high - low) > 1e-40)) return 0;
    double minimum, maximum, first;
    if (!ParameterRange(globalIndex, minimum, maximum, first)) return 0;
    // A parameter without spread has no range to map; it stays as it is.
    if (!(maximum > minimum)) return 0;
    const double scale = (high - low) / (maximum - minimum);
    if (!std::isfinite(scale)) return 0;
    return RescaleParameter(globalIndex, low, minimum, scale);
}

int DataStore::NormalizeParameterByFirst(int globalIndex) {
    double minimum, maximum, first;
    if (!ParameterRange(globalIndex, minimum, maximum, first) || !(std::fabs(first) >= 1e-40)) {
        ShowStoreMessage("The procedure cannot be complete");
        return 0;
    }
    return RescaleParameter(globalIndex, 1, first, 1 / first);
}

namespace {

bool RecordInside(const std::vector<double>& values, int n, int k) {
    return n > 0 && k >= 0 && (static_cast<long long>(k) + 1) * n <= static_cast<long long>(values.size());
}

}  // namespace

int DataStore::GetRecord(int n, int k, std::vector<double>& out) const {
    if (!RecordInside(allValues, n, k)) return 0;
    if (out.size() < static_cast<std::size_t>(n)) out.resize(static_cast<std::size_t>(n));
    const auto begin = allValues.begin() + static_cast<std::ptrdiff_t>(k) * n;
    std::copy(begin, begin + n, out.begin());
    return 1;
}

int DataStore::PutRecord(int n, int k, const std::vector<double>& record) {
    if (!RecordInside(allValues, n, k) || record.size() < static_cast<std::size_t>(n)) return 0;
    std::copy(record.begin(), record.begin() + n, allValues.begin() + static_cast<std::ptrdiff_t>(k) * n);
    NoteStoreChanged();
    return 1;
}

int DataStore::CopyRecord(int n, int from, int to) {
    if (!RecordInside(allValues, n, from) || !RecordInside(allValues, n, to)) return 0;
    const auto source = allValues.begin() + static_cast<std::ptrdiff_t>(from) * n;
    std::copy(source, source + n, allValues.begin() + static_cast<std::ptrdiff_t>(to) * n);
    NoteStoreChanged();
    return 1;
}

int DataStore::SortRecordsAscending(int parameter, int n, std::vector<double>& scratch, int first, int last) {
    return SortRecords(parameter, n, scratch, first, last, true);
}

int DataStore::SortRecordsDescending(int parameter, int n, std::vector<double>& scratch, int first, int last) {
    return SortRecords(parameter, n, scratch, first, last, false);
}

int DataStore::SortRecords(int parameter, int n, std::vector<double>& scratch, int first, int last, bool ascending) {
    if (parameter < 0 || parameter >= n || !RecordInside(allValues, n, first) || !RecordInside(allValues, n, last)) {
        return 0;
    }
    if (last <= first) return 1;
    const std::size_t stride = static_cast<std::size_t>(n);
    double* base = allValues.data() + static_cast<std::size_t>(first) * stride;
    const std::size_t count = static_cast<std::size_t>(last - first) + 1;
    struct Key {
        double value;
        std::size_t record;
    };
    // NaN keys go after every number either way; equal keys keep their order.
    auto before = [ascending](const Key& a, const Key& b) {
        if (std::isnan(a.value)) return false;
        if (std::isnan(b.value)) return true;
        return ascending ? a.value < b.value : a.value > b.value;
    };
    std::vector<Key> keys(count);
    bool inOrder = true;
    for (std::size_t r = 0; r < count; ++r) {
        keys[r] = {base[r * stride + static_cast<std::size_t>(parameter)], r};
        if (r > 0 && before(keys[r], keys[r - 1])) inOrder = false;
    }
    if (inOrder) return 1;
    // The numbers are sorted on their own, as rising keys (negated for a falling order).
    const auto numbers = std::stable_partition(keys.begin(), keys.end(), [](const Key& k) { return !std::isnan(k.value); });
    if (!ascending)
        for (auto k = keys.begin(); k != numbers; ++k) k->value = -k->value;
    std::stable_sort(keys.begin(), numbers, [](const Key& a, const Key& b) { return a.value < b.value; });
    scratch.resize(count * stride);
    double* out = scratch.data();
    for (const Key& k : keys) {
        const double* from = base + k.record * stride;
        for (std::size_t j = 0; j < stride; ++j) *out++ = from[j];
    }
    std::copy(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(count * stride), base);
    NoteStoreChanged();
    return 1;
}
