#pragma once
// The formulas of the models fitted in the current painting: the legend's list (text and the
// value parameter it belongs to) and the "Formulas" text of the result page. Every fit
// report appends here; the painting dispatcher empties the lists before the painters run.
#include <string>
#include <vector>

// The main window hands over the two lists the legend block reads (nullptr: none).
void SetFittedFormulaLists(std::vector<std::string>* texts, std::vector<unsigned>* parameters);
// Appends one fitted formula of value parameter v to the legend's lists and, followed by a
// line feed, to the result page's formula text.
void AppendFittedFormula(const std::string& text, int v);
// The coefficient of correlation as every fit report prints it: "%.4g" and three blanks.
// Also kept as the last printed correlation text.
const std::string& CorrelationText(double c);
extern std::string lastCorrelationText;
