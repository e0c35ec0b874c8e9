// The "Data" menu's commands on all series: the imports, the date order, the marks, names and
// values of every parameter, and uniting all series. Each command that changes the store ends
// with the common tail: the series table and the data sheet refilled, the data marked
// modified, a repaint asked for.
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/legend_page.h"
#include "charts/xyview_page.h"
#include "data/image_import.h"
#include "fitting/multistat_page.h"
#include "data/data_page.h"
#include "data/record_operations.h"
#include "platform/dialogs.h"
#include "platform/requests.h"

namespace {

void CommonTail() {
    theData.RefreshSeriesList(1);
    theData.dataModified = 1;
    platform::PostRepaintRequest();
}

}  // namespace

void CTabulonDlg::RouteSeriesCommands() {
    RouteCommand(kCommandImportFromDatabase, &CTabulonDlg::OnImportFromDatabase);
    RouteCommand(kCommandImportFromTextFile, &CTabulonDlg::OnImportFromTextFile);
    RouteCommand(kCommandPasteFromClipboard, &CTabulonDlg::OnPasteFromClipboard);
    RouteCommand(kCommandReadImageAsRgb, &CTabulonDlg::OnReadImageAsRgb);
    RouteCommand(kCommandReadImageAsHsv, &CTabulonDlg::OnReadImageAsHsv);
    RouteCommand(kCommandChangeTimeDataFormat, &CTabulonDlg::OnChangeTimeDataFormat);
    RouteCommand(kCommandAllBlackLines, &CTabulonDlg::OnAllBlackLines);
    RouteCommand(kCommandDistinctColorLines, &CTabulonDlg::OnDistinctColorLines);
    RouteCommand(kCommandDistinctColorMarks, &CTabulonDlg::OnDistinctColorMarks);
    RouteCommand(kCommandMarksHorizontalDashes, &CTabulonDlg::OnMarksHorizontalDashes);
    RouteCommand(kCommandMarksLines, &CTabulonDlg::OnMarksLines);
    RouteCommand(kCommandIncreaseMarkSize, &CTabulonDlg::OnIncreaseMarkSize);
    RouteCommand(kCommandDecreaseMarkSize, &CTabulonDlg::OnDecreaseMarkSize);
    RouteCommand(kCommandMarksSameSize, &CTabulonDlg::OnMarksSameSize);
    RouteCommand(kCommandCopyNamesOfAllSeries, &CTabulonDlg::OnCopyNamesOfAllSeries);
    RouteCommand(kCommandCopyNamesWithOrder, &CTabulonDlg::OnCopyNamesWithOrder);
    RouteCommand(kCommandNormalizeAllParameters, &CTabulonDlg::OnNormalizeAllParameters);
    RouteCommand(kCommandValueParametersFrom0To1, &CTabulonDlg::OnValueParametersFrom0To1);
    RouteCommand(kCommandValueParametersStartAt1, &CTabulonDlg::OnValueParametersStartAt1);
    RouteCommand(kCommandUniteAllSeries, &CTabulonDlg::OnUniteAllSeries);
}

// ---- Imports ------------------------------------------------------------------------------------

void CTabulonDlg::OnImportFromDatabase() {
    RequestSceneRebuild();
    theData.ReadDatabase();
    theData.SelectLastSeries();
}

void CTabulonDlg::OnImportFromTextFile() {
    RequestSceneRebuild();
    theData.syncTimerOn = 0;
    theData.OnOpenTextDataFile();
    theData.SelectLastSeries();
}

void CTabulonDlg::OnPasteFromClipboard() {
    RequestSceneRebuild();
    theData.ReadClipboard();
    theData.SelectLastSeries();
}

void CTabulonDlg::OnReadImageAsRgb() { ReadImage(0); }

void CTabulonDlg::OnReadImageAsHsv() { ReadImage(1); }

void CTabulonDlg::ReadImage(int mode) {
    if (!ReadImageFile(theData, mode)) return;
    // The picture's three channels are values in their own colours.
    if (!ColorImageParameters(theData, mode)) return;
    theXyview.histogram = 1;
    theMultistat.plane = 0;
    theMultistat.parabolic = 0;
    dataArguments = 0;
    theData.RefreshSeriesList(1);
}

void CTabulonDlg::OnChangeTimeDataFormat() {
    if (theData.dateFormatFlag == 0) {
        theData.dateFormatFlag = 1;
        platform::MessageBox("Data format now is MM/DD/YY");
    } else {
        theData.dateFormatFlag = 0;
        platform::MessageBox("Data format now is DD/MM/YY");
    }
}

// ---- Marks ----------------------------------------------------------------------------------------

void CTabulonDlg::OnAllBlackLines() { theData.ShowValuesAsLines(); }

void CTabulonDlg::OnDistinctColorLines() {
    DistinctColorLines(theData);
    CommonTail();
}

void CTabulonDlg::OnDistinctColorMarks() {
    DistinctColorMarks(theData);
    CommonTail();
}

void CTabulonDlg::OnMarksHorizontalDashes() {
    SetValueMarkShape(theData, 5);
    CommonTail();
}

void CTabulonDlg::OnMarksLines() {
    SetValueMarkShape(theData, kMarkShapeLine);
    CommonTail();
}

void CTabulonDlg::OnIncreaseMarkSize() {
    ChangeValueMarkSize(theData, 1);
    CommonTail();
}

void CTabulonDlg::OnDecreaseMarkSize() {
    ChangeValueMarkSize(theData, -1);
    CommonTail();
}

void CTabulonDlg::OnMarksSameSize() {
    if (MarksSameSize(theData)) CommonTail();
}

// ---- Names ----------------------------------------------------------------------------------------

void CTabulonDlg::OnCopyNamesOfAllSeries() {
    if (CopyNamesOfAllSeries(theData, 0)) CommonTail();
}

void CTabulonDlg::OnCopyNamesWithOrder() {
    if (CopyNamesOfAllSeries(theData, 1)) CommonTail();
}

// ---- Values ---------------------------------------------------------------------------------------

void CTabulonDlg::OnNormalizeAllParameters() { theData.OnNormalizeAll(); }

void CTabulonDlg::OnValueParametersFrom0To1() {
    for (std::size_t i = 0; i < theData.parameters.size(); ++i) {
        if (theData.parameters[i].role == kRoleValue) theData.NormalizeParameter(static_cast<int>(i), 0, 1);
    }
    CommonTail();
}

void CTabulonDlg::OnValueParametersStartAt1() {
    for (std::size_t i = 0; i < theData.parameters.size(); ++i) {
        if (theData.parameters[i].role == kRoleValue) theData.NormalizeParameterByFirst(static_cast<int>(i));
    }
    CommonTail();
}

void CTabulonDlg::OnUniteAllSeries() {
    if (UniteAllSeries(theData)) CommonTail();
}

// ---- Presets of the full analysis -----------------------------------------------------------------

void CTabulonDlg::AssignPaletteColors() { ::AssignPaletteColors(theData, dataSeriesCount); }

void CTabulonDlg::PrepareAllParametersAsValues() {
    if (!::PrepareAllParametersAsValues(theData, dataSeriesCount)) return;
    dataArguments = 0;
    dataValues = theData.series[0].nParameters;
}

void CTabulonDlg::SetSingleValueParameter(int p) {
    if (SetSingleValueColumn(theData, p, dataSeriesCount)) {
        dataArguments = theData.series[0].nParameters - 1;
        dataValues = 1;
    }
    const std::string name = p >= 0 && p < static_cast<int>(theData.parameterNames.size())
                                 ? theData.parameterNames[static_cast<std::size_t>(p)]
                                 : std::string();
    theLegend.xCaption = name;
    theLegend.yCaption = name + ", calculated";
}
