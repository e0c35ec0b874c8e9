#pragma once
// The "Legend" page: chart title and axis captions with their fonts and colours, where
// each is placed, and how the formula legend of the fits is shown. The chart frame,
// legend block and axis painters read the fields of theLegend directly.
#include <string>

#include "charts/legend_settings.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/dialog.h"
#include "platform/font.h"

class legend : public platform::Dialog, public legend_settings {
public:
    static constexpr int kTemplateId = 129;

    legend();

    legend_settings& settings = *this;  // the saved fields

    platform::Font titleFont;         // chart title
    platform::Font xCaptionFont;      // x caption and every axis label
    platform::Font yCaptionFontUp;    // y caption when the y axis points up
    platform::Font yCaptionFontDown;  // y caption when the y axis points down
    platform::Font formulaFont;       // formula legend lines
    platform::Font pageFont;          // the page's own controls
    platform::Bitmap buttonBitmap;    // picture on the font buttons
    int changed = 0;
    int titlePointSize = 100;    // tenths of a point, from the title font dialog

    static constexpr int kSliderMin = 0, kSliderMax = 100;
    // Sizes the font dialogs offer, in points.
    static constexpr int kTitleMinPoints = 10, kTitleMaxPoints = 26;
    static constexpr int kOtherMinPoints = 6, kOtherMaxPoints = 18;
    // The page's own colours: its background, and two more kept with it.
    static constexpr platform::ColorRef kPageBackColor = 0xE1FFBE;
    static constexpr platform::ColorRef kSecondColor = 0xFFFF64;
    static constexpr platform::ColorRef kThirdColor = 0xF0FAFF;
    static constexpr platform::ColorRef kLabelTextColor = 0xC80000;
    static constexpr int kButtonPicture = 166;

    // Control ids.
    enum : int {
        kTitleEdit = 1002,
        kTitleFontButton = 1003,
        kXCaptionEdit = 1004,
        kYCaptionEdit = 1005,
        kAxisFontButton = 1006,
        kOkButton = 1008,
        kFormulaFontButton = 1009,
        kShowCheck = 1010,
        kOverlapCheck = 1011,
        kTitleAlignSlider = 1287,
        kXCaptionAlignSlider = 1289,
        kYCaptionAlignSlider = 1290,
        kFormulaAlignSlider = 1291,
    };

    // Controls to fields, changed flag, repaint request.
    void OnOk();
    void OnShowOrOverlap();
    void OnAlignSlider(platform::Notify& n);
    void OnTitleFont();
    void OnAxisFont();
    void OnFormulaFont();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    // The title edit in the title colour and the caption edits in the caption colour, both on
    // the "Chart" page's border-area colour; labels, checks and sliders in 0xC80000 on the
    // page's background; everything else on the page's brush.
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

    // The caption fonts follow one chosen description: the x font as chosen, the up font
    // turned by 90 degrees, the down font by -90 degrees with its glyphs at 90 degrees.
    void SetCaptionFonts(const platform::Font& chosen);
    // The saved font records follow the fonts in use (after every font choice), and the fonts
    // are made anew from the records (after a document was read).
    void StoreFontRecords();
    void ApplyFontRecords();
    // Controls, sliders and fonts from the fields.
    void ShowSettings();
};

extern legend theLegend;
