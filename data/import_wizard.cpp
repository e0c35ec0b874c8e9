#include "data/import_wizard.h"

#include "data/data_page.h"
#include "data/fromimage_dialog.h"
#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"

ImportData theImportData;

namespace {

using platform::ControlKind;

platform::DialogTemplate ImportDataTemplate() {
    platform::DialogTemplate t;
    t.id = ImportData::kTemplateId;
    t.caption = "Import data";
    t.cx = 220;
    t.cy = 150;
    auto& c = t.controls;
    c.push_back({ImportData::kSourceGroup, ControlKind::GroupBox, "Select source of data:", 6, 4, 208, 118});
    c.push_back({ImportData::kAccessRadio, ControlKind::RadioButton, "MS Access file", 14, 16, 120, 11,
                 platform::kStyleGroup});
    c.push_back({ImportData::kClipboardRadio, ControlKind::RadioButton, "Paste from clipboard", 14, 30, 120, 11});
    c.push_back({ImportData::kImageRadio, ControlKind::RadioButton, "Image", 14, 44, 120, 11});
    c.push_back({ImportData::kTextFileRadio, ControlKind::RadioButton, "Text file", 14, 58, 120, 11});
    c.push_back({ImportData::kEmptySeriesRadio, ControlKind::RadioButton, "Create empty series:", 14, 72, 120, 11});
    c.push_back({ImportData::kNamesLabel, ControlKind::Static, "print names of parameters:", 24, 86, 110, 10});
    c.push_back({ImportData::kNamesEdit, ControlKind::Edit, "", 24, 97, 182, 12});
    c.push_back({ImportData::kSeparatorsLabel, ControlKind::Static, "(valid separators are: , ; )", 24, 110, 140, 10});
    c.push_back({ImportData::kNextButton, ControlKind::Button, "Next -->", 96, 128, 56, 16,
                 platform::kStyleOwnerDraw | platform::kStyleDefault});
    c.push_back({ImportData::kCancelButton, ControlKind::Button, "Cancel", 158, 128, 56, 16, platform::kStyleOwnerDraw});
    return t;
}

const platform::DialogTemplateRegistration registration(ImportDataTemplate());

}  // namespace

ImportData::ImportData() : Dialog(kTemplateId) {
    RouteCommand(kAccessRadio, &ImportData::OnSourceAccessFile);
    RouteCommand(kClipboardRadio, &ImportData::OnSourceClipboard);
    RouteCommand(kImageRadio, &ImportData::OnSourceImage);
    RouteCommand(kTextFileRadio, &ImportData::OnSourceTextFile);
    RouteCommand(kEmptySeriesRadio, &ImportData::OnSourceEmptySeries);
    RouteCommand(kNextButton, &ImportData::OnNext);
}

bool ImportData::OnInitDialog() {
    // The members outlive each use: the dialog shows the last choice.
    UpdateData(false);
    SetDefaultButton(kNextButton);
    ChooseSource(source);
    return true;
}

void ImportData::DoDataExchange(platform::Exchange& dx) {
    dx.Radio(kAccessRadio, source);
    dx.Text(kNamesEdit, newNames);
}

void ImportData::ChooseSource(int chosen) {
    source = chosen;
    Control(kNamesEdit).Enable(source == kEmptySeries);
    Invalidate();  // the names box takes its colours again
}

void ImportData::OnSourceAccessFile() { ChooseSource(kAccessFile); }
void ImportData::OnSourceClipboard() { ChooseSource(kClipboard); }
void ImportData::OnSourceImage() { ChooseSource(kImage); }
void ImportData::OnSourceTextFile() { ChooseSource(kTextFile); }
void ImportData::OnSourceEmptySeries() { ChooseSource(kEmptySeries); }

void ImportData::OnNext() {
    UpdateData(true);
    proceed = 1;
    EndDialog(platform::kOk);
}

void ImportData::OnCancelImport() {
    UpdateData(false);
    proceed = 0;
    UpdateData(true);
    EndDialog(platform::kOk);
}

bool ImportData::OnDrawItem(platform::DrawItem& item) {
    return DrawActionAndCancelButtons(item, kNextButton, 0x14FF14, 0x0A6E0A, kCancelButton);
}

void ImportData::OnPaint() { FillPageBackground(*this, kDialogBrush); }

ControlColors ImportData::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kSourceGroup:
        case kAccessRadio:
        case kClipboardRadio:
        case kImageRadio:
        case kTextFileRadio:
        case kEmptySeriesRadio:
        case kNamesLabel:
        case kSeparatorsLabel:
            return TextOn(kTextColor, kDialogBrush, kDialogBrush);
        case kNamesEdit:
            return source == kEmptySeries ? TextOn(kTextColor, kFieldBack, kFieldBack)
                                          : TextOn(kTextColor, kDialogBrush, kDialogBrush);
        default:
            return PageBrushOnly(kDialogBrush);
    }
}

int AddEmptySeries(data& page, const std::string& namesText) {
    std::vector<std::string> names;
    const int n = SplitNames(namesText, ",; ", names);
    if (page.series.empty()) {
        if (n < 1) {
            platform::MessageBox("Number of fields must be at least one");
            return 0;
        }
        page.pendingSeries = Series{n, n - 1, 1, 0, 0, 0};
    } else {
        if (n != page.series[0].nParameters) {
            platform::MessageBox("Number of fields must be equal to existing");
            return 0;
        }
        long long stored = 0;
        for (const Series& s : page.series) stored += static_cast<long long>(s.nParameters) * s.nRecords;
        // Values beyond the last series belong to no series.
        if (static_cast<long long>(page.allValues.size()) > stored) page.allValues.resize(static_cast<std::size_t>(stored));
        Series shape = page.series.back();
        shape.firstParameter = static_cast<std::int32_t>(page.parameters.size());
        shape.firstValue = static_cast<std::int32_t>(page.allValues.size());
        shape.nRecords = 0;
        page.pendingSeries = shape;
    }
    // Readers of the per-series parameter count expect it to match the new series.
    page.parametersPerSeries = n;
    return page.AddNewSeries(0, names);
}

void RunImportWizard(data& page) {
    if (page.syncTimerOn == 1) {
        const int answer = platform::MessageBox("Only one series are allowed with synchonization\nKill timer?",
                                                platform::kButtonsYesNo | platform::kIconQuestion);
        if (answer == platform::kYes) page.StopSyncTimer();
    }
    theImportData.proceed = 0;
    theImportData.RunModal();
    if (theImportData.proceed == 0) return;

    page.MarkSceneForRebuild();
    switch (theImportData.source) {
        case ImportData::kAccessFile:
            page.ReadDatabase();
            break;
        case ImportData::kClipboard:
            page.ReadClipboard();
            break;
        case ImportData::kImage:
            RunChartDigitiser(page);
            break;
        case ImportData::kTextFile:
            page.OnOpenTextDataFile();
            break;
        case ImportData::kEmptySeries:
            if (!AddEmptySeries(page, theImportData.newNames)) return;
            break;
        default:
            break;
    }
    if (page.series.empty()) return;
    page.UpdateButtonStates();
    page.SelectLastSeries();
    page.UpdateButtonStates();
}
