// Reading the shape of the first series after a change: the counts the dispatcher and the
// tab rules go by, the parameter lists of the pages that depend on them, the page the
// current tab should show, and the model pages' requests to be shown again. Also the two
// series painters' link to the main window.
#include <string>

#include "app/program_objects.h"
#include "app/tabulon_dlg.h"
#include "charts/d3view_page.h"
#include "charts/series_painting.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/sinaldlg_page.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/approxcustom.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "statistics/distrimution_page.h"

namespace {

CTabulonDlg* paintingDialog = nullptr;

// The user-formula page's left-hand side for a value parameter named `name`; "" when none
// applies. plusConst tells whether its '+ const' option goes with it.
std::string UserFormulaLabel(const std::string& name, int arguments, int& plusConst) {
    plusConst = 1;
    if (arguments == 1) return name + "(x)=";
    if (theMultistat.userDefinedFormula) return name + "(...)=";
    if (theMultistat.unitaryArgument) {
        plusConst = 0;
        return "UniArg(...)=";
    }
    return "";
}

// The scheme page offers its single-argument schemes by the shape of the first series.
void ShowSchemeControlsForShape(int seriesCount, int parameters, int arguments, int values) {
    xystatistic& page = theXystatistic;
    if (seriesCount < 1) {
        page.ShowSchemeControls(0, 0);
        return;
    }
    if (values > 0) {
        if (arguments == 0 && !theXyview.histogram) page.ShowSchemeControls(1, 0);
        if (parameters >= 2) page.ShowSchemeControls(1, 1);
    } else if (parameters >= 2) {
        page.ShowSchemeControls(0, 1);
    }
}

// Every page's request to be shown, and the scheme page's pending choice, forgotten.
void ClearPageRequests() {
    theConstructor.applyRequested = 0;
    theApproxcustom.applyRequested = 0;
    theCollection.applyRequested = 0;
    theSinaldlg.moreRequest = 0;
    theUseruf.moreRequest = 0;
    theConstructorMulti.applyRequested = 0;
    theMultistat.applyRequested = 0;
    xystatistic& x = theXystatistic;
    x.constructorRequest = x.customRequest = x.userFormulaRequest = x.collectionRequest = x.peaksRequest = 0;
    x.schemeButtonPressed = 0;
}

}  // namespace

void SetSeriesPaintingDialog(CTabulonDlg* dialog) { paintingDialog = dialog; }

void ForgetSeriesPaintingDialog(CTabulonDlg* dialog) {
    if (paintingDialog == dialog) paintingDialog = nullptr;
}

CTabulonDlg* SeriesPaintingDialog() { return paintingDialog; }

SeriesPaintContext CurrentSeriesPaintContext() {
    SeriesPaintContext c;
    c.visibleDataOnly = theResult.visibleDataOnly;
    if (paintingDialog) {
        c.seriesCount = paintingDialog->dataSeriesCount;
        c.arguments = paintingDialog->dataArguments;
        c.values = paintingDialog->dataValues;
        c.paintedParameters = &paintingDialog->legendMarks;
        return c;
    }
    // No main window: the shape as the store has it now.
    c.seriesCount = static_cast<int>(theData.series.size());
    if (c.seriesCount > 0) {
        c.arguments = theData.series[0].nArguments;
        c.values = theData.series[0].nValues;
    }
    return c;
}

void CTabulonDlg::UpdateForDataShape() {
    if (!initialised) return;
    constructor_multi& multi = theConstructorMulti;
    dataSeriesCount = static_cast<int>(theData.series.size());
    if (dataSeriesCount > 0) {
        const Series& first = theData.series[0];
        dataParameters = first.nParameters;
        dataArguments = first.nArguments;
        dataValues = first.nValues;
        shapeChanged = dataParameters != previousParameters || dataArguments != previousArguments ||
                               dataValues != previousValues
                           ? 1
                           : 0;
        previousParameters = dataParameters;
        previousArguments = dataArguments;
        previousValues = dataValues;
        multi.factorsPerTerm = dataArguments;
        multi.notApplicable = dataSeriesCount == 1 && dataArguments >= 2 && dataValues == 1 ? 0 : 1;
    } else {
        dataArguments = 0;
        dataValues = 0;
    }
    ShowSchemeControlsForShape(dataSeriesCount, dataParameters, dataArguments, dataValues);
    theXyview.fitSchemeChosen = theMultistat.AnyFitScheme() ? 1 : 0;

    if (theData.dataModified && dataSeriesCount > 0) {
        theData.dataModified = 0;
        // A document read brings its own view; any other change of shape zooms to the data.
        if (shapeChanged && !documentJustRead) theXyview.autozoom = 1;
        documentJustRead = 0;
        theD3view.sceneRebuildRequest = 1;
        platform::Control combo = theXyview.Control(xyview::kParameterCombo);
        combo.ResetContent();
        platform::Control distributionCombo = theDistrimution.Control(distrimution::kParameterCombo);
        distributionCombo.ResetContent();
        // The condition list is kept for a single series only.
        if (dataSeriesCount >= 2) theDistrimution.conditions.clear();
        if (multi.notApplicable == 0) {
            multi.argumentNames.clear();
            multi.argumentParameters.clear();
            multi.valueParameter = -1;
            multi.factorsPerTerm = dataArguments;
        }
        std::string label;
        int plusConst = 1;
        for (int s = 0; s < dataSeriesCount; ++s) {
            const Series se = theData.series[static_cast<size_t>(s)];
            if (se.nRecords < se.nArguments + 3) continue;
            for (int p = 0; p < se.nParameters; ++p) {
                const size_t g = static_cast<size_t>(se.firstParameter + p);
                if (g >= theData.parameters.size()) break;
                if (theData.parameters[g].role != kRoleValue) continue;
                combo.AddString(theData.parameterNames[g]);
                if (dataSeriesCount == 1) {
                    int plus = 1;
                    const std::string l = UserFormulaLabel(theData.parameterNames[g], se.nArguments, plus);
                    if (!l.empty()) label = l, plusConst = plus;
                }
            }
            if (s == 0 && se.nValues == 1 && multi.notApplicable == 0) {
                for (int p = 0; p < se.nParameters; ++p) {
                    const size_t g = static_cast<size_t>(se.firstParameter + p);
                    const int role = theData.parameters[g].role;
                    if (role == kRoleArgument) {
                        multi.argumentNames.push_back(theData.parameterNames[g]);
                        multi.argumentParameters.push_back(static_cast<unsigned>(g));
                    } else if (role == kRoleValue) {
                        multi.valueParameter = static_cast<int>(g);
                        multi.valueName = theData.parameterNames[g];
                    }
                }
            }
            if (s == 0) {
                for (int p = 0; p < se.nParameters; ++p) {
                    const size_t g = static_cast<size_t>(se.firstParameter + p);
                    if (g >= theData.parameterNames.size()) break;
                    distributionCombo.AddString(theData.parameterNames[g] + std::string(21, ' '));
                }
            }
        }
        theUseruf.SetFormulaLabel(label.empty() ? " " : label);
        theUseruf.EnablePlusConst(label.empty() ? 1 : plusConst);
        combo.SetCurSel(0);
        distributionCombo.SetCurSel(0);
        theXyview.SetDataShape(dataArguments, dataValues);
        if (dataArguments == 0 && dataValues == 2) {
            // Two values without argument: the colour map is chosen by series.
            combo.ResetContent();
            for (const std::string& name : theData.seriesNames) combo.AddString(name);
            combo.SetCurSel(0);
            theD3view.twoDimensional = 1;
            theXyview.show3D = 0;
            view3D = 0;
        }
    }

    // The page the current tab should show.
    const int a = dataArguments;
    const int v = dataValues;
    const bool twoValues = dataSeriesCount > 0 && a == 0 && v == 2;
    if (CurrentTab() == kTabView) {
        if (activeTab == kPageD3view && theD3view.twoDimensional) {
            view3D = 0;
            theXyview.show3D = 0;
            if (twoValues) {
                theXyview.PresetTwoValues();
            } else {
                theXyview.PresetPlain();
            }
        } else if (activeTab == kPageXyview && theXyview.show3D && (twoValues || (v >= 1 && a == 2))) {
            view3D = 1;
            theD3view.twoDimensional = 0;
            theD3view.ShowNetButton(twoValues ? 0 : 1);
        }
    }
    wantedPage = TabToPage(CurrentTab());

    // A model page's ">>" hands back to its scheme page.
    const struct {
        int* request;
        int* schemeRequest;
    } schemePages[] = {
        {&theConstructor.applyRequested, &theXystatistic.constructorRequest},
        {&theApproxcustom.applyRequested, &theXystatistic.customRequest},
        {&theCollection.applyRequested, &theXystatistic.collectionRequest},
    };
    for (const auto& page : schemePages) {
        if (!*page.request) continue;
        *page.request = 0;
        *page.schemeRequest = 0;
        wantedPage = kPageXystatistic;
    }
    if (theSinaldlg.moreRequest) {
        // ">>" of the peak page gives up the peaks scheme and goes back to the scheme page.
        theSinaldlg.moreRequest = 0;
        theXystatistic.peaksRequest = 0;
        theXystatistic.peaksRevealing = 0;
        wantedPage = kPageXystatistic;
    }
    if (theUseruf.moreRequest) {
        theUseruf.moreRequest = 0;
        theXystatistic.userFormulaRequest = 0;
        if (a >= 2) {
            wantedPage = kPageMultistat;
            theXyview.show3D = 1;
            view3D = 1;
        } else {
            wantedPage = kPageXystatistic;
        }
        theXystatistic.userFormula = 0;
        theMultistat.userDefinedFormula = 0;
        theMultistat.unitaryArgument = 0;
    }
    if (theConstructorMulti.applyRequested) {
        theConstructorMulti.applyRequested = 0;
        wantedPage = kPageMultistat;
    }

    if (dataSeriesCount < 1) {
        ClearPageRequests();
        // Without data no scheme button stays chosen.
        xystatistic& x = theXystatistic;
        x.constructorStyle = x.customFormulas = x.fromListOfFormulas = x.peaksRevealing = x.userFormula = 0;
        theResult.ShowVisibleDataOption(true);
        return;
    }
    xystatistic& scheme = theXystatistic;
    if (scheme.schemeButtonPressed) {
        // The scheme just chosen shows its page at once; its request is served.
        int page = -1;
        int* served = nullptr;
        const struct {
            int* request;
            int page;
        } choices[] = {
            {&scheme.constructorRequest, kPageConstructor}, {&scheme.customRequest, kPageApproxcustom},
            {&scheme.userFormulaRequest, kPageUseruf},      {&scheme.collectionRequest, kPageCollection},
            {&scheme.peaksRequest, kPageSinaldlg},
        };
        for (const auto& c : choices) {
            if (*c.request) {
                page = c.page;
                served = c.request;
                break;
            }
        }
        scheme.schemeButtonPressed = 0;
        if (served) *served = 0;
        if (page >= 0) {
            wantedPage = page;
            ShowTabPage(page);
        }
    }
    if (a < 2) {
        theResult.ShowVisibleDataOption(true);
        return;
    }
    if (theMultistat.applyRequested) {
        theMultistat.applyRequested = 0;
        theXyview.PresetSeveralArguments();
        int page = -1;
        if (theMultistat.userDefinedFormula || theMultistat.unitaryArgument) {
            page = kPageUseruf;
        } else if (theMultistat.bestPolynome) {
            page = kPageConstructorMulti;
        }
        if (page >= 0) {
            wantedPage = page;
            ShowTabPage(page);
        }
    }
    theResult.ShowVisibleDataOption(false);
}
