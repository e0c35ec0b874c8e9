#pragma once
// The "View" page: the ranges shown on the chart (x, y and a third axis z for colour or
// height), Autozoom, the colour scale and the view switches. Painters read its fields
// directly; the chart frame takes the ranges from it unless Autozoom is on, and the chart
// paint writes the computed ranges back while it is on. The main window hands it the shape
// of the first series, and the page shows the controls that fit that shape. Two picture
// pads move and scale the ranges by clicks.
#include <array>
#include <string>

#include "charts/xyview_settings.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "widgets/page_look.h"

class xyview : public platform::Dialog, public xyview_settings {
public:
    static constexpr int kTemplateId = 136;

    enum : int {
        kOkButton = 1055,
        kXMinEdit = 1060,
        kXMaxEdit = 1062,
        kYMinEdit = 1064,
        kYMaxEdit = 1066,
        kAutozoomCheck = 1068,
        kStepEdit = 1071,
        kStepSpin = 1072,
        kPercentLabel = 1073,
        kZMinEdit = 1077,
        kZMaxEdit = 1079,
        kHighButton = 1099,
        kLowButton = 1100,
        kColorStepsLabel = 1101,
        kColorStepsEdit = 1102,
        kColorStepsSpin = 1103,
        kParameterCombo = 1104,
        kValueOnlyButton = 1105,  // three-dimensional view of data without arguments
        kHistogramButton = 1279,
        kRangePad = 1296,
        kZPad = 1297,
        kNoDataLabel = 1299,
        kColorMapButton = 1300,
    };

    static constexpr int kRangeZoneCount = 14;
    static constexpr int kZZoneCount = 6;
    // Sizes of the pad pictures; the zones are given in their pixels.
    static constexpr int kRangePictureWidth = 188, kRangePictureHeight = 123;
    static constexpr int kZPictureWidth = 96, kZPictureHeight = 83;

    // Colours of the page (0x00BBGGRR).
    static constexpr platform::ColorRef kEditBackManual = 0xFAFFFF;
    static constexpr platform::ColorRef kEditBackAuto = 0xDEE6DC;
    static constexpr platform::ColorRef kLabelBack = 0xFFFAFA;
    static constexpr platform::ColorRef kTextManual = 0x696400;
    static constexpr platform::ColorRef kNoDataText = 0x2832FF;
    static constexpr platform::ColorRef kOkFace = 0x14FF14;
    static constexpr platform::ColorRef kOkCaption = 0x0A6E0A;
    static constexpr platform::ColorRef kButtonFace = 0xDCDCDC;

    xyview();

    xyview_settings& settings = *this;  // the saved fields

    // ---- Fields, in the page's order -----------------------------------------------------
    int changed = 0;
    unsigned stepPercent = 5;    // step of the pads in percent of the range
    std::string numberText;      // scratch text of the rounding
    double xStep = 0, yStep = 0, zStep = 0;  // steps of the last pad click
    platform::Font pageFont;
    // Pictures: the range pad, the z pad, High/Low, colour map off and on, histogram off and
    // on, button 1105 (drawn by the page itself).
    std::array<platform::Bitmap, 8> pictures;
    std::array<platform::Rect, kRangeZoneCount> rangePadZones{};
    std::array<int, kRangeZoneCount> rangeZonePressed{};
    std::array<platform::Rect, kZZoneCount> zPadZones{};
    std::array<int, kZZoneCount> zZonePressed{};
    int padPressed = 0;
    int zControlsShown = 0;      // the z pad, the z edits and buttons 1105 and 1300 are shown
    int twoValueColorMap = 0;    // no argument, two values and the colour map on
    int fitSchemeChosen = 0;     // a several-argument fit scheme is chosen (written by the main window)
    int argumentCount = 0;       // the shape last given to SetDataShape
    int valueCount = 0;
    // The tab rules and the one-value views know the two view switches by these names.
    int& twoVariableView = show3D;
    int& mode3D = colorMapMode;

    // ---- Shape and presets -------------------------------------------------------------------
    // The argument and value counts of the first series: stores them, shows the controls
    // that fit them.
    void SetDataShape(int arguments, int values);
    void ReapplyDataShape() { SetDataShape(argumentCount, valueCount); }
    // The presets the main window applies when it switches views.
    void PresetPlain();           // data of one argument (or several without a fit scheme in 3-D)
    void PresetTwoValues();       // no argument, two values
    void PresetSeveralArguments();  // a several-argument fit scheme is applied
    // Button 1105 is shown only while the data have no argument (or with the z controls).
    void UpdateValueOnlyButton();

    // ---- Control groups ------------------------------------------------------------------------
    void ShowRangeControls(bool v);
    void ShowZControls(bool v);
    void ShowColorControls(bool v);
    void EnableRangeEdits(bool e);
    void ShowRangeEdits();
    void ShowModeControls();

    // ---- Handlers --------------------------------------------------------------------------------
    void OnOk();
    void OnParameterChange();
    void OnAutozoom();
    void OnStepSpin(platform::Notify& n);
    void OnColorStepsSpin(platform::Notify& n);
    void OnLow();
    void OnHigh();
    void OnHistogram();
    void OnColorMapMode();
    void OnButton1105();
    // The spins' steps on the fields (delta as the spin reports it).
    void StepPercent(int delta);
    void StepColorSteps(int delta);

    // ---- Pads -------------------------------------------------------------------------------------
    // A click at a point of a pad (pad pixels): every zone holding it acts, then the bounds
    // are tidied and applied. Nothing happens while Autozoom is on.
    void ClickRangePad(platform::Point p);
    void ClickZPad(platform::Point p);
    void StepXMax(int sign);
    void StepXMin(int sign);
    void StepYMax(int sign);
    void StepYMin(int sign);
    void StepZMax(int sign);
    void StepZMin(int sign);
    // Orders the bounds, rounds them to six significant digits and shows them.
    void TidyRanges();
    // The zones in picture pixels, then scaled to pads of the given sizes.
    void ResetZones();
    void ScaleZones(int rangeWidth, int rangeHeight, int zWidth, int zHeight);

    // ---- Look ---------------------------------------------------------------------------------------
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }
    bool OnDrawItem(platform::DrawItem& item) override;
    bool PreTranslateInput(const platform::InputEvent& input) override;
    void OnPaint() override;

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;

private:
    // Reads the controls; false (with a message) when a shown pair of bounds is not ordered.
    bool ReadFields();
    void Apply();
    void DrawPad(platform::DrawItem& item, const platform::Bitmap& picture, const platform::Rect* zones,
                 int* pressed, int count);
    int stepEdit_ = 5;  // the step as the exchange reads it (signed, checked 0..50)
};

extern xyview theXyview;

// The pictures of the View page, drawn by the program (index as in xyview::pictures).
enum ViewPicture : int {
    kPictureRangePad = 0,
    kPictureZPad = 1,
    kPictureHighLow = 2,
    kPictureColorMapOff = 3,
    kPictureColorMapOn = 4,
    kPictureHistogramOff = 5,
    kPictureHistogramOn = 6,
    kPictureValueOnly = 7,
};
platform::Bitmap MakeViewPicture(int which);
