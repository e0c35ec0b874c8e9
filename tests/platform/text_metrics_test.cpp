// Text is measured as the sum of per-character advances; what the canvas draws must be
// exactly that wide, so layouts the painters make from the measures line up.
#include <gtest/gtest.h>

#include <algorithm>

#include <QFontMetrics>

#include "platform/canvas.h"
#include "platform/text_metrics.h"

using namespace platform;

namespace {

Font Face(const char* face, int height, int weight = kWeightNormal, bool italic = false) {
    return Font::Make(face, height, weight, italic);
}

std::vector<Font> Fonts() {
    std::vector<Font> fonts = {Face("Arial", 8),          Face("Arial", 24, kWeightBold),
                               Face("Times New Roman", 17), Face("Times", 11, kWeightNormal, true),
                               Face("Courier New", 11),   Face("Symbol", 15), Face("Tahoma", 40),
                               Face("DejaVu Sans", 17, kWeightBold)};  // a face with ligatures
    Font cell = Face("Arial", 0);
    cell.height = 20;  // cell height
    fonts.push_back(cell);
    Font narrow = Face("Times", 20);
    narrow.width = 7;  // stretched face
    fonts.push_back(narrow);
    Font plain = Face("Arial", 16);
    plain.quality = 3;  // not antialiased
    fonts.push_back(plain);
    return fonts;
}

const std::vector<std::string> kTexts = {
    "Hello, World",  "office fifty waffle AV To Wa Yo",   "-1.23456789e+06",
    "Coefficient   Std.Err.  t-value", "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA9\xC3\x9F\xC3\xA6 \xC2\xB1\xC2\xB5\xC2\xB0",
    "abc\tdef", "iiiii mmmmm WWW |||", "ab\xC2\xAD" "cd",
    "M\xC3\xBCller \xE2\x80\x94 \xE6\x95\xB0\xE6\x8D\xAE",  // "Müller — 数据": UTF-8 is measured by character
};

// The symbol face's text is 8-bit codes, not UTF-8: texts beyond ASCII are not for it.
bool Suits(const Font& f, const std::string& t) {
    return !IsSymbolFace(f) || std::all_of(t.begin(), t.end(), [](char ch) { return (ch & 0x80) == 0; });
}

// Where a text may be cut: between characters (UTF-8 sequences; single bytes in the symbol face).
bool CharacterStart(const Font& f, const std::string& t, std::size_t i) {
    return IsSymbolFace(f) || i >= t.size() || (static_cast<unsigned char>(t[i]) & 0xC0) != 0x80;
}

std::string Describe(const Font& f) {
    return f.faceName + " " + std::to_string(f.height) + " w" + std::to_string(f.weight) + " q" +
           std::to_string(f.quality) + " x" + std::to_string(f.width);
}

}  // namespace

TEST(TextMetrics, ExtentIsTheSumOfAdvancesAndDrawnTextIsAsWideAsMeasured) {
    Bitmap one(700, 80), split(700, 80);
    for (const Font& f : Fonts()) {
        const QFontMetrics fm(ToQFont(f));
        for (const std::string& t : kTexts) {
            if (!Suits(f, t)) continue;
            SCOPED_TRACE(Describe(f) + " '" + t + "'");
            for (Bitmap* bmp : {&one, &split}) bmp->Fill(kWhite);
            Canvas c1(one), c2(split);
            for (Canvas* c : {&c1, &c2}) {
                c->SelectFont(f);
                c->SetBkMode(BkMode::Transparent);
            }
            int sum = 0;
            for (std::size_t i = 0, j = 1; i < t.size(); i = j++) {
                while (!CharacterStart(f, t, j)) ++j;
                sum += c1.GetTextExtent(t.substr(i, j - i)).cx;
            }
            const int w = c1.GetTextExtent(t).cx;
            EXPECT_EQ(w, sum);
            // Qt's own layout of the whole text (the one drawing uses) agrees.
            EXPECT_EQ(fm.horizontalAdvance(DrawnText(f, t)), w);
            EXPECT_EQ(c1.GetTextExtent(t).cy, fm.height());

            // Drawn whole and in two halves (the second where the first's extent ends): the same
            // pixels, as the painters place text by measuring it.
            std::size_t half = t.size() / 2;
            while (!CharacterStart(f, t, half)) ++half;
            c1.TextOut(20, 10, t);
            c2.TextOut(20, 10, t.substr(0, half));
            c2.TextOut(20 + c2.GetTextExtent(t.substr(0, half)).cx, 10, t.substr(half));
            EXPECT_TRUE(one.Image() == split.Image());
        }
    }
    Canvas c(one);
    c.SelectFont(Face("Arial", 13));
    EXPECT_EQ(c.GetTextExtent("a\tb").cx, c.GetTextExtent("a b").cx);  // a tab shows as a space
    EXPECT_EQ(c.GetTextExtent("").cx, 0);
}

TEST(TextMetrics, CacheStaysCorrectPastItsBound) {
    const Font probe = Face("Arial", 13);
    const TextMetrics& first = MetricsFor(probe);
    const int w = first.Width("Measure me"), h = first.height;
    EXPECT_EQ(MetricsFor(probe).qfont, ToQFont(probe));
    for (int size = 5; size < 200; ++size) MetricsFor(Face("Times", size));  // more fonts than it keeps
    EXPECT_EQ(MetricsFor(probe).Width("Measure me"), w);
    EXPECT_EQ(MetricsFor(probe).height, h);
    EXPECT_GT(MetricsFor(Face("Times", 100)).Width("x"), MetricsFor(Face("Times", 10)).Width("x"));
}
