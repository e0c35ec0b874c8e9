#include "documents/macro_parser.h"

#include <algorithm>
#include <cstdlib>
#include <strings.h>


macroParser::macroParser()
    : knownCommands{"AddSeriesFromTextFile", "HandleData", "AddSeriesFromTextFile", "SelectStatisticsScheme",
                    "SetForUserDefinedFormula", "AddNewCoefficient", "SaveResults", "ModifyParameter", "WindowState"} {}

macroParser::~macroParser() {
    keys.clear();
    values.clear();
}

bool MacroWordIs(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

double MacroNumber(const std::string& value) { return std::strtod(value.c_str(), nullptr); }

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

int macroParser::ParseMacroLine(std::string& line) {
    pairCount = 0;
    line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    std::size_t first = 0, last = line.size();
    while (first < last && IsWhite(line[first])) ++first;
    while (last > first && IsWhite(line[last - 1])) --last;
    line = line.substr(first, last - first);
    keys.clear();
    values.clear();
    if (line.empty()) return 0;

    const std::size_t open = line.find(syntax[0]);
    if (open == std::string::npos || open < 1) return 0;
    command = line.substr(0, open);
    if (std::none_of(knownCommands.begin(), knownCommands.end(),
                     [&](const std::string& word) { return MacroWordIs(command, word.c_str()); }))
        return 0;
    const std::size_t close = line.rfind(syntax[1]);
    if (close == std::string::npos || close != line.size() - 1 || close <= open) return 0;
    std::string list = line.substr(open + 1, close - open - 1);

    for (int n = 0; n < kMaxPairs; ++n) {
        std::string item;
        const std::size_t comma = list.find(syntax[2]);
        if (comma != std::string::npos && comma >= 1) {
            item = list.substr(0, comma);
            list.erase(0, comma + 1);
            if (list.empty()) return 1;
        } else if (list.size() >= 3) {
            item = list;
            list.clear();
        } else {
            break;
        }
        const std::size_t equals = item.find(syntax[3]);
        if (equals == std::string::npos || equals < 1) return 0;
        keys.push_back(item.substr(0, equals));
        values.push_back(item.substr(equals + 1));
        if (list.empty()) break;
    }
    pairCount = static_cast<std::int32_t>(keys.size());
    return pairCount;
}

std::vector<std::string> ReadMacroLines(std::FILE* file) {
    std::vector<std::string> lines;
    std::string line;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        line.push_back(static_cast<char>(c));
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}
