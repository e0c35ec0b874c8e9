#pragma once
// The "Data" page: the series table (every series with its parameters, their roles,
// mark samples and the selection tick), the mark shape, colour and size pickers, the
// rename box and the data commands. Its one global object theData also owns the data
// store and the depth-ordered mark buffer, and keeps the state of the imports, the
// progress report of long operations and the re-read timer of synchronised files.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/data_store.h"
#include "data/mark_buffer.h"
#include "platform/access_values.h"
#include "platform/bitmap.h"
#include "platform/brush.h"
#include "platform/color.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "platform/pen.h"
#include "widgets/progress_bar.h"

class SeriesTableView;

// What the page needs of windows built elsewhere (the data sheet, the 3-D view, the
// analysis pages and the data dialogs). Each is set by the side that owns it; unset
// entries do nothing, except that the page's set-up points the data-sheet entries
// other than sheetRefill at theDataEdit when they are still unset.
struct DataPageLinks {
    // The data sheet.
    std::function<int()> sheetCurrentSeries;                     // -1 when unknown
    std::function<void(int series, int topRecord)> sheetSetCurrentSeries;
    std::function<bool()> sheetIsVisible;
    std::function<void(bool show)> sheetShow;
    std::function<void()> sheetRefill;                           // refill for its current series and redraw
    // The 3-D view rebuilds its scene at the next paint.
    std::function<void()> sceneRebuild;
    // After "Delete all": the analysis choices that depend on the data.
    std::function<void()> resetAnalysisChoices;
    // A page drops what it holds about a removed global parameter index.
    std::function<void(int globalIndex)> dropParameterConditions;
    // "Add" (import wizard), "Insert", "Modify" and "Image" buttons.
    std::function<void()> addData;
    std::function<void()> insertParameter;
    std::function<void()> modifyParameter;
    std::function<void()> importImage;
};

class data : public platform::Dialog, public DataStore, public MarkBuffer {
public:
    static constexpr int kTemplateId = 133;

    data();
    ~data() override;

    // Control ids of dialog 133.
    enum : int {
        kSeriesList = 1022,
        kHeaderText = 1280,
        kMarkerGroup = 1254,
        kShapeCombo = 1251,
        kColorCombo = 1252,
        kSizeCombo = 1253,
        kRenameEdit = 1046,
        kOkButton = 1021,
        kSeriesGroup = 1281,
        kAddButton = 1264,
        kInsertButton = 1265,
        kModifyButton = 1219,
        kDeleteButton = 1027,
        kMakeAllInactiveButton = 1054,
        kDeleteAllButton = 1053,
        kShowSheetButton = 1270,
        kTextFileButton = 1042,
        kDatabaseButton = 1047,
        kClipboardButton = 1048,
        kImageButton = 1225,
        kIntegerEdit = 1038,
    };
    static constexpr int kNormalizeAllCommand = 32818;  // "All parameters from 0 to 1"
    static constexpr int kSyncTimerId = 2;

    // Series table columns.
    enum : int { kColumnValue = 0, kColumnArgument = 1, kColumnInactive = 2, kColumnMarker = 3, kColumnSelect = 4 };

    // Colours of the page (0x00BBGGRR).
    static constexpr platform::ColorRef kListBackground = 0xFFEBF0;
    static constexpr platform::ColorRef kSeriesRowColor = 0x329632;
    static constexpr platform::ColorRef kInactiveRowColor = 0xC8C8C8;
    static constexpr platform::ColorRef kValueRowColor = 0x9B002D;
    static constexpr platform::ColorRef kArgumentRowColor = 0x37007D;
    static constexpr platform::ColorRef kSeriesFrameColor = 0xFA7878;
    static constexpr platform::ColorRef kRoleCellFrameColor = 0x969696;
    static constexpr platform::ColorRef kRoleButtonColor = 0xC2FFAE;
    static constexpr platform::ColorRef kInactiveMarkColor = 0x1432FF;
    static constexpr platform::ColorRef kRenameEditBack = 0xB4FFFF;
    static constexpr platform::ColorRef kRenameEditText = 0x3232C8;
    static constexpr int kShapeItemNone = 14;   // shape combo item shown without a value parameter
    static constexpr int kColorItemChoose = 11; // colour combo item that opens the colour dialog
    static constexpr int kSizeItemAuto = 11;    // "auto"
    static constexpr int kFileNameBufferSize = 300;

    // ---- State of the page --------------------------------------------------------
    std::int32_t editPending = 0;       // 1 while the rename edit is open
    std::int32_t editIndex = -1;        // series index or global parameter index being renamed
    std::int32_t selectedIsSeries = 0;  // the clicked row is a series row
    std::int32_t syncTimerOn = 0;       // timer 2 runs
    std::int32_t syncIntervalMs = 0;    // its period
    std::int32_t schemeReady = 0;       // a painter has a fitted scheme that can fill a parameter
    std::int32_t schemeFillRequest = 0; // the next repaint fills the new parameter from the scheme
    std::int32_t scoringSimple = 0;     // insert dialog's "simple algorithm"
    std::int32_t scoringRequest = 0;    // served by the main window's paint handler
    std::int32_t saveUndoRequest = 0;   // polled by the job hook
    progressReport progressState;       // the last progress report, drawn by the progress bar
    std::string startFolder;            // current directory at page start (at most 100 characters)
    std::string defaultName = "default";
    std::string fileNameBuffer;         // shared file name (at most kFileNameBufferSize - 1 characters)

    platform::Font listFont;            // "Ariel" 16/500: rename edit and series table
    platform::Font captionFont;         // "Times" 18/600: owner-drawn button captions
    platform::Pen nullPen;
    platform::Pen tickPen;              // solid black, 3 pixels: the selection tick
    platform::Brush whiteBrush;
    std::vector<platform::Bitmap> shapeIcons;  // 16 icons, 24 x 24, for the shape combo
    std::vector<platform::Bitmap> colorIcons;  // 12 icons, 24 x 24, for the colour combo

    DataPageLinks links;

    // ---- The page -----------------------------------------------------------------
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    void OnPaint() override;
    bool OnDrawItem(platform::DrawItem& item) override;
    bool PreTranslateInput(const platform::InputEvent& input) override;

    static constexpr int kCellTextIndent = 4;  // pixels before a table cell's text
    void SetListHeader();
    // Widens an owner-drawn button whose caption its face cannot hold, at its row neighbour's cost.
    void FitButtonCaptions();
    // Widens the role columns to the longest name they show.
    void FitRoleColumns();
    void FillSeriesTable();
    void RefreshSeriesList(int restoreScroll) override;
    void MarkActiveParameterRow();
    // Global parameter index of a table row; -1 for a series row (isSeriesRow 1) or a row
    // beyond the table (isSeriesRow 0, series -1 when there is no series).
    int RowToParameter(int row, int& seriesOut, int& isSeriesRow) const;
    // 1 when the point (client coordinates of the table's viewport) lies on a cell of a
    // visible row; row, column, the cell rectangle and the point within the cell.
    int HitTestHover(platform::Point point, int& row, int& column, platform::Rect& cell, int& xInCell,
                     int& yInCell) const;
    void SelectSeries(int s);
    void SelectLastSeries();
    void ToggleDataSheet();
    void SetProgress(int kind, const std::string& text, int current, int total) override;
    void UpdateButtonStates() override;
    void EnableMarkControls(int flag);
    // Colours of the page (id 0, black) and of its rename box, header and groups; the table and
    // the other controls keep their own look.
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

    // Commands.
    void OnClickList(platform::Point point);  // a click on the table at a viewport point
    void OnOk();
    void OnCloseUpMarkShape();
    void OnCloseUpMarkColor();
    void OnCloseUpMarkSize();
    void OnNormalizeAll();
    void OnDeleteParameterButton();
    void OnDeleteAllButton();
    void OnMakeAllInactiveButton();
    void OnAddData();
    void OnInsert();
    void OnModifyParameter();
    void OnImage();
    // The names a formula at a record sees: the single series' parameters, then the user
    // formula's coefficients. 1 with exactly one series; 0, changing nothing, otherwise.
    int BuildFormulaNameList();

    // The table's view (tests and the main window reach the real widget through it).
    SeriesTableView* TableView() const { return tableView_.get(); }
    // Text background of a table row: by series row or parameter role.
    platform::ColorRef RowBackground(int row) const;
    // Paints one cell of the table: background, text and decorations. cell is the cell's
    // rectangle on the canvas; rowLeft and rowRight the row's extent in the same
    // coordinates (decorations of the whole row are drawn cell by cell).
    void DrawSeriesCell(platform::Canvas& dc, int row, int column, const platform::Rect& cell, int rowLeft,
                        int rowRight, const std::string& text) const;

    // ---- Store hooks ----------------------------------------------------------------
    void RedrawDataPage() override;
    void ApplyPendingRename() override;
    void StopSyncTimer() override;
    void HideDataSheet() override;
    void ClearProgressState() override;
    void ResetDependentChoices() override;
    void DropParameterConditions(int globalIndex) override;
    void MarkSceneForRebuild() override;
    void RequestRepaint() override;
    void ShowStoreMessage(const std::string& text) override;

    // ---- Imports (bodies in the import files) -----------------------------------------
    // Import state kept from the last text import; read again by the periodic re-read.
    std::string lastFolder;                // folder of the last chosen file
    std::string documentFolder;            // folder of the current document, no trailing '/'
    std::string importSeparators;          // tab, line feed and the typed separators
    std::int32_t importFieldCount = 0;     // fields of the first line
    std::int32_t importParameterCount = 0; // selected fields
    std::int32_t importRecordCount = 0;    // records stored by the last read
    std::vector<std::string> importNames;  // parameter names of the new series
    std::int32_t importHasHeader = 0;      // the first line holds the names
    std::int32_t firstLinePending = 0;     // the next line read is the file's first
    std::vector<std::string> clipboardFields;  // fields of the clipboard line being read

    // "Text file": the whole text import command.
    void OnOpenTextDataFile();
    // Reads fileNameBuffer with the import state and appends the new series.
    void ReadTextFile();
    // The macro runner's choice of the fields that ReadTextFile reads: the fields of
    // fileNameBuffer's first line named in entries (byNames 1, ignoring case) or numbered
    // there from 0 (byNames 0); an empty list chooses every field. Returns the number of
    // fields chosen, or -1 when the file can't be read (the reason is shown) or the store
    // can't take a series of them.
    int ReadTextFileForMacro(const std::vector<std::string>& entries, int byNames);
    // "Clipboard": the whole clipboard import command.
    void ReadClipboard();
    // "Database": the whole database import command.
    void ReadDatabase();
    // A database field value as text by its type; 0 for a type that gives no text.
    static int FieldValueToText(platform::AccessFieldType fieldType, const platform::AccessValue& value,
                                std::string& text);
    // Starts timer 2 with the period of the synchronisation dialog.
    void StartSyncTimer();
    // Timer 2: replaces the records of the only series with the file's current content.
    void RereadSynchronizedFile();

private:
    void ConnectDataSheet();
    void CreateTableView();
    void FillShapeCombo();
    void FillColorCombo();
    void AfterMarkChange();
    void HideRenameEdit();
    void OpenRenameEdit(const platform::Rect& cell, const std::string& text);
    void SetMarkCombosFromSelection();
    Initial* SelectedValueParameter();

    std::unique_ptr<SeriesTableView> tableView_;
    std::int32_t editIsSeries_ = 0;  // what the open rename edit renames
};

extern data theData;
