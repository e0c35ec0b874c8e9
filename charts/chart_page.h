#pragma once
// The "Chart" page: colours of the chart's areas and lines, border and grid widths,
// minor tick marks, tick intervals per axis and the width of fitted curves. The
// painters read the fields of theChart directly; the page paints nothing on the chart.
#include "charts/chart_settings.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/dialog.h"
#include "platform/font.h"

class chart : public platform::Dialog, public chart_settings {
public:
    static constexpr int kTemplateId = 132;

    chart();

    chart_settings& settings = *this;  // the saved fields

    platform::ColorRef gridLineColor = 0;           // grid lines
    int changed = 0;
    platform::Font pageFont;                        // the page's own controls
    platform::Bitmap buttonBitmap;                  // picture on the owner-drawn buttons
    int showSlashes = 1;                            // "Show slashes"
    int borderWidthEdit = 2;                        // "Border lines:" edit
    int gridWidthEdit = 1;                          // "Grid lines:" edit; 3-D line width
    int intervals = 6;                              // "Intervals:" tick intervals per axis

    static constexpr int kMinLineWidth = 0, kMaxLineWidth = 10;
    static constexpr int kMinIntervals = 2, kMaxIntervals = 30;
    static constexpr int kMinFittingWidth = 1, kMaxFittingWidth = 7;
    static constexpr platform::ColorRef kPageBackColor = 0xAFE1B4;
    static constexpr platform::ColorRef kPageTextColor = 0x196914;
    static constexpr int kButtonPicture = 161;

    // Control ids.
    enum : int {
        kChartAreaButton = 1011,
        kBorderAreaButton = 1012,
        kOkButton = 1013,
        kShowSlashesCheck = 1015,
        kBorderLinesEdit = 1016,
        kBorderLinesSpin = 1017,
        kBorderLineColorButton = 1018,
        kGridLinesEdit = 1019,
        kGridLinesSpin = 1020,
        kGridLineColorButton = 1021,
        kFittingLinesEdit = 1022,
        kFittingLinesSpin = 1023,
        kIntervalsEdit = 1075,
        kIntervalsSpin = 1076,
    };

    // Controls to fields, changed flag, repaint request.
    void Apply();
    void OnOk();
    void OnBorderLinesSpin(platform::Notify& n);
    void OnGridLinesSpin(platform::Notify& n);
    void OnIntervalsSpin(platform::Notify& n);
    void OnFittingLinesSpin(platform::Notify& n);
    void OnChartAreaColor();
    void OnBorderAreaColor();
    void OnBorderLineColor();
    void OnGridLineColor();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    // Every control and the page on the page's brush; the labels, the width edits and the
    // check box also in the page's text colour.
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

    // The arithmetic of the spins (delta < 0 is the up arrow); each returns the new value.
    int StepBorderWidth(int delta);
    int StepGridWidth(int delta);
    int StepIntervals(int delta);
    int StepFittingLineWidth(int delta);
    // "Ok": the typed widths become the widths in use, clamped, and are written back.
    void AcceptTypedWidths();
    // Caption colour on an owner-drawn colour button: white on a dark face.
    static platform::ColorRef CaptionColorOnFace(platform::ColorRef face);

private:
    // Opens the colour dialog on `field`; a cancelled dialog leaves it as it was.
    void ChooseColorInto(platform::ColorRef& field, int buttonId);
};

extern chart theChart;
