#pragma once
// Text measured the classic way: a text's width is the sum of its characters' advance
// widths, with no kerning and no shaping. Each font gets a table of the advances of the
// 128 ASCII characters (all 256 bytes for the symbol face, whose text is 8-bit), each
// measured when first met and kept in a small per-thread cache, so measuring costs an addition per character; the
// characters of UTF-8 sequences are measured once each as they come.
#include <cstddef>
#include <string>
#include <unordered_map>

#include <QFont>
#include <QString>

#include "platform/font.h"

namespace platform {

struct TextMetrics {
    Font font;
    QFont qfont;           // the font as ToQFont makes it
    // Pixels, per byte as FontText maps it in this font; -1 until the byte is first measured
    // (start-up measures a few characters of many fonts).
    mutable int advance[256];
    bool bytewise = false;  // the symbol face: every byte is one character
    mutable std::unordered_map<char32_t, int> wide;  // pixels, per character beyond ASCII
    int ascent = 0;
    int descent = 0;
    int height = 0;

    // Sum of the advances; saturates rather than overflow on absurd lengths.
    int Width(const std::string& text) const;
    // The advance of one byte (below 128, or any byte of the symbol face).
    int Advance(unsigned char b) const;
};

// The metrics of a font record. The reference stays valid until the next call on this
// thread (the cache is bounded and may drop entries).
const TextMetrics& MetricsFor(const Font& font);
// Fonts this thread keeps tables for. The application's thread lets go of them when the
// application ends: Qt's fonts must not outlive it.
std::size_t CachedFontCount();

// The text as the canvas draws it: FontText with every tab shown as one space, since a
// tab's width would otherwise depend on where the text starts (tab stops).
QString DrawnText(const Font& font, const std::string& text);

}  // namespace platform
