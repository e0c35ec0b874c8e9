#pragma once
// A brush as a plain value: a solid colour, or hollow (fills nothing).
#include "platform/color.h"

namespace platform {

struct Brush {
    bool hollow = false;
    ColorRef color = kWhite;

    Brush() = default;
    explicit Brush(ColorRef c) : hollow(false), color(c) {}
    static Brush Solid(ColorRef c) { return Brush(c); }
    static Brush Null() {
        Brush b;
        b.hollow = true;
        return b;
    }
    bool operator==(const Brush&) const = default;
};

}  // namespace platform
