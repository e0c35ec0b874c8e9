// Small routines of the main window that several analyses share.
#include <algorithm>

#include "app/tabulon_dlg.h"
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
    const std::size_t sets = triedTermSetStarts.size();
    for (std::size_t s = 0; s < sets; ++s) {
        const std::size_t begin = static_cast<std::size_t>(triedTermSetStarts[s]);
        const std::size_t end = s + 1 < sets ? static_cast<std::size_t>(triedTermSetStarts[s + 1]) : triedTermCodes.size();
        if (end - begin != candidate.size()) continue;
        if (std::equal(candidate.begin(), candidate.end(), triedTermCodes.begin() + static_cast<std::ptrdiff_t>(begin))) {
            return 1;
        }
    }
    triedTermSetStarts.push_back(static_cast<int>(triedTermCodes.size()));
    triedTermCodes.insert(triedTermCodes.end(), candidate.begin(), candidate.end());
    return 0;
}

int CTabulonDlg::NextUnusedTermCode(unsigned& code) {
    if (code != 0 && !termCodes.empty()) termCodes.pop_back();
    for (;;) {
        ++code;
        if (code >= 27 && code <= 30) code = 31;
        if (code > 34) return 0;
        if (std::find(termCodes.begin(), termCodes.end(), code) == termCodes.end()) {
            termCodes.push_back(code);
            return 1;
        }
    }
}

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

