#include "data/data_store.h"

#include <algorithm>

namespace {

constexpr int kProgressStep = 5000;
constexpr int kProgressKind = 5000;

template <typename T>
void EraseRange(std::vector<T>& v, long long begin, long long end) {
    begin = std::clamp<long long>(begin, 0, static_cast<long long>(v.size()));
    end = std::clamp<long long>(end, begin, static_cast<long long>(v.size()));
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(begin), v.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace

int DataStore::RemoveRecordValues(int s, int index, int count) {
    if (s < 0 || s >= static_cast<int>(series.size())) return 0;
    Series& x = series[static_cast<std::size_t>(s)];
    const int n = x.nParameters;
    if (n <= 0 || count < 0 || count % n != 0) return 0;
    const long long begin = index;
    const long long seriesEnd = static_cast<long long>(x.firstValue) + static_cast<long long>(n) * x.nRecords;
    if (begin < x.firstValue || (begin - x.firstValue) % n != 0 || begin + count > seriesEnd) return 0;
    if (seriesEnd > static_cast<long long>(allValues.size())) return 0;
    if (count == 0) return 1;

    EraseRange(allValues, begin, begin + count);
    x.nRecords -= count / n;
    for (std::size_t t = static_cast<std::size_t>(s) + 1; t < series.size(); ++t) series[t].firstValue -= count;
    NoteStoreChanged();
    return 1;
}

int DataStore::RemoveSeries(int s) {
    if (s < 0 || s >= static_cast<int>(series.size())) return 0;
    const Series gone = series[static_cast<std::size_t>(s)];
    const int n = gone.nParameters;
    const long long values = static_cast<long long>(n) * gone.nRecords;
    for (std::size_t t = static_cast<std::size_t>(s) + 1; t < series.size(); ++t) {
        series[t].firstValue -= static_cast<std::int32_t>(values);
        series[t].firstParameter -= n;
    }
    EraseRange(parameters, gone.firstParameter, static_cast<long long>(gone.firstParameter) + n);
    EraseRange(parameterNames, gone.firstParameter, static_cast<long long>(gone.firstParameter) + n);
    EraseRange(parameterTexts, gone.firstParameter, static_cast<long long>(gone.firstParameter) + n);
    EraseRange(seriesNames, s, s + 1);
    EraseRange(allValues, gone.firstValue, gone.firstValue + values);
    series.erase(series.begin() + s);

    // The selection follows what it pointed at, or is dropped with the series.
    if (selectedParameter >= gone.firstParameter) {
        selectedParameter = selectedParameter < gone.firstParameter + n ? -1 : selectedParameter - n;
    }
    if (selectedSeries == s) {
        selectedSeries = -1;
        selectedParameter = -1;
    } else if (selectedSeries > s) {
        --selectedSeries;
    }
    if (selectedSeries < 0) {
        selectedRow = -1;
    } else {
        const int rowsPerSeries = n + 1;
        selectedRow = selectedSeries * rowsPerSeries;
        if (selectedParameter >= 0) {
            selectedRow += 1 + selectedParameter - series[static_cast<std::size_t>(selectedSeries)].firstParameter;
        }
    }

    NoteStoreChanged();
    if (series.empty()) OnDeleteAll();
    return 1;
}

bool DataStore::RowIsSeriesRow(int row) const {
    if (row < 0 || series.empty()) return false;
    const int rowsPerSeries = series[0].nParameters + 1;
    return row % rowsPerSeries == 0 && row / rowsPerSeries < static_cast<int>(series.size());
}

void DataStore::OnDeleteParameter() {
    const int seriesCount = static_cast<int>(series.size());
    if (seriesCount == 0) return;
    if (selectedParameter < 0 || RowIsSeriesRow(selectedRow)) {
        if (selectedSeries < 0 || selectedSeries >= seriesCount) return;  // nothing chosen
        RemoveSeries(selectedSeries);
        NoteStructureChanged();
    } else {
        if (selectedParameter >= static_cast<int>(parameters.size()) || series[0].nParameters <= 0) return;
        if (!DeleteColumn(selectedParameter % series[0].nParameters)) return;
    }

    if (series.empty()) {
        selectedSeries = -1;
        selectedRow = -1;
    } else {
        selectedSeries = 0;
        selectedRow = 0;
        selectedParameter = -1;  // the series row 0 holds the mark now
    }
    dataModified = 1;
    UpdateButtonStates();
    RedrawDataPage();
    RefreshSeriesList(1);
    MarkSceneForRebuild();
    StopSyncTimer();
    RequestRepaint();
}

bool DataStore::DeleteColumn(int column) {
    const int n = series[0].nParameters;
    const std::int32_t role = parameters[static_cast<std::size_t>(selectedParameter)].role;
    const std::size_t total = allValues.size();

    // One pass keeps every value outside the column. Progress lets other handlers
    // run; when one of them changes the store the deletion is abandoned.
    std::vector<double> kept;
    kept.reserve(total - total / static_cast<std::size_t>(n));
    const std::uint64_t stamp = changeCount_;
    int place = 0;  // column of the value at index i
    for (std::size_t start = 0; start < total; start += kProgressStep) {
        SetProgress(kProgressKind, "Deleting parameter", static_cast<int>(start), static_cast<int>(total));
        if (changeCount_ != stamp || allValues.size() != total) return false;
        const std::size_t stop = std::min(total, start + kProgressStep);
        for (std::size_t i = start; i < stop; ++i) {
            if (place != column) kept.push_back(allValues[i]);
            if (++place == n) place = 0;
        }
    }
    allValues.swap(kept);
    kept = {};

    long long recordsBefore = 0;
    for (std::size_t s = 0; s < series.size(); ++s) {
        Series& x = series[s];
        x.nParameters -= 1;
        x.firstParameter -= static_cast<std::int32_t>(s);
        x.firstValue -= static_cast<std::int32_t>(recordsBefore);
        recordsBefore += x.nRecords;
        if (role == kRoleArgument) x.nArguments = std::max(0, x.nArguments - 1);
        if (role == kRoleValue) x.nValues = std::max(0, x.nValues - 1);
    }
    parametersPerSeries = n - 1;
    NoteStructureChanged();
    if (n - 1 == 0) {
        OnDeleteAll();
        return true;
    }

    for (int s = static_cast<int>(series.size()) - 1; s >= 0; --s) {
        const long long index = static_cast<long long>(s) * n + column;
        EraseRange(parameters, index, index + 1);
        EraseRange(parameterNames, index, index + 1);
        EraseRange(parameterTexts, index, index + 1);
        DropParameterConditions(static_cast<int>(index));
    }
    RecountRoles();
    if (activeParameter == column) {
        activeParameter = 0;
    } else if (activeParameter > column) {
        --activeParameter;
    }
    if (argumentCount > series[0].nArguments) argumentCount = series[0].nArguments;
    return true;
}

void DataStore::OnDeleteAll() {
    // A pending rename is applied while its name still exists.
    ApplyPendingRename();
    parameters = {};
    parameterNames = {};
    parameterTexts = {};
    series = {};
    allValues = {};
    seriesNames = {};
    argumentCount = 0;
    parametersPerSeries = 0;
    activeParameter = 0;
    selectedParameter = -1;
    selectedSeries = -1;
    selectedRow = -1;
    NoteStructureChanged();

    RefreshSeriesList(1);
    UpdateButtonStates();
    RedrawDataPage();
    dataModified = 1;
    StopSyncTimer();
    ResetDependentChoices();
    HideDataSheet();
    dataPageChanged = 1;
    ClearProgressState();
    RequestRepaint();
}

int DataStore::CompactValues() {
    long long position = 0;
    for (const Series& x : series) {
        const long long count = static_cast<long long>(x.nParameters) * x.nRecords;
        if (x.nParameters < 0 || x.nRecords < 0 || x.firstValue < position ||
            x.firstValue + count > static_cast<long long>(allValues.size())) {
            return 0;
        }
        position += count;
    }
    position = 0;
    for (Series& x : series) {
        const long long count = static_cast<long long>(x.nParameters) * x.nRecords;
        if (x.firstValue > position) {
            std::copy(allValues.begin() + x.firstValue, allValues.begin() + x.firstValue + count,
                      allValues.begin() + position);
        }
        x.firstValue = static_cast<std::int32_t>(position);
        position += count;
    }
    allValues.resize(static_cast<std::size_t>(position));
    NoteStructureChanged();
    return 1;
}
