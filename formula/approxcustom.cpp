#include "formula/approxcustom.h"

#include <algorithm>
#include <cctype>

#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/format.h"
#include "platform/requests.h"

approxcustom theApproxcustom;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kListBack = Rgb(255, 250, 240);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);

platform::DialogTemplate ApproxcustomTemplate() {
    platform::DialogTemplate t;
    t.id = approxcustom::kTemplateId;
    t.caption = "Custom formulas";
    t.cx = 210;
    t.cy = 150;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({approxcustom::kModelStatic, ControlKind::Static,
                 "F(y,x)=a0*f0(x) +a1*f1(x)+a2*f2(x)+...+...+an*fn(x)", 6, 4, 198, 10});
    c.push_back({approxcustom::kFormulaList, ControlKind::ListBox, "", 6, 16, 146, 96});
    c.push_back({approxcustom::kAddButton, ControlKind::Button, "Add", 158, 16, 46, 15, kOwnerDraw});
    c.push_back({approxcustom::kCutButton, ControlKind::Button, "Cut", 158, 35, 46, 15, kOwnerDraw});
    c.push_back({approxcustom::kEditButton, ControlKind::Button, "Edit", 158, 54, 46, 15, kOwnerDraw});
    c.push_back({approxcustom::kApplyButton, ControlKind::Button, ">>", 158, 97, 46, 15, kOwnerDraw});
    c.push_back({approxcustom::kEditLabel, ControlKind::Static, "", 6, 122, 44, 10, platform::kStyleAlignRight});
    c.push_back({approxcustom::kEditBox, ControlKind::Edit, "", 52, 120, 100, 13, platform::kStyleDisabled});
    c.push_back({approxcustom::kOkButton, ControlKind::Button, "Ok", 158, 119, 46, 15,
                 kOwnerDraw | platform::kStyleDefault});
    return t;
}

const platform::DialogTemplateRegistration registration(ApproxcustomTemplate());

// The part of a line after its first "=" (the whole line when it has none).
std::string TextAfterEquals(const std::string& line) {
    const std::string::size_type eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(eq + 1);
}

// Trimmed at both ends, then every blank removed: "x ^ 2" reaches the fitting code as "x^2".
std::string Compact(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (!std::isspace(static_cast<unsigned char>(ch))) out.push_back(ch);
    }
    return out;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::string::size_type i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

}  // namespace

approxcustom::approxcustom() : Dialog(kTemplateId) {
    RouteCommand(kAddButton, &approxcustom::OnAdd);
    RouteCommand(kCutButton, &approxcustom::OnCut);
    RouteCommand(kEditButton, &approxcustom::OnEdit);
    RouteCommand(kOkButton, &approxcustom::OnOk);
    RouteCommand(kApplyButton, &approxcustom::OnApply);
    Route(kFormulaList, platform::Notification::DoubleClicked, &approxcustom::OnDblClkFormulaList);
}

void approxcustom::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kEditBox, editText);
    dx.Text(kEditLabel, editLabel);
}

bool approxcustom::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    platform::Control list = Control(kFormulaList);
    list.ResetContent();
    list.AddString("F(y,x) = y ");
    list.AddString("f0(x)= 1.0");
    list.AddString("f1(x)= x");
    Control(kEditBox).Enable(false);
    UpdateData(false);
    Invalidate();
    return true;
}

std::vector<std::string> approxcustom::Lines() const {
    std::vector<std::string> lines;
    const platform::Control list = Control(kFormulaList);
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.ItemText(i));
    return lines;
}

int approxcustom::GetModelFormulas(std::string& transform, std::vector<std::string>& basis, int& count) {
    if (!HasWindow()) {
        count = static_cast<int>(basis.size());
        return 1;
    }
    const std::vector<std::string> lines = Lines();
    const int n = static_cast<int>(lines.size());
    basis.assign(static_cast<size_t>(std::max(n - 1, 0)), std::string());
    // An empty list (never left by the page's own commands) gives no basis, not a negative count.
    count = std::max(n - 1, 0);
    if (n < 2) return 1;
    transform = Compact(TextAfterEquals(lines[0]));
    for (int i = 1; i < n; ++i) basis[static_cast<size_t>(i - 1)] = Compact(TextAfterEquals(lines[static_cast<size_t>(i)]));
    return 1;
}

void approxcustom::RestoreFormulaList() {
    platform::Control list = Control(kFormulaList);
    if (!list.IsValid()) return;
    list.ResetContent();
    list.AddString("F(y,x) = " + transformText);
    for (size_t i = 0; i < basisTexts.size(); ++i) {
        list.AddString(platform::Format("f%d(x)=", static_cast<int>(i)) + basisTexts[i]);
    }
    list.Invalidate();
}

void approxcustom::RenumberFormulas() {
    platform::Control list = Control(kFormulaList);
    const int n = list.Count();
    for (int i = 1; i < n; ++i) {
        const std::string line = list.ItemText(i);
        const std::string::size_type bracket = line.find('(');
        const std::string rest = bracket == std::string::npos ? line : line.substr(bracket);
        list.DeleteString(i);
        list.InsertString(i, platform::Format("f%d", i - 1) + rest);
    }
}

void approxcustom::SelectLineStartingWith(const std::string& prefix) {
    platform::Control list = Control(kFormulaList);
    const int n = list.Count();
    for (int k = 1; k <= n; ++k) {
        const int i = k % n;
        if (StartsWithNoCase(list.ItemText(i), prefix)) {
            list.SetCurSel(i);
            return;
        }
    }
}

void approxcustom::OnAdd() {
    platform::Control list = Control(kFormulaList);
    const int n = list.Count();
    currentLine = n;
    Control(kEditBox).Enable(true);
    if (n > 0) {
        editLabel = platform::Format("f%d(x)=", n - 1);
        editText = platform::Format("x^%d", n - 1);
    } else {
        editLabel = "F(y,x)=";
        editText = "y";
    }
    const std::string line = editLabel + editText;
    list.AddString(line);
    UpdateData(false);
    SelectLineStartingWith(line);
    Control(kEditBox).SetFocus();
    OnOk();
}

void approxcustom::OnEdit() {
    platform::Control list = Control(kFormulaList);
    currentLine = list.CurSel();
    if (currentLine < 0) {
        platform::MessageBox("Please select the formula to edit and try again");
        return;
    }
    lineText = list.ItemText(currentLine);
    const std::string::size_type eq = lineText.find('=');
    if (lineText.empty() || eq == std::string::npos) return;
    editLabel = lineText.substr(0, eq + 1);
    editText = lineText.substr(eq + 1);
    UpdateData(false);
    Control(kEditBox).Enable(true);
}

void approxcustom::OnDblClkFormulaList() { OnEdit(); }

void approxcustom::OnOk() {
    UpdateData(true);
    platform::Control list = Control(kFormulaList);
    if (!editText.empty() && currentLine >= 0 && currentLine < list.Count()) {
        list.DeleteString(currentLine);
        list.InsertString(currentLine, editLabel + editText);
        editLabel.clear();
        editText.clear();
        UpdateData(false);
    }
    Control(kEditBox).Enable(false);
    changed = 1;
    platform::PostRepaintRequest();
}

void approxcustom::OnCut() {
    platform::Control list = Control(kFormulaList);
    currentLine = list.CurSel();
    if (currentLine < 0) {
        platform::MessageBox("Please select the formula to delete and try again");
        return;
    }
    if (currentLine == 0) {
        platform::MessageBox("F(y,x) formula has to be present and can be edited only.");
        return;
    }
    list.DeleteString(currentLine);
    RenumberFormulas();
    changed = 1;
    platform::PostRepaintRequest();
}

void approxcustom::OnApply() {
    applyRequested = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

bool approxcustom::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kAddButton:
        case kCutButton:
        case kEditButton:
            DrawPageButton(item, Rgb(235, 200, 240), Rgb(30, 30, 205));
            return true;
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

void approxcustom::OnPaint() { FillPageBackground(*this, kPageBrush); }

ControlColors approxcustom::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kFormulaList:
            return TextOn(Rgb(30, 30, 205), kListBack, kListBack);
        case kEditLabel:
        case kModelStatic:
        case kEditBox:
            return TextOn(kLightText, kPageBrush, kPageBrush);
        default:
            return PageBrushOnly(kPageBrush);
    }
}
