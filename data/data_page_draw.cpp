// The custom drawing of the Data page's series table.
#include <algorithm>

#include "data/data_page.h"
#include "data/point_marks.h"
#include "widgets/owner_button.h"

namespace {

constexpr int kButtonSide = 15;

void HorizontalLine(platform::Canvas& dc, int x0, int x1, int y, platform::ColorRef c) {
    if (x1 > x0) dc.FillRect({x0, y, x1, y + 1}, c);
}

void VerticalLine(platform::Canvas& dc, int x, int y0, int y1, platform::ColorRef c) {
    if (y1 > y0) dc.FillRect({x, y0, x + 1, y1}, c);
}

void Outline(platform::Canvas& dc, const platform::Rect& r, platform::ColorRef c) {
    HorizontalLine(dc, r.left, r.right, r.top, c);
    HorizontalLine(dc, r.left, r.right, r.bottom - 1, c);
    VerticalLine(dc, r.left, r.top, r.bottom, c);
    VerticalLine(dc, r.right - 1, r.top, r.bottom, c);
}

// A filled square framed by a sunken edge.
void SunkenSquare(platform::Canvas& dc, const platform::Rect& r, platform::ColorRef fill) {
    if (!r.IsEmpty()) DrawButtonFace(dc, r, fill, true);
}

}  // namespace

void data::DrawSeriesCell(platform::Canvas& dc, int row, int column, const platform::Rect& cell, int rowLeft,
                          int rowRight, const std::string& text) const {
    dc.FillRect(cell, RowBackground(row));
    if (!text.empty()) {
        const platform::Font oldFont = dc.SelectFont(listFont);
        const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
        const platform::ColorRef oldColor = dc.SetTextColor(platform::kBlack);
        const platform::Size size = dc.GetTextExtent(text);
        dc.TextOut(cell.left + kCellTextIndent, cell.top + (cell.Height() - size.cy) / 2, text);
        dc.SetTextColor(oldColor);
        dc.SetBkMode(oldMode);
        dc.SelectFont(oldFont);
    }

    const platform::Rect shrunk{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    int s = -1;
    int isSeriesRow = 0;
    const int p = RowToParameter(row, s, isSeriesRow);
    if (isSeriesRow) {
        // The row's outline, shrunk by 2 pixels, drawn in the part each cell covers.
        const int x0 = column == 0 ? rowLeft + 2 : cell.left;
        const int x1 = column == kColumnSelect ? rowRight - 2 : cell.right;
        HorizontalLine(dc, x0, x1, shrunk.top, kSeriesFrameColor);
        HorizontalLine(dc, x0, x1, shrunk.bottom - 1, kSeriesFrameColor);
        if (column == 0) VerticalLine(dc, rowLeft + 2, shrunk.top, shrunk.bottom, kSeriesFrameColor);
        if (column == kColumnSelect) VerticalLine(dc, rowRight - 3, shrunk.top, shrunk.bottom, kSeriesFrameColor);
    } else if (p >= 0 && p < static_cast<int>(parameters.size())) {
        const Initial& x = parameters[static_cast<std::size_t>(p)];
        if (column <= kColumnInactive) {
            Outline(dc, cell, kRoleCellFrameColor);
            if (s == 0) {
                // A button marks each role cell a click would act on.
                const int values = series.empty() ? 0 : series[0].nValues;
                bool button = false;
                if (column == kColumnValue) button = x.role != kRoleValue;
                if (column == kColumnArgument) button = x.role == kRoleInactive || (x.role == kRoleValue && values > 1);
                if (column == kColumnInactive) button = x.role == kRoleArgument || (x.role == kRoleValue && values >= 2);
                if (button) {
                    SunkenSquare(dc, {shrunk.left, shrunk.top, std::min(shrunk.left + kButtonSide, shrunk.right), shrunk.bottom},
                                 kRoleButtonColor);
                } else if (column == kColumnInactive && x.role == kRoleInactive) {
                    const int side = shrunk.Height();
                    SunkenSquare(dc, {std::max(shrunk.left, shrunk.right - side), shrunk.top, shrunk.right, shrunk.bottom},
                                 kInactiveMarkColor);
                }
            }
        } else if (column == kColumnMarker && x.role == kRoleValue) {
            DrawMarkerSample(dc, cell.left + 35, cell.top + cell.Height() / 2, x, kListBackground);
        }
    }

    if (column == kColumnSelect) {
        const platform::Rect box{shrunk.left, shrunk.top, std::min(shrunk.left + kButtonSide, shrunk.right), shrunk.bottom};
        SunkenSquare(dc, box, platform::kWhite);
        if (row == selectedRow && !box.IsEmpty()) {
            const platform::Pen oldPen = dc.SelectPen(tickPen);
            const int middle = (box.top + box.bottom) / 2;
            const platform::Point tick[3] = {{box.left + 4, middle},
                                             {box.left + 4 + box.Height() / 2, box.bottom - 4},
                                             {box.right - 2, box.top + 2}};
            dc.Polyline(tick, 3);
            dc.SelectPen(oldPen);
        }
    }
}
