#include "formula/collection.h"

#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

collection theCollection;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kListBack = Rgb(255, 250, 240);

// Left sides and right-side terms of the presets.
enum Transform { kY, kLnY, kInvY };
enum Term { kConst, kX, kX2, kX3, kX4, kX5, kX6, kX7, kX8, kLnX, kInvX, kInvX2 };

struct Preset {
    const char* display;
    Transform transform;
    std::vector<Term> terms;
};

const std::vector<Preset>& Presets() {
    static const std::vector<Preset> presets = {
        {"y=a0+a1*x", kY, {kConst, kX}},
        {"y=a0+a1*x+a2*x^2", kY, {kConst, kX, kX2}},
        {"y=a0+a1*x+a2*x^2+a3*x^3", kY, {kConst, kX, kX2, kX3}},
        {"y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4", kY, {kConst, kX, kX2, kX3, kX4}},
        {"y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5", kY, {kConst, kX, kX2, kX3, kX4, kX5}},
        {"y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5+a6*x^6", kY, {kConst, kX, kX2, kX3, kX4, kX5, kX6}},
        {"y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5+a6*x^6+a7*x^7", kY, {kConst, kX, kX2, kX3, kX4, kX5, kX6, kX7}},
        {"y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5+a6*x^6+a7*x^7+a8*x^8", kY,
         {kConst, kX, kX2, kX3, kX4, kX5, kX6, kX7, kX8}},
        {"ln(y)=a0+a1*x", kLnY, {kConst, kX}},
        {"ln(y)=a0+a1*x+a2*x^2", kLnY, {kConst, kX, kX2}},
        {"ln(y)=a0+a1*x+a2*x^2+a3*x^3", kLnY, {kConst, kX, kX2, kX3}},
        {"ln(y)=a0+a1*x+a2*x^2+a3*x^3+a4*x^4", kLnY, {kConst, kX, kX2, kX3, kX4}},
        {"ln(y)=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5", kLnY, {kConst, kX, kX2, kX3, kX4, kX5}},
        {"1/y=a0+a1*x", kInvY, {kConst, kX}},
        {"1/y=a0+a1*x+a2*x^2", kInvY, {kConst, kX, kX2}},
        {"1/y=a0+a1*x+a2*x^2+a3*x^3", kInvY, {kConst, kX, kX2, kX3}},
        {"1/y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4", kInvY, {kConst, kX, kX2, kX3, kX4}},
        {"1/y=a0+a1*x+a2*x^2+a3*x^3+a4*x^4+a5*x^5", kInvY, {kConst, kX, kX2, kX3, kX4, kX5}},
        {"ln(y)=a0*ln(x)", kLnY, {kLnX}},
        {"ln(y)=a0+a1*ln(x)", kLnY, {kConst, kLnX}},
        {"y=a0+a1*x+a2/x", kY, {kConst, kX, kInvX}},
        {"y=a0+a1*x+a2/x+a3/x^2", kY, {kConst, kX, kInvX, kInvX2}},
        {"y=a0+a1*x+a2*ln(x)", kY, {kConst, kX, kLnX}},
        {"y=a0+a1/x+a2*ln(x)", kY, {kConst, kInvX, kLnX}},
        {"y=a0+a1*x+a2/x+a3*ln(x)", kY, {kConst, kX, kInvX, kLnX}},
    };
    return presets;
}

std::string TermText(Term term, const std::string& x) {
    switch (term) {
        case kConst: return "1.0";
        case kX: return x;
        case kLnX: return "ln(" + x + ")";
        case kInvX: return "1/" + x;
        case kInvX2: return "1/" + x + "^2";
        default: return x + "^" + std::to_string(static_cast<int>(term) - static_cast<int>(kX) + 1);
    }
}

std::string TransformText(Transform transform, const std::string& y) {
    switch (transform) {
        case kLnY: return "ln(" + y + ")";
        case kInvY: return "1/" + y;
        default: return y;
    }
}

platform::DialogTemplate CollectionTemplate() {
    platform::DialogTemplate t;
    t.id = collection::kTemplateId;
    t.caption = "From list of formulas";
    t.cx = 240;
    t.cy = 150;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({collection::kHintStatic, ControlKind::Static,
                 "Select one formula in control or find best fit automatically.", 6, 4, 228, 10});
    c.push_back({collection::kModelList, ControlKind::ListBox, "", 6, 16, 170, 110});
    c.push_back({collection::kAutoSearchStatic, ControlKind::Static, "Auto search:", 182, 16, 52, 10});
    c.push_back({collection::kOverallFitButton, ControlKind::Button, "overall fit", 182, 28, 52, 14, kOwnerDraw});
    c.push_back({collection::kStabilityButton, ControlKind::Button, "stability", 182, 45, 52, 14, kOwnerDraw});
    c.push_back({collection::kMinOfMaxOutButton, ControlKind::Button, "min of max out", 182, 62, 52, 14, kOwnerDraw});
    c.push_back({collection::kApplyButton, ControlKind::Button, ">>", 182, 90, 52, 14, kOwnerDraw});
    c.push_back({collection::kDeviationLinesCheck, ControlKind::CheckBox, "Deviation lines", 6, 131, 90, 12});
    c.push_back({collection::kOkButton, ControlKind::Button, "Ok", 182, 129, 52, 15,
                 kOwnerDraw | platform::kStyleDefault});
    return t;
}

const platform::DialogTemplateRegistration registration(CollectionTemplate());

}  // namespace

collection::collection() : Dialog(kTemplateId) {
    Route(kModelList, platform::Notification::SelChange, &collection::OnSelChangeModelList);
    RouteCommand(kOverallFitButton, &collection::OnOverallFit);
    RouteCommand(kStabilityButton, &collection::OnStability);
    RouteCommand(kMinOfMaxOutButton, &collection::OnMinOfMaxOut);
    RouteCommand(kDeviationLinesCheck, &collection::OnDeviationLines);
    RouteCommand(kApplyButton, &collection::OnApply);
    RouteCommand(kOkButton, &collection::ApplyStep);
}

std::string collection::DisplayText(int index) {
    if (index < 0 || index >= kModelCount) return std::string();
    return Presets()[static_cast<size_t>(index)].display;
}

void collection::GetPresetModelFormulas(std::string& transform, std::vector<std::string>& basis,
                                        const std::string& x, const std::string& y) const {
    transform.clear();
    basis.clear();
    if (selectedModel < 0 || selectedModel >= kModelCount) return;
    const Preset& p = Presets()[static_cast<size_t>(selectedModel)];
    transform = TransformText(p.transform, y);
    for (Term term : p.terms) basis.push_back(TermText(term, x));
}

void collection::DoDataExchange(platform::Exchange& dx) { dx.Check(kDeviationLinesCheck, showDeviationLines); }

bool collection::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    changed = 1;
    searchRequested = 0;
    platform::Control list = Control(kModelList);
    list.ResetContent();
    for (int i = 0; i < kModelCount; ++i) list.AddString(DisplayText(i));
    SelectModelInList();
    UpdateData(false);
    Invalidate();
    return true;
}

void collection::SelectModelInList() {
    platform::Control list = Control(kModelList);
    list.SetCurSel(selectedModel >= 0 && selectedModel < list.Count() ? selectedModel : -1);
}

void collection::ApplyStep() {
    changed = 1;
    UpdateData(true);
    platform::PostRepaintRequest();
}

void collection::OnSelChangeModelList() {
    selectedModel = Control(kModelList).CurSel();
    ApplyStep();
}

void collection::StartSearch(int& criterion) {
    searchRequested = 1;
    overallFit = 0;
    stabilitySearch = 0;
    minOfMaxOutSearch = 0;
    criterion = 1;
    ApplyStep();
}

void collection::OnOverallFit() { StartSearch(overallFit); }
void collection::OnStability() { StartSearch(stabilitySearch); }
void collection::OnMinOfMaxOut() { StartSearch(minOfMaxOutSearch); }
void collection::OnDeviationLines() { ApplyStep(); }

void collection::OnApply() {
    applyRequested = 1;
    ApplyStep();
}

bool collection::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOverallFitButton:
        case kStabilityButton:
        case kMinOfMaxOutButton:
            DrawPageButton(item, Rgb(255, 255, 255), Rgb(30, 30, 255));
            return true;
        case kApplyButton:
            DrawPageButton(item, Rgb(100, 255, 255), Rgb(30, 30, 205));
            return true;
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        default:
            return false;
    }
}

void collection::OnPaint() { FillPageBackground(*this, kPageBrush); }

ControlColors collection::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kModelList:
            return TextOn(Rgb(30, 30, 205), kListBack, kListBack);
        case kHintStatic:
        case kAutoSearchStatic:
        case kDeviationLinesCheck:
            return TextOn(Rgb(100, 255, 255), kPageBrush, kPageBrush);
        default:
            return PageBrushOnly(kPageBrush);
    }
}
