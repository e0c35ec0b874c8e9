// The data page's "Add" (the import wizard) and "Image" (the chart digitiser).
#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "data/fromimage_dialog.h"
#include "data/import_wizard.h"

void CTabulonDlg::LinkImportCommands() {
    theData.links.addData = [] { RunImportWizard(theData); };
    theData.links.importImage = [] { RunChartDigitiser(theData); };
}
