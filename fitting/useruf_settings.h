#pragma once
// Saved fields of the user-formula page: the formula, its coefficient table and "+ const".
// Plain data, so the document code reads and writes it without the page.
#include <string>
#include <vector>

struct useruf_settings {
    std::string formula = "a*x+b";               // edit 1158, right-hand side
    std::vector<std::string> names{"a", "b"};    // coefficient names, one per row of list 1159
    std::vector<double> values{1.0, 2.0};        // parallel to names
    std::vector<double> steps{0.1, 0.2};
    std::vector<double> minima{-1e40, -1e40};
    std::vector<double> maxima{1e40, 1e40};
    int selectedRow = 0;                         // the row shown in the edit boxes
    int plusConst = 0;                           // check 1467 "+ const"

    bool operator==(const useruf_settings&) const = default;
};
