#pragma once
// Colours a dialog gives its controls and its own background (Dialog::OnCtlColor). The layer
// asks for them whenever it styles a control: after OnInitDialog, when the window is shown,
// on Invalidate() of the dialog or of one control, and on RefreshControlColors().
#include "platform/color.h"
#include "platform/dialog_template.h"

class QWidget;

namespace platform {

// Text on a background, and the brush that fills the rest of the control. A control whose
// text the dialog leaves alone keeps hasText false and only gets the brush.
struct CtlColor {
    bool hasText = false;
    ColorRef text = kBlack;
    ColorRef back = kWhite;   // behind the text
    ColorRef brush = kWhite;  // fills the control (the dialog's background for id 0)
};

// Styles one widget as a control of the given kind with those colours; nullptr colours put
// the widget's own look back. Labels, check boxes, radio buttons, group boxes and sliders are
// filled with the brush; edits, combos and lists show their text on `back` and keep their white
// field when only a brush is given (as the classic edit draws its text cells); push buttons,
// spins, scroll bars and tabs keep their look.
void ApplyCtlColor(QWidget* widget, ControlKind kind, const CtlColor* colors);
// The dialog's background: the colour its client area is cleared to.
void ApplyBackgroundColor(QWidget* client, const CtlColor* colors);

}  // namespace platform
