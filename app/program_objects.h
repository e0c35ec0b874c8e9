#pragma once
// The program-wide objects of the main window's folder (see program_objects.cpp for the order
// in which they are built).
#include <string>
#include <vector>

#include "charts/result_document.h"  // coefficientsText, beside the result stores
#include "documents/macro_parser.h"

class CTabulonApp;

extern CTabulonApp theApp;
// The formatted coefficient of correlation of the latest fit report or view.
extern std::string correlationText;
// The path of the current document; always a path ("untitled.cdf" in the program folder at first).
extern std::string documentPath;
// The page shown now (a page index 0 to 16, despite its name).
extern int activeTab;
// The parser of macro files; its command word carries from line to line.
extern macroParser theMacroParser;
// The polynomial models of the best-polynomial searches: the working model, the best found
// and the models of a search (emptied when one starts).
struct polyFit;
extern polyFit currentPolyFit;
extern polyFit bestPolyFit;
extern std::vector<polyFit> polyFitList;
// The argument columns of the last term-code regression (a search's or the several-argument
// fit's), which the several-argument polynomial's value reads.
extern std::vector<int> argumentColumns;
