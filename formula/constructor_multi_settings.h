#pragma once
// Saved field of the multi-term constructor page: the terms of the current polynomial.
// Plain data, so the document code reads and writes it without the page.
#include <vector>

struct constructor_multi_settings {
    std::vector<unsigned> currentPolyTerms;  // factorsPerTerm library indices per term

    bool operator==(const constructor_multi_settings&) const = default;
};
