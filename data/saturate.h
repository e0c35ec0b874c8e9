#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

// Truncates a data value toward zero into a 32-bit index or count. Values beyond
// the int range give its nearest end and NaN gives 0, so a wild value read from
// data never turns into undefined behaviour.
inline std::int32_t SaturatingInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}
