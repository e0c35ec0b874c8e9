#include "data/data_page.h"

#include <algorithm>
#include <cstdio>

#include "charts/result_document.h"
#include "data/data_edit.h"
#include "data/data_page_list.h"
#include "data/data_page_widgets.h"
#include "data/point_marks.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "platform/text_metrics.h"

data theData;

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr unsigned kHiddenOff = platform::kStyleHidden | platform::kStyleDisabled;
constexpr int kIconSide = 24;
constexpr std::size_t kStartFolderLimit = 100;

platform::DialogTemplate DataTemplate() {
    platform::DialogTemplate t;
    t.id = data::kTemplateId;
    t.caption = "Data";
    t.cx = 350;
    t.cy = 242;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({data::kHeaderText, ControlKind::Static,
                 "    Value    | Argument |   Inactive  | Marker | Selection  |", 5, 3, 340, 10});
    c.push_back({data::kSeriesList, ControlKind::ListView, "", 5, 14, 340, 130});
    c.push_back({data::kRenameEdit, ControlKind::Edit, "", 5, 14, 60, 12, kHiddenOff});
    c.push_back({data::kMarkerGroup, ControlKind::GroupBox, "Marker:", 5, 148, 135, 36});
    c.push_back({data::kShapeCombo, ControlKind::ComboBox, "", 11, 161, 40, 120});
    c.push_back({data::kColorCombo, ControlKind::ComboBox, "", 55, 161, 40, 120});
    c.push_back({data::kSizeCombo, ControlKind::ComboBox, "", 99, 162, 36, 120});
    c.push_back({data::kOkButton, ControlKind::Button, "Ok", 5, 190, 40, 14, platform::kStyleHidden});
    c.push_back({data::kSeriesGroup, ControlKind::GroupBox, "Data series", 205, 148, 140, 90});
    c.push_back({data::kAddButton, ControlKind::Button, "Add", 210, 160, 63, 16, kOwnerDraw});
    c.push_back({data::kInsertButton, ControlKind::Button, "Insert", 277, 160, 63, 16, kOwnerDraw});
    c.push_back({data::kModifyButton, ControlKind::Button, "Modify", 210, 179, 63, 16, kOwnerDraw});
    c.push_back({data::kDeleteButton, ControlKind::Button, "Delete", 277, 179, 63, 16, kOwnerDraw});
    c.push_back({data::kMakeAllInactiveButton, ControlKind::Button, "Make all inactive", 210, 198, 63, 16, kOwnerDraw});
    c.push_back({data::kDeleteAllButton, ControlKind::Button, "Delete all", 277, 198, 63, 16, kOwnerDraw});
    c.push_back({data::kShowSheetButton, ControlKind::Button, "Show data sheet", 210, 217, 130, 16, kOwnerDraw});
    c.push_back({data::kTextFileButton, ControlKind::Button, "Text file", 5, 208, 32, 14, kHiddenOff});
    c.push_back({data::kDatabaseButton, ControlKind::Button, "Database", 39, 208, 32, 14, kHiddenOff});
    c.push_back({data::kClipboardButton, ControlKind::Button, "Clipboard", 73, 208, 32, 14, kHiddenOff});
    c.push_back({data::kImageButton, ControlKind::Button, "Image", 107, 208, 32, 14, kHiddenOff});
    c.push_back({data::kIntegerEdit, ControlKind::Edit, "", 5, 226, 32, 12, kHiddenOff});
    return t;
}

const platform::DialogTemplateRegistration registration(DataTemplate());

platform::Font MakeFont(const char* face, int height, int weight) {
    platform::Font f;
    f.height = height;
    f.weight = weight;
    f.faceName = face;
    return f;
}

bool SeriesMarkStyle(std::uint32_t index, resultDocument::SeriesMarkStyle& style) {
    if (index >= theData.parameters.size()) return false;
    const Initial& p = theData.parameters[index];
    style.color = static_cast<platform::ColorRef>(p.color);
    style.markShape = p.markShape;
    return true;
}

void SeriesMarkDraw(platform::Canvas& dc, int markShape, int cx, int cy, int halfSize, platform::ColorRef color,
                    platform::ColorRef fill) {
    DrawMarker(dc, cx, cy, halfSize, markShape, color, fill);
}

}  // namespace

data::data()
    : Dialog(kTemplateId),
      listFont(MakeFont("Ariel", 16, platform::kWeightMedium)),
      captionFont(MakeFont("Times", 18, platform::kWeightSemiBold)),
      nullPen(platform::PenStyle::Null, 1, platform::kBlack),
      tickPen(platform::PenStyle::Solid, 3, platform::kBlack),
      whiteBrush(platform::kWhite) {
    RouteCommand(kOkButton, &data::OnOk);
    RouteCommand(kAddButton, &data::OnAddData);
    RouteCommand(kInsertButton, &data::OnInsert);
    RouteCommand(kModifyButton, &data::OnModifyParameter);
    RouteCommand(kDeleteButton, &data::OnDeleteParameterButton);
    RouteCommand(kMakeAllInactiveButton, &data::OnMakeAllInactiveButton);
    RouteCommand(kDeleteAllButton, &data::OnDeleteAllButton);
    RouteCommand(kShowSheetButton, &data::ToggleDataSheet);
    RouteCommand(kTextFileButton, &data::OnOpenTextDataFile);
    RouteCommand(kDatabaseButton, &data::ReadDatabase);
    RouteCommand(kClipboardButton, &data::ReadClipboard);
    RouteCommand(kImageButton, &data::OnImage);
    RouteCommand(kNormalizeAllCommand, &data::OnNormalizeAll);
    Route(kShapeCombo, platform::Notification::SelChange, &data::OnCloseUpMarkShape);
    Route(kColorCombo, platform::Notification::SelChange, &data::OnCloseUpMarkColor);
    Route(kSizeCombo, platform::Notification::SelChange, &data::OnCloseUpMarkSize);
}

data::~data() = default;

// ---- Set-up ---------------------------------------------------------------------------

bool data::OnInitDialog() {
    saveUndoRequest = 0;
    syncTimerOn = 0;
    // The page's icons are program resources the layer does not load; the pens, brush and
    // fonts are made with the page.
    dateFormatFlag = 1;
    FillMarkPalette();
    SetKeysEndDialog(false);

    ConnectDataSheet();
    CreateTableView();
    SetControlFont(Control(kRenameEdit), listFont);
    const std::string folder = platform::CurrentDirectory();
    startFolder = folder.substr(0, std::min(folder.size(), kStartFolderLimit));
    defaultName = "default";

    FillShapeCombo();
    Control(kShapeCombo).SetCurSel(kShapeItemNone);
    FillColorCombo();
    Control(kColorCombo).SetCurSel(kColorItemChoose);
    platform::Control size = Control(kSizeCombo);
    size.ResetContent();
    for (int i = 0; i <= 10; ++i) size.AddString(std::to_string(i));
    size.AddString("auto");
    size.SetCurSel(0);

    if (tableView_) tableView_->SetBackground(kListBackground);
    SetListHeader();
    FitButtonCaptions();
    RefreshSeriesList(1);
    selectedParameter = -1;
    selectedRow = -1;
    selectedSeries = -1;
    SetDefaultButton(kOkButton);
    // The page starts before any data exist; the parameter records go with the series.
    if (series.empty()) parameters.clear();
    UpdateButtonStates();
    ApplyPendingRename();
    for (int id : {kOkButton, kIntegerEdit, kTextFileButton, kDatabaseButton, kClipboardButton, kImageButton,
                   kRenameEdit}) {
        Control(id).Show(false);
        if (id != kOkButton) Control(id).Enable(false);
    }

    resultDocument::markStyleHook = SeriesMarkStyle;
    resultDocument::markDrawHook = SeriesMarkDraw;
    Invalidate();
    return true;
}

void data::ConnectDataSheet() {
    // The sheet's current series and window; its refill comes with the sheet's grid.
    if (!links.sheetCurrentSeries) links.sheetCurrentSeries = [] { return theDataEdit.currentSeries; };
    if (!links.sheetSetCurrentSeries)
        links.sheetSetCurrentSeries = [](int s, int top) {
            theDataEdit.currentSeries = s;
            theDataEdit.topRecord = top;
        };
    if (!links.sheetIsVisible) links.sheetIsVisible = [] { return theDataEdit.HasWindow() && theDataEdit.IsVisible(); };
    if (!links.sheetShow)
        links.sheetShow = [](bool show) {
            if (theDataEdit.HasWindow()) theDataEdit.Show(show);
        };
}

void data::CreateTableView() {
    tableView_ = std::make_unique<SeriesTableView>(*this, Control(kSeriesList));
    if (!tableView_->IsValid()) {
        tableView_.reset();
        return;
    }
    tableView_->SetFont(listFont);
    tableView_->SetHeaderLine(Control(kHeaderText));
}

void data::FillShapeCombo() {
    shapeIcons.clear();
    for (int shape = 0; shape < 16; ++shape) {
        platform::Bitmap icon(kIconSide, kIconSide, kListBackground);
        platform::Canvas dc(icon);
        Initial sample;
        sample.color = 0;
        sample.markShape = shape;
        sample.markSize = 6;
        DrawMarkerSample(dc, kIconSide / 2, kIconSide / 2, sample, kListBackground);
        shapeIcons.push_back(std::move(icon));
    }
    SetComboPictures(Control(kShapeCombo), shapeIcons, kIconSide);
}

void data::FillColorCombo() {
    colorIcons.clear();
    for (int i = 0; i < kColorItemChoose; ++i) {
        platform::Bitmap icon(kIconSide, kIconSide, kListBackground);
        platform::Canvas dc(icon);
        dc.FillRect({3, 3, kIconSide - 3, kIconSide - 3}, static_cast<platform::ColorRef>(PaletteColor(i)));
        colorIcons.push_back(std::move(icon));
    }
    // The last item opens the colour dialog: four colours in one square.
    platform::Bitmap other(kIconSide, kIconSide, kListBackground);
    platform::Canvas dc(other);
    const int m = kIconSide / 2;
    dc.FillRect({3, 3, m, m}, 0x0000FF);
    dc.FillRect({m, 3, kIconSide - 3, m}, 0x00FF00);
    dc.FillRect({3, m, m, kIconSide - 3}, 0xFF0000);
    dc.FillRect({m, m, kIconSide - 3, kIconSide - 3}, 0x00FFFF);
    colorIcons.push_back(std::move(other));
    SetComboPictures(Control(kColorCombo), colorIcons, kIconSide);
}

bool data::OnCtlColor(int controlId, platform::CtlColor& out) {
    constexpr platform::ColorRef kBlackBack = platform::kBlack;
    auto textOn = [&out](platform::ColorRef text, platform::ColorRef back) {
        out.hasText = true;
        out.text = text;
        out.back = back;
        out.brush = back;
        return true;
    };
    switch (controlId) {
        case 0:
            out.hasText = false;
            out.brush = kBlackBack;
            return true;
        case kRenameEdit: return textOn(kRenameEditText, kRenameEditBack);
        case kMarkerGroup: return textOn(0xFFAAFF, kBlackBack);
        case kHeaderText: return textOn(0xB4FFFF, kBlackBack);
        case kSeriesGroup: return textOn(0xFFC8C8, kBlackBack);
        default: return false;
    }
}

void data::OnPaint() {
    platform::ClientDC dc(*this);
    dc.FillRect(ClientRect(), platform::kBlack);
}

void data::SetListHeader() {
    platform::Control list = Control(kSeriesList);
    if (!list.IsValid() || !tableView_) return;
    while (list.ColumnCount() > 0) list.DeleteColumn(0);
    const int roleWidth = tableView_->TextWidth("Value          ") + 5;
    list.InsertColumn(kColumnValue, "Value          ", roleWidth);
    list.InsertColumn(kColumnArgument, "  Argument", roleWidth);
    list.InsertColumn(kColumnInactive, "Inactive", roleWidth);
    list.InsertColumn(kColumnMarker, "", tableView_->TextWidth("       Select       ") + 12);
    list.InsertColumn(kColumnSelect, "", 30);
}

void data::FitRoleColumns() {
    platform::Control list = Control(kSeriesList);
    if (!list.IsValid() || !tableView_ || list.ColumnCount() <= kColumnInactive) return;
    // Measured in the font the cells are painted in, with the cell's indent before the text.
    const platform::TextMetrics& metrics = platform::MetricsFor(listFont);
    int width = tableView_->TextWidth("Value          ") + 5;
    // A name in the Inactive column stands left of the row-high square at the cell's right end.
    const int square = tableView_->RowHeight() - 2;
    for (int row = 0; row < list.Count(); ++row) {
        for (int c = kColumnValue; c <= kColumnInactive; ++c)
            width = std::max(width, kCellTextIndent + metrics.Width(list.ItemText(row, c)) + 4 +
                                        (c == kColumnInactive ? square : 0));
    }
    for (int c = kColumnValue; c <= kColumnInactive; ++c) {
        if (tableView_->ColumnWidth(c) != width) tableView_->SetColumnWidth(c, width);
    }
}

// ---- The table ------------------------------------------------------------------------

void data::FillSeriesTable() {
    platform::Control list = Control(kSeriesList);
    if (!list.IsValid()) return;
    if (series.empty()) {
        // Rows of deleted data must not outlive them: the table is the one row "No data".
        if (list.Count() == 0) list.InsertItem(0, "No data");
        while (list.Count() > 1) list.DeleteString(list.Count() - 1);
        list.SetItemText(0, 0, "No data");
        for (int c = 1; c < list.ColumnCount(); ++c) list.SetItemText(0, c, "");
    } else if (!parameters.empty() && parameters.size() == parameterNames.size()) {
        if (tableView_) tableView_->SetBackground(kListBackground);
        int row = 0;
        auto put = [&](const std::string& c0, const std::string& c1, const std::string& c2, const std::string& c3) {
            if (row >= list.Count()) list.InsertItem(row, "");
            list.SetItemText(row, 0, c0);
            list.SetItemText(row, 1, c1);
            list.SetItemText(row, 2, c2);
            list.SetItemText(row, 3, c3);
            list.SetItemText(row, 4, "");
            ++row;
        };
        for (std::size_t s = 0; s < series.size(); ++s) {
            const Series& x = series[s];
            char records[32];
            std::snprintf(records, sizeof records, "%8d", x.nRecords);
            put(s < seriesNames.size() ? seriesNames[s] : std::string(), records, "records", "");
            for (int k = 0; k < x.nParameters; ++k) {
                const std::size_t i = static_cast<std::size_t>(x.firstParameter) + static_cast<std::size_t>(k);
                if (i >= parameters.size()) {
                    put("", "", "", "");
                    continue;
                }
                const std::string& name = parameterNames[i];
                switch (parameters[i].role) {
                    case kRoleValue: put(name, " ", " ", " "); break;
                    case kRoleArgument: put(" ", name, " ", " "); break;
                    case kRoleInactive: put(" ", " ", name, " "); break;
                    default: put("", "", "", ""); break;
                }
            }
        }
        while (list.Count() > std::max(row, 1)) list.DeleteString(list.Count() - 1);
    }
    FitRoleColumns();
    dataPageChanged = 1;
    if (tableView_) tableView_->Redraw();
}

void data::RefreshSeriesList(int restoreScroll) {
    if (!restoreScroll) {
        FillSeriesTable();
        return;
    }
    const int oldTop = tableView_ ? tableView_->TopRow() : 0;
    FillSeriesTable();
    // The buttons follow the store after every change ("Insert" only up to one series).
    UpdateButtonStates();
    if (links.sheetRefill) links.sheetRefill();
    if (tableView_ && oldTop > 0 && tableView_->TopRow() != oldTop) tableView_->ScrollRowToTop(oldTop);
}

void data::MarkActiveParameterRow() {
    platform::Control list = Control(kSeriesList);
    for (int row = 0; row < list.Count(); ++row) list.SetItemText(row, kColumnInactive, row == activeParameter ? "*" : "");
}

int data::RowToParameter(int row, int& seriesOut, int& isSeriesRow) const {
    seriesOut = -1;
    isSeriesRow = 0;
    if (series.empty() || row < 0) return -1;
    const int perSeries = series[0].nParameters + 1;
    const int s = row / perSeries;
    if (s >= static_cast<int>(series.size())) return -1;
    seriesOut = s;
    const int k = row % perSeries;
    if (k == 0) {
        isSeriesRow = 1;
        return -1;
    }
    return series[static_cast<std::size_t>(s)].firstParameter + k - 1;
}

int data::HitTestHover(platform::Point point, int& row, int& column, platform::Rect& cell, int& xInCell,
                       int& yInCell) const {
    if (!tableView_) return 0;
    const int top = tableView_->TopRow();
    const int last = std::min(tableView_->RowCount(), top + tableView_->RowsPerPage() + 1);
    for (int r = top; r < last; ++r) {
        const platform::Rect rowRect = tableView_->RowRect(r);
        if (point.y < rowRect.top || point.y >= rowRect.bottom) continue;
        for (int c = 0; c < tableView_->ColumnCount(); ++c) {
            const int width = tableView_->ColumnWidth(c);
            if (width < 2) return 0;
            const int left = tableView_->ColumnLeft(c);
            if (point.x >= left && point.x < left + width) {
                row = r;
                column = c;
                cell = {left, rowRect.top, left + width, rowRect.bottom};
                xInCell = point.x - left;
                yInCell = point.y - rowRect.top;
                return 1;
            }
        }
        return 0;
    }
    return 0;
}

platform::ColorRef data::RowBackground(int row) const {
    if (parameters.empty()) return kListBackground;
    int s = -1;
    int isSeriesRow = 0;
    const int p = RowToParameter(row, s, isSeriesRow);
    if (isSeriesRow) return kSeriesRowColor;
    if (p < 0 || p >= static_cast<int>(parameters.size())) return kListBackground;
    switch (parameters[static_cast<std::size_t>(p)].role) {
        case kRoleInactive: return kInactiveRowColor;
        case kRoleValue: return kValueRowColor;
        case kRoleArgument: return kArgumentRowColor;
        default: return kListBackground;
    }
}

// ---- Clicks on the table and the rename box ---------------------------------------------

bool data::PreTranslateInput(const platform::InputEvent& input) {
    if (input.kind == platform::InputEvent::LButtonUp && input.controlId == kSeriesList && tableView_) {
        const platform::Point origin = tableView_->ViewportOrigin();
        OnClickList({input.point.x - origin.x, input.point.y - origin.y});
        return false;
    }
    // Return in the rename box applies the name, as the hidden default "Ok" would.
    if (input.kind == platform::InputEvent::KeyDown && input.controlId == kRenameEdit &&
        input.key == platform::kKeyReturn) {
        OnOk();
        return true;
    }
    return false;
}

void data::HideRenameEdit() {
    platform::Control edit = Control(kRenameEdit);
    edit.Show(false);
    edit.Enable(false);
    Control(kOkButton).SetFocus();
}

void data::OpenRenameEdit(const platform::Rect& cell, const std::string& text) {
    platform::Control edit = Control(kRenameEdit);
    const platform::Point origin = tableView_ ? tableView_->ViewportOrigin() : platform::Point{};
    edit.Move(origin.x + cell.left - 3, origin.y + cell.top - 3, cell.Width() + 6, cell.Height() + 6);
    RaiseControl(edit);
    edit.Show(true);
    edit.Enable(true);
    edit.SetText(text);
    edit.SetFocus();
    edit.SetSelection(static_cast<int>(text.size()), static_cast<int>(text.size()));
    editIsSeries_ = selectedIsSeries;
    editPending = 1;
    dataPageChanged = 1;
}

void data::OnClickList(platform::Point point) {
    HideRenameEdit();
    selectedIsSeries = 0;
    int row = -1, column = -1, x = 0, y = 0;
    platform::Rect cell;
    if (!HitTestHover(point, row, column, cell, x, y)) return;

    int s = -1;
    int isSeriesRow = 0;
    const int p = RowToParameter(row, s, isSeriesRow);

    if (column == kColumnSelect) {
        if (series.empty()) return;
        if (row == selectedRow) {
            selectedRow = -1;
            selectedSeries = -1;
            selectedParameter = -1;
        } else {
            selectedRow = row;
            selectedParameter = p;
            if (s != selectedSeries && s >= 0) {
                selectedSeries = s;
                SelectSeries(s);
            }
        }
        RefreshSeriesList(0);
        UpdateButtonStates();
        RedrawDataPage();
        return;
    }

    if (isSeriesRow) {
        if (column != kColumnValue || s < 0 || s >= static_cast<int>(seriesNames.size())) return;
        selectedIsSeries = 1;
        editIndex = s;
        OpenRenameEdit(cell, seriesNames[static_cast<std::size_t>(s)]);
        return;
    }
    if (p < 0 || p >= static_cast<int>(parameters.size()) || p >= static_cast<int>(parameterNames.size())) return;
    const std::int32_t role = parameters[static_cast<std::size_t>(p)].role;
    const int nameColumn = role == kRoleValue      ? kColumnValue
                           : role == kRoleArgument ? kColumnArgument
                           : role == kRoleInactive ? kColumnInactive
                                                   : -1;
    if (column == nameColumn) {
        editIndex = p;
        OpenRenameEdit(cell, parameterNames[static_cast<std::size_t>(p)]);
        return;
    }
    // Roles are set on the rows of the first series only, for the column in every series.
    if (s != 0) return;
    void (DataStore::*change)() = nullptr;
    if (column == kColumnValue && role != kRoleValue) change = &DataStore::MakeActiveParameterValue;
    if (column == kColumnArgument && (role == kRoleValue || role == kRoleInactive))
        change = &DataStore::MakeActiveParameterArgument;
    if (column == kColumnInactive && (role == kRoleArgument || role == kRoleValue))
        change = &DataStore::MakeActiveParameterInactive;
    if (!change) return;
    activeParameter = p;
    (this->*change)();
    dataPageChanged = 1;
    MarkSceneForRebuild();
    UpdateButtonStates();
}

void data::ApplyPendingRename() {
    if (!editPending) return;
    UpdateData(true);
    const std::string text = Control(kRenameEdit).Text();
    if (editIsSeries_) {
        if (editIndex >= 0 && editIndex < static_cast<int>(seriesNames.size()))
            seriesNames[static_cast<std::size_t>(editIndex)] = text;
    } else if (editIndex >= 0 && editIndex < static_cast<int>(parameterNames.size())) {
        parameterNames[static_cast<std::size_t>(editIndex)] = text;
        if (editIndex < static_cast<int>(parameterTexts.size())) parameterTexts[static_cast<std::size_t>(editIndex)] = "0";
    }
    HideRenameEdit();
    RefreshSeriesList(0);
    platform::PostRepaintRequest();
    editPending = 0;
}

void data::OnOk() {
    ApplyPendingRename();
    dataModified = 1;
}

// ---- Marks ----------------------------------------------------------------------------

Initial* data::SelectedValueParameter() {
    if (selectedParameter < 0 || selectedParameter >= static_cast<int>(parameters.size())) return nullptr;
    Initial& p = parameters[static_cast<std::size_t>(selectedParameter)];
    return p.role == kRoleValue ? &p : nullptr;
}

void data::EnableMarkControls(int flag) {
    for (int id : {kShapeCombo, kColorCombo, kSizeCombo, kMarkerGroup}) Control(id).Enable(flag != 0);
    Control(kColorCombo).SetCurSel(kColorItemChoose);
    if (!flag) {
        for (int id : {kShapeCombo, kColorCombo, kSizeCombo, kMarkerGroup}) Control(id).Show(false);
        Control(kShapeCombo).SetCurSel(kShapeItemNone);
        Control(kSizeCombo).SetCurSel(0);
        return;
    }
    for (int id : {kShapeCombo, kColorCombo, kSizeCombo, kMarkerGroup}) Control(id).Show(true);
    SetMarkCombosFromSelection();
}

void data::SetMarkCombosFromSelection() {
    if (selectedParameter < 0 || selectedParameter >= static_cast<int>(parameters.size())) return;
    const Initial& p = parameters[static_cast<std::size_t>(selectedParameter)];
    Control(kShapeCombo).SetCurSel(std::clamp(p.markShape, 0, 15));
    Control(kSizeCombo).SetCurSel(p.autoSize ? kSizeItemAuto : std::clamp(p.markSize, 0, 10));
}

void data::AfterMarkChange() {
    if (tableView_) tableView_->Redraw();
    Control(kColorCombo).SetCurSel(kColorItemChoose);
    UpdateData(false);
    SetMarkCombosFromSelection();
    dataPageChanged = 1;
    Control(kOkButton).SetFocus();
    platform::PostRepaintRequest();
}

void data::OnCloseUpMarkShape() {
    Initial* p = SelectedValueParameter();
    if (!p) return;
    const int item = Control(kShapeCombo).CurSel();
    if (item < 0) return;
    p->markShape = item;
    AfterMarkChange();
}

void data::OnCloseUpMarkColor() {
    Initial* p = SelectedValueParameter();
    if (!p) return;
    const int item = Control(kColorCombo).CurSel();
    if (item >= 0 && item < kColorItemChoose) {
        p->color = static_cast<std::int32_t>(PaletteColor(item));
    } else if (item == kColorItemChoose) {
        if (const auto chosen = platform::TheDialogs().ChooseColor(static_cast<platform::ColorRef>(p->color)))
            p->color = static_cast<std::int32_t>(*chosen);
    } else {
        return;
    }
    AfterMarkChange();
}

void data::OnCloseUpMarkSize() {
    Initial* p = SelectedValueParameter();
    if (!p) return;
    const int item = Control(kSizeCombo).CurSel();
    if (item < 0) return;
    if (item < kSizeItemAuto) {
        p->markSize = item;
        p->autoSize = 0;
    } else {
        p->markSize = kSizeItemAuto;
        p->autoSize = 1;
    }
    AfterMarkChange();
}

// ---- Buttons and commands ----------------------------------------------------------------

void data::UpdateButtonStates() {
    const bool anyParameter = !parameters.empty();
    for (int id : {kDeleteButton, kDeleteAllButton, kShowSheetButton, kMakeAllInactiveButton})
        Control(id).Enable(anyParameter);

    const bool insertAllowed = series.size() <= 1;
    Control(kInsertButton).Enable(insertAllowed);
    Control(kInsertButton).Show(insertAllowed);

    if (selectedParameter >= 0 && selectedParameter < static_cast<int>(parameters.size())) {
        EnableMarkControls(parameters[static_cast<std::size_t>(selectedParameter)].role == kRoleValue);
        for (int id : {kDeleteButton, kDeleteAllButton, kMakeAllInactiveButton}) {
            Control(id).Enable(true);
            Control(id).Show(true);
        }
        Control(kModifyButton).Enable(selectedRow >= 0);
        Control(kModifyButton).Show(selectedRow >= 0);
    } else {
        EnableMarkControls(0);
        Control(kModifyButton).Show(false);
        Control(kModifyButton).Enable(false);
    }
    for (int id : {kDeleteButton, kDeleteAllButton, kMakeAllInactiveButton, kModifyButton, kAddButton, kInsertButton,
                   kShowSheetButton})
        Control(id).Invalidate();
}

void data::OnNormalizeAll() {
    for (int i = 0; i < static_cast<int>(parameters.size()); ++i) NormalizeParameter(i, 0, 1);
    RefreshSeriesList(1);
    dataModified = 1;
    platform::PostRepaintRequest();
}

void data::OnDeleteParameterButton() { OnDeleteParameter(); }

void data::OnDeleteAllButton() { OnDeleteAll(); }

void data::OnMakeAllInactiveButton() {
    OnMakeAllInactive();
    UpdateButtonStates();
}

void data::OnAddData() {
    if (links.addData) links.addData();
}

void data::OnInsert() {
    if (links.insertParameter) links.insertParameter();
}

void data::OnModifyParameter() {
    if (links.modifyParameter) links.modifyParameter();
}

void data::OnImage() {
    if (links.importImage) links.importImage();
}

void data::SelectSeries(int s) {
    const int current = links.sheetCurrentSeries ? links.sheetCurrentSeries() : -1;
    if (s == current) return;
    if (links.sheetSetCurrentSeries) links.sheetSetCurrentSeries(s, 0);
    if (links.sheetIsVisible && links.sheetIsVisible() && links.sheetRefill) links.sheetRefill();
}

void data::SelectLastSeries() {
    if (series.empty()) return;
    const int last = static_cast<int>(series.size()) - 1;
    selectedSeries = last;
    selectedRow = (series[0].nParameters + 1) * last;
    selectedParameter = -1;  // the mark stands on a series row
    UpdateButtonStates();
    SelectSeries(last);
}

void data::ToggleDataSheet() {
    const bool visible = links.sheetIsVisible && links.sheetIsVisible();
    if (!visible && !series.empty()) {
        if (links.sheetShow) links.sheetShow(true);
        Control(kShowSheetButton).SetText("Hide data");
        if (links.sheetRefill) links.sheetRefill();
    } else {
        if (links.sheetShow) links.sheetShow(false);
        Control(kShowSheetButton).SetText("Show data");
    }
    MarkSceneForRebuild();
    dataPageChanged = 1;
    platform::PostRepaintRequest();
}

// ---- Progress and the re-read timer ------------------------------------------------------

void data::SetProgress(int kind, const std::string& text, int current, int total) {
    progressState.active = 1;
    progressState.text = text;
    progressState.current = current;
    progressState.total = total;
    progressState.kind = kind;
    platform::PumpWaitingMessages();
    platform::PostRepaintRequest();
}

void data::ClearProgressState() { progressState.active = 0; }

void data::OnTimer(int id) {
    if (id != kSyncTimerId) return;
    KillTimer(kSyncTimerId);
    RereadSynchronizedFile();
    // A command run meanwhile may have stopped the re-reading for good.
    if (syncTimerOn) SetTimer(kSyncTimerId, syncIntervalMs);
}

void data::StopSyncTimer() {
    KillTimer(kSyncTimerId);
    syncTimerOn = 0;
}

// ---- Store hooks -----------------------------------------------------------------------

void data::RedrawDataPage() {
    if (tableView_) tableView_->Redraw();
    Invalidate();
}

void data::HideDataSheet() {
    if (links.sheetShow) links.sheetShow(false);
    Control(kShowSheetButton).SetText("Show data");
}

void data::ResetDependentChoices() {
    schemeFillRequest = 0;
    if (links.resetAnalysisChoices) links.resetAnalysisChoices();
}

void data::DropParameterConditions(int globalIndex) {
    if (links.dropParameterConditions) links.dropParameterConditions(globalIndex);
}

void data::MarkSceneForRebuild() {
    if (links.sceneRebuild) links.sceneRebuild();
}

void data::RequestRepaint() { platform::PostRepaintRequest(); }

void data::ShowStoreMessage(const std::string& text) { platform::MessageBox(text); }
