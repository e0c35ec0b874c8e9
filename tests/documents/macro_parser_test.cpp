// The macro-file parser: its limits and quirks, line by line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "documents/macro_parser.h"

namespace {

struct ParseCase {
    const char* name;
    std::string line;
    int result;
    const char* command;  // the word left in the parser
    std::vector<std::string> keys;
    std::vector<std::string> values;
    int pairCount;
};

std::string ManyPairs(int n) {
    std::string line = "SaveResults(";
    for (int i = 0; i < n; ++i) line += (i ? "," : "") + std::string("k") + std::to_string(i) + "=" + std::to_string(i);
    return line + ")";
}

TEST(MacroParser, LinesGiveTheirWordsAndPairs) {
    const std::vector<ParseCase> cases = {
        {"blanks removed everywhere", " AddSeriesFromTextFile( location = C:\\data\\a b.txt , separators = ; )\r\n", 2,
         "AddSeriesFromTextFile", {"location", "separators"}, {"C:\\data\\ab.txt", ";"}, 2},
        {"word ignores case", "modifyparameter(NAME=x,method=filter)", 2, "modifyparameter", {"NAME", "method"},
         {"x", "filter"}, 2},
        {"value keeps = ( )", "ModifyParameter(formula=a=(b)+c)", 1, "ModifyParameter", {"formula"}, {"a=(b)+c"}, 1},
        {"trailing comma cuts the item", "HandleData(action=DeleteAll,)", 1, "HandleData", {}, {}, 0},
        {"trailing comma keeps earlier pairs", "HandleData(a=1,action=DeleteAll,)", 1, "HandleData", {"a"}, {"1"}, 0},
        {"short last item ends the parse", "SaveResults(a=1,b)", 1, "SaveResults", {"a"}, {"1"}, 1},
        {"empty list", "SaveResults()", 0, "SaveResults", {}, {}, 0},
        {"item without = fails", "SaveResults(a=1,bad,c=2)", 0, "SaveResults", {"a"}, {"1"}, 0},
        {"key must not be empty", "SaveResults(=12)", 0, "SaveResults", {}, {}, 0},
        {"unknown word", "Launch(a=1)", 0, "Launch", {}, {}, 0},
        {"( at the start", "(a=1)", 0, "", {}, {}, 0},
        {"no ( keeps the word", "just a comment", 0, "", {}, {}, 0},
        {"text after )", "SaveResults(a=1) x", 0, "SaveResults", {}, {}, 0},
    };
    for (const ParseCase& c : cases) {
        macroParser parser;
        std::string line = c.line;
        EXPECT_EQ(parser.ParseMacroLine(line), c.result) << c.name;
        EXPECT_EQ(parser.command, c.command) << c.name;
        EXPECT_EQ(parser.keys, c.keys) << c.name;
        EXPECT_EQ(parser.values, c.values) << c.name;
        EXPECT_EQ(parser.pairCount, c.pairCount) << c.name;
    }
}

TEST(MacroParser, KeepsTheWordOfTheLastCommandAndAtMost101Pairs) {
    macroParser parser;
    std::string line = "HandleData(action=DeleteAll)";
    ASSERT_EQ(parser.ParseMacroLine(line), 1);
    EXPECT_EQ(line, "HandleData(action=DeleteAll)");
    for (std::string blank : {std::string("   \t\r\n"), std::string("no command here")}) {
        EXPECT_EQ(parser.ParseMacroLine(blank), 0);
        EXPECT_EQ(parser.command, "HandleData");
        EXPECT_TRUE(parser.keys.empty());
    }
    for (const auto& [pairs, kept] : std::vector<std::pair<int, int>>{{101, 101}, {102, 101}, {120, 101}, {100, 100}}) {
        std::string many = ManyPairs(pairs);
        EXPECT_EQ(parser.ParseMacroLine(many), kept) << pairs;
        ASSERT_EQ(static_cast<int>(parser.values.size()), kept);
        EXPECT_EQ(parser.values.back(), std::to_string(kept - 1));
    }
}

TEST(MacroParser, ReadsLinesWholeAndNumbersFromTheirStart) {
    const std::string longLine = ManyPairs(400) + "\n";  // far beyond any fixed buffer
    ASSERT_GT(longLine.size(), 3000u);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string text = longLine + "\nHandleData(action=DeleteAll)";
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    const std::vector<std::string> lines = ReadMacroLines(file);
    std::fclose(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], "\n");
    EXPECT_EQ(lines[2], "HandleData(action=DeleteAll)");

    for (const auto& [text, number] : std::vector<std::pair<std::string, double>>{
             {"2.5", 2.5}, {"-1e3x", -1000.0}, {"abc", 0.0}, {"", 0.0}, {".5", 0.5}})
        EXPECT_DOUBLE_EQ(MacroNumber(text), number) << text;
    EXPECT_TRUE(MacroWordIs("DELETEALL", "DeleteAll"));
    EXPECT_FALSE(MacroWordIs("DeleteAll2", "DeleteAll"));
}

}  // namespace
