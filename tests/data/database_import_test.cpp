// The database import on the real Access fixtures (read where they lie), checked against
// mdbtools' own mdb-export run live as an independent oracle, and the import's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <unistd.h>

#include "data/import_routines.h"
#include "import_test_support.h"
#include "platform/access_database.h"
#include "platform/access_reader_process.h"

namespace {

using import_test::SeriesNames;
using import_test::SeriesValues;
using platform::AccessFieldType;
using platform::AccessValue;

const std::string kDir = std::string(TABULON_FIXTURES_DIR) + "/access/";

bool HaveFixtures() { return ::access((kDir + "fruit.mdb").c_str(), R_OK) == 0; }
bool HaveMdbExport() { return std::system("command -v mdb-export >/dev/null 2>&1") == 0; }

#define REQUIRE_FIXTURES() \
    if (!HaveFixtures()) GTEST_SKIP() << "no Access fixtures in " << kDir
#define REQUIRE_ORACLE()  \
    REQUIRE_FIXTURES();   \
    if (!HaveMdbExport()) GTEST_SKIP() << "mdb-export is not installed"

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// mdb-export's CSV of a table: the header and the rows (numbers unquoted, texts quoted).
struct Export {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<double> Column(const std::string& name) const {
        const std::size_t k = std::find(header.begin(), header.end(), name) - header.begin();
        std::vector<double> out;
        for (const auto& row : rows) out.push_back(std::strtod(row.at(k).c_str(), nullptr));
        return out;
    }
};

Export RunExport(const std::string& file, const std::string& table) {
    std::string out;
    FILE* pipe = popen(("mdb-export " + Quote(kDir + file) + " " + Quote(table)).c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while (pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    if (pipe) pclose(pipe);
    Export e;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (quoted) {
            if (c == '"' && i + 1 < out.size() && out[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\n') {
            row.push_back(field);
            field.clear();
            if (c == '\n') {
                if (e.header.empty()) {
                    e.header = row;
                } else {
                    e.rows.push_back(row);
                }
                row.clear();
            }
        } else {
            field += c;
        }
    }
    return e;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// What the user does in the two steps of the "Tables" dialog.
struct DbChoice {
    std::vector<std::string> tables;  // selected in the table list
    std::string statement;            // typed
    bool cancelTables = false;
    std::vector<std::string> skipFields;  // deselected in the field list
    bool cancelFields = false;
};

struct DbSeen {
    std::vector<std::string> tableItems;
    std::string tableLabel;
    std::string caption;
    std::string statementShown;
    bool statementVisible = false;
    std::vector<std::string> fieldItems;
    int fieldsSelected = 0;
    std::string fieldLabel;
    bool statementVisibleWithFields = true;
};

DbSeen RunDatabaseImport(data& page, platform::ScriptedDialogs& dialogs, const std::string& path,
                         const DbChoice& choice) {
    DbSeen seen;
    dialogs.fileAnswers.push_back(path);
    dialogs.modalSteps.push_back([&seen, choice](platform::Dialog& dialog) {
        auto& tables = static_cast<Tables&>(dialog);
        platform::Control list = tables.Control(Tables::kNameList);
        for (int i = 0; i < list.Count(); ++i) seen.tableItems.push_back(list.ItemText(i));
        seen.tableLabel = tables.Control(Tables::kListLabel).Text();
        seen.caption = tables.Caption();
        seen.statementShown = tables.Control(Tables::kSqlEdit).Text();
        seen.statementVisible = tables.Control(Tables::kSqlEdit).IsVisible();
        if (choice.cancelTables) {
            tables.OnClose();
            return;
        }
        for (const std::string& name : choice.tables) list.SetSelected(list.FindStringExact(name), true);
        tables.Control(Tables::kSqlEdit).SetText(choice.statement);
        tables.Control(Tables::kOkButton).Click();
    });
    dialogs.modalSteps.push_back([&seen, choice](platform::Dialog& dialog) {
        auto& tables = static_cast<Tables&>(dialog);
        platform::Control list = tables.Control(Tables::kNameList);
        for (int i = 0; i < list.Count(); ++i) {
            seen.fieldItems.push_back(list.ItemText(i));
            seen.fieldsSelected += list.IsSelected(i) ? 1 : 0;
        }
        seen.fieldLabel = tables.Control(Tables::kListLabel).Text();
        seen.statementVisibleWithFields = tables.Control(Tables::kSqlEdit).IsVisible();
        if (choice.cancelFields) {
            tables.OnClose();
            return;
        }
        for (const std::string& name : choice.skipFields) list.SetSelected(list.FindStringExact(name), false);
        tables.Control(Tables::kOkButton).Click();
    });
    page.ReadDatabase();
    dialogs.modalSteps.clear();
    return seen;
}

std::string SkipReport(int skipped, int read) {
    return std::string("There are ") + std::to_string(skipped) + " records with nonnumeric letters in table,\n" +
           std::to_string(read) + " records are succesfuly read.";
}

TEST(DatabaseImport, TableOfNumbersMatchesMdbExport) {
    REQUIRE_ORACLE();
    const Export e = RunExport("fruit.mdb", "Fruit");
    ASSERT_EQ(e.rows.size(), 37u);
    platform::ScriptedDialogs dialogs;
    data page;
    DbChoice choice;
    choice.tables = {"Fruit"};
    choice.skipFields = {"Fruit"};
    const DbSeen seen = RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", choice);

    EXPECT_EQ(dialogs.shown.at(0).text, "Open database file");
    std::vector<std::string> tables = {"Dried", "Fruit", "Fruit Salad", "Muffin/Bread", "Veggie Salad"};
    EXPECT_EQ(seen.tableItems, tables);
    EXPECT_EQ(seen.tableLabel, "Select one table that contains data to analyze:");
    EXPECT_EQ(seen.caption, "Database - " + kDir + "fruit.mdb");
    EXPECT_EQ(seen.statementShown, "");
    EXPECT_TRUE(seen.statementVisible);
    EXPECT_EQ(seen.fieldLabel, "Select fields in dataset to analyse:");
    EXPECT_FALSE(seen.statementVisibleWithFields);
    std::vector<std::string> sorted = e.header;
    std::sort(sorted.begin(), sorted.end(), LessNoCase);
    EXPECT_EQ(seen.fieldItems, sorted);
    EXPECT_EQ(seen.fieldsSelected, 11);

    // The parameters follow the list's alphabetical order; rows with an empty (null) value
    // in a chosen field are left out and reported.
    sorted.erase(std::find(sorted.begin(), sorted.end(), "Fruit"));
    std::vector<double> expected;
    int rejected = 0;
    for (std::size_t r = 0; r < e.rows.size(); ++r) {
        std::vector<double> record;
        for (const std::string& name : sorted) {
            const std::size_t k = std::find(e.header.begin(), e.header.end(), name) - e.header.begin();
            if (e.rows[r].at(k).empty()) break;
            record.push_back(std::strtod(e.rows[r][k].c_str(), nullptr));
        }
        if (record.size() < sorted.size()) {
            ++rejected;
        } else {
            expected.insert(expected.end(), record.begin(), record.end());
        }
    }
    ASSERT_GT(rejected, 0);
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesNames(page, 0), sorted);
    EXPECT_EQ(page.series[0].nRecords, 37 - rejected);
    EXPECT_EQ(SeriesValues(page, 0), expected);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{SkipReport(rejected, 37 - rejected)});
    EXPECT_EQ(page.lastFolder, kDir.substr(0, kDir.size() - 1));
    EXPECT_TRUE(page.importNames.empty());
}

TEST(DatabaseImport, MixedTypesStatementsAndTheirRules) {
    REQUIRE_ORACLE();
    for (const char* file : {"V1997_test.mdb", "V2010_test.accdb"}) {
        SCOPED_TRACE(file);
        const Export e = RunExport(file, "Table1");
        platform::ScriptedDialogs dialogs;
        data page;
        DbChoice choice;
        choice.tables = {"Table1"};
        choice.skipFields = {"A", "B", "C", "G", "H", "I"};
        RunDatabaseImport(page, dialogs, kDir + file, choice);
        ASSERT_EQ(page.series.size(), 1u);
        EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"D", "E", "F"}));
        std::vector<double> expected;
        for (std::size_t r = 0; r < e.rows.size(); ++r)
            for (const char* name : {"D", "E", "F"}) expected.push_back(e.Column(name)[r]);
        EXPECT_EQ(SeriesValues(page, 0), expected);
        EXPECT_EQ(SeriesValues(page, 0).back(), 444.555);
        EXPECT_TRUE(dialogs.Messages().empty());
    }

    // A typed statement when no table is chosen; a chosen table wins over a statement.
    const Export fruit = RunExport("fruit.mdb", "Fruit");
    std::vector<double> fatAndSugar;
    for (std::size_t r = 0; r < fruit.rows.size(); ++r) {
        if (fruit.Column("Fat")[r] > 0) {
            fatAndSugar.push_back(fruit.Column("Fat")[r]);
            fatAndSugar.push_back(fruit.Column("Sugar")[r]);
        }
    }
    ASSERT_FALSE(fatAndSugar.empty());
    {
        platform::ScriptedDialogs dialogs;
        data page;
        DbChoice choice;
        choice.statement = "SELECT Sugar, Fat FROM Fruit WHERE Fat > 0";
        RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", choice);
        ASSERT_EQ(page.series.size(), 1u);
        EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"Fat", "Sugar"}));
        EXPECT_EQ(SeriesValues(page, 0), fatAndSugar);
        choice.tables = {"Fruit", "Dried"};  // several: the last in alphabetical order
        choice.skipFields = {"Fiber", "Protien", "Sugar", "Vit A", "Vit B1", "Vit B2", "Vit B6", "Vit C", "Vit E"};
        const DbSeen seen = RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", choice);
        EXPECT_EQ(seen.fieldItems.size(), 11u);
        // The text field with the fruit's names: every row is reported, none read, no series added.
        EXPECT_EQ(page.series.size(), 1u);
        EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{SkipReport(37, 0)});
        EXPECT_EQ(CheckStoreInvariants(page), "");
    }
}

TEST(DatabaseImport, RefusalsAndFailuresLeaveTheStoreAsItWas) {
    REQUIRE_FIXTURES();
    platform::ScriptedDialogs dialogs;
    data page;
    DbChoice fat;
    fat.tables = {"Fruit"};
    fat.skipFields = {"Fruit", "Fiber", "Protien", "Sugar", "Vit A", "Vit B1", "Vit B2", "Vit B6", "Vit C", "Vit E"};
    RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", fat);
    ASSERT_EQ(page.series.size(), 1u);
    const std::vector<double> before = page.allValues;

    std::string unsupportedError;
    {
        platform::AccessDatabase db;
        ASSERT_TRUE(db.Open(kDir + "fruit.mdb"));
        EXPECT_FALSE(db.Execute("SELECT Fat FROM Fruit ORDER BY Fat"));
        unsupportedError = db.Error();
    }
    std::string notAccessError;
    import_test::TempFile notAccess("1 2 3\n", "numbers.mdb");
    {
        platform::AccessDatabase db;
        EXPECT_FALSE(db.Open(notAccess.Path()));
        notAccessError = db.Error();
    }
    ASSERT_FALSE(unsupportedError.empty());
    ASSERT_FALSE(notAccessError.empty());

    struct Case {
        const char* what;
        std::string file;
        DbChoice choice;
        std::vector<std::string> messages;
    };
    DbChoice byte;
    byte.tables = {"Table1"};
    byte.skipFields = {"A", "B", "D", "E", "F", "G", "H", "I"};
    DbChoice two = fat;
    two.skipFields.pop_back();
    DbChoice nothing;
    DbChoice unsupported;
    unsupported.statement = "SELECT Fat FROM Fruit ORDER BY Fat";
    DbChoice cancelTables;
    cancelTables.cancelTables = true;
    DbChoice cancelFields = fat;
    cancelFields.cancelFields = true;
    DbChoice noField = fat;
    noField.skipFields.push_back("Fat");
    const std::string kTypeRefusal = "One of the chosen fields has not text or numerical type\nNo data can be extracted.";
    const Case cases[] = {
        {"a byte field", "V1997_test.mdb", byte, {kTypeRefusal}},
        {"another parameter count", "fruit.mdb", two,
         {"Number of parameters in additing series must be equial to existing 1\nPlease try again."}},
        {"neither a table nor a statement", "fruit.mdb", nothing,
         {"Cannot open dataset. Check SQL syntax or content of database."}},
        {"a statement the reader cannot run", "fruit.mdb", unsupported, {unsupportedError}},
        {"a database without tables", "V2016_empty.accdb", nothing,
         {"Cannot to open database. Check your file and try again."}},
        {"not an Access file", notAccess.Path(), nothing, {notAccessError}},
        {"cancelled table choice", "fruit.mdb", cancelTables, {}},
        {"cancelled field choice", "fruit.mdb", cancelFields, {}},
        {"no field chosen", "fruit.mdb", noField, {"Nothing to read"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedDialogs d;
        RunDatabaseImport(page, d, c.file[0] == '/' ? c.file : kDir + c.file, c.choice);
        EXPECT_EQ(d.Messages(), c.messages);
        EXPECT_EQ(page.series.size(), 1u);
        EXPECT_EQ(page.allValues, before);
    }
    // A cancelled file dialog asks nothing further.
    platform::ScriptedDialogs d;
    d.fileAnswers.push_back(std::nullopt);
    page.ReadDatabase();
    EXPECT_EQ(d.shown.size(), 1u);
}

AccessValue Number(AccessFieldType type, double v) {
    AccessValue value;
    value.type = type;
    value.isNull = false;
    value.number = v;
    return value;
}

AccessValue TextValue(const std::string& s) {
    AccessValue value;
    value.type = AccessFieldType::Text;
    value.isNull = s.empty();
    value.text = s;
    return value;
}

TEST(DatabaseImport, FieldValuesKeepTheirDigits) {
    struct Case {
        AccessFieldType type;
        AccessValue value;
        int textResult;
        std::string text;
        bool read;
        double number;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {AccessFieldType::Double, Number(AccessFieldType::Double, 1234567.89), 1, "1234567.89", true, 1234567.89},
        {AccessFieldType::Double, Number(AccessFieldType::Double, 3.14159265), 1, "3.14159265", true, 3.14159265},
        {AccessFieldType::Single, Number(AccessFieldType::Single, 0.1f), 1, "0.1", true, 0.1},
        {AccessFieldType::Long, Number(AccessFieldType::Long, -333333333), 1, "-333333333", true, -333333333},
        {AccessFieldType::Integer, Number(AccessFieldType::Integer, 222), 1, "222", true, 222},
        {AccessFieldType::Text, TextValue("12.5  "), 1, "12.5  ", true, 12.5},
        {AccessFieldType::Text, TextValue("3/4/2002"), 1, "3/4/2002", true, 2002 + 63 / 365.0},
        {AccessFieldType::Text, TextValue("12abc"), 1, "12abc", false, 0},
        {AccessFieldType::Text, TextValue("   "), 1, "   ", false, 0},
        {AccessFieldType::Text, TextValue(""), 1, "", false, 0},
        {AccessFieldType::Double, AccessValue{}, 1, "", false, 0},
        {AccessFieldType::Double, Number(AccessFieldType::Double, nan), 1, "nan", false, 0},
        {AccessFieldType::Byte, Number(AccessFieldType::Byte, 2), 0, "", false, 0},
        {AccessFieldType::DateTime, Number(AccessFieldType::DateTime, 2), 0, "", false, 0},
        {AccessFieldType::Currency, Number(AccessFieldType::Currency, 3.5), 0, "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = "old";
        EXPECT_EQ(data::FieldValueToText(c.type, c.value, text), c.textResult);
        EXPECT_EQ(text, c.text);
        double number = -1;
        EXPECT_EQ(DatabaseFieldNumber(c.type, c.value, number), c.read);
        if (c.read) {
            EXPECT_EQ(number, c.number);
        }
    }
}

TEST(DatabaseImport, AReaderThatLoopsIsEndedAndTheStoreIsUntouched) {
    REQUIRE_FIXTURES();
    // V1997_test.mdb with one bit changed (byte 94236, XOR 0x40) once looped inside the
    // program until memory ran out; now its reader is ended by the silence rule (shortened).
    import_test::TempFile place("");
    std::ifstream in(kDir + "V1997_test.mdb", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.at(94236) = static_cast<char>(bytes[94236] ^ 0x40);
    const std::string path = place.Folder() + "/corrupt.mdb";
    std::ofstream(path, std::ios::binary) << bytes;

    platform::AccessReaderProcess::Limits& limits = platform::AccessReaderProcess::CurrentLimits();
    const platform::AccessReaderProcess::Limits saved = limits;
    limits.silenceMs = 1000;
    limits.memoryMb = 8192;
    platform::ScriptedDialogs dialogs;
    data page;
    dialogs.fileAnswers.push_back(path);
    page.ReadDatabase();
    limits = saved;
    EXPECT_EQ(dialogs.Messages(),
              std::vector<std::string>{"The database could not be read: the reader sent nothing for 1 s."});
    EXPECT_EQ(dialogs.CountOf("modal"), 0);
    EXPECT_TRUE(page.series.empty());
    EXPECT_TRUE(page.allValues.empty());
    std::remove(path.c_str());
}

}  // namespace
