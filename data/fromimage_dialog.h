#pragma once
// "Set data series from chart": the chart digitiser. The user shows a picture of a chart
// (pasted or from a file), marks the chart's frame and the value range of each axis, and
// picks points by hand or lets "Line" and "Marks" find them by brightness. The points
// become a series "x", "y". One instance, theFromimage: the picture and both areas stay
// from one opening to the next; points, ranges and threshold start afresh.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/dialog.h"

class data;

class fromimage : public platform::Dialog {
public:
    static constexpr int kTemplateId = 232;

    enum : int {
        kPasteButton = 1541,
        kFromFileButton = 1542,
        kUpdateButton = 1543,
        kChartAreaGroup = 1544,
        kSelectChartAreaButton = 1545,
        kHorizontalLabel = 1546,
        kHorizontalMinEdit = 1547,
        kHorizontalMaxEdit = 1548,
        kVerticalLabel = 1549,
        kVerticalMinEdit = 1550,
        kVerticalMaxEdit = 1551,
        kChooseDataAreaButton = 1552,
        kLineButton = 1553,
        kMarksButton = 1554,
        kThresholdLabel = 1555,
        kThresholdSlider = 1556,
        kRemoveInsideButton = 1557,
        kRemoveAllButton = 1558,
        kOkButton = platform::kOk,
        kCancelButton = platform::kCancel,
    };

    static constexpr platform::ColorRef kDialogBrush = 0xEBE1E1;
    static constexpr platform::ColorRef kEditText = 0x5A3C37;
    static constexpr platform::ColorRef kEditBack = 0xC3BEC8;
    static constexpr platform::ColorRef kLabelText = 0x465A37;
    static constexpr int kGridStep = 8;
    static constexpr int kWindowRadius = 4;

    struct Corners {
        platform::Point first;
        platform::Point second;
    };

    fromimage();

    double horizontalMin = 0, horizontalMax = 1;
    double verticalMin = 0, verticalMax = 1;
    std::vector<platform::Point> points;  // picture pixels, in the order found
    double threshold = 50;
    Corners chartArea;
    Corners dataArea;
    std::int32_t selectingChartArea = 0;
    std::int32_t choosingDataArea = 0;
    std::int32_t dragging = 0;
    platform::Bitmap picture;
    std::string folder;  // where "From file" starts; the current folder the first time
    std::int32_t displayLeft = 0, displayTop = 0;
    std::int32_t shownWidth = 0, shownHeight = 0;
    double scaleX = 1, scaleY = 1;

    // Getting a picture.
    void OnPasteImage();
    void OnFromFile();
    bool LoadBitmapFile(const std::string& path);
    // Takes a picture in and resets both areas for it.
    void SetPicture(const QImage& image);

    void OnUpdate();
    void OnSelectChartArea();
    void OnChooseDataArea();
    void OnLine();
    void OnMarks();
    void OnRemovePointsInside();
    void OnRemoveAll();
    void OnThresholdSlider(int code, int pos);

    // Mouse, in client coordinates.
    void OnLButtonDown(unsigned flags, platform::Point point) override;
    void OnMouseMove(unsigned flags, platform::Point point) override;
    void OnLButtonUp(unsigned flags, platform::Point point) override;
    // A click without the area modes: Alt held removes the first point shown near it,
    // else the picture pixel under it becomes a point.
    void ClickPoint(platform::Point point, bool alt);

    // Geometry.
    bool IsInsideImage(int x, int y) const;
    bool ScreenToImage(int x, int y, platform::Point& out) const;
    bool ImageToScreen(int x, int y, platform::Point& out) const;
    double PointX(int i) const;
    double PointY(int i) const;
    // Where and at what scale the picture is shown in a client area of this size.
    void LayoutPicture(int clientWidth, int clientHeight);

    // Brightness of a picture pixel: (r + g + b) / 3, truncated.
    int Brightness(int x, int y) const;
    // Mean brightness of the inclusive rectangle; false when it is empty or uniform.
    bool BrightnessStatistics(int left, int right, int bottom, int top, double& mean) const;
    // Integer mean position of the ink (|brightness - mean| > threshold) in the window of
    // radius 4 around (cx, cy); false without ink.
    bool FindInkCentroid(int cx, int cy, int mean, int threshold, platform::Point& out) const;

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnPaint() override;
    // The dialog, its range fields, labels and slider get its colours; other controls keep their look.
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;
    void OnSize(int type, int cx, int cy) override;
    void OnHScroll(int code, int pos, int controlId) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void PaintImage(platform::Canvas& dc);

private:
    // The data area with its corners ordered and clamped to the picture; false when empty.
    bool ClampedDataArea(int& left, int& right, int& top, int& bottom) const;
    void ShowModeButtons();
};

extern fromimage theFromimage;

// The data page's "Image": runs the digitiser and adds its points as a series "x", "y".
// Returns 1 when a series was added.
int RunChartDigitiser(data& page);
