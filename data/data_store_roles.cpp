#include "data/data_store.h"

void DataStore::RecountRoles() {
    if (series.empty()) return;
    const int n = series[0].nParameters;
    std::int32_t arguments = 0;
    std::int32_t values = 0;
    for (int k = 0; k < n && k < static_cast<int>(parameters.size()); ++k) {
        const std::int32_t role = parameters[static_cast<std::size_t>(k)].role;
        if (role == kRoleArgument) ++arguments;
        if (role == kRoleValue) ++values;
    }
    // Later series read their counts as series 0's: keep them equal.
    for (Series& x : series) {
        x.nArguments = arguments;
        x.nValues = values;
    }
}

void DataStore::SetColumnRole(int column, std::int32_t role) {
    const std::size_t n = static_cast<std::size_t>(series[0].nParameters);
    for (std::size_t i = static_cast<std::size_t>(column); i < parameters.size(); i += n) parameters[i].role = role;
    RecountRoles();
    NoteStructureChanged();
    dataModified = 1;
    RefreshSeriesList(1);
    RequestRepaint();
}

void DataStore::MakeActiveParameterArgument() {
    if (series.empty() || activeParameter < 0 || activeParameter >= series[0].nParameters) return;
    SetColumnRole(activeParameter, kRoleArgument);
}

void DataStore::MakeActiveParameterInactive() {
    if (series.empty() || activeParameter < 0 || activeParameter >= series[0].nParameters) return;
    SetColumnRole(activeParameter, kRoleInactive);
}

void DataStore::MakeActiveParameterValue() {
    if (series.empty() || activeParameter < 0 || activeParameter >= series[0].nParameters) return;
    const std::size_t n = static_cast<std::size_t>(series[0].nParameters);
    const std::size_t column = static_cast<std::size_t>(activeParameter);
    if (column >= parameters.size() || parameters[column].role == kRoleValue) return;

    // Shapes already taken by value parameters; new values take the lowest free one.
    bool used[kMarkShapeCount] = {};
    long long c = 0;
    for (const Initial& x : parameters) {
        if (x.role != kRoleValue) continue;
        ++c;
        if (x.markShape >= 0 && x.markShape < kMarkShapeCount) used[x.markShape] = true;
    }
    for (std::size_t i = column; i < parameters.size(); i += n) {
        Initial& x = parameters[i];
        x.role = kRoleValue;
        x.color = static_cast<std::int32_t>(PaletteColor(static_cast<long long>(i)));
        x.markSize = 4;
        x.autoSize = 0;
        std::int32_t shape = 0;
        while (shape < kMarkShapeCount && used[shape]) ++shape;
        if (shape < kMarkShapeCount) {
            used[shape] = true;
            x.markShape = shape;
        } else {
            x.markShape = static_cast<std::int32_t>(c % kMarkShapeCount);
        }
        ++c;
    }
    RecountRoles();
    NoteStructureChanged();
    dataModified = 1;
    RefreshSeriesList(1);
    RequestRepaint();
}

void DataStore::OnMakeAllInactive() {
    if (series.empty()) return;
    for (Initial& x : parameters) x.role = kRoleInactive;
    for (Series& x : series) {
        x.nArguments = 0;
        x.nValues = 0;
    }
    NoteStructureChanged();
    // The view page shows its controls by the data's shape, read again only for modified data.
    dataModified = 1;
    RefreshSeriesList(1);
    RequestRepaint();
}

void DataStore::ShowValuesAsLines() {
    for (Initial& x : parameters) {
        if (x.role != kRoleValue) continue;
        x.color = static_cast<std::int32_t>(PaletteColor(0));
        x.markShape = kMarkShapeLine;
    }
    NoteStructureChanged();
    RefreshSeriesList(1);
    dataModified = 1;
    RequestRepaint();
}
