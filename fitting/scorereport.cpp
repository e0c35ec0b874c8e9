#include "fitting/scorereport.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include <QImage>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/clipboard.h"
#include "platform/ctl_color.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/font.h"
#include "platform/pen.h"
#include "platform/requests.h"
#include "platform/word_document.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
scorereport theScorereport;

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::Rgb;

constexpr platform::ColorRef kLabelBack = Rgb(225, 200, 200);
constexpr platform::ColorRef kGridColor = Rgb(220, 255, 220);
constexpr platform::ColorRef kGainColor = Rgb(0, 0, 220);
constexpr platform::ColorRef kRateColor = Rgb(255, 25, 0);
constexpr platform::ColorRef kDiagonalColor = Rgb(0, 220, 220);
constexpr platform::ColorRef kLabelColor = Rgb(60, 80, 220);
constexpr const char* kCloseQuestion =
    "After closing this dialog you will be able to paste score recipe from clipboard\nbut not a 'lifting "
    "picture'. Copy/paste a picture in clipboard before closing if need it.\nDo close?";

// The chart takes the top of the dialog (a square as wide as the client less 60 pixels);
// the recipe and the buttons sit below it.
platform::DialogTemplate ScoreReportTemplate() {
    platform::DialogTemplate t;
    t.id = scorereport::kTemplateId;
    t.caption = "Scoring";
    t.cx = 260;
    t.cy = 345;
    t.style = platform::kDialogPopup;
    t.controls = {
        ControlTemplate{scorereport::kRecipeEdit, ControlKind::Edit, "", 7, 222, 246, 80,
                        platform::kStyleMultiline},
        ControlTemplate{scorereport::kCloseButton, ControlKind::Button, "Close", 7, 308, 58, 14},
        ControlTemplate{scorereport::kCopyRecipeButton, ControlKind::Button, "Copy of recipe", 69, 308, 58, 14},
        ControlTemplate{scorereport::kCopyChartButton, ControlKind::Button, "Copy chart", 131, 308, 58, 14},
        ControlTemplate{scorereport::kWordReportButton, ControlKind::Button, "Word report", 193, 308, 60, 14},
        ControlTemplate{scorereport::kScoreFileButton, ControlKind::Button, "Score data in file", 7, 326, 72, 14},
        ControlTemplate{scorereport::kTakeOnlyLabel, ControlKind::Static, "Take only:", 85, 328, 40, 10},
        ControlTemplate{scorereport::kTakeOnlyEdit, ControlKind::Edit, "", 127, 326, 28, 13},
        ControlTemplate{scorereport::kBestScoresLabel, ControlKind::Static, "% with best scores", 159, 328, 80, 10},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(ScoreReportTemplate());

// The product as 64-bit integers, then the integer quotient: counts times pixels stay exact
// for any record count.
int Scaled(std::int32_t count, int pixels, std::int32_t total) {
    return static_cast<int>(static_cast<std::int64_t>(count) * pixels / total);
}

}  // namespace

scorereport::scorereport() : Dialog(kTemplateId) {
    RouteCommand(kCloseButton, &scorereport::CloseButton);
    RouteCommand(kCopyRecipeButton, &scorereport::OnCopyOfRecipe);
    RouteCommand(kCopyChartButton, &scorereport::OnCopyChart);
    RouteCommand(kWordReportButton, &scorereport::OnWordReport);
    RouteCommand(kScoreFileButton, &scorereport::OnScoreDataInFile);
}

bool scorereport::OnInitDialog() {
    UpdateData(false);
    Invalidate();  // the chart is painted at once
    return true;
}

void scorereport::DoDataExchange(platform::Exchange& ex) {
    ex.Text(kRecipeEdit, recipeText);
    int percent = takeOnlyPercent;
    ex.Int(kTakeOnlyEdit, percent);
    ex.Range(percent, 1, 100);
    if (!ex.Failed()) takeOnlyPercent = percent;
}

bool scorereport::OnCtlColor(int controlId, platform::CtlColor& out) {
    if (controlId != kTakeOnlyLabel && controlId != kBestScoresLabel) return false;
    out.hasText = true;
    out.text = platform::kBlack;
    out.back = kLabelBack;
    out.brush = kLabelBack;
    return true;
}

void scorereport::PaintChart(platform::Canvas& dc, int width, int height) const {
    dc.FillRect(platform::Rect{-5, -5, width + 5, 2 * height + 5}, platform::kWhite);
    if (totalRecords < 1 || positiveRecords < 1) return;
    const int w = width - 80, h = height - 80;
    const int left = 40, right = 40 + w, bottom = height - 40, top = bottom - h;

    const platform::Pen oldPen = dc.SelectPen(platform::Pen(platform::PenStyle::Dash, 0, kGridColor));
    for (int i = 0; i <= 10; ++i) {
        const int x = 40 + (i * w) / 10;
        dc.MoveTo(x, bottom);
        dc.LineTo(x, top);
        const int y = bottom - (i * h) / 10;
        dc.MoveTo(left, y);
        dc.LineTo(right, y);
    }
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, platform::kBlack));
    dc.MoveTo(left, top);
    dc.LineTo(right, top);
    dc.LineTo(right, bottom);
    dc.LineTo(left, bottom);
    dc.LineTo(left, top);

    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, kGainColor));
    dc.MoveTo(left, bottom);
    for (int k = 100; k >= 0; --k)
        dc.LineTo(left + Scaled(allCounts[k], w, totalRecords), bottom - Scaled(positiveCounts[k], h, positiveRecords));

    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, kRateColor));
    int y = bottom;
    for (int k = 99; k >= 0; --k) {
        const int x = left + Scaled(allCounts[k], w, totalRecords);
        if (allCounts[k] > 0) y = bottom - Scaled(positiveCounts[k], h, allCounts[k]);
        if (k == 99)
            dc.MoveTo(x, y);
        else
            dc.LineTo(x, y);
    }

    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, kDiagonalColor));
    dc.MoveTo(left, bottom);
    dc.LineTo(right, top);
    dc.SelectPen(oldPen);

    const platform::Font oldFont = dc.SelectFont(platform::Font::Make("Times New Roman", 16));
    const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
    const platform::ColorRef oldColor = dc.SetTextColor(kLabelColor);
    dc.TextOut(35, bottom + 5, "0");
    dc.TextOut(right - 5, bottom + 5, "100");
    dc.TextOut(50, bottom + 15, "Population of records with best scores (%)");
    dc.TextOut(5, top, "100");
    dc.SetTextColor(kGainColor);
    dc.TextOut(10, 1, "Records with best scores among positively responded (%)");
    dc.SetTextColor(kRateColor);
    dc.TextOut(10, 20, "Part of records with positive response (%)");
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
    dc.SelectFont(oldFont);
}

platform::Bitmap scorereport::ChartBitmap() const {
    const int side = std::max(ClientRect().Width() - 60, 1);
    platform::Bitmap bitmap(side, side);
    platform::Canvas dc(bitmap);
    PaintChart(dc, side, side);
    return bitmap;
}

void scorereport::OnPaint() {
    if (!HasWindow() || totalRecords < 1 || positiveRecords < 1) return;
    const platform::Bitmap chart = ChartBitmap();
    platform::ClientDC dc(*this);
    dc.CopyFrom(30, 30, chart.Width(), chart.Height(), chart, 0, 0);
}

void scorereport::OnCopyOfRecipe() {
    while (!recipeText.empty() && recipeText.back() == '\n') recipeText.pop_back();
    if (!recipeText.empty()) platform::SetClipboardText(recipeText);
}

void scorereport::OnCopyChart() { platform::SetClipboardImage(ChartBitmap().Image()); }

void scorereport::OnWordReport() {
    // Any failure of the document writer ends here as a message, never in the event loop.
    std::string error;
    try {
        platform::WordDocument document;
        document.AddParagraph();
        OnCopyChart();
        document.Paste();
        document.TypeText("\n");
        OnCopyOfRecipe();
        if (!recipeText.empty()) document.Paste();
        if (!platform::OpenWordDocument(document, error).empty()) return;
    } catch (const std::exception& e) {
        error = e.what();
    }
    platform::MessageBox("The mistake at start of MS Word?!" + (error.empty() ? std::string() : "\n" + error));
}

void scorereport::OnScoreDataInFile() {
    if (!UpdateData(true)) return;
    scoreFileRequest = 1;
    platform::PostRepaintRequest();
}

void scorereport::CloseButton() {
    if (platform::MessageBox(kCloseQuestion, platform::kButtonsOkCancel | platform::kIconWarning) !=
        platform::kOk)
        return;
    OnCopyOfRecipe();
    OnOK();
}

void scorereport::OnClose() { CloseButton(); }
