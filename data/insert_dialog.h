#pragma once
// "Insert": adds one parameter to the data. With no series it creates a one-parameter
// series; with exactly one series it appends a last column to every record. The values
// come from an arithmetic progression or a formula over the other parameters, are left
// at 0 for the current theoretical scheme to fill, or are scores of the scoring run.
// One instance, theInsert; its members outlive each use.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/dialog.h"

class data;

class insert : public platform::Dialog {
public:
    static constexpr int kTemplateId = 185;

    enum : int {
        kNameEdit = 1278,
        kInsertAsGroup = 1386,
        kArgumentRadio = 1407,
        kInactiveRadio = 1408,
        kValueRadio = 1406,
        kRecordsEdit = 1395,
        kRecordsLabel = 1396,
        kCreateGroup = 1393,
        kProgressionRadio = 1398,
        kFromLabel = 1399,
        kFromEdit = 1400,
        kStepLabel = 1401,
        kStepEdit = 1402,
        kFormulaRadio = 1403,
        kFormulaEdit = 1404,
        kHintText = 1405,
        kSchemeRadio = 1434,
        kScoresRadio = 1409,
        kScoreCombo = 1412,
        kThresholdLabel = 1415,
        kThresholdEdit = 1416,
        kSimpleCheck = 1433,
        kNameLabel = 1277,
        kInsertButton = 1391,
        kCancelButton = 1392,
    };

    static constexpr platform::ColorRef kDialogBrush = 0x87FF00;
    static constexpr platform::ColorRef kTextColor = 0xC80000;
    static constexpr platform::ColorRef kFieldBack = 0x73FF46;
    static constexpr platform::ColorRef kInsertFace = 0x14FF14;
    static constexpr int kMaxRecords = 100000000;

    insert();

    std::string name;
    std::int32_t argumentChoice = 0;
    std::int32_t inactiveChoice = 0;
    std::int32_t valueChoice = 0;
    std::int32_t recordCount = 0;
    std::int32_t progressionChoice = 0;
    double progressionFrom = 0.0;
    double progressionStep = 0.0;
    std::int32_t formulaChoice = 0;
    std::string formulaText;
    double scoreThreshold = 0.5;
    std::int32_t scoresChoice = 0;
    std::vector<std::string> scoreParameterNames;
    std::int32_t scoreParameterIndex = 0;
    std::int32_t simpleAlgorithm = 0;
    std::int32_t schemeChoice = 0;
    std::int32_t schemeAvailable = 0;  // the data page's schemeReady, copied before each showing
    std::int32_t noSeries = 0;         // 1 while the store is empty

    // The scoring run of the several-argument analyses (parameter index, threshold). While
    // it is not set, "Scores" and its fields stay disabled.
    std::function<void(int parameter, double threshold)> runScoring;

    // Choice handlers: take the controls in, set the members, show the fields again.
    void OnArgument();
    void OnInactive();
    void OnValue();
    void OnProgression();
    void OnFormula();
    void OnScheme();
    void OnScores();
    void OnSimpleAlgorithm();
    void OnCloseUpScoreParameter();
    void OnInsert();  // "Insert -->": ends the dialog with kOk once the fields read

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnOK() override { OnInsert(); }
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;

private:
    bool ScoringAvailable() const { return static_cast<bool>(runScoring); }
    // "Current theoretical scheme" can be offered: a scheme is ready and there is a series
    // for it to fill.
    bool SchemeSelectable() const { return schemeAvailable && !noSeries; }
    void EnableControl(int id, bool enable);
    void EnableScoreFields(bool enable);
    void ApplyColors();
};

extern insert theInsert;

// The data page's "Insert" command: prepares, shows and applies the dialog on page.
void InsertParameterCommand(data& page);
