#pragma once
// A line of label runs, each a text with a vertical offset kind (0 on the line, 1 five
// pixels lower, 2 five pixels higher) and a font kind (0 "Times" 20/500, 1 "Times" 16/600,
// 2 "Symbol" 20/600, whose a, b and D show as alpha, beta and Delta). The three-dimensional
// view page and the peak page each paint their labels from one.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/font.h"

class textLabelList {
public:
    textLabelList();

    std::vector<std::string> texts;
    std::vector<std::int32_t> offsetKinds;
    std::vector<std::int32_t> fontKinds;
    std::array<platform::Font, 3> fonts;  // by font kind
    int lineHeight = 0;                   // height of "Test" in font kind 0, set by Measure

    void Add(const std::string& text, int offsetKind, int fontKind);
    void Clear();
    // Sets the line height and returns the width of all runs, each in its own font.
    int Measure(platform::Canvas& dc);
    // Draws the runs left to right from (x, y), each in its font, moved by its offset kind.
    void Paint(platform::Canvas& dc, int x, int y);
    // Paints the line in `color` so that it ends 3 pixels left of the control and is
    // centred on it vertically. Both rectangles are in the same coordinates; the line is
    // placed relative to the page's top-left corner.
    void DrawBeside(platform::Canvas& dc, const platform::Rect& page, const platform::Rect& control,
                    platform::ColorRef color);

    // Pixels a run is moved down by its offset kind.
    static int OffsetOf(int offsetKind);

private:
    const platform::Font& FontOf(int kind) const;
};

// The program's two lists: the three-dimensional view page's and the peak page's.
extern textLabelList sceneTextLabels;
extern textLabelList peakTextLabels;
