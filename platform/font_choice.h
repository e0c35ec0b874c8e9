#pragma once
// The font dialog of the dialog service: Qt's font dialog inside a small frame of ours that
// adds what the program asks of it and Qt's dialog lacks: limits on the sizes offered and the
// text colour. Internal to the layer; the program calls Dialogs::ChooseFont.
#include <QDialog>
#include <QFont>

#include "platform/dialogs.h"

class QFontDialog;
class QLineEdit;
class QPushButton;

namespace platform {

class FontChoiceDialog : public QDialog {
public:
    FontChoiceDialog(const FontRequest& request, QWidget* parent);

    // The font, colour and size as they stand (what OK hands back).
    FontChoice Choice() const;
    // As if the user picked the font, or the colour through the colour button.
    void SetCurrentFont(const QFont& font);
    void SetColor(ColorRef color);
    QFontDialog* FontDialog() const { return fonts_; }

private:
    void FontChanged(const QFont& font);
    void PickColor();
    void ShowColor();
    // Whole points clamped into the request's limits.
    int LimitedPoints(double points) const;
    // Makes Qt's sample line high enough for `font`'s face at the largest size offered.
    void FitSample(const QFont& font);

    FontRequest request_;
    QFontDialog* fonts_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    QLineEdit* sample_ = nullptr;
    ColorRef color_;
    bool adjusting_ = false;
    QFont opened_;              // what the dialog showed first: OK on it keeps the request's font
    bool sizeLimited_ = false;  // the request's size lay outside the limits
};

// The record of a font picked in Qt's dialog: the face, a character height in pixels at the
// screen's 96 pixels per inch (negative, as stored records keep it), weight and style flags;
// the other fields stay as in `initial`.
Font FontFromQt(const QFont& q, const Font& initial);
// Tenths of a point of a record's character height at 96 pixels per inch.
int PointSizeTenths(const Font& f);

}  // namespace platform
