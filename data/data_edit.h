#pragma once
// The data sheet: a window of its own standing over the right part of the main window, which
// shows one page of records of one series as a grid, pages through the series with its own
// scroll bar, the wheel and "Go to record:", edits single cells in place, adds a record through
// its "*" row, pastes, deletes, copies and saves records. The grid never holds more than one
// page of rows, however long the series is; values are edited in the data store directly.
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/dialog.h"

class DataStore;
class DataSheetView;

class DataEdit : public platform::Dialog {
public:
    static constexpr int kTemplateId = 165;

    // Controls of template 165.
    enum : int {
        kGrid = 1268,
        kPageScroll = 1269,
        kOkButton = 1271,
        kGoToButton = 1272,
        kGoToEdit = 1273,
        kCellEdit = 1274,
        kDeleteButton = 1276,
        kPasteButton = 1277,
        kCopyButton = 1278,
        kCopyAllButton = 1279,
        kSaveAsButton = 1280,
        kCloseButton = 1361,
        kSeriesCombo = 1521,
        kSeriesLabel = 1522,
    };

    // Colours (0x00BBGGRR).
    static constexpr platform::ColorRef kListBackground = 0xFFF0FF;
    static constexpr platform::ColorRef kCounterText = 0x800080;
    static constexpr platform::ColorRef kCounterBack = 0xC8BEBE;
    static constexpr platform::ColorRef kCounterBackSelected = 0xFADCDC;
    static constexpr platform::ColorRef kCellFrame = 0xFA7878;
    static constexpr platform::ColorRef kControlBrush = 0xF5CDBE;

    DataEdit();
    ~DataEdit() override;

    // The store the sheet shows (the data page's); tests may point it elsewhere.
    DataStore* store = nullptr;

    int currentSeries = 0;     // the series shown; also the current series of the record filter
    int topRecord = 0;         // first record of the page
    platform::Rect savedRect;  // the sheet's window rectangle, screen coordinates
    int cellIndex = -1;        // index into allValues or parameterTexts of the cell being edited
    int editing = 0;           // 1 while the in-cell edit box holds a cell
    int textRowLast = 0;       // the edited cell is the texts row's last column: applying adds a record
    int textRowOther = 0;      // the edited cell is another column of the texts row
    int currentColumn = 1;     // 1 to nParameters
    int currentRow = 0;        // row within the page
    int columnCount = 0;       // nParameters of the series shown
    int recordCount = 0;       // nRecords of the series shown
    int lastShown = -1;        // absolute number of the last record in the list
    int goToNumber = 1;        // the "Go to record:" number, 1-based

    // Keeps the window rectangle and lays out the sheet's own controls.
    void RememberPlace();
    void LayoutControls();

    // Rebuilds the whole grid (columns and rows) for series s from record top.
    void FillDataGrid(int s, int top);
    // Refills the rows for series s from record top, keeping the columns.
    void FillDataGridAt(int s, int top);
    // Refills for the current series at the current top and redraws (after a store change).
    void Refill();
    // The text of cell (column c, page row r); 1 when the cell exists.
    int CellText(std::string& text, int c, int r, int& index) const;
    // Opens the in-cell edit box on a cell; returns 1 when it opened.
    int BeginCellEdit(int column, int row);
    void HideCellEdit();
    // Wraps the current cell into the page, paging by one record where needed; 1 when the
    // page moved.
    int NormalizeCellPosition();
    // Applies text to the edited cell by the entry flags; 1 when applied.
    int ApplyCellText(const std::string& text, int index);
    // Leaving the cell being edited (another cell, scrolling, "Go to record", closing)
    // applies a changed value as Enter does; 0 when it was refused (the message shown, the
    // cell stays open), 1 otherwise.
    int CommitCellEdit();
    int RowsPerPage() const;
    // Highest first record the line-down step (and the wheel) reach.
    int LastTopRecord() const;

    // Handlers.
    bool OnInitDialog() override;
    void OnSize(int type, int cx, int cy) override;
    void OnPaint() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    bool OnDrawItem(platform::DrawItem& item) override;
    bool PreTranslateInput(const platform::InputEvent& input) override;
    void OnPageScroll(platform::Notify& n);
    // delta: wheel units, 120 a notch; positive away from the user.
    bool OnWheel(int delta);
    void OnSelChangeSeries();
    void OnGoToRecord();
    void OnOk();
    void OnPaste();
    void OnDelete();
    void OnCopy();
    void OnCopyAll();
    void OnSaveAs();
    void OnCloseSheet();
    void OnSetFocusGoTo();
    // A left click at a point of the dialog's client area on the grid.
    void OnGridClick(platform::Point point);
    // A moving key; returns true when Ctrl or Alt is held and the keys down move the cell.
    bool OnMoveKey();

    // The grid's view (tests reach the real widget through it).
    DataSheetView* View() const { return view_.get(); }
    // Indices of the selected page rows, in increasing order.
    std::vector<int> SelectedRows() const;
    // The records' text as the copies write it; names first with header.
    std::string RecordsText(const std::vector<int>& records, bool header) const;

private:
    DataStore* Store() const;
    bool SeriesValid(int s) const;
    void ApplyControlColors();
    void UpdateScrollBar(int pageRows);
    void FillRows(int pageRows);
    void AfterStoreChange();

    std::unique_ptr<DataSheetView> view_;
    bool refilling_ = false;
    std::string cellStartText_;  // the edited cell's text when the edit began
};

extern DataEdit theDataEdit;

// Gives the modify dialog its record operations on the data page's store and the sheet.
void ConnectRecordOperations();
