#pragma once
// Macro files: text files of commands, one a line, of the form Command(key=value,...).
// The parser cuts a line into its command word and key=value pairs; the runner
// (macro_runner.h) carries the commands out.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class macroParser {
public:
    static constexpr int kMaxPairs = 101;

    macroParser();
    ~macroParser();

    std::string command;                     // word of the last line with a "(" after its first character
    std::vector<std::string> keys;           // keys of the parsed pairs, in line order
    std::vector<std::string> values;         // values, parallel to keys
    std::vector<std::string> knownCommands;  // the command words
    char syntax[4] = {'(', ')', ',', '='};   // opening, closing, pair and key separators
    std::int32_t pairCount = 0;              // pairs of the last successful parse

    // Removes every blank from the line and trims it (in place), then parses it. Returns
    // the number of pairs, or 0 for a line that is not a command. A pair list ending in
    // "," stops at that comma and gives 1 without the item before it (pairCount stays 0).
    int ParseMacroLine(std::string& line);
};

// Every line of the file, line ends included, however long a line is.
std::vector<std::string> ReadMacroLines(std::FILE* file);

// Case-insensitive equality of two words.
bool MacroWordIs(const std::string& a, const char* b);

// The decimal number at the start of a value; 0 when it does not begin with one.
double MacroNumber(const std::string& value);
