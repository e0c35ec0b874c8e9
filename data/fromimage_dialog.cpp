#include "data/fromimage_dialog.h"

#include <algorithm>
#include <cmath>

#include "data/data_page.h"
#include "data/import_routines.h"
#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/image.h"
#include "platform/pen.h"
#include "platform/system.h"
#include "widgets/page_look.h"

fromimage theFromimage;

namespace {

using platform::ControlKind;
using platform::Point;

constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;
constexpr platform::ColorRef kPictureFrame = 0xC80000;
constexpr platform::ColorRef kPictureBack = 0xFFFAFF;
constexpr platform::ColorRef kChartAreaPen = 0x00FF00;
constexpr platform::ColorRef kDataAreaPen = 0x0000FF;
constexpr platform::ColorRef kPointPen = 0xFF0000;

platform::DialogTemplate FromimageTemplate() {
    platform::DialogTemplate t;
    t.id = fromimage::kTemplateId;
    t.caption = "Set data series from chart";
    t.cx = 560;
    t.cy = 360;
    t.style = platform::kDialogResizable;
    auto& c = t.controls;
    c.push_back({fromimage::kPasteButton, ControlKind::Button, "Paste image from clipboard", 4, 2, 104, 14, kOwnerDraw});
    c.push_back({fromimage::kFromFileButton, ControlKind::Button, "From file", 112, 2, 52, 14, kOwnerDraw});
    c.push_back({fromimage::kUpdateButton, ControlKind::Button, "Update", 168, 2, 52, 14,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({fromimage::kOkButton, ControlKind::Button, "OK", 240, 2, 52, 14, kOwnerDraw});
    c.push_back({fromimage::kCancelButton, ControlKind::Button, "Cancel", 296, 2, 52, 14, kOwnerDraw});
    c.push_back({fromimage::kChartAreaGroup, ControlKind::GroupBox, "Chart area:", 2, 20, 112, 112});
    c.push_back({fromimage::kSelectChartAreaButton, ControlKind::CheckBox, "Select chart area:", 8, 32, 100, 14,
                 platform::kStylePushLike});
    c.push_back({fromimage::kHorizontalLabel, ControlKind::Static, "Horizontal (left, right):", 8, 50, 100, 10});
    c.push_back({fromimage::kHorizontalMinEdit, ControlKind::Edit, "", 8, 62, 48, 12});
    c.push_back({fromimage::kHorizontalMaxEdit, ControlKind::Edit, "", 60, 62, 48, 12});
    c.push_back({fromimage::kVerticalLabel, ControlKind::Static, "Vertical (bottom, top):", 8, 80, 100, 10});
    c.push_back({fromimage::kVerticalMinEdit, ControlKind::Edit, "", 8, 92, 48, 12});
    c.push_back({fromimage::kVerticalMaxEdit, ControlKind::Edit, "", 60, 92, 48, 12});
    c.push_back({fromimage::kChooseDataAreaButton, ControlKind::CheckBox, "Choose data area", 8, 140, 100, 14,
                 platform::kStylePushLike});
    c.push_back({fromimage::kLineButton, ControlKind::Button, "Line", 8, 158, 48, 14, kOwnerDraw});
    c.push_back({fromimage::kMarksButton, ControlKind::Button, "Marks", 60, 158, 48, 14, kOwnerDraw});
    c.push_back({fromimage::kThresholdLabel, ControlKind::Static, "Threshold:", 8, 178, 100, 10});
    c.push_back({fromimage::kThresholdSlider, ControlKind::Slider, "", 8, 190, 100, 14});
    c.push_back({fromimage::kRemoveInsideButton, ControlKind::Button, "Remove points inside", 8, 210, 100, 14, kOwnerDraw});
    c.push_back({fromimage::kRemoveAllButton, ControlKind::Button, "Remove all", 8, 228, 100, 14, kOwnerDraw});
    return t;
}

const platform::DialogTemplateRegistration registration(FromimageTemplate());

int Truncate(double v) { return static_cast<int>(v); }

}  // namespace

fromimage::fromimage() : Dialog(kTemplateId) {
    RouteCommand(kPasteButton, &fromimage::OnPasteImage);
    RouteCommand(kFromFileButton, &fromimage::OnFromFile);
    RouteCommand(kUpdateButton, &fromimage::OnUpdate);
    RouteCommand(kSelectChartAreaButton, &fromimage::OnSelectChartArea);
    RouteCommand(kChooseDataAreaButton, &fromimage::OnChooseDataArea);
    RouteCommand(kLineButton, &fromimage::OnLine);
    RouteCommand(kMarksButton, &fromimage::OnMarks);
    RouteCommand(kRemoveInsideButton, &fromimage::OnRemovePointsInside);
    RouteCommand(kRemoveAllButton, &fromimage::OnRemoveAll);
}

bool fromimage::OnInitDialog() {
    horizontalMin = 0;
    horizontalMax = 1;
    verticalMax = 1;
    verticalMin = 0;
    scaleX = 1;
    scaleY = 1;
    selectingChartArea = 0;
    choosingDataArea = 0;
    dragging = 0;
    displayTop = Control(kUpdateButton).Bounds().Height() + 5;
    displayLeft = Control(kChartAreaGroup).Bounds().Width() + 20;
    platform::Control slider = Control(kThresholdSlider);
    slider.SetRange(1, 255);
    slider.SetPos(50);
    threshold = slider.Pos();
    points.clear();
    SetDefaultButton(kUpdateButton);
    if (folder.empty()) folder = platform::CurrentDirectory();
    UpdateData(false);
    ShowModeButtons();
    const platform::Rect client = ClientRect();
    LayoutPicture(client.Width(), client.Height());
    Invalidate();
    return true;
}

void fromimage::DoDataExchange(platform::Exchange& dx) {
    dx.Double(kHorizontalMinEdit, horizontalMin);
    dx.Double(kHorizontalMaxEdit, horizontalMax);
    dx.Double(kVerticalMinEdit, verticalMin);
    dx.Double(kVerticalMaxEdit, verticalMax);
}

// ---- The picture ------------------------------------------------------------------------

void fromimage::SetPicture(const QImage& image) {
    platform::Bitmap taken;
    taken.Image() = image.convertToFormat(QImage::Format_RGB32);
    if (taken.IsNull()) return;
    picture = std::move(taken);
    const int w = picture.Width();
    const int h = picture.Height();
    chartArea = {Point{5, 5}, Point{w - 5, h - 5}};
    dataArea = {Point{10, 10}, Point{w - 10, h - 10}};
    if (HasWindow()) {
        const platform::Rect client = ClientRect();
        LayoutPicture(client.Width(), client.Height());
        Invalidate();
    }
}

void fromimage::OnPasteImage() {
    if (!platform::HasClipboardImage()) return;
    const QImage image = platform::ClipboardImage();
    if (image.isNull()) return;
    SetPicture(image);
}

void fromimage::OnFromFile() {
    platform::FileDialogRequest request;
    request.title = "Open image file";
    request.filter = "*.*|*.*||";
    request.initialPath = folder;
    request.defaultExtension = "bmp";
    const std::optional<std::string> chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen || chosen->empty()) return;
    const std::string chosenFolder = FolderOfPath(*chosen);
    if (!chosenFolder.empty()) folder = chosenFolder;
    LoadBitmapFile(*chosen);
}

bool fromimage::LoadBitmapFile(const std::string& path) {
    platform::Image image;
    if (!image.Load(path)) {
        platform::MessageBox(image.Error());
        return false;
    }
    SetPicture(image.QtImage());
    return true;
}

void fromimage::LayoutPicture(int clientWidth, int clientHeight) {
    const int roomWidth = clientWidth - displayLeft - 1;
    const int roomHeight = clientHeight - displayTop - 1;
    const int w = picture.Width();
    const int h = picture.Height();
    if (picture.IsNull() || roomWidth < 1 || roomHeight < 1) {
        shownWidth = 0;
        shownHeight = 0;
        scaleX = 1;
        scaleY = 1;
        return;
    }
    if (w <= roomWidth && h <= roomHeight) {
        shownWidth = w;
        shownHeight = h;
        scaleX = 1;
        scaleY = 1;
        return;
    }
    // Each direction on its own: the aspect ratio is not kept.
    shownWidth = std::min(roomWidth, w);
    shownHeight = std::min(roomHeight, h);
    scaleX = static_cast<double>(w) / shownWidth;
    scaleY = static_cast<double>(h) / shownHeight;
}

void fromimage::OnSize(int, int cx, int cy) {
    LayoutPicture(cx, cy);
    Invalidate();
}

bool fromimage::OnCtlColor(int controlId, platform::CtlColor& out) {
    switch (controlId) {
        case 0:  // the dialog itself, as OnPaint fills it
            out = PageBrushOnly(kDialogBrush);
            return true;
        case kHorizontalMinEdit:
        case kHorizontalMaxEdit:
        case kVerticalMinEdit:
        case kVerticalMaxEdit:
            out = TextOn(kEditText, kEditBack, kEditBack);
            return true;
        case kChartAreaGroup:
        case kHorizontalLabel:
        case kVerticalLabel:
        case kThresholdLabel:
        case kThresholdSlider:
            out = TextOn(kLabelText, kDialogBrush, kDialogBrush);
            return true;
        default:
            return false;
    }
}

void fromimage::OnPaint() {
    platform::ClientDC dc(*this);
    const platform::Rect client = ClientRect();
    dc.FillRect(client, kDialogBrush);
    const platform::Rect area{displayLeft, displayTop, client.right - 1, client.bottom - 1};
    if (!area.IsEmpty()) {
        dc.FillRect(area, kPictureBack);
        const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, kPictureFrame));
        dc.MoveTo(area.left, area.top);
        dc.LineTo(area.right, area.top);
        dc.LineTo(area.right, area.bottom);
        dc.LineTo(area.left, area.bottom);
        dc.LineTo(area.left, area.top);
        dc.SelectPen(old);
    }
    PaintImage(dc);
}

void fromimage::PaintImage(platform::Canvas& dc) {
    const platform::Rect client = ClientRect();
    LayoutPicture(client.Width(), client.Height());
    if (picture.IsNull() || shownWidth < 1 || shownHeight < 1) return;
    if (scaleX == 1 && scaleY == 1)
        dc.CopyFrom(displayLeft, displayTop, shownWidth, shownHeight, picture, 0, 0);
    else
        dc.StretchFrom(displayLeft, displayTop, shownWidth, shownHeight, picture, 0, 0, picture.Width(),
                       picture.Height());

    auto frame = [&](const Corners& c, platform::ColorRef color) {
        if (c.first == c.second) return;
        Point a, b;
        ImageToScreen(c.first.x, c.first.y, a);
        ImageToScreen(c.second.x, c.second.y, b);
        const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, color));
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, a.y);
        dc.LineTo(b.x, b.y);
        dc.LineTo(a.x, b.y);
        dc.LineTo(a.x, a.y);
        dc.SelectPen(old);
    };
    frame(chartArea, kChartAreaPen);
    frame(dataArea, kDataAreaPen);
    const platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 3, kPointPen));
    for (const Point& p : points) {
        Point s;
        ImageToScreen(p.x, p.y, s);
        dc.MoveTo(s.x - 3, s.y - 3);
        dc.LineTo(s.x + 3, s.y + 3);
        dc.MoveTo(s.x - 3, s.y + 3);
        dc.LineTo(s.x + 3, s.y - 3);
    }
    dc.SelectPen(old);
}

// ---- Geometry ---------------------------------------------------------------------------

bool fromimage::IsInsideImage(int x, int y) const {
    return x > displayLeft && x < displayLeft + shownWidth && y > displayTop && y < displayTop + shownHeight;
}

bool fromimage::ScreenToImage(int x, int y, Point& out) const {
    if (!IsInsideImage(x, y)) return false;
    out = Point{Truncate((x - displayLeft) * scaleX), Truncate((y - displayTop) * scaleY)};
    return true;
}

bool fromimage::ImageToScreen(int x, int y, Point& out) const {
    out = Point{Truncate(x / scaleX) + displayLeft, Truncate(y / scaleY) + displayTop};
    return IsInsideImage(out.x, out.y);
}

double fromimage::PointX(int i) const {
    Point p, a, b;
    ImageToScreen(points[static_cast<std::size_t>(i)].x, points[static_cast<std::size_t>(i)].y, p);
    ImageToScreen(chartArea.first.x, chartArea.first.y, a);
    ImageToScreen(chartArea.second.x, chartArea.second.y, b);
    const int left = std::min(a.x, b.x);
    const int right = std::max(a.x, b.x);
    if (left == right) return 0;
    return horizontalMin + (horizontalMax - horizontalMin) * (p.x - left) / (right - left);
}

double fromimage::PointY(int i) const {
    Point p, a, b;
    ImageToScreen(points[static_cast<std::size_t>(i)].x, points[static_cast<std::size_t>(i)].y, p);
    ImageToScreen(chartArea.first.x, chartArea.first.y, a);
    ImageToScreen(chartArea.second.x, chartArea.second.y, b);
    const int top = std::min(a.y, b.y);
    const int bottom = std::max(a.y, b.y);
    if (top == bottom) return 0;
    return verticalMin + (verticalMax - verticalMin) * (bottom - p.y) / (bottom - top);
}

// ---- Brightness searches ------------------------------------------------------------------

int fromimage::Brightness(int x, int y) const {
    const QRgb c = reinterpret_cast<const QRgb*>(picture.Image().constScanLine(y))[x];
    return (qRed(c) + qGreen(c) + qBlue(c)) / 3;
}

bool fromimage::BrightnessStatistics(int left, int right, int bottom, int top, double& mean) const {
    if (picture.IsNull() || right < left || bottom < top) return false;
    double sum = 0;
    long long count = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            sum += Brightness(x, y);
            ++count;
        }
    if (count == 0) return false;
    const double m = sum / count;
    double squares = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const double d = Brightness(x, y) - m;
            squares += d * d;
        }
    const double sigma = std::sqrt(squares / count);
    long long within = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (std::fabs(Brightness(x, y) - m) < 2.5 * sigma) ++within;
    if (within == 0) return false;
    mean = m;
    return true;
}

bool fromimage::FindInkCentroid(int cx, int cy, int mean, int limit, Point& out) const {
    if (picture.IsNull()) return false;
    const int x0 = std::clamp(cx - kWindowRadius, 0, picture.Width() - 1);
    const int x1 = std::clamp(cx + kWindowRadius, 0, picture.Width() - 1);
    const int y0 = std::clamp(cy - kWindowRadius, 0, picture.Height() - 1);
    const int y1 = std::clamp(cy + kWindowRadius, 0, picture.Height() - 1);
    long long sx = 0, sy = 0, n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (std::abs(Brightness(x, y) - mean) > limit) {
                sx += x;
                sy += y;
                ++n;
            }
    if (n == 0) return false;
    out = Point{static_cast<int>(sx / n), static_cast<int>(sy / n)};
    return true;
}

bool fromimage::ClampedDataArea(int& left, int& right, int& top, int& bottom) const {
    if (picture.IsNull()) return false;
    left = std::clamp(std::min(dataArea.first.x, dataArea.second.x), 0, picture.Width() - 1);
    right = std::clamp(std::max(dataArea.first.x, dataArea.second.x), 0, picture.Width() - 1);
    top = std::clamp(std::min(dataArea.first.y, dataArea.second.y), 0, picture.Height() - 1);
    bottom = std::clamp(std::max(dataArea.first.y, dataArea.second.y), 0, picture.Height() - 1);
    return left <= right && top <= bottom;
}

void fromimage::OnLine() {
    int left, right, top, bottom;
    double mean;
    if (!ClampedDataArea(left, right, top, bottom) || !BrightnessStatistics(left, right, bottom, top, mean)) return;
    for (int x = left; x <= right; ++x) {
        long long sum = 0, n = 0;
        for (int y = top; y <= bottom; ++y)
            if (std::fabs(Brightness(x, y) - mean) > threshold) {
                sum += y;
                ++n;
            }
        if (n > 0) points.push_back(Point{x, static_cast<int>(sum / n)});
    }
    Invalidate();
}

void fromimage::OnMarks() {
    int left, right, top, bottom;
    double mean;
    if (!ClampedDataArea(left, right, top, bottom) || !BrightnessStatistics(left, right, bottom, top, mean)) return;
    const int m = Truncate(mean);
    const int t = Truncate(threshold);
    for (int x = left; x <= right; x += kGridStep)
        for (int y = bottom; y >= top; y -= kGridStep) {
            Point c;
            if (FindInkCentroid(x, y, m, t, c)) points.push_back(c);
        }
    // Every point, hand-set ones too, moves to the ink around it or goes.
    for (std::size_t k = points.size(); k-- > 0;) {
        Point c;
        if (FindInkCentroid(points[k].x, points[k].y, m, t, c))
            points[k] = c;
        else
            points.erase(points.begin() + static_cast<long>(k));
    }
    Invalidate();
}

void fromimage::OnRemovePointsInside() {
    const int x0 = std::min(dataArea.first.x, dataArea.second.x);
    const int x1 = std::max(dataArea.first.x, dataArea.second.x);
    const int y0 = std::min(dataArea.first.y, dataArea.second.y);
    const int y1 = std::max(dataArea.first.y, dataArea.second.y);
    std::erase_if(points, [&](const Point& p) { return p.x > x0 && p.x < x1 && p.y > y0 && p.y < y1; });
    Invalidate();
}

void fromimage::OnRemoveAll() {
    points.clear();
    Invalidate();
}

void fromimage::OnUpdate() {
    UpdateData(true);
    Invalidate();
}

void fromimage::OnThresholdSlider(int code, int pos) {
    if (code == platform::kScrollThumbPosition || code == platform::kScrollEnd) threshold = pos;
}

void fromimage::OnHScroll(int code, int pos, int controlId) {
    if (controlId == kThresholdSlider) OnThresholdSlider(code, pos);
}

// ---- Area modes and the mouse ---------------------------------------------------------------

void fromimage::ShowModeButtons() {
    Control(kSelectChartAreaButton).SetCheck(selectingChartArea ? 1 : 0);
    Control(kChooseDataAreaButton).SetCheck(choosingDataArea ? 1 : 0);
}

void fromimage::OnSelectChartArea() {
    selectingChartArea = selectingChartArea ? 0 : 1;
    ShowModeButtons();
}

void fromimage::OnChooseDataArea() {
    choosingDataArea = choosingDataArea ? 0 : 1;
    ShowModeButtons();
}

void fromimage::OnLButtonDown(unsigned, Point point) {
    Point p;
    if (!ScreenToImage(point.x, point.y, p)) return;
    if (selectingChartArea) {
        chartArea = {p, p};
        dragging = 1;
    } else if (choosingDataArea) {
        dataArea = {p, p};
        dragging = 1;
    } else {
        ClickPoint(point, platform::KeyDown(platform::kKeyAlt));
    }
}

void fromimage::ClickPoint(Point point, bool alt) {
    Point p;
    if (!ScreenToImage(point.x, point.y, p)) return;
    if (!alt) {
        points.push_back(p);
    } else {
        for (std::size_t k = 0; k < points.size(); ++k) {
            Point s;
            ImageToScreen(points[k].x, points[k].y, s);
            if (std::abs(s.x - point.x) < 5 && std::abs(s.y - point.y) < 5) {
                points.erase(points.begin() + static_cast<long>(k));
                break;
            }
        }
    }
    Invalidate();
}

void fromimage::OnMouseMove(unsigned, Point point) {
    if (!dragging) return;
    Point p;
    if (!ScreenToImage(point.x, point.y, p)) return;
    if (selectingChartArea)
        chartArea.second = p;
    else if (choosingDataArea)
        dataArea.second = p;
    Invalidate();
}

void fromimage::OnLButtonUp(unsigned, Point point) {
    if (!dragging) return;
    Point p;
    const bool inside = ScreenToImage(point.x, point.y, p);
    if (selectingChartArea) {
        if (inside) chartArea.second = p;
        selectingChartArea = 0;
    } else if (choosingDataArea) {
        if (inside) dataArea.second = p;
        choosingDataArea = 0;
    }
    ShowModeButtons();
    dragging = 0;
    Invalidate();
}

bool fromimage::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kPasteButton:
        case kUpdateButton:
        case kFromFileButton:
            DrawPageButton(item, 0xF5FFEB, 0xFF501E);
            return true;
        case kMarksButton:
        case kLineButton:
        case kOkButton:
            DrawPageButton(item, 0x14FF14, 0x0A6E0A);
            return true;
        case kRemoveInsideButton:
        case kRemoveAllButton:
            DrawPageButton(item, 0xF5EBFF, 0xFF1E1E);
            return true;
        case kCancelButton:
            DrawPageButton(item, 0xFFFFFF, 0xFF1E1E);
            return true;
        default:
            return false;
    }
}

// ---- The data command ---------------------------------------------------------------------------

int RunChartDigitiser(data& page) {
    if (theFromimage.RunModal() != platform::kOk) return 0;
    const int n = static_cast<int>(theFromimage.points.size());
    if (n < 1) return 0;
    if (!page.CheckNewSeriesShape(2, page.pendingSeries)) return 0;
    const ImportTicket ticket = TakeImportTicket(page);
    page.importNames = {"x", "y"};
    ImportBuffer buffer;
    for (int i = 0; i < n; ++i) {
        buffer.Append(theFromimage.PointX(i));
        buffer.Append(theFromimage.PointY(i));
    }
    const int added = AddImportedSeries(page, ticket, buffer, n, page.importNames);
    page.importNames.clear();
    page.UpdateButtonStates();
    return added;
}
