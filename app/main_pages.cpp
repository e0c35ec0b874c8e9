#include "app/main_pages.h"

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

std::array<platform::Dialog*, kPageCount> PageObjects() {
    return {&theData,         &theLegend,      &theChart,       &theXyview,      &theD3view,    &theDistrimution,
            &theDistribution2, &theXystatistic, &theConstructor, &theApproxcustom, &theUseruf,   &theCollection,
            &theSinaldlg,     &theMultistat,   &theResult,      &theCalculator,  &theConstructorMulti};
}

const std::array<TabLook, kTabCount> kTabs{{
    {"Data", 152, 0x000000, 0xFFFFFF},
    {"Legend", 155, 0xE1FFBE, 0xC80000},
    {"Chart", 156, 0xAFE1B4, 0x196914},
    {"View", 153, 0xFAFFFF, 0x0A6E0A},
    {"Statistics", 157, 0xCD1E1E, 0xFFFF64},
    {"Results", 140, 0xF0DCF0, 0x004080},
    {"Calculator", 158, 0xFCF0D4, 0x800080},
}};
