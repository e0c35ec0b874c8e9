#include "statistics/distrimution_page.h"

#include <algorithm>

#include "widgets/owner_button.h"
#include "data/data_page.h"
#include "documents/result_page.h"
#include "platform/dialogs.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/page_look.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
distrimution theDistrimution;

namespace {

using platform::ControlKind;
using D = distrimution;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr unsigned kSpin = platform::kStyleAutoBuddy | platform::kStyleAlignRight;

platform::DialogTemplate DistributionTemplate() {
    platform::DialogTemplate t;
    t.id = D::kTemplateId;
    t.caption = "Distribution";
    t.cx = 200;
    t.cy = 150;
    t.style = platform::kDialogChild;
    t.controls = {
        {D::kBinGroup, ControlKind::GroupBox, "Bin intervals:", 4, 2, 92, 40},
        {D::kAutoIntervalsCheck, ControlKind::CheckBox, "auto intervals", 8, 12, 84, 12},
        {D::kBinCountEdit, ControlKind::Edit, "", 8, 26, 30, 12, platform::kStyleDisabled},
        {D::kBinCountSpin, ControlKind::Spin, "", 38, 26, 10, 12, kSpin | platform::kStyleDisabled},
        {D::kShapeGroup, ControlKind::GroupBox, "Probability function:", 100, 2, 96, 40},
        {D::kStudentCheck, ControlKind::CheckBox, "Student", 104, 12, 44, 12},
        {D::kPoissonCheck, ControlKind::CheckBox, "Poisson", 150, 12, 44, 12},
        {D::kErlangCheck, ControlKind::CheckBox, "Erlang", 104, 26, 44, 12},
        {D::kShowAsGroup, ControlKind::GroupBox, "Show distribution as:", 4, 44, 92, 52},
        {D::kPercentageCheck, ControlKind::CheckBox, "percentage", 8, 54, 84, 12},
        {D::kPartOfWholeCheck, ControlKind::CheckBox, "part of whole", 8, 67, 84, 12, platform::kStyleDisabled},
        {D::kCumulativeCheck, ControlKind::CheckBox, "cummulative", 8, 80, 84, 12},
        {D::kMarksGroup, ControlKind::GroupBox, "", 100, 44, 96, 52},
        {D::kMaxConcentrationCheck, ControlKind::CheckBox, "max concentration", 104, 52, 88, 11},
        {D::kPercentOfDataEdit, ControlKind::Edit, "", 104, 63, 28, 11},
        {D::kPercentOfDataLabel, ControlKind::Static, "% of data", 134, 64, 50, 10},
        {D::kMedianCheck, ControlKind::CheckBox, "median", 104, 74, 88, 10},
        {D::kMinAbsDeviationCheck, ControlKind::CheckBox, "Min Abs Deviation", 104, 84, 88, 10},
        {D::kConditionsGroup, ControlKind::GroupBox, "Conditions of parameters:", 4, 98, 192, 48},
        {D::kParameterCombo, ControlKind::ComboBox, "", 8, 108, 58, 80},
        {D::kOperationCombo, ControlKind::ComboBox, "", 68, 108, 40, 60},
        {D::kMinLabel, ControlKind::Static, "Min:", 111, 110, 15, 10},
        {D::kConditionMinEdit, ControlKind::Edit, "", 126, 108, 28, 12},
        {D::kMaxLabel, ControlKind::Static, "Max:", 156, 110, 15, 10},
        {D::kConditionMaxEdit, ControlKind::Edit, "", 170, 108, 24, 12},
        {D::kAddButton, ControlKind::Button, "Add", 8, 126, 30, 14, kOwnerDraw},
        {D::kUndoButton, ControlKind::Button, "Undo", 40, 126, 30, 14, kOwnerDraw},
        {D::kClearButton, ControlKind::Button, "Clear", 72, 126, 30, 14, kOwnerDraw},
        {D::kMaxButton, ControlKind::Button, "Max", 104, 126, 30, 14, kOwnerDraw},
        {D::kOkButton, ControlKind::Button, "Ok", 160, 126, 34, 14, kOwnerDraw | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(DistributionTemplate());

// The operation words as the combo lists them, padded as the page always showed them.
constexpr const char* kOperationItems[] = {"and        ", "or         ", "not and    ", "not or     "};

}  // namespace

distrimution::distrimution() : Dialog(kTemplateId) {
    RouteCommand(kOkButton, &distrimution::OnOk);
    for (int id : {kStudentCheck, kPoissonCheck, kErlangCheck, kCumulativeCheck, kMaxConcentrationCheck, kMedianCheck,
                   kMinAbsDeviationCheck})
        RouteCommand(id, &distrimution::OnOption);
    RouteCommand(kAutoIntervalsCheck, &distrimution::OnAutoIntervals);
    RouteCommand(kPercentageCheck, &distrimution::OnAutoIntervals);
    RouteCommand(kPartOfWholeCheck, &distrimution::OnPartOfWhole);
    Route(kBinCountSpin, platform::Notification::SpinDelta, &distrimution::OnSpinBins);
    RouteCommand(kAddButton, &distrimution::OnAddCondition);
    RouteCommand(kClearButton, &distrimution::OnClearConditions);
    RouteCommand(kUndoButton, &distrimution::OnUndoCondition);
    RouteCommand(kMaxButton, &distrimution::OnMax);
}

void distrimution::DoDataExchange(platform::Exchange& dx) {
    dx.Int(kBinCountEdit, binCount);
    dx.Check(kPoissonCheck, showPoisson);
    dx.Check(kStudentCheck, showStudent);
    dx.Check(kErlangCheck, showErlang);
    dx.Check(kAutoIntervalsCheck, autoIntervals);
    dx.Check(kPartOfWholeCheck, partOfWhole);
    dx.Check(kPercentageCheck, percentage);
    dx.Double(kConditionMinEdit, conditionMin);
    dx.Double(kConditionMaxEdit, conditionMax);
    dx.Check(kCumulativeCheck, cumulative);
    dx.Check(kMaxConcentrationCheck, maxConcentration);
    dx.Double(kPercentOfDataEdit, percentOfData);
    dx.Check(kMedianCheck, showMedian);
    dx.Check(kMinAbsDeviationCheck, minAbsDeviation);
}

bool distrimution::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    platform::Control operation = Control(kOperationCombo);
    operation.ResetContent();
    for (const char* item : kOperationItems) operation.AddString(item);
    operation.SetCurSel(0);
    Control(kBinCountEdit).Enable(false);
    Control(kBinCountSpin).Enable(false);
    partOfWhole = 0;
    UpdateData(false);
    Control(kPartOfWholeCheck).Enable(!appliedConditions.empty());
    Invalidate();
    return true;
}

void distrimution::EnablePartOfWhole() {
    if (appliedConditions.empty()) {
        Control(kPartOfWholeCheck).Enable(false);
        partOfWhole = 0;
        UpdateData(false);
    } else {
        Control(kPartOfWholeCheck).Enable(true);
    }
}

void distrimution::OnOk() {
    if (HasWindow() && !UpdateData(true)) return;
    // Bins are drawn and tabled one by one: a count beyond the clamp is a typing slip.
    const int held = std::clamp(binCount, 1, kMaxBins);
    if (held != binCount) {
        binCount = held;
        if (HasWindow()) UpdateData(false);
    }
    changed = 1;
    if (HasWindow()) EnablePartOfWhole();
    else if (appliedConditions.empty()) partOfWhole = 0;
    platform::PostRepaintRequest();
}

void distrimution::OnOption() {
    if (!UpdateData(true)) return;
    changed = 1;
    platform::PostRepaintRequest();
}

void distrimution::OnAutoIntervals() {
    if (!UpdateData(true)) return;
    OnOk();
    EnableBinControls();
}

void distrimution::OnPartOfWhole() {
    OnOk();
    EnableBinControls();
}

void distrimution::OnSpinBins(platform::Notify& n) {
    if (n.delta < 0) binCount = std::min(binCount + 1, kMaxBins);
    else binCount = std::max(binCount - 1, kMinSpinBins);
    UpdateData(false);
    OnOk();
}

void distrimution::OnAddCondition() {
    if (!UpdateData(true)) return;
    struct conditions c;
    c.parameterIndex = Control(kParameterCombo).CurSel();
    c.operation = Control(kOperationCombo).CurSel();
    c.from = conditionMin;
    c.till = conditionMax;
    conditions.push_back(c);
    appliedConditions = conditions;
    OnOk();
    EnableBinControls();
}

void distrimution::OnClearConditions() {
    conditions.clear();
    appliedConditions = conditions;
    partOfWhole = 0;
    UpdateData(false);
    OnOk();
    EnableBinControls();
}

void distrimution::OnUndoCondition() {
    if (conditions.empty()) return;
    conditions.pop_back();
    if (conditions.empty()) partOfWhole = 0;
    appliedConditions = conditions;
    UpdateData(false);
    OnOk();
    EnableBinControls();
}

void distrimution::OnMax() {
    if (theData.series.size() != 1) {
        platform::MessageBox("The feature is only for one series of data");
        return;
    }
    const Series& se = theData.series[0];
    if (se.nValues != 1) {
        platform::MessageBox("The feature is only for one value relative all others");
        return;
    }
    if (HasWindow()) UpdateData(false);
    int valueParameter = -1;
    for (int p = 0; p < se.nParameters && valueParameter < 0; ++p)
        if (theData.parameters[static_cast<size_t>(se.firstParameter + p)].role == kRoleValue) valueParameter = p;
    const long long first = se.firstValue, count = static_cast<long long>(se.nRecords) * se.nParameters;
    if (valueParameter < 0 || first < 0 || first + count > static_cast<long long>(theData.allValues.size())) return;
    const double* values = theData.allValues.data() + first;
    std::vector<double> column;
    ConditionalValues(values, se.nRecords, se.nParameters, valueParameter, {}, column);
    SplitDistributions(searchTables, column);
    ConditionSearch search(values, se.nRecords, se.nParameters, valueParameter, conditions, searchTables);
    search.Run();

    appliedConditions = conditions;
    theResult.visibleDataOnly = 0;
    if (theResult.HasWindow()) theResult.UpdateData(false);
    autoIntervals = 1;
    partOfWhole = 1;
    if (HasWindow()) UpdateData(false);
    OnOk();
    EnableBinControls();
    changed = 1;
    platform::PostRepaintRequest();
}

void distrimution::EnableBinControls() {
    if (!HasWindow()) return;
    Control(kBinCountEdit).Enable(autoIntervals == 0);
    Control(kBinCountSpin).Enable(autoIntervals == 0);
}

bool distrimution::OnCtlColor(int controlId, platform::CtlColor& out) {
    out.brush = kDarkColor;
    switch (controlId) {
        case kStudentCheck: case kPoissonCheck: case kAutoIntervalsCheck: case kErlangCheck:
        case kPercentageCheck: case kPartOfWholeCheck: case kCumulativeCheck: case kMaxConcentrationCheck:
        case kMedianCheck: case kMinAbsDeviationCheck:
        case kBinGroup: case kShapeGroup: case kShowAsGroup: case kConditionsGroup:
        case kMinLabel: case kMaxLabel: case kPercentOfDataLabel:
            out.hasText = true;
            out.text = kLightColor;
            out.back = kDarkColor;
            break;
        case kBinCountEdit: case kPercentOfDataEdit:
        case kParameterCombo: case kOperationCombo: case kConditionMinEdit: case kConditionMaxEdit:
            out.hasText = true;
            out.text = kDarkColor;
            out.back = kEditColor;
            out.brush = kEditColor;
            break;
        default:
            break;
    }
    return true;
}

bool distrimution::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas || item.item >= 0) return false;
    const bool ok = item.controlId == kOkButton;
    const platform::ColorRef face = ok ? platform::Rgb(20, 255, 20) : platform::Rgb(255, 230, 255);
    DrawPageButton(item, face, ok ? platform::Rgb(10, 110, 10) : kDarkColor);
    return true;
}

void RemoveConditionsOfParameter(int globalIndex) {
    DropConditionsOfParameter(theDistrimution.conditions, globalIndex);
}
