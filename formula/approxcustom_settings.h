#pragma once
// Saved fields of the custom approximation page: the transform text F and the basis texts
// f0, f1, ... Plain data, so the document code reads and writes it without the page.
#include <string>
#include <vector>

struct approxcustom_settings {
    std::string transformText;           // F
    std::vector<std::string> basisTexts;  // f0, f1, ...
    int basisCount = 0;                   // basisTexts in use

    bool operator==(const approxcustom_settings&) const = default;
};
