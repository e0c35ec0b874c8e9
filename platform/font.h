#pragma once
// A font as the program describes it: the fourteen fields of the classic logical-font
// record, kept raw so stored settings and font dialogs round-trip unchanged. ToQFont
// maps the record onto the faces installed here.
#include <string>

class QFont;
class QString;

namespace platform {

enum FontWeight : int {
    kWeightNormal = 400,
    kWeightMedium = 500,
    kWeightSemiBold = 600,
    kWeightBold = 700,
};

struct Font {
    int height = 0;          // < 0: character height in pixels; > 0: cell height; 0: default size
    int width = 0;           // average character width; 0 keeps the face's proportions
    int escapement = 0;      // text direction, tenths of a degree counter-clockwise
    int orientation = 0;     // glyph angle, tenths of a degree (the direction follows escapement)
    int weight = kWeightNormal;
    unsigned char italic = 0;
    unsigned char underline = 0;
    unsigned char strikeOut = 0;
    unsigned char charSet = 0;
    unsigned char outPrecision = 0;
    unsigned char clipPrecision = 0;
    unsigned char quality = 0;
    unsigned char pitchAndFamily = 0;
    std::string faceName;    // at most 31 characters in stored records

    Font() = default;
    // The common case: a face at a character height (pixels), optionally bold/italic/rotated.
    static Font Make(const std::string& face, int pixelHeight, int weight = kWeightNormal,
                     bool italic = false, int escapement = 0);
    bool operator==(const Font&) const = default;
};

// What owner-drawn controls paint their captions in unless the page picks another font: the
// dialog font's face and size (for laying out a control around its caption).
Font OwnerDrawFont();
// Installed family that stands in for a face name ("Arial" -> "Liberation Sans", ...).
std::string MapFaceName(const std::string& face, unsigned char pitchAndFamily = 0);
// The Qt font for a record; the escapement is not part of it (the canvas rotates).
QFont ToQFont(const Font& f);
// True for the classic symbol face, whose letters are Greek ("a" shows as alpha).
bool IsSymbolFace(const Font& f);
// The program's text as Qt text in that font: UTF-8, or for the symbol face its 8-bit
// codes as the face's Greek and mathematical characters.
QString FontText(const Font& f, const std::string& text);

}  // namespace platform
