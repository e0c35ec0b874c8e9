#include "app/analysis_hooks.h"

#include "app/custom_formula_fit.h"
#include "app/distribution_views.h"
#include "app/peaks_report.h"
#include "app/tabulon_dlg.h"
#include "charts/axes.h"
#include "charts/series_painting.h"
#include "data/data_page.h"
#include "data/insert_dialog.h"
#include "fitting/base_line.h"
#include "fitting/parameters_of_multi_search1.h"
#include "fitting/scoring_run.h"
#include "fitting/sinaldlg_page.h"
#include "fitting/user_formula_scheme.h"
#include "fitting/xystatistic_page.h"
#include "formula/constructor_multi.h"
#include "platform/requests.h"

namespace {

CTabulonDlg* MainDialog() { return dynamic_cast<CTabulonDlg*>(platform::MainWindow()); }

// A painter that is a member of the main window, found by `window` at each paint; 0 without it.
ChartPainter WindowPainter(CTabulonDlg* (*window)(), int (CTabulonDlg::*paint)(platform::Canvas&)) {
    return [window, paint](platform::Canvas& dc) {
        CTabulonDlg* d = window();
        return d ? (d->*paint)(dc) : 0;
    };
}

void FillPainters(ChartPainters& painters);
void FillJobs(MainWindowJobs& jobs);
void FillOneArgumentSchemes(OneArgumentSchemeCalls& schemes);

// Every slot of the hooks, and the other calls the pages and painters make into the main
// window (the single-argument schemes, the several-argument model, the search parameters
// dialog of the constructor page, the insert dialog's scoring). Called once, when the hooks
// are first used.
void FillAnalysisHooks(AnalysisHooks& hooks) {
    FillPainters(hooks.painters);
    FillJobs(hooks.jobs);
    FillOneArgumentSchemes(TheOneArgumentSchemes());
    TheSeveralArgumentModel().values = BestPolynomialValues;
    theConstructorMulti.runSearchParameters = [] {
        parametersOfMultiSearch1& dialog = theParametersOfMultiSearch1;
        const CTabulonDlg* d = SeriesPaintingDialog();
        dialog.argumentCount = d ? d->dataArguments : 0;
        dialog.RunModal(nullptr);
        return dialog.accepted;
    };
    // The scoring run scores into the parameter the insert dialog has just appended.
    theInsert.runScoring = [](int response, double threshold) {
        const int scoreParameter = theData.series.empty() ? -1 : theData.series[0].nParameters - 1;
        RunScoring(response, threshold, scoreParameter);
    };
}

void FillPainters(ChartPainters& painters) {
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

    painters.distributionOfOneVariable = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfOneVariable(dc, OneVariableStateOf(*window)) : 0;
    };
    painters.correlationView = [](platform::Canvas& dc, int series) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintCorrelationView(dc, series, CorrelationContextOf(*window)) : 0;
    };
    painters.distributionOfTwoVariables = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfTwoVariables(dc, TwoVariablesStateOf(*window)) : 0;
    };
    painters.distributionOfTwoVariablesFlat = [](platform::Canvas& dc) {
        CTabulonDlg* window = MainDialog();
        return window ? PaintDistributionOfTwoVariablesFlat(dc, TwoVariablesStateOf(*window)) : 0;
    };

    painters.multivariantFormulaFit = WindowPainter(SeriesPaintingDialog, &CTabulonDlg::PaintMultivariantFormulaFit);
    painters.unifiedArgumentFit = WindowPainter(SeriesPaintingDialog, &CTabulonDlg::PaintUnifiedArgumentFit);
    painters.xyCorrelation = WindowPainter(MainDialog, &CTabulonDlg::PaintXYCorrelation);
    painters.twoArgument3D = WindowPainter(MainDialog, &CTabulonDlg::PaintTwoArgument3D);
    painters.twoArgumentMap = WindowPainter(MainDialog, &CTabulonDlg::PaintTwoArgumentMap);
    painters.twoArgumentPoints = WindowPainter(MainDialog, &CTabulonDlg::PaintTwoArgumentPoints);
}

void FillJobs(MainWindowJobs& jobs) {
    jobs.userFormulaFitting = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->UserFormulaFitting();
    };
    jobs.bestPolynomialSearch = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->BestPolynomialSearch();
    };
    jobs.autoPolynomialSearch = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->AutoPolynomialSearch();
    };
    jobs.calculateTheoreticalValues = [] {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CalculateTheoreticalValues();
    };
    jobs.makeScoreFile = MakeScoreFile;
    jobs.scoringRuleCount = ScoringRuleCount;
}

// Both single-argument views call every slot for every value parameter in their fixed order
// (series_painting.h).
void FillOneArgumentSchemes(OneArgumentSchemeCalls& schemes) {
    using Column = std::vector<double>;
    schemes.refreshCustomModel = [] {
        if (theXystatistic.customFormulas) RefreshCustomModel();
    };
    schemes.customTransformedValues = CustomTransformedValues;
    schemes.correctBaseLine = [](Column& x, Column& y) {
        theSinaldlg.baseLineCorrected = CorrectBaseLine(x, y, theSinaldlg.settings.baseLine, theSinaldlg.baseLineFit);
    };
    schemes.constructorFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->ConstructorFitYRange(x, y);
    };
    schemes.customFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CustomFitYRange(x, y);
    };
    schemes.collectionFitYRange = [](const Column& x, const Column& y) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CollectionFitYRange(x, y);
    };
    schemes.userFormulaYRange = UserFormulaYRange;
    schemes.analysePeaks = [](const Column& x, const Column& y) { AnalysePeaks(x, y, theSinaldlg.settings); };
    schemes.constructorFitReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->ConstructorFitReport(dc, x, y, a, v);
    };
    schemes.customFormulaFitReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->CustomFormulaFitReport(dc, x, y, a, v);
    };
    schemes.fitResultReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->FitResultReport(dc, x, y, a, v);
    };
    schemes.userFormulaReport = UserFormulaReport;
    schemes.peaksReport = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        PeaksReport(dc, x, y, a, v, theSinaldlg.settings);
    };
    schemes.reportCorrelationOfTwoParameters = ReportTwoParameterCorrelation;
    schemes.runPolynomFitting = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunPolynomFitting(dc, x, y, a, v);
    };
    schemes.runHarmonicAnalysis = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunHarmonicAnalysis(dc, x, y, a, v);
    };
    schemes.runBestFormulaSearch = [](platform::Canvas& dc, const Column& x, const Column& y, int a, int v) {
        if (CTabulonDlg* d = SeriesPaintingDialog()) d->RunBestFormulaSearch(dc, x, y, a, v);
    };
}

AnalysisHooks FilledHooks() {
    AnalysisHooks hooks;
    FillAnalysisHooks(hooks);
    return hooks;
}

}  // namespace

AnalysisHooks& TheAnalysisHooks() {
    static AnalysisHooks hooks = FilledHooks();
    return hooks;
}
