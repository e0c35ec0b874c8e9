#pragma once
// Saved fields of the Chart page. Plain data, so the document code reads and writes it
// without the page.
#include <cstdint>

struct chart_settings {
    std::uint32_t borderAreaColor = 0xFFEBD7;  // area around the plot
    std::uint32_t chartAreaColor = 0xFFFFFF;   // plot area, fill of data marks
    std::uint32_t sceneLineColor = 0;          // lines of the 3-D painters; no control
    std::uint32_t borderLineColor = 0;         // border lines and tick marks
    int borderWidth = 2;                       // border line width in use, 0..10
    int savedOption = 0;                       // follows borderWidth, kept in the document only
    int gridWidth = 1;                         // grid line width in use, 0..10
    int fittingLineWidth = 2;                  // "Fitting lines:" width of fitted curves

    bool operator==(const chart_settings&) const = default;
};
