// The document commands of the File menu (Open, Save, Save as), the document writer and
// reader of the main window, the question before unsaved work is left, and the undo
// snapshot of the job hook. The document code itself works on the pages' settings records;
// here they are gathered from the pages and, once a document has been read and accepted
// whole, handed back and shown.
#include <cstring>

#include "app/program_objects.h"
#include "app/resource_ids.h"
#include "app/tabulon_dlg.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "widgets/progress_bar.h"
#include "charts/xyview_page.h"
#include "data/data_edit.h"
#include "data/data_page.h"
#include "documents/cdf_file.h"
#include "documents/document_model.h"
#include "documents/result_page.h"
#include "fitting/multistat_page.h"
#include "fitting/parameters_of_multi_search1.h"
#include "fitting/sinaldlg_page.h"
#include "fitting/useruf_page.h"
#include "fitting/xystatistic_page.h"
#include "formula/approxcustom.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "formula/number_text.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/guard.h"
#include "platform/requests.h"
#include "platform/system.h"
#include "statistics/distribution2_page.h"
#include "statistics/distrimution_page.h"

namespace {

DocumentSettings CurrentSettings(const CTabulonDlg& dlg) {
    DocumentSettings s;
    s.activeParameter = theData.activeParameter;
    s.activePage = activeTab;
    s.selectedTab = dlg.HasWindow() ? std::max(0, dlg.CurrentTab()) : 0;
    s.view3D = dlg.view3D;
    s.legend = theLegend.settings;
    s.chart = theChart.settings;
    s.xyview = theXyview.settings;
    s.d3view = theD3view.settings;
    s.xystatistic = theXystatistic.settings;
    s.distrimution = theDistrimution.settings;
    s.distribution2 = theDistribution2.settings;
    s.result = theResult.settings;
    s.constructor = theConstructor.settings;
    s.approxcustom = theApproxcustom.settings;
    s.useruf = theUseruf.settings;
    s.collection = theCollection.settings;
    s.sinaldlg = theSinaldlg.settings;
    s.multistat = theMultistat.settings;
    s.constructorMulti = theConstructorMulti.settings;
    s.search = theParametersOfMultiSearch1.settings;
    s.calculator = theCalculator.settings;
    return s;
}

void PutSettings(const DocumentSettings& s) {
    theLegend.settings = s.legend;
    theChart.settings = s.chart;
    theXyview.settings = s.xyview;
    theD3view.settings = s.d3view;
    theXystatistic.settings = s.xystatistic;
    theDistrimution.settings = s.distrimution;
    theDistribution2.settings = s.distribution2;
    theResult.settings = s.result;
    theConstructor.settings = s.constructor;
    theApproxcustom.settings = s.approxcustom;
    theUseruf.settings = s.useruf;
    theCollection.settings = s.collection;
    theSinaldlg.settings = s.sinaldlg;
    theMultistat.settings = s.multistat;
    theConstructorMulti.settings = s.constructorMulti;
    theParametersOfMultiSearch1.settings = s.search;
    theCalculator.settings = s.calculator;
}

DocumentDataView StoreView() {
    return DocumentDataView{theData.allValues, theData.series, theData.seriesNames, theData.parameters, theData.parameterNames};
}

// The name part of a path: the extension rule looks at it alone.
std::string NameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderBefore(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool HasDocumentExtension(const std::string& path) {
    const std::string name = NameOf(path);
    return name.find(".cdf") != std::string::npos || name.find(".nc") != std::string::npos;
}

// Every page shows its fields again, as a document set them.
void ShowPagesFromSettings(CTabulonDlg& dlg) {
    theChart.borderWidthEdit = theChart.borderWidth;
    theChart.gridWidthEdit = theChart.gridWidth;
    theChart.UpdateData(false);
    if (theChart.HasWindow()) theChart.Invalidate();
    // The view flags follow the main window's three-dimensional flag from here on.
    theD3view.twoDimensional = dlg.view3D ? 0 : 1;
    theXyview.show3D = dlg.view3D ? 1 : 0;
    theXyview.UpdateData(false);
    if (theXyview.HasWindow()) theXyview.ShowModeControls();
    theD3view.UpdateData(false);
    theXystatistic.UpdateData(false);
    theDistrimution.appliedConditions = theDistrimution.conditions;
    theDistrimution.UpdateData(false);
    theDistrimution.EnableBinControls();
    theDistribution2.UpdateData(false);
    theDistribution2.EnableIntervalControls();
    theResult.UpdateData(false);
    for (std::size_t i = 0; i < theConstructor.periodTexts.size(); ++i)
        theConstructor.periodTexts[i] = numtext::GText(theConstructor.periodValues[i]);
    theConstructor.UpdateData(false);
    theConstructor.RestoreSelection();
    theApproxcustom.RestoreFormulaList();
    theCollection.UpdateData(false);
    if (theCollection.HasWindow() && theCollection.selectedModel <= 24) theCollection.SelectModelInList();
    theUseruf.ShowSettings();  // the coefficient list and the edits of the selected row, then "Ok"
    theSinaldlg.UpdateData(false);
    theMultistat.UpdateData(false);
    if (theConstructorMulti.HasWindow())
        theConstructorMulti.Control(constructor_multi::kDeleteLastButton).Enable(!theConstructorMulti.currentPolyTerms.empty());
    theCalculator.UpdateData(false);
    for (platform::Dialog* page : {static_cast<platform::Dialog*>(&theXystatistic), static_cast<platform::Dialog*>(&theDistrimution),
                                   static_cast<platform::Dialog*>(&theDistribution2), static_cast<platform::Dialog*>(&theResult),
                                   static_cast<platform::Dialog*>(&theUseruf), static_cast<platform::Dialog*>(&theSinaldlg),
                                   static_cast<platform::Dialog*>(&theMultistat), static_cast<platform::Dialog*>(&theCalculator)})
        if (page->HasWindow()) page->Invalidate();
}

}  // namespace

void CTabulonDlg::RouteDocumentCommands() {
    RouteCommand(kCommandFileOpen, &CTabulonDlg::OnFileOpen);
    RouteCommand(kCommandFileSave, &CTabulonDlg::OnFileSave);
    RouteCommand(kCommandFileSaveAs, &CTabulonDlg::OnFileSaveAs);
    RouteCommand(kCommandRecentFile1, &CTabulonDlg::OnFileRecentFile1);
    RouteCommand(kCommandRecentFile1 + 1, &CTabulonDlg::OnFileRecentFile2);
    RouteCommand(kCommandRecentFile1 + 2, &CTabulonDlg::OnFileRecentFile3);
    RouteCommand(kCommandRecentFile1 + 3, &CTabulonDlg::OnFileRecentFile4);
}

bool CTabulonDlg::WriteDocument(const std::string& path, FileStamp* written) {
    cdfFile file;
    BuildDocument(CurrentSettings(*this), StoreView(), file);
    if (!file.Save(path)) {
        platform::MessageBox(file.error, platform::kButtonsOk | platform::kIconError, cdfFile::CaptionFor(file.error));
        return false;
    }
    if (written) *written = file.written;
    return true;
}

bool CTabulonDlg::SaveDocument() {
    // Another window or program may have saved the document since: its work is not replaced
    // without a word.
    const FileStamp onDisk = FileStamp::Of(documentPath);
    if (onDisk.exists && onDisk != documentStamp) {
        const std::string question =
            documentStamp.path == documentPath
                ? platform::Format("%s has been changed since this window read or saved it.\nDo you want to replace it?",
                                   documentPath.c_str())
                : platform::Format("%s already exists.\nDo you want to replace it?", documentPath.c_str());
        if (platform::MessageBox(question, platform::kButtonsYesNo | platform::kIconQuestion) != platform::kYes)
            return false;
    }
    if (!WriteDocument(documentPath, &documentStamp)) return false;
    NoteDocumentClean();
    return true;
}

void CTabulonDlg::NoteDocumentClean() {
    cleanSettings = std::make_shared<const DocumentSettings>(CurrentSettings(*this));
    cleanFingerprint = DataFingerprint(StoreView());
}

bool CTabulonDlg::WorkChanged() const {
    if (!cleanSettings) return !theData.series.empty();
    return DataFingerprint(StoreView()) != cleanFingerprint || !SameWork(CurrentSettings(*this), *cleanSettings);
}

bool CTabulonDlg::AskToSaveChanges() {
    if (!WorkChanged()) return true;
    const int answer = platform::MessageBox(platform::Format("Save changes to %s?", documentPath.c_str()),
                                            platform::kButtonsYesNoCancel | platform::kIconQuestion);
    if (answer == platform::kCancel) return false;
    return answer != platform::kYes || SaveDocument();
}

void CTabulonDlg::OnFileSave() { SaveDocument(); }

std::string CTabulonDlg::ApplyExtensionRule(const std::string& path) {
    const std::string name = NameOf(path);
    const std::string folder = path.substr(0, path.size() - name.size());
    if (name.find(".cdf") != std::string::npos || name.find(".nc") != std::string::npos) return path;
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) return folder + name.substr(0, dot + 1) + "cdf";
    if (!name.empty()) return path + ".cdf";
    return path;
}

namespace {

// The extension of the current document, for the dialogs' pattern and default extension.
std::string CurrentExtension() {
    const std::string name = NameOf(documentPath);
    const std::size_t dot = name.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (ext.empty() || ext.size() > 9 || ext.find_first_of("/*?") != std::string::npos) ext = "cdf";
    return ext;
}

platform::FileDialogRequest DocumentDialog(const char* title, const std::string& folder) {
    platform::FileDialogRequest r;
    const std::string ext = CurrentExtension();
    r.title = title;
    r.filter = "*." + ext + "|*." + ext + ";*.nc|*.*|*.*||";
    r.initialPath = folder.empty() ? std::string() : folder + "/";
    r.defaultExtension = ext;
    return r;
}

}  // namespace

void CTabulonDlg::OnFileSaveAs() {
    platform::FileDialogRequest request = DocumentDialog("Save Tabulon file", theData.documentFolder);
    request.confirmReplace = false;  // asked below, about the name the document gets
    const std::optional<std::string> chosen = platform::TheDialogs().SaveFile(request);
    if (!chosen || chosen->empty()) return;
    const std::string path = ApplyExtensionRule(*chosen);
    if (platform::FileExists(path) &&
        platform::MessageBox(platform::Format("%s already exists.\nDo you want to replace it?", path.c_str()),
                             platform::kButtonsYesNo | platform::kIconQuestion) != platform::kYes)
        return;
    // Only a document that was written takes the new name: after a failed save the work is
    // still the former document's.
    if (!WriteDocument(path, &documentStamp)) return;
    documentPath = path;
    theData.documentFolder = FolderBefore(path);
    theData.fileNameBuffer = *chosen;
    SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
    NoteDocumentClean();
    AddRecentFile(documentPath);
}

void CTabulonDlg::OnFileOpen() {
    if (readingDocument) return;
    if (!AskToSaveChanges()) return;
    platform::FileDialogRequest request = DocumentDialog("Open Tabulon file", platform::CurrentDirectory());
    const std::optional<std::string> chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen || chosen->empty()) return;
    std::string folder;
    if (FolderOfPath(*chosen, folder)) recentFolder = folder;
    ReadDocumentAt(*chosen);
}

bool CTabulonDlg::FolderOfPath(std::string path, std::string& folder) {
    const std::size_t cut = path.find_last_of('/');
    if (path.empty() || cut == std::string::npos || cut == 0) return false;
    folder = path.substr(0, cut);
    return true;
}

void CTabulonDlg::ReadDocument() { ReadDocumentAt(documentPath); }

bool CTabulonDlg::ReadDocumentAt(const std::string& path) {
    if (readingDocument) return false;
    // A failed read leaves the current work and the names it is saved under as they were.
    const std::string formerPath = documentPath, formerFolder = theData.documentFolder;
    const std::string formerBuffer = theData.fileNameBuffer;
    const int formerJustRead = documentJustRead;
    auto fail = [&](const std::string& message) {
        documentPath = formerPath == path ? std::string(defaultDocumentPath) : formerPath;
        theData.documentFolder = formerFolder;
        theData.fileNameBuffer = formerBuffer;
        documentJustRead = formerJustRead;
        if (!message.empty())
            platform::MessageBox(message, platform::kButtonsOk | platform::kIconError, cdfFile::CaptionFor(message));
        return false;
    };
    documentJustRead = 1;
    theData.documentFolder = FolderBefore(path);
    theData.fileNameBuffer = path;
    if (!HasDocumentExtension(path)) return fail("Wrong file extention");

    const FileStamp stamp = FileStamp::Of(path);  // before reading: a change meanwhile is asked about
    DocumentSettings staging = CurrentSettings(*this);
    DocumentData data;
    DocumentReadNotes notes;
    std::string fault;
    {
        // Whatever ends the read, an exception included, lets the next one start.
        struct Reading {
            int& flag;
            explicit Reading(int& f) : flag(f) { flag = 1; }
            ~Reading() { flag = 0; }
        } reading(readingDocument);
        try {
            cdfFile file;
            file.progress = [](const std::string& text, double fraction) {
                DrawProgressBar(0, text, fraction);
                PumpWaitingMessages();
            };
            fault = file.Load(path) ? ReadDocumentModel(file, staging, data, notes) : file.error;
        } catch (...) {
            fault = platform::ExceptionMessage(std::current_exception());
        }
        // What the accepted document had left out or cut is told once, before it replaces
        // the work (and while no other read can start).
        if (fault.empty() && !notes.messages.empty()) {
            std::string remarks = platform::Format("The document %s was read with these changes:", path.c_str());
            for (const std::string& message : notes.messages) remarks += "\n" + message;
            platform::MessageBox(remarks, platform::kButtonsOk | platform::kIconWarning);
        }
    }
    if (!fault.empty()) {
        if (fault.rfind("Can not open file", 0) != 0)
            fault = platform::Format("The document %s can not be read:\n", path.c_str()) + fault;
        DrawProgressBar(1, "", 0);
        return fail(fault);
    }

    // Accepted whole: the store and the pages take it.
    documentPath = path;
    documentStamp = stamp;
    theData.OnDeleteAll();
    recomputeNeeded = 0;
    DrawProgressBar(0, "Reading attributes:", 0.1);
    PutSettings(staging);
    theLegend.ApplyFontRecords();
    view3D = staging.view3D;
    if (notes.seriesCount >= 1) {
        MoveDocumentDataInto(data, staging.activeParameter, theData);
        theData.dataModified = 1;
        theData.FillSeriesTable();
        theData.MarkActiveParameterRow();
        theData.UpdateButtonStates();
        theData.RedrawDataPage();
        ShowPagesFromSettings(*this);
        UpdateForDataShape();
        theData.FillSeriesTable();
    }
    theMultistat.ShowDocumentScheme(notes.schemesReset);
    theLegend.ShowSettings();
    SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
    theData.HideDataSheet();
    theD3view.sceneRebuildRequest = 1;
    recomputeNeeded = 1;

    const int page = TabToPage(notes.hasActiveTab ? staging.selectedTab : 0);
    recomputeNeeded = 0;
    ShowTabPage(page);
    activeTab = page;
    if (HasWindow()) Control(kTabControl).SetCurSel(notes.hasActiveTab ? staging.selectedTab : 0);
    recomputeNeeded = 1;
    if (hasCommandLineDocument) {
        theData.dataPageChanged = 1;
        theLegend.changed = 1;
    }
    DrawProgressBar(1, "", 0);
    platform::PostRepaintRequest();
    AddRecentFile(documentPath);
    NoteDocumentClean();
    return true;
}

std::string CTabulonDlg::UndoSnapshotPath() const {
    return (makerFolder.empty() ? std::string(".") : makerFolder) + "/undo.cdf";
}

void CTabulonDlg::ServeUndoRequests() {
    if (undoSaveRequest) {
        undoSaveRequest = 0;
        WriteDocument(UndoSnapshotPath());
    }
    if (undoRestoreRequest) {
        undoRestoreRequest = 0;
        // The snapshot replaces the work; the work keeps the name it is saved under.
        const std::string path = documentPath, folder = theData.documentFolder;
        const FileStamp stamp = documentStamp;
        if (ReadDocumentAt(UndoSnapshotPath())) {
            documentPath = path;
            documentStamp = stamp;
            theData.documentFolder = folder;
            SetCaption(platform::Format("Tabulon - %s", documentPath.c_str()));
            cleanSettings.reset();
        }
    }
}
