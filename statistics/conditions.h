#pragma once
// A record filter condition on one parameter, as the distribution page keeps its list.
#include <cstdint>

struct conditions {
    std::int32_t parameterIndex = 0;  // global parameter index
    std::int32_t operation = 0;       // 0 "and", 1 "or", 2 "and not", 3 "or not"
    double from = 0;
    double till = 0;

    bool operator==(const conditions&) const = default;
};
