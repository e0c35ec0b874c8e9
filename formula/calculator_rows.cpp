// The calculator's argument file: reading its rows, parsing one row, handing the values to
// the model routines around a repaint, and writing the results file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "data/open_file_retry.h"
#include "data/text_lines.h"
#include "formula/calculator.h"
#include "formula/number_text.h"
#include "formula/split_fields.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/requests.h"
#include "widgets/text_dialog.h"

namespace {

constexpr char kRowSeparators[] = " ,;\n\t";

// The row text as written to the results file: without its line break.
std::string WithoutLineBreak(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// The commas and semicolons that separate a row's fields are in the letter set too: only
// the fields between them are tested, or no comma-separated file could be read.
bool RowHoldsLetter(const std::string& line) {
    std::vector<std::string> fields;
    SplitFields(line, kRowSeparators, fields);
    for (const std::string& field : fields) {
        if (calculator::HoldsLetter(field)) return true;
    }
    return false;
}

// The next row of the argument file without its line feed; hadBreak tells whether one ended
// it. A row longer than any row of arguments (a file without line ends) is passed over
// unkept, so memory never follows the file's size. False at the end of the file.
bool NextArgumentRow(std::FILE* in, std::string& line, bool& hadBreak) {
    constexpr std::size_t kMaxRowBytes = TextLineReader::kMaxLineBytes;
    for (;;) {
        line.clear();
        bool tooLong = false;
        int c = getc_unlocked(in);
        if (c == EOF) return false;
        for (; c != EOF && c != '\n'; c = getc_unlocked(in)) {
            if (line.size() < kMaxRowBytes) line.push_back(static_cast<char>(c));
            else tooLong = true;
        }
        hadBreak = c == '\n';
        if (!tooLong) return true;
    }
}

}  // namespace

int calculator::ParseArgumentRow(int index) {
    if (index < 0 || index >= rowCount || index >= static_cast<int>(rowTexts.size())) return -1;
    SplitFields(rowTexts[static_cast<size_t>(index)], kRowSeparators, rowFields);
    rowValueCount = 0;
    rowValues.assign(static_cast<size_t>(std::max(dataArgumentCount, 0)), 0.0);
    for (size_t k = 0; k < rowFields.size(); ++k) {
        const std::string& field = rowFields[k];
        if (HoldsLetter(field)) return -1;
        // Fields past the first line's fields have no flag: they are not read.
        const std::vector<unsigned>& flags = theText.selectedFlags;
        if (k >= flags.size() || flags[k] == 0) continue;
        if (rowValueCount >= kTableSize) continue;  // the table's 50 slots are full
        const double value = numtext::ReadReal(field);
        rowValueTable[static_cast<size_t>(rowValueCount)] = value;
        if (static_cast<size_t>(rowValueCount) < rowValues.size()) {
            rowValues[static_cast<size_t>(rowValueCount)] = value;
        } else {
            rowValues.push_back(value);
        }
        ++rowValueCount;
    }
    return rowValueCount;
}

void calculator::ClearRows() {
    rowTexts.clear();
    rowOrder.clear();
    computedValues.clear();
    rowCount = 0;
}

bool calculator::ReadArgumentRows() {
    std::FILE* in = IsRegularOrMissing(inputFile) ? std::fopen(inputFile.c_str(), "rb") : nullptr;
    if (in == nullptr) return false;
    // The order goes with the rows: a second "Do" starts both afresh.
    ClearRows();
    std::string line;
    bool hadBreak = false;
    while (NextArgumentRow(in, line, hadBreak)) {
        if (RowHoldsLetter(line)) continue;
        rowOrder.push_back(static_cast<int>(rowTexts.size()));
        rowTexts.push_back(hadBreak ? line + "\n" : line);
    }
    std::fclose(in);
    rowCount = static_cast<int>(rowTexts.size());
    return true;
}

void calculator::OnDo() {
    TakeControls();
    if (inputFile.size() < 4 || outputFile.size() < 4) {
        platform::MessageBox("You have to define files with data.");
        return;
    }
    std::string firstLine;
    bool hasLine = false;
    {
        // A FIFO or a device would block or never end; a line without an end is read only as
        // far as the dialog can use it.
        std::FILE* in = IsRegularOrMissing(inputFile) ? std::fopen(inputFile.c_str(), "rb") : nullptr;
        if (in == nullptr) {
            platform::MessageBox("Problems to open file");
            return;
        }
        bool cut = false;
        hasLine = ReadFirstLine(in, firstLine, cut);
        std::fclose(in);
    }
    if (hasLine) theText.firstLine = firstLine;
    theText.accepted = 0;  // a dialog closed any other way counts as cancelled
    theText.RunModal();
    if (theText.accepted != 1) return;
    if (theText.fieldCount < 1) {
        platform::MessageBox("Nothing to read");
        return;
    }
    int selected = 0;
    const std::vector<unsigned>& flags = theText.selectedFlags;
    for (int k = 0; k < theText.fieldCount && k < static_cast<int>(flags.size()); ++k) {
        if (flags[static_cast<size_t>(k)] != 0) ++selected;
    }
    if (selected != dataArgumentCount) {
        platform::MessageBox(platform::Format(
            "The number of selected fields in file\n is not corresponded to number of arguments ( %d )\n\nTry again.",
            dataArgumentCount));
        return;
    }
    if (!ReadArgumentRows()) {
        platform::MessageBox("Problems to open file");
        return;
    }
    if (rowCount > 0) {
        rowsPending = 1;
        // The page's flag makes the repaint recompute the chart: only the model routines
        // compute the rows' values, and the results file is written right after them.
        changed = 1;
        platform::PostRepaintRequest();
    } else {
        platform::MessageBox("No data in file");
    }
}

void calculator::BeginRepaint(int firstSeriesArgumentCount) {
    valuesText.clear();
    ParseArgumentString();
    dataArgumentCount = firstSeriesArgumentCount;
    if (typedCount != dataArgumentCount) {
        argumentsMatch = 0;
        valuesText = platform::Format("Mismatch of number of arguments. Must be %d", dataArgumentCount);
    } else if (argumentsValid != 1) {
        // A refused text keeps saying so instead of passing stale values on to the models.
        argumentsMatch = 0;
        valuesText = "Non nuneric letters in arguments string";
    } else {
        argumentsMatch = 1;
    }
}

void calculator::EndRepaint() {
    RefreshControls();
    if (!rowTexts.empty()) ClearRows();
    rowsPending = 0;
}

bool calculator::WantsTypedValue(int argumentCount) const {
    // Without an argument there is nothing to evaluate the model at.
    return argumentsValid == 1 && argumentCount >= 1 && typedCount == argumentCount;
}

void calculator::AddTypedValue(const std::string& valueName, double value) {
    valueScratch = valueName + "=" + numtext::GText(value) + "; ";
    valuesText += valueScratch;
}

void calculator::ComputeRows(int argumentCount, const std::function<double(const double*)>& model) {
    if (rowsPending != 1 || argumentCount < 1) return;
    computedValues.assign(static_cast<size_t>(std::max(rowCount, 0)), 0.0);
    for (int i = 0; i < rowCount; ++i) {
        if (ParseArgumentRow(i) == argumentCount) computedValues[static_cast<size_t>(i)] = model(rowValueTable.data());
    }
    SaveResults();
}

void SaveCalculatedData(int /*valueParameter*/) { theCalculator.SaveResults(); }

void calculator::SaveResults() {
    calculator& c = *this;
    if (c.computedValues.empty()) return;
    // Only entries that name a computed row can be written.
    const int limit = static_cast<int>(std::min(c.computedValues.size(), c.rowTexts.size()));
    std::erase_if(c.rowOrder, [limit](int r) { return r < 0 || r >= limit; });
    if (c.sortAscending == 1 || c.sortDescending == 1) {
        // Values that are not numbers go last in either order, so the ordering stays strict.
        const bool ascending = c.sortAscending == 1;
        std::stable_sort(c.rowOrder.begin(), c.rowOrder.end(), [&c, ascending](int a, int b) {
            const double va = c.computedValues[static_cast<size_t>(a)];
            const double vb = c.computedValues[static_cast<size_t>(b)];
            if (std::isnan(va)) return false;
            if (std::isnan(vb)) return true;
            return ascending ? va < vb : va > vb;
        });
    }
    std::FILE* out = std::fopen(c.outputFile.c_str(), "ab");
    if (!out) {
        platform::MessageBox("Problems to open file to save calculated data");
        c.computedValues.clear();
        return;
    }
    for (int r : c.rowOrder) {
        const std::string line = WithoutLineBreak(c.rowTexts[static_cast<size_t>(r)]) + " " +
                                 numtext::GText(c.computedValues[static_cast<size_t>(r)]) + "\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    std::fclose(out);
}
