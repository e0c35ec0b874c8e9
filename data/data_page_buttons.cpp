#include "data/data_page_buttons.h"

#include <algorithm>

#include "data/data_page.h"
#include "platform/text_metrics.h"
#include "widgets/owner_button.h"

namespace {

constexpr DataPageButtonLook kButtons[] = {
    {data::kDeleteButton, "Delete", DataPageButtonLook::kWithSeries, 0xCDD7FF, 0xCDD7E1, 0x1E149B},
    {data::kDeleteAllButton, "Delete all", DataPageButtonLook::kWithSeries, 0xC8C8FF, 0xCDD7E1, 0x0000AF},
    {data::kMakeAllInactiveButton, "Make all inactive", DataPageButtonLook::kWithSeries, 0xC8C8FF, 0xCDD7E1, 0x0000AF},
    {data::kModifyButton, "Modify", DataPageButtonLook::kWithSeries, 0xFFCDE1, 0xE1D7D7, 0x961437},
    {data::kAddButton, "Add", DataPageButtonLook::kAlways, 0xD7FFD2, 0xD7FFD2, 0x14460A},
    {data::kInsertButton, "Insert", DataPageButtonLook::kInsertRule, 0xD7FFE1, 0xD7FFE1, 0x144632},
    {data::kShowSheetButton, "Show data sheet", DataPageButtonLook::kWithSeries, 0xD2FFFF, 0xD2FFFF, 0x4080FF},
};

}  // namespace

const DataPageButtonLook* FindDataPageButton(int id) {
    for (const DataPageButtonLook& b : kButtons)
        if (b.id == id) return &b;
    return nullptr;
}

void ButtonCaption(platform::Canvas& dc, const platform::Rect& r, const std::string& text, platform::ColorRef color,
                   const platform::Font& font) {
    const platform::Font oldFont = dc.SelectFont(font);
    const platform::ColorRef oldColor = dc.TextColor();
    DrawButtonCaption(dc, r, text, color);
    dc.SetTextColor(oldColor);
    dc.SelectFont(oldFont);
}

namespace {

int CaptionRoom(const std::string& caption, const platform::Font& font) {
    // The face's edge takes a pixel on each side; one more keeps the letters off it.
    return platform::MetricsFor(font).Width(caption) + 4;
}

}  // namespace

void data::FitButtonCaptions() {
    // Buttons side by side in one row share the row: a caption that does not fit in the
    // "Times" face takes room from its neighbour when the neighbour's own caption leaves it.
    const int rows[][2] = {{kAddButton, kInsertButton}, {kModifyButton, kDeleteButton},
                           {kMakeAllInactiveButton, kDeleteAllButton}};
    for (const auto& row : rows) {
        platform::Control left = Control(row[0]), right = Control(row[1]);
        if (!left.IsValid() || !right.IsValid()) continue;
        const platform::Rect l = left.Bounds(), r = right.Bounds();
        const int gap = r.left - l.right;
        const int needLeft = CaptionRoom(FindDataPageButton(row[0])->caption, captionFont);
        const int needRight = CaptionRoom(FindDataPageButton(row[1])->caption, captionFont);
        const int width = r.right - l.left - gap;
        if (needLeft <= l.Width() && needRight <= r.Width()) continue;
        if (needLeft + needRight > width) continue;  // neither way fits: the captions stay cut
        const int leftWidth = needLeft > l.Width() ? needLeft : width - needRight;
        left.Move(l.left, l.top, leftWidth, l.Height());
        right.Move(l.left + leftWidth + gap, r.top, width - leftWidth, r.Height());
    }
}

bool data::OnDrawItem(platform::DrawItem& item) {
    const DataPageButtonLook* look = FindDataPageButton(item.controlId);
    if (!look || !item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    const std::size_t count = series.size();
    bool drawn = true;
    switch (look->drawnWhen) {
        case DataPageButtonLook::kWithSeries: drawn = count >= 1; break;
        case DataPageButtonLook::kAlways: drawn = true; break;
        case DataPageButtonLook::kInsertRule: drawn = count <= 1 && !item.disabled; break;
    }
    if (!drawn) {
        // An empty face: the page's background shows through.
        dc.FillRect(item.rect, platform::kBlack);
        return true;
    }
    DrawButtonFace(dc, item.rect, item.disabled ? look->fillDisabled : look->fill, item.pressed);
    const platform::Rect inner{item.rect.left + 1, item.rect.top + 1, item.rect.right - 1, item.rect.bottom - 1};
    ButtonCaption(dc, inner, item.text, look->captionColor, captionFont);
    return true;
}
