// The data sheet's commands: applying a cell, pasting, deleting, copying and saving records,
// closing the sheet, and its owner-drawn buttons.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/data_edit.h"
#include "data/data_edit_view.h"
#include "data/data_page.h"
#include "data/file_routines.h"
#include "data/modify_dialog.h"
#include "data/record_operations.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/pen.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "widgets/owner_button.h"

namespace {

constexpr const char* kNotNumeric = "Not numeric data not allowed.";

// A number or a date as the imports read them; false for any other text (also empty).
bool CellValue(const std::string& text, double& value) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
    if (begin == end) return false;
    const std::string field = text.substr(begin, end - begin);
    if (IsNonNumericField(field.c_str())) return false;
    if (field.find('/') != std::string::npos) {
        const int ok = RecordText::dateFormatFlag ? RecordText::ParseDateText(field.c_str(), value)
                                                  : RecordText::ParseDateTextDayFirst(field.c_str(), value);
        return ok != 0;
    }
    char* stop = nullptr;
    errno = 0;
    value = std::strtod(field.c_str(), &stop);
    return stop == field.c_str() + field.size() && std::isfinite(value);
}

std::string TrimNameEnds(const std::string& name) {
    std::size_t begin = 0, end = name.size();
    while (begin < end && (name[begin] == '\t' || name[begin] == '\n')) ++begin;
    while (end > begin && (name[end - 1] == '\t' || name[end - 1] == '\n')) --end;
    return name.substr(begin, end - begin);
}

// The owner-drawn buttons: fill, caption colour.
struct ButtonLook {
    int id;
    platform::ColorRef fill;
    platform::ColorRef caption;
};
constexpr ButtonLook kButtons[] = {
    {DataEdit::kGoToButton, 0xE6E1CD, 0x0AD228},   {DataEdit::kDeleteButton, 0xEBF5FF, 0x0A0AAA},
    {DataEdit::kPasteButton, 0xEBFFEB, 0x0AAA14},  {DataEdit::kCopyButton, 0xEBFFFF, 0xFF4646},
    {DataEdit::kCopyAllButton, 0xEBFFFF, 0xFF4646}, {DataEdit::kSaveAsButton, 0xFAF5FF, 0x0A9728},
    {DataEdit::kCloseButton, 0x322DFF, 0xFFFFFF},
};

}  // namespace

void DataEdit::AfterStoreChange() {
    DataStore& d = *Store();
    d.dataModified = 1;
    FillDataGrid(currentSeries, topRecord);
    if (view_) view_->Redraw();
    platform::PostRepaintRequest();
    d.RefreshSeriesList(0);
}

int DataEdit::ApplyCellText(const std::string& text, int index) {
    DataStore& d = *Store();
    if (textRowOther) {
        if (index < 0 || index >= static_cast<int>(d.parameterTexts.size())) return 0;
        d.parameterTexts[static_cast<std::size_t>(index)] = text;
        return 1;
    }
    if (textRowLast) {
        if (!SeriesValid(currentSeries) || index < 0 || index >= static_cast<int>(d.parameterTexts.size())) return 0;
        d.parameterTexts[static_cast<std::size_t>(index)] = text;
        const Series x = d.series[static_cast<std::size_t>(currentSeries)];
        std::vector<double> record(static_cast<std::size_t>(x.nParameters));
        for (int p = 0; p < x.nParameters; ++p) {
            if (!CellValue(d.parameterTexts[static_cast<std::size_t>(x.firstParameter + p)], record[static_cast<std::size_t>(p)])) {
                platform::MessageBox(kNotNumeric);
                return 0;
            }
        }
        const std::size_t at = static_cast<std::size_t>(x.firstValue) + static_cast<std::size_t>(x.nRecords) * x.nParameters;
        d.allValues.insert(d.allValues.begin() + static_cast<std::ptrdiff_t>(at), record.begin(), record.end());
        ResizeSeriesRecords(d, currentSeries, 1);
        d.dataModified = 1;
        d.RefreshSeriesList(0);
        return 1;
    }
    double value = 0;
    if (!CellValue(text, value)) {
        platform::MessageBox(kNotNumeric);
        return 0;
    }
    if (index < 0 || index >= static_cast<int>(d.allValues.size())) return 0;
    d.allValues[static_cast<std::size_t>(index)] = value;
    d.NoteStoreChanged();
    d.dataModified = 1;
    return 1;
}

void DataEdit::OnOk() {
    if (editing) {
        const std::string text = Control(kCellEdit).Text();
        if (ApplyCellText(text, cellIndex)) {
            ++currentColumn;
            NormalizeCellPosition();
            FillDataGridAt(currentSeries, topRecord);
            BeginCellEdit(currentColumn, currentRow);
            if (view_) view_->Redraw();
            Store()->RefreshSeriesList(0);
            platform::PostRepaintRequest();
            return;  // the page is refilled; the box stays open on the next cell
        }
        HideCellEdit();  // refused with its message: Enter leaves the cell as it was
    }
    OnGoToRecord();
}

void DataEdit::OnPaste() {
    DataStore& d = *Store();
    if (!SeriesValid(currentSeries)) return;
    const Series x = d.series[static_cast<std::size_t>(currentSeries)];
    // After the topmost selected record, or after the last one.
    long long after = x.nRecords;
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty()) after = std::min<long long>(static_cast<long long>(topRecord) + rows.front() + 1, x.nRecords);

    auto finish = [&] {
        FillDataGrid(currentSeries, topRecord);
        if (view_) view_->Redraw();
        platform::PostRepaintRequest();
        d.RefreshSeriesList(0);
    };
    if (!platform::HasClipboardText()) {
        finish();
        return;
    }
    std::string text = platform::ClipboardText();
    if (!text.empty() && text.back() != '\n') text += '\n';
    // The text is walked by position: cutting lines off its front would cost the square of its length.
    std::size_t position = 0;
    std::string line;
    if (!RecordText::SplitClipboardTextAt(text, position, line)) {
        platform::MessageBox("Clipboard is empty");
        return;
    }
    std::vector<double> record;
    auto fieldsOf = [&record](const std::string& rest, std::vector<std::string>& fields, bool& numeric) {
        fields.clear();
        record.clear();
        numeric = true;
        std::size_t at = 0;
        std::string field;
        while (RecordText::SplitLineAt(rest, at, field)) {
            if (IsNonNumericField(field.c_str())) numeric = false;
            fields.push_back(field);
        }
        // A value beyond the double range (1e400) is no number either.
        for (std::size_t i = 0; i < fields.size() && numeric; ++i) {
            record.push_back(RecordText::TextToValue(fields[i]));
            numeric = std::isfinite(record.back());
        }
    };
    std::vector<std::string> fields;
    bool numeric = true;
    fieldsOf(line, fields, numeric);
    if (!numeric) {
        platform::MessageBox("Not numeric data not allowed.");
        return;
    }
    if (static_cast<int>(fields.size()) != x.nParameters) {
        platform::MessageBox("Number of columns in clipboard is not equal to data series.");
        return;
    }
    std::vector<double> values(record);
    int taken = 1;
    while (RecordText::SplitClipboardTextAt(text, position, line)) {
        fieldsOf(line, fields, numeric);
        if (!numeric || static_cast<int>(fields.size()) != x.nParameters) continue;
        values.insert(values.end(), record.begin(), record.end());
        ++taken;
    }
    const std::size_t at = static_cast<std::size_t>(x.firstValue) + static_cast<std::size_t>(after) * x.nParameters;
    d.allValues.insert(d.allValues.begin() + static_cast<std::ptrdiff_t>(at), values.begin(), values.end());
    ResizeSeriesRecords(d, currentSeries, taken);
    d.dataModified = 1;
    finish();
}

void DataEdit::OnDelete() {
    OnCopy();
    DataStore& d = *Store();
    if (!SeriesValid(currentSeries)) return;
    const Series x = d.series[static_cast<std::size_t>(currentSeries)];
    std::vector<int> records;
    for (int row : SelectedRows()) {
        const long long r = static_cast<long long>(topRecord) + row;
        if (r < x.nRecords) records.push_back(static_cast<int>(r));
    }
    if (records.empty()) return;
    // The page's records close up in one pass; the gap goes at once.
    const std::size_t n = static_cast<std::size_t>(x.nParameters);
    double* base = d.allValues.data() + x.firstValue;
    std::size_t write = static_cast<std::size_t>(records.front()) * n;
    std::size_t k = 0;
    for (int r = records.front(); r <= records.back(); ++r) {
        if (k < records.size() && records[k] == r) {
            ++k;
            continue;
        }
        std::copy(base + static_cast<std::size_t>(r) * n, base + static_cast<std::size_t>(r + 1) * n, base + write);
        write += n;
    }
    const std::size_t gapEnd = static_cast<std::size_t>(records.back() + 1) * n;
    d.allValues.erase(d.allValues.begin() + x.firstValue + static_cast<std::ptrdiff_t>(write),
                      d.allValues.begin() + x.firstValue + static_cast<std::ptrdiff_t>(gapEnd));
    ResizeSeriesRecords(d, currentSeries, -static_cast<int>(records.size()));
    AfterStoreChange();
}

std::string DataEdit::RecordsText(const std::vector<int>& records, bool header) const {
    const DataStore& d = *Store();
    std::string text;
    if (!SeriesValid(currentSeries)) return text;
    const Series& x = d.series[static_cast<std::size_t>(currentSeries)];
    if (header) {
        for (int p = 0; p < x.nParameters; ++p) {
            if (p > 0) text += '\t';
            text += TrimNameEnds(d.parameterNames[static_cast<std::size_t>(x.firstParameter + p)]);
        }
        text += '\n';
    }
    char number[40];
    for (int r : records) {
        if (r < 0 || r >= x.nRecords) continue;
        const double* v = d.allValues.data() + x.firstValue + static_cast<std::size_t>(r) * x.nParameters;
        for (int p = 0; p < x.nParameters; ++p) {
            std::snprintf(number, sizeof number, "%g", v[p]);
            if (p > 0) text += '\t';
            text += number;
        }
        text += '\n';
    }
    return text;
}

void DataEdit::OnCopy() {
    if (!SeriesValid(currentSeries)) return;
    std::vector<int> records;
    for (int row : SelectedRows()) records.push_back(topRecord + row);
    platform::SetClipboardText(RecordsText(records, false));
}

void DataEdit::OnCopyAll() {
    if (!SeriesValid(currentSeries)) return;
    std::vector<int> records(static_cast<std::size_t>(Store()->series[static_cast<std::size_t>(currentSeries)].nRecords));
    for (std::size_t r = 0; r < records.size(); ++r) records[r] = static_cast<int>(r);
    platform::SetClipboardText(RecordsText(records, true));
}

void DataEdit::OnSaveAs() {
    if (!SeriesValid(currentSeries)) return;
    platform::FileDialogRequest request;
    request.title = "File to save series of data";
    request.filter = "*.*|*.*||";
    request.initialPath = platform::CurrentDirectory() + "/" + theData.defaultName + ".txt";
    request.defaultExtension = "txt";
    const std::optional<std::string> chosen = platform::TheDialogs().SaveFile(request);
    if (!chosen) return;
    theData.fileNameBuffer = chosen->substr(0, data::kFileNameBufferSize - 1);
    std::vector<int> records(static_cast<std::size_t>(Store()->series[static_cast<std::size_t>(currentSeries)].nRecords));
    for (std::size_t r = 0; r < records.size(); ++r) records[r] = static_cast<int>(r);
    long offset = 0;
    std::FILE* file = OpenFileRetryAt(*chosen, offset, "w", 10, 20);
    if (!file) {
        platform::MessageBox("Can not open file for writing");
        return;
    }
    const std::string text = RecordsText(records, true);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) platform::MessageBox("Can not open file for writing");
}

void DataEdit::OnCloseSheet() {
    if (!CommitCellEdit()) return;
    HideCellEdit();
    if (&theDataEdit == this) {
        theData.ToggleDataSheet();
    } else {
        Show(false);
    }
}

bool DataEdit::OnDrawItem(platform::DrawItem& item) {
    const ButtonLook* look = nullptr;
    for (const ButtonLook& b : kButtons)
        if (b.id == item.controlId) look = &b;
    if (!look || !item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    platform::Rect r = DrawButtonFace(dc, item.rect, look->fill, item.pressed);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (look->id == kCloseButton) {
        const platform::Pen cross(platform::PenStyle::Solid, 2, platform::kWhite);
        const platform::Pen old = dc.SelectPen(cross);
        dc.MoveTo(r.left + 2, r.top + 2);
        dc.LineTo(r.right - 2, r.bottom - 2);
        dc.MoveTo(r.right - 2, r.top + 2);
        dc.LineTo(r.left + 2, r.bottom - 2);
        dc.SelectPen(old);
        return true;
    }
    DrawButtonCaption(dc, r, item.text, look->caption);
    return true;
}

void ConnectRecordOperations() {
    modify::RecordOperations& ops = theModify.operations;
    ops.deleteByCondition = [](int p, int mode, double a, double b) {
        if (DeleteRecordsByCondition(theData, theDataEdit.currentSeries, p, mode, a, b)) theDataEdit.Refill();
    };
    ops.scaleToRange = [](int p, double low, double high) {
        ScaleParameterToRange(theData, p, low, high);
        theDataEdit.Refill();
    };
    ops.sortRecords = [](int p, int ascending) { SortSeriesRecords(theData, p, ascending); };
    ops.splitSeries = [](int p, int parts) { SplitSeries(theData, p, parts); };
}
