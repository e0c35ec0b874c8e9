#pragma once
// "Modify the parameter": changes the selected parameter by a formula computed record by
// record, or by one of eight actions (deleting records by a value condition, normalising,
// sorting, splitting the only series). Every change first takes the store's undo copy,
// which "Undo" puts back. One instance, theModify; the formula, the action, the two
// values and the check box stay from one use to the next.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/color.h"
#include "platform/dialog.h"

class data;

class modify : public platform::Dialog {
public:
    static constexpr int kTemplateId = 186;

    enum : int {
        kModifyButton = platform::kOk,
        kCancelButton = platform::kCancel,
        kParameterLabel = 1520,
        kParameterText = 1521,
        kFormulaRadio = 1522,
        kFormulaEdit = 1523,
        kHelpText = 1524,
        kActionRadio = 1525,
        kActionList = 1526,
        kFromEdit = 1527,
        kToLabel = 1528,
        kToEdit = 1529,
        kCurrentSeriesCheck = 1530,
        kUndoButton = 1531,
    };

    // The action list, in list order.
    enum Action : int {
        kDeleteAbove = 0,
        kDeleteBelow = 1,
        kDeleteInside = 2,
        kDeleteOutside = 3,
        kNormalize = 4,
        kSortDown = 5,
        kSortUp = 6,
        kSplit = 7,
    };
    static constexpr int kActionCount = 8;
    static const char* const kActionTexts[kActionCount];

    static constexpr platform::ColorRef kDialogBrush = 0xFFCDE1;
    static constexpr platform::ColorRef kTextColor = 0x961437;
    static constexpr platform::ColorRef kEditBack = 0xF5E1FF;

    modify();

    std::int32_t proceed = 0;          // ended by "Modify" or "Undo"
    std::string parameterText;         // "'%s' from '%s' series"
    std::string formula = "x";
    std::int32_t action = kDeleteInside;
    double fromValue = 0.0;
    double toValue = 0.0;
    std::int32_t formulaEnabled = 1;
    std::int32_t actionEnabled = 0;
    std::int32_t undoRequested = 0;
    std::int32_t undoAvailable = 0;
    std::int32_t currentSeriesOnly = 0;
    std::string helpText;
    std::int32_t focusBox = 0;         // 1 the formula box, 2 a value box had the focus last

    // The record operations the actions run, by the side that owns them. "Do:" is offered
    // only when all four are set.
    struct RecordOperations {
        std::function<void(int parameter, int mode, double a, double b)> deleteByCondition;
        std::function<void(int parameter, double low, double high)> scaleToRange;
        std::function<void(int parameter, int ascending)> sortRecords;
        std::function<void(int parameter, int parts)> splitSeries;
    };
    RecordOperations operations;
    bool ActionsAvailable() const;

    void OnByFormula();
    void OnDoAction();
    void EnableByMode();
    void OnCloseUpAction();
    void OnSetFocusFormula();
    void OnSetFocusRange();
    void OnModify();
    void OnUndo();
    void OnCurrentSeriesOnly();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnOK() override { OnModify(); }
    void OnCancel() override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;

private:
    void ShowValueBoxes();
    void ApplyColors();
    void FitTexts();
    int GrowToText(int id, int limit);
};

extern modify theModify;

// The data page's "Modify" command on its selected parameter: shows the dialog and applies
// the formula or the action, or puts the undo copy back.
void ModifyParameterCommand(data& page);
