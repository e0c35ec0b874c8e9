// The Access reader on real files, checked against mdbtools' own command-line tools
// (mdb-tables, mdb-export) run live as an independent oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <unistd.h>

#include "platform/access_database.h"
#include "platform/access_statement.h"
#include "platform/format.h"
#include "tests/documents/doc_test_support.h"

namespace platform {
namespace {

const std::string kDir = std::string(TABULON_FIXTURES_DIR) + "/access/";

bool HaveFixtures() { return ::access((kDir + "fruit.mdb").c_str(), R_OK) == 0; }

bool HaveMdbTools() { return doc_test::HaveProgram("/usr/bin/mdb-export") && doc_test::HaveProgram("/usr/bin/mdb-tables"); }

#define REQUIRE_FIXTURES() \
    if (!HaveFixtures()) GTEST_SKIP() << "no Access fixtures in " << kDir
#define REQUIRE_ORACLE()                                                                   \
    REQUIRE_FIXTURES();                                                                    \
    if (!HaveMdbTools()) GTEST_SKIP() << "mdbtools' command-line tools are not installed"

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Run(const std::string& command) {
    int status = 0;
    return doc_test::Run(command, status);
}

// The runs of s between separators; empty runs count.
std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> runs;
    size_t start = 0;
    for (size_t end; (end = s.find(separator, start)) != std::string::npos; start = end + 1)
        runs.push_back(s.substr(start, end - start));
    runs.push_back(s.substr(start));
    return runs;
}

using Row = std::map<std::string, std::string>;

struct Exported {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    // The row as name -> field, for conditions.
    Row Named(size_t r) const {
        Row m;
        for (size_t k = 0; k < header.size(); ++k) m[header[k]] = rows[r][k];
        return m;
    }
};

// mdb-export's rows, unquoted and split at control characters, so no text needs unescaping.
Exported Export(const std::string& file, const std::string& table) {
    const std::string format = Quote("%Y-%m-%d %H:%M:%S");
    const std::string out = Run("mdb-export -Q -b strip -d " + Quote("\x1f") + " -R " + Quote("\x1e") + " -D " + format +
                                " -T " + format + " " + Quote(kDir + file) + " " + Quote(table));
    Exported e;
    if (out.empty()) return e;
    std::vector<std::string> lines = Split(out, '\x1e');
    lines.pop_back();  // every row ends with its separator
    for (const std::string& line : lines) e.rows.push_back(Split(line, '\x1f'));
    e.header = e.rows.front();
    e.rows.erase(e.rows.begin());
    return e;
}

std::vector<std::string> MdbTables(const std::string& file) {
    std::vector<std::string> names = Split(Run("mdb-tables -1 " + Quote(kDir + file)), '\n');
    if (names.back().empty()) names.pop_back();
    return names;
}

std::string DateText(const AccessDateTime& d) {
    return Format("%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
}

void ExpectSameValue(const AccessValue& v, const std::string& f, const std::string& where) {
    switch (v.type) {
        case AccessFieldType::Text:
        case AccessFieldType::Memo:
        case AccessFieldType::ReplicationId:
            EXPECT_EQ(v.isNull ? "" : v.text, f) << where;
            return;
        case AccessFieldType::Boolean:
            EXPECT_FALSE(v.isNull) << where;
            EXPECT_EQ(v.number, f == "1" ? 1.0 : 0.0) << where;
            return;
        case AccessFieldType::DateTime:
            EXPECT_EQ(v.isNull ? "" : DateText(v.date), f) << where;
            return;
        case AccessFieldType::Byte:
        case AccessFieldType::Integer:
        case AccessFieldType::Long:
        case AccessFieldType::Currency:
        case AccessFieldType::Decimal:
        case AccessFieldType::Single:
        case AccessFieldType::Double: {
            EXPECT_EQ(v.isNull, f.empty()) << where;
            if (v.isNull || f.empty()) return;
            // mdb-export writes 16 significant digits of doubles and 8 of singles; whole numbers,
            // currency and decimals in full.
            const double x = std::strtod(f.c_str(), nullptr);
            const double digits = v.type == AccessFieldType::Double ? 1e-12 : v.type == AccessFieldType::Single ? 1e-7 : 0;
            EXPECT_NEAR(v.number, x, digits * std::max(1.0, std::fabs(x))) << where << " text " << f;
            return;
        }
        default:
            return;  // binary, OLE, complex: no value
    }
}

// Reads the whole result set and checks it row by row against the export.
void ExpectResultMatches(AccessDatabase& db, const Exported& e, const std::string& where) {
    ASSERT_EQ(db.FieldCount(), static_cast<int>(e.header.size())) << where;
    for (size_t k = 0; k < e.header.size(); ++k) EXPECT_EQ(db.Fields()[k].name, e.header[k]) << where;
    EXPECT_EQ(db.RecordCount(), static_cast<long>(e.rows.size())) << where;
    std::vector<AccessValue> row;
    for (size_t r = 0; r < e.rows.size(); ++r) {
        ASSERT_TRUE(db.NextRow(row)) << where << " row " << r;
        ASSERT_EQ(row.size(), e.header.size());
        ASSERT_EQ(e.rows[r].size(), e.header.size()) << where << " row " << r;
        for (size_t k = 0; k < row.size(); ++k) {
            EXPECT_EQ(row[k].type, db.Fields()[k].type);
            ExpectSameValue(row[k], e.rows[r][k], where + " row " + std::to_string(r) + " field " + e.header[k]);
        }
    }
    EXPECT_FALSE(db.NextRow(row)) << where;
    EXPECT_TRUE(row.empty());
}

// The first field of every row the statement gives.
std::vector<std::string> FirstFields(AccessDatabase& db, const std::string& statement) {
    std::vector<std::string> got;
    EXPECT_TRUE(db.Execute(statement)) << statement << ": " << db.Error();
    const long announced = db.RecordCount();
    std::vector<AccessValue> row;
    while (db.NextRow(row)) got.push_back(row[0].text);
    EXPECT_EQ(announced, static_cast<long>(got.size())) << statement;
    return got;
}

const char* const kFiles[] = {"fruit.mdb", "V1997_test.mdb", "V2003_numeric.mdb", "V2010_test.accdb",
                              "V2016_empty.accdb"};

TEST(AccessDatabase, EveryTableAndRowMatchesMdbTablesAndMdbExport) {
    REQUIRE_ORACLE();
    for (const char* file : kFiles) {
        AccessDatabase db;
        ASSERT_TRUE(db.Open(kDir + file)) << file << ": " << db.Error();
        EXPECT_EQ(db.Path(), kDir + file);
        EXPECT_EQ(db.TableNames(), MdbTables(file)) << file;
        for (const std::string& table : db.TableNames()) {
            const Exported e = Export(file, table);
            ASSERT_FALSE(e.header.empty()) << file << " " << table;
            // The program's own form: the name follows "SELECT * FROM " as it is, blanks included.
            ASSERT_TRUE(db.Execute("SELECT * FROM " + table)) << db.Error();
            ExpectResultMatches(db, e, std::string(file) + " " + table);
            // The same rows through the statement parser.
            ASSERT_TRUE(db.Execute("select * from [" + table + "] where 1 = 1;")) << db.Error();
            ExpectResultMatches(db, e, std::string(file) + " parsed " + table);
        }
    }
}

// The export comparison allows doubles their printed digits and checks dates as text; here
// the stored bits of a double and a date's day number.
TEST(AccessDatabase, NumbersKeepEveryStoredDigit) {
    REQUIRE_FIXTURES();
    AccessDatabase db;
    ASSERT_TRUE(db.Open(kDir + "V1997_test.mdb")) << db.Error();
    ASSERT_TRUE(db.Execute("SELECT F, G FROM Table1 WHERE E = 333333333")) << db.Error();
    std::vector<AccessValue> row;
    ASSERT_TRUE(db.NextRow(row));
    EXPECT_EQ(row[0].number, 444.555);  // "%g" text would be the same here; the bits must be too
    EXPECT_EQ(row[1].number, 27293.0);  // 1974-09-21
    EXPECT_FALSE(db.NextRow(row));
}

TEST(AccessDatabase, ConditionsSelectTheRowsOfTheExport) {
    REQUIRE_ORACLE();
    auto num = [](const Row& r, const char* name) { return std::strtod(r.at(name).c_str(), nullptr); };
    auto null = [](const Row& r, const char* name) { return r.at(name).empty(); };
    struct Case {
        const char* statement;
        std::function<bool(const Row&)> keep;
        long limit;
    };
    // The "Fruit" table had a column deleted: mdbtools' own row tests look at the wrong field there.
    const Case cases[] = {
        {"SELECT Fruit, Fat FROM Fruit WHERE Fat > 5", [&](const Row& r) { return num(r, "Fat") > 5; }, -1},
        {"SELECT Fruit FROM Fruit WHERE Fat > 5.5 OR Fruit = 'kiwi'",
         [&](const Row& r) { return num(r, "Fat") > 5.5 || r.at("Fruit") == "Kiwi"; }, -1},
        {"SELECT Fruit FROM Fruit WHERE [Vit E] IS NULL", [&](const Row& r) { return null(r, "Vit E"); }, -1},
        {"SELECT Fruit FROM Fruit WHERE [Vit E] IS NOT NULL AND Fat >= 10",
         [&](const Row& r) { return !null(r, "Vit E") && num(r, "Fat") >= 10; }, -1},
        {"SELECT Fruit FROM Fruit WHERE NOT [Vit B6] = 0",  // nulls are neither equal nor unequal
         [&](const Row& r) { return !null(r, "Vit B6") && num(r, "Vit B6") != 0; }, -1},
        {"SELECT Fruit FROM Fruit WHERE Fruit LIKE 'p*'", [&](const Row& r) { return r.at("Fruit")[0] == 'P'; }, -1},
        {"SELECT Fruit FROM Fruit WHERE Fruit LIKE '%an%' AND Sugar < 10 OR [Vit C] > 40",
         [&](const Row& r) {
             std::string lower = r.at("Fruit");
             for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
             return (lower.find("an") != std::string::npos && num(r, "Sugar") < 10) || num(r, "Vit C") > 40;
         },
         -1},
        {"SELECT Fruit FROM Fruit WHERE Fruit >= 'M' AND Fruit < 'P'",
         [&](const Row& r) { return r.at("Fruit") >= "M" && r.at("Fruit") < "P"; }, -1},
        {"SELECT TOP 3 Fruit FROM Fruit WHERE Fiber <> 2", [&](const Row& r) { return num(r, "Fiber") != 2; }, 3},
        {"SELECT Fruit FROM Fruit WHERE Protien = 1 LIMIT 4", [&](const Row& r) { return num(r, "Protien") == 1; }, 4},
        {"SELECT Fruit FROM Fruit WHERE 1 = 2", [](const Row&) { return false; }, -1},
    };
    const Exported e = Export("fruit.mdb", "Fruit");
    AccessDatabase db;
    ASSERT_TRUE(db.Open(kDir + "fruit.mdb")) << db.Error();
    for (const Case& c : cases) {
        std::vector<std::string> expected;
        for (size_t r = 0; r < e.rows.size(); ++r)
            if (c.keep(e.Named(r)) && (c.limit < 0 || static_cast<long>(expected.size()) < c.limit))
                expected.push_back(e.Named(r).at("Fruit"));
        EXPECT_EQ(FirstFields(db, c.statement), expected) << c.statement;
    }
}

TEST(AccessDatabase, ConditionsOnCurrencyAndDecimalFields) {
    REQUIRE_FIXTURES();
    struct Case {
        const char* file;
        const char* statement;
        std::vector<std::string> firstFields;
    };
    // mdbtools ignores conditions on these types and would return every row.
    const Case cases[] = {
        {"V1997_test.mdb", "SELECT A FROM Table1 WHERE H > 1", {"abcdefg"}},
        {"V1997_test.mdb", "SELECT A FROM Table1 WHERE H = 0", {"a"}},
        {"V2010_test.accdb", "SELECT A FROM Table1 WHERE H <= 3.5 AND F > 444.5", {"abcdefg"}},
        {"V2003_numeric.mdb", "SELECT col1 FROM test WHERE col6 = -1 AND col5 = 4", {"some data"}},
        {"V2003_numeric.mdb", "SELECT col1 FROM test WHERE col6 = 1", {}},
    };
    for (const Case& c : cases) {
        AccessDatabase db;
        ASSERT_TRUE(db.Open(kDir + c.file)) << db.Error();
        EXPECT_EQ(FirstFields(db, c.statement), c.firstFields) << c.statement;
    }
}

TEST(AccessDatabase, SelectedFieldsAndCount) {
    REQUIRE_ORACLE();
    const Exported e = Export("fruit.mdb", "Fruit");
    AccessDatabase db;
    ASSERT_TRUE(db.Open(kDir + "fruit.mdb")) << db.Error();
    ASSERT_TRUE(db.Execute("SELECT [vit a], Fruit, Fruit FROM fruit")) << db.Error();
    ASSERT_EQ(db.FieldCount(), 3);
    EXPECT_EQ(db.Fields()[0].name, "Vit A");  // the stored spelling, found without regard to case
    std::vector<AccessValue> row;
    for (size_t r = 0; r < e.rows.size(); ++r) {
        ASSERT_TRUE(db.NextRow(row));
        ExpectSameValue(row[0], e.Named(r).at("Vit A"), "Vit A");
        EXPECT_EQ(row[1].text, e.Named(r).at("Fruit"));
        EXPECT_EQ(row[2].text, row[1].text);
    }
    ASSERT_TRUE(db.Execute("SELECT COUNT(*) FROM Fruit")) << db.Error();
    ASSERT_TRUE(db.NextRow(row));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].number, static_cast<double>(e.rows.size()));
    EXPECT_FALSE(db.NextRow(row));
}

TEST(AccessDatabase, FilesThatCannotBeOpenedFailWithAMessage) {
    REQUIRE_FIXTURES();
    for (const std::string& path : {kDir + "no such file.mdb", kDir, kDir + "README.md", std::string()}) {
        AccessDatabase db;
        EXPECT_FALSE(db.Open(path)) << path;
        EXPECT_NE(db.Error().find("Cannot open the database file"), std::string::npos) << db.Error();
        EXPECT_FALSE(db.Execute("SELECT * FROM Fruit"));
        EXPECT_EQ(db.Error(), "No database is open.");
    }
    // A failed open closes what was open before.
    AccessDatabase db;
    ASSERT_TRUE(db.Open(kDir + "fruit.mdb"));
    ASSERT_TRUE(db.Execute("SELECT * FROM Fruit"));
    EXPECT_FALSE(db.Open(kDir + "README.md"));
    EXPECT_FALSE(db.IsResultOpen());
    EXPECT_TRUE(db.TableNames().empty());
}

TEST(AccessDatabase, StatementsItCannotRunFailWithAMessage) {
    REQUIRE_FIXTURES();
    struct Case {
        const char* file;
        const char* statement;
        const char* errorPart;
    };
    // The checker's refusals and the column-type rules are in their own tables; here one of
    // each reached through the file (a Date/Time column, a column type), the refusals that need
    // the file's names, and the parser's own.
    const Case cases[] = {
        {"V1997_test.mdb", "SELECT * FROM Table1 WHERE G > '1980-01-01'",
         "Only simple SELECT statements are supported; conditions on Date/Time columns are not."},
        {"fruit.mdb", "SELECT * FROM Fruit ORDER BY Fat", kSimpleSelectOnly},
        {"fruit.mdb", "SELECT Fruit Fat FROM Fruit", "mdbtools: "},  // the parser's own refusal
        {"fruit.mdb", "SELECT * FROM Vegetables", "There is no table \"Vegetables\""},
        {"fruit.mdb", "SELECT Fruit, Colour FROM Fruit", "\"Colour\""},
        {"fruit.mdb", "SELECT Fruit FROM Fruit WHERE Colour = 'red'", "\"Colour\""},
        {"fruit.mdb", "SELECT Fruit FROM Fruit WHERE Fruit = 3", "Data type mismatch"},
    };
    for (const Case& c : cases) {
        AccessDatabase db;
        ASSERT_TRUE(db.Open(kDir + c.file)) << db.Error();
        EXPECT_FALSE(db.Execute(c.statement)) << c.statement;
        EXPECT_NE(db.Error().find(c.errorPart), std::string::npos) << c.statement << " -> " << db.Error();
        EXPECT_EQ(db.FieldCount(), 0);
        // The database and the parser stay usable.
        std::vector<AccessValue> row;
        ASSERT_TRUE(db.Execute("SELECT * FROM [" + db.TableNames().front() + "] WHERE 1 = 1")) << db.Error();
        EXPECT_TRUE(db.Error().empty());
        EXPECT_TRUE(db.NextRow(row));
    }
}

}  // namespace
}  // namespace platform
