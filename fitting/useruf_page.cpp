#include "fitting/useruf_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "fitting/user_fit_search.h"
#include "fitting/useruf_item.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/format.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
useruf theUseruf;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);
constexpr platform::ColorRef kEditBack = Rgb(255, 250, 240);

// The fetch settings: trials before the steps shrink, the shrink factor, the default-step factor.
struct FetchSetting {
    int trials;
    double shrink;
    double stepFactor;
};
constexpr FetchSetting kFetchSettings[] = {{50, 0.69, 0.21}, {200, 0.97, 0.01}, {10, 0.37, 0.51}, {25, 0.57, 0.05}};
constexpr int kFetchCount = 4;

platform::DialogTemplate UserFormulaTemplate() {
    platform::DialogTemplate t;
    t.id = useruf::kTemplateId;
    t.caption = "User formula";
    t.cx = 214;
    t.cy = 196;
    t.style = platform::kDialogChild;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {useruf::kFormulaLabel, ControlKind::Static, "Formula: y=", 4, 6, 56, 10, platform::kStyleAlignRight},
        {useruf::kFormulaEdit, ControlKind::Edit, "", 62, 4, 148, 12},
        {useruf::kPlusConstCheck, ControlKind::CheckBox, "+ const", 4, 20, 50, 10},
        {useruf::kCoefficientsLabel, ControlKind::Static, "Fitting coefficients:", 60, 20, 80, 10},
        {useruf::kCoefficientList, ControlKind::ListBox, "", 4, 32, 70, 60},
        {useruf::kAddButton, ControlKind::Button, "Add", 80, 32, 40, 13, owner},
        {useruf::kEditButton, ControlKind::Button, "Edit", 80, 47, 40, 13, owner},
        {useruf::kDeleteButton, ControlKind::Button, "Delete", 80, 62, 40, 13, owner},
        {useruf::kMoreButton, ControlKind::Button, ">>", 80, 79, 40, 13, owner},
        {useruf::kStopConditionLabel, ControlKind::Static, "Stop condition:", 126, 32, 60, 10},
        {useruf::kStopConditionEdit, ControlKind::Edit, "", 126, 43, 60, 12},
        {useruf::kRoundLabel, ControlKind::Static, "", 126, 60, 60, 10},
        {useruf::kColumnHeads, ControlKind::GroupBox,
         "Name          Value                   Step                 Min                  Max", 2, 96, 210, 28},
        {useruf::kNameEdit, ControlKind::Edit, "", 6, 108, 36, 12},
        {useruf::kValueEdit, ControlKind::Edit, "", 44, 108, 40, 12},
        {useruf::kStepEdit, ControlKind::Edit, "", 86, 108, 40, 12},
        {useruf::kMinEdit, ControlKind::Edit, "", 128, 108, 40, 12},
        {useruf::kMaxEdit, ControlKind::Edit, "", 170, 108, 40, 12},
        {useruf::kSchemeLabel, ControlKind::Static, "Fitting scheme:", 4, 130, 60, 10},
        {useruf::kSchemeCombo, ControlKind::ComboBox, "", 66, 128, 80, 60},
        {useruf::kFetchLabel, ControlKind::Static, "Fetch setting:", 4, 146, 60, 10},
        {useruf::kFetchCombo, ControlKind::ComboBox, "", 66, 144, 80, 60},
        {useruf::kRunFittingButton, ControlKind::Button, "Run fitting", 4, 164, 60, 14, owner},
        {useruf::kStopButton, ControlKind::Button, "Stop", 4, 164, 60, 14,
         owner | platform::kStyleHidden | platform::kStyleDisabled},
        {useruf::kDefaultStepsButton, ControlKind::Button, "Set default steps", 68, 164, 78, 14, owner},
        {useruf::kOkButton, ControlKind::Button, "Ok", 164, 164, 46, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(UserFormulaTemplate());

std::string WithoutBlanks(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != ' ') out.push_back(c);
    }
    return out;
}

}  // namespace

useruf::useruf() : Dialog(kTemplateId) {
    UserFitRandomInit(fitRandom);
    RouteCommand(kOkButton, &useruf::OnOk);
    Route(kCoefficientList, platform::Notification::SelChange, &useruf::OnSelChangeCoefficientList);
    RouteCommand(kAddButton, &useruf::OnAdd);
    RouteCommand(kEditButton, &useruf::OnEdit);
    RouteCommand(kDeleteButton, &useruf::OnDelete);
    RouteCommand(kMoreButton, &useruf::OnMore);
    RouteCommand(kRunFittingButton, &useruf::OnRunFitting);
    RouteCommand(kStopButton, &useruf::OnStop);
    RouteCommand(kPlusConstCheck, &useruf::OnPlusConst);
    RouteCommand(kDefaultStepsButton, &useruf::OnSetDefaultSteps);
}

bool useruf::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    platform::Control scheme = Control(kSchemeCombo);
    for (const char* item : {"Random linear", "Random Gauss", "Slope local", "Orvel method"}) scheme.AddString(item);
    platform::Control fetch = Control(kFetchCombo);
    for (const char* item : {"Normal", "Detail (slow)", "Try (fast)", "Modified"}) fetch.AddString(item);
    ResetTable();
    AppendRow("a", 1.0, 0.1, -1e40, 1e40);
    AppendRow("b", 2.0, 0.2, -1e40, 1e40);
    fittingScheme = 1;
    fetchSetting = 0;
    ApplyFetchSetting();
    selectedRow = 0;
    Control(kCoefficientList).SetCurSel(0);
    formula = "a*x+b";
    running = 0;
    ShowRunningButtons();
    UpdateData(false);
    ShowSelectedCoefficient();
    Invalidate();
    return true;
}

void useruf::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kFormulaEdit, formula);
    dx.Check(kPlusConstCheck, plusConst);
    dx.Text(kNameEdit, nameEdit);
    dx.Double(kValueEdit, valueEdit);
    dx.Double(kStepEdit, stepEdit);
    dx.Double(kMinEdit, minEdit);
    dx.Double(kMaxEdit, maxEdit);
    dx.Double(kStopConditionEdit, stopCondition);
    dx.ComboIndex(kSchemeCombo, fittingScheme);
    dx.ComboIndex(kFetchCombo, fetchSetting);
}

void useruf::ResetTable() {
    Control(kCoefficientList).ResetContent();
    names.clear();
    values.clear();
    steps.clear();
    minima.clear();
    maxima.clear();
    listCount = 0;
}

void useruf::AppendRow(const std::string& name, double value, double step, double min, double max) {
    names.push_back(name);
    values.push_back(value);
    steps.push_back(step);
    minima.push_back(min);
    maxima.push_back(max);
    Control(kCoefficientList).AddString(name);
    listCount = static_cast<int>(names.size());
}

void useruf::OnOk() {
    const std::string previous = formula;
    UpdateData(true);
    formula = WithoutBlanks(formula);
    // "$" separates the rows of the stored text: a formula holding it could not be read back.
    if (formula.find('$') != std::string::npos) {
        platform::MessageBox("The formula can not hold the sign $. Check and try again.");
        formula = previous;
    }
    Control(kFormulaEdit).SetText(formula);
    ApplyCoefficientEdits();
    changed = 1;
    platform::PostRepaintRequest();
}

void useruf::ApplyCoefficientEdits() {
    UpdateData(true);
    const int count = Control(kCoefficientList).Count();
    if (selectedRow < 0 || selectedRow >= count || selectedRow >= static_cast<int>(names.size())) return;
    const std::string name = Trimmed(nameEdit);
    if (!IsCoefficientName(name)) {
        // A name the formula could not hold as a whole word would never be substituted.
        platform::MessageBox(BadCoefficientNameMessage(name));
        ShowSelectedCoefficient();
        return;
    }
    const std::size_t r = static_cast<std::size_t>(selectedRow);
    names[r] = name;
    // The edits show 15 digits: a number left as shown keeps all the digits the row holds.
    auto take = [](double& field, double edited) {
        if (platform::Format("%.15g", field) != platform::Format("%.15g", edited)) field = edited;
    };
    take(values[r], valueEdit);
    take(steps[r], stepEdit);
    take(minima[r], minEdit);
    take(maxima[r], maxEdit);
    platform::Control list = Control(kCoefficientList);
    list.DeleteString(selectedRow);
    list.InsertString(selectedRow, name);
    list.SetCurSel(selectedRow);
}

void useruf::ShowSelectedCoefficient() {
    const int count = Control(kCoefficientList).Count();
    if (selectedRow < 0 || selectedRow >= count || count != static_cast<int>(names.size())) return;
    const std::size_t r = static_cast<std::size_t>(selectedRow);
    nameEdit = names[r];
    valueEdit = values[r];
    stepEdit = steps[r];
    minEdit = minima[r];
    maxEdit = maxima[r];
    UpdateData(false);
}

void useruf::RefillCoefficientList() {
    platform::Control list = Control(kCoefficientList);
    for (std::size_t i = 0; i < names.size() && static_cast<int>(i) < list.Count(); ++i) {
        list.DeleteString(static_cast<int>(i));
        list.InsertString(static_cast<int>(i), names[i]);
    }
    list.SetCurSel(selectedRow);
    ShowSelectedCoefficient();
}

void useruf::OnSelChangeCoefficientList() {
    selectedRow = Control(kCoefficientList).CurSel();
    ShowSelectedCoefficient();
}

void useruf::OnEdit() { ShowSelectedCoefficient(); }

void useruf::OnAdd() { AddNextCoefficient(); }

void useruf::AddNextCoefficient() {
    UpdateData(true);
    if (names.empty()) {
        AppendRow("a", 1.0, 0.1, -1e40, 1e40);
    } else {
        AppendRow(names.back() + "1", values.back(), steps.back(), minima.back(), maxima.back());
    }
    selectedRow = static_cast<int>(names.size()) - 1;
    Control(kCoefficientList).SetCurSel(selectedRow);
    ShowSelectedCoefficient();
}

void useruf::AddCoefficient() {
    UpdateData(true);
    const std::string name = Trimmed(nameEdit);
    if (!IsCoefficientName(name)) {
        platform::MessageBox(BadCoefficientNameMessage(name));
        return;
    }
    AppendRow(name, valueEdit, stepEdit, minEdit, maxEdit);
    selectedRow = static_cast<int>(names.size()) - 1;
    Control(kCoefficientList).SetCurSel(selectedRow);
    ShowSelectedCoefficient();
}

void useruf::OnDelete() {
    const int count = Control(kCoefficientList).Count();
    if (selectedRow < 0 || selectedRow >= count || selectedRow >= static_cast<int>(names.size())) return;
    const auto at = static_cast<std::ptrdiff_t>(selectedRow);
    Control(kCoefficientList).DeleteString(selectedRow);
    names.erase(names.begin() + at);
    values.erase(values.begin() + at);
    steps.erase(steps.begin() + at);
    minima.erase(minima.begin() + at);
    maxima.erase(maxima.begin() + at);
    listCount = static_cast<int>(names.size());
    selectedRow = std::clamp(selectedRow - 1, 0, std::max(listCount - 1, 0));
    Control(kCoefficientList).SetCurSel(listCount > 0 ? selectedRow : -1);
    ShowSelectedCoefficient();
}

void useruf::DeleteAllCoefficients() {
    ResetTable();
    selectedRow = 0;
    Control(kCoefficientList).SetCurSel(0);
}

void useruf::OnSetDefaultSteps() { SetDefaultSteps(); }

void useruf::SetDefaultSteps() {
    UpdateData(true);
    const int k = fetchSetting >= 0 && fetchSetting < kFetchCount ? fetchSetting : 0;
    const double f = kFetchSettings[k].stepFactor;
    for (std::size_t i = 0; i < values.size(); ++i) {
        steps[i] = std::max(std::fabs(values[i]) * f, std::fabs(stopCondition) * 100);
    }
    ShowSelectedCoefficient();
}

void useruf::ApplyFetchSetting() {
    if (fetchSetting < 0 || fetchSetting >= kFetchCount) return;
    trialsBeforeShrink = kFetchSettings[fetchSetting].trials;
    shrinkFactor = kFetchSettings[fetchSetting].shrink;
}

void useruf::OnPlusConst() {
    plusConst = Control(kPlusConstCheck).Check() ? 1 : 0;
    changed = 1;
    platform::PostRepaintRequest();
}

void useruf::OnMore() {
    moreRequest = 1;
    OnOk();
}

void useruf::OnRunFitting() {
    limitOn = 0;
    StartFitting();
}

void useruf::StartFitting() {
    running = 1;
    ShowRunningButtons();
    OnOk();
    platform::SleepMs(100);
    platform::PostJobRequest();
}

void useruf::OnStop() {
    limitOn = 0;
    StopFitting();
}

void useruf::StopFitting() {
    running = 0;
    ShowRunningButtons();
    OnOk();
    platform::PostJobRequest();
}

void useruf::StopOnTimeLimit() {
    limitOn = 0;
    OnStop();
}

void useruf::ShowRunningButtons() {
    const bool on = running != 0;
    for (int id : {kRunFittingButton, kDefaultStepsButton}) {
        Control(id).Enable(!on);
        Control(id).Show(!on);
    }
    Control(kStopButton).Enable(on);
    Control(kStopButton).Show(on);
    // The running search holds one trial value per coefficient: the formula and the
    // coefficient table stay as they are until "Stop".
    for (int id : {kFormulaEdit, kAddButton, kDeleteButton, kPlusConstCheck}) Control(id).Enable(!on);
}

void useruf::ShowRound(int n) { Control(kRoundLabel).SetText(platform::Format("%d", n)); }

void useruf::SetFormulaLabel(const std::string& text) { Control(kFormulaLabel).SetText(text); }

void useruf::EnablePlusConst(int flag) {
    Control(kPlusConstCheck).Enable(flag != 0);
    Control(kPlusConstCheck).Show(flag != 0);
}

void useruf::ShowSettings() {
    platform::Control list = Control(kCoefficientList);
    list.ResetContent();
    for (const std::string& name : names) list.AddString(name);
    listCount = static_cast<int>(names.size());
    list.SetCurSel(selectedRow);
    if (HasWindow()) Control(kFormulaEdit).SetText(formula);
    Control(kPlusConstCheck).SetCheck(plusConst);
    ShowSelectedCoefficient();
    OnOk();
}

bool useruf::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kAddButton:
        case kEditButton:
        case kDeleteButton:
            DrawPageButton(item, Rgb(255, 230, 210), Rgb(10, 110, 10));
            return true;
        case kMoreButton:
            DrawPageButton(item, kLightText, kPageBrush);
            return true;
        case kRunFittingButton:
        case kStopButton:
        case kDefaultStepsButton:
            DrawPageButton(item, Rgb(255, 200, 210), Rgb(10, 110, 10));
            return true;
        default:
            return false;
    }
}

void useruf::OnPaint() { FillPageBackground(*this, kPageBrush); }

bool useruf::OnCtlColor(int controlId, platform::CtlColor& out) {
    switch (controlId) {
        case kCoefficientList:
        case kFormulaEdit:
        case kNameEdit:
        case kValueEdit:
        case kStepEdit:
        case kMinEdit:
        case kMaxEdit:
        case kStopConditionEdit:
            out = TextOn(kPageBrush, kEditBack, kEditBack);
            return true;
        case 0:
        case kSchemeCombo:
        case kFetchCombo:
            out = PageBrushOnly(kPageBrush);
            return true;
        default:
            out = TextOn(kLightText, kPageBrush, kPageBrush);
            return true;
    }
}
