#include "app/analysis_hooks.h"

#include "app/custom_formula_fit.h"
#include "app/tabulon_dlg.h"
#include "fitting/parameters_of_multi_search1.h"
#include "formula/constructor_multi.h"
#include "charts/axes.h"
#include "charts/series_painting.h"
#include "data/data_page.h"
#include "data/insert_dialog.h"
#include "fitting/scoring_run.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/xystatistic_page.h"

namespace {
void ConnectScoring(MainWindowJobs& jobs);
}
// distribution_views.cpp: the coefficient of correlation of a value with its argument.
void ReportTwoParameterCorrelation(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                   int value);

AnalysisHooks::AnalysisHooks() {
    painters.axes = [](platform::Canvas& dc) {
        DrawAxes(dc);
        return 1;
    };
    painters.oneValueView = [](platform::Canvas& dc) { return PaintOneValueView(dc, CurrentSeriesPaintContext()); };
    painters.functionOfOneArgument = [](platform::Canvas& dc) {
        return PaintFunctionOfOneArgument(dc, CurrentSeriesPaintContext());
    };
    painters.dataSeries = [](platform::Canvas& dc) {
        PaintDataSeries(dc, CurrentSeriesPaintContext());
        return 1;
    };

    painters.multiArgumentApproximationReport = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->MultiArgumentApproximationReport();
    };

    jobs.bestPolynomialSearch = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->BestPolynomialSearch();
    };
    jobs.autoPolynomialSearch = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->AutoPolynomialSearch();
    };
    theConstructorMulti.runSearchParameters = [] {
        parametersOfMultiSearch1& dialog = theParametersOfMultiSearch1;
        const CTabulonDlg* d = SeriesPaintingDialog();
        dialog.argumentCount = d ? d->dataArguments : 0;
        dialog.RunModal(nullptr);
        return dialog.accepted;
    };

    // The single-argument schemes: both views call every slot for every value parameter in
    // their fixed order (series_painting.h); a scheme not built yet leaves its slot empty.
    OneArgumentSchemeCalls& schemes = TheOneArgumentSchemes();
    using Column = std::vector<double>;
    schemes.constructorFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->ConstructorFitYRange(x, y);
    };
    schemes.collectionFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CollectionFitYRange(x, y);
    };
    schemes.userFormulaYRange = UserFormulaYRange;
    schemes.fitResultReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->FitResultReport(dc, x, y, a, v);
    };
    schemes.userFormulaReport = UserFormulaReport;
    schemes.constructorFitReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->ConstructorFitReport(dc, x, y, a, v);
    };
    schemes.refreshCustomModel = [] {
        if (theXystatistic.customFormulas) RefreshCustomModel();
    };
    schemes.customTransformedValues = CustomTransformedValues;
    schemes.customFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CustomFitYRange(x, y);
    };
    schemes.customFormulaFitReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CustomFormulaFitReport(dc, x, y, a, v);
    };
    schemes.runPolynomFitting = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunPolynomFitting(dc, x, y, a, v);
    };
    schemes.runHarmonicAnalysis = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunHarmonicAnalysis(dc, x, y, a, v);
    };
    schemes.runBestFormulaSearch = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunBestFormulaSearch(dc, x, y, a, v);
    };
    ConnectScoring(jobs);
    schemes.reportCorrelationOfTwoParameters = ReportTwoParameterCorrelation;
    // The peaks scheme fills its own slots (peaks_report.cpp).

    jobs.userFormulaFitting = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->UserFormulaFitting();
    };
}

namespace {

// The scoring run scores into the parameter the insert dialog has just appended.
void ConnectScoring(MainWindowJobs& jobs) {
    theInsert.runScoring = [](int response, double threshold) {
        const int scoreParameter = theData.series.empty() ? -1 : theData.series[0].nParameters - 1;
        RunScoring(response, threshold, scoreParameter);
    };
    jobs.makeScoreFile = MakeScoreFile;
    jobs.scoringRuleCount = ScoringRuleCount;
}

}  // namespace

AnalysisHooks& TheAnalysisHooks() {
    static AnalysisHooks hooks;
    return hooks;
}
