// "Import from database": one table of an Access file, or the rows of a typed SELECT
// statement, becomes a new series; the user picks the table, then the fields.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/choose_file_name.h"
#include "data/data_page.h"
#include "data/import_routines.h"
#include "data/tables_dialog.h"
#include "platform/access_reader_process.h"
#include "platform/dialogs.h"
#include "platform/format.h"

namespace {

constexpr int kDatabaseProgressKind = 10;
constexpr long kRowProgressStep = 1000;

using platform::AccessFieldType;

// The field types whose values can become numbers.
bool IsReadableType(AccessFieldType type) {
    return type == AccessFieldType::Text || type == AccessFieldType::Single || type == AccessFieldType::Double ||
           type == AccessFieldType::Long || type == AccessFieldType::Integer;
}

std::string WithoutTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y && std::tolower(x) != std::tolower(y)) return false;
    }
    return true;
}

// Shortest text that reads back as the same number.
template <class T>
std::string ShortestText(T value) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

// A single as the double its shortest decimal text names (0.1f becomes 0.1, not
// 0.100000001490116).
double SingleAsDouble(double stored) {
    const std::string text = ShortestText(static_cast<float>(stored));
    return std::strtod(text.c_str(), nullptr);
}

// One chosen field of the result set.
struct ChosenField {
    std::size_t column;
    AccessFieldType type;
};

}  // namespace

bool DatabaseFieldNumber(platform::AccessFieldType type, const platform::AccessValue& value, double& out) {
    if (value.isNull) return false;
    if (type == AccessFieldType::Text) {
        const std::string text = WithoutTrailingSpaces(value.text);
        if (text.empty() || nonNumericTable.Holds(text)) return false;
        out = RecordText::TextToValue(text);
        return true;
    }
    if (!IsReadableType(type)) return false;
    // Numbers come from their stored binary form, so no digit is lost.
    out = type == AccessFieldType::Single ? SingleAsDouble(value.number) : value.number;
    return std::isfinite(out);
}

int data::FieldValueToText(platform::AccessFieldType fieldType, const platform::AccessValue& value,
                           std::string& text) {
    text.clear();
    switch (fieldType) {
        case AccessFieldType::Text:
            if (!value.isNull) text = value.text;
            return 1;
        case AccessFieldType::Single:
            if (!value.isNull) text = ShortestText(static_cast<float>(value.number));
            return 1;
        case AccessFieldType::Double:
            if (!value.isNull) text = ShortestText(value.number);
            return 1;
        case AccessFieldType::Long:
        case AccessFieldType::Integer:
            if (!value.isNull) text = platform::Format("%d", static_cast<int>(value.number));
            return 1;
        default:
            return 0;
    }
}

void data::ReadDatabase() {
    // The reader process starts while the user picks the file.
    platform::AccessReaderProcess::Prestart();
    startFolder = lastFolder;
    std::string fileTitle;
    if (!ChooseFileName(startFolder, "mdb", fileTitle, fileNameBuffer, "Open database file")) return;
    lastFolder = FolderOfPath(fileNameBuffer);

    // The file is read by a reader process; while it works the window stays alive.
    bool progressShown = false;
    auto showProgress = [this, &progressShown](const char* text, long long current, long long total) {
        int now, all;
        ProgressFraction(current, total, now, all);
        SetProgress(kDatabaseProgressKind, text, now, all);
        progressShown = true;
    };
    auto fail = [this, &progressShown](const std::string& message) {
        if (progressShown) ClearProgressState();
        importNames.clear();
        platform::MessageBox(message);
    };
    platform::AccessReaderProcess database([&] { showProgress("Reading database", 0, 1); });
    if (!database.Open(fileNameBuffer)) {
        fail(database.Error());
        return;
    }
    theTables.databaseName = database.Path();
    if (database.TableNames().empty()) {
        fail("Cannot to open database. Check your file and try again.");
        return;
    }

    // First the table or a statement.
    theTables.names = database.TableNames();
    theTables.showFields = 0;
    theTables.sqlText.clear();
    theTables.selectedName.clear();
    if (theTables.RunModal() != platform::kOk) return;
    std::string statement;
    if (!theTables.selectedName.empty()) {
        statement = "SELECT * FROM " + theTables.selectedName;
    } else if (!theTables.sqlText.empty()) {
        statement = theTables.sqlText;
    }
    theTables.names.clear();
    if (statement.empty()) {
        platform::MessageBox("Cannot open dataset. Check SQL syntax or content of database.");
        return;
    }
    if (!database.Execute(statement)) {
        fail(database.Error());
        return;
    }

    // Then the fields.
    const std::vector<platform::AccessField> fields = database.Fields();
    for (const platform::AccessField& field : fields) theTables.names.push_back(field.name);
    theTables.showFields = 1;
    if (theTables.RunModal() != platform::kOk) return;

    const int n = static_cast<int>(std::min<std::size_t>(theTables.names.size(), 32767));
    if (n < 1) {
        platform::MessageBox("Nothing to read");
        return;
    }
    if (!CheckNewSeriesShape(n, pendingSeries)) return;
    importNames.assign(theTables.names.begin(), theTables.names.begin() + n);

    std::vector<ChosenField> chosenFields;
    std::vector<std::size_t> columns;
    for (const std::string& name : importNames) {
        const std::string wanted = WithoutTrailingSpaces(name);
        ChosenField chosenField{0, AccessFieldType::Unknown};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (EqualNoCase(fields[i].name, wanted)) {
                chosenField = {i, fields[i].type};
                break;
            }
        }
        if (!IsReadableType(chosenField.type)) {
            platform::MessageBox("One of the chosen fields has not text or numerical type\nNo data can be extracted.");
            importNames.clear();
            return;
        }
        chosenFields.push_back(chosenField);
        columns.push_back(chosenField.column);
    }

    // Nothing reaches the store before the reader has sent every row.
    const ImportTicket ticket = TakeImportTicket(*this);
    ImportBuffer buffer;
    importRecordCount = 0;
    long rows = 0;
    long rejected = 0;
    long threshold = kRowProgressStep;
    bool storeChanged = false;
    std::vector<double> record(chosenFields.size());
    const bool complete = database.ReadRows(columns, [&](const std::vector<platform::AccessValue>& values, long total) {
        ++rows;
        bool readable = true;
        for (std::size_t k = 0; k < chosenFields.size() && readable; ++k)
            readable = DatabaseFieldNumber(chosenFields[k].type, values[k], record[k]);
        if (!readable) {
            ++rejected;
        } else if (importRecordCount < INT32_MAX) {
            for (double value : record) buffer.Append(value);
            ++importRecordCount;
        }
        if (rows > threshold) {
            showProgress("Reading recordset", importRecordCount, total);
            threshold += kRowProgressStep;
            storeChanged = StoreChangedSince(*this, ticket);
        }
        return !storeChanged;
    });
    database.Close();
    if (storeChanged) {
        if (progressShown) ClearProgressState();
        importNames.clear();
        return;
    }
    if (!complete) {
        fail(database.Error());
        return;
    }
    if (progressShown) ClearProgressState();

    // A read that gives no record adds no series.
    const int added = importRecordCount > 0 && AddImportedSeries(*this, ticket, buffer, importRecordCount, importNames);
    if (importRecordCount == 0 && rejected == 0) platform::MessageBox("Nothing to read");
    if (rejected > 0 && (added || importRecordCount == 0)) {
        platform::MessageBox(platform::Format("There are %d records with nonnumeric letters in table,\n%d records are "
                                              "succesfuly read.",
                                              static_cast<int>(rejected), static_cast<int>(rows - rejected)));
    }
    importNames.clear();
}
