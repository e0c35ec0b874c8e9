// The pages' changed flags: a page that changes what the chart depends on raises its flag and
// posts a repaint request; the main window's paint turns the flags into one recomputation.
#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/sinaldlg_page.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/approxcustom.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "statistics/distribution2_page.h"
#include "statistics/distrimution_page.h"

void ClearPageFlags() {
    theLegend.changed = 0;
    theData.dataPageChanged = 0;
    theXyview.changed = 0;
    theD3view.changed = 0;
    theXystatistic.schemeChanged = 0;
    theDistrimution.changed = 0;
    theResult.changed = 0;
    theDistribution2.changed = 0;
    theChart.changed = 0;
    theConstructor.changed = 0;
    theApproxcustom.changed = 0;
    theCollection.changed = 0;
    theUseruf.changed = 0;
    theSinaldlg.changed = 0;
    theMultistat.changed = 0;
    theCalculator.changed = 0;
    theConstructorMulti.changed = 0;
}

void CTabulonDlg::CheckPageFlags() {
    if (theLegend.changed || theChart.changed || theData.dataPageChanged || theXyview.changed || theD3view.changed) {
        recomputeNeeded = 1;
    } else if (theXystatistic.schemeChanged) {
        theData.dataModified = 1;
        recomputeNeeded = 1;
    } else if (theDistrimution.changed || theResult.changed) {
        recomputeNeeded = 1;
    } else if (theDistribution2.changed) {
        theD3view.sceneRebuildRequest = 1;
        recomputeNeeded = 1;
    } else if (theConstructor.changed || theApproxcustom.changed || theCollection.changed || theUseruf.changed ||
               theSinaldlg.changed) {
        recomputeNeeded = 1;
    } else if (theMultistat.changed) {
        theData.dataModified = 1;
        recomputeNeeded = 1;
    } else if (theCalculator.changed || theConstructorMulti.changed) {
        recomputeNeeded = 1;
    }
}
