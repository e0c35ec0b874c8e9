#include "widgets/text_dialog.h"

#include <array>
#include <climits>

#include "data/name_limit.h"
#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"

Text theText;
Text theText2;

namespace {

using platform::ControlKind;

platform::DialogTemplate TextTemplate() {
    platform::DialogTemplate t;
    t.id = Text::kTemplateId;
    t.caption = "Read from text file";
    t.cx = 250;
    t.cy = 170;
    auto& c = t.controls;
    c.push_back({Text::kSeparatorsLabel, ControlKind::Static, "Separators:", 8, 9, 46, 10});
    c.push_back({Text::kSeparatorsEdit, ControlKind::Edit, "", 56, 7, 100, 13});
    c.push_back({Text::kOkButton, ControlKind::Button, "OK", 176, 6, 64, 16,
                 platform::kStyleOwnerDraw | platform::kStyleDefault});
    c.push_back({Text::kCancelButton, ControlKind::Button, "Cancel", 176, 26, 64, 16, platform::kStyleOwnerDraw});
    c.push_back({Text::kFieldList, ControlKind::ListBox, "", 8, 26, 160, 136, platform::kStyleMultiSelect});
    c.push_back({Text::kSynchronizeCheck, ControlKind::CheckBox, "synchronize", 176, 52, 64, 12});
    return t;
}

const platform::DialogTemplateRegistration registration(TextTemplate());

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string TrimBlanks(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

std::vector<std::string> SplitPreviewFields(const std::string& line, const std::string& separatorSet,
                                            std::size_t limit, std::size_t* total) {
    std::array<bool, 256> isSeparator{};
    for (char c : separatorSet) isSeparator[static_cast<unsigned char>(c)] = true;
    std::vector<std::string> fields;
    std::size_t count = 0;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && isSeparator[static_cast<unsigned char>(line[i])]) ++i;
        if (i >= n) break;
        const std::size_t start = i;
        while (i < n && !isSeparator[static_cast<unsigned char>(line[i])]) ++i;
        std::string field = line.substr(start, i - start);
        fields.push_back(fields.empty() ? field : TrimBlanks(field));
        if (++count == limit) break;
    }
    // Fields past the limit are only counted: a field starts where a separator ends.
    bool inSeparator = false;
    for (; i < n; ++i) {
        const bool separator = isSeparator[static_cast<unsigned char>(line[i])];
        count += inSeparator && !separator;
        inSeparator = separator;
    }
    if (count == 0) {
        fields.emplace_back();
        count = 1;
    }
    if (total != nullptr) *total = count;
    return fields;
}

std::string TooManyFieldsText(int fieldCount) {
    return "The first line has " + std::to_string(fieldCount) + " fields; at most " +
           std::to_string(Text::kMaxFields) + " fields can be read.";
}

Text::Text() : Dialog(kTemplateId) {
    allSeparators = fixedSeparators + separators;
    Route(kSeparatorsEdit, platform::Notification::EditChange, &Text::OnChangeSeparators);
}

bool Text::OnInitDialog() {
    SetDefaultButton(kOkButton);
    Control(kSeparatorsEdit).LimitText(kMaxTypedSeparators);
    UpdateData(false);
    UpdateSynchronizeBox();
    SplitPreviewLines();
    previewFresh_ = true;
    Invalidate();
    return true;
}

void Text::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kSeparatorsEdit, separators);
    dx.Check(kSynchronizeCheck, synchronizeRequested);
}

void Text::OnShowWindow(bool show) {
    if (!show) return;
    UpdateSynchronizeBox();
    // The list filled as the dialog began need not be filled again (a long line costs time).
    if (!previewFresh_) SplitPreviewLines();
    previewFresh_ = false;
}

int Text::SplitPreviewLines() {
    if (separators.size() > static_cast<std::size_t>(kMaxTypedSeparators)) separators.resize(kMaxTypedSeparators);
    allSeparators = fixedSeparators + separators;
    std::size_t total = 0;
    previewFields_ = SplitPreviewFields(firstLine, allSeparators, kMaxFields, &total);
    std::vector<std::string> shown = previewFields_;
    for (std::string& item : shown) LimitNameLength(item);
    platform::Control list = Control(kFieldList);
    if (list.IsValid()) list.SetItems(shown, true);
    fieldCount = total > INT_MAX ? INT_MAX : static_cast<int>(total);
    return fieldCount;
}

void Text::OnChangeSeparators() {
    platform::Control edit = Control(kSeparatorsEdit);
    if (!edit.IsValid()) return;
    separators = edit.Text();
    SplitPreviewLines();
}

void Text::OnOk() {
    selectedTexts.clear();
    selectedFlags.clear();
    platform::Control list = Control(kFieldList);
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const bool selected = list.IsSelected(i);
        selectedFlags.push_back(selected ? 1u : 0u);
        if (!selected) continue;
        const std::size_t k = static_cast<std::size_t>(i);
        selectedTexts.push_back(k < previewFields_.size() ? previewFields_[k] : list.ItemText(i));
    }
    accepted = 1;
    UpdateData(true);
    EndDialog(platform::kOk);
}

void Text::OnCancelText() {
    accepted = 0;
    UpdateData(true);
    EndDialog(platform::kOk);
}

void Text::UpdateSynchronizeBox() {
    platform::Control box = Control(kSynchronizeCheck);
    box.Show(offerSynchronize == 1);
    box.Enable(offerSynchronize == 1);
}

bool Text::OnDrawItem(platform::DrawItem& item) {
    return DrawActionAndCancelButtons(item, kOkButton, 0x14FF14, 0x0A6E0A, kCancelButton);
}

void Text::OnPaint() { FillPageBackground(*this, kDialogBrush); }

ControlColors Text::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kSeparatorsLabel:
        case kSynchronizeCheck:
            return TextOn(kTextColor, kDialogBrush, kDialogBrush);
        case kSeparatorsEdit:
        case kFieldList:
            return TextOn(kTextColor, kFieldBack, kFieldBack);
        default:
            return PageBrushOnly(kDialogBrush);
    }
}
