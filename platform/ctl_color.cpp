#include "platform/ctl_color.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/dialog_widgets.h"

namespace platform {

namespace {

// Set on widgets whose look the layer changed, so that a dialog that stops colouring a
// control gets its own look back, and colours set by other code are left alone.
const char* const kColoredProperty = "tabulonCtlColored";

enum class Styling { Filled, Field, None };

Styling StylingOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
        case ControlKind::Picture:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::GroupBox:
        case ControlKind::Slider: return Styling::Filled;
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
        case ControlKind::ListView: return Styling::Field;
        default: return Styling::None;
    }
}

// Text colours stay the style's own while the control is disabled: greyed text tells the user.
void SetTextRole(QPalette& p, QPalette::ColorRole role, const QColor& c) {
    p.setColor(QPalette::Active, role, c);
    p.setColor(QPalette::Inactive, role, c);
}

void Restore(QWidget* widget, bool keepFill) {
    if (!widget->property(kColoredProperty).toBool()) return;
    widget->setProperty(kColoredProperty, false);
    widget->setPalette(QPalette());
    widget->setAutoFillBackground(keepFill);
}

}  // namespace

void ApplyCtlColor(QWidget* widget, ControlKind kind, const CtlColor* colors) {
    if (!widget) return;
    const Styling styling = StylingOf(kind);
    if (!colors || styling == Styling::None) {
        Restore(widget, false);
        return;
    }
    // From the control's natural look, so that colours the dialog no longer gives do not linger.
    QPalette p = QApplication::palette(widget);
    const QColor brush = ToQColor(colors->brush);
    if (styling == Styling::Filled) {
        p.setColor(QPalette::Window, brush);
        p.setColor(widget->backgroundRole(), brush);  // buttons fill with their button colour
        if (colors->hasText) {
            SetTextRole(p, QPalette::WindowText, ToQColor(colors->text));
            SetTextRole(p, QPalette::Text, ToQColor(colors->text));
        }
        widget->setAutoFillBackground(true);
    } else {
        p.setColor(QPalette::Window, brush);
        if (colors->hasText) {
            const QColor text = ToQColor(colors->text);
            const QColor back = ToQColor(colors->back);
            p.setColor(QPalette::Active, QPalette::Base, back);
            p.setColor(QPalette::Inactive, QPalette::Base, back);
            p.setColor(QPalette::Active, QPalette::Button, back);
            p.setColor(QPalette::Inactive, QPalette::Button, back);
            SetTextRole(p, QPalette::Text, text);
            SetTextRole(p, QPalette::ButtonText, text);
            SetTextRole(p, QPalette::WindowText, text);
        }
    }
    // Refreshes come with every Invalidate: an unchanged look is not set again.
    if (widget->property(kColoredProperty).toBool() && p == widget->palette()) return;
    widget->setProperty(kColoredProperty, true);
    widget->setPalette(p);
}

void ApplyBackgroundColor(QWidget* client, const CtlColor* colors) {
    if (!client) return;
    if (!colors) {
        Restore(client, true);
        return;
    }
    QPalette p = client->palette();
    p.setColor(QPalette::Window, ToQColor(colors->brush));
    if (client->property(kColoredProperty).toBool() && p == client->palette()) return;
    client->setProperty(kColoredProperty, true);
    client->setPalette(p);
}

}  // namespace platform

// ---------------------------------------------------------------------------------------------
// The dialog's side: asking the page and restyling its controls.

namespace platform {

void Dialog::RefreshControlColors() {
    if (!client_) return;
    CtlColor page;
    bool colored = false;
    Dispatch([&] { colored = OnCtlColor(0, page); });
    ApplyBackgroundColor(client_.data(), colored ? &page : nullptr);
    if (colored && (!hasPageColor_ || pageColor_ != page.brush) && surface_ && surfaceLocks_ == 0) {
        // What was drawn on the old background goes; the page paints again (OnPaint is queued).
        surface_->Image().fill(ToQColor(page.brush));
        RequestPaint();
        SurfaceChanged();
    }
    hasPageColor_ = colored;
    pageColor_ = page.brush;
    for (const auto& [id, entry] : controls_) RefreshControlColor(id);
}

void Dialog::RefreshControlColor(int id) {
    auto it = controls_.find(id);
    if (it == controls_.end() || !it->second.widget) return;
    CtlColor colors;
    bool colored = false;
    Dispatch([&] { colored = OnCtlColor(id, colors); });
    if (it->second.widget) ApplyCtlColor(it->second.widget, it->second.kind, colored ? &colors : nullptr);
}

}  // namespace platform
