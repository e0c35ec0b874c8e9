#include "platform/font.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QString>

#include "platform/dialog_widgets.h"
#include "platform/qt_text.h"

namespace platform {

namespace {

constexpr unsigned char kSymbolCharSet = 2;
constexpr unsigned char kNonAntialiasedQuality = 3;
constexpr int kDefaultPixelHeight = 13;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
}

// Symbol-face codes 0x20..0xFF as Unicode; 0 keeps the byte's Latin-1 meaning.
constexpr char16_t kSymbolLow[95] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7,
    0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3,
    0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C,
};
constexpr char16_t kSymbolHigh[96] = {  // 0xA0..0xFF
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194,
    0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118,
    0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
    0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA, 0,      0x232A, 0x222B, 0x2320,
    0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,
};

}  // namespace

Font Font::Make(const std::string& face, int pixelHeight, int weight, bool italic, int escapement) {
    Font f;
    f.height = -std::abs(pixelHeight);
    f.weight = weight;
    f.italic = italic ? 1 : 0;
    f.escapement = escapement;
    f.orientation = escapement;
    f.faceName = face;
    return f;
}

std::string MapFaceName(const std::string& face, unsigned char pitchAndFamily) {
    const std::string f = Lower(face);
    if (f == "symbol") return "DejaVu Sans";  // has the Greek the symbol face shows
    if (f == "times" || f == "times new roman" || f == "times roman" || f == "tms rmn" || f == "roman" ||
        f == "serif" || f == "ms serif" || f == "georgia")
        return "Liberation Serif";
    if (f == "courier" || f == "courier new" || f == "fixedsys" || f == "terminal" || f == "monospace" ||
        f == "lucida console" || f == "consolas")
        return "Liberation Mono";
    if (f == "arial" || f == "ariel" || f == "helvetica" || f == "ms sans serif" || f == "ms shell dlg" ||
        f == "ms shell dlg 2" || f == "system" || f == "tahoma" || f == "verdana" || f == "sans serif" ||
        f == "sans-serif" || f == "sans" || f == "microsoft sans serif" || f == "segoe ui" ||
        f == "arial narrow" || f == "small fonts")
        return "Liberation Sans";
    if (f.empty()) {
        // No face: the family bits (high nibble) choose; low two bits 1 = fixed pitch.
        const int family = pitchAndFamily & 0xF0;
        if ((pitchAndFamily & 3) == 1 || family == 0x30) return "Liberation Mono";
        if (family == 0x10) return "Liberation Serif";
        return "Liberation Sans";
    }
    return face;  // an installed family of that name, else Qt's own substitute
}

bool IsSymbolFace(const Font& f) {
    return Lower(f.faceName) == "symbol" || (f.charSet == kSymbolCharSet && f.faceName.empty());
}

QString FontText(const Font& f, const std::string& text) {
    if (!IsSymbolFace(f))
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t u = 0;
        if (b >= 0x20 && b <= 0x7E) u = kSymbolLow[b - 0x20];
        else if (b >= 0xA0) u = kSymbolHigh[b - 0xA0];
        out.append(QChar(u != 0 ? u : static_cast<char16_t>(b)));
    }
    return out;
}

QFont ToQFont(const Font& f) {
    QFont q(QString::fromStdString(MapFaceName(f.faceName, f.pitchAndFamily)));
    // No shaping: with kerning off too, a text is exactly as wide as its characters'
    // advances added up, which is how the program measures text.
    q.setStyleStrategy(QFont::StyleStrategy((f.quality == kNonAntialiasedQuality ? QFont::NoAntialias : QFont::PreferDefault) |
                                            QFont::PreferNoShaping));
    q.setHintingPreference(QFont::PreferFullHinting);
    q.setKerning(false);
    const int weight = f.weight <= 0 ? kWeightNormal : std::clamp(f.weight, 1, 1000);
    q.setWeight(static_cast<QFont::Weight>(weight));
    q.setItalic(f.italic != 0);
    q.setUnderline(f.underline != 0);
    q.setStrikeOut(f.strikeOut != 0);

    // Negative height: the character (em) height. Positive: the cell height, which
    // includes the internal leading, so the em is scaled down by the face's proportion.
    constexpr int kMaxPixels = 2000;
    int pixels = kDefaultPixelHeight;
    if (f.height < 0) {
        pixels = f.height < -kMaxPixels ? kMaxPixels : -f.height;
    } else if (f.height > 0) {
        const int cell = std::min(f.height, kMaxPixels);
        q.setPixelSize(100);
        const double ratio = QFontMetricsF(q).height() / 100.0;
        pixels = ratio > 0 ? static_cast<int>(std::lround(cell / ratio)) : cell;
    }
    q.setPixelSize(std::max(1, pixels));

    if (f.width > 0) {
        const double natural = QFontMetricsF(q).averageCharWidth();
        if (natural > 0) {
            const int stretch = static_cast<int>(std::lround(100.0 * std::min(f.width, kMaxPixels) / natural));
            q.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return q;
}

Font OwnerDrawFont() {
    const QFont dialog = DialogFont();
    return Font::Make(FromQString(QFontInfo(dialog).family()), dialog.pixelSize());
}

}  // namespace platform
