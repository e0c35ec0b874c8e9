// "Import from text file": the file's first line is shown in the "Read from text file"
// dialog, the chosen fields of every further line become the records of a new series.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "data/choose_file_name.h"
#include "data/data_page.h"
#include "data/import_routines.h"
#include "data/name_limit.h"
#include "data/open_file_retry.h"
#include "data/record_text.h"
#include "data/synchronize_dialog.h"
#include "data/text_lines.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "widgets/text_dialog.h"

namespace {

constexpr int kTextProgressKind = 1000;
constexpr int kOpenRetries = 10;
constexpr int kOpenPauseMs = 20;
constexpr int kEstimateAfterRecords = 4096;

// The fields of the whole first line at the separator set, counted as the line streams by
// (for a line longer than the dialog was shown).
long long CountFirstLineFields(const std::string& path, const std::string& separators) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 0;
    bool isSeparator[256] = {};
    for (char c : separators) isSeparator[static_cast<unsigned char>(c)] = true;
    long long count = 0;
    bool inField = false;
    std::vector<char> block(1 << 16);
    std::size_t read;
    while ((read = std::fread(block.data(), 1, block.size(), file)) > 0) {
        for (std::size_t i = 0; i < read; ++i) {
            const unsigned char c = static_cast<unsigned char>(block[i]);
            if (c == '\n' || c == '\r') {
                std::fclose(file);
                return count;
            }
            count += !isSeparator[c] && !inField;
            inField = !isSeparator[c];
        }
    }
    std::fclose(file);
    return count;
}

long long FileLength(std::FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return 0;
    const long long length = ftello(file);
    fseeko(file, 0, SEEK_SET);
    return length < 0 ? 0 : length;
}

// The chosen fields' first-line texts in importNames become the new series' names when one
// of them is not a number (the first line is then a header), else the default names; names
// longer than the limit are cut, and namesCut tells so. False when the store can't take a
// series of `count` parameters.
bool TakeChosenFieldNames(data& page, int count, bool& namesCut) {
    namesCut = false;
    if (!page.CheckNewSeriesShape(count, page.pendingSeries)) return false;
    page.importHasHeader = 0;
    for (std::string& name : page.importNames) {
        if (IsNonNumericField(name.c_str())) page.importHasHeader = 1;
        namesCut = LimitNameLength(name) || namesCut;
    }
    if (page.importHasHeader == 0) {
        namesCut = false;
        page.importNames.clear();
        for (int j = 0; j < count; ++j) page.importNames.push_back(DefaultParameterName(j));
    }
    page.importRecordCount = 0;
    page.importParameterCount = static_cast<std::int32_t>(page.importNames.size());
    return true;
}

}  // namespace

int data::ReadTextFileForMacro(const std::vector<std::string>& entries, int byNames) {
    std::string why;
    std::FILE* file = OpenChosenFile(fileNameBuffer, "r", kOpenRetries, kOpenPauseMs, why);
    if (file == nullptr) {
        platform::MessageBox(why);  // what the read itself would say
        return -1;
    }
    // The fields as the line reader gives them: never more of the line than it keeps.
    TextLineReader reader(file, importSeparators.c_str());
    const int count = reader.Next();
    std::vector<std::string> fields(static_cast<std::size_t>(count) + 1);
    for (int k = 1; k <= count; ++k) fields[static_cast<std::size_t>(k)].assign(reader.Field(k), reader.Length(k));
    std::fclose(file);
    if (count == 0 || count > Text::kMaxFields) return -1;

    importNames.clear();
    theText2.selectedFlags.assign(static_cast<std::size_t>(count), 0);
    const auto choose = [&](int i) {
        theText2.selectedFlags[static_cast<std::size_t>(i)] = 1;
        importNames.push_back(fields[static_cast<std::size_t>(i) + 1]);
    };
    if (entries.empty()) {
        for (int i = 0; i < count; ++i) choose(i);
    }
    for (const std::string& entry : entries) {
        if (byNames) {
            for (int i = 0; i < count; ++i)
                if (strcasecmp(entry.c_str(), fields[static_cast<std::size_t>(i) + 1].c_str()) == 0) choose(i);
        } else {
            const int i = std::atoi(entry.c_str());
            if (i >= 0 && i < count) choose(i);
        }
    }
    importFieldCount = count;
    const int chosen = static_cast<int>(importNames.size());
    if (chosen == 0) return 0;
    // ReadTextFile reads the fields in file order: the names follow that order.
    importNames.clear();
    for (int i = 0; i < count; ++i)
        if (theText2.selectedFlags[static_cast<std::size_t>(i)]) importNames.push_back(fields[static_cast<std::size_t>(i) + 1]);
    bool namesCut = false;
    if (!TakeChosenFieldNames(*this, static_cast<int>(importNames.size()), namesCut)) return -1;
    if (namesCut) platform::MessageBox(NamesCutText());
    return importParameterCount;
}

void data::OnOpenTextDataFile() {
    startFolder = lastFolder;
    std::string fileTitle;
    if (!ChooseFileName(startFolder, "txt", fileTitle, fileNameBuffer, "Open text data file")) return;
    lastFolder = FolderOfPath(fileNameBuffer);

    std::string why;
    std::FILE* file = OpenChosenFile(fileNameBuffer, "r", kOpenRetries, kOpenPauseMs, why);
    if (file == nullptr) {
        platform::MessageBox(why);
        return;
    }
    // A file without a line shows an empty preview, never the last file's fields.
    bool lineCut = false;
    ReadFirstLine(file, theText2.firstLine, lineCut);
    std::fclose(file);

    if (series.empty()) {
        theText2.synchronizeRequested = 0;
        theText2.offerSynchronize = 1;
    } else {
        theText2.offerSynchronize = 0;
    }
    theText2.accepted = 0;
    theText2.RunModal();
    importSeparators = theText2.allSeparators;
    if (theText2.accepted == 0) return;
    if (theText2.fieldCount < 1) {
        platform::MessageBox("Nothing to read");
        return;
    }
    if (theText2.fieldCount > Text::kMaxFields) {
        // The count is the whole line's, though the dialog was shown only its first part.
        const long long fields = lineCut ? CountFirstLineFields(fileNameBuffer, importSeparators) : theText2.fieldCount;
        platform::MessageBox(TooManyFieldsText(static_cast<int>(std::min<long long>(fields, INT_MAX))));
        return;
    }

    importFieldCount = theText2.fieldCount;
    importParameterCount = 0;
    importNames.clear();
    std::size_t next = 0;
    for (int i = 0; i < importFieldCount && static_cast<std::size_t>(i) < theText2.selectedFlags.size(); ++i) {
        if (theText2.selectedFlags[static_cast<std::size_t>(i)] == 0) continue;
        ++importParameterCount;
        if (next >= theText2.selectedTexts.size()) continue;
        importNames.push_back(theText2.selectedTexts[next++]);
    }
    // With every field deselected there is nothing to make a series of.
    if (importParameterCount < 1) {
        platform::MessageBox("Nothing to read");
        return;
    }
    bool namesCut = false;
    if (!TakeChosenFieldNames(*this, importParameterCount, namesCut)) return;
    // A header cut short by the line's limit has its last name cut too.
    if (namesCut || (lineCut && importHasHeader == 1)) platform::MessageBox(NamesCutText());
    ReadTextFile();
    OfferSynchronizedReread(*this);
}

void data::ReadTextFile() {
    firstLinePending = 1;
    long long skipped = 0;  // lines with a non-numeric or missing selected field
    std::string why;
    std::FILE* file = OpenChosenFile(fileNameBuffer, "r", kOpenRetries, kOpenPauseMs, why);
    if (file == nullptr) {
        platform::MessageBox(why);
        importNames.clear();
        return;
    }

    const long long length = FileLength(file);
    const long long step = length > 100000 ? length / 20 : 5000;
    long long threshold = step;
    const ImportTicket ticket = TakeImportTicket(*this);
    ImportBuffer buffer;
    theText2.allSeparators = importSeparators;

    // Field i of the text is field i+1 of the line.
    std::vector<int> fieldNumbers;
    for (int i = 0; i < importFieldCount && static_cast<std::size_t>(i) < theText2.selectedFlags.size(); ++i)
        if (theText2.selectedFlags[static_cast<std::size_t>(i)] != 0) fieldNumbers.push_back(i + 1);
    const int lastField = fieldNumbers.empty() ? 0 : fieldNumbers.back();

    std::vector<double> record(fieldNumbers.size());
    TextLineReader reader(file, importSeparators.c_str());
    int count;
    while ((count = reader.Next()) != 0) {
        if (importHasHeader == 1 && firstLinePending == 1) {
            firstLinePending = 0;
            continue;
        }
        const long long position = reader.Position();
        if (position > threshold) {
            int current, total;
            ProgressFraction(position, length, current, total);
            SetProgress(kTextProgressKind, "Reading text file", current, total);
            while (threshold < position) threshold += step;
            if (StoreChangedSince(*this, ticket)) {
                std::fclose(file);
                importNames.clear();
                return;
            }
        }
        // Of a line too long to keep, only fields before its cut are whole.
        if (reader.Cut() && lastField >= count) {
            ++skipped;
            continue;
        }
        if (reader.Length(1) == 0) continue;
        // A line without every selected field is no record.
        if (lastField > count) {
            ++skipped;
            continue;
        }
        if (!ReadNumericFields(reader, fieldNumbers, record)) {
            ++skipped;
            continue;
        }
        if (importRecordCount == INT_MAX) break;
        for (double value : record) buffer.Append(value);
        ++importRecordCount;
        // From the first records on, the file's length tells how many values to expect.
        if (importRecordCount == kEstimateAfterRecords && position > 0) {
            const double perByte = static_cast<double>(buffer.Count()) / static_cast<double>(position);
            buffer.Reserve(static_cast<std::size_t>(perByte * static_cast<double>(length) * 1.02) + ImportBuffer::kBlock);
        }
    }
    std::fclose(file);

    // A read that gives no record adds no series.
    const int added = importRecordCount > 0 && AddImportedSeries(*this, ticket, buffer, importRecordCount, importNames);
    if (skipped > 0 && (added || importRecordCount == 0)) {
        platform::MessageBox(platform::Format("There are %d records with nonnumeric letters in file,\n%d records are "
                                              "succesfuly read.",
                                              static_cast<int>(skipped), static_cast<int>(importRecordCount)));
    } else if (importRecordCount == 0) {
        platform::MessageBox("Nothing to read");
    }
    importNames.clear();
}
