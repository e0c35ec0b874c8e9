#pragma once
// Short texts on the chart and on the result pictures. Every text is cut to its first
// 299 characters, the length of the drawing buffer the painters were laid out for.
#include <string>

#include "platform/canvas.h"
#include "platform/font.h"

constexpr std::size_t kChartTextMaxLength = 299;

// Selects the font (it stays selected) and draws the text with its top-left corner at
// (x, y) in the canvas's text colour and background mode.
void DrawTextWithFont(platform::Canvas& dc, const platform::Font& font, int x, int y,
                      const std::string& text);
// The same in the font already selected.
void DrawTextClipped(platform::Canvas& dc, int x, int y, const std::string& text);
// printf-style forms; the output is cut to 299 characters.
// Pass a plain text (one that may hold '%') as a std::string, not as a format.
void DrawTextClipped(platform::Canvas& dc, int x, int y, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void DrawTextFormat(platform::Canvas& dc, const platform::Font& font, int x, int y, const char* format,
                    ...) __attribute__((format(printf, 5, 6)));

// Width of the text in pixels with the font selected first when one is given (it stays
// selected); the height goes to `height`.
int TextExtentWithFont(platform::Canvas& dc, const platform::Font* font, const char* text, int& height);
int MeasureText(platform::Canvas& dc, const platform::Font* font, const std::string& text, int& height);
