#include "data/data_store.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

// Progress is reported from this many records on, every kProgressStep records.
constexpr int kProgressRecords = 15000;
constexpr int kProgressStep = 5000;
constexpr int kProgressKind = 5000;

}  // namespace

DataStore::DataStore() { FillMarkPalette(); }

void DataStore::FillMarkPalette() {
    markColors = {0x000000, 0xD12B18, 0x10F82F, 0x3DD4D0, 0x0F41EE, 0xAEB70D,
                  0x467D4F, 0xAA15AE, 0x3909BB, 0x51AE58, 0xE278B3};
    markColorCount = 11;
}

std::uint32_t DataStore::PaletteColor(long long c) const {
    const long long count = std::min<long long>(markColorCount, static_cast<long long>(markColors.size()));
    if (count <= 0) return 0;
    const long long i = ((c % count) + count) % count;
    return markColors[static_cast<std::size_t>(i)];
}

void DataStore::NoteStoreChanged() {
    ++changeCount_;
    if (!undoStepOpen_) DropUndoCopy();
}

void DataStore::NoteStructureChanged() {
    ++changeCount_;
    undoStepOpen_ = false;
    DropUndoCopy();
}

bool DataStore::ValuesInside(const Series& x) const {
    return x.firstValue >= 0 && x.nParameters >= 0 && x.nRecords >= 0 &&
           static_cast<long long>(x.firstValue) + static_cast<long long>(x.nParameters) * x.nRecords <=
               static_cast<long long>(allValues.size());
}

long long DataStore::StoredValueCount() const {
    long long total = 0;
    for (const Series& s : series) total += static_cast<long long>(s.nParameters) * s.nRecords;
    return total;
}

int DataStore::GetParameterValues(int s, int p, std::vector<double>& out) {
    if (s < 0 || s >= static_cast<int>(series.size())) return 0;
    pendingSeries = series[static_cast<std::size_t>(s)];
    const Series shape = pendingSeries;
    if (p < 0 || p >= shape.nParameters) return 0;
    const long long end = static_cast<long long>(shape.firstValue) + static_cast<long long>(shape.nRecords) * shape.nParameters;
    if (shape.firstValue < 0 || shape.nRecords < 0 || end > static_cast<long long>(allValues.size())) return 0;

    const std::size_t stride = static_cast<std::size_t>(shape.nParameters);
    const std::size_t offset = static_cast<std::size_t>(shape.firstValue) + static_cast<std::size_t>(p);
    const int records = shape.nRecords;
    if (records < kProgressRecords) {
        out.resize(static_cast<std::size_t>(records));
        const double* source = allValues.data() + offset;
        double* target = out.data();
        for (int r = 0; r < records; ++r) target[r] = source[static_cast<std::size_t>(r) * stride];
        return 1;
    }

    // Progress lets other handlers run: copy aside and hand the column over only when
    // the store stayed as it was.
    std::vector<double> column(static_cast<std::size_t>(records));
    const std::uint64_t stamp = changeCount_;
    for (int start = 0; start < records; start += kProgressStep) {
        SetProgress(kProgressKind, "Processing data", start, records);
        if (changeCount_ != stamp || allValues.size() < static_cast<std::size_t>(end)) return 0;
        const double* source = allValues.data() + offset;
        const int stop = std::min(records, start + kProgressStep);
        for (int r = start; r < stop; ++r) column[static_cast<std::size_t>(r)] = source[static_cast<std::size_t>(r) * stride];
    }
    out.swap(column);
    return 1;
}

int DataStore::SeriesOfParameter(int globalIndex) const {
    if (globalIndex < 0) return -1;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const Series& x = series[s];
        if (globalIndex >= x.firstParameter && globalIndex < x.firstParameter + x.nParameters) return static_cast<int>(s);
    }
    return -1;
}

int DataStore::IndexOfParameterName(const std::string& name) const {
    for (std::size_t i = 0; i < parameterNames.size(); ++i) {
        const std::string& candidate = parameterNames[i];
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k) {
            same = std::tolower(static_cast<unsigned char>(candidate[k])) == std::tolower(static_cast<unsigned char>(name[k]));
        }
        if (same) return static_cast<int>(i);
    }
    return -1;
}

int DataStore::ParameterRange(int globalIndex, double& minimum, double& maximum, double& first) const {
    const int s = SeriesOfParameter(globalIndex);
    if (s < 0) return 0;
    const Series& x = series[static_cast<std::size_t>(s)];
    if (x.nRecords <= 0 || !ValuesInside(x)) return 0;
    const std::size_t stride = static_cast<std::size_t>(x.nParameters);
    const double* v = allValues.data() + x.firstValue + (globalIndex - x.firstParameter);
    first = minimum = maximum = v[0];
    for (int r = 1; r < x.nRecords; ++r) {
        const double value = v[static_cast<std::size_t>(r) * stride];
        if (value < minimum) minimum = value;
        if (value > maximum) maximum = value;
    }
    return 1;
}

int DataStore::CheckNewSeriesShape(int n, Series& out) {
    if (n < 1) return 0;
    if (series.empty()) {
        OnDeleteAll();
        out.nParameters = n;
        parametersPerSeries = n;
        return 1;
    }
    parametersPerSeries = series[0].nParameters;
    if (n == parametersPerSeries) {
        out = series[0];
        return 1;
    }
    ShowStoreMessage("Number of parameters in additing series must be equial to existing " +
                     std::to_string(parametersPerSeries) + "\nPlease try again.");
    return 0;
}

int DataStore::AddNewSeries(int recordCount, const std::vector<std::string>& names) {
    const int n = pendingSeries.nParameters;
    const long long existing = StoredValueCount();
    // A refused series must not leave its values behind.
    auto refuse = [&]() {
        if (static_cast<long long>(allValues.size()) > existing) allValues.resize(static_cast<std::size_t>(existing));
        return 0;
    };
    if (n < 1 || recordCount < 0) return refuse();
    if (!series.empty() && series[0].nParameters != n) return refuse();
    const long long added = static_cast<long long>(n) * recordCount;
    if (static_cast<long long>(allValues.size()) != existing + added || existing + added > INT_MAX) return refuse();
    if (static_cast<long long>(parameters.size()) + n > INT_MAX) return refuse();

    static const std::string kNoName;
    auto nameAt = [&](int k) -> const std::string& {
        return static_cast<std::size_t>(k) < names.size() ? names[static_cast<std::size_t>(k)] : kNoName;
    };

    if (series.empty()) {
        // Leftovers that belong to no series go.
        parameters.clear();
        parameterNames.clear();
        parameterTexts.clear();
        seriesNames.clear();
        for (int k = 0; k < n; ++k) {
            Initial record;
            if (k < n - 1) {
                record.role = kRoleArgument;
            } else {
                record.color = static_cast<std::int32_t>(PaletteColor(0));
                record.role = kRoleValue;
            }
            parameters.push_back(record);
            parameterNames.push_back(nameAt(k));
            parameterTexts.emplace_back();
        }
        argumentCount = n - 1;
        pendingSeries = Series{n, n - 1, 1, 0, 0, recordCount};
        series.push_back(pendingSeries);
    } else {
        const Series first = series[0];
        const Series shape{n, first.nArguments, first.nValues, static_cast<std::int32_t>(parameters.size()),
                           static_cast<std::int32_t>(existing), recordCount};
        long long c = std::count_if(parameters.begin(), parameters.end(),
                                    [](const Initial& x) { return x.role == kRoleValue; });
        for (int k = 0; k < n; ++k) {
            Initial record = parameters[static_cast<std::size_t>(k)];
            if (record.role == kRoleValue) {
                record.color = static_cast<std::int32_t>(PaletteColor(c));
                record.markSize = 4;
                record.markShape = static_cast<std::int32_t>(c % kMarkShapeCount);
                record.autoSize = 0;
                ++c;
            }
            parameters.push_back(record);
            parameterNames.push_back(nameAt(k));
            parameterTexts.emplace_back();
        }
        pendingSeries = shape;
        series.push_back(shape);
    }
    parametersPerSeries = n;
    seriesNames.push_back("Series #" + std::to_string(series.size()));

    NoteStructureChanged();
    dataModified = 1;
    RefreshSeriesList(1);
    ApplyPendingRename();
    MarkSceneForRebuild();
    selectedSeries = 0;
    selectedRow = 0;
    selectedParameter = -1;
    dataPageChanged = 1;
    RequestRepaint();
    return 1;
}

void DataStore::DropUndoCopy() {
    if (!undoAvailable_) return;
    undoValues = {};
    undoSeries = {};
    undoParameters = {};
    undoSeriesNames = {};
    undoParameterNames = {};
    undoParameterTexts = {};
    undoAvailable_ = false;
}

void DataStore::SaveUndoCopy() {
    undoValues = allValues;
    undoSeries = series;
    undoParameters = parameters;
    undoSeriesNames = seriesNames;
    undoParameterNames = parameterNames;
    undoParameterTexts = parameterTexts;
    undoParametersPerSeries = parametersPerSeries;
    undoActiveParameter = activeParameter;
    undoArgumentCount = argumentCount;
    undoAvailable_ = true;
    undoStepOpen_ = true;
}

void DataStore::CloseUndoStep() { undoStepOpen_ = false; }

int DataStore::RestoreUndoCopy() {
    if (!undoAvailable_) return 0;
    allValues = undoValues;
    series = undoSeries;
    parameters = undoParameters;
    seriesNames = undoSeriesNames;
    parameterNames = undoParameterNames;
    parameterTexts = undoParameterTexts;
    parametersPerSeries = undoParametersPerSeries;
    activeParameter = undoActiveParameter;
    argumentCount = undoArgumentCount;
    // A selection that the earlier state does not have is dropped.
    if (selectedParameter >= static_cast<int>(parameters.size())) selectedParameter = -1;
    if (selectedSeries >= static_cast<int>(series.size())) {
        selectedSeries = -1;
        selectedRow = -1;
    }
    const long long rows = series.empty() ? 0 : static_cast<long long>(series.size()) * (series[0].nParameters + 1);
    if (selectedRow >= rows) selectedRow = -1;
    ++changeCount_;
    undoStepOpen_ = false;
    dataModified = 1;
    return 1;
}
