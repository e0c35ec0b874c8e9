// Data > "Full analysis": every analysis chosen on the `full` page over the one series, each
// step rewriting the roles and the page settings so the ordinary painting runs it, into one
// HTML report; the work is restored from a snapshot afterwards.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/html_text.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/two_argument_views.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/full_page.h"
#include "documents/html_report.h"
#include "fitting/multistat_page.h"
#include "fitting/term_search.h"
#include "fitting/xystatistic_page.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/system.h"
#include "statistics/conditions.h"
#include "statistics/distribution2_page.h"
#include "statistics/distrimution_page.h"
#include "statistics/one_variable_view.h"

namespace {

constexpr const char* kRule = "<p><hr size=2 color=black width=90% align=left><p>\n";
constexpr const char* kWideRule = "<p><hr size=2 color=black width=90% align=left><p><p>\n";
constexpr int kStopTemplateId = 192;
constexpr int kStopButton = 1001;

// The small window that offers "Stop" while the main window takes no input.
class fullAnalysisStopWindow : public platform::Dialog {
public:
    fullAnalysisStopWindow() : Dialog(kStopTemplateId) { RouteCommand(kStopButton, &fullAnalysisStopWindow::OnStop); }
    int* stopFlag = nullptr;
    void OnStop() {
        if (stopFlag) *stopFlag = 1;
    }
};

platform::DialogTemplate StopTemplate() {
    platform::DialogTemplate t;
    t.id = kStopTemplateId;
    t.caption = "Full statistical analysis";
    t.cx = 120;
    t.cy = 40;
    t.style = platform::kDialogPopup;
    t.controls = {{kStopButton, platform::ControlKind::Button, "Stop", 35, 12, 50, 16}};
    return t;
}

const platform::DialogTemplateRegistration stopRegistration(StopTemplate());

// Roles of the first series' columns: the values and the arguments given, every other column
// inactive; colour and mark size stay.
void SetRoles(CTabulonDlg& dlg, const std::vector<int>& values, const std::vector<int>& arguments) {
    if (theData.series.empty()) return;
    Series& first = theData.series[0];
    const int n = first.nParameters;
    for (std::size_t i = 0; i < theData.parameters.size(); ++i) {
        Initial& initial = theData.parameters[i];
        const int p = n > 0 ? static_cast<int>(i) % n : 0;
        initial.role = kRoleInactive;
        for (const int v : values) {
            if (v == p) {
                initial.role = 1;
                initial.autoSize = 1;
                initial.markShape = 0;
            }
        }
        for (const int a : arguments) {
            if (a == p) initial.role = kRoleArgument;
        }
    }
    first.nArguments = static_cast<int>(arguments.size());
    first.nValues = static_cast<int>(values.size());
    theData.argumentCount = first.nArguments;
    dlg.dataArguments = first.nArguments;
    dlg.dataValues = first.nValues;
    // Other columns are shown: a three-dimensional view sets its camera up for their box.
    RequestSceneRebuild();
}

std::string NameOf(int p) {
    return p >= 0 && p < static_cast<int>(theData.parameterNames.size()) ? theData.parameterNames[p] : std::string();
}

int ParameterCount() { return theData.series.empty() ? 0 : theData.series[0].nParameters; }

void SingleArgumentSchemesOff() {
    xystatistic& s = theXystatistic;
    s.polynomFitting = s.harmonicAnalysis = s.searchForBestFormula = 0;
    s.constructorStyle = s.customFormulas = s.fromListOfFormulas = s.peaksRevealing = s.userFormula = 0;
}

void WriteVariablesTable(std::ostream& out) {
    out << "<p><p><font color=blue size=5>Variables.</font><p>\n";
    const int n = ParameterCount();
    const int records = theData.series.empty() ? 0 : theData.series[0].nRecords;
    out << platform::Format("Number of records: %d\n", records);
    out << "<p><table cellpadding=5 border=1><tr bgcolor=eeeeee><td>Name</td><td>Type</td><td>Interval</td>"
           "<td>Mean</td><td>Standard deviation</td></tr>\n";
    for (int p = 0; p < n; ++p) {
        std::vector<double> column;
        theData.GetParameterValues(0, p, column);
        std::vector<std::uint32_t> distinct;
        out << "<tr><td>" << EscapeHtml(NameOf(p)) << "</td>";
        out << (IsIntegerCoded(column, distinct, 20) ? "<td>Integer</td>" : "<td>Float</td>");
        if (records > 2) {
            double sum = 0, low = column[0], high = column[0];
            for (const double x : column) {
                sum += x;
                low = std::min(low, x);
                high = std::max(high, x);
            }
            const double mean = sum / records;
            double squares = 0;
            for (const double x : column) squares += (mean - x) * (mean - x);
            out << platform::Format("<td>%g - %g</td><td>%g</td>", low, high, mean);
            out << platform::Format("<td>%g</td></tr>", std::sqrt(squares / records));
        }
    }
    out << "</table><p><p>\n";
}

void ApplyCommonSettings() {
    legend& l = theLegend;
    l.title.clear();
    l.yCaption = "N cases in interval";
    l.showFormulas = 0;
    l.xCaptionAlign = 100;
    l.yCaptionAlign = 50;
    // Roman family with variable pitch; the y caption fonts are derived from it, turned.
    l.axisFontRecord = FontRecord{-24, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0x12, "Times New Roman"};
    l.ApplyFontRecords();
    l.captionColor = 0;
    chart& c = theChart;
    c.borderAreaColor = c.chartAreaColor = 0xFFFFFF;
    c.borderLineColor = 0;
    c.borderWidth = 2;
    c.savedOption = 0;
    c.gridWidth = 0;
    c.fittingLineWidth = 2;
    theXyview.autozoom = 1;
    theXyview.histogram = 1;
    theDistrimution.autoIntervals = 1;
    theDistrimution.percentage = theDistrimution.partOfWhole = 0;
    theDistrimution.conditions.clear();
    theDistrimution.appliedConditions.clear();
}

}  // namespace

void CTabulonDlg::ShowOneParameter(int p) {
    if (ParameterCount() < 1) return;
    SetRoles(*this, {p}, {});
    theLegend.xCaption = NameOf(p);
}

void CTabulonDlg::ShowParameterAgainstArgument(int v, int a) {
    if (ParameterCount() < 2) return;
    SetRoles(*this, {v}, {a});
    theLegend.yCaption = NameOf(v);
    theLegend.xCaption = NameOf(a);
}

void CTabulonDlg::ShowTwoParameters(int p, int q) {
    if (ParameterCount() < 2) return;
    SetRoles(*this, {p, q}, {});
    theLegend.yCaption = NameOf(p);
    theLegend.xCaption = NameOf(q);
}

void CTabulonDlg::ShowParameterAgainstTwoArguments(int v, int a, int b) {
    if (ParameterCount() < 3) return;
    SetRoles(*this, {v}, {a, b});
    theLegend.yCaption = platform::Format("%s(%s,%s)", NameOf(v).c_str(), NameOf(a).c_str(), NameOf(b).c_str());
    theLegend.xCaption = platform::Format("%s - %s", NameOf(a).c_str(), NameOf(b).c_str());
    theChart.gridWidth = 2;
}

namespace {

// "temp_auto" with a random part that no other run picks, in folder.
std::string UniqueSnapshotPath(const std::string& folder) {
    std::random_device entropy;
    std::mt19937_64 pick((std::uint64_t(entropy()) << 32) ^ entropy() ^
                         std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (;;) {
        const std::string path = platform::Format("%s/temp_auto_%016llx.cdf", folder.c_str(),
                                                  static_cast<unsigned long long>(pick()));
        if (!platform::FileExists(path)) return path;
    }
}

}  // namespace

void CTabulonDlg::OnFullAnalysis() {
    dataSeriesCount = static_cast<int>(theData.series.size());
    if (dataSeriesCount != 1) {
        platform::MessageBox("Automatic data analysis is working only when one series of data is presented.");
        return;
    }
    theFull.documentName = documentPath;
    theFull.parameterCount = ParameterCount();
    theFull.RunModal(this);
    if (!theFull.running) return;
    const std::string reportPath = HtmlReportPathWithExtension(theFull.reportFile);
    if (!MayReplaceFile(reportPath)) {
        theFull.running = 0;
        return;
    }

    // The snapshot goes to the user's own data folder, never beside a document.
    const std::string keptPath = documentPath, keptFolder = theData.documentFolder;
    const auto keptClean = cleanSettings;
    const auto keptFingerprint = cleanFingerprint;
    const FileStamp keptStamp = documentStamp;
    std::string dataFolder = platform::UserDataFolder();
    std::error_code ignored;
    if (!dataFolder.empty() && !platform::IsDirectory(dataFolder)) std::filesystem::create_directories(dataFolder, ignored);
    if (dataFolder.empty() || !platform::IsDirectory(dataFolder)) dataFolder = platform::CurrentDirectory();
    // A name of this run's own: another window running Full analysis at the same time keeps
    // its snapshot apart, and the snapshot goes when the run ends, however it ends.
    const std::string snapshot = UniqueSnapshotPath(dataFolder);
    struct RemoveSnapshot {
        const std::string& path;
        ~RemoveSnapshot() { std::remove(path.c_str()); }
    } removeSnapshot{snapshot};
    if (!WriteDocument(snapshot)) {
        theFull.running = 0;
        return;
    }
    const std::string folder = HtmlFigureFolder(reportPath);
    platform::CreateDirectory(folder);
    std::ofstream report(reportPath, std::ios::binary | std::ios::trunc);
    if (!report) {
        platform::MessageBox("Problems to open file");
        theFull.running = 0;
        return;
    }
    WriteHtmlHead(report, "Full statistical analysis", "<p><h1>%s</h1><p><br>\n");
    WriteVariablesTable(report);
    ApplyCommonSettings();

    // Input goes to the Stop window only while the sections run.
    fullAnalysisStopWindow stopWindow;
    fullAnalysisStop = 0;
    stopWindow.stopFlag = &fullAnalysisStop;
    stopWindow.Create(nullptr);
    stopWindow.ShowWindow(platform::kShowNormal);
    Enable(false);

    int figure = 1, unsaved = 0;
    auto repaint = [&] {
        // Nothing left from an earlier fit may decide this one: a fit not run rejects nothing.
        lastTermFitResidual = 0;
        lastTermFitRatios.clear();
        planeFitCriterion = parabolicFitCriterion = planeFitMeasure = parabolicFitMeasure = 0;
        planeRelativeErrors.clear();
        parabolicRelativeErrors.clear();
        recomputeNeeded = 1;
        RepaintAll();
        PumpWaitingMessages();
        // What the painters left, for the filters.
        theFull.termFitResidual = lastTermFitResidual;
        theFull.termErrors = lastTermFitRatios;
        theFull.planeCriterion = planeFitCriterion;
        theFull.planeResidual = planeFitMeasure;
        theFull.planeErrors = planeRelativeErrors;
        theFull.parabolicCriterion = parabolicFitCriterion;
        theFull.parabolicResidual = parabolicFitMeasure;
        theFull.parabolicErrors = parabolicRelativeErrors;
    };
    auto addFigure = [&](const char* rule) {
        if (!AppendHtmlFigure(report, figure, folder)) ++unsaved;
        ++figure;
        report << rule;
        PumpWaitingMessages();
    };
    auto stopped = [&] { return fullAnalysisStop != 0; };
    auto section = [&](int on, const char* title, const std::function<void()>& steps) {
        if (!on || stopped()) return;
        report << title;
        steps();
    };
    const int n = ParameterCount();
    auto termModelPasses = [&] {
        return theFull.PassesCoefficientFilter(1 - std::sqrt(theFull.termFitResidual), theFull.termErrors);
    };

    section(theFull.doCorrelationMatrix, "<p><p><font color=blue size=5>Matrix of correlation.</font><p>\n", [&] {
        theXystatistic.correlationCoefficient = 1;
        repaint();
        addFigure(kWideRule);
        theXystatistic.correlationCoefficient = 0;
    });
    section(theFull.doDistributionAll, "<p><p><font color=blue size=5>Distribution of parameters alltogether.</font><p>\n",
            [&] {
                theLegend.yCaption = "N cases in interval";
                theLegend.ShowSettings();
                PrepareAllParametersAsValues();
                theDistrimution.showStudent = theDistrimution.showPoisson = theDistrimution.showErlang = 0;
                view3D = 0;
                theXyview.show3D = 0;
                theXyview.histogram = 1;
                repaint();
                addFigure(kWideRule);
            });
    section(theFull.doDistribution, "<p><p><font color=blue size=5>Distribution of parameters separately.</font><p><p>\n",
            [&] {
                for (int p = 0; p < n && !stopped(); ++p) {
                    ShowOneParameter(p);
                    theDistrimution.showStudent = theDistrimution.showPoisson = theDistrimution.showErlang = 1;
                    repaint();
                    int* fits[3] = {&theDistrimution.showStudent, &theDistrimution.showPoisson, &theDistrimution.showErlang};
                    for (int k = 0; k < 3; ++k)
                        *fits[k] = theFull.PassesCorrelationFilter(distributionCorrelations[k], 0, nullptr, nullptr);
                    addFigure(kRule);
                }
            });
    section(theFull.doTimeSeries, "<p><p><font color=blue size=5>Cirve fitting of une parameter (time series).</font><p><p>\n",
            [&] {
                theXyview.histogram = 0;
                SingleArgumentSchemesOff();
                for (int p = 0; p < n && !stopped(); ++p) {
                    ShowOneParameter(p);
                    theXystatistic.searchForBestFormula = 1;
                    theLegend.yCaption = NameOf(p);
                    theLegend.xCaption = "n";
                    repaint();
                    theXystatistic.searchForBestFormula = termModelPasses();
                    addFigure(kRule);
                }
            });
    section(theFull.doCurveFitting, "<p><p><font color=blue size=5>Curve fitting (approximation).</font><p><p>\n", [&] {
        SingleArgumentSchemesOff();
        for (int v = 0; v < n && !stopped(); ++v) {
            for (int a = 0; a < n && !stopped(); ++a) {
                if (a == v) continue;
                ShowParameterAgainstArgument(v, a);
                theXystatistic.searchForBestFormula = 1;
                repaint();
                theXystatistic.searchForBestFormula = termModelPasses();
                addFigure(kRule);
            }
        }
    });
    section(theFull.doTwoVariables, "<p><p><font color=blue size=5>Distribution of two variables.</font><p><p>\n", [&] {
        theXyview.colorMapMode = 1;
        theXyview.show3D = 0;
        view3D = 1;
        for (int p = 0; p < n && !stopped(); ++p) {
            for (int q = 0; q < p && !stopped(); ++q) {
                ShowTwoParameters(p, q);
                theD3view.showNet = 1;
                theD3view.twoDimensional = 1;
                theChart.gridWidth = 2;
                theDistribution2.autoIntervals = 1;
                repaint();
                addFigure(kRule);
            }
        }
        theXyview.colorMapMode = 0;
        view3D = 0;
    });
    // Plane, then parabolic; the one with the lower criterion stays, under the filter when asked.
    auto bestSurface = [&](bool filtered) {
        theMultistat.nearNeighbors = 0;
        theMultistat.plane = 1;
        theMultistat.parabolic = 0;
        repaint();
        const double planeCriterion = theFull.planeCriterion, planeResidual = theFull.planeResidual;
        const std::vector<double> planeErrors = theFull.planeErrors;
        theMultistat.plane = 0;
        theMultistat.parabolic = 1;
        repaint();
        const bool planeWins = theFull.parabolicCriterion > planeCriterion;
        const int keep = !filtered ? 1
                         : planeWins ? theFull.PassesCoefficientFilter(1 - std::sqrt(planeResidual), planeErrors)
                                     : theFull.PassesCoefficientFilter(1 - std::sqrt(theFull.parabolicResidual),
                                                                       theFull.parabolicErrors);
        theMultistat.plane = planeWins ? keep : 0;
        theMultistat.parabolic = planeWins ? 0 : keep;
    };
    section(theFull.doSurfaceFitting, "<p><p><font color=blue size=5>One variable as function of two arguments.</font><p><p>\n",
            [&] {
                for (int v = 0; v < n && !stopped(); ++v) {
                    for (int a = 0; a < n && !stopped(); ++a) {
                        for (int b = 0; b < a && !stopped(); ++b) {
                            if (a == v || b == v) continue;
                            ShowParameterAgainstTwoArguments(v, a, b);
                            view3D = 1;
                            bestSurface(true);
                            addFigure(kRule);
                        }
                    }
                }
                view3D = 0;
            });
    section(theFull.doMultivariate, "<p><p><font color=blue size=5>Multivariate regression.</font><p><p>\n", [&] {
        for (int v = 0; v < n && !stopped(); ++v) {
            SetSingleValueParameter(v);
            view3D = 0;
            bestSurface(false);
            addFigure(kRule);
        }
    });
    section(theFull.doConditional, "<p><p><font color=blue size=5>Conditional distribution.</font><p><p>\n", [&] {
        for (int p = 0; p < n && !stopped(); ++p) {
            ShowOneParameter(p);
            view3D = 0;
            theDistrimution.OnMax();
            addFigure(kRule);
        }
    });

    report << "</body></html>\n";
    report.close();
    Enable(true);
    stopWindow.DestroyWindow();
    theFull.running = 0;

    // Back to the work as it was: the snapshot, under the former name and saved state.
    view3D = 0;
    const auto keptRecentFiles = recentFiles;
    if (ReadDocumentAt(snapshot)) {
        // The snapshot is no document of the user's: the recent-files list stays as it was.
        recentFiles = keptRecentFiles;
        SaveRecentFiles();
        UpdateRecentFilesMenu();
        documentPath = keptPath;
        theData.documentFolder = keptFolder;
        cleanSettings = keptClean;
        cleanFingerprint = keptFingerprint;
        documentStamp = keptStamp;
        SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
    }
    if (unsaved > 0 || !report) {
        platform::MessageBox(!report ? platform::Format("Can not write the report %s", reportPath.c_str())
                                     : platform::Format("%d figures could not be saved in %s", unsaved, folder.c_str()));
    }
    platform::OpenWithShell(reportPath);
    ShowWindow(platform::kShowMinimized);
}
