#include <string>

#include "data/data_store.h"

namespace {

std::string At(const char* what, std::size_t s) { return std::string(what) + " (series " + std::to_string(s) + ")"; }

}  // namespace

std::string CheckStoreInvariants(const DataStore& store) {
    const std::size_t parameterCount = store.parameters.size();
    if (store.parameterNames.size() != parameterCount) return "parameterNames and parameters differ in size";
    if (store.parameterTexts.size() != parameterCount) return "parameterTexts and parameters differ in size";
    if (store.seriesNames.size() != store.series.size()) return "seriesNames and series differ in size";
    if (store.markColorCount <= 0 || static_cast<std::size_t>(store.markColorCount) > store.markColors.size()) {
        return "markColorCount does not fit markColors";
    }

    if (store.series.empty()) {
        if (!store.allValues.empty()) return "values without a series";
        if (parameterCount != 0) return "parameters without a series";
        if (store.selectedSeries != -1 || store.selectedParameter != -1) return "selection in an empty store";
        return "";
    }

    const Series& first = store.series[0];
    const int n = first.nParameters;
    if (n < 1) return "series 0 has no parameter";
    if (store.parametersPerSeries != n) return "parametersPerSeries differs from series 0";
    if (parameterCount != store.series.size() * static_cast<std::size_t>(n)) return "parameter count is not series x parameters";

    std::int32_t arguments = 0;
    std::int32_t values = 0;
    for (int k = 0; k < n; ++k) {
        const std::int32_t role = store.parameters[static_cast<std::size_t>(k)].role;
        if (role != kRoleArgument && role != kRoleInactive && role != kRoleValue) return "unknown role in column " + std::to_string(k);
        if (role == kRoleArgument) ++arguments;
        if (role == kRoleValue) ++values;
    }

    long long position = 0;
    for (std::size_t s = 0; s < store.series.size(); ++s) {
        const Series& x = store.series[s];
        if (x.nParameters != n) return At("nParameters differs from series 0", s);
        if (x.nRecords < 0) return At("negative record count", s);
        if (x.firstValue != position) return At("values not contiguous", s);
        if (x.firstParameter != static_cast<long long>(s) * n) return At("parameter block not contiguous", s);
        if (x.nArguments != arguments || x.nValues != values) return At("argument or value count does not match the roles", s);
        for (int k = 0; k < n; ++k) {
            const std::size_t i = static_cast<std::size_t>(x.firstParameter + k);
            if (store.parameters[i].role != store.parameters[static_cast<std::size_t>(k)].role) {
                return At(("role differs from series 0 in column " + std::to_string(k)).c_str(), s);
            }
        }
        position += static_cast<long long>(n) * x.nRecords;
    }
    if (position != static_cast<long long>(store.allValues.size())) return "allValues size is not the sum of the series' values";

    if (store.activeParameter < 0 || store.activeParameter >= n) return "activeParameter outside the columns";
    if (store.selectedParameter < -1 || store.selectedParameter >= static_cast<long long>(parameterCount)) {
        return "selectedParameter outside the parameters";
    }
    if (store.selectedSeries < -1 || store.selectedSeries >= static_cast<long long>(store.series.size())) {
        return "selectedSeries outside the series";
    }
    return "";
}
