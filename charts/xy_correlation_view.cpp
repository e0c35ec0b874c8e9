#include "charts/xy_correlation_view.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "charts/axes.h"
#include "charts/chart_page.h"
#include "charts/plot_mapping.h"
#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "data/point_marks.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/neighbour_estimate.h"
#include "fitting/polynomial_fits.h"
#include "formula/calculator.h"
#include "formula/constructor_multi.h"
#include "platform/canvas.h"
#include "platform/format.h"
#include "platform/pixel.h"
#include "statistics/color_maps.h"
#include "widgets/progress_bar.h"


namespace {

using platform::Canvas;
using platform::Pen;
using platform::PenStyle;

const char kPaintingMessage[] = "Painting data to virtual screen";

std::size_t Index(long long i) { return static_cast<std::size_t>(i); }

using Estimates = XYEstimates;

bool Eligible(const Series& s) { return s.nRecords >= s.nArguments + 3; }

// The mask of the series' roles: -1 argument, 1 value, 0 inactive.
void RebuildMask(const Series& s, std::vector<int>& mask) {
    mask.assign(Index(s.nParameters), 0);
    for (int p = 0; p < s.nParameters; ++p) mask[Index(p)] = theData.parameters[Index(s.firstParameter + p)].role;
}

// Ratings of a plane (kind 0) or parabolic (kind 1) fit, read by the full-analysis report.
void RateFit(int kind, double e, const std::vector<double>& c, const std::vector<double>& d) {
    double& criterion = kind == 0 ? planeFitCriterion : parabolicFitCriterion;
    double& measure = kind == 0 ? planeFitMeasure : parabolicFitMeasure;
    std::vector<double>& errors = kind == 0 ? planeRelativeErrors : parabolicRelativeErrors;
    const int count = static_cast<int>(std::min(c.size(), d.size()));
    measure = e;
    criterion = CoefficientErrorCriterion(e, c.data(), d.data(), count);
    errors.clear();
    for (int i = 0; i < count; ++i) {
        if (std::fabs(c[Index(i)]) > 1e-46) errors.push_back(std::fabs(d[Index(i)] / c[Index(i)]));
    }
}

class EstimateRun {
public:
    EstimateRun(XYCorrelationState& state, bool rate) : state_(state), rate_(rate) {}

    // Estimates of value column v of series s (an eligible series).
    void Compute(int s, int v, Estimates& out) {
        const Series& series = theData.series[Index(s)];
        std::vector<int>& mask = *state_.argumentMask;
        RebuildMask(series, mask);
        const multistat& m = theMultistat;
        const int n = series.nRecords;
        const int a = state_.arguments;
        out.records = n;
        out.step = m.nearNeighbors ? n / sampleRecordLimit + 1 : 1;
        theData.GetParameterValues(s, v, out.measured);
        KeepEveryKth(out.measured, out.step);
        out.estimates.resize(Index(n));
        const std::vector<double>& values = theData.allValues;
        const int stride = series.nParameters;
        const int first = series.firstValue;

        if (m.nearNeighbors) {
            std::vector<double> point(Index(std::max(a, 0)));
            const NeighbourSample sample(values, stride, a, first, n, mask, v);
            for (int r = 0, j = 0; r < n; r += out.step, ++j) {
                GatherSelectedArguments(values, stride, first, mask, r, point);
                out.estimates[Index(j)] = sample.Estimate(point, r, m.weightKind, m.nearNeighborPercent);
            }
        }
        if (m.plane) Regression(series, v, 0, out);
        if (m.parabolic) Regression(series, v, 1, out);
        if (m.bestPolynome || m.bestPolynomeAuto) Polynomial(series, v, out);
    }

private:
    void Regression(const Series& series, int v, int kind, Estimates& out) {
        const std::vector<int>& mask = *state_.argumentMask;
        const std::vector<double>& values = theData.allValues;
        const int stride = series.nParameters, first = series.firstValue;
        const int a = state_.arguments;
        std::vector<double> c, d;
        double deviation = 0;
        const double e = FitMultipleRegression(values, stride, a, first, series.nRecords, mask, v, c, d, &deviation, kind);
        Keep(c, d);
        if (rate_) RateFit(kind, e, c, d);
        // The basis row has a + 1 or 2a + 1 entries whatever the fit left.
        const std::size_t terms = static_cast<std::size_t>(kind == 0 ? a + 1 : 2 * a + 1);
        std::vector<double> row(std::max(terms, c.size()) + 1);
        for (int r = 0; r < series.nRecords; ++r) {
            if (kind == 0) {
                LinearBasisRow(row.data(), values, stride, first, r, mask);
            } else {
                QuadraticBasisRow(row.data(), values, stride, first, r, mask);
            }
            double sum = 0;
            for (std::size_t t = 0; t < c.size() && t < terms; ++t) sum += row[t] * c[t];
            out.estimates[Index(r)] = sum;
        }
    }

    // The current polynomial's terms fitted to this value column, then evaluated at every
    // record (0 where a basis value is rejected).
    void Polynomial(const Series& series, int v, Estimates& out) {
        std::vector<int> roles = *state_.argumentMask;
        for (int p = 0; p < static_cast<int>(roles.size()); ++p) {
            if (roles[Index(p)] == kRoleValue && p != v) roles[Index(p)] = kRoleInactive;
        }
        const std::vector<std::uint32_t>& codes = theConstructorMulti.currentPolyTerms;
        std::vector<int>& columns = *state_.argumentColumns;
        columns.clear();
        std::vector<double> c, d;
        double deviation = 0, maxDeviation = 0;
        int error = 0;
        FitTermCodeRegression(theData.allValues, series.firstValue, series.nRecords, series.nParameters, roles, columns,
                              c, d, &deviation, &maxDeviation, codes, &error);
        std::fill(out.estimates.begin(), out.estimates.end(), 0.0);
        if (error || c.empty()) return;
        Keep(c, d);
        for (int r = 0; r < series.nRecords; ++r) {
            int rejected = 0;
            const double value =
                EvaluateMultiPolynomial(r, theData.allValues, series.firstValue, series.nParameters, columns, c.data(),
                                        static_cast<int>(c.size()), state_.arguments, codes, &rejected);
            out.estimates[Index(r)] = rejected ? 0 : value;
        }
    }

    // The last fit's coefficients stay with the main window, as every fit leaves them.
    void Keep(const std::vector<double>& c, const std::vector<double>& d) {
        if (state_.fitCoefficients) {
            state_.fitCoefficients->fill(0);
            std::copy_n(c.begin(), std::min(c.size(), state_.fitCoefficients->size()), state_.fitCoefficients->begin());
        }
        if (state_.fitDeviations) {
            state_.fitDeviations->fill(0);
            std::copy_n(d.begin(), std::min(d.size(), state_.fitDeviations->size()), state_.fitDeviations->begin());
        }
    }

    XYCorrelationState& state_;
    bool rate_;
};

template <typename Visit>
void ForEachValueColumn(const Visit& visit) {
    for (int s = 0; s < static_cast<int>(theData.series.size()); ++s) {
        const Series& series = theData.series[Index(s)];
        if (!Eligible(series)) continue;
        for (int v = 0; v < series.nParameters; ++v) {
            if (theData.parameters[Index(series.firstParameter + v)].role == kRoleValue) visit(s, v);
        }
    }
}

int ShownCount(const Estimates& e) {
    return static_cast<int>(std::min(e.measured.size(), e.estimates.size()));
}

// One square range over measured and estimated values with a 5 % margin, written back to
// the View page.
void FitRanges(XYCorrelationState& state) {
    ResetPlotRanges();
    EstimateRun run(state, true);
    Estimates e;
    ForEachValueColumn([&](int s, int v) {
        run.Compute(s, v, e);
        ExtendXRange(e.measured);
        ExtendYRange(std::vector<double>(e.estimates.begin(), e.estimates.begin() + ShownCount(e)));
    });
    const double dx = (plotXMax - plotXMin) * 0.05;
    const double dy = (plotYMax - plotYMin) * 0.05;
    const double lo = std::min(plotXMin - dx, plotYMin - dy);
    const double hi = std::max(plotXMax + dx, plotYMax + dy);
    plotXMin = plotYMin = lo;
    plotXMax = plotYMax = hi;
    xyview& view = theXyview;
    view.xMin = view.yMin = lo;
    view.xMax = view.yMax = hi;
    if (view.HasWindow()) view.UpdateData(false);
}

// The near-neighbour value at the calculator's typed point and at every argument-file row.
void ServeCalculator(XYCorrelationState& state, int s, int v) {
    const Series& series = theData.series[Index(s)];
    const std::vector<int>& mask = *state.argumentMask;
    const multistat& m = theMultistat;
    const int a = state.arguments;
    theData.schemeReady = 1;
    const NeighbourSample sample(theData.allValues, series.nParameters, a, series.firstValue, series.nRecords, mask, v);
    auto estimate = [&](const std::vector<double>& point) {
        return sample.Estimate(point, -1, m.weightKind, m.nearNeighborPercent);
    };
    calculator& c = theCalculator;
    const std::string& name = theData.parameterNames[Index(series.firstParameter + v)];
    if (c.WantsTypedValue(a) && static_cast<int>(c.typedValues.size()) >= a) {
        c.AddTypedValue(name, estimate(std::vector<double>(c.typedValues.begin(), c.typedValues.begin() + a)));
    }
    c.ComputeRows(a, [&](const double* args) {
        const double e = estimate(std::vector<double>(args, args + a));
        if (state.lastEstimate) *state.lastEstimate = e;
        return e;
    });
}

// 1 - sqrt(SSR / SST) over the shown pairs. With measured values that do not vary the
// coefficient is not defined: 1 when the estimates reproduce them, 0 otherwise.
double CorrelationOf(const Estimates& e) {
    const int m = ShownCount(e);
    if (e.records < 1 || m < 1) return 0;
    double mean = 0;
    for (int i = 0; i < m; ++i) mean += e.measured[Index(i)];
    mean /= m;
    double ssr = 0, sst = 0;
    for (int i = 0; i < m; ++i) {
        const double r = e.measured[Index(i)] - e.estimates[Index(i)];
        const double t = e.measured[Index(i)] - mean;
        ssr += r * r;
        sst += t * t;
    }
    if (sst == 0) return ssr == 0 ? 1 : 0;
    return 1 - std::sqrt(ssr / sst);
}

void WriteResultLine(XYCorrelationState& state, int s, int v, const Estimates& e) {
    const Series& series = theData.series[Index(s)];
    const double c = CorrelationOf(e);
    correlationText = platform::Format("%.4g", c);
    std::string label = theData.parameterNames[Index(series.firstParameter + v)] + "(";
    bool any = false;
    for (int p = 0; p < series.nParameters; ++p) {
        if (theData.parameters[Index(series.firstParameter + p)].role != kRoleArgument) continue;
        label += (any ? "," : "") + theData.parameterNames[Index(series.firstParameter + p)];
        any = true;
    }
    label += ")";
    const auto global = static_cast<unsigned>(series.firstParameter + v);
    if (state.legendTexts) state.legendTexts->push_back(label);
    if (state.legendMarks) state.legendMarks->push_back(global);
    theResult.formulaText += label + "\n";

    const int m = ShownCount(e);
    const std::string text =
        m == e.records
            ? label + platform::Format("  Number of records = %d  Coefficient of correlation = ", e.records)
            : label + platform::Format("  Number of records   = %d taking every %dth record  Coefficient of correlation = ",
                                       m, e.step);
    const auto colour = static_cast<platform::ColorRef>(ValueToColor(c));
    resultDocument& doc = theResultDocument;
    doc.AddTab(10);
    doc.AddSeriesMark(global);
    doc.AddTab(45);
    doc.AddText(text, 0, 100);
    doc.AddText(correlationText, colour, 100);
    doc.NewLine();
    theResultTables.AddParagraphStyled(text, 0, 0);
    theResultTables.AddParagraphStyled(correlationText, 0, colour);
    theResultTables.AddParagraph("\n");
}

}  // namespace

int PaintXYCorrelation(Canvas& dc, XYCorrelationState& state) {
    if (state.correlationMatrix) return 1;
    const multistat& m = theMultistat;
    if (state.seriesCount < 1 || state.arguments < 2 || state.values < 1) return 0;
    const bool regression = m.plane || m.parabolic || m.bestPolynome || m.bestPolynomeAuto;
    if (!m.nearNeighbors && !(state.arguments >= 3 && regression)) return 0;
    std::vector<int> ownMask, ownColumns;
    if (!state.argumentMask) state.argumentMask = &ownMask;
    if (!state.argumentColumns) state.argumentColumns = &ownColumns;

    if (theXyview.autozoom) FitRanges(state);
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);

    // The reference line y = x over the overlap of the two ranges.
    {
        const double w0 = std::max(plotXMin, plotYMin);
        const double w1 = std::min(plotXMax, plotYMax);
        const Pen oldPen = dc.SelectPen(Pen(PenStyle::Dash, theChart.fittingLineWidth, platform::kBlack));
        dc.MoveTo(WorldToPixelX(w0), WorldToPixelY(w0));
        dc.LineTo(WorldToPixelX(w1), WorldToPixelY(w1));
        dc.SelectPen(oldPen);
    }

    EstimateRun run(state, false);
    Estimates e;
    ForEachValueColumn([&](int s, int v) {
        run.Compute(s, v, e);
        if (m.nearNeighbors) ServeCalculator(state, s, v);
        const Initial& value = theData.parameters[Index(theData.series[Index(s)].firstParameter + v)];
        const int size = value.autoSize ? std::clamp(150 / (e.records + 2), 2, 10) : value.markSize;
        const int shown = ShownCount(e);
        for (int i = 0; i < shown; ++i) {
            DrawMarker(dc, WorldToPixelX(e.measured[Index(i)]), WorldToPixelY(e.estimates[Index(i)]), size,
                       value.markShape, static_cast<platform::ColorRef>(value.color), theChart.chartAreaColor);
        }
        if (m.nearNeighbors) WriteResultLine(state, s, v, e);
    });
    DrawAxes(dc);
    if (state.argumentMask == &ownMask) state.argumentMask = nullptr;
    if (state.argumentColumns == &ownColumns) state.argumentColumns = nullptr;
    return 1;
}

void ComputeXYEstimates(XYCorrelationState& state, int s, int v, XYEstimates& out) {
    std::vector<int> ownMask, ownColumns;
    if (!state.argumentMask) state.argumentMask = &ownMask;
    if (!state.argumentColumns) state.argumentColumns = &ownColumns;
    EstimateRun(state, false).Compute(s, v, out);
    if (state.argumentMask == &ownMask) state.argumentMask = nullptr;
    if (state.argumentColumns == &ownColumns) state.argumentColumns = nullptr;
}
