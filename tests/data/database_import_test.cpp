// The database import on the real Access fixtures (read where they lie), checked against
// mdbtools' own mdb-export run live as an independent oracle, and the import's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
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

// mdb-export's table, tab-separated and unquoted (the names hold commas): header and rows.
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
    FILE* pipe = popen(("mdb-export -Q -e -d '\t' '" + kDir + file + "' '" + table + "'").c_str(), "r");
    Export e;
    std::vector<std::string> row(1);
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\t') {
            row.emplace_back();
        } else if (c != '\n') {
            row.back() += static_cast<char>(c);
        } else {
            (e.header.empty() ? e.header : e.rows.emplace_back()) = row;
            row.assign(1, "");
        }
    }
    if (pipe) pclose(pipe);
    return e;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

// What the user does in the two steps of the "Tables" dialog.
// (Every member has an initializer so that a choice can name only what it sets.)
struct DbChoice {
    std::vector<std::string> tables = {};  // selected in the table list
    std::string statement = {};            // typed
    bool cancelTables = false;
    std::vector<std::string> skipFields = {};  // deselected in the field list
    bool cancelFields = false;
};

// A step that notes the items the dialog lists, then closes it or sets the named items to
// `select` (and the statement, when given) and presses OK.
std::function<void(platform::Dialog&)> TablesStep(std::vector<std::string>& seen, const std::vector<std::string>& names,
                                                  bool select, bool cancel, const std::string* statement) {
    return [&seen, names, select, cancel, statement](platform::Dialog& dialog) {
        auto& tables = static_cast<Tables&>(dialog);
        platform::Control list = tables.Control(Tables::kNameList);
        for (int i = 0; i < list.Count(); ++i) seen.push_back(list.ItemText(i));
        if (cancel) {
            tables.OnClose();
            return;
        }
        for (const std::string& name : names) {
            int at = list.Count() - 1;
            while (at >= 0 && list.ItemText(at) != name) --at;
            list.SetSelected(at, select);
        }
        if (statement) tables.Control(Tables::kSqlEdit).SetText(*statement);
        tables.Control(Tables::kOkButton).Click();
    };
}

// Runs ReadDatabase on the file; returns the items the table step and the field step listed.
std::array<std::vector<std::string>, 2> RunDatabaseImport(data& page, platform::ScriptedDialogs& dialogs,
                                                          const std::string& path, const DbChoice& choice) {
    std::array<std::vector<std::string>, 2> seen;
    dialogs.fileAnswers.push_back(path);
    dialogs.modalSteps.push_back(TablesStep(seen[0], choice.tables, true, choice.cancelTables, &choice.statement));
    dialogs.modalSteps.push_back(TablesStep(seen[1], choice.skipFields, false, choice.cancelFields, nullptr));
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
    const auto seen = RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", {.tables = {"Fruit"}, .skipFields = {"Fruit"}});

    EXPECT_EQ(seen[0], (std::vector<std::string>{"Dried", "Fruit", "Fruit Salad", "Muffin/Bread", "Veggie Salad"}));
    std::vector<std::string> sorted = e.header;
    std::sort(sorted.begin(), sorted.end(), LessNoCase);
    EXPECT_EQ(seen[1], sorted);

    // The parameters follow the list's alphabetical order; rows with an empty (null) value
    // in a chosen field are left out and reported.
    sorted.erase(std::find(sorted.begin(), sorted.end(), "Fruit"));
    std::vector<double> expected;
    int rejected = 0;
    for (const auto& row : e.rows) {
        std::vector<double> record;
        for (const std::string& name : sorted) {
            const std::string& field = row.at(std::find(e.header.begin(), e.header.end(), name) - e.header.begin());
            if (field.empty()) break;
            record.push_back(std::strtod(field.c_str(), nullptr));
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
}

TEST(DatabaseImport, MixedTypesStatementsAndTheirRules) {
    REQUIRE_ORACLE();
    for (const char* file : {"V1997_test.mdb", "V2010_test.accdb"}) {
        SCOPED_TRACE(file);
        const Export e = RunExport(file, "Table1");
        platform::ScriptedDialogs dialogs;
        data page;
        RunDatabaseImport(page, dialogs, kDir + file, {.tables = {"Table1"}, .skipFields = {"A", "B", "C", "G", "H", "I"}});
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
    platform::ScriptedDialogs dialogs;
    data page;
    DbChoice choice{.statement = "SELECT Sugar, Fat FROM Fruit WHERE Fat > 0"};
    RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", choice);
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"Fat", "Sugar"}));
    EXPECT_EQ(SeriesValues(page, 0), fatAndSugar);
    choice.tables = {"Fruit", "Dried"};  // several: the last in alphabetical order
    choice.skipFields = {"Fiber", "Protien", "Sugar", "Vit A", "Vit B1", "Vit B2", "Vit B6", "Vit C", "Vit E"};
    EXPECT_EQ(RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", choice)[1].size(), 11u);
    // The text field with the fruit's names: every row is reported, none read, no series added.
    EXPECT_EQ(page.series.size(), 1u);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{SkipReport(37, 0)});
}

TEST(DatabaseImport, RefusalsAndFailuresLeaveTheStoreAsItWas) {
    REQUIRE_FIXTURES();
    platform::ScriptedDialogs dialogs;
    data page;
    const std::vector<std::string> allButFat = {"Fruit", "Fiber", "Protien", "Sugar", "Vit A",
                                                "Vit B1", "Vit B2", "Vit B6", "Vit C", "Vit E"};
    RunDatabaseImport(page, dialogs, kDir + "fruit.mdb", {.tables = {"Fruit"}, .skipFields = allButFat});
    ASSERT_EQ(page.series.size(), 1u);
    const std::vector<double> before = page.allValues;

    // The reader's own words for a failed open or statement are what the user is shown.
    const std::string unsupported = "SELECT Fat FROM Fruit ORDER BY Fat";
    import_test::TempFile notAccess("1 2 3\n", "numbers.mdb");
    platform::AccessDatabase fruit, numbers;
    ASSERT_TRUE(fruit.Open(kDir + "fruit.mdb"));
    ASSERT_FALSE(fruit.Execute(unsupported));
    ASSERT_FALSE(numbers.Open(notAccess.Path()));

    // The store's refusal of another parameter count is checked with the store, "Nothing to read"
    // with the text import.
    struct Case {
        const char* what;
        std::string file;
        DbChoice choice;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"a byte field", "V1997_test.mdb", {.tables = {"Table1"}, .skipFields = {"A", "B", "D", "E", "F", "G", "H", "I"}},
         {"One of the chosen fields has not text or numerical type\nNo data can be extracted."}},
        {"neither a table nor a statement", "fruit.mdb", {},
         {"Cannot open dataset. Check SQL syntax or content of database."}},
        {"a statement the reader cannot run", "fruit.mdb", {.statement = unsupported}, {fruit.Error()}},
        {"a database without tables", "V2016_empty.accdb", {},
         {"Cannot to open database. Check your file and try again."}},
        {"not an Access file", notAccess.Path(), {}, {numbers.Error()}},
        {"cancelled table choice", "fruit.mdb", {.cancelTables = true}, {}},
        {"cancelled field choice", "fruit.mdb", {.tables = {"Fruit"}, .skipFields = allButFat, .cancelFields = true}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedDialogs d;
        RunDatabaseImport(page, d, c.file[0] == '/' ? c.file : kDir + c.file, c.choice);
        EXPECT_EQ(d.Messages(), c.messages);
        EXPECT_EQ(page.series.size(), 1u);
        EXPECT_EQ(page.allValues, before);
    }
}

AccessValue Number(double v) {
    AccessValue value;
    value.isNull = false;
    value.number = v;
    return value;
}

AccessValue TextValue(const std::string& s) {
    AccessValue value;
    value.isNull = s.empty();
    value.text = s;
    return value;
}

TEST(DatabaseImport, FieldValuesKeepTheirDigits) {
    using enum AccessFieldType;
    struct Case {
        AccessFieldType type;
        AccessValue value;
        int textResult;
        std::string text;
        bool read;
        double number;
    };
    const Case cases[] = {
        {Double, Number(1234567.89), 1, "1234567.89", true, 1234567.89},
        {Single, Number(0.1f), 1, "0.1", true, 0.1},
        {Long, Number(-333333333), 1, "-333333333", true, -333333333},
        {Text, TextValue("12.5  "), 1, "12.5  ", true, 12.5},
        {Text, TextValue("3/4/2002"), 1, "3/4/2002", true, 2002 + 63 / 365.0},
        {Text, TextValue("12abc"), 1, "12abc", false, 0},
        {Text, TextValue("   "), 1, "   ", false, 0},
        {Text, TextValue(""), 1, "", false, 0},
        {Double, AccessValue{}, 1, "", false, 0},
        {Double, Number(std::numeric_limits<double>::quiet_NaN()), 1, "nan", false, 0},
        {Byte, Number(2), 0, "", false, 0},
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
    std::ifstream in(kDir + "V1997_test.mdb", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.at(94236) = static_cast<char>(bytes[94236] ^ 0x40);
    const import_test::TempFile corrupt(bytes, "corrupt.mdb");

    platform::AccessReaderProcess::Limits& limits = platform::AccessReaderProcess::CurrentLimits();
    const platform::AccessReaderProcess::Limits saved = limits;
    limits.silenceMs = 1000;
    limits.memoryMb = 8192;
    platform::ScriptedDialogs dialogs;
    data page;
    dialogs.fileAnswers.push_back(corrupt.Path());
    page.ReadDatabase();
    limits = saved;
    EXPECT_EQ(dialogs.Messages(),
              std::vector<std::string>{"The database could not be read: the reader sent nothing for 1 s."});
    EXPECT_TRUE(page.allValues.empty());
}

}  // namespace
