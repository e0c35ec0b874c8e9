#include "data/data_edit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>

#include "data/data_edit_view.h"
#include "data/data_page.h"
#include "data/data_page_widgets.h"
#include "platform/dialog_template.h"
#include "platform/font.h"
#include "platform/format.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "platform/text_metrics.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
DataEdit theDataEdit;

namespace {

using platform::ControlKind;

platform::DialogTemplate SheetTemplate() {
    platform::DialogTemplate t;
    t.id = DataEdit::kTemplateId;
    t.caption = "Data";
    t.cx = 140;
    t.cy = 120;
    t.style = platform::kDialogPopup | platform::kDialogResizable;
    // Places are set by LayoutControls; these are the starting ones.
    t.controls = {
        {DataEdit::kGrid, ControlKind::ListView, "", 7, 18, 110, 80, platform::kStyleMultiSelect},
        {DataEdit::kPageScroll, ControlKind::ScrollBar, "", 118, 18, 20, 80, platform::kStyleVertical},
        {DataEdit::kOkButton, ControlKind::Button, "Ok", 110, 18, 20, 6, platform::kStyleDefault | platform::kStyleHidden},
        {DataEdit::kDeleteButton, ControlKind::Button, "Delete", 4, 2, 30, 12, platform::kStyleOwnerDraw},
        {DataEdit::kPasteButton, ControlKind::Button, "Paste", 36, 2, 30, 12, platform::kStyleOwnerDraw},
        {DataEdit::kCopyButton, ControlKind::Button, "Copy", 68, 2, 30, 12, platform::kStyleOwnerDraw},
        {DataEdit::kCopyAllButton, ControlKind::Button, "Copy all", 100, 2, 34, 12, platform::kStyleOwnerDraw},
        {DataEdit::kSaveAsButton, ControlKind::Button, "Save as", 136, 2, 34, 12, platform::kStyleOwnerDraw},
        {DataEdit::kCloseButton, ControlKind::Button, "X", 130, 2, 10, 9, platform::kStyleOwnerDraw},
        {DataEdit::kSeriesLabel, ControlKind::Static, "Series:", 7, 102, 30, 12},
        {DataEdit::kSeriesCombo, ControlKind::ComboBox, "", 40, 102, 57, 80},
        {DataEdit::kGoToButton, ControlKind::Button, "Go to record:", 103, 102, 53, 12, platform::kStyleOwnerDraw},
        {DataEdit::kGoToEdit, ControlKind::Edit, "1", 160, 102, 27, 12},
        {DataEdit::kCellEdit, ControlKind::Edit, "", 0, 0, 40, 10, platform::kStyleHidden | platform::kStyleDisabled},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(SheetTemplate());

// Counter text of record r (0-based).
std::string CounterText(int r) {
    return r + 1 >= 10000000 ? platform::Format("%d", r + 1) : platform::Format("     %7d", r + 1);
}

}  // namespace

DataEdit::DataEdit() : Dialog(kTemplateId) {
    // Return in the cell box applies it through the hidden "Ok"; Escape only closes the box.
    RouteCommand(kOkButton, &DataEdit::OnOk);
    RouteCommand(kGoToButton, &DataEdit::OnGoToRecord);
    RouteCommand(kDeleteButton, &DataEdit::OnDelete);
    RouteCommand(kPasteButton, &DataEdit::OnPaste);
    RouteCommand(kCopyButton, &DataEdit::OnCopy);
    RouteCommand(kCopyAllButton, &DataEdit::OnCopyAll);
    RouteCommand(kSaveAsButton, &DataEdit::OnSaveAs);
    RouteCommand(kCloseButton, &DataEdit::OnCloseSheet);
    Route(kSeriesCombo, platform::Notification::SelChange, &DataEdit::OnSelChangeSeries);
    Route(kPageScroll, platform::Notification::Scroll, &DataEdit::OnPageScroll);
    Route(kGoToEdit, platform::Notification::EditSetFocus, &DataEdit::OnSetFocusGoTo);
}

DataEdit::~DataEdit() = default;

DataStore* DataEdit::Store() const { return store ? store : static_cast<DataStore*>(&theData); }

bool DataEdit::SeriesValid(int s) const { return s >= 0 && s < static_cast<int>(Store()->series.size()); }

void DataEdit::RememberPlace() {
    if (HasWindow()) savedRect = WindowRect();
}

bool DataEdit::OnInitDialog() {
    SetDefaultButton(kOkButton);
    Control(kOkButton).Show(false);
    view_ = std::make_unique<DataSheetView>(*this, Control(kGrid));
    if (!view_->IsValid()) view_.reset();
    if (view_) view_->SetBackground(kListBackground);
    ApplyControlColors();
    // The sheet refills itself after every change of the store.
    if (!theData.links.sheetRefill) theData.links.sheetRefill = [] { theDataEdit.Refill(); };
    ConnectRecordOperations();
    FillDataGrid(currentSeries, topRecord);
    LayoutControls();
    Invalidate();
    return true;
}

void DataEdit::ApplyControlColors() {
    SetControlColors(Control(kGoToEdit), 0x0F6414, 0xF0FFFF);
    SetControlColors(Control(kCellEdit), 0x3700C8, 0x8CFFFF);
    SetControlColors(Control(kSeriesLabel), 0x0F6414, kControlBrush);
    RaiseControl(Control(kCellEdit));
}

void DataEdit::OnPaint() {
    platform::ClientDC dc(*this);
    dc.FillRect(ClientRect(), kControlBrush);
}

void DataEdit::OnSize(int, int, int) {
    if (!HasWindow()) return;
    if (std::abs(WindowRect().Height() - savedRect.Height()) > 3) RememberPlace();
    LayoutControls();
    platform::PostRepaintRequest();
}

// Enter reaches the hidden "Ok" this way: a hidden button takes no key of its own, and the
// sheet must neither close nor drop the typed cell.
void DataEdit::OnOK() { OnOk(); }

void DataEdit::OnCancel() { HideCellEdit(); }

// Closing the window hides it as "X" does.
void DataEdit::OnClose() { OnCloseSheet(); }

void DataEdit::LayoutControls() {
    if (!HasWindow()) return;
    const int W = ClientRect().Width();
    const int H = ClientRect().Height();
    goToNumber = 1;
    Control(kGrid).Move(10, 30, std::max(1, W - 35), std::max(1, H - 70));
    Control(kPageScroll).Move(W - 33, 30, 30, std::max(1, H - 70));
    Control(kOkButton).Move(W - 40, 30, std::max(1, H - 30), 10);
    Control(kSeriesLabel).Move(10, H - 30, 45, 20);
    Control(kSeriesCombo).Move(60, H - 30, 85, 20);
    // The button paints its caption inside a 3-pixel edge: it is widened where the font needs it.
    platform::Control goTo = Control(kGoToButton);
    const int goToWidth = std::max(80, platform::MetricsFor(platform::OwnerDrawFont()).Width(goTo.Text()) + 8);
    goTo.Move(155, H - 30, goToWidth, 20);
    Control(kGoToEdit).Move(160 + goToWidth, H - 30, 40, 20);
    Control(kCloseButton).Move(W - 30, 3, 15, 15);
    // The command buttons stand in a row along the top.
    int x = 10;
    for (int id : {kDeleteButton, kPasteButton, kCopyButton, kCopyAllButton, kSaveAsButton}) {
        const int w = id == kCopyAllButton || id == kSaveAsButton ? 60 : 52;
        Control(id).Move(x, 5, w, 20);
        x += w + 4;
    }
    FillDataGrid(currentSeries, topRecord);
}

int DataEdit::RowsPerPage() const { return view_ ? view_->RowsPerPage() : 1; }

int DataEdit::LastTopRecord() const {
    const int maximum = Control(kPageScroll).RangeMax();
    return std::max(0, maximum - RowsPerPage() + 3);
}

void DataEdit::HideCellEdit() {
    platform::Control box = Control(kCellEdit);
    box.Show(false);
    box.Enable(false);
    editing = 0;
}

// ---- Filling the grid ----------------------------------------------------------------------

void DataEdit::FillDataGrid(int s, int top) {
    if (!HasWindow() || ClientRect().Width() < 11 || !IsVisible()) return;
    platform::Control grid = Control(kGrid);
    platform::Control combo = Control(kSeriesCombo);
    grid.ResetContent();
    while (grid.ColumnCount() > 0) grid.DeleteColumn(0);
    const DataStore& d = *Store();
    if (d.series.empty()) {
        combo.ResetContent();
        columnCount = recordCount = 0;
        lastShown = -1;
        UpdateScrollBar(RowsPerPage());
        return;
    }
    if (!SeriesValid(s)) s = 0;
    currentSeries = s;
    combo.ResetContent();
    for (const std::string& name : d.seriesNames) combo.AddString(name);
    combo.SetCurSel(s);

    const Series& x = d.series[static_cast<std::size_t>(s)];
    top = std::max(0, top);
    topRecord = top;
    columnCount = x.nParameters;
    recordCount = x.nRecords;
    HideCellEdit();

    const int pageRows = RowsPerPage();
    const int last = std::min(top + pageRows + 3, recordCount - 1);
    // Each column is as wide as its widest text of this page plus 15 pixels.
    const int pad = 15;
    int counterWidth = view_ ? view_->TextWidth("Counter:") : 40;
    for (int r = top; r <= last && view_; ++r) counterWidth = std::max(counterWidth, view_->TextWidth(CounterText(r)));
    grid.InsertColumn(0, "Counter:", counterWidth + pad);
    for (int p = 0; p < columnCount; ++p) {
        const std::size_t i = static_cast<std::size_t>(x.firstParameter + p);
        const std::string& name = i < d.parameterNames.size() ? d.parameterNames[i] : std::string();
        int width = view_ ? view_->TextWidth(name) : 40;
        for (int r = top; r <= last && view_; ++r) {
            const double v = d.allValues[static_cast<std::size_t>(x.firstValue) + static_cast<std::size_t>(r) * columnCount + p];
            width = std::max(width, view_->TextWidth(platform::Format("%g", v)));
        }
        if (view_ && i < d.parameterTexts.size()) width = std::max(width, view_->TextWidth(d.parameterTexts[i]));
        grid.InsertColumn(p + 1, name, std::max(40, width + pad));
    }
    FillRows(pageRows);
}

void DataEdit::FillDataGridAt(int s, int top) {
    if (!HasWindow() || !IsVisible()) return;
    const DataStore& d = *Store();
    // Another series or another parameter count needs new columns.
    if (!SeriesValid(s) || s != currentSeries || Control(kGrid).ColumnCount() != d.series[static_cast<std::size_t>(s)].nParameters + 1) {
        FillDataGrid(s, top);
        return;
    }
    topRecord = std::max(0, top);
    columnCount = d.series[static_cast<std::size_t>(s)].nParameters;
    recordCount = d.series[static_cast<std::size_t>(s)].nRecords;
    HideCellEdit();
    FillRows(RowsPerPage());
}

void DataEdit::FillRows(int pageRows) {
    platform::Control grid = Control(kGrid);
    const DataStore& d = *Store();
    const Series& x = d.series[static_cast<std::size_t>(currentSeries)];
    const int top = topRecord;
    lastShown = std::min(top + pageRows + 3, recordCount - 1);
    // Rows are reused: the list never holds more than one page.
    int row = 0;
    auto put = [&](const std::string& counter, auto cell) {
        if (row >= grid.Count()) grid.InsertItem(row, "");
        grid.SetItemText(row, 0, counter);
        for (int p = 0; p < columnCount; ++p) grid.SetItemText(row, p + 1, cell(p));
        grid.SetSelected(row, false);
        ++row;
    };
    if (top <= recordCount) {
        for (int r = top; r <= lastShown; ++r) {
            const double* v = d.allValues.data() + x.firstValue + static_cast<std::size_t>(r) * columnCount;
            put(CounterText(r), [&](int p) { return platform::Format("%g", v[p]); });
        }
        if (pageRows + top - 3 >= recordCount) {
            put("*", [&](int p) {
                const std::size_t i = static_cast<std::size_t>(x.firstParameter + p);
                return i < d.parameterTexts.size() ? d.parameterTexts[i] : std::string();
            });
            while (row < pageRows) put("", [](int) { return std::string(); });
        }
    }
    while (grid.Count() > row) grid.DeleteString(grid.Count() - 1);
    if (QTreeWidget* tree = view_ ? view_->View() : nullptr) tree->verticalScrollBar()->setValue(0);
    // The rows' own height is known once there are rows: a page measured without them is
    // filled again.
    const int measured = RowsPerPage();
    if (measured != pageRows && row > 0 && grid.Count() > 0 && !refilling_) {
        refilling_ = true;
        FillRows(measured);
        refilling_ = false;
        return;
    }
    UpdateScrollBar(pageRows);
}

void DataEdit::UpdateScrollBar(int pageRows) {
    platform::Control bar = Control(kPageScroll);
    if (pageRows > recordCount) {
        bar.Show(false);
        bar.Enable(false);
        goToNumber = 1;
    } else {
        bar.Show(true);
        bar.Enable(true);
        bar.SetRange(0, recordCount);
        bar.SetPos(lastShown);
        goToNumber = topRecord + 1;
    }
    Control(kGoToEdit).SetText(std::to_string(goToNumber));
}

void DataEdit::Refill() {
    if (!HasWindow() || !IsVisible()) return;
    FillDataGrid(currentSeries, topRecord);
    if (view_) view_->Redraw();
}

int DataEdit::CellText(std::string& text, int c, int r, int& index) const {
    const DataStore& d = *Store();
    if (!SeriesValid(currentSeries) || topRecord < 0) return 0;
    const Series& x = d.series[static_cast<std::size_t>(currentSeries)];
    if (c < 1 || c > x.nParameters) return 0;
    const long long n = static_cast<long long>(topRecord) + r;
    if (r < 0 || n > x.nRecords) return 0;
    if (n < x.nRecords) {
        index = static_cast<int>(static_cast<long long>(x.nParameters) * n + x.firstValue + c - 1);
        text = platform::Format("%g", d.allValues[static_cast<std::size_t>(index)]);
    } else {
        index = x.firstParameter + c - 1;
        text = d.parameterTexts[static_cast<std::size_t>(index)];
    }
    return 1;
}

// ---- Paging ----------------------------------------------------------------------------------

void DataEdit::OnPageScroll(platform::Notify& n) {
    const int pageRows = RowsPerPage();
    int top = topRecord;
    switch (n.scrollCode) {
        case platform::kScrollLineUp: top = std::max(0, top - 1); break;
        case platform::kScrollLineDown: top = std::min(top + 1, LastTopRecord()); break;
        case platform::kScrollPageUp: top = std::max(0, top - pageRows); break;
        case platform::kScrollPageDown: top = std::min(top + pageRows, LastTopRecord()); break;
        case platform::kScrollThumbPosition: top = std::clamp(n.pos, 0, LastTopRecord()); break;
        case platform::kScrollThumbTrack:
            Control(kGoToEdit).SetText(std::to_string(n.pos + 1));
            return;
        default: return;
    }
    if (!CommitCellEdit()) return;
    FillDataGridAt(currentSeries, top);
    Control(kPageScroll).SetPos(goToNumber);
}

bool DataEdit::OnWheel(int delta) {
    if (!SeriesValid(currentSeries)) return true;
    const int step = RowsPerPage() / 5;
    const int notches = delta / 120;
    if (notches == 0) return true;
    if (!CommitCellEdit()) return true;
    // A notch towards the user moves forward; the bound is the line-down step's.
    const int top = std::clamp(topRecord - notches * step, 0, LastTopRecord());
    if (top != topRecord) FillDataGridAt(currentSeries, top);
    return true;
}

int DataEdit::CommitCellEdit() {
    if (!editing) return 1;
    const std::string text = Control(kCellEdit).Text();
    if (text == cellStartText_) return 1;
    if (!ApplyCellText(text, cellIndex)) {
        Control(kCellEdit).SetFocus();
        return 0;
    }
    cellStartText_ = text;
    // The grid shows the value (or the added record) before the sheet moves on.
    FillDataGridAt(currentSeries, topRecord);
    if (view_) view_->Redraw();
    Store()->RefreshSeriesList(0);
    platform::PostRepaintRequest();
    return 1;
}

void DataEdit::OnGoToRecord() {
    if (!CommitCellEdit()) return;
    HideCellEdit();
    int number = goToNumber;
    if (std::sscanf(Control(kGoToEdit).Text().c_str(), "%d", &number) != 1) number = goToNumber;
    goToNumber = number;
    FillDataGridAt(currentSeries, number - 1);
}

void DataEdit::OnSelChangeSeries() {
    const int chosen = Control(kSeriesCombo).CurSel();
    if (chosen < 0) return;
    if (!CommitCellEdit()) {
        Control(kSeriesCombo).SetCurSel(currentSeries);
        return;
    }
    currentSeries = chosen;
    FillDataGrid(chosen, 0);
}

void DataEdit::OnSetFocusGoTo() { editing = 0; }

// ---- Cells -------------------------------------------------------------------------------------

int DataEdit::BeginCellEdit(int column, int row) {
    HideCellEdit();
    if (!view_ || column <= 0 || row < 0 || row >= Control(kGrid).Count()) return 0;
    platform::Rect cell = view_->CellRect(row, column);
    if (cell.Width() <= 0) return 0;
    // Bring a cell beyond either edge into sight.
    const int width = view_->ViewportWidth();
    if (cell.right > width - 10 || cell.left < 0) {
        const int offset = column == 1 ? 0 : view_->HorizontalOffset() + cell.left;
        view_->SetHorizontalOffset(offset);
        cell = view_->CellRect(row, column);
    }
    std::string text;
    int index = -1;
    if (!CellText(text, column, row, index)) return 0;
    const platform::Point origin = view_->ViewportOrigin();
    platform::Control box = Control(kCellEdit);
    box.Move(origin.x + cell.left - 2, origin.y + cell.top - 2, cell.Width() + 4, cell.Height() + 4);
    box.SetText(text);
    cellStartText_ = text;
    cellIndex = index;
    const bool textRow = topRecord + row == recordCount;
    textRowLast = textRow && column == columnCount;
    textRowOther = textRow && column != columnCount;
    currentColumn = column;
    currentRow = row;
    box.Show(true);
    box.Enable(true);
    RaiseControl(box);
    box.SetFocus();
    box.SetSelection(0, -1);
    editing = 1;
    return 1;
}

int DataEdit::NormalizeCellPosition() {
    int moved = 0;
    const int pageRows = RowsPerPage();
    if (currentColumn < 1) {
        currentColumn = columnCount;
        --currentRow;
    } else if (currentColumn > columnCount) {
        currentColumn = 1;
        ++currentRow;
    }
    if (currentRow < 0) {
        if (topRecord > 0) {
            --topRecord;
            moved = 1;
        }
        currentRow = 0;
    } else if (currentRow >= pageRows - 2 && topRecord + currentRow <= recordCount) {
        ++topRecord;
        --currentRow;
        moved = 1;
    }
    // No cell below the one after the texts row.
    const int textsRow = recordCount - topRecord;
    if (currentRow > textsRow + 1) currentRow = textsRow + 1;
    if (moved) FillDataGridAt(currentSeries, topRecord);
    return moved;
}

void DataEdit::OnGridClick(platform::Point point) {
    if (!view_) return;
    if (!CommitCellEdit()) return;
    const platform::Point origin = view_->ViewportOrigin();
    const int row = view_->RowAt(point.y - origin.y);
    const int column = view_->ColumnAt(point.x - origin.x);
    if (row >= 0 && column >= 1) {
        currentColumn = column;
        currentRow = row;
        BeginCellEdit(column, row);
        return;
    }
    HideCellEdit();
    FillDataGridAt(currentSeries, goToNumber - 1);
}

bool DataEdit::OnMoveKey() {
    using platform::KeyDown;
    if (!KeyDown(platform::kKeyControl) && !KeyDown(platform::kKeyAlt)) return false;
    const auto pad = [](int digit) { return KeyDown(platform::kKeyNumpad0 + digit); };
    // The diagonals, by arrow pairs or by the keypad's corner keys, move nothing.
    const bool upArrow = KeyDown(platform::kKeyUp), downArrow = KeyDown(platform::kKeyDown);
    if ((upArrow || downArrow) && (KeyDown(platform::kKeyLeft) || KeyDown(platform::kKeyRight))) return false;
    if (pad(7) || pad(9) || pad(1) || pad(3)) return false;
    const bool up = upArrow || pad(8), down = downArrow || pad(2);
    const bool left = KeyDown(platform::kKeyLeft) || pad(4), right = KeyDown(platform::kKeyRight) || pad(6);
    if (!up && !down && !left && !right) return false;
    if (!CommitCellEdit()) return true;
    if (up) {
        --currentRow;
    } else if (down) {
        ++currentRow;
    } else if (left) {
        --currentColumn;
    } else {
        ++currentColumn;
    }
    NormalizeCellPosition();
    BeginCellEdit(currentColumn, currentRow);
    return true;
}

bool DataEdit::PreTranslateInput(const platform::InputEvent& input) {
    if (input.kind == platform::InputEvent::LButtonDown && input.controlId == kGrid) {
        OnGridClick(input.point);
        return false;
    }
    if (input.kind == platform::InputEvent::KeyDown) {
        switch (input.key) {
            case platform::kKeyUp:
            case platform::kKeyDown:
            case platform::kKeyLeft:
            case platform::kKeyRight:
            case platform::kKeyNumpad0 + 1:
            case platform::kKeyNumpad0 + 2:
            case platform::kKeyNumpad0 + 3:
            case platform::kKeyNumpad0 + 4:
            case platform::kKeyNumpad0 + 6:
            case platform::kKeyNumpad0 + 7:
            case platform::kKeyNumpad0 + 8:
            case platform::kKeyNumpad0 + 9:
                if (OnMoveKey()) return true;
                break;
            default:
                break;
        }
        // Held with Ctrl or Alt, a keypad key is a move or nothing: the edit box would still type
        // its character (or, with NumLock off, delete a word), and the next Enter would store it.
        // Its Enter stays Enter.
        return input.keypad && input.key != platform::kKeyReturn &&
               (platform::KeyDown(platform::kKeyControl) || platform::KeyDown(platform::kKeyAlt));
    }
    return false;
}

std::vector<int> DataEdit::SelectedRows() const { return Control(kGrid).SelectedItems(); }
