#pragma once
// The "Results" page: which of the two arrangements of chart and result pane the main window
// uses, the size of exported images, the digits of reported numbers and the result text font,
// and the buttons of the export and report commands. Those buttons carry the main menu's
// command ids and reach the main window's handlers through the page's owner. The chart
// painting, the analyses, the exports and the main window read its fields directly.
#include <string>

#include "documents/result_settings.h"

#include "widgets/page_look.h"
#include "platform/bitmap.h"
#include "platform/dialog.h"
#include "platform/font.h"

class result : public platform::Dialog, public result_settings {
public:
    static constexpr int kTemplateId = 139;
    static constexpr int kMinImageSide = 50;
    static constexpr int kMaxImageSide = 16384;  // larger pictures could not be allocated
    static constexpr int kMaxDigits = 20;

    enum : int {
        kOkButton = 1117,
        kFormulasButton = 1118,
        kVisibleDataCheck = 1122,  // "Statistics is only for data visible at screen"
        kActualSizeCheck = 1209,
        kImageWidthEdit = 1210,
        kImageHeightEdit = 1211,
        kResultScreenGroup = 1325,
        kImageSizeGroup = 1326,
        kCopyGroup = 1327,
        kReportGroup = 1328,
        kAutoDigitsCheck = 1383,
        kDigitsEdit = 1384,
        kDigitsSpin = 1385,
        kHorizontalStatic = 1442,
        kVerticalStatic = 1444,
        kFontButton = 1482,
        kLayoutButton = 1483,  // picture of chart and result box: swaps the two areas
        // Buttons that carry the main menu's commands.
        kCopyScreenCommand = 32779,
        kCopyContentCommand = 32781,
        kSaveScreenCommand = 32785,
        kWordReportCommand = 32787,
        kHtmlReportCommand = 32793,
        kCopyCoefficientsCommand = 32803,
    };

    result();

    std::string fittedFormulasText;  // formula lines of the painted models, each ended by "\n"
    std::string& formulaText = fittedFormulasText;  // the name the earlier painters use
    platform::Font font;             // the result text font
    platform::Bitmap fontPicture;    // on button 1482
    int chartInMainArea = 1;   // the chart takes the main area, the result pane the strip
    int relayoutRequest = 0;   // the next paint of the main window lays the window out again
    int changed = 0;
    // Saved: visibleDataOnly, actualScreenSize (exported images take the chart's size), imageWidth, imageHeight.
    result_settings& settings = *this;
    int autoDigits = 1;        // "auto number of digits"
    int digits = 2;            // used when autoDigits is off, 1 to 20

    void OnOk();
    // Checks 1122 and 1383: as "Ok".
    void OnStatisticsVisibleOnly();
    // Check 1209: the size edits are typed into only while it is off.
    void OnActualSizeOfScreen();
    void OnDeltaposDigitsSpin(platform::Notify& n);
    void OnChooseFont();
    // Button 1483.
    void OnToggleResultText();
    // "Formulas": the formula lines to the clipboard.
    void OnCopyFormulas();
    // Shows and enables check 1122, or hides and disables it; the field keeps its value and
    // the page shows its fields again.
    void ShowVisibleDataOption(bool show);
    // The image size an export paints at: each side at least 50 and at most 16384 pixels, the
    // height by its absolute value. A side that had to change is written back and shown.
    void ClampImageSize();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnCommand(int id, platform::Notification code) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    void RequestRepaint();
    void EnableDigitControls();
};

extern result theResult;
