// The text-file import from the file dialog to the new series, against files whose expected
// reading was computed by an independent split (make_text_import_cases.py), and the rules
// a user meets: header lines, separators, skipped lines and their report, refusals.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <tuple>
#include <sstream>

#include "data/import_routines.h"
#include "data/record_text.h"
#include "data/text_lines.h"
#include "import_test_support.h"

namespace {

using import_test::RunTextImport;
using import_test::SeriesNames;
using import_test::SeriesValues;
using import_test::TempFile;
using import_test::TextChoice;

std::string SkipReport(int skipped, int read) {
    return std::string("There are ") + std::to_string(skipped) + " records with nonnumeric letters in file,\n" +
           std::to_string(read) + " records are succesfuly read.";
}

std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 't' ? '\t' : c == 's' ? ' ' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

// What make_text_import_cases.py wrote down for one file (its format is described there).
struct ExpectedImport {
    TextChoice choice;
    int dateOrder = 1;
    std::vector<std::string> names;
    int skipped = 0, read = 0, records = 0;
    std::vector<double> values;
};

ExpectedImport ReadExpected(const std::string& path) {
    ExpectedImport e;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::string key = line.substr(0, line.find('\t'));
        std::istringstream rest(line.substr(std::min(line.size(), key.size() + 1)));
        if (key == "separators") {
            e.choice.separators = Unescape(rest.str());
        } else if (key == "deselect") {
            for (int i; rest >> i;) e.choice.deselect.push_back(i);
        } else if (key == "dateorder") {
            rest >> e.dateOrder;
        } else if (key == "names") {
            for (std::string name; std::getline(rest, name, '\t');) e.names.push_back(name);
        } else if (key == "message") {
            rest >> e.skipped >> e.read;
        } else if (key != "records") {
            std::istringstream record(line);
            for (std::string v; record >> v;) e.values.push_back(std::strtod(v.c_str(), nullptr));
            ++e.records;
        }
    }
    return e;
}

class TextImport : public ::testing::Test {
protected:
    void SetUp() override {
        theText2.separators.assign(1, ' ');
        theText2.synchronizeRequested = 0;
        RecordText::dateFormatFlag = 1;
    }
    void TearDown() override { RecordText::dateFormatFlag = 1; }
    platform::ScriptedDialogs dialogs;
    data page;
};

TEST_F(TextImport, GeneratedFilesMatchAnIndependentSplit) {
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(std::string("case ") + std::to_string(n));
        const std::string base = std::string(TABULON_SOURCE_DIR) + "/tests/data/text_import_cases/case" + std::to_string(n);
        const ExpectedImport e = ReadExpected(base + ".expected");
        data fresh;
        platform::ScriptedDialogs d;
        RecordText::dateFormatFlag = e.dateOrder;
        RunTextImport(fresh, d, base + ".txt", e.choice);

        ASSERT_EQ(fresh.series.size(), 1u);
        EXPECT_EQ(SeriesNames(fresh, 0), e.names);
        EXPECT_EQ(SeriesValues(fresh, 0), e.values);
        EXPECT_EQ(d.Messages(), e.skipped > 0 ? std::vector<std::string>{SkipReport(e.skipped, e.read)}
                                              : std::vector<std::string>{});
    }
}

struct RuleCase {
    const char* what;
    std::string content;
    std::string separators;
    std::vector<int> deselect;
    std::vector<std::string> items;  // the dialog's list
    std::vector<std::string> names;
    std::vector<double> values;
    std::vector<std::string> messages;
};

// Rules the generated files do not reach, and the dialog's list of the first line's fields;
// header names, blank lines, CR LF line ends, dates and deselected fields are in those files,
// lines of very many fields and an empty first line in the import fault tests.
TEST_F(TextImport, RulesOfTheSplitTheHeaderAndTheSkippedLines) {
    const RuleCase cases[] = {
        {"tab and line feed always separate", "a;b\tc\n1;2\t3\n", ";", {},
         {"a", "b", "c"}, {"a", "b", "c"}, {1, 2, 3}, {}},
        {"runs of separators give no field, in the list as in the records", "x;;y;\n1;;2;\n", ";", {},
         {"x", "y"}, {"x", "y"}, {1, 2}, {}},
        {"the first item keeps its blanks, later ones are trimmed", " a, b\n1,2\n", ",", {},
         {" a", "b"}, {" a", "b"}, {1, 2}, {}},
        {"a decimal comma is non-numeric: skipped and reported", "x;y\n1,5;2\n3;4\n", ";", {},
         {"x", "y"}, {"x", "y"}, {3, 4}, {SkipReport(1, 1)}},
        {"classic CR line ends", "b\r1\r2\r", " ", {}, {"b"}, {"b"}, {1, 2}, {}},
        {"a value beyond the double range is non-numeric", "1 2\n1e400 3\n4 -1e999\n5 6\n", " ", {},
         {"1", "2"}, {"a0", "a1"}, {1, 2, 5, 6}, {SkipReport(2, 2)}},
        {"a NUL makes its line non-numeric", std::string("x y\n1 2\n3\0 9 4\n5 6\n", 19), " ", {},
         {"x", "y"}, {"x", "y"}, {1, 2, 5, 6}, {SkipReport(1, 2)}},
        {"a line without a selected field is skipped, never filled from the line before",
         "1 2 3\n4 5\n7 8 9\n", " ", {}, {"1", "2", "3"}, {"a0", "a1", "a2"}, {1, 2, 3, 7, 8, 9},
         {SkipReport(1, 2)}},
        {"a line missing only fields not read is read", "1 2 3\n4 5\n7 8 9\n", " ", {2}, {"1", "2", "3"},
         {"a0", "a1"}, {1, 2, 4, 5, 7, 8}, {}},
        {"fields after the first line's count are ignored", "1 2\n3 4 5 6\n", " ", {}, {"1", "2"}, {"a0", "a1"},
         {1, 2, 3, 4}, {}},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFile file(c.content);
        data fresh;
        platform::ScriptedDialogs d;
        EXPECT_EQ(RunTextImport(fresh, d, file.Path(), {.separators = c.separators, .deselect = c.deselect}).items, c.items);
        ASSERT_EQ(fresh.series.size(), 1u);
        EXPECT_EQ(SeriesNames(fresh, 0), c.names);
        EXPECT_EQ(SeriesValues(fresh, 0), c.values);
        EXPECT_EQ(d.Messages(), c.messages);
    }
}

TEST_F(TextImport, DialogFileDialogAndKeptState) {
    TempFile file("x y\n1 2\n");
    // Cancelled with only ';' typed: the line is one field.
    EXPECT_EQ(RunTextImport(page, dialogs, file.Path(), {.separators = ";", .deselect = {}, .ok = false}).items,
              std::vector<std::string>{"x y"});
    EXPECT_TRUE(page.series.empty());  // cancelled
    EXPECT_EQ(std::tie(page.lastFolder, page.fileNameBuffer), std::tie(file.Folder(), file.Path()));

    // The next import starts in the folder of the last file and shows the typed separators again;
    // "Synchronize" is offered for the first series only and stays ticked.
    const auto seen =
        RunTextImport(page, dialogs, file.Path(), {.separators = "", .deselect = {}, .tickSynchronize = true});
    EXPECT_EQ(std::tuple(seen.separatorsShown, seen.synchronizeVisible), std::tuple(";", true));
    EXPECT_EQ(page.startFolder, file.Folder());
    EXPECT_FALSE(RunTextImport(page, dialogs, file.Path(), {.separators = "", .deselect = {}}).synchronizeVisible);
    EXPECT_EQ(std::tie(theText2.synchronizeRequested, theText2.offerSynchronize), std::make_tuple(1, 0));
    ASSERT_EQ(page.series.size(), 2u);

    // Cancelling the file dialog changes nothing, not even the remembered path.
    const int modals = dialogs.CountOf("modal");
    dialogs.fileAnswers.push_back(std::nullopt);
    page.OnOpenTextDataFile();
    EXPECT_EQ(page.fileNameBuffer, file.Path());
    EXPECT_EQ(dialogs.CountOf("modal"), modals);
}

TEST_F(TextImport, NamesAndPathsBeyondLatin1ArriveWhole) {
    // UTF-8 in the file's name and in its header; continuation bytes never separate fields.
    const std::string dash = "\xE2\x80\x94", cjk = "\xE6\x95\xB0\xE6\x8D\xAE";
    TempFile file("Temperatur\xC2\xB0" "C L\xC3\xA4nge" + dash + "m " + cjk + "\n1 2 3\n4 5 6\n",
                  "M\xC3\xBCller " + dash + " " + cjk + ".txt");
    RunTextImport(page, dialogs, file.Path(), TextChoice{});
    ASSERT_EQ(page.series.size(), 1u) << (dialogs.Messages().empty() ? "" : dialogs.Messages().front());
    EXPECT_EQ(SeriesNames(page, 0),
              (std::vector<std::string>{"Temperatur\xC2\xB0" "C", "L\xC3\xA4nge" + dash + "m", cjk}));
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{1, 2, 3, 4, 5, 6}));
}

TEST_F(TextImport, RefusalsLeaveTheStoreAsItWas) {
    TempFile three("1 2 3\n4 5 6\n");
    RunTextImport(page, dialogs, three.Path(), TextChoice{});
    ASSERT_EQ(page.series.size(), 1u);
    const std::vector<double> before = page.allValues;

    // Every field deselected. (Another parameter count is the store's refusal, checked there.)
    RunTextImport(page, dialogs, three.Path(), {.deselect = {0, 1, 2}});
    // A file that cannot be opened, and a folder: the path and the reason.
    dialogs.fileAnswers.push_back(three.Folder() + "/missing.txt");
    page.OnOpenTextDataFile();
    dialogs.fileAnswers.push_back(three.Folder());
    page.OnOpenTextDataFile();
    EXPECT_EQ(dialogs.Messages(),
              (std::vector<std::string>{"Nothing to read",
                                        "Cannot open the file \"" + three.Folder() + "/missing.txt\": " +
                                            std::strerror(ENOENT) + ".",
                                        "Cannot open the file \"" + three.Folder() + "\": " + std::strerror(EISDIR) +
                                            "."}));
    EXPECT_EQ(page.series.size(), 1u);
    EXPECT_EQ(page.allValues, before);
}

TEST(TextLines, SameLinesAndFieldsAsTheSharedLineReader) {
    std::mt19937 random(11);
    // Runs of number bytes long enough for the reader's sixteen-byte steps.
    const char alphabet[] = {'\n', '\n', '\r', '\t', ' ', ',', '\0', '1', '2', '.', 'x', 'e', '/',
                             '3', '4', '5', '6', '7', '8', '9', '0', '-', '+', 'E', ':', '1', '2', '3'};
    const char* const separatorSets[] = {"\t\n ", "\t\n,", "\t\n", ",", " \r", "\t\n-"};
    for (int trial = 0; trial < 400; ++trial) {
        std::string content;
        const int length = static_cast<int>(random() % (trial % 10 == 0 ? 3000 : 80));
        for (int i = 0; i < length; ++i) content += alphabet[random() % sizeof alphabet];
        TempFile file(content);
        const char* separators = separatorSets[trial % 6];
        const std::size_t blockSize = trial % 4 == 0 ? TextLineReader::kDefaultBlockSize : 1 + random() % 16;

        std::FILE* a = std::fopen(file.Path().c_str(), "r");
        std::FILE* b = std::fopen(file.Path().c_str(), "r");
        TextLineReader reader(b, separators, blockSize);
        std::vector<std::string> fields;
        int line = 0;
        while (true) {
            SCOPED_TRACE(std::string("trial ") + std::to_string(trial) + " line " + std::to_string(line++));
            const int expected = ReadLineFields(a, separators, fields);
            const int count = reader.Next();
            ASSERT_EQ(count, expected);
            if (count == 0) break;
            EXPECT_EQ(reader.Position(), std::ftell(a));
            for (int k = 1; k <= count; ++k) {
                EXPECT_EQ(std::string(reader.Field(k), reader.Length(k)), fields[static_cast<std::size_t>(k)]);
                const std::size_t nul = fields[static_cast<std::size_t>(k)].find('\0');
                EXPECT_EQ(std::strlen(reader.Field(k)), nul == std::string::npos ? reader.Length(k) : nul);
                EXPECT_EQ(reader.NonNumeric(k), nonNumericTable.Holds(fields[static_cast<std::size_t>(k)]));
            }
        }
        EXPECT_EQ(reader.Next(), 0);
        std::fclose(a);
        std::fclose(b);
    }
}

// Mend: a line without an end was held whole (gigabytes): past the limit it is handed out
// cut, its rest passed over, and the next line read as it stands, whatever the block size.
TEST(TextLines, ALineBeyondTheLimitIsCutAndItsRestPassedOver) {
    TempFile file("12345678 901234 5\r\n1 2\r" + std::string(30, 'x') + "\r\n3 4\n" + std::string(25, '7'));
    struct Line {
        std::vector<std::string> fields;
        bool cut;
    };
    const std::vector<Line> expected = {{{"12345678", "9"}, true}, {{"1", "2"}, false}, {{std::string(10, 'x')}, true},
                                        {{"3", "4"}, false},         {{std::string(10, '7')}, true}};
    for (std::size_t blockSize = 1; blockSize <= 17; blockSize += 4) {
        SCOPED_TRACE(blockSize);
        std::FILE* f = std::fopen(file.Path().c_str(), "r");
        TextLineReader reader(f, " \t\n", blockSize, 10);
        for (const Line& line : expected) {
            ASSERT_EQ(reader.Next(), static_cast<int>(line.fields.size()));
            for (std::size_t k = 1; k <= line.fields.size(); ++k)
                EXPECT_EQ(std::string(reader.Field(static_cast<int>(k)), reader.Length(static_cast<int>(k))), line.fields[k - 1]);
            EXPECT_EQ(reader.Cut(), line.cut);
        }
        EXPECT_EQ(reader.Next(), 0);
        std::fclose(f);
    }
}

}  // namespace
