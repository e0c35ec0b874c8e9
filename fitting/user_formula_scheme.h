#pragma once
// The "User formula" scheme of the single-argument views: the formula of the user-formula
// page with its coefficient values written in, its error over all data (what the fitting
// lowers), the range pass that makes its curve fit the chart, and its report.
#include <string>
#include <vector>

namespace platform {
class Canvas;
}

// The constant offset of the last user-formula fit: mean(y) - mean(f(x)) with "+ const",
// else 0.
extern double userFormulaOffset;

// The page's formula with every coefficient name (whole words, longer names first) replaced
// by its value written "%g".
std::string UserFormulaWithValues();
// The same with the given values in place of the table's (the fitting's trial sets).
std::string UserFormulaWithValues(const std::vector<double>& values);

// The summed residual ratio of the formula (coefficients written in) over every value
// parameter of every series of at least nArguments + 3 records; with Autozoom off and
// "Statistics is only for data visible at screen" on, only the points inside the plot box.
double UserFormulaError(const std::string& formula);

// Range pass: widens the y range by the curve f(x) + offset along the x range.
void UserFormulaYRange(const std::vector<double>& x, const std::vector<double>& y);

// The curve with the painter's pen, the calculator's values, the formula line with its
// coefficient of correlation in both result stores, the coefficients line and the legend entry.
// a and v are the argument and value parameter indexes.
void UserFormulaReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y, int a,
                       int v);

// The report line of a formula of a series, behind its mark, in both result stores.
void WriteFormulaLine(int seriesIndex, const std::string& formula);
// The report lines of a formula fitted to a series: the formula's line, then the
// coefficient of correlation coloured by r, in both result stores.
void WriteFormulaWithCorrelation(int seriesIndex, const std::string& formula, const std::string& correlation,
                                 double r);
