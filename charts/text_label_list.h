#pragma once
// A line of label runs, each a text with a vertical offset kind (0 on the line, 1 lower,
// 2 higher) and a font kind (0 "Times" 20/500, 1 "Times" 16/600, 2 "Symbol" 20/600). The
// three-dimensional view page and the peak page each paint their labels from one.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/font.h"

class textLabelList {
public:
    textLabelList();

    std::vector<std::string> texts;
    std::vector<std::int32_t> offsetKinds;
    std::vector<std::int32_t> fontKinds;
    std::array<platform::Font, 3> fonts;  // by font kind

    void Add(const std::string& text, int offsetKind, int fontKind);
};

// The program's two lists: the three-dimensional view page's and the peak page's.
extern textLabelList sceneTextLabels;
extern textLabelList peakTextLabels;
