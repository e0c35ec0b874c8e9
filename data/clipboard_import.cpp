// "Paste from clipboard": tab-separated rows of text, as spreadsheets put them on the
// clipboard, become a new series; the first row gives the names or the first record.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "data/clipboard_text.h"
#include "data/data_page.h"
#include "data/import_routines.h"
#include "data/name_limit.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"

namespace {

constexpr int kClipboardProgressKind = 10;
constexpr std::size_t kClipboardProgressStep = 10000;

// The fields as numbers; false when one is not finite (1e400).
bool FiniteValues(const std::vector<std::string>& fields, std::vector<double>& values) {
    values.resize(fields.size());
    for (std::size_t j = 0; j < fields.size(); ++j) {
        values[j] = RecordText::TextToValue(fields[j]);
        if (!std::isfinite(values[j])) return false;
    }
    return true;
}

}  // namespace

void data::ReadClipboard() {
    if (!platform::HasClipboardText()) return;
    const std::string text = platform::ClipboardText();

    importRecordCount = 0;
    ClipboardLines lines(text);
    const char* begin;
    const char* end;
    if (!lines.Next(begin, end)) {
        platform::MessageBox("Clipboard is empty");
        return;
    }
    importNames.clear();
    importHasHeader = 0;
    SplitClipboardLine(begin, end, clipboardFields);
    bool namesCut = false;
    for (const std::string& field : clipboardFields) {
        importNames.push_back(field.substr(0, kMaxNameBytes + 1));  // enough to cut at a character
        namesCut = LimitNameLength(importNames.back()) || namesCut;
        if (nonNumericTable.Holds(field)) importHasHeader = 1;
    }
    importFieldCount = static_cast<std::int32_t>(clipboardFields.size());
    if (!CheckNewSeriesShape(importFieldCount, pendingSeries)) return;
    if (namesCut && importHasHeader == 1) platform::MessageBox(NamesCutText());
    const ImportTicket ticket = TakeImportTicket(*this);

    ImportBuffer buffer;
    std::vector<double> record(clipboardFields.size());
    if (importHasHeader == 0) {
        for (int j = 0; j < importFieldCount; ++j) importNames[static_cast<std::size_t>(j)] = DefaultParameterName(j);
        if (FiniteValues(clipboardFields, record)) {
            for (double value : record) buffer.Append(value);
            importRecordCount = 1;
        }
    }

    const std::size_t length = text.size();
    std::size_t threshold = kClipboardProgressStep;
    const std::size_t fieldCount = static_cast<std::size_t>(importFieldCount);
    while (lines.Next(begin, end)) {
        const std::size_t consumed = lines.Consumed();
        if (consumed > threshold) {
            int current, total;
            ProgressFraction(static_cast<long long>(consumed), static_cast<long long>(length), current, total);
            SetProgress(kClipboardProgressKind, "Reading clipboard", current, total);
            threshold += kClipboardProgressStep;
            if (StoreChangedSince(*this, ticket)) {
                importNames.clear();
                clipboardFields.clear();
                return;
            }
        }
        if (!SplitNumericClipboardLine(begin, end, clipboardFields, fieldCount)) continue;
        if (clipboardFields.size() != fieldCount || !FiniteValues(clipboardFields, record)) continue;
        if (importRecordCount == INT32_MAX) break;
        for (double value : record) buffer.Append(value);
        ++importRecordCount;
    }

    // Rows without a record add no series.
    if (importRecordCount == 0) {
        platform::MessageBox("Nothing to read");
    } else {
        AddImportedSeries(*this, ticket, buffer, importRecordCount, importNames);
    }
    importNames.clear();
    clipboardFields.clear();
}
