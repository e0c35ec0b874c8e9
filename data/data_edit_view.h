#pragma once
// The widget side of the data sheet's grid: a report list that holds one page of rows, whose
// cells the sheet draws itself (counter column, white cells, framed), with the geometry the
// sheet's click and edit rules need. The list's own vertical scroll bar never shows: the
// sheet pages with its own. Coordinates are pixels of the list's viewport unless said.
#include <functional>
#include <string>

#include <QPointer>
#include <QTreeWidget>

#include "platform/canvas.h"
#include "platform/control.h"

class DataEdit;

class DataSheetView {
public:
    DataSheetView(DataEdit& sheet, const platform::Control& list);
    ~DataSheetView();
    DataSheetView(const DataSheetView&) = delete;
    DataSheetView& operator=(const DataSheetView&) = delete;

    QTreeWidget* View() const { return view_.data(); }
    bool IsValid() const { return !view_.isNull(); }

    void SetBackground(unsigned color);
    int TextWidth(const std::string& text) const;
    int RowHeight() const;
    int RowsPerPage() const;                // whole rows that fit the viewport
    int RowAt(int y) const;                 // -1 outside the rows
    int ColumnAt(int x) const;              // -1 outside the columns
    platform::Rect CellRect(int row, int column) const;  // empty for a cell that does not exist
    int ViewportWidth() const;
    // The viewport's top-left corner in the sheet's client area.
    platform::Point ViewportOrigin() const;
    int HorizontalOffset() const;
    void SetHorizontalOffset(int pixels);
    void Redraw();

private:
    DataEdit* sheet_;
    QPointer<QTreeWidget> view_;
    QObject* wheelFilter_ = nullptr;
};
