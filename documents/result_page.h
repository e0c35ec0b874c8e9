#pragma once
// The "Results" page: which of the two arrangements of chart and result pane the main window
// uses, the size of exported images, the digits of reported numbers and the result text font.
// The chart painting, the analyses and the main window read its fields directly; the main
// window shows or hides the visible-data option by the data shape. The export buttons and the
// other controls come with the page's own work.
#include <string>

#include "documents/result_settings.h"
#include "platform/dialog.h"
#include "platform/font.h"

class result : public platform::Dialog, public result_settings {
public:
    static constexpr int kTemplateId = 139;

    enum : int {
        kLayoutButton = 1483,      // picture of chart and result box: swaps the two areas
        kVisibleDataCheck = 1122,  // "Statistics is only for data visible at screen"
        kDigitsEdit = 1384,
        kDigitsSpin = 1385,
        kImageWidthEdit = 1210,
        kImageHeightEdit = 1211,
    };

    result();

    result_settings& settings = *this;  // the saved fields

    int changed = 0;
    int chartInMainArea = 1;   // the chart takes the main area, the result pane the strip
    int relayoutRequest = 0;   // the next paint of the main window lays the window out again
    int autoDigits = 1;
    int digits = 2;
    platform::Font font;       // the result text font
    std::string formulaText;   // labels and formulas of the painted models, one per line

    // Button 1483.
    void OnToggleResultText();
    // Check 1122: takes the page's fields as "Ok" does.
    void OnStatisticsVisibleOnly();
    // Shows and enables check 1122, or hides and disables it; the field keeps its value and
    // the page shows its fields again.
    void ShowVisibleDataOption(bool show);

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;

    bool OnDrawItem(platform::DrawItem& item) override;
};

extern result theResult;
