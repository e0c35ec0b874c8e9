#include "fitting/sinaldlg_page.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "charts/d3view_page.h"
#include "widgets/owner_button.h"
#include "charts/text_label_list.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/format.h"
#include "platform/requests.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
sinaldlg theSinaldlg;

namespace {

using platform::ControlKind;
using platform::Rect;
using platform::Rgb;

constexpr platform::ColorRef kPageBrush = Rgb(30, 30, 205);
constexpr platform::ColorRef kLightText = Rgb(100, 255, 255);
constexpr platform::ColorRef kEditBack = Rgb(255, 250, 240);

platform::DialogTemplate PeaksTemplate() {
    platform::DialogTemplate t;
    t.id = sinaldlg::kTemplateId;
    t.caption = "Peaks";
    t.cx = 210;
    t.cy = 190;
    t.style = platform::kDialogChild;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {sinaldlg::kNoiseFactorEdit, ControlKind::Edit, "", 100, 18, 40, 12},
        {sinaldlg::kSpikeWidthEdit, ControlKind::Edit, "", 100, 40, 40, 12},
        {sinaldlg::kChromatogramCheck, ControlKind::CheckBox, "only chromatograms peaks", 8, 62, 120, 10},
        {sinaldlg::kBaseLineLabel, ControlKind::Static, "Correction of base line:", 8, 78, 90, 10},
        {sinaldlg::kBaseLineCombo, ControlKind::ComboBox, "", 100, 76, 104, 70},
        {sinaldlg::kPictureButton, ControlKind::Button, "", 8, 94, 134, 83, owner},
        {sinaldlg::kMoreButton, ControlKind::Button, ">>", 158, 146, 46, 14, owner},
        {sinaldlg::kOkButton, ControlKind::Button, "Ok", 158, 163, 46, 14, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(PeaksTemplate());

// A vertical or horizontal double arrow in green on the picture.
void DoubleArrow(platform::Canvas& dc, platform::Point a, platform::Point b) {
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, Rgb(0, 160, 0)));
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
    const bool vertical = a.x == b.x;
    for (const platform::Point& end : {a, b}) {
        const int s = (end.x == a.x && end.y == a.y) ? 1 : -1;
        if (vertical) {
            dc.MoveTo(end.x - 4, end.y + 5 * s);
            dc.LineTo(end.x, end.y);
            dc.LineTo(end.x + 4, end.y + 5 * s);
        } else {
            dc.MoveTo(end.x + 5 * s, end.y - 4);
            dc.LineTo(end.x, end.y);
            dc.LineTo(end.x + 5 * s, end.y + 4);
        }
    }
    dc.SelectPen(old);
}

}  // namespace

sinaldlg::sinaldlg() : Dialog(kTemplateId) {
    RouteCommand(kOkButton, &sinaldlg::OnOk);
    RouteCommand(kMoreButton, &sinaldlg::OnMore);
    RouteCommand(kChromatogramCheck, &sinaldlg::OnOnlyChromatogramsPeaks);
    Route(kBaseLineCombo, platform::Notification::SelChange, &sinaldlg::OnOnlyChromatogramsPeaks);
}

const std::array<Rect, sinaldlg::kHotSpotCount>& sinaldlg::HotSpotsInPicture() {
    static const std::array<Rect, kHotSpotCount> spots = {{
        {122, 107, 151, 124},  // spike width - 1
        {151, 107, 179, 124},  // spike width + 1
        {180, 29, 199, 50},    // noise factor x 1.1
        {180, 49, 199, 68},    // noise factor x 0.9
    }};
    return spots;
}

platform::Bitmap sinaldlg::MakePicture() {
    platform::Bitmap bmp(kPictureWidth, kPictureHeight, Rgb(255, 255, 255));
    platform::Canvas dc(bmp);
    // The signal: noise on a base line, a tall narrow spike and two broad peaks.
    std::vector<platform::Point> line;
    for (int x = 4; x < 172; x += 2) {
        double y = 92 + 3 * std::sin(x * 1.7) + 2 * std::cos(x * 0.9);
        y -= 55 * std::exp(-((x - 60) * (x - 60)) / 120.0);
        y -= 40 * std::exp(-((x - 125) * (x - 125)) / 150.0);
        if (x == 30) y = 20;  // the spike
        line.push_back({x, static_cast<int>(y)});
    }
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, Rgb(0, 0, 0)));
    dc.Polyline(line);
    // Accepted peaks get a green tick, the spike a red cross.
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, Rgb(0, 170, 0)));
    for (int cx : {60, 125}) {
        dc.MoveTo(cx - 5, 22);
        dc.LineTo(cx - 1, 27);
        dc.LineTo(cx + 6, 16);
    }
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, Rgb(220, 0, 0)));
    dc.MoveTo(25, 6);
    dc.LineTo(35, 16);
    dc.MoveTo(35, 6);
    dc.LineTo(25, 16);
    dc.SelectPen(old);
    // The two pads on grey: the noise ratio (upper half up, lower half down) and the spike width.
    dc.FillRect({180, 29, 199, 68}, Rgb(200, 200, 200));
    dc.FillRect({122, 107, 179, 124}, Rgb(200, 200, 200));
    DoubleArrow(dc, {189, 32}, {189, 65});
    DoubleArrow(dc, {125, 115}, {176, 115});
    return bmp;
}

bool sinaldlg::OnInitDialog() {
    SetKeysEndDialog(false);
    moreRequest = 0;
    SetDefaultButton(kOkButton);
    platform::Control combo = Control(kBaseLineCombo);
    for (const char* item : {"none", "y=a*x+b", "y=a*x^2+b*x+c", "y=a*exp(-x)+b", "y=a*exp(-x)+b*exp(-x)^2+c"}) {
        combo.AddString(item);
    }
    picture = MakePicture();
    ScaleHotSpots();
    pressedSpots.fill(0);
    UpdateData(false);
    changed = 1;
    Invalidate();
    platform::PostRepaintRequest();
    return true;
}

void sinaldlg::ScaleHotSpots() {
    const Rect button = Control(kPictureButton).Bounds();
    const double fx = static_cast<double>(button.Width()) / picture.Width();
    const double fy = static_cast<double>(button.Height()) / picture.Height();
    for (int k = 0; k < kHotSpotCount; ++k) {
        hotSpots[static_cast<size_t>(k)] = d3view::ScaleRect(HotSpotsInPicture()[static_cast<size_t>(k)], fx, fy);
    }
}

void sinaldlg::DoDataExchange(platform::Exchange& dx) {
    dx.Int(kSpikeWidthEdit, spikeWidth);
    dx.Double(kNoiseFactorEdit, noiseFactor);
    dx.Check(kChromatogramCheck, chromatogramOnly);
    dx.ComboIndex(kBaseLineCombo, baseLine);
}

void sinaldlg::OnOk() {
    changed = 1;
    UpdateData(true);
    platform::PostRepaintRequest();
}

void sinaldlg::OnMore() {
    moreRequest = 1;
    OnOk();
}

void sinaldlg::OnOnlyChromatogramsPeaks() { OnOk(); }

void sinaldlg::StepSpikeWidth(int direction) {
    spikeWidth += direction < 1 ? -1 : 1;
    if (spikeWidth < 3) spikeWidth = 3;
    UpdateData(false);
    OnOk();
}

void sinaldlg::StepNoiseFactor(int direction) {
    noiseFactor *= direction > 0 ? 1.1 : 0.9;
    noiseFactor = std::atof(platform::Format("%.2g", noiseFactor).c_str());
    UpdateData(false);
    OnOk();
}

void sinaldlg::HitTestPicture(platform::Point p) {
    pressedSpots.fill(0);
    for (int k = 0; k < kHotSpotCount; ++k) {
        const Rect& r = hotSpots[static_cast<size_t>(k)];
        if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) continue;
        pressedSpots[static_cast<size_t>(k)] = 1;
        switch (k) {
            case 0: StepSpikeWidth(0); break;
            case 1: StepSpikeWidth(1); break;
            case 2: StepNoiseFactor(1); break;
            default: StepNoiseFactor(-1); break;
        }
    }
}

bool sinaldlg::PreTranslateInput(const platform::InputEvent& input) {
    if (input.controlId != kPictureButton) return false;
    // Each press steps once, a double click twice.
    if (input.kind == platform::InputEvent::LButtonDown || input.kind == platform::InputEvent::LButtonDblClk) {
        const Rect button = Control(kPictureButton).Bounds();
        pressed = 1;
        HitTestPicture({input.point.x - button.left, input.point.y - button.top});
    } else if (input.kind == platform::InputEvent::LButtonUp) {
        pressed = 0;
        Control(kPictureButton).Invalidate();
    }
    return false;
}

bool sinaldlg::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    switch (item.controlId) {
        case kPictureButton: {
            const Rect& r = item.rect;
            dc.StretchFrom(r.left, r.top, r.Width(), r.Height(), picture, 0, 0, picture.Width(), picture.Height());
            for (int k = 0; k < kHotSpotCount; ++k) {
                const Rect& s = hotSpots[static_cast<size_t>(k)];
                DrawButtonEdge(dc, {r.left + s.left, r.top + s.top, r.left + s.right, r.top + s.bottom},
                               pressed && item.pressed && pressedSpots[static_cast<size_t>(k)]);
            }
            return true;
        }
        case kMoreButton:
            DrawPageButton(item, kLightText, kPageBrush);
            return true;
        case kOkButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10));
            return true;
        default:
            return false;
    }
}

void sinaldlg::OnPaint() {
    FillPageBackground(*this, kPageBrush);
    if (!HasWindow()) return;
    platform::ClientDC dc(*this);
    dc.SetBkMode(platform::BkMode::Transparent);
    const Rect page = ClientRect();
    const Rect noise = Control(kNoiseFactorEdit).Bounds();
    const Rect spike = Control(kSpikeWidthEdit).Bounds();
    DrawFramedText(dc, "Filter peaks:", noise.left - 120, noise.top - 4, noise.left + 100, noise.top + 85, kLightText,
                   3);
    textLabelList& labels = peakTextLabels;
    labels.Clear();
    labels.Add("I", 0, 0);
    labels.Add("max", 1, 1);
    labels.Add("/I", 0, 0);
    labels.Add("noise", 1, 1);
    labels.Add("=", 0, 0);
    labels.DrawBeside(dc, page, noise, kLightText);
    labels.Clear();
    labels.Add("N", 0, 0);
    labels.Add("spike", 1, 1);
    labels.Add("=", 0, 0);
    labels.DrawBeside(dc, page, spike, kLightText);
}

bool sinaldlg::OnCtlColor(int controlId, platform::CtlColor& out) {
    switch (controlId) {
        case kSpikeWidthEdit:
        case kNoiseFactorEdit:
            out = TextOn(kPageBrush, kEditBack, kEditBack);
            return true;
        case kChromatogramCheck:
        case kBaseLineLabel:
            out = TextOn(kLightText, kPageBrush, kPageBrush);
            return true;
        default:
            out = PageBrushOnly(kPageBrush);
            return true;
    }
}

void sinaldlg::ShowSettings() { UpdateData(false); }
