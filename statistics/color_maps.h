#pragma once
// The colour maps of the result tables: shares, significances and correlation coefficients
// coloured from red (means little) to green (close to 1). Colours are 0x00BBGGRR words, the
// layout the drawing layer takes.
#include <cstdint>

using ColorWord = std::uint32_t;

// Pure red below 0.5 (and for NaN), darker reds to black at 0.9, darker to brightest green
// at 0.975, pure green above.
ColorWord ValueToColor(double v);
// ValueToColor of the size of a signed coefficient.
ColorWord AbsValueToColor(double v);
// The softer map of the correlation view: white at 0 deepening to green, pure green above
// 0.975 in size.
ColorWord ValueToGreenShade(double v);
// The colour of a percentage cell of the result tables, the map reversed: small percentages
// green, large ones red.
ColorWord ColorForPercent(double percent);
