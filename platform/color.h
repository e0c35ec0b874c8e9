#pragma once
// Colour values as the drawing code keeps them: one 32-bit word laid out 0x00BBGGRR
// (red in the low byte), so stored colours and colour arithmetic keep their meaning.
#include <cstdint>

class QColor;

namespace platform {

using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>(r & 0xFF) | (static_cast<ColorRef>(g & 0xFF) << 8) |
           (static_cast<ColorRef>(b & 0xFF) << 16);
}
constexpr int RedOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kWhite = Rgb(255, 255, 255);

// Conversions to and from Qt's colour (alpha is dropped / set opaque).
QColor ToQColor(ColorRef c);
ColorRef FromQColor(const QColor& c);
// The same for a raw 0xAARRGGBB pixel of an RGB32 image.
constexpr ColorRef FromQRgb(std::uint32_t argb) {
    return Rgb(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
               static_cast<int>(argb & 0xFF));
}
constexpr std::uint32_t ToQRgb(ColorRef c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

}  // namespace platform
