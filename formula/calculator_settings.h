#pragma once
// Saved fields of the calculator page. Plain data, so the document code reads and writes
// it without the page.
#include <string>

struct calculator_settings {
    int sortOff = 1;                 // check 1208 "Sort results in"
    int sortAscending = 0;           // check 1209 "ascending"
    int sortDescending = 0;          // check 1210 "descending order"
    std::string argumentText = "0";  // edit 1201
    std::string inputFile;           // edit 1203 "From file:"
    std::string outputFile;          // edit 1205 "To file:"

    bool operator==(const calculator_settings&) const = default;
};
