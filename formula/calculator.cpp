#include "formula/calculator.h"

#include <algorithm>

#include "formula/number_text.h"
#include "formula/split_fields.h"
#include "platform/canvas.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"

calculator theCalculator;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPageBrush = Rgb(212, 240, 252);
constexpr platform::ColorRef kEditBack = Rgb(215, 250, 240);
constexpr platform::ColorRef kEditText = Rgb(50, 11, 10);
constexpr platform::ColorRef kLabelText = Rgb(128, 0, 128);

constexpr char kLetters[] = "`~@#$%^&*()_=qwrtyuiop[]QWRTYUIOP{}asdfghjkl;'ASDFGHJKL:zxcvbnm,/ZXCVBNM<>?";
constexpr char kTypedSeparators[] = " ,;";

platform::DialogTemplate CalculatorTemplate() {
    platform::DialogTemplate t;
    t.id = calculator::kTemplateId;
    t.caption = "Calculator";
    t.cx = 240;
    t.cy = 150;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    c.push_back({calculator::kArgumentStatic, ControlKind::Static, "Argument(s):", 6, 8, 48, 10});
    c.push_back({calculator::kArgumentEdit, ControlKind::Edit, "", 56, 6, 134, 13});
    c.push_back({calculator::kOkButton, ControlKind::Button, "Ok", 196, 5, 38, 15,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({calculator::kValuesStatic, ControlKind::Static, "Value(s):", 6, 27, 48, 10});
    c.push_back({calculator::kValuesEdit, ControlKind::Edit, "", 56, 25, 178, 13, platform::kStyleReadOnly});
    c.push_back({calculator::kFileGroup, ControlKind::GroupBox,
                 "Calculate outside data (from text file space(s)  or coma(s) separated:", 4, 46, 232, 98});
    c.push_back({calculator::kFromFileStatic, ControlKind::Static, "From file:", 10, 62, 40, 10});
    c.push_back({calculator::kFromFileEdit, ControlKind::Edit, "", 52, 60, 130, 13});
    c.push_back({calculator::kBrowseFromButton, ControlKind::Button, "Browse", 186, 59, 44, 15, kOwnerDraw});
    c.push_back({calculator::kToFileStatic, ControlKind::Static, "To file:", 10, 82, 40, 10});
    c.push_back({calculator::kToFileEdit, ControlKind::Edit, "", 52, 80, 130, 13});
    c.push_back({calculator::kBrowseToButton, ControlKind::Button, "Browse", 186, 79, 44, 15, kOwnerDraw});
    c.push_back({calculator::kSortResultsInCheck, ControlKind::CheckBox, "Sort results in", 10, 102, 66, 12});
    c.push_back({calculator::kAscendingCheck, ControlKind::CheckBox, "ascending", 78, 102, 50, 12});
    c.push_back({calculator::kDescendingCheck, ControlKind::CheckBox, "descending order", 130, 102, 70, 12});
    c.push_back({calculator::kDoButton, ControlKind::Button, "Do", 186, 122, 44, 15, kOwnerDraw});
    return t;
}

const platform::DialogTemplateRegistration registration(CalculatorTemplate());

// The picture of the "Browse" buttons: a small folder.
platform::Bitmap BrowsePicture() {
    platform::Bitmap picture(16, 16, Rgb(0, 128, 0));
    platform::Canvas dc(picture);
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, Rgb(90, 60, 0)));
    dc.SelectBrush(platform::Brush(Rgb(250, 210, 90)));
    dc.Rectangle(1, 3, 8, 6);
    dc.Rectangle(1, 5, 15, 14);
    return picture;
}

}  // namespace

calculator::calculator() : Dialog(kTemplateId) {
    RouteCommand(kOkButton, &calculator::OnOk);
    RouteCommand(kDoButton, &calculator::OnDo);
    RouteCommand(kBrowseFromButton, &calculator::OnBrowseFrom);
    RouteCommand(kBrowseToButton, &calculator::OnBrowseTo);
    RouteCommand(kSortResultsInCheck, &calculator::OnSortResultsIn);
    RouteCommand(kAscendingCheck, &calculator::OnAscending);
    RouteCommand(kDescendingCheck, &calculator::OnDescendingOrder);
}

bool calculator::HoldsLetter(const std::string& text) {
    return text.find_first_of(kLetters, 0, sizeof(kLetters) - 1) != std::string::npos;
}

void calculator::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kArgumentEdit, argumentText);
    dx.Text(kValuesEdit, valuesText);
    dx.Check(kDescendingCheck, sortDescending);
    dx.Check(kAscendingCheck, sortAscending);
    dx.Check(kSortResultsInCheck, sortOff);
    dx.Text(kToFileEdit, outputFile);
    dx.Text(kFromFileEdit, inputFile);
}

void calculator::TakeControls() {
    if (HasWindow()) UpdateData(true);
}

void calculator::RefreshControls() {
    if (HasWindow()) UpdateData(false);
}

bool calculator::OnInitDialog() {
    SetKeysEndDialog(false);
    changed = 1;
    SetDefaultButton(kOkButton);
    UpdateData(false);
    ParseArgumentString();
    rowsPending = 0;
    buttonPicture = BrowsePicture();
    Invalidate();
    return true;
}

int calculator::ParseArgumentString() {
    if (changed != 1) return 0;
    TakeControls();
    const int fields = SplitFields(argumentText, kTypedSeparators, typedFields);
    // The tables hold 50 values: further values are ignored.
    typedCount = std::min(fields, kTableSize);
    typedValues.assign(static_cast<size_t>(typedCount), 0.0);
    if (typedCount == 0) {
        argumentsValid = 1;
        return 1;
    }
    for (int k = 0; k < typedCount; ++k) {
        const std::string& field = typedFields[static_cast<size_t>(k)];
        if (HoldsLetter(field)) {
            valuesText = "Non nuneric letters in arguments string";
            argumentsValid = 0;
            return 0;
        }
        const double value = numtext::ReadReal(field);
        typedValueTable[static_cast<size_t>(k)] = value;
        typedValues[static_cast<size_t>(k)] = value;
    }
    argumentsValid = 1;
    return 1;
}

void calculator::OnOk() {
    changed = 1;
    ParseArgumentString();
    if (argumentsValid == 1) {
        platform::PostRepaintRequest();
    } else {
        // No repaint follows a refused text, so the page shows why itself.
        Control(kValuesEdit).SetText(valuesText);
    }
}

void calculator::SetSortFlags(int off, int ascending, int descending) {
    TakeControls();
    sortOff = off;
    sortAscending = ascending;
    sortDescending = descending;
    RefreshControls();
}

void calculator::OnSortResultsIn() { SetSortFlags(1, 0, 0); }
void calculator::OnAscending() { SetSortFlags(0, 1, 0); }
void calculator::OnDescendingOrder() { SetSortFlags(0, 0, 1); }

std::string calculator::ResultsFileFor(const std::string& argumentFile) {
    const std::string::size_type slash = argumentFile.find_last_of("/\\");
    const std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string::size_type dot = argumentFile.rfind('.');
    // Only a dot inside the file name, after its first character, starts an extension.
    if (dot == std::string::npos || dot <= nameStart) return std::string();
    return argumentFile.substr(0, dot) + "_Res.txt";
}

void calculator::OnBrowseFrom() {
    TakeControls();
    platform::FileDialogRequest request;
    request.title = "Open text file with initial argumentes to calculate";
    request.filter = "*.txt|*.txt||";
    request.defaultExtension = "txt";
    request.initialPath = inputFile.empty() ? "*.txt" : inputFile;
    if (const auto chosen = platform::TheDialogs().OpenFile(request)) {
        inputFile = *chosen;
        outputFile = ResultsFileFor(inputFile);
    }
    RefreshControls();
}

void calculator::OnBrowseTo() {
    TakeControls();
    platform::FileDialogRequest request;
    request.title = "Select file to write results of calculation";
    request.filter = "*.txt|*.txt||";
    request.defaultExtension = "txt";
    request.initialPath = outputFile.empty() ? "*.txt" : outputFile;
    // Results go to a file that may not exist yet, so the dialog lets the user name one.
    if (const auto chosen = platform::TheDialogs().SaveFile(request)) outputFile = *chosen;
    RefreshControls();
}

bool calculator::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        case kDoButton:
            DrawPageButton(item, Rgb(170, 255, 175), Rgb(130, 30, 20));
            return true;
        case kBrowseFromButton:
        case kBrowseToButton:
            DrawPageButton(item, Rgb(0, 128, 0), Rgb(128, 255, 255), &buttonPicture);
            return true;
        default:
            return false;
    }
}

void calculator::OnPaint() { FillPageBackground(*this, kPageBrush); }

ControlColors calculator::OnCtlColor(int controlId) const {
    switch (controlId) {
        case kArgumentEdit:
        case kFromFileEdit:
        case kToFileEdit:
            return TextOn(kEditText, kEditBack, kEditBack);
        case kValuesEdit:
            return TextOn(kEditText, kEditBack, kPageBrush);
        case kSortResultsInCheck:
        case kAscendingCheck:
        case kDescendingCheck:
        case kFileGroup:
        case kFromFileStatic:
        case kToFileStatic:
        case kArgumentStatic:
        case kValuesStatic:
            return TextOn(kLabelText, kPageBrush, kPageBrush);
        default:
            return PageBrushOnly(kPageBrush);
    }
}
