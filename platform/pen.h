#pragma once
// A pen as a plain value: style, width in pixels, colour.
#include "platform/color.h"

namespace platform {

enum class PenStyle : int {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
    Null = 5,
};

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;  // 0 draws as 1
    ColorRef color = kBlack;

    Pen() = default;
    Pen(PenStyle s, int w, ColorRef c) : style(s), width(w), color(c) {}
    bool operator==(const Pen&) const = default;
};

}  // namespace platform
