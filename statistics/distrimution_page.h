#pragma once
// The distribution options page of one variable: bins, fitted shapes, display modes and the
// list of record filter conditions. The one-variable view reads its members and writes the
// automatic bin grid back; the main window reads its changed flag and refills its parameter
// list (combo 1246).
#include <vector>

#include "platform/dialog.h"
#include "statistics/conditions.h"
#include "statistics/distrimution_settings.h"
#include "statistics/max_condition_search.h"

class distrimution : public platform::Dialog, public distrimution_settings {
public:
    static constexpr int kTemplateId = 138;

    enum : int {
        kOkButton = 1110,
        kStudentCheck = 1111,
        kPoissonCheck = 1112,
        kBinCountEdit = 1113,
        kBinCountSpin = 1114,
        kAutoIntervalsCheck = 1115,
        kErlangCheck = 1116,
        kPercentageCheck = 1244,
        kPartOfWholeCheck = 1245,
        kParameterCombo = 1246,  // parameter of the condition to add
        kConditionMinEdit = 1247,
        kConditionMaxEdit = 1248,
        kAddButton = 1249,
        kClearButton = 1250,
        kUndoButton = 1251,
        kCumulativeCheck = 1252,
        kBinGroup = 1317,
        kShapeGroup = 1318,
        kShowAsGroup = 1319,
        kConditionsGroup = 1320,
        kMinLabel = 1321,
        kMaxLabel = 1322,
        kMaxButton = 1461,
        kOperationCombo = 1466,
        kMarksGroup = 1484,
        kMaxConcentrationCheck = 1485,
        kPercentOfDataEdit = 1486,
        kPercentOfDataLabel = 1487,
        kMedianCheck = 1488,
        kMinAbsDeviationCheck = 1527,
    };
    static constexpr int kMinSpinBins = 3;
    static constexpr int kMaxBins = 10000;  // a typed count is held to 1..kMaxBins

    static constexpr platform::ColorRef kDarkColor = platform::Rgb(30, 30, 205);
    static constexpr platform::ColorRef kLightColor = platform::Rgb(100, 255, 255);
    static constexpr platform::ColorRef kEditColor = platform::Rgb(255, 250, 240);

    distrimution();

    distrimution_settings& settings = *this;  // the saved fields

    int changed = 0;
    std::vector<struct conditions> appliedConditions;  // the list as of the page's last change
    MaxSearchTables searchTables;  // of the last "Max" search

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;
    bool OnDrawItem(platform::DrawItem& item) override;

    void OnOk();
    void OnOption();
    void OnAutoIntervals();
    void OnPartOfWhole();
    void OnSpinBins(platform::Notify& n);
    void OnAddCondition();
    void OnClearConditions();
    void OnUndoCondition();
    void OnMax();
    // Edit 1113 and its spin are open only without automatic intervals.
    void EnableBinControls();

private:
    // "part of whole" needs a condition: without one it is switched off and disabled.
    void EnablePartOfWhole();
};

// Removes every condition on the global parameter index (column deletion calls it for each
// removed index; the list is kept for a single series only, where the two indexes agree).
void RemoveConditionsOfParameter(int globalIndex);

extern distrimution theDistrimution;
