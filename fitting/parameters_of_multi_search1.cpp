#include "fitting/parameters_of_multi_search1.h"

#include <filesystem>
#include <system_error>

#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/format.h"
#include "statistics/stretch_and_browse.h"
#include "widgets/page_look.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
parametersOfMultiSearch1 theParametersOfMultiSearch1;

namespace {

using P = parametersOfMultiSearch1;
using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);

std::string CurrentFolder() {
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    return error ? std::string() : folder.substr(0, 500);
}

platform::DialogTemplate SearchParametersTemplate() {
    platform::DialogTemplate t;
    t.id = P::kTemplateId;
    t.caption = "Parameters for search for best fitting polynomial";
    t.cx = 260;
    t.cy = 196;
    t.style = platform::kDialogPopup;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {P::kConditionsGroup, ControlKind::GroupBox, "Search conditions:", 4, 4, 252, 150},
        {P::kIncludeConstantCheck, ControlKind::CheckBox, "Include constant term", 10, 16, 200, 10},
        {P::kContinueFromCurrentCheck, ControlKind::CheckBox, "Do continue search from current polynomial", 10, 28,
         200, 10},
        {-1, ControlKind::Static, "Number of terms in polinomial to start:", 10, 42, 180, 10},
        {P::kStartTermsEdit, ControlKind::Edit, "", 200, 40, 50, 12},
        {-1, ControlKind::Static, "Maximum terms in polinomial to stop search:", 10, 58, 180, 10},
        {P::kMaxTermsEdit, ControlKind::Edit, "", 200, 56, 50, 12},
        {-1, ControlKind::Static, "Number vain tries after productive last:", 10, 74, 180, 10},
        {P::kVainTriesEdit, ControlKind::Edit, "", 200, 72, 50, 12},
        {-1, ControlKind::Static, "Number of randomly added terms to get best:", 10, 90, 180, 10},
        {P::kRandomTermsEdit, ControlKind::Edit, "", 200, 88, 50, 12},
        {-1, ControlKind::Static, "Maximum time to search for next term (min):", 10, 106, 180, 10},
        {P::kMaxMinutesEdit, ControlKind::Edit, "", 200, 104, 50, 12},
        {-1, ControlKind::Static, "Criterion for best polynomial:", 10, 122, 110, 10},
        {P::kCriterionCombo, ControlKind::ComboBox, "", 120, 120, 130, 70},
        {P::kSaveLogCheck, ControlKind::CheckBox, "Save results of search process in file:", 10, 160, 170, 10},
        {P::kLogFileText, ControlKind::Static, "default_multi.csv", 10, 174, 190, 10},
        {P::kBrowseButton, ControlKind::Button, "Browse", 200, 158, 50, 14, owner},
        {P::kOkButton, ControlKind::Button, "OK", 200, 176, 50, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(SearchParametersTemplate());

}  // namespace

parametersOfMultiSearch1::parametersOfMultiSearch1() : Dialog(kTemplateId), initialFolder(CurrentFolder()) {
    RouteCommand(kBrowseButton, &parametersOfMultiSearch1::OnBrowse);
    RouteCommand(kOkButton, &parametersOfMultiSearch1::OnOK);
    Route(kCriterionCombo, platform::Notification::SelChange, &parametersOfMultiSearch1::OnUpdateDataShared);
}

bool parametersOfMultiSearch1::OnInitDialog() {
    platform::Control combo = Control(kCriterionCombo);
    // The items carry trailing blanks, as the dialog always showed them.
    for (const char* item : {"Standard deviation ", "MinMax of single deviation ", "Most stable approximation ",
                             "Synthetic criteria ", "Orvel's criteria for auto search "}) {
        combo.AddString(item);
    }
    SetDefaultButton(kOkButton);
    UpdateData(false);
    return true;
}

void parametersOfMultiSearch1::DoDataExchange(platform::Exchange& dx) {
    dx.Check(kIncludeConstantCheck, includeConstant);
    dx.Check(kContinueFromCurrentCheck, continueFromCurrent);
    dx.Int(kMaxTermsEdit, maxTerms);
    dx.Range(maxTerms, 2, 40);
    dx.Int(kVainTriesEdit, vainTries);
    dx.Range(vainTries, 10, 1000000);
    dx.Int(kRandomTermsEdit, randomTerms);
    dx.Range(randomTerms, 2, 20);
    dx.Int(kMaxMinutesEdit, maxMinutes);
    dx.Range(maxMinutes, 1, 20000);
    dx.ComboIndex(kCriterionCombo, criterion);
    dx.Text(kLogFileText, logFile);
    dx.MaxChars(logFile, 400);
    dx.Check(kSaveLogCheck, saveLog);
    dx.Int(kStartTermsEdit, startTerms);
    dx.Range(startTerms, 1, 30);
}

bool parametersOfMultiSearch1::ClampToModelSize() {
    if (maxTerms + randomTerms <= kMaxSearchTerms) return false;
    maxTerms = kMaxSearchTerms - randomTerms;
    if (maxTerms < 4) {
        maxTerms = 40;
        randomTerms = 8;
    }
    return true;
}

bool parametersOfMultiSearch1::FitsModel(std::string* why) const {
    if (maxTerms + randomTerms > kMaxSearchTerms) {
        if (why) *why = platform::Format("Maximum terms plus randomly added terms can not exceed %d", kMaxSearchTerms);
        return false;
    }
    if (static_cast<long long>(maxTerms + 1 + randomTerms) * argumentCount > kMaxSearchCodes) {
        if (why) *why = platform::Format("Too many terms for %d arguments: terms times arguments can not exceed %d",
                                         argumentCount, kMaxSearchCodes);
        return false;
    }
    return true;
}

void parametersOfMultiSearch1::OnOK() {
    // Accepted only with fields that read, are in range and fit a model.
    if (!UpdateData(true)) return;
    std::string why;
    if (!FitsModel(&why)) {
        platform::MessageBox(why);
        return;
    }
    accepted = 1;
    EndDialog(platform::kOk);
}

void parametersOfMultiSearch1::OnUpdateDataShared() { UpdateData(true); }

void parametersOfMultiSearch1::OnBrowse() {
    UpdateData(true);
    // The log is usually a file still to be made: a save dialog takes a new name (and asks
    // before an existing file is chosen), proposing the name chosen last.
    std::string name = fileNameBuffer.substr(0, 300);
    if (const std::size_t slash = name.find_last_of('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".csv") == 0) name.resize(name.size() - 4);
    std::string folder, title, chosen;
    if (!BrowseForFile(folder, "csv", title, chosen, browseTitle, name.empty() ? "default" : name)) return;
    logFile = chosen;
    fileNameBuffer = logFile.substr(0, 1000);
    UpdateData(false);
    ClampToModelSize();
    UpdateData(false);
    initialFolder = CurrentFolder();
}

bool parametersOfMultiSearch1::OnDrawItem(platform::DrawItem& item) {
    if (item.controlId != kOkButton && item.controlId != kBrowseButton) return false;
    DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
    return true;
}

void parametersOfMultiSearch1::OnPaint() { FillPageBackground(*this, kPageBrush); }

bool parametersOfMultiSearch1::OnCtlColor(int controlId, platform::CtlColor& out) {
    if (controlId >= kSaveLogCheck && controlId <= kStartTermsEdit && controlId != kBrowseButton) {
        out = TextOn(kLightText, kPageBrush, kPageBrush);
    } else {
        out = PageBrushOnly(kPageBrush);
    }
    return true;
}
