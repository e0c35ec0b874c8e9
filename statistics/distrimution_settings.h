#pragma once
// Saved fields of the distribution options page of one variable: bins, display modes and
// the record filter conditions. Plain data, so the document code reads and writes it
// without the page.
#include <vector>

#include "statistics/conditions.h"

struct distrimution_settings {
    std::vector<struct conditions> conditions;  // the condition list
    int binCount = 10;          // edit 1113
    double binOrigin = 0.0;     // left edge of the first bin
    double binWidth = 1.0;      // width of a bin
    int showPoisson = 0;        // check 1112 "Poisson"
    int showStudent = 0;        // check 1111 "Student"
    int showErlang = 0;         // check 1116 "Erlang"
    int autoIntervals = 1;      // check 1115 "auto intervals"
    int partOfWhole = 0;        // check 1245 "part of whole"
    int percentage = 0;         // check 1244 "percentage"
    double conditionMin = 0.0;  // edit 1247 "Min:"
    double conditionMax = 0.0;  // edit 1248 "Max:"
    int cumulative = 0;         // check 1252 "cummulative"
    int maxConcentration = 0;   // check 1485 "max concentration"
    double percentOfData = 10.0;  // edit 1486 "% of data"
    int showMedian = 0;         // check 1488 "median"
    int minAbsDeviation = 0;    // check 1527 "Min Abs Deviation"

    bool operator==(const distrimution_settings&) const = default;
};
