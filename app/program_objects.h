#pragma once
// The program-wide objects of the main window's folder (see program_objects.cpp for the order
// in which they are built).
#include <string>

class CTabulonApp;

extern CTabulonApp theApp;
// The text of the last fitted coefficients (the fit reports write it, the copy command reads it).
extern std::string coefficientsText;
// The formatted coefficient of correlation of the latest fit report or view.
extern std::string correlationText;
// The path of the current document; always a path ("untitled.cdf" in the program folder at first).
extern std::string documentPath;
// The page shown now (a page index 0 to 16, despite its name).
extern int activeTab;
