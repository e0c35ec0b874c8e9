#pragma once
// Saved fields of the View page. Plain data, so the document code reads and writes it
// without the page.
#include <cstdint>

struct xyview_settings {
    double yMin = 0, yMax = 0;
    double xMin = 0, xMax = 0;
    double zMax = 0, zMin = 0;
    int autozoom = 1;                      // "Autozoom"
    int colorSteps = 10;                   // "Color steps:"
    int show3D = 0;                        // three-dimensional view flag (button 1105)
    int histogram = 0;                     // "histogram."
    int colorMapMode = 0;                  // second flag of the three-dimensional mode pair
    std::uint32_t lowColor = 0xFF0000;     // "Low"
    std::uint32_t highColor = 0x0000FF;    // "High"

    bool operator==(const xyview_settings&) const = default;
};
