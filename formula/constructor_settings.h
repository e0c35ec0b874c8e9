#pragma once
// Saved fields of the transform constructor page: the chosen transforms, the y transform,
// the six cosine periods and the deviation lines. Plain data, so the document code reads
// and writes it without the page.
#include <array>

struct constructor_settings {
    static constexpr int kCodeSlots = 50;
    static constexpr int kPeriodCount = 6;
    std::array<int, kCodeSlots> selectedCodes{};  // transform codes in the order chosen
    int selectedCodeCount = 0;                    // at most 35 in use
    int yTransform = 0;
    std::array<double, kPeriodCount> periodValues{1, 2, 3, 4, 5, 6};  // periods of the cosine transforms
    int showDeviationLines = 0;

    bool operator==(const constructor_settings&) const = default;
};
