#pragma once
#include <cstdint>

// One data series: a table of nRecords records of nParameters values each, stored
// record after record in the store's value array from firstValue on; its parameters
// are entries firstParameter .. firstParameter + nParameters - 1 of the parameter arrays.
struct Series {
    std::int32_t nParameters = 0;
    std::int32_t nArguments = 0;   // parameters whose role is argument
    std::int32_t nValues = 0;      // parameters whose role is value
    std::int32_t firstParameter = 0;
    std::int32_t firstValue = 0;
    std::int32_t nRecords = 0;
};

// Display and role record of one parameter of one series.
struct Initial {
    std::int32_t color = 0;      // COLORREF 0x00BBGGRR of the parameter's marks and lines
    std::int32_t markSize = 4;   // 0 to 10; 11 together with autoSize 1 means automatic
    std::int32_t markShape = 0;  // 0 to 13 mark shapes, 14 no mark, 15 a line through the points
    std::int32_t role = 0;       // 1 value, -1 argument, 0 inactive
    std::int32_t autoSize = 0;   // 1 when the mark size is automatic
};

// Parameter roles.
inline constexpr std::int32_t kRoleArgument = -1;
inline constexpr std::int32_t kRoleInactive = 0;
inline constexpr std::int32_t kRoleValue = 1;

// Mark shapes beyond the drawn ones.
inline constexpr std::int32_t kMarkShapeCount = 14;  // shapes 0 to 13 draw a mark
inline constexpr std::int32_t kMarkShapeLine = 15;
