#include "formula/constructor.h"

#include <algorithm>

#include "formula/number_text.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"

constructor theConstructor;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);

platform::DialogTemplate ConstructorTemplate() {
    platform::DialogTemplate t;
    t.id = constructor::kTemplateId;
    t.caption = "Constructor";
    t.cx = 340;
    t.cy = 160;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({constructor::kModelStatic, ControlKind::Static, "F(y) = a0+a1*x1+a2*x2 + ...an*xn", 4, 3, 200, 10});
    c.push_back({constructor::kPeriodsStatic, ControlKind::Static, "Periods:", 300, 3, 36, 10});
    for (int i = 0; i < constructor::kHarmonicCells; ++i) {
        c.push_back({constructor::kFirstPeriodEdit + i, ControlKind::Edit, "", 300, 15 + 18 * i, 36, 14});
    }
    c.push_back({constructor::kDeviationLinesCheck, ControlKind::CheckBox, "deviation lines", 170, 142, 84, 12});
    c.push_back({constructor::kApplyButton, ControlKind::Button, ">>", 260, 140, 34, 15, kOwnerDraw});
    c.push_back({constructor::kOkButton, ControlKind::Button, "Ok", 300, 140, 36, 15,
                 kOwnerDraw | platform::kStyleDefault});
    return t;
}

const platform::DialogTemplateRegistration registration(ConstructorTemplate());

// Term cells by column: column 1 holds cells 0 to 6, column 2 cells 7 to 12, column 3 cells
// 13 to 18, column 4 cells 19 to 22 and column 5 cells 23 to 28.
constexpr int kColumnFirstCell[] = {0, 7, 13, 19, 23, 29};

// The term code of a harmonic cell's first code, and the cell of a stored term code.
int CellOfCode(int code) { return code <= constructor::kFirstHarmonicCell ? code : 23 + (code - 23) / 2; }

}  // namespace

constructor::constructor()
    : Dialog(kTemplateId),
      termCellRects(kTermCells),
      yCellRects(kYCells),
      yCellLabels(kYCells),
      termCellLabels(kTermCells),
      termCellStates(kTermCells, 0),
      yCellStates(kYCells, 0) {
    for (int i = 0; i < kHarmonicCells; ++i) periodValues[static_cast<size_t>(i)] = i + 1;
    RouteCommand(kOkButton, &constructor::OnOk);
    RouteCommand(kApplyButton, &constructor::OnApply);
    RouteCommand(kDeviationLinesCheck, &constructor::OnDeviationLines);
    RouteRange(kFirstPeriodEdit, kLastPeriodEdit, platform::Notification::EditChange, &constructor::OnChangePeriod);
}

void constructor::DoDataExchange(platform::Exchange& dx) {
    for (int i = 0; i < kHarmonicCells; ++i) dx.Text(kFirstPeriodEdit + i, periodTexts[static_cast<size_t>(i)]);
    dx.Check(kDeviationLinesCheck, showDeviationLines);
}

bool constructor::OnInitDialog() {
    applyRequested = 0;
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    UpdateData(false);
    LayoutTransformGrid();
    Invalidate();
    return true;
}

void constructor::LayoutTransformGrid() {
    const platform::Rect model = Control(kModelStatic).Bounds();
    const platform::Rect firstEdit = Control(kFirstPeriodEdit).Bounds();
    const platform::Rect lastEdit = Control(kLastPeriodEdit).Bounds();
    gridLeft = 0;
    gridRight = firstEdit.left - 3;
    gridTop = model.bottom + 3;
    gridBottom = lastEdit.bottom + 3;
    const double L = gridLeft;
    const double T = gridTop;
    const double W = gridRight - gridLeft;
    const double H = gridBottom - gridTop;
    const double w = (W - 5) / 6 - 5;
    const double h = (H - 4) / 6 - 4;

    auto cellRect = [&](int column, int row) {
        const int left = static_cast<int>(L + 5 + column * (w + 5));
        const int top = static_cast<int>(column < 2 ? T + 4 * (row + 1) + row * h : T + 4 * row + row * h);
        return platform::Rect{left, top, static_cast<int>(left + w), static_cast<int>(top + h)};
    };
    for (int code = 0; code < kYCells; ++code) {
        yCellRects[static_cast<size_t>(code)] = cellRect(0, code);
        TransformLabel(yCellLabels[static_cast<size_t>(code)], 0, code, "y");
    }
    for (int column = 1; column <= 5; ++column) {
        for (int cell = kColumnFirstCell[column - 1]; cell < kColumnFirstCell[column]; ++cell) {
            termCellRects[static_cast<size_t>(cell)] = cellRect(column, cell - kColumnFirstCell[column - 1]);
            TransformLabel(termCellLabels[static_cast<size_t>(cell)], 1, cell, "x");
        }
    }
    termGridLeft = static_cast<int>(L + w + 7);
    cellFont = platform::Font();
    cellFont.faceName = "Times";
    cellFont.weight = platform::kWeightMedium;
    cellFont.height = static_cast<int>(0.85 * h);

    std::fill(termCellStates.begin(), termCellStates.end(), 0u);
    std::fill(yCellStates.begin(), yCellStates.end(), 0u);
    yCellStates[0] = 1;
    termCellStates[0] = 1;
    termCellStates[1] = 1;
    yTransform = 0;
    CollectSelection();
}

void constructor::CollectSelection() {
    for (int code = 0; code < kYCells; ++code) {
        if (yCellStates[static_cast<size_t>(code)]) yTransform = code;
    }
    int count = 0;
    for (int cell = 0; cell < kTermCells; ++cell) {
        if (!termCellStates[static_cast<size_t>(cell)]) continue;
        if (cell < kFirstHarmonicCell) {
            selectedCodes[static_cast<size_t>(count++)] = cell;
        } else {
            const int first = kFirstHarmonicCell + 2 * (cell - kFirstHarmonicCell);
            selectedCodes[static_cast<size_t>(count++)] = first;
            selectedCodes[static_cast<size_t>(count++)] = first + 1;
        }
    }
    selectedCodeCount = count;
}

void constructor::DrawCell(platform::Canvas& dc, const platform::Rect& r, const std::string& label, bool selected) {
    const platform::ColorRef fill = selected ? Rgb(255, 255, 100) : Rgb(197, 205, 224);
    const platform::ColorRef edge = selected ? Rgb(200, 200, 41) : Rgb(41, 150, 180);
    const platform::ColorRef text = selected ? platform::kBlack : Rgb(75, 75, 75);
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 3, edge));
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush(fill));
    dc.Rectangle(r.left, r.top, r.right, r.bottom);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    const platform::Font oldFont = dc.SelectFont(cellFont);
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    const platform::ColorRef oldColor = dc.SetTextColor(text);
    const platform::Size size = dc.GetTextExtent(label);
    dc.TextOut(r.left + (r.Width() - size.cx) / 2, r.top + (r.Height() - size.cy) / 2, label);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
    dc.SelectFont(oldFont);
}

void constructor::PaintTransformGrid() {
    if (HasWindow()) {
        platform::ClientDC dc(*this);
        dc.FillRect({3, gridTop, gridRight, gridBottom}, Rgb(125, 119, 210));
        dc.FillRect({termGridLeft, gridTop, gridRight, gridBottom}, Rgb(158, 0, 221));
        for (int code = 0; code < kYCells; ++code) {
            DrawCell(dc, yCellRects[static_cast<size_t>(code)], yCellLabels[static_cast<size_t>(code)],
                     yCellStates[static_cast<size_t>(code)] != 0);
        }
        for (int cell = 0; cell < kTermCells; ++cell) {
            DrawCell(dc, termCellRects[static_cast<size_t>(cell)], termCellLabels[static_cast<size_t>(cell)],
                     termCellStates[static_cast<size_t>(cell)] != 0);
        }
    }
    CollectSelection();
    UpdateData(true);
}

void constructor::OnPaint() {
    FillPageBackground(*this, kPageBrush);
    PaintTransformGrid();
}

int constructor::YCellAt(platform::Point p) const {
    for (int code = 0; code < kYCells; ++code) {
        if (PointInRectInclusive(yCellRects[static_cast<size_t>(code)], p)) return code;
    }
    return -1;
}

int constructor::TermCellAt(platform::Point p) const {
    for (int cell = 0; cell < kTermCells; ++cell) {
        if (PointInRectInclusive(termCellRects[static_cast<size_t>(cell)], p)) return cell;
    }
    return -1;
}

void constructor::OnLButtonDown(unsigned /*flags*/, platform::Point point) {
    const int yCell = YCellAt(point);
    const int termCell = yCell < 0 ? TermCellAt(point) : -1;
    if (yCell >= 0) {
        const bool wasSelected = yCellStates[static_cast<size_t>(yCell)] != 0;
        std::fill(yCellStates.begin(), yCellStates.end(), 0u);
        // Clicking the selected transform falls back to plain y.
        yCellStates[static_cast<size_t>(wasSelected ? 0 : yCell)] = 1;
    } else if (termCell >= 0) {
        termCellStates[static_cast<size_t>(termCell)] ^= 1u;
    } else {
        return;
    }
    changed = 1;
    OnOk();
}

void constructor::OnOk() {
    PaintTransformGrid();
    UpdateData(true);
    changed = 1;
    for (int i = 0; i < kHarmonicCells; ++i) {
        periodValues[static_cast<size_t>(i)] = numtext::ReadReal(periodTexts[static_cast<size_t>(i)]);
        Control(kFirstPeriodEdit + i).Enable(termCellStates[static_cast<size_t>(kFirstHarmonicCell + i)] != 0);
    }
    for (int i = 0; i < kHarmonicCells; ++i) {
        if (!periodEdited[static_cast<size_t>(i)]) continue;
        periodEdited[static_cast<size_t>(i)] = 0;
        Control(kOkButton).SetFocus();
        TransformLabel(termCellLabels[static_cast<size_t>(kFirstHarmonicCell + i)], 1, kFirstHarmonicCell + i, "x");
    }
    PaintTransformGrid();
    Invalidate();
    changed = 1;
    platform::PostRepaintRequest();
}

void constructor::OnApply() {
    applyRequested = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

void constructor::OnDeviationLines() {
    changed = 1;
    OnOk();
}

void constructor::OnChangePeriod(int editId) {
    const int i = editId - kFirstPeriodEdit;
    if (i >= 0 && i < kHarmonicCells) periodEdited[static_cast<size_t>(i)] = 1;
}

void constructor::RestoreSelection() {
    std::fill(termCellStates.begin(), termCellStates.end(), 0u);
    std::fill(yCellStates.begin(), yCellStates.end(), 0u);
    // A document may hold anything: a transform or code out of range selects nothing more.
    if (yTransform < 0 || yTransform >= kYCells) yTransform = 0;
    yCellStates[static_cast<size_t>(yTransform)] = 1;
    const int count = std::clamp(selectedCodeCount, 0, kCodeSlots);
    for (int i = 0; i < count; ++i) {
        const int code = selectedCodes[static_cast<size_t>(i)];
        if (code < 0 || code > kMaxTermCode) continue;
        termCellStates[static_cast<size_t>(CellOfCode(code))] = 1;
    }
    if (HasWindow()) Invalidate();
}

bool constructor::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kApplyButton:
            DrawPageButton(item, Rgb(100, 255, 255), Rgb(30, 30, 205));
            return true;
        default:
            return false;
    }
}

ControlColors constructor::OnCtlColor(int controlId) const {
    if ((controlId >= kFirstPeriodEdit && controlId <= kLastPeriodEdit) || controlId == kModelStatic ||
        controlId == kPeriodsStatic || controlId == kDeviationLinesCheck) {
        return TextOn(Rgb(100, 255, 255), kPageBrush, kPageBrush);
    }
    return PageBrushOnly(kPageBrush);
}
