#include "formula/constructor_multi.h"

#include <algorithm>

#include "platform/dialog_template.h"
#include "platform/format.h"
#include "platform/requests.h"
#include "platform/text_metrics.h"
#include "platform/utf8_cut.h"

constructor_multi theConstructorMulti;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kPanelFill = Rgb(207, 255, 159);
constexpr platform::Rect kLibraryArea{3, 45, 440, 148};
constexpr platform::Rect kPanelArea{3, 5, 440, 40};
constexpr platform::Rect kPanelStrip{5, 5, 30, 150};
// The library grid: five boxes to a column from (10, 53), 2 pixels between columns and 1
// between rows, inside the library area; boxes 84 x 16 unless their font needs more.
constexpr int kBoxWidth = 84;
constexpr int kBoxHeight = 16;
constexpr int kBoxLeft = 10;
constexpr int kBoxTop = 53;
constexpr int kColumnGap = 2;
constexpr int kRowGap = 1;
constexpr int kBoxesPerColumn = 5;
constexpr int kBoxEdge = 2;     // of the 3-pixel edge, what lies inside the box
constexpr int kLabelPadding = 3;  // between the edge and a label, left and right
constexpr int kMinLabelHeight = 8;
constexpr const char* kPlaceholder = "_x_";

platform::DialogTemplate ConstructorMultiTemplate() {
    platform::DialogTemplate t;
    t.id = constructor_multi::kTemplateId;
    t.caption = "Multi-term constructor";
    t.cx = 300;
    t.cy = 140;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({constructor_multi::kAddTermButton, ControlKind::Button, "Add a term", 4, 98, 70, 15, kOwnerDraw});
    c.push_back({constructor_multi::kDeleteLastButton, ControlKind::Button, "Delete last", 78, 98, 70, 15,
                 kOwnerDraw | platform::kStyleDisabled});
    c.push_back({constructor_multi::kApplyButton, ControlKind::Button, ">>", 152, 98, 70, 15, kOwnerDraw});
    c.push_back({constructor_multi::kOkButton, ControlKind::Button, "Ok", 226, 98, 70, 15,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({constructor_multi::kSearchOneNextButton, ControlKind::Button, "Search one next", 4, 118, 70, 15,
                 kOwnerDraw});
    c.push_back({constructor_multi::kStartFullSearchButton, ControlKind::Button, "Start full search", 78, 118, 70,
                 15, kOwnerDraw});
    c.push_back({constructor_multi::kStopButton, ControlKind::Button, "Stop", 152, 118, 70, 15,
                 kOwnerDraw | platform::kStyleDisabled});
    c.push_back({constructor_multi::kParametersButton, ControlKind::Button, "Parameters", 226, 118, 70, 15,
                 kOwnerDraw | platform::kStyleDisabled});
    return t;
}

const platform::DialogTemplateRegistration registration(ConstructorMultiTemplate());

std::string ReplaceAll(std::string text, const std::string& find, const std::string& with) {
    for (std::string::size_type at = text.find(find); at != std::string::npos; at = text.find(find, at + with.size())) {
        text.replace(at, find.size(), with);
    }
    return text;
}

platform::Font TimesFont(int height, int weight) {
    platform::Font f;
    f.faceName = "Times";
    f.height = height;
    f.weight = weight;
    return f;
}

}  // namespace

constructor_multi::constructor_multi()
    : Dialog(kTemplateId),
      boxFont(TimesFont(18, platform::kWeightMedium)),
      panelFont(TimesFont(16, platform::kWeightSemiBold)) {
    FillTermLibrary();
    RouteCommand(kAddTermButton, &constructor_multi::OnAddATerm);
    RouteCommand(kDeleteLastButton, &constructor_multi::OnDeleteLast);
    RouteCommand(kOkButton, &constructor_multi::OnOk);
    RouteCommand(kApplyButton, &constructor_multi::OnApply);
    RouteCommand(kSearchOneNextButton, &constructor_multi::OnSearchOneNext);
    RouteCommand(kStartFullSearchButton, &constructor_multi::OnStartFullSearch);
    RouteCommand(kStopButton, &constructor_multi::OnStop);
    RouteCommand(kParametersButton, &constructor_multi::OnParameters);
}

void constructor_multi::FillTermLibrary() {
    termLibrary = {"1",
                   "_x_",
                   "pow(_x_,2)",
                   "pow(_x_,3)",
                   "pow(_x_,4)",
                   "pow(_x_,5)",
                   "pow(_x_,6)",
                   "pow(_x_,7)",
                   "pow(_x_,8)",
                   "pow(_x_,9)",
                   "pow(_x_,0.5)",
                   "pow(_x_,(1/3))",
                   "pow(_x_,0.25)",
                   "pow(_x_,(2/3))",
                   "pow(_x_,0.75)",
                   "pow(_x_,-1)",
                   "pow(_x_,-2)",
                   "pow(_x_,-3)",
                   "pow(_x_,-4)",
                   "pow(_x_,-5)",
                   "pow(_x_,-0.5)",
                   "pow(_x_,-(1/3))",
                   "pow(_x_,-0.25)",
                   "pow(_x_,-(2/3))",
                   "pow(_x_,-0.75)"};
    libraryCount = static_cast<int>(termLibrary.size());
}

std::string constructor_multi::LibraryTextFor(int index, const std::string& name) const {
    if (index < 0 || index >= static_cast<int>(termLibrary.size())) return std::string();
    return ReplaceAll(termLibrary[static_cast<size_t>(index)], kPlaceholder, name);
}

template <class T>
void constructor_multi::Compose(std::string& text, int t, int n, std::span<const unsigned> parameterMap,
                                const std::vector<std::string>& parameterNames, std::span<const T> terms) const {
    text.clear();
    for (int k = 0; t >= 0 && k < n; ++k) {
        const long long at = static_cast<long long>(t) * n + k;
        if (at >= static_cast<long long>(terms.size())) break;
        const long long j = static_cast<long long>(terms[static_cast<size_t>(at)]);
        if (j == 0 || !IsLibraryIndex(j)) continue;
        if (static_cast<size_t>(k) >= parameterMap.size()) continue;
        const unsigned parameter = parameterMap[static_cast<size_t>(k)];
        if (parameter >= parameterNames.size()) continue;
        if (!text.empty()) text += "*";
        text += LibraryTextFor(static_cast<int>(j), parameterNames[parameter]);
    }
    if (text.empty()) text = "1.0";
}

void constructor_multi::ComposeTermFormula(std::string& text, int t, int n, std::span<const unsigned> parameterMap,
                                           const std::vector<std::string>& parameterNames,
                                           std::span<const unsigned> terms) const {
    Compose(text, t, n, parameterMap, parameterNames, terms);
}

void constructor_multi::ComposeTermFormulaForFile(std::string& text, int t, int n,
                                                  std::span<const unsigned> parameterMap,
                                                  const std::vector<std::string>& parameterNames,
                                                  std::span<const int> terms) const {
    Compose(text, t, n, parameterMap, parameterNames, terms);
}

void constructor_multi::LayoutTermBoxes() {
    boxRects.clear();
    const int columns = libraryCount > 20 ? 5 : 4;
    // Box and row sizes come from the font the labels are painted in: each label of an argument
    // "x" inside its box's edge, the font's cell as high as the box within it. The font is made
    // smaller until the library's grid holds it; only a font that can shrink no further makes
    // the boxes larger.
    labelFont = boxFont;
    int width = kBoxWidth, height = kBoxHeight;
    for (;;) {
        const platform::TextMetrics& metrics = platform::MetricsFor(labelFont);
        int widest = 0;
        for (int i = 0; i < libraryCount; ++i) widest = std::max(widest, metrics.Width(LibraryTextFor(i, "x")));
        width = widest + 2 * (kBoxEdge + kLabelPadding);
        height = metrics.height + 2 * kBoxEdge;
        if ((width <= kBoxWidth && height <= kBoxHeight) || labelFont.height <= kMinLabelHeight) break;
        --labelFont.height;
    }
    width = std::max(width, kBoxWidth);
    height = std::max(height, kBoxHeight);
    for (int i = 0; i < libraryCount && i < columns * kBoxesPerColumn; ++i) {
        const int x = kBoxLeft + (i / kBoxesPerColumn) * (width + kColumnGap);
        const int top = kBoxTop + (i % kBoxesPerColumn) * (height + kRowGap);
        boxRects.push_back({x, top, x + width, top + height});
    }
    boxCount = static_cast<int>(boxRects.size());
}

std::string constructor_multi::BoxLabel(int index, int room) const {
    // A long argument name is cut (the function around it stays whole) until the label fits.
    const platform::TextMetrics& metrics = platform::MetricsFor(labelFont);
    const std::string name = ArgumentName(choosingArgument);
    std::string label = LibraryTextFor(index, name);
    for (std::string cut = name; metrics.Width(label) > room && !cut.empty();) {
        platform::PopUtf8(cut);
        label = LibraryTextFor(index, cut + "..");
    }
    return label;
}

int constructor_multi::HitTestTermBox(platform::Point p) const {
    for (int i = 0; i < boxCount && i < static_cast<int>(boxRects.size()); ++i) {
        if (PointInRectInclusive(boxRects[static_cast<size_t>(i)], p)) return i;
    }
    return -1;
}

bool constructor_multi::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    applyRequested = 0;
    boxFont = TimesFont(18, platform::kWeightMedium);
    LayoutTermBoxes();
    choosingArgument = -1;
    Control(kStopButton).Enable(false);
    Control(kParametersButton).Enable(static_cast<bool>(runSearchParameters));
    OnOk();
    return true;
}

std::string constructor_multi::ArgumentName(int k) const {
    if (k >= 0 && k < static_cast<int>(argumentNames.size())) return argumentNames[static_cast<size_t>(k)];
    return "x";
}

std::string constructor_multi::ComposingText() const {
    std::string text = valueName + " = ... + ";
    for (int k = 0; k < factorsPerTerm; ++k) {
        if (k > 0) text += "*";
        const std::string name = ArgumentName(k);
        if (k < static_cast<int>(pendingTerm.size())) {
            text += LibraryTextFor(static_cast<int>(pendingTerm[static_cast<size_t>(k)]), name);
        } else {
            text += ReplaceAll(platform::Format("F%d(_x_)", k), kPlaceholder, name);
        }
    }
    return text;
}

bool constructor_multi::IsComposing() const {
    return choosingArgument >= 0 && !Control(kAddTermButton).IsEnabled() && polySearchOneNext == 0 &&
           polySearchFull == 0;
}

void constructor_multi::DrawTermBox(platform::Canvas& dc, int index) {
    const platform::Rect& r = boxRects[static_cast<size_t>(index)];
    const platform::ColorRef fill = index == hoverBox ? Rgb(150, 185, 195) : Rgb(197, 205, 224);
    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 3, Rgb(41, 150, 180)));
    const platform::Brush oldBrush = dc.SelectBrush(platform::Brush(fill));
    dc.Rectangle(r.left, r.top, r.right, r.bottom);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    // While a factor is chosen the boxes read in the name of the argument it is for.
    const std::string label = BoxLabel(index, r.Width() - 2 * (kBoxEdge + kLabelPadding));
    const platform::Font oldFont = dc.SelectFont(labelFont);
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    const platform::ColorRef oldColor = dc.SetTextColor(Rgb(75, 75, 75));
    const platform::Size size = dc.GetTextExtent(label);
    dc.TextOut(r.left + (r.Width() - size.cx) / 2, r.top + (r.Height() - size.cy) / 2, label);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
    dc.SelectFont(oldFont);
}

void constructor_multi::DrawTermBoxes(platform::Canvas& dc) {
    for (int i = 0; i < boxCount && i < static_cast<int>(boxRects.size()); ++i) DrawTermBox(dc, i);
}

void constructor_multi::RepaintTermPanel() {
    if (!HasWindow()) return;
    platform::ClientDC dc(*this);
    dc.FillRect(kPanelStrip, kPanelFill);
    DrawTermBoxes(dc);
}

void constructor_multi::PaintPage() {
    if (!HasWindow()) return;
    platform::ClientDC dc(*this);
    dc.FillRect(kLibraryArea, Rgb(158, 0, 221));
    dc.FillRect(kPanelArea, kPanelFill);
    if (choosingArgument >= 0) {
        // The panel text is fitted to the panel: a smaller font first, then an ellipsis.
        const std::string text = ComposingText();
        const int room = kPanelArea.Width() - 8;
        platform::Font font = panelFont;
        dc.SelectFont(font);
        while (dc.GetTextExtent(text).cx > room && font.height > 9) {
            --font.height;
            dc.SelectFont(font);
        }
        std::string shown = text;
        if (dc.GetTextExtent(shown).cx > room) {
            while (!shown.empty() && dc.GetTextExtent(shown + "...").cx > room) shown.pop_back();
            shown += "...";
        }
        dc.SetBkMode(platform::BkMode::Transparent);
        dc.SetTextColor(Rgb(30, 30, 205));
        const platform::Size size = dc.GetTextExtent(shown);
        dc.TextOut(kPanelArea.left + 4, kPanelArea.top + (kPanelArea.Height() - size.cy) / 2, shown);
    }
    DrawTermBoxes(dc);
}

void constructor_multi::OnPaint() {
    FillPageBackground(*this, kPageBrush);
    PaintPage();
}

void constructor_multi::OnAddATerm() {
    // A model without arguments has no factor to choose: nothing to compose.
    if (factorsPerTerm < 1) return;
    Control(kAddTermButton).Enable(false);
    pendingTerm.clear();
    choosingArgument = 0;
    RepaintTermPanel();
    Invalidate();
}

void constructor_multi::OnLButtonDown(unsigned /*flags*/, platform::Point point) {
    if (!IsComposing() || static_cast<int>(pendingTerm.size()) >= factorsPerTerm) return;
    const int box = HitTestTermBox(point);
    if (box >= 0) {
        pendingTerm.push_back(static_cast<unsigned>(box));
        if (static_cast<int>(pendingTerm.size()) == factorsPerTerm) {
            Control(kAddTermButton).Enable(true);
            AcceptTermSelection();
        }
    }
    choosingArgument = static_cast<int>(pendingTerm.size());
    RepaintTermPanel();
    Invalidate();
}

void constructor_multi::AcceptTermSelection() {
    currentPolyTerms.insert(currentPolyTerms.end(), pendingTerm.begin(), pendingTerm.end());
    OnOk();
}

void constructor_multi::OnMouseMove(unsigned /*flags*/, platform::Point point) {
    hoverBox = HitTestTermBox(point);
    if (hoverBox == lastHoverBox) return;
    RepaintTermPanel();
    lastHoverBox = hoverBox;
}

void constructor_multi::OnDeleteLast() {
    const size_t cut = factorsPerTerm > 0 ? static_cast<size_t>(factorsPerTerm) : 0;
    currentPolyTerms.resize(currentPolyTerms.size() > cut ? currentPolyTerms.size() - cut : 0);
    OnOk();
}

void constructor_multi::OnOk() {
    PaintPage();
    Invalidate();
    Control(kDeleteLastButton).Enable(!currentPolyTerms.empty());
    changed = 1;
    platform::PostRepaintRequest();
}

void constructor_multi::OnApply() {
    applyRequested = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

void constructor_multi::StartSearch(int oneNext, int full) {
    polySearchStop = 0;
    polySearchOneNext = oneNext;
    polySearchFull = full;
    for (int id : {kAddTermButton, kDeleteLastButton, kSearchOneNextButton, kStartFullSearchButton,
                   kParametersButton}) {
        Control(id).Enable(false);
    }
    Control(kStopButton).Enable(true);
    platform::PostJobRequest();
}

void constructor_multi::OnSearchOneNext() { StartSearch(1, 0); }

void constructor_multi::OnStartFullSearch() { StartSearch(0, 1); }

void constructor_multi::OnStop() {
    polySearchStop = 1;
    polySearchOneNext = 0;
    polySearchFull = 0;
    for (int id : {kAddTermButton, kDeleteLastButton, kSearchOneNextButton, kStartFullSearchButton}) {
        Control(id).Enable(true);
    }
    Control(kParametersButton).Enable(static_cast<bool>(runSearchParameters));
    Control(kStopButton).Enable(false);
}

void constructor_multi::OnParameters() {
    if (!runSearchParameters) return;
    if (!runSearchParameters()) OnStop();
}

bool constructor_multi::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kApplyButton:
            DrawPageButton(item, Rgb(100, 255, 255), Rgb(30, 30, 205));
            return true;
        case kAddTermButton:
        case kDeleteLastButton:
        case kSearchOneNextButton:
        case kStartFullSearchButton:
        case kStopButton:
        case kParametersButton:
            DrawPageButton(item, item.disabled ? Rgb(180, 200, 200) : Rgb(100, 255, 255), Rgb(30, 30, 205));
            return true;
        default:
            return false;
    }
}

ControlColors constructor_multi::OnCtlColor(int /*controlId*/) const { return PageBrushOnly(kPageBrush); }
