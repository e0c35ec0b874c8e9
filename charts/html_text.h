#pragma once
// Result texts as HTML: the symbols of the result pane turned into markup, exponents raised,
// colours as six hexadecimal digits. The reports escape every text before the markup goes in.
#include <string>

#include "platform/color.h"

// Every &, <, >, " and ' as its character reference, so a text from a data file stays text.
std::string EscapeHtml(const std::string& text);

// Rewrites one (already escaped) result text into HTML: symbol words first (only where they
// stand as whole words, so that names keep their letters), then every "^" with the run of
// number characters after it as a superscript.
void ResultTextToHtml(std::string& text);

// "rrggbb" in lowercase, no "#".
std::string ColorToHtml(platform::ColorRef color);
