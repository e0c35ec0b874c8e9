#pragma once
// The three-dimensional view page: it owns the camera the three-dimensional painters draw
// through and lets the user move it with nine number fields, two spins and a clickable
// panel of 21 hot spots. Every camera change goes into the scene, sets the page's changed
// flag and requests a repaint; the painters copy the camera they used back into the fields.
#include <array>

#include "charts/d3view_settings.h"
#include "charts/scene3d.h"
#include "platform/bitmap.h"
#include "platform/brush.h"
#include "platform/dialog.h"

class d3view : public platform::Dialog, public d3view_settings {
public:
    static constexpr int kTemplateId = 137;
    static constexpr int kHotSpotCount = 21;

    enum : int {
        kOkButton = 1056,
        kEyeXEdit = 1077,
        kEyeYEdit = 1078,
        kEyeZEdit = 1079,
        kAzimuthEdit = 1080,
        kElevationEdit = 1081,
        kZoomEdit = 1087,
        kEyeStepEdit = 1091,
        kEyeStepSpin = 1092,
        kOrbitDistanceEdit = 1094,
        kTwoDimensionalButton = 1097,
        kAngleStepEdit = 1099,
        kAngleStepSpin = 1100,
        kViewPanel = 1302,
        kNetButton = 1368,
    };

    d3view();

    d3view_settings& settings = *this;  // the saved fields

    scene3d& theScene3d;           // the program's one camera
    int sceneRebuildRequest = 1;   // the next three-dimensional paint sets the camera up afresh
    int viewportChanged = 1;       // the main window was resized: the picture must be rebuilt
    int changed = 0;
    int showNet = 0;

    platform::Bitmap panelBitmap;                       // the view panel's picture
    std::array<platform::Rect, kHotSpotCount> hotRects{};  // hot spots in panel pixels
    std::array<int, kHotSpotCount> pressed{};           // hot spots the last click hit
    int panelPressed = 0;
    platform::Bitmap twoDBitmap;                        // picture of "2D"
    platform::Brush backgroundBrush{platform::Rgb(255, 255, 250)};

    // Handlers.
    void Apply();  // "Ok": controls to fields to scene, changed, repaint request
    void OnScaleSpin(platform::Notify& n);
    void OnStepSpin(platform::Notify& n);
    void OnNet();
    void On2D();
    // Called by the data-shape update: non-zero hides and disables "Net".
    void ShowNetButton(int hide);

    // Camera steps: +1 or -1. Each works on the scene's camera, shows the result in the
    // fields and applies it (ScaleOrbitDistance only shows it).
    void MoveEyeX(int dir);
    void MoveEyeY(int dir);
    void MoveEyeZ(int dir);
    void TurnAzimuth(int dir);
    void TurnElevation(int dir);
    void StepZoom(int dir);
    void MoveAlongView(int dir);
    void OrbitAzimuth(int dir);
    void OrbitElevation(int dir);
    void ScaleOrbitDistance(int dir);
    void OnReset();

    // A click at a point of the panel (panel pixels): every hot spot that holds it runs.
    void OnViewPanelClick(platform::Point p);
    // Runs the action of hot spot `index` (0 .. 20).
    void RunHotSpot(int index);
    // Hot-spot rectangles in the pictures' own pixels.
    static const std::array<platform::Rect, kHotSpotCount>& HotSpotsInPicture();

    // Angle kept in [0, 2 pi] after one step: one correction each way.
    static double WrapAngle(double angle);
    // Scales a rectangle's left/right by fx and top/bottom by fy, truncating.
    static platform::Rect ScaleRect(const platform::Rect& r, double fx, double fy);

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    bool PreTranslateInput(const platform::InputEvent& input) override;
    void OnPaint() override;
    // The background brush for every control and the page.
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    // The scene's camera into the nine fields, and the fields into the controls.
    void CopySceneToFields();
    void ShowFields();
    // Writes the fields into the scene when every value is finite; false (scene untouched)
    // otherwise.
    bool FieldsToScene();
    // A camera step: `step` changes a copy of the scene's camera; a step whose result is not
    // finite changes nothing.
    template <class Step>
    void CameraStep(Step step, bool apply = true);
};

extern d3view theD3view;
