#include "charts/text_label_list.h"

#include <cmath>

// Their constructors only make fonts, so these may be built in any order.
textLabelList sceneTextLabels;
textLabelList peakTextLabels;

namespace {

platform::Font MakeFont(const char* face, int height, int weight) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.faceName = face;
    return f;
}

}  // namespace

textLabelList::textLabelList() {
    // Made in this order: kind 0, kind 2, kind 1.
    fonts[0] = MakeFont("Times", 20, 500);
    fonts[2] = MakeFont("Symbol", 20, 600);
    fonts[1] = MakeFont("Times", 16, 600);
}

void textLabelList::Add(const std::string& text, int offsetKind, int fontKind) {
    texts.push_back(text);
    offsetKinds.push_back(offsetKind);
    fontKinds.push_back(fontKind);
}

void textLabelList::Clear() {
    texts.clear();
    offsetKinds.clear();
    fontKinds.clear();
}

const platform::Font& textLabelList::FontOf(int kind) const {
    // An unknown kind draws in the line's own font rather than reading past the table.
    return kind >= 0 && kind < static_cast<int>(fonts.size()) ? fonts[static_cast<std::size_t>(kind)] : fonts[0];
}

int textLabelList::OffsetOf(int offsetKind) {
    if (offsetKind == 1) return 5;
    if (offsetKind == 2) return -5;
    return 0;
}

int textLabelList::Measure(platform::Canvas& dc) {
    const platform::Font old = dc.SelectFont(fonts[0]);
    lineHeight = dc.GetTextExtent("Test").cy;
    int width = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        dc.SelectFont(FontOf(fontKinds[i]));
        width += dc.GetTextExtent(texts[i]).cx;
    }
    dc.SelectFont(old);
    return width;
}

void textLabelList::Paint(platform::Canvas& dc, int x, int y) {
    const platform::Font old = dc.SelectFont(fonts[0]);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        dc.SelectFont(FontOf(fontKinds[i]));
        dc.TextOut(x, y + OffsetOf(offsetKinds[i]), texts[i]);
        x += dc.GetTextExtent(texts[i]).cx;
    }
    dc.SelectFont(old);
}

void textLabelList::DrawBeside(platform::Canvas& dc, const platform::Rect& page, const platform::Rect& control,
                               platform::ColorRef color) {
    dc.SetTextColor(color);
    const int width = Measure(dc);
    const int x = control.left - page.left - width - 3;
    const int y = control.top - page.top + static_cast<int>(std::trunc((control.Height() - lineHeight) * 0.5));
    Paint(dc, x, y);
}
