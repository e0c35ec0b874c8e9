#include "charts/chart_text.h"

#include <cstdarg>

#include "platform/format.h"
#include "platform/utf8_cut.h"

namespace {

std::string Cut(const std::string& text) {
    return platform::CutUtf8(text, kChartTextMaxLength);
}

std::string FormatCut(const char* format, va_list args) {
    // Only the output is cut: cutting the format could split a conversion in two.
    return Cut(platform::FormatV(format ? format : "", args));
}

}  // namespace

void DrawTextWithFont(platform::Canvas& dc, const platform::Font& font, int x, int y,
                      const std::string& text) {
    dc.SelectFont(font);
    dc.TextOut(x, y, Cut(text));
}

void DrawTextClipped(platform::Canvas& dc, int x, int y, const std::string& text) {
    dc.TextOut(x, y, Cut(text));
}

void DrawTextClipped(platform::Canvas& dc, int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatCut(format, args);
    va_end(args);
    dc.TextOut(x, y, text);
}

void DrawTextFormat(platform::Canvas& dc, const platform::Font& font, int x, int y, const char* format,
                    ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatCut(format, args);
    va_end(args);
    dc.SelectFont(font);
    dc.TextOut(x, y, text);
}

int TextExtentWithFont(platform::Canvas& dc, const platform::Font* font, const char* text, int& height) {
    return MeasureText(dc, font, text ? std::string(text) : std::string(), height);
}

int MeasureText(platform::Canvas& dc, const platform::Font* font, const std::string& text, int& height) {
    if (font) dc.SelectFont(*font);
    const platform::Size size = dc.GetTextExtent(text);
    height = size.cy;
    return size.cx;
}
