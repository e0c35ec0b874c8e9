#include "charts/text_label_list.h"

// Their constructors only make fonts, so these may be built in any order.
textLabelList sceneTextLabels;
textLabelList peakTextLabels;

namespace {

platform::Font FontOf(const char* face, int height, int weight) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.faceName = face;
    return f;
}

}  // namespace

textLabelList::textLabelList() {
    // Made in this order: kind 0, kind 2, kind 1.
    fonts[0] = FontOf("Times", 20, 500);
    fonts[2] = FontOf("Symbol", 20, 600);
    fonts[1] = FontOf("Times", 16, 600);
}

void textLabelList::Add(const std::string& text, int offsetKind, int fontKind) {
    texts.push_back(text);
    offsetKinds.push_back(offsetKind);
    fontKinds.push_back(fontKind);
}
