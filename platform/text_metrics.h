#pragma once
// Text measured the classic 8-bit way: a text's width is the sum of its characters'
// advance widths, with no kerning and no shaping. Each font gets a table of the advances
// of all 256 byte values, built once and kept in a small per-thread cache, so measuring
// costs an addition per character.
#include <string>

#include <QFont>
#include <QString>

#include "platform/font.h"

namespace platform {

struct TextMetrics {
    QFont qfont;           // the font as ToQFont makes it
    int advance[256] = {};  // pixels, per byte as FontText maps it in this font
    int ascent = 0;
    int descent = 0;
    int height = 0;

    // Sum of the advances; saturates rather than overflow on absurd lengths.
    int Width(const std::string& text) const;
};

// The metrics of a font record. The reference stays valid until the next call on this
// thread (the cache is bounded and may drop entries).
const TextMetrics& MetricsFor(const Font& font);

// The text as the canvas draws it: FontText with every tab shown as one space, since a
// tab's width would otherwise depend on where the text starts (tab stops).
QString DrawnText(const Font& font, const std::string& text);

}  // namespace platform
