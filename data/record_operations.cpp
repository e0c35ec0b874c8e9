#include "data/record_operations.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

inline int Meets(double v, int mode, double a, double b) {
    switch (mode) {
        case 0: return v > a;
        case 1: return v < a;
        case 2: return a < v && v < b;
        case 3: return v < a || v > b;
        default: return 0;
    }
}

bool ValidSeries(const DataStore& store, int s) { return s >= 0 && s < static_cast<int>(store.series.size()); }

// Every column's role as series 0 holds it, copied to every series with the counts.
void SpreadColumnRoles(DataStore& store) {
    if (store.series.empty()) return;
    const int n = store.series[0].nParameters;
    std::int32_t arguments = 0, values = 0;
    for (int k = 0; k < n; ++k) {
        const std::int32_t role = store.parameters[static_cast<std::size_t>(k)].role;
        arguments += role == kRoleArgument;
        values += role == kRoleValue;
    }
    for (std::size_t i = 0; i < store.parameters.size(); ++i)
        store.parameters[i].role = store.parameters[i % static_cast<std::size_t>(n)].role;
    for (Series& x : store.series) {
        x.nArguments = arguments;
        x.nValues = values;
    }
}

}  // namespace

int ConditionTest(double v, int mode, double a, double b) { return Meets(v, mode, a, b); }

int FindSeriesOfParameter(DataStore& store, int p, int& seriesOut) {
    for (std::size_t s = 0; s < store.series.size(); ++s) {
        store.pendingSeries = store.series[s];
        const Series& x = store.series[s];
        if (p >= x.firstParameter && p < x.firstParameter + x.nParameters) {
            seriesOut = static_cast<int>(s);
            return p - x.firstParameter;
        }
    }
    return -1;
}

double ValueAt(const DataStore& store, int column, int row, int stride) {
    const long long index = static_cast<long long>(row) * stride + column;
    if (index < 0 || index >= static_cast<long long>(store.allValues.size())) throw std::out_of_range("ValueAt");
    return store.allValues[static_cast<std::size_t>(index)];
}

int ResizeSeriesRecords(DataStore& store, int s, int delta) {
    if (!ValidSeries(store, s)) return 0;
    Series& x = store.series[static_cast<std::size_t>(s)];
    const long long count = static_cast<long long>(x.nRecords) + delta;
    const std::int32_t shift = x.nParameters * delta;
    for (std::size_t t = static_cast<std::size_t>(s) + 1; t < store.series.size(); ++t) store.series[t].firstValue += shift;
    x.nRecords = static_cast<std::int32_t>(std::max(0LL, count));
    store.NoteStoreChanged();
    // An empty series goes whole, so its name and parameters never pass to the next one.
    if (count <= 0) store.RemoveSeries(s);
    return 1;
}

void SortSeriesRecords(DataStore& store, int p, int ascending) {
    if (store.series.empty() || p < 0) return;
    const int n = store.series[0].nParameters;
    if (n <= 0) return;
    std::vector<double> scratch;
    for (int s = 0; s < static_cast<int>(store.series.size()); ++s) {
        if (store.modifyCurrentSeriesOnly && s != store.modifySeriesIndex) continue;
        const Series& x = store.series[static_cast<std::size_t>(s)];
        if (x.nRecords < 2 || x.nParameters != n || x.firstValue % n != 0) continue;
        // Series are whole records of the same stride, so their records count from the start.
        const int first = x.firstValue / n;
        if (ascending) {
            store.SortRecordsAscending(p % n, n, scratch, first, first + x.nRecords - 1);
        } else {
            store.SortRecordsDescending(p % n, n, scratch, first, first + x.nRecords - 1);
        }
    }
}

int DeleteRecordsByCondition(DataStore& store, int currentSeries, int p, int mode, double a, double b) {
    if (!ValidSeries(store, currentSeries) || p < 0) return 0;
    const int n = store.series[static_cast<std::size_t>(currentSeries)].nParameters;
    if (n <= 0) return 0;
    const int column = p % n;
    auto processed = [&](int s) { return !store.modifyCurrentSeriesOnly || s == store.modifySeriesIndex; };

    long long remaining = 0;
    for (int s = 0; s < static_cast<int>(store.series.size()); ++s) {
        if (!processed(s)) continue;
        const Series& x = store.series[static_cast<std::size_t>(s)];
        const double* v = store.allValues.data() + x.firstValue + column;
        for (int r = 0; r < x.nRecords; ++r) remaining += !Meets(v[static_cast<std::size_t>(r) * n], mode, a, b);
    }
    if (remaining == 0) {
        store.ShowStoreMessage("No records are fit to set criterias.\nChange conditions and try again.");
        return 0;
    }

    // One pass compacts allValues: kept records move down, later series follow.
    double* values = store.allValues.data();
    std::size_t write = 0;
    std::vector<int> emptied;
    for (int s = 0; s < static_cast<int>(store.series.size()); ++s) {
        Series& x = store.series[static_cast<std::size_t>(s)];
        const std::size_t start = static_cast<std::size_t>(x.firstValue);
        const std::size_t stride = static_cast<std::size_t>(x.nParameters);
        x.firstValue = static_cast<std::int32_t>(write);
        if (!processed(s)) {
            const std::size_t count = stride * static_cast<std::size_t>(x.nRecords);
            if (write != start) std::copy(values + start, values + start + count, values + write);
            write += count;
            continue;
        }
        int kept = 0;
        for (int r = 0; r < x.nRecords; ++r) {
            const double* record = values + start + static_cast<std::size_t>(r) * stride;
            if (Meets(record[column], mode, a, b)) continue;
            // Records only move down, so a forward copy never overwrites what it reads.
            double* target = values + write;
            if (target != record)
                for (std::size_t k = 0; k < stride; ++k) target[k] = record[k];
            write += stride;
            ++kept;
        }
        x.nRecords = kept;
        if (kept == 0) emptied.push_back(s);
    }
    store.allValues.resize(write);
    store.NoteStoreChanged();
    for (auto it = emptied.rbegin(); it != emptied.rend(); ++it) store.RemoveSeries(*it);
    return 1;
}

int ScaleParameterToRange(DataStore& store, int p, double low, double high) {
    const int s = store.SeriesOfParameter(p);
    if (s < 0) return 0;
    const Series& x = store.series[static_cast<std::size_t>(s)];
    if (x.nRecords <= 0) return 0;
    const std::size_t stride = static_cast<std::size_t>(x.nParameters);
    double* v = store.allValues.data() + x.firstValue + (p - x.firstParameter);
    double maximum = v[0], minimum = v[0];
    for (int r = 1; r < x.nRecords; ++r) {
        const double value = v[static_cast<std::size_t>(r) * stride];
        maximum = std::max(maximum, value);
        minimum = std::min(minimum, value);
    }
    if (!(maximum > minimum)) return 0;
    const double scale = (high - low) / (maximum - minimum);
    for (int r = 0; r < x.nRecords; ++r) {
        double& value = v[static_cast<std::size_t>(r) * stride];
        value = (value - minimum) * scale + low;
    }
    store.NoteStoreChanged();
    return 1;
}

int SplitSeries(DataStore& store, int p, int k) {
    if (store.series.size() != 1 || k <= 1) return 0;
    const Series old = store.series[0];
    const int n = old.nParameters;
    if (p < 0 || p >= n) return 0;
    const int m = old.nRecords / k;
    if (m < 5) {
        store.ShowStoreMessage("Too small number of records in new series");
        return 0;
    }
    long long c = 0;
    for (int j = n; j < n * k; ++j) {
        Initial record = store.parameters[static_cast<std::size_t>(j % n)];
        if (record.role == kRoleValue) {
            record.color = static_cast<std::int32_t>(store.PaletteColor(c));
            record.markShape = static_cast<std::int32_t>(c % kMarkShapeCount);
            ++c;
        }
        store.parameters.push_back(record);
        store.parameterNames.push_back(store.parameterNames[static_cast<std::size_t>(j % n)]);
        store.parameterTexts.emplace_back();
    }
    const std::string name = store.seriesNames.empty() ? std::string() : store.seriesNames[0];
    store.series.clear();
    store.seriesNames.clear();
    for (int i = 0; i < k; ++i) {
        const int records = i < k - 1 ? m : old.nRecords - (k - 1) * m;
        store.series.push_back(Series{n, old.nArguments, old.nValues, i * n, i * m * n, records});
        store.seriesNames.push_back(name + "_" + std::to_string(i + 1));
    }
    store.NoteStoreChanged();
    return 1;
}

int UniteAllSeries(DataStore& store) {
    if (store.series.size() < 2) return 0;
    Series& first = store.series[0];
    const int n = first.nParameters;
    if (n <= 0) return 0;
    first.nRecords = static_cast<std::int32_t>(store.allValues.size() / static_cast<std::size_t>(n));
    store.series.resize(1);
    store.parameters.resize(static_cast<std::size_t>(n));
    store.parameterNames.resize(static_cast<std::size_t>(n));
    store.parameterTexts.resize(static_cast<std::size_t>(n));
    store.seriesNames.resize(1);
    if (store.selectedParameter >= n) store.selectedParameter = -1;
    if (store.selectedSeries > 0) {
        store.selectedSeries = 0;
        store.selectedRow = 0;
        store.selectedParameter = -1;
    }
    store.NoteStoreChanged();
    return 1;
}

// ---- Display records and names -----------------------------------------------------------

void DistinctColorLines(DataStore& store) {
    long long ordinal = 0;
    for (Initial& x : store.parameters) {
        if (x.role != kRoleValue) continue;
        x.color = static_cast<std::int32_t>(store.PaletteColor(ordinal++));
        x.markShape = kMarkShapeLine;
    }
}

void DistinctColorMarks(DataStore& store) {
    long long ordinal = 0;
    for (Initial& x : store.parameters) {
        if (x.role != kRoleValue) continue;
        x.color = static_cast<std::int32_t>(store.PaletteColor(ordinal));
        x.markShape = static_cast<std::int32_t>(ordinal % kMarkShapeCount);
        ++ordinal;
    }
}

void SetValueMarkShape(DataStore& store, int shape) {
    for (Initial& x : store.parameters)
        if (x.role == kRoleValue) x.markShape = shape;
}

void ChangeValueMarkSize(DataStore& store, int delta) {
    for (Initial& x : store.parameters)
        if (x.role == kRoleValue) x.markSize += delta;
}

int MarksSameSize(DataStore& store) {
    const int selected = store.selectedParameter;
    if (selected < 0 || selected >= static_cast<int>(store.parameters.size())) return 0;
    const Initial chosen = store.parameters[static_cast<std::size_t>(selected)];
    if (chosen.role != kRoleValue) return 0;
    for (Initial& x : store.parameters)
        if (x.role == kRoleValue) x.markSize = chosen.markSize;
    return 1;
}

int CopyNamesOfAllSeries(DataStore& store, int withOrder) {
    if (store.series.empty()) return 0;
    const std::size_t k = static_cast<std::size_t>(store.series[0].nParameters);
    if (k == 0 || store.parameterNames.size() < k) return 0;
    const std::vector<std::string> first(store.parameterNames.begin(), store.parameterNames.begin() + static_cast<std::ptrdiff_t>(k));
    for (std::size_t i = 0; i < store.parameterNames.size(); ++i) {
        store.parameterNames[i] = withOrder ? first[i % k] + "_" + std::to_string(i / k + 1) : first[i % k];
    }
    return 1;
}

void AssignPaletteColors(DataStore& store, int shapeSeries) {
    if (shapeSeries < 1 || store.parameters.empty()) return;
    for (std::size_t i = 0; i < store.parameters.size(); ++i)
        store.parameters[i].color = static_cast<std::int32_t>(store.PaletteColor(static_cast<long long>(i)));
}

int PrepareAllParametersAsValues(DataStore& store, int shapeSeries) {
    if (shapeSeries < 1 || store.series.empty() || store.series[0].nParameters < 2) return 0;
    for (Initial& x : store.parameters) {
        x.markShape = 0;
        x.role = kRoleValue;
        x.autoSize = 1;
    }
    SpreadColumnRoles(store);
    return 1;
}

int SetSingleValueColumn(DataStore& store, int p, int shapeSeries) {
    if (shapeSeries < 1 || store.series.empty() || p < 0 || p >= static_cast<int>(store.parameters.size())) return 0;
    const int n = store.series[0].nParameters;
    if (n < 4) return 0;
    const std::size_t column = static_cast<std::size_t>(p % n);
    // Roles are the same in every series: the whole column becomes the value.
    for (std::size_t i = 0; i < store.parameters.size(); ++i) {
        Initial& x = store.parameters[i];
        if (i % static_cast<std::size_t>(n) == column) {
            x.role = kRoleValue;
            x.markShape = 0;
            x.autoSize = 1;
        } else {
            x.role = kRoleArgument;
        }
    }
    SpreadColumnRoles(store);
    return 1;
}

int ColorImageParameters(DataStore& store, int mode) {
    if (store.series.empty() || store.series[0].nParameters != 3) return 0;
    static constexpr std::int32_t kRgb[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    static constexpr std::int32_t kHsv[3] = {0xFF00FF, 0xFFFF00, 0x000000};
    const std::int32_t* colors = mode == 0 ? kRgb : kHsv;
    const std::size_t first = static_cast<std::size_t>(store.series.back().firstParameter);
    for (std::size_t i = 0; i < store.parameters.size(); ++i) store.parameters[i].role = kRoleValue;
    for (std::size_t k = 0; k < 3 && first + k < store.parameters.size(); ++k) store.parameters[first + k].color = colors[k];
    SpreadColumnRoles(store);
    return 1;
}
