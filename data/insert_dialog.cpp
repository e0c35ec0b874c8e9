#include "data/insert_dialog.h"

#include <algorithm>
#include <cctype>

#include "data/data_page.h"
#include "data/data_page_widgets.h"
#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/page_look.h"

insert theInsert;

namespace {

using platform::ControlKind;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr unsigned kGroup = platform::kStyleGroup;

platform::DialogTemplate InsertTemplate() {
    platform::DialogTemplate t;
    t.id = insert::kTemplateId;
    t.caption = "Insert";
    t.cx = 262;
    t.cy = 188;
    auto& c = t.controls;
    c.push_back({insert::kNameLabel, ControlKind::Static, "Name:", 8, 9, 26, 10});
    c.push_back({insert::kNameEdit, ControlKind::Edit, "", 36, 7, 92, 13});
    c.push_back({insert::kInsertAsGroup, ControlKind::GroupBox, "Insert as:", 8, 26, 120, 50});
    c.push_back({insert::kArgumentRadio, ControlKind::RadioButton, "Argument", 16, 38, 100, 10, kGroup});
    c.push_back({insert::kInactiveRadio, ControlKind::RadioButton, "Inactive", 16, 50, 100, 10});
    c.push_back({insert::kValueRadio, ControlKind::RadioButton, "Value", 16, 62, 100, 10});
    c.push_back({insert::kRecordsEdit, ControlKind::Edit, "", 140, 7, 60, 13, kGroup});
    c.push_back({insert::kRecordsLabel, ControlKind::Static, "records", 204, 9, 50, 10});
    c.push_back({insert::kInsertButton, ControlKind::Button, "Insert -->", 140, 30, 64, 16,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({insert::kCancelButton, ControlKind::Button, "Cancel", 140, 52, 64, 16, kOwnerDraw});
    c.push_back({insert::kCreateGroup, ControlKind::GroupBox, "Create:", 8, 80, 246, 102});
    c.push_back({insert::kProgressionRadio, ControlKind::RadioButton, "Arithmetic progression:", 16, 92, 98, 10, kGroup});
    c.push_back({insert::kFromLabel, ControlKind::Static, "From:", 116, 92, 22, 10});
    c.push_back({insert::kFromEdit, ControlKind::Edit, "", 140, 90, 42, 13});
    c.push_back({insert::kStepLabel, ControlKind::Static, "Step:", 186, 92, 20, 10});
    c.push_back({insert::kStepEdit, ControlKind::Edit, "", 208, 90, 40, 13});
    c.push_back({insert::kFormulaRadio, ControlKind::RadioButton, "From formula:", 16, 108, 62, 10});
    c.push_back({insert::kFormulaEdit, ControlKind::Edit, "", 80, 106, 168, 13});
    c.push_back({insert::kHintText, ControlKind::Static,
                 "Use names of existing parameters and N as substitute of counter (1,2,...)", 16, 122, 232, 10});
    c.push_back({insert::kSchemeRadio, ControlKind::RadioButton, "Current theoretical scheme", 16, 136, 120, 10});
    c.push_back({insert::kScoresRadio, ControlKind::RadioButton, "Scores", 16, 152, 40, 10});
    c.push_back({insert::kScoreCombo, ControlKind::ComboBox, "", 58, 150, 84, 80});
    c.push_back({insert::kThresholdLabel, ControlKind::Static, "be larger:", 146, 152, 40, 10});
    c.push_back({insert::kThresholdEdit, ControlKind::Edit, "", 188, 150, 60, 13});
    c.push_back({insert::kSimpleCheck, ControlKind::CheckBox, "simple algorithm", 58, 166, 90, 10});
    return t;
}

const platform::DialogTemplateRegistration registration(InsertTemplate());

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// First palette colour that no value parameter uses; palette colour 0 when all are used.
std::int32_t FreeValueColor(const data& page) {
    for (long long c = 0; c < page.markColorCount; ++c) {
        const auto color = static_cast<std::int32_t>(page.PaletteColor(c));
        const bool used = std::any_of(page.parameters.begin(), page.parameters.end(), [&](const Initial& p) {
            return p.role == kRoleValue && p.color == color;
        });
        if (!used) return color;
    }
    return static_cast<std::int32_t>(page.PaletteColor(0));
}

// Lowest mark shape that no parameter uses; 0 when all are used.
std::int32_t FreeMarkShape(const data& page) {
    for (std::int32_t shape = 0; shape < kMarkShapeCount; ++shape) {
        const bool used = std::any_of(page.parameters.begin(), page.parameters.end(),
                                      [&](const Initial& p) { return p.markShape == shape; });
        if (!used) return shape;
    }
    return 0;
}

double NewValue(const insert& d, int record) {
    return d.progressionChoice ? record * d.progressionStep + d.progressionFrom : 0.0;
}

// A first series of one parameter, recordCount records.
void CreateFirstSeries(data& page, const insert& d, std::int32_t role) {
    page.parameters.assign(1, Initial{0, 4, 0, role, 0});
    page.parameterNames.assign(1, d.name);
    page.parameterTexts.assign(1, "0");
    page.parametersPerSeries = 1;
    page.argumentCount = role == kRoleArgument ? 1 : 0;
    page.allValues.resize(static_cast<std::size_t>(d.recordCount));
    for (int i = 0; i < d.recordCount; ++i) page.allValues[static_cast<std::size_t>(i)] = NewValue(d, i);
    page.series.assign(1, Series{1, role == kRoleArgument ? 1 : 0, role == kRoleValue ? 1 : 0, 0, 0, d.recordCount});
    page.seriesNames.assign(1, "Series #1");
}

// A new last column in every record of the only series.
void AppendColumn(data& page, const insert& d, std::int32_t role) {
    Series& s = page.series[0];
    const int n = s.nParameters;
    const int records = s.nRecords;
    if (role == kRoleArgument) ++s.nArguments;
    if (role == kRoleValue) ++s.nValues;

    Initial added = page.parameters.empty() ? Initial{} : page.parameters[static_cast<std::size_t>(s.firstParameter)];
    added.color = FreeValueColor(page);
    added.markSize = 4;
    added.markShape = FreeMarkShape(page);
    added.role = role;
    page.parameters.push_back(added);
    page.parameterNames.push_back(d.name);
    page.parameterTexts.push_back("0");

    std::vector<double> spread(static_cast<std::size_t>(records) * static_cast<std::size_t>(n + 1));
    const double* from = page.allValues.data() + s.firstValue;
    double* to = spread.data();
    for (int i = 0; i < records; ++i) {
        to = std::copy(from, from + n, to);
        from += n;
        *to++ = NewValue(d, i);
    }
    page.allValues.swap(spread);
    s.nParameters = n + 1;
    page.parametersPerSeries = n + 1;
}

}  // namespace

insert::insert() : Dialog(kTemplateId) {
    RouteCommand(kArgumentRadio, &insert::OnArgument);
    RouteCommand(kInactiveRadio, &insert::OnInactive);
    RouteCommand(kValueRadio, &insert::OnValue);
    RouteCommand(kProgressionRadio, &insert::OnProgression);
    RouteCommand(kFormulaRadio, &insert::OnFormula);
    RouteCommand(kSchemeRadio, &insert::OnScheme);
    RouteCommand(kScoresRadio, &insert::OnScores);
    RouteCommand(kSimpleCheck, &insert::OnSimpleAlgorithm);
    RouteCommand(kInsertButton, &insert::OnInsert);
    RouteCommand(kCancelButton, &insert::OnCancel);
    Route(kScoreCombo, platform::Notification::SelChange, &insert::OnCloseUpScoreParameter);
}

void insert::EnableControl(int id, bool enable) { Control(id).Enable(enable); }

void insert::EnableScoreFields(bool enable) {
    const bool on = enable && ScoringAvailable();
    EnableControl(kScoreCombo, on);
    EnableControl(kThresholdLabel, on);
    EnableControl(kThresholdEdit, on);
}

bool insert::OnInitDialog() {
    SetDefaultButton(kInsertButton);
    ApplyColors();
    EnableControl(kRecordsEdit, noSeries != 0);
    EnableControl(kScoresRadio, !noSeries && ScoringAvailable());
    EnableControl(kSchemeRadio, SchemeSelectable());
    EnableControl(kSimpleCheck, !noSeries && ScoringAvailable());
    EnableScoreFields(!noSeries);
    if (!noSeries) {
        platform::Control combo = Control(kScoreCombo);
        combo.ResetContent();
        for (const std::string& item : scoreParameterNames) combo.AddString(item);
        combo.SetCurSel(0);
        // The shown item is the one a run without touching the list takes.
        scoreParameterIndex = 0;
    }
    EnableControl(kFormulaEdit, formulaChoice != 0);
    EnableControl(kFromEdit, formulaChoice == 0);
    EnableControl(kStepEdit, formulaChoice == 0);
    UpdateData(false);
    Invalidate();
    return true;
}

void insert::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kNameEdit, name);
    dx.Check(kArgumentRadio, argumentChoice);
    dx.Check(kInactiveRadio, inactiveChoice);
    dx.Check(kValueRadio, valueChoice);
    dx.Int(kRecordsEdit, recordCount);
    // The count is the user's only while there is no series; otherwise it is the series' own.
    if (noSeries) dx.Range(recordCount, 1, kMaxRecords);
    dx.Check(kProgressionRadio, progressionChoice);
    dx.Double(kFromEdit, progressionFrom);
    dx.Double(kStepEdit, progressionStep);
    dx.Check(kFormulaRadio, formulaChoice);
    dx.Text(kFormulaEdit, formulaText);
    dx.Check(kSchemeRadio, schemeChoice);
    dx.Check(kScoresRadio, scoresChoice);
    dx.Double(kThresholdEdit, scoreThreshold);
    dx.Check(kSimpleCheck, simpleAlgorithm);
}

void insert::OnArgument() {
    UpdateData(true);
    argumentChoice = 1;
    inactiveChoice = valueChoice = 0;
    scoresChoice = schemeChoice = 0;
    EnableControl(kSchemeRadio, false);
    UpdateData(false);
}

void insert::OnInactive() {
    UpdateData(true);
    inactiveChoice = 1;
    argumentChoice = valueChoice = 0;
    scoresChoice = schemeChoice = 0;
    EnableControl(kSchemeRadio, SchemeSelectable());
    UpdateData(false);
}

void insert::OnValue() {
    UpdateData(true);
    valueChoice = 1;
    argumentChoice = inactiveChoice = 0;
    scoresChoice = schemeChoice = 0;
    EnableControl(kSchemeRadio, SchemeSelectable());
    UpdateData(false);
}

void insert::OnProgression() {
    UpdateData(true);
    progressionChoice = 1;
    formulaChoice = scoresChoice = schemeChoice = 0;
    EnableControl(kFromEdit, true);
    EnableControl(kStepEdit, true);
    EnableControl(kFormulaEdit, false);
    EnableScoreFields(false);
    UpdateData(false);
}

void insert::OnFormula() {
    UpdateData(true);
    formulaChoice = 1;
    progressionChoice = scoresChoice = schemeChoice = 0;
    EnableControl(kFormulaEdit, true);
    EnableControl(kFromEdit, false);
    EnableControl(kStepEdit, false);
    EnableScoreFields(false);
    UpdateData(false);
}

void insert::OnScheme() {
    UpdateData(true);
    schemeChoice = 1;
    progressionChoice = formulaChoice = scoresChoice = 0;
    EnableControl(kFormulaEdit, true);
    EnableControl(kFromEdit, false);
    EnableControl(kStepEdit, false);
    EnableScoreFields(false);
    if (argumentChoice) {
        argumentChoice = 0;
        valueChoice = 1;
    }
    UpdateData(false);
}

void insert::OnScores() {
    UpdateData(true);
    scoresChoice = 1;
    progressionChoice = formulaChoice = schemeChoice = 0;
    name = "score";
    EnableControl(kFormulaEdit, false);
    EnableControl(kFromEdit, false);
    EnableControl(kStepEdit, false);
    EnableScoreFields(true);
    UpdateData(false);
}

void insert::OnSimpleAlgorithm() {
    UpdateData(true);
    // The box has just toggled itself; the member follows the box.
    UpdateData(false);
}

void insert::OnCloseUpScoreParameter() { scoreParameterIndex = Control(kScoreCombo).CurSel(); }

void insert::OnInsert() {
    if (!UpdateData(true)) return;
    EndDialog(platform::kOk);
}

bool insert::OnDrawItem(platform::DrawItem& item) {
    return DrawActionAndCancelButtons(item, kInsertButton, kInsertFace, kTextColor, kCancelButton);
}

void insert::OnPaint() { FillPageBackground(*this, kDialogBrush); }

void insert::ApplyColors() {
    for (int id : {kNameLabel, kInsertAsGroup, kArgumentRadio, kInactiveRadio, kValueRadio, kRecordsLabel, kCreateGroup,
                   kProgressionRadio, kFromLabel, kStepLabel, kFormulaRadio, kHintText, kSchemeRadio, kScoresRadio,
                   kThresholdLabel, kSimpleCheck})
        SetControlColors(Control(id), kTextColor, kDialogBrush);
    for (int id : {kNameEdit, kRecordsEdit, kFromEdit, kStepEdit, kFormulaEdit, kThresholdEdit, kScoreCombo})
        SetControlColors(Control(id), kTextColor, kFieldBack);
}

void InsertParameterCommand(data& page) {
    if (page.series.size() > 1) return;
    insert& d = theInsert;

    page.schemeFillRequest = 0;
    d.schemeAvailable = page.schemeReady;
    if (!EqualsNoCase(d.name, "score")) d.name = "x" + std::to_string(page.parameters.size());
    const bool oneSeries = page.series.size() == 1;
    bool valueRole = true;
    if (oneSeries) {
        d.recordCount = page.series[0].nRecords;
        d.noSeries = 0;
        valueRole = page.series[0].nArguments > 0;
    } else {
        d.recordCount = 1000;
        d.noSeries = 1;
    }
    d.argumentChoice = valueRole ? 0 : 1;
    d.valueChoice = valueRole ? 1 : 0;
    d.inactiveChoice = 0;
    d.progressionFrom = 0.0;
    d.progressionStep = 0.01;
    d.progressionChoice = 1;
    d.formulaChoice = 0;
    d.formulaText.clear();
    d.schemeChoice = 0;
    d.scoresChoice = 0;  // one way of creating at a time
    if (page.parameters.size() > 1 && oneSeries) d.scoreParameterNames = page.parameterNames;

    if (d.RunModal() != platform::kOk) return;

    std::int32_t role = kRoleInactive;
    if (d.argumentChoice) role = kRoleArgument;
    if (d.valueChoice) role = kRoleValue;
    if (d.inactiveChoice) role = kRoleInactive;

    if (oneSeries)
        AppendColumn(page, d, role);
    else
        CreateFirstSeries(page, d, role);
    page.NoteStoreChanged();

    const int added = static_cast<int>(page.parameters.size()) - 1;
    if (d.formulaChoice) {
        // Every record of the data gets the formula, whatever series the modify dialog chose.
        const std::int32_t onlyOne = page.modifyCurrentSeriesOnly;
        page.modifyCurrentSeriesOnly = 0;
        page.ModifyParameterByFormula(d.formulaText, added);
        page.modifyCurrentSeriesOnly = onlyOne;
    }
    if (d.schemeChoice) page.schemeFillRequest = 1;
    if (d.scoresChoice && d.runScoring) {
        page.scoringSimple = d.simpleAlgorithm;
        d.runScoring(d.scoreParameterIndex, d.scoreThreshold);
        page.scoringRequest = 1;
    }

    page.dataModified = 1;
    page.RefreshSeriesList(1);
    page.UpdateButtonStates();
    page.RedrawDataPage();
    page.StopSyncTimer();
    page.syncTimerOn = 0;
    platform::PostRepaintRequest();
}
