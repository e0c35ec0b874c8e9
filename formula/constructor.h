#pragma once
// The transform constructor page: a model of one argument built by clicking cells,
// F(y) = a0*t0(x) + a1*t1(x) + ..., one y-transform cell (codes 0 to 5) and any set of the
// 29 term cells (term codes 0 to 22, and six harmonic cells of two codes each, 23+2i and
// 24+2i, with the periods typed beside the grid). The grid is painted by the page itself and
// the model (yTransform, selectedCodes) always follows what is painted.
#include <array>
#include <string>
#include <vector>

#include "formula/constructor_settings.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "widgets/page_look.h"

class constructor : public platform::Dialog, public constructor_settings {
public:
    static constexpr int kTemplateId = 142;
    static constexpr int kYCells = 6;
    static constexpr int kTermCells = 29;
    static constexpr int kHarmonicCells = 6;
    static constexpr int kFirstHarmonicCell = 23;
    static constexpr int kMaxTermCode = 34;
    static constexpr int kCodeSlots = 50;

    enum : int {
        kOkButton = 1132,
        kApplyButton = 1134,
        kFirstPeriodEdit = 1135,  // 1135 to 1140
        kLastPeriodEdit = 1140,
        kDeviationLinesCheck = 1141,
        kPeriodsStatic = 1306,
        kModelStatic = 1307,
    };

    constructor();

    constructor_settings& settings = *this;  // the saved fields

    int changed = 0;
    int applyRequested = 0;
    platform::Font cellFont;
    std::vector<platform::Rect> termCellRects;
    std::vector<platform::Rect> yCellRects;
    std::vector<std::string> yCellLabels;
    std::vector<std::string> termCellLabels;
    std::vector<unsigned> termCellStates;   // 1 selected, 0 not
    std::vector<unsigned> yCellStates;      // exactly one is 1
    std::array<int, kHarmonicCells> periodEdited{};
    int gridLeft = 0;
    int gridTop = 0;
    int gridRight = 0;
    int gridBottom = 0;
    int termGridLeft = 0;
    std::array<std::string, kHarmonicCells> periodTexts{"1", "2", "3", "4", "5", "6"};

    // Cell labels of this page: kind 0 the y-transform codes 0 to 5, kind 1 the term cells
    // 0 to 28 (23 to 28 with their period texts). Any other code leaves `text` unchanged.
    void TransformLabel(std::string& text, int kind, int code, const std::string& name) const;
    // Labels of the fitting engine's term codes: kind 0 its y-transforms 0 to 5, kind 1 its
    // terms 0 to 26 and 31 to 34. The harmonic codes 27 to 30, and anything else, leave
    // `text` unchanged.
    static void TransformLabelLong(std::string& text, int kind, int code, const std::string& name);
    // Sets the cells from yTransform, selectedCodeCount and selectedCodes (after a document was
    // read); codes and counts out of range are ignored.
    void RestoreSelection();

    void LayoutTransformGrid();
    void PaintTransformGrid();
    // The cell of the y-transform or term grid under the point, borders included; -1 for none.
    int YCellAt(platform::Point p) const;
    int TermCellAt(platform::Point p) const;

    void OnOk();
    void OnApply();
    void OnDeviationLines();
    void OnChangePeriod(int editId);

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnLButtonDown(unsigned flags, platform::Point point) override;
    void OnPaint() override;
    bool OnDrawItem(platform::DrawItem& item) override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

private:
    void DrawCell(platform::Canvas& dc, const platform::Rect& r, const std::string& label, bool selected);
    // yTransform and selectedCodes from the cell states, as painting derives them.
    void CollectSelection();
};

extern constructor theConstructor;
