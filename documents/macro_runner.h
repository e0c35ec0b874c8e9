#pragma once
// The macro-file runner: carries out the parsed commands of a macro file through the data
// page, the user-formula and several-argument scheme pages, and what the main window lends
// it through MacroHost (nothing here reaches the main window otherwise).
#include <functional>
#include <string>
#include <vector>

#include "documents/macro_parser.h"

struct MacroHost {
    std::function<void(int ms)> pause;             // the pause before each line (100 ms)
    std::function<void()> pumpWaitingMessages;     // so the window repaints between commands
    std::function<void()> waitWhileBusy;           // while the user-formula fitting runs
    std::function<void()> copyCoefficients;        // Results > Copy coefficients
    std::function<void()> paintMainWindow;         // the main window's paint handler, at once
    std::function<void()> selectUserFormulaScheme; // the several-argument user-formula scheme alone
};

inline constexpr int kMacroLinePauseMs = 100;

// Parses the lines in order with the parser and runs them. A line that is not a command runs
// nothing.
void RunMacroLines(const std::vector<std::string>& lines, macroParser& parser, const MacroHost& host);

// Reads the whole file first, then runs its lines; a file that can't be opened runs nothing
// and is named in a message.
void RunMacroFile(const std::string& path, macroParser& parser, const MacroHost& host);

// Runs the parser's command with its pairs.
void RunMacroCommand(const macroParser& parser, const MacroHost& host);

// Appends the text to the file at location (nothing when it can't be opened): with
// replaceTabs every tab becomes ","; with addEndOfString a line feed follows.
void AppendMacroResultText(const std::string& location, const std::string& text, int addEndOfString, int replaceTabs);
