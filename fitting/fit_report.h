#pragma once
// The report every single-argument fit writes: the model formula, the coefficient of
// correlation, the number of points and the coefficient table in both result stores, one
// line of coefficientsText, the fitted-formula lists and the calculator's values. A report
// collects its terms first (formula and rows in step), then writes everything at once.
#include <functional>
#include <string>
#include <vector>

// Whether a fit may be reported: at least one term, every coefficient and deviation finite,
// no deviation below 0, every |d_k| / (|a_k| + 0.1) at most 100, and a finite residual ratio.
bool FitReportAccepted(const double* coefficients, const double* deviations, int count, double residualRatio);

// The name a report gives the argument: "n" for data without an argument (unless the view
// shows a histogram), the argument's name for one argument, else none.
std::string ReportArgumentName(int dataArguments, int argumentParameter);
// The name of a parameter; empty for an index outside the store.
std::string ReportParameterName(int parameter);

// Gives the calculator the model's value at its typed argument (the main window keeps it in
// typedValue when given) and at every row of its argument file, then writes the file's values.
void GiveCalculatorModelValues(int dataArguments, const std::string& valueName,
                               const std::function<double(double)>& model, double* typedValue = nullptr);

struct FitReportRow {
    std::string label, valueText, deviationText, shareText;
    double share = 0;
    bool caption = false;  // "Cos with period = ..." heads a pair: the label alone
};

class FitReport {
public:
    // leftSide: the formula's left side with the value's name in it.
    FitReport(const std::string& leftSide, int pointCount);

    // One term: a blank, "+" unless it is the first term or a < 0, the value text, and "*"
    // with the label when withFactor.
    void AddTerm(double a, double d, const std::string& label, bool withFactor);
    // A sine coefficient a and cosine coefficient b of period T, reported as amplitude and
    // phase shift: " +A*cos((2*pi/T)*(x+s))".
    void AddPeriodicPair(double a, double b, double sa, double sb, double period, const std::string& argument);

    // Writes the report of value parameter v with residual ratio e (correlation 1 - sqrt(e)).
    void Write(int valueParameter, double residualRatio) const;

    const std::string& Formula() const { return formula_; }
    const std::vector<FitReportRow>& Rows() const { return rows_; }

private:
    FitReportRow Formatted(const std::string& label, double value, double deviation) const;

    std::string formula_;
    std::vector<FitReportRow> rows_;
    int pointCount_ = 0;
    int terms_ = 0;
};

// The coefficient table's header in both stores: the result document's header line
// ("Argument" and the three column symbols, then a new line) and a table of rowCount rows,
// header included, of four columns with the bold header cells.
void WriteCoefficientTableHeader(int rowCount);
// One row of the table in both stores, its label at labelTab; a caption row has its label
// and three empty cells.
void WriteCoefficientRow(const FitReportRow& row, int labelTab = 40);

// The terms of a model of term codes: a code below firstPeriodic is a plain term with its
// label (no factor for the label "1"); a sine code (firstPeriodic + 2i) followed by its cosine
// code is a pair of period i; a sine or cosine without its partner is a term of its own.
void AddModelTerms(FitReport& report, const std::vector<std::string>& labels, const double* a, const double* d,
                   const std::vector<unsigned>& codes, unsigned firstPeriodic, const double* periods,
                   std::size_t periodCount, const std::string& argument);

// The text of an amplitude or phase row's share: computed from the printed texts.
double ShareFromTexts(const std::string& valueText, const std::string& deviationText);
