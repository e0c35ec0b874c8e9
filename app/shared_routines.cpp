// Small routines of the main window that several analyses share.
#include <algorithm>

#include "app/tabulon_dlg.h"
#include "fitting/term_search.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "fitting/multistat_page.h"
#include "fitting/xystatistic_page.h"
#include "statistics/color_maps.h"

int CTabulonDlg::HasMultiArgumentData() const {
    if (dataArguments >= 2 && dataValues > 0 && theMultistat.correlation) return 1;
    if (dataParameters >= 2 && theXystatistic.correlationCoefficient) return 1;
    return 0;
}

int CTabulonDlg::FindEqualTermSet(const std::vector<unsigned>& candidate) {
    return TermSearch().FindEqualTermSet(candidate);
}

int CTabulonDlg::NextUnusedTermCode(unsigned& code) { return TermSearch().NextUnusedTermCode(code); }

int CTabulonDlg::TextLineY(int line) const { return line * legendLineHeight + legendBlockTop + 5; }

void ResetAnalysisChoices() {
    theLegend.title.clear();
    theLegend.xCaption.clear();
    theLegend.yCaption.clear();
    theXystatistic.constructorStyle = 0;
    theXystatistic.customFormulas = 0;
    theXystatistic.fromListOfFormulas = 0;
    theXystatistic.peaksRevealing = 0;
    theXystatistic.userFormula = 0;
    theXystatistic.correlationCoefficient = 0;
    theXystatistic.polynomFitting = 0;
    theXystatistic.harmonicAnalysis = 0;
    theXystatistic.searchForBestFormula = 0;
    theD3view.twoDimensional = 0;
    theXyview.autozoom = 1;
    if (theLegend.HasWindow()) theLegend.UpdateData(false);
}

void RequestSceneRebuild() { theD3view.sceneRebuildRequest = 1; }

