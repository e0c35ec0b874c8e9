#pragma once
// The widget side of the Data page's series table: a report list whose cells the page
// paints itself (row colours, role buttons, mark samples, the selection tick), with the
// row and column geometry the page's hit test and rename box need. Coordinates are
// pixels of the list's viewport unless said otherwise.
#include <string>

#include <QPointer>
#include <QTreeWidget>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/control.h"
#include "platform/font.h"

class data;

class SeriesTableView {
public:
    // Takes over the painting of the list's cells; the list stays the page's control.
    // IsValid() is false when the control is not a report list.
    SeriesTableView(data& page, const platform::Control& list);

    QTreeWidget* View() const { return view_.data(); }
    bool IsValid() const { return !view_.isNull(); }

    // The static text above the list becomes the table's header line: its captions, cut at
    // the text's bars, stand over their columns at the columns' widths and scroll with them.
    void SetHeaderLine(const platform::Control& header);

    void SetFont(const platform::Font& font);
    void SetBackground(platform::ColorRef color);
    // Width of a text in the list's font.
    int TextWidth(const std::string& text) const;

    int RowCount() const;
    int RowHeight() const;
    int TopRow() const;       // first visible row, 0 when empty
    int RowsPerPage() const;  // whole rows that fit the viewport
    platform::Rect RowRect(int row) const;  // empty for a row that does not exist
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    int ColumnLeft(int column) const;
    // The viewport's top-left corner in the dialog's client area.
    platform::Point ViewportOrigin() const;

    // Makes row the first visible row (as far as the list can scroll).
    void ScrollRowToTop(int row);
    // Repaints every visible cell now.
    void Redraw();

private:
    data* page_;
    QPointer<QTreeWidget> view_;
};
