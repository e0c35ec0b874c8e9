#pragma once
// The calculator page: applies the model the current analysis has just fitted to new
// argument values, one point typed into the page or every row of an argument file. The page
// evaluates nothing itself: it parses the arguments into members that the model routines
// read while the chart is painted; they write the value of the typed point into valuesText
// and, while file rows are pending, one value per row into computedValues, from which the
// results file is written (SaveCalculatedData).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "formula/calculator_settings.h"
#include "platform/bitmap.h"
#include "platform/dialog.h"
#include "widgets/page_look.h"

class calculator : public platform::Dialog, public calculator_settings {
public:
    static constexpr int kTemplateId = 148;
    static constexpr int kTableSize = 50;  // argument values of a typed point or of one file row

    enum : int {
        kOkButton = 1199,
        kValuesEdit = 1200,
        kArgumentEdit = 1201,
        kDoButton = 1202,
        kFromFileEdit = 1203,
        kBrowseFromButton = 1204,
        kToFileEdit = 1205,
        kBrowseToButton = 1206,
        kSortResultsInCheck = 1208,
        kAscendingCheck = 1209,
        kDescendingCheck = 1210,
        kFileGroup = 1329,
        kFromFileStatic = 1330,
        kToFileStatic = 1331,
        kArgumentStatic = 1332,
        kValuesStatic = 1333,
    };

    calculator();

    calculator_settings& settings = *this;  // the saved fields

    int argumentsValid = 1;        // 0 when the typed text holds a letter
    int changed = 0;               // also the gate of ParseArgumentString
    int typedCount = 0;
    int dataArgumentCount = 0;     // set by the painting dispatcher
    int argumentsMatch = 0;        // typedCount equals dataArgumentCount, set by the dispatcher
    std::vector<double> typedValues;
    std::array<double, kTableSize> typedValueTable{};
    std::vector<double> rowValues;
    std::vector<double> computedValues;
    std::vector<int> rowOrder;
    std::array<double, kTableSize> rowValueTable{};
    int rowValueCount = 0;
    int rowsPending = 0;
    std::vector<std::string> typedFields;
    std::vector<std::string> rowFields;
    std::vector<std::string> rowTexts;   // kept rows of the argument file, line break included
    int rowCount = 0;
    platform::Bitmap buttonPicture;      // on the two "Browse" buttons
    std::string valueScratch;
    std::string valuesText;

    // Parses the typed arguments when `changed` is 1; 1 when they are numbers (or none),
    // 0 when a field holds a letter (valuesText then says so). At most 50 values are kept.
    int ParseArgumentString();
    // Parses kept row `index` of the argument file into rowValueTable, reading the fields
    // selected in the field dialog (theText); the number of values kept, -1 for an index out
    // of range or a row holding a letter.
    int ParseArgumentRow(int index);

    // What the painting dispatcher calls around the painters of one chart repaint.
    void BeginRepaint(int firstSeriesArgumentCount);
    void EndRepaint();
    // What a model routine calls: whether the typed point fits the data's argument count, the
    // value at it, and the values of the pending file rows (then the results file is written).
    bool WantsTypedValue(int argumentCount) const;
    void AddTypedValue(const std::string& valueName, double value);
    void ComputeRows(int argumentCount, const std::function<double(const double*)>& model);
    // Appends the computed rows to the results file (see SaveCalculatedData).
    void SaveResults();
    // Empties the kept rows together with their order and values.
    void ClearRows();

    // The results file offered for an argument file: its extension replaced by "_Res.txt";
    // "" when the file name has no extension.
    static std::string ResultsFileFor(const std::string& argumentFile);
    // A text holds a letter when any of its characters is in the calculator's letter set.
    static bool HoldsLetter(const std::string& text);

    void OnOk();
    void OnDo();
    void OnBrowseFrom();
    void OnBrowseTo();
    void OnSortResultsIn();
    void OnAscending();
    void OnDescendingOrder();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

private:
    void TakeControls();
    void RefreshControls();
    void SetSortFlags(int off, int ascending, int descending);
    // Reads the kept rows of the argument file; false when it cannot be opened.
    bool ReadArgumentRows();
};

// Appends the calculator's computed rows to its results file: row text, a blank and the value,
// in the order of rowOrder (sorted by value first when asked). Nothing without computed values.
void SaveCalculatedData(int valueParameter);

extern calculator theCalculator;
