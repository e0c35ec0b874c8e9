// The result text of the several-argument approximations: plane, parabolic surface (in
// vertex form) and the current best polynomial for every value of every series, or the
// heading of the near-neighbour estimate. It paints nothing; the chart comes from others.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "data/data_page.h"
#include "documents/fitted_formulas.h"
#include "documents/result_page.h"
#include "fitting/fit_report.h"
#include "fitting/multistat_page.h"
#include "fitting/polynomial_fits.h"
#include "fitting/schemes.h"
#include "formula/calculator.h"
#include "formula/constructor_multi.h"
#include "formula/number_formatting.h"
#include "platform/format.h"
#include "statistics/color_maps.h"

namespace {

constexpr platform::ColorRef kBlack = 0;
constexpr platform::ColorRef kHeadingColor = platform::Rgb(130, 130, 255);

// The coefficient table of one value, in the kit's rows; `labels` counts the row-label
// column, which the parabolic form fills once per argument.
struct CoefficientRows {
    std::vector<FitReportRow> rows;
    int labels = 0;

    // Formats the coefficient and its deviation, appends the row and returns the value text.
    std::string Add(const std::string& label, double c, double s, int points) {
        FitReportRow row;
        row.label = label;
        FormatValueWithDeviation(c, s, row.valueText, row.deviationText, points, theResult.autoDigits,
                                 theResult.digits);
        row.share = (std::fabs(c) < 1e-30 ? 1e30 : std::fabs(s / c)) * 100;
        row.shareText = platform::Format("%.2g", row.share);
        rows.push_back(row);
        return row.valueText;
    }
    void Clear() { *this = CoefficientRows{}; }
};

// One row in both stores, its value text also into the coefficients line.
void WriteRow(const FitReportRow& row, int labelTab) {
    WriteCoefficientRow(row, labelTab);
    coefficientsText += row.valueText + "\t";
}

bool IsConstantTerm(const std::string& text) {
    return text.size() == 3 && text[0] == '1' && text[1] == '.' && text[2] == '0';
}

void Heading(const char* text) {
    theResultDocument.AddText(text, kHeadingColor, 140);
    theResultTables.AddParagraphStyled(std::string(text) + "\n", 1, kBlack);
}

void NeighbourWeightLine(const multistat& m) {
    std::string line;
    switch (m.weightKind) {
        case 0: line = "Invert distance as weight coefficient"; break;
        case 1: line = "Invert square distance as weight coefficient"; break;
        case 2: line = "Invert exponent distance as weight coefficient"; break;
        case 3: line = platform::Format("Closest %g%% of points", m.nearNeighborPercent); break;
        default: return;
    }
    theResultDocument.AddText(line, kBlack, 140);
    theResultTables.AddParagraphStyled(line + ".\n", 0, kBlack);
}

// A line of one value in both stores, behind the value's series mark.
void MarkedLine(int parameter, const std::string& text) {
    theResultDocument.AddTab(10);
    theResultDocument.AddSeriesMark(static_cast<std::uint32_t>(parameter));
    theResultDocument.AddTab(45);
    theResultDocument.AddText(text, kBlack, 100);
    theResultDocument.NewLine();
    theResultTables.AddParagraphStyled(text, 0, kBlack);
    theResultTables.AddParagraphStyled("\n", 0, kBlack);
}

}  // namespace

void CTabulonDlg::MultiArgumentApproximationReport() {
    const multistat& m = theMultistat;
    const bool polynomial = (m.bestPolynome || m.bestPolynomeAuto) && dataArguments >= 2;
    resultDocument& doc = theResultDocument;
    resultTables& tables = theResultTables;

    coefficientsText.clear();
    if (m.plane) Heading("Plane approximation:");
    if (m.parabolic) Heading("Parabolic approximation:");
    if (polynomial) Heading("Best multypolynom:");
    if (m.nearNeighbors) {
        doc.AddText("Near neighbors estimation:", kHeadingColor, 140);
        doc.NewLine();
        tables.AddParagraphStyled("Near neighbors estimation:\n", 1, kBlack);
        NeighbourWeightLine(m);
    }
    doc.NewLine();
    if (m.nearNeighbors) return;

    const auto& names = theData.parameterNames;
    const auto nameOf = [&names](int p) {
        return p >= 0 && static_cast<std::size_t>(p) < names.size() ? names[static_cast<std::size_t>(p)]
                                                                     : std::string();
    };
    const std::vector<unsigned>& terms = theConstructorMulti.currentPolyTerms;
    const int termCount = dataArguments > 0 ? static_cast<int>(terms.size()) / dataArguments : 0;
    std::vector<unsigned> parameterMap;
    CoefficientRows rows;
    std::vector<double> coefficients, deviations;
    std::vector<VertexTerm> vertex;
    const int seriesCount = std::min(dataSeriesCount, static_cast<int>(theData.series.size()));

    for (int si = 0; si < seriesCount; ++si) {
        const Series s = theData.series[static_cast<std::size_t>(si)];
        // The fit needs nArguments + 4 records; a shorter series gets no line rather than
        // the coefficients of the previous fit.
        if (s.nRecords < s.nArguments + 4) continue;
        const std::string title = platform::Format("%s (%d records)",
                                                   si < static_cast<int>(theData.seriesNames.size())
                                                       ? theData.seriesNames[static_cast<std::size_t>(si)].c_str()
                                                       : "",
                                                   s.nRecords);
        tables.AddParagraphStyled(title, 0, kBlack);
        doc.AddText(title, kBlack, 140);
        doc.NewLine();

        std::vector<int> argumentParameters;
        for (int k = 0; k < s.nParameters; ++k) {
            if (theData.parameters[static_cast<std::size_t>(s.firstParameter + k)].role == kRoleArgument)
                argumentParameters.push_back(s.firstParameter + k);
        }
        const int n = static_cast<int>(argumentParameters.size());
        parameterMap.assign(argumentParameters.begin(), argumentParameters.end());

        for (int k = 0; k < s.nParameters; ++k) {
            const int p = s.firstParameter + k;
            if (theData.parameters[static_cast<std::size_t>(p)].role != kRoleValue) continue;
            const std::string valueName = nameOf(p);
            double e = 0;
            std::string noFit;  // the line written in place of a fit that fits nothing
            const auto runFit = [&] {
                e = RunMultiArgumentFit(si, p, coefficients, deviations, &noFit);
                for (std::size_t i = 0; i < coefficients.size() && i < fitCoefficients.size(); ++i) {
                    fitCoefficients[i] = coefficients[i];
                    fitDeviations[i] = deviations[i];
                }
            };
            const auto rawValue = [n](const std::vector<double>& c, const double* x, bool parabolic) {
                double v = c[0];
                for (int j = 0; j < n; ++j) {
                    v += parabolic ? c[static_cast<std::size_t>(1 + 2 * j)] * x[j] * x[j] +
                                         c[static_cast<std::size_t>(2 + 2 * j)] * x[j]
                                   : c[static_cast<std::size_t>(1 + j)] * x[j];
                }
                return v;
            };
            const auto calculatorValues = [&](bool parabolic) {
                theData.schemeReady = 1;  // the surface can fill an inserted parameter
                if (theCalculator.WantsTypedValue(dataArguments))
                    theCalculator.AddTypedValue(valueName,
                                                rawValue(coefficients, theCalculator.typedValueTable.data(), parabolic));
                theCalculator.ComputeRows(dataArguments, [&](const double* x) {
                    return rawValue(coefficients, x, parabolic);
                });
            };
            double a0 = 0, a0Deviation = 0;
            // A fit that fits nothing gives the calculator no value.
            if (m.plane) {
                runFit();
                if (noFit.empty()) calculatorValues(false);
                a0 = coefficients.empty() ? 0 : coefficients[0];
                a0Deviation = deviations.empty() ? 0 : deviations[0];
            }
            if (m.parabolic) {
                runFit();
                a0 = ParabolicVertexForm(coefficients.data(), deviations.data(), n, vertex);
                a0Deviation = deviations[0];
                if (noFit.empty()) calculatorValues(true);
            }
            if (polynomial) {
                runFit();
                if (noFit.empty() && theCalculator.WantsTypedValue(dataArguments)) {
                    int error = 0;
                    const double v = TermProductModelValue(theCalculator.typedValueTable.data(),
                                                           fitCoefficients.data(), dataArguments, terms, error);
                    if (error) {
                        theCalculator.valuesText += valueName + "=MathMist; ";
                    } else {
                        theCalculator.AddTypedValue(valueName, v);
                    }
                    theCalculator.ComputeRows(dataArguments, [&](const double* x) {
                        int rowError = 0;
                        return TermProductModelValue(x, fitCoefficients.data(), dataArguments, terms, rowError);
                    });
                }
            }

            if (!noFit.empty()) {
                // One line in place of the formula, the correlation and the table.
                MarkedLine(p, noFit);
                rows.Clear();
                doc.NewLine();
                continue;
            }

            std::string formula = valueName + " = ";
            const std::string constantLabel = "1.0";
            if ((m.plane || m.parabolic) && !polynomial) {
                formula += rows.Add(constantLabel, a0, a0Deviation, s.nRecords);
                ++rows.labels;
            }
            if (polynomial) {
                rows.Clear();
                for (int t = 0; t < termCount; ++t) {
                    std::string termText;
                    theConstructorMulti.ComposeTermFormula(termText, t, dataArguments, parameterMap, names, terms);
                    const double c = fitCoefficients[static_cast<std::size_t>(t)];
                    const std::string valueText =
                        rows.Add(termText, c, fitDeviations[static_cast<std::size_t>(t)], s.nRecords);
                    ++rows.labels;
                    if (IsConstantTerm(termText)) {
                        formula += valueText;
                    } else {
                        formula += platform::Format(c >= 0 ? " + %s*%s" : " %s*%s", valueText.c_str(), termText.c_str());
                    }
                }
            } else {
                for (int j = 0; j < n; ++j) {
                    const std::string argumentName = nameOf(argumentParameters[static_cast<std::size_t>(j)]);
                    if (m.parabolic) {
                        const VertexTerm& v = vertex[static_cast<std::size_t>(j)];
                        ++rows.labels;
                        const std::string aText = rows.Add("a", v.a, v.aDeviation, s.nRecords);
                        const std::string bText = rows.Add("b", v.b, v.bDeviation, s.nRecords);
                        formula += platform::Format(v.a >= 0 ? " + %s*(%s" : " %s*(%s", aText.c_str(),
                                                    argumentName.c_str());
                        formula += platform::Format(v.b >= 0 ? " + %s)^2" : " %s)^2", bText.c_str());
                    } else {
                        const double c = coefficients[static_cast<std::size_t>(1 + j)];
                        const std::string valueText =
                            rows.Add(argumentName, c, deviations[static_cast<std::size_t>(1 + j)], s.nRecords);
                        ++rows.labels;
                        formula += platform::Format(c >= 0 ? " + %s*%s" : " %s*%s", valueText.c_str(),
                                                    argumentName.c_str());
                    }
                }
            }

            MarkedLine(p, formula);
            AppendFittedFormula(formula, p);

            const double r = 1.0 - std::sqrt(e);
            const std::string& rText = CorrelationText(r);
            doc.AddTab(45);
            doc.AddText("Coefficient of correlation = ", kBlack, 100);
            tables.AddParagraphStyled("Coefficient of correlation = ", 0, kBlack);
            doc.AddText(rText, ValueToColor(r), 100);
            doc.NewLine();
            tables.AddParagraphStyled(rText, 0, ValueToColor(r));
            tables.AddParagraphStyled("\n", 0, kBlack);

            const std::string points = platform::Format("Number of points = %d", s.nRecords);
            doc.AddText(points, kBlack, 100);
            tables.AddParagraphStyled(points, 0, kBlack);
            tables.AddParagraphStyled("\n", 0, kBlack);
            doc.NewLine();
            doc.AddText(platform::Format("%d ", rows.labels), kBlack, 20);
            doc.AddText("Coefficients:", kBlack, 100);

            const int rowCount = m.parabolic && !polynomial ? 3 * n + 2 : static_cast<int>(rows.rows.size()) + 1;
            doc.AddObject(4, rowCount, 20, 15);
            doc.NewLine();
            WriteCoefficientTableHeader(rowCount);
            if (m.parabolic && !polynomial) {
                WriteRow(rows.rows[0], 40);
                for (int j = 0; j < n; ++j) {
                    const std::string group =
                        platform::Format("a*(%s + b)^2", nameOf(argumentParameters[static_cast<std::size_t>(j)]).c_str());
                    doc.NewLine();
                    doc.AddTab(40);
                    doc.AddText(group, kBlack, 100);
                    for (int i = 0; i < 3; ++i) doc.AddText("", kBlack, 100);
                    tables.AddCellStyled(group, 0, kBlack);
                    for (int i = 0; i < 3; ++i) tables.AddCellStyled("", 0, kBlack);
                    doc.NewLine();
                    WriteRow(rows.rows[static_cast<std::size_t>(1 + 2 * j)], 50);
                    doc.NewLine();
                    WriteRow(rows.rows[static_cast<std::size_t>(2 + 2 * j)], 50);
                }
            } else {
                for (const FitReportRow& row : rows.rows) WriteRow(row, 40);
            }
            coefficientsText += lastCorrelationText + "\n";
            rows.Clear();
            doc.NewLine();
        }
    }
}
