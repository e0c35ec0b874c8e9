#pragma once
// The main dialog: the menu, the seven tabs with their seventeen pages, the layout of chart,
// result pane and data sheet, the virtual screen the charts are painted into, the repaint
// cycle driven by the pages' changed flags, and the job hook in which long jobs run. It
// lives as a local object of the start routine; its modal loop is the program's.
#include <array>
#include <functional>
#include <ostream>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "app/main_pages.h"
#include "documents/cdf_file.h"
#include "documents/macro_runner.h"
#include "fitting/term_search.h"
#include "widgets/progress_bar.h"
#include "statistics/color_maps.h"  // ColorForPercent
#include "charts/two_argument_views.h"
#include "platform/bitmap.h"
#include "platform/brush.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "platform/pen.h"

struct DocumentSettings;
struct ScaledPowerSeries;

// Program-wide ints of the repaint cycle.
extern int chartPaintEnabled;  // 1 normally; 0 while a chart paint runs (it is not re-entered)
extern int chartFrameResized;  // the window or the image size changed since the last copy

class CTabulonDlg : public platform::Dialog, public ProgressBarWindow {
public:
    CTabulonDlg();
    ~CTabulonDlg() override;

    // ---- Start-up --------------------------------------------------------------------
    std::string commandLineDocument;  // the document named on the command line
    int hasCommandLineDocument = 0;
    int initialised = 0;       // the pages exist; size and show handlers do nothing before
    int minimumSizeGuard = 0;  // the pages are placed: the minimum size applies
    int setUpDone = 0;         // a second OnInitDialog returns at once

    // ---- Pages and tabs ----------------------------------------------------------------
    std::array<pageRecord, kPageCount> pages{};
    int pageCount = kPageCount;
    int tabAreaWidth = 200;   // the data page's width + 10
    int tabAreaHeight = 100;  // the data page's height
    int tabItemHeight = 0;
    int tabTop = 0;
    std::array<QImage, kTabCount> tabImages;
    std::array<std::array<platform::ColorRef, 2>, kTabCount> tabColors{};  // fill, text

    // ---- Layout ------------------------------------------------------------------------
    platform::Rect chartRect;
    platform::Rect resultRect;
    int sideWidth = 0;  // the data sheet's width while it is shown
    double sideWidthFraction = 0.3;

    // ---- The virtual screen: a screen-sized bitmap, cleared white once --------------------
    platform::Bitmap virtualScreenBitmap;
    std::unique_ptr<platform::Canvas> virtualScreenDC;

    // ---- Drawing objects -------------------------------------------------------------------
    platform::ColorRef blackColor = 0x000000;
    platform::Brush marginBrush;  // the window's border strips
    platform::Brush whiteBrush;   // the chart background
    platform::Pen nullPen;
    platform::Font tabFont;

    // ---- Folders and recent files ------------------------------------------------------------
    std::array<std::string, 4> recentFiles;
    std::string recentFilesListPath;
    std::string recentFolder;
    std::string makerFolder;  // "Marvisto": the recent-files list and the current directory

    // ---- Data shape (as last read by UpdateForDataShape) -----------------------------------
    int dataSeriesCount = 0;
    int dataArguments = 0;
    int dataValues = 0;
    int dataParameters = 0;
    int shapeChanged = 0;
    int wantedPage = 0;  // the page the current tab should show
    int view3D = 0;      // the View tab shows the three-dimensional page
    int correlationSeries = 0;
    int documentJustRead = 0;

    // ---- Repaint cycle -------------------------------------------------------------------------
    int recomputeNeeded = 0;
    int chartAreaWidth = 0, chartAreaHeight = 0;    // size of chartRect
    int chartImageWidth = 0, chartImageHeight = 0;  // size at which the chart is painted
    struct PlotRectSave {
        int left = 0, right = 0, bottom = 0, top = 0;
    } savedPlotRect;
    int legendBlockLines = 0;
    int legendBlockTop = 0;
    int legendLineHeight = 20;
    int colorScaleWidth = 50;
    int visibleDataOnly = 1;
    int storedShowCommand = -1;  // the show state at the last paint
    std::vector<unsigned> legendMarks;     // parameter of each formula legend entry
    std::vector<std::string> legendTexts;  // its formula text
    platform::ColorRef progressFrameColor = 0xE6FFF5;
    platform::ColorRef progressTextColor = 0x645A91;
    platform::ColorRef progressBarColor = 0xFFC8B4;

    // ---- Drag on the chart ----------------------------------------------------------------------
    int dragActive = 0;
    platform::Point dragStart;
    platform::Point dragEnd;
    int hitTestBusy = 0;    // a Ctrl-click hit test is running

    // ---- Working lists of the fitting code --------------------------------------------------------
    std::array<double, 100> fitCoefficients{};
    std::array<double, 100> fitDeviations{};
    std::vector<unsigned> termCodes;  // the selected terms of the searches
    int yTransformCode = 0;
    std::vector<double> periods;
    std::vector<int> argumentMask;
    double fitCorrelation = 0;         // correlation of the current fit, for the painters
    double lastEstimate = 0;           // the last model value computed for an argument-file row
    double calculatorValue = 0;
    std::vector<std::string> modelLabels;
    std::vector<int> modelLabelParameters;
    std::vector<unsigned> triedTermCodes;  // term sets already tried, one after another
    std::vector<int> triedTermSetStarts;   // where each set starts in triedTermCodes
    // The residual measure e of the latest fit of the current term model by a search, and
    // |deviation / coefficient| of each of its terms whose coefficient exceeds 1e-100.
    double lastTermFitResidual = 0.0;
    std::vector<double> lastTermFitRatios;

    // ---- Set-up and smaller handlers (tabulon_dlg.cpp) -----------------------------------------------
    bool OnInitDialog() override;
    void CreateDrawingObjects();
    void CreateVirtualScreen();
    // The "Marvisto" folder beside the program (or in the user's data folder when the program's
    // folder is not writable), made the current directory; the recent-files list path inside it.
    void LoadSettings(const std::string& programFolder);
    void LoadRecentFiles();
    void UpdateRecentFilesMenu();
    // Reads the document at documentPath.
    void ReadDocument();
    void MoveToDefaultSize();
    void OnSize(int type, int cx, int cy) override;
    void OnShowWindow(bool show) override;
    void OnMove(int x, int y) override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnDestroy() override;
    void OnOnlineHelp();
    void OnAbout();

    // ---- Documents (document_commands.cpp, recent_files.cpp) -----------------------------------------
    std::string defaultDocumentPath;  // "untitled.cdf" in the program folder
    int readingDocument = 0;          // a document is being read: file commands wait
    int undoSaveRequest = 0;          // the job hook writes the undo snapshot
    int undoRestoreRequest = 0;       // the job hook reads the undo snapshot back
    std::shared_ptr<const DocumentSettings> cleanSettings;  // the settings as last saved or read
    std::uint64_t cleanFingerprint = 0;                       // the data as last saved or read
    FileStamp documentStamp;  // the document file as this window last read or wrote it
    void RouteDocumentCommands();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Writes the document to path; false, after a message, when it could not be written (the
    // file on disk is then unchanged). On success written (when given) tells the file.
    bool WriteDocument(const std::string& path, FileStamp* written = nullptr);
    // File > Save: writes the document to documentPath, asking first when the file there is
    // not the version this window read or wrote; false when it was not saved.
    bool SaveDocument();
    // Reads the document at path and makes it the current one; on any failure (after a
    // message) the work, documentPath and the folders stay as they were.
    bool ReadDocumentAt(const std::string& path);
    // A path from the recent-file list or the command line, quotes around it dropped: read
    // from the first tab, then everything repainted.
    void OpenListedDocument(std::string path);
    // The work as it is now counts as saved.
    void NoteDocumentClean();
    // The data or the settings changed since the last save or read.
    bool WorkChanged() const;
    // "Save changes to %s?" when the work changed: Yes saves first, No goes on; false for
    // Cancel (or a failed save).
    bool AskToSaveChanges();
    // The name Save as gives a chosen path: ".cdf" or ".nc" in the name keeps it, another
    // extension becomes "cdf", a name without one gets ".cdf".
    static std::string ApplyExtensionRule(const std::string& path);
    static bool FolderOfPath(std::string path, std::string& folder);
    std::string UndoSnapshotPath() const;
    void ServeUndoRequests();
    void SaveRecentFiles();
    // 1 when the path was added at the top, 0 when it was in the list already (any case).
    int AddRecentFile(std::string path);
    void OpenRecentFile(int n);
    void OnFileRecentFile1() { OpenRecentFile(0); }
    void OnFileRecentFile2() { OpenRecentFile(1); }
    void OnFileRecentFile3() { OpenRecentFile(2); }
    void OnFileRecentFile4() { OpenRecentFile(3); }

    // ---- Tabs and layout (main_layout.cpp) ------------------------------------------------------------
    int TabToPage(int tab);
    int CurrentTab() const;
    void OnTabSelChange();
    void OnTabSelChanging();
    void ShowTabPage(int page);
    void ComputeLayoutRects();
    void LayoutControls(int cx, int cy);
    void PlaceSideWindow();
    bool OnDrawItem(platform::DrawItem& item) override;

    // ---- Page flags and the job hook (page_flags.cpp, job_hook.cpp) ------------------------------------
    void CheckPageFlags();
    void OnSysCommand(unsigned command, long lParam) override;
    // Pumps the waiting messages between two steps of a job; false when the job must stop now:
    // the window is closing, or the data store changed since storeChangeCount was taken.
    bool PumpJobStep(std::uint64_t storeChangeCount);
    // Tells every running or asked-for job to stop at its next test.
    void StopRunningJobs();
    bool JobRunning() const { return runningJob_ != Job::None; }

    // ---- Drag feedback (drag_feedback.cpp) --------------------------------------------------------------
    int IsInPlotRect(int x, int y) const;
    void OnMouseMove(unsigned flags, platform::Point point) override;
    // A client point in the chart image's pixels: the image is drawn at chartRect's corner,
    // stretched when it was painted at another size.
    platform::Point ChartImagePoint(platform::Point client) const;

    // ---- Mouse work on the chart (chart_mouse.cpp) --------------------------------------------------------
    void OnLButtonDown(unsigned flags, platform::Point point) override;
    void OnLButtonUp(unsigned flags, platform::Point point) override;
    // Finds the record plotted nearest to the client point and shows it in the data sheet.
    void HitTestChart(int x, int y);

    // ---- Repaint cycle (repaint_cycle.cpp, chart_frame.cpp, result_pane.cpp) ------------------------------
    void OnPaint() override;
    void RepaintAll();
    void BlitChart();
    void EraseBesideChart(platform::Canvas& dc);  // the strip between a narrowed chart and the border
    void PaintChart(platform::Canvas& dc, int width, int height);
    void PaintVirtualScreen(platform::Canvas& dc);
    void UpdateForDataShape();
    void PaintResultPane();
    void PaintChartFrame(platform::Canvas& dc);
    int MeasureFormulaLegend(platform::Canvas& dc);
    int PaintLegendBlock(platform::Canvas& dc, int x);
    void ReserveLegendSpace(platform::Canvas& dc, int lines);

    // ---- Data shape and series painting (data_shape.cpp) ---------------------------------------------------
    int previousArguments = 0, previousValues = 0, previousParameters = 0;  // the shape of the last call
    int fewArguments = 1;  // dataArguments < 2
    int PaintFunctionOfOneArgument(platform::Canvas& dc);
    void PaintDataSeries(platform::Canvas& dc);
    // Two-argument data through the scene (two_argument_view_state.cpp): 1 painted, 0 not.
    int PaintTwoArgument3D(platform::Canvas& dc);
    int PaintTwoArgumentMap(platform::Canvas& dc);
    int PaintTwoArgumentPoints(platform::Canvas& dc);

    // ---- Several-argument fits (multi_argument_fit.cpp, xy_correlation_state.cpp) -------------------------------
    // Runs the plane, parabolic and best-polynomial fits the several-argument page asks for
    // on one value parameter (an index into the parameter arrays) of a series; the result of
    // the last fit run, 0 when none ran. A series index outside the store throws. noFit, when
    // given, gets the line a report writes in place of a fit that fits nothing (terms not
    // independent, no terms, a term rejected); it stays empty for a fit.
    double RunMultiArgumentFit(int seriesIndex, int valueParameter, std::vector<double>& coefficients,
                               std::vector<double>& deviations, std::string* noFit = nullptr);
    // The fitted several-argument polynomial's value at every record of the only series, and
    // SSR / SST of those predictions (1e40 when the values do not vary); 0 when nothing was
    // computed (the arrays then stay as they were).
    double MultiPolynomialValues(std::vector<double>& values, std::vector<double>& predicted, int valueParameter,
                                 const std::vector<std::uint32_t>& codes);
    int PaintXYCorrelation(platform::Canvas& dc);
    // The result text of the plane, parabolic, best-polynomial and near-neighbour schemes
    // for every value of every series (multi_argument_report.cpp); paints nothing.
    void MultiArgumentApproximationReport();
    // The stepped searches of the best polynomial, run by the job hook (polynomial_searches.cpp).
    void BestPolynomialSearch();
    void AutoPolynomialSearch();

    // ---- User formula of several arguments and its fitting (user_formula_fitting.cpp) ----------------
    // The useruf formula at every record of the only series with the given coefficient values:
    // measured and computed columns, the "+ const" offset, and SSR / SST. 1e40 for data it
    // cannot fit (not one series, no records, no spread, a value column outside the series)
    // and when the formula fails at a record (that record's computed value is NaN).
    double MultivariantFormulaValues(std::vector<double>& measured, std::vector<double>& computed, int valueColumn,
                                     const std::vector<double>& coefficients, double& offset, int plusConst);
    // The formula as one combined argument u per record, the value fitted as a power series
    // in u (series, 2 to 7 coefficients in powers of u; `scaled`, when given, the same series
    // in u centred and scaled, which evaluates without the rounding of the raw powers; its
    // determinant 0 when the terms are not independent); SSR / SST as above, but 0 for values
    // without spread and 1e40 when the terms are not independent.
    double UnifiedArgumentValues(std::vector<double>& measured, std::vector<double>& combined, int valueColumn,
                                 const std::vector<double>& coefficients, std::vector<double>& series,
                                 ScaledPowerSeries* scaled = nullptr);
    // Substitution list of the formulas at records: the first series' parameter names, then
    // the useruf coefficient names with the given values written "%g".
    void FillFormulaSubstitution(int parameters, const std::vector<double>& coefficients);
    // Theoretical values (theoretical_values.cpp): the last parameter of every record of the
    // first series becomes the current scheme's value at the record.
    void CalculateTheoreticalValues();
    bool OneArgumentTheoreticalValue(double x, double& v);
    double SeveralArgumentTheoreticalValue(int r, int k, int valueColumn, const std::vector<double>& point);
    // Their views (user_formula_views.cpp): 1 painted, 0 not their data or scheme.
    int PaintMultivariantFormulaFit(platform::Canvas& dc);
    int PaintUnifiedArgumentFit(platform::Canvas& dc);
    // The points the last of those views drew, by record of the only series (NaN where it drew
    // none), in world units: what a Ctrl-click on the chart searches. Emptied by every paint.
    struct DrawnPairs {
        std::vector<double> xs, ys;
    } formulaViewPairs;
    // The stepped random search over the useruf coefficients, run by the job hook.
    void UserFormulaFitting();
    double formulaOffset = 0;  // "+ const" offset of the several-argument formula fit

    // ---- Result pane and its scroll bars (result_pane.cpp) --------------------------------------------------
    struct PaneRectSave {
        int left = 0, right = 0, bottom = 0, top = 0;
    } resultPaneRect;                   // the pane as its last paint found it
    platform::Bitmap resultPaneBitmap;  // the visible window of the document: never the whole document
    // Writes the correlation table of parameters into the result document when the data call for
    // it (returns 1 then); the pane runs it before measuring. Unset: the pane shows no such table.
    std::function<int(platform::Canvas& dc)> correlationTableReport;
    // Paints the document's window at its scroll offsets into dc, white background first.
    void PaintResultFrame(platform::Canvas& dc);
    void OnVScroll(int code, int pos, int controlId) override;
    void OnHScroll(int code, int pos, int controlId) override;

    // ---- Screen and result-text export (screen_export.cpp) ------------------------------------------------
    void RouteExportCommands();
    void RouteHtmlReportCommands();
    void OnReportAsHtmlFile();
    // Paints the chart at 1000 x 800, saves it as figure n in the folder and writes its link,
    // then every paragraph and table of the report copy. False when the figure was not saved
    // (the link and the text are written all the same).
    bool AppendHtmlFigure(std::ostream& report, int figureNumber, const std::string& folder);
    // Paints the chart afresh into `picture` at the `result` page's image size (each side
    // 50 to 16384 pixels); false when a picture of that size cannot be held.
    bool PaintChartAtImageSize(platform::Bitmap& picture);
    void OnCopyScreen();
    // Copy screen keeping the picture: painted at the image size, put on the clipboard, the
    // window repainted. False when the picture could not be painted.
    bool CopyScreenInto(platform::Bitmap& picture);
    void OnSaveScreenInFile();
    void OnCopyContentOfResultControl();
    void OnCopyCoefficients();
    // ---- Word-processor report (word_report.cpp) ------------------------------------------------------------
    // The chart, its title and the report copy of the results as a new .docx opened with the
    // desktop; File > Print shows the same content in the print preview instead.
    void RouteWordReportCommands();
    void OnReportAsMsWordFile();
    void OnFilePrint();
    int reportPrintRequest = 0;  // set by File > Print while its report runs
    // ---- Constructor and listed-formula schemes (one_argument_fits.cpp) ------------------------------------
    // Range passes: fit the scheme's model and widen plotYMin/plotYMax by its curve (and its
    // deviation band when asked); nothing unless the scheme is chosen and the fit accepted.
    void ConstructorFitYRange(const std::vector<double>& x, const std::vector<double>& y);
    void CollectionFitYRange(const std::vector<double>& x, const std::vector<double>& y);
    // "From list of formulas": fits, draws with the current pen and reports the chosen formula.
    void FitResultReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                         int argumentParameter, int valueParameter);
    // The listed formula to fit: the automatic choice when the collection page asks for it,
    // then the page's choice clamped to 0..24 (written back to the page).
    int ChosenListedFormula(const std::vector<double>& x, const std::vector<double>& y);
    double fitRms = 0;  // of the last constructor or listed-formula fit
    // "Constructor style": fits, draws with the current pen and reports the constructor
    // page's model, with its deviation band when the page asks for it.
    void ConstructorFitReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                              int xParameter, int yParameter);

    // ---- Term-model schemes (term_model_report.cpp) -------------------------------------------------------
    // Each selects a term model for the points when its scheme is chosen, then reports it.
    void RunPolynomFitting(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                           int xParameter, int yParameter);
    void RunHarmonicAnalysis(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                             int xParameter, int yParameter);
    void RunBestFormulaSearch(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                              int xParameter, int yParameter);
    // The report of the current term model (termCodes, yTransformCode, periods).
    void PaintTermModelFit(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                           int xParameter, int yParameter);
    // Fits the given model, draws its curve with the current pen and reports it; a fit that
    // fails the acceptance test leaves no trace.
    void TermModelFitReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                            const std::vector<unsigned>& codes, int yTransform, const std::vector<double>& modelPeriods,
                            int xParameter, int yParameter);

    // ---- "Custom formulas" (custom_formula_fit.cpp) ---------------------------------------------------------
    // Range pass: fits the custom model and widens the y range by its curve.
    void CustomFitYRange(const std::vector<double>& x, const std::vector<double>& y);
    // Fits the custom model in the space of its left side F, draws and reports it.
    void CustomFormulaFitReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                                int xParameter, int yParameter);

    // ---- Macro files (macro_commands.cpp) -----------------------------------------------------------------
    void RouteMacroCommands();
    // Command 32804, which no menu item reaches: asks for a macro file and runs it line by line.
    void OnRunMacroFile();
    // Runs the macro parser's command with its pairs.
    void RunMacroCommand();
    // The pause before each macro line (100 ms); tests put a shorter one.
    std::function<void(int ms)> macroLinePause;
    // What the macro runner reaches of this window.
    MacroHost MacroHostOfWindow();

    // ---- Shared routines (shared_routines.cpp) -------------------------------------------------------------
    int HasMultiArgumentData() const;
    int FindEqualTermSet(const std::vector<unsigned>& candidate);
    int NextUnusedTermCode(unsigned& code);
    // The term selection searches over this window's term model (termCodes, yTransformCode,
    // periods) and its store of tried term sets: "Polynom fitting" runs SelectTermsStepwise,
    // "Harmonic analysis" FitHarmonicModel then NormalizeTermList, "Search for best formula"
    // SearchBestFormula (fitting/term_search.h).
    TermSelection TermSearch() {
        return TermSelection(termCodes, yTransformCode, periods, triedTermCodes, triedTermSetStarts);
    }
    int TextLineY(int line) const;

    // ---- Series commands of the "Data" menu (series_commands.cpp) -------------------------------------------
    void RouteSeriesCommands();
    void OnImportFromDatabase();
    void OnImportFromTextFile();
    void OnPasteFromClipboard();
    void OnReadImageAsRgb();
    void OnReadImageAsHsv();
    void ReadImage(int mode);
    void OnChangeTimeDataFormat();
    void OnAllBlackLines();
    void OnDistinctColorLines();
    void OnDistinctColorMarks();
    void OnMarksHorizontalDashes();
    void OnMarksLines();
    void OnIncreaseMarkSize();
    void OnDecreaseMarkSize();
    void OnMarksSameSize();
    void OnCopyNamesOfAllSeries();
    void OnCopyNamesWithOrder();
    void OnNormalizeAllParameters();
    void OnValueParametersFrom0To1();
    void OnValueParametersStartAt1();
    void OnUniteAllSeries();
    // Presets of the full analysis: palette colours by parameter, every parameter a value, and
    // one column the only value (the legend's captions follow it).
    void AssignPaletteColors();
    void PrepareAllParametersAsValues();
    void SetSingleValueParameter(int p);

    // ---- Full analysis (full_analysis.cpp) -----------------------------------------------------
    void OnFullAnalysis();
    void ShowOneParameter(int p);
    void ShowParameterAgainstArgument(int v, int a);
    void ShowTwoParameters(int p, int q);
    void ShowParameterAgainstTwoArguments(int v, int a, int b);
    int fullAnalysisStop = 0;  // set by the Stop button while a full analysis runs

    // ---- The progress bar's window ----------------------------------------------------------------------------
    bool ProgressBarShown(progressBarLook& look) override;
    void PaintOnClientArea(const std::function<void(platform::Canvas&)>& draw) override;
    progressReport* ProgressState() override;
    // What the bar covers: kept when it is first drawn and put back once the work is over
    // (the window's picture persists, so a bar left there would stay) (progress_backdrop.cpp).
    void KeepUnderProgressBar();
    void RestoreUnderProgressBar();
    bool progressBarUp = false;  // the bar is on the window now
    platform::Rect underProgressBarRect;
    QImage underProgressBar;
    unsigned progressBarStamp = 0;  // counts the bar's draws, so a late check knows it is stale
    // A new client size: the old picture goes (its chart and pane stood elsewhere), the paint
    // that follows draws the new one (main_layout.cpp).
    void EraseClientArea();

private:
    enum class Job { None, UserFormulaFitting, BestPolynomialSearch, AutoPolynomialSearch };
    // Runs one job to its end unless another job runs (a request then waits for it).
    bool RunJob(Job job, const std::function<void()>& work);
    void RunPendingJobs();
    int CurrentShowCommand() const;
    void DrawBorderStrips(platform::Canvas& dc, int extra);
    void LinkDataPage();
    void LinkImportCommands();  // the data page's "Add" and "Image" (image_commands.cpp)

    QImage icon_;
    Job runningJob_ = Job::None;
    bool jobRequestWaiting_ = false;  // a job was asked for while another ran
    bool closing_ = false;            // the dialog is ending: jobs stop at their next test
};

// The main window whose shape counts and legend lists the series painters use (its
// constructor sets it, its destructor forgets it).
void SetSeriesPaintingDialog(CTabulonDlg* dialog);
void ForgetSeriesPaintingDialog(CTabulonDlg* dialog);
// The shape the series painters go by: the main window's counts as last read, or the store's
// when no main window is up, with its legend list of painted parameters.
struct SeriesPaintContext;
SeriesPaintContext CurrentSeriesPaintContext();
// The main window the series painters and its scheme routines belong to; nullptr when none is up.
CTabulonDlg* SeriesPaintingDialog();
// Clears the changed flag of every page.
void ClearPageFlags();
// Dispatches every waiting message, then runs the idle processing.
void PumpWaitingMessages();
// Waits, pumping once a second, while the user-formula fitting runs (at most 100 hours).
void WaitWhileBusy();
// The kind of a drag on the chart from start to end (pixels), 0 to 17.
int ClassifyDrag(platform::Point start, platform::Point end);
// The two points of an arrow head at the end (atEnd 1) or the start (atEnd 0) of the line.
void ArrowHeadPoints(platform::Point start, platform::Point end, double length, double halfAngle, int atEnd,
                     platform::Point& left, platform::Point& right);
// The line with a head at its end, and at its start a bar (barAtStart 1) or a second head.
void DrawArrow(platform::Canvas& dc, platform::Point start, platform::Point end, int barAtStart);
// After "Delete all": the analysis choices that depend on the data go back to their start.
void ResetAnalysisChoices();
// What the painters through the scene need of the main window (two_argument_view_state.cpp).
TwoArgumentViewState TwoArgumentStateOf(const CTabulonDlg& window);
// The several-argument model's measured and modelled values (multi_argument_fit.cpp).
int BestPolynomialValues(std::vector<double>& measured, std::vector<double>& modelled);
// The "Correlation of parameters:" tables of the result pane (distribution_views.cpp).
int CorrelationTableReport(CTabulonDlg& window, platform::Canvas& dc);
// The three-dimensional painters set the camera up afresh at their next paint.
void RequestSceneRebuild();
// True when the file does not exist or the user agrees to replace it.
bool MayReplaceFile(const std::string& path);
