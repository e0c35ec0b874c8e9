#include "fitting/fit_report.h"

#include <cmath>
#include <cstdlib>

#include "charts/xy_correlation_view.h"  // correlationText
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/listed_fits.h"
#include "formula/calculator.h"
#include "formula/number_formatting.h"
#include "platform/format.h"
#include "statistics/color_maps.h"

namespace {

constexpr double kTwoPi = 6.2831853072;  // as the formula text writes it
constexpr double kShareOfNoValue = 1000000;

std::string ShareText(double share, double value)
{
    return std::fabs(value) < 1e-10 ? std::string("0") : platform::Format("%.2g", share);
}

bool IsUnitLabel(const std::string& label) { return label == "1"; }

// A sine or cosine term without its partner: its own row.
std::string LonePeriodicLabel(bool sine, double period, const std::string& argument)
{
    return platform::Format(sine ? "sin((2*pi/%g)*%s)" : "cos((2*pi/%g)*%s)", period, argument.c_str());
}

double PeriodOfCode(unsigned code, unsigned firstCode, const double* periods, std::size_t periodCount)
{
    const std::size_t i = (code - firstCode) / 2;
    return i < periodCount ? periods[i] : 0.0;
}

}  // namespace

bool FitReportAccepted(const double* coefficients, const double* deviations, int count, double residualRatio)
{
    if (!std::isfinite(residualRatio) || !ListedFitAccepted(coefficients, deviations, count))
        return false;
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(coefficients[k]) || !std::isfinite(deviations[k]) || deviations[k] < 0)
            return false;
    return true;
}

std::string ReportParameterName(int parameter)
{
    const auto& names = theData.parameterNames;
    return parameter >= 0 && static_cast<std::size_t>(parameter) < names.size()
               ? names[static_cast<std::size_t>(parameter)]
               : std::string();
}

std::string ReportArgumentName(int dataArguments, int argumentParameter)
{
    if (dataArguments == 0)
        return theXyview.histogram ? std::string() : std::string("n");
    return dataArguments == 1 ? ReportParameterName(argumentParameter) : std::string();
}

void GiveCalculatorModelValues(int dataArguments, const std::string& valueName,
                               const std::function<double(double)>& model, double* typedValue)
{
    calculator& calc = theCalculator;
    if (calc.WantsTypedValue(dataArguments)) {
        const double v = model(calc.typedValueTable[0]);
        if (typedValue)
            *typedValue = v;
        calc.AddTypedValue(valueName, v);
    }
    calc.ComputeRows(dataArguments, [&model](const double* row) { return model(row[0]); });
}

double ShareFromTexts(const std::string& valueText, const std::string& deviationText)
{
    const double v = std::atof(valueText.c_str());
    const double w = std::atof(deviationText.c_str());
    return v > 0 ? std::fabs(100.0 * w / v) : kShareOfNoValue;
}

FitReport::FitReport(const std::string& leftSide, int pointCount) : formula_(leftSide + " = "), pointCount_(pointCount)
{
}

FitReportRow FitReport::Formatted(const std::string& label, double value, double deviation) const
{
    FitReportRow row;
    row.label = label;
    FormatValueWithDeviation(value, deviation, row.valueText, row.deviationText, pointCount_, theResult.autoDigits,
                             theResult.digits);
    return row;
}

void FitReport::AddTerm(double a, double d, const std::string& label, bool withFactor)
{
    FitReportRow row = Formatted(label, a, d);
    row.share = std::fabs(100.0 * d / a);
    row.shareText = ShareText(row.share, a);
    formula_ += " ";
    if (terms_ > 0 && a >= 0)
        formula_ += "+";
    formula_ += row.valueText;
    if (withFactor)
        formula_ += "*" + label;
    rows_.push_back(row);
    ++terms_;
}

void FitReport::AddPeriodicPair(double a, double b, double sa, double sb, double period, const std::string& argument)
{
    const double squares = a * a + b * b;
    const double amplitude = std::sqrt(squares);
    double phase = std::atan2(-a, b);
    if (phase < 0)
        phase += kTwoPi;
    const double shift = phase * period / kTwoPi;
    // A vanishing amplitude has no direction: its spread is that of the two coefficients
    // and its shift is unknown within half a period.
    // The two coefficients' errors are independent: they add in quadrature, whatever the
    // signs of a and b (a plain sum would let them cancel).
    const double amplitudeDeviation =
        amplitude > 0 ? std::hypot(a * sa, b * sb) / amplitude : std::hypot(sa, sb);
    const double shiftDeviation =
        squares > 0 ? std::hypot(a * sb, b * sa) / squares * period / kTwoPi : std::fabs(period) / 2;

    FitReportRow caption;
    caption.label = platform::Format("Cos with period = %g ", period);
    caption.caption = true;
    rows_.push_back(caption);
    FitReportRow amplitudeRow = Formatted("Amplitude", amplitude, amplitudeDeviation);
    FitReportRow shiftRow = Formatted("Phase", shift, shiftDeviation);
    for (FitReportRow* row : {&amplitudeRow, &shiftRow}) {
        row->share = ShareFromTexts(row->valueText, row->deviationText);
        row->shareText = ShareText(row->share, std::atof(row->valueText.c_str()));
    }
    formula_ += platform::Format(" +%s*cos((2*pi/%g)*(%s", amplitudeRow.valueText.c_str(), period, argument.c_str());
    formula_ += platform::Format(shift < 0 ? "%s))" : "+%s))", shiftRow.valueText.c_str());
    rows_.push_back(amplitudeRow);
    rows_.push_back(shiftRow);
    terms_ += 2;
}

void FitReport::Write(int valueParameter, double residualRatio) const
{
    const double r = 1.0 - std::sqrt(residualRatio);
    const std::string rText = CorrelationText(r);
    correlationText = rText;
    const platform::ColorRef rColor = ValueToColor(r);
    for (const FitReportRow& row : rows_)
        if (!row.caption)
            coefficientsText += row.valueText + "\t";
    coefficientsText += rText + "\n";
    AppendFittedFormula(formula_, valueParameter);

    constexpr platform::ColorRef black = 0;
    const std::string points = platform::Format("Number of points = %d", pointCount_);
    resultDocument& doc = theResultDocument;
    doc.AddTab(10);
    doc.AddSeriesMark(static_cast<std::uint32_t>(valueParameter));
    doc.AddTab(45);
    doc.AddText(formula_, black, 100);
    doc.NewLine();
    doc.AddTab(45);
    doc.AddText("Coefficient of correlation = ", black, 100);
    doc.AddText(rText, rColor, 100);
    doc.NewLine();
    doc.AddText(points, black, 100);
    doc.NewLine();
    doc.AddText("Coefficients:", black, 100);
    doc.NewLine();

    resultTables& tables = theResultTables;
    tables.AddParagraphStyled(formula_, 0, black);
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled("Coefficient of correlation = ", 0, black);
    tables.AddParagraphStyled(rText, 0, rColor);
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled(points, 0, black);
    tables.AddParagraphStyled("\n", 0, black);
    tables.AddParagraphStyled("Coefficients:\n", 0, black);
    WriteCoefficientTableHeader(static_cast<int>(rows_.size()) + 1);
    for (const FitReportRow& row : rows_)
        WriteCoefficientRow(row);
}

void WriteCoefficientTableHeader(int rowCount)
{
    constexpr platform::ColorRef black = 0;
    resultDocument& doc = theResultDocument;
    doc.AddTab(40);
    doc.AddText("Argument", black, 100);
    doc.AddTab(180);
    doc.AddSymbol(kSymbolAverage);
    doc.AddTab(300);
    doc.AddSymbol(kSymbolSigma);
    doc.AddTab(400);
    doc.AddSymbol(kSymbolVariation);
    doc.NewLine();
    resultTables& tables = theResultTables;
    tables.AddTable(rowCount, 4);
    for (const char* header : {"Argument", "Value", "St. Dev.", "Corl. Coef.(%)"})
        tables.AddCellStyled(header, 1, black);
}

void WriteCoefficientRow(const FitReportRow& row, int labelTab)
{
    constexpr platform::ColorRef black = 0;
    resultDocument& doc = theResultDocument;
    resultTables& tables = theResultTables;
    doc.AddTab(static_cast<std::uint32_t>(labelTab));
    doc.AddText(row.label, black, 100);
    if (row.caption) {
        doc.NewLine();
        tables.AddCellStyled(row.label, 0, black);
        for (int i = 0; i < 3; ++i)
            tables.AddCellStyled("", 0, black);
        return;
    }
    const platform::ColorRef shareColor = ColorForPercent(row.share);
    doc.AddTab(180);
    doc.AddText(row.valueText, black, 100);
    doc.AddTab(300);
    doc.AddText(row.deviationText, black, 100);
    doc.AddTab(400);
    doc.AddText(row.shareText, shareColor, 100);
    doc.NewLine();
    tables.AddCellStyled(row.label, 0, black);
    tables.AddCellStyled(row.valueText, 0, black);
    tables.AddCellStyled(row.deviationText, 0, black);
    tables.AddCellStyled(row.shareText, 0, shareColor);
}

void AddModelTerms(FitReport& report, const std::vector<std::string>& labels, const double* a, const double* d,
                   const std::vector<unsigned>& codes, unsigned firstPeriodic, const double* periods,
                   std::size_t periodCount, const std::string& argument)
{
    const std::size_t n = codes.size();
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned code = codes[k];
        if (code < firstPeriodic) {
            report.AddTerm(a[k], d[k], labels[k], !IsUnitLabel(labels[k]));
            continue;
        }
        const double period = PeriodOfCode(code, firstPeriodic, periods, periodCount);
        const bool sine = (code - firstPeriodic) % 2 == 0;
        if (sine && k + 1 < n && codes[k + 1] == code + 1) {
            report.AddPeriodicPair(a[k], a[k + 1], d[k], d[k + 1], period, argument);
            ++k;
            continue;
        }
        report.AddTerm(a[k], d[k], LonePeriodicLabel(sine, period, argument), true);
    }
}

