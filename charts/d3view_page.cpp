#include "charts/d3view_page.h"

#include <algorithm>
#include <cmath>

#include "charts/text_label_list.h"
#include "platform/dialog_template.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/owner_button.h"
#include "widgets/page_look.h"

// The camera is reached through TheScene3d(), which builds it on first use, so this object
// may be built before or after any other.
d3view theD3view;

namespace {

using platform::ColorRef;
using platform::ControlKind;
using platform::Rect;
using platform::Rgb;

constexpr double kTurn = 6.28318530718;
constexpr ColorRef kLabelColor = Rgb(0, 50, 0);
constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;

// The panel picture's size; the hot spots below are in its pixels.
constexpr int kPanelPictureWidth = 270;
constexpr int kPanelPictureHeight = 150;

platform::DialogTemplate SceneTemplate() {
    platform::DialogTemplate t;
    t.id = d3view::kTemplateId;
    t.caption = "3D view";
    t.cx = 270;
    t.cy = 200;
    t.style = platform::kDialogChild;
    auto& c = t.controls;
    // The fields show full "%.15g" numbers (a minus sign and 17 more characters), so they are
    // wide enough for those. Eye, angles and zoom in one framed column, the labels painted
    // left of each edit.
    constexpr int kFieldWidth = 88;
    constexpr int kSecondColumn = 162;
    const int eyeIds[] = {d3view::kEyeXEdit,      d3view::kEyeYEdit,       d3view::kEyeZEdit,
                          d3view::kAzimuthEdit,   d3view::kElevationEdit, d3view::kZoomEdit};
    for (int i = 0; i < 6; ++i) c.push_back({eyeIds[i], ControlKind::Edit, "", 40, 14 + 14 * i, kFieldWidth, 12});
    c.push_back({d3view::kOrbitDistanceEdit, ControlKind::Edit, "", kSecondColumn, 14, kFieldWidth, 12});
    c.push_back({d3view::kEyeStepEdit, ControlKind::Edit, "", kSecondColumn, 28, kFieldWidth, 12});
    c.push_back({d3view::kEyeStepSpin, ControlKind::Spin, "", kSecondColumn + kFieldWidth + 1, 28, 10, 12});
    c.push_back({d3view::kAngleStepEdit, ControlKind::Edit, "", kSecondColumn, 42, kFieldWidth, 12});
    c.push_back({d3view::kAngleStepSpin, ControlKind::Spin, "", kSecondColumn + kFieldWidth + 1, 42, 10, 12});
    c.push_back({d3view::kOkButton, ControlKind::Button, "Ok", kSecondColumn, 60, 60, 14,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({d3view::kNetButton, ControlKind::Button, "Net", kSecondColumn, 78, 28, 14, kOwnerDraw});
    c.push_back({d3view::kTwoDimensionalButton, ControlKind::Button, "2D", kSecondColumn + 32, 78, 28, 14, kOwnerDraw});
    c.push_back({d3view::kViewPanel, ControlKind::Button, "", 10, 102, 180, 92, kOwnerDraw});
    return t;
}

const platform::DialogTemplateRegistration registration(SceneTemplate());

// A raised or sunken two-ring edge inside r.
void DrawEdge(platform::Canvas& dc, const Rect& r, bool sunken) {
    if (r.Width() < 2 || r.Height() < 2) return;
    auto ring = [&dc](const Rect& q, ColorRef topLeft, ColorRef bottomRight) {
        dc.FillRect({q.left, q.top, q.right, q.top + 1}, topLeft);
        dc.FillRect({q.left, q.top, q.left + 1, q.bottom}, topLeft);
        dc.FillRect({q.left, q.bottom - 1, q.right, q.bottom}, bottomRight);
        dc.FillRect({q.right - 1, q.top, q.right, q.bottom}, bottomRight);
    };
    const Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (sunken) {
        ring(r, 0xA0A0A0, 0xFFFFFF);
        ring(inner, 0x696969, 0xE3E3E3);
    } else {
        ring(r, 0xE3E3E3, 0x696969);
        ring(inner, 0xFFFFFF, 0xA0A0A0);
    }
}

// The picture of the view panel: a face and an arrow (up for the + step, down for the
// - step) on every hot spot, and the names of the groups.
platform::Bitmap MakePanelPicture() {
    platform::Bitmap bitmap(kPanelPictureWidth, kPanelPictureHeight, Rgb(236, 242, 228));
    platform::Canvas dc(bitmap);
    dc.SetBkMode(platform::BkMode::Transparent);
    dc.SelectFont(platform::Font::Make("Arial", 11));
    dc.SetTextColor(kLabelColor);
    dc.TextOut(212, 32, "x   y   z");
    dc.TextOut(112, 2, "elevation");
    dc.TextOut(150, 68, "azimuth");
    dc.TextOut(93, 57, "zoom");
    dc.TextOut(156, 94, "view");
    dc.TextOut(196, 82, "orbit");
    const auto& spots = d3view::HotSpotsInPicture();
    for (int i = 0; i < d3view::kHotSpotCount; ++i) {
        const Rect& r = spots[static_cast<std::size_t>(i)];
        dc.FillRect(r, Rgb(210, 225, 205));
        if (i == 18) {
            dc.TextOut(r.left + 8, r.top + 2, "Reset");
            continue;
        }
        // Hot spots come in (+, -) pairs: even index up, odd index down.
        const bool up = i % 2 == 0;
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        const int h = std::max(2, std::min(r.Width(), r.Height()) / 3);
        const platform::Point arrow[3] = {{cx - h, up ? cy + h / 2 : cy - h / 2},
                                          {cx + h, up ? cy + h / 2 : cy - h / 2},
                                          {cx, up ? cy - h : cy + h}};
        dc.FillPolygon(arrow, 3, kLabelColor);
    }
    return bitmap;
}

platform::Bitmap MakeTwoDPicture() {
    platform::Bitmap bitmap(40, 24, Rgb(220, 220, 220));
    platform::Canvas dc(bitmap);
    dc.SetBkMode(platform::BkMode::Transparent);
    dc.SelectFont(platform::Font::Make("Times", 18, platform::kWeightBold));
    dc.SetTextColor(kLabelColor);
    dc.TextOut(8, 2, "2D");
    return bitmap;
}

// The label runs drawn before each edit: (text, offset kind, font kind).
struct Run {
    const char* text;
    int offset;
    int font;
};
struct EditLabel {
    int id;
    std::vector<Run> runs;
};

const std::vector<EditLabel>& EditLabels() {
    static const std::vector<EditLabel> labels = {
        {d3view::kEyeXEdit, {{"x", 0, 0}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kEyeYEdit, {{"y", 0, 0}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kEyeZEdit, {{"z", 0, 0}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kAzimuthEdit, {{"a", 0, 2}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kElevationEdit, {{"b", 0, 2}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kZoomEdit, {{"f", 0, 0}, {"o", 1, 1}, {"=", 0, 0}}},
        {d3view::kOrbitDistanceEdit, {{"r=", 0, 0}}},
        {d3view::kEyeStepEdit, {{"D", 0, 2}, {"x=", 0, 0}}},
        {d3view::kAngleStepEdit, {{"Da=", 0, 2}}},
    };
    return labels;
}

// The camera values the steps work on.
struct Camera {
    double eyeX, eyeY, eyeZ, azimuth, elevation, zoom, orbitDistance, eyeStep, angleStep;
    bool Finite() const {
        for (double v : {eyeX, eyeY, eyeZ, azimuth, elevation, zoom, orbitDistance, eyeStep, angleStep}) {
            if (!std::isfinite(v)) return false;
        }
        return true;
    }
};

}  // namespace

double d3view::WrapAngle(double angle) {
    if (angle < 0) angle += kTurn;
    if (angle > kTurn) angle -= kTurn;
    return angle;
}

platform::Rect d3view::ScaleRect(const platform::Rect& r, double fx, double fy) {
    return {static_cast<int>(std::trunc(r.left * fx)), static_cast<int>(std::trunc(r.top * fy)),
            static_cast<int>(std::trunc(r.right * fx)), static_cast<int>(std::trunc(r.bottom * fy))};
}

const std::array<platform::Rect, d3view::kHotSpotCount>& d3view::HotSpotsInPicture() {
    static const std::array<Rect, kHotSpotCount> spots = {{
        {212, 46, 227, 60},   {212, 61, 227, 75},   {230, 46, 245, 60},   {230, 60, 245, 75},
        {248, 46, 263, 60},   {248, 60, 263, 75},   {132, 60, 147, 74},   {132, 75, 147, 90},
        {142, 18, 157, 33},   {142, 33, 157, 47},   {91, 70, 105, 85},    {105, 70, 120, 85},
        {149, 107, 168, 124}, {168, 107, 187, 124}, {192, 95, 214, 113},  {213, 95, 234, 113},
        {237, 95, 256, 115},  {237, 116, 256, 137}, {84, 123, 129, 141},  {206, 118, 221, 128},
        {206, 129, 221, 139},
    }};
    return spots;
}

d3view::d3view() : Dialog(kTemplateId), theScene3d(TheScene3d()) {
    RouteCommand(kOkButton, &d3view::Apply);
    Route(kEyeStepSpin, platform::Notification::SpinDelta, &d3view::OnScaleSpin);
    Route(kAngleStepSpin, platform::Notification::SpinDelta, &d3view::OnStepSpin);
    RouteCommand(kNetButton, &d3view::OnNet);
    RouteCommand(kTwoDimensionalButton, &d3view::On2D);
}

void d3view::DoDataExchange(platform::Exchange& dx) {
    dx.Double(kEyeXEdit, eyeX);
    dx.Double(kEyeYEdit, eyeY);
    dx.Double(kEyeZEdit, eyeZ);
    dx.Double(kAzimuthEdit, azimuth);
    dx.Double(kElevationEdit, elevation);
    dx.Double(kZoomEdit, zoom);
    dx.Double(kOrbitDistanceEdit, orbitDistance);
    dx.Double(kEyeStepEdit, eyeStep);
    dx.Double(kAngleStepEdit, angleStep);
}

bool d3view::OnInitDialog() {
    SetKeysEndDialog(false);
    SetDefaultButton(kOkButton);
    panelBitmap = MakePanelPicture();
    twoDBitmap = MakeTwoDPicture();
    pressed.fill(0);
    panelPressed = 0;
    const Rect panel = Control(kViewPanel).Bounds();
    const double fx = static_cast<double>(panel.Width()) / panelBitmap.Width();
    const double fy = static_cast<double>(panel.Height()) / panelBitmap.Height();
    for (int i = 0; i < kHotSpotCount; ++i) {
        hotRects[static_cast<std::size_t>(i)] = ScaleRect(HotSpotsInPicture()[static_cast<std::size_t>(i)], fx, fy);
    }
    UpdateData(false);
    Invalidate();
    return true;
}

void d3view::ShowFields() {
    if (HasWindow()) UpdateData(false);
}

void d3view::CopySceneToFields() {
    eyeX = theScene3d.eyeX;
    eyeY = theScene3d.eyeY;
    eyeZ = theScene3d.eyeZ;
    azimuth = theScene3d.azimuth;
    elevation = theScene3d.elevation;
    zoom = theScene3d.zoom;
    orbitDistance = theScene3d.orbitDistance;
    eyeStep = theScene3d.eyeStep;
    angleStep = theScene3d.angleStep;
}

bool d3view::FieldsToScene() {
    const Camera c{eyeX, eyeY, eyeZ, azimuth, elevation, zoom, orbitDistance, eyeStep, angleStep};
    if (!c.Finite()) return false;
    theScene3d.orbitDistance = orbitDistance;
    theScene3d.zoom = zoom;
    theScene3d.SetEyeAndAngles(eyeX, eyeY, eyeZ, azimuth, elevation);
    return true;
}

void d3view::Apply() {
    if (HasWindow()) {
        // A field that does not read abandons the whole step: the fields stay as they were.
        const Camera before{eyeX, eyeY, eyeZ, azimuth, elevation, zoom, orbitDistance, eyeStep, angleStep};
        if (!UpdateData(true)) {
            eyeX = before.eyeX, eyeY = before.eyeY, eyeZ = before.eyeZ;
            azimuth = before.azimuth, elevation = before.elevation, zoom = before.zoom;
            orbitDistance = before.orbitDistance, eyeStep = before.eyeStep, angleStep = before.angleStep;
            return;
        }
    }
    if (!FieldsToScene()) {
        // Values that are not numbers never reach the camera: the fields show it again.
        CopySceneToFields();
        ShowFields();
        return;
    }
    changed = 1;
    platform::PostRepaintRequest();
}

template <class Step>
void d3view::CameraStep(Step step, bool apply) {
    scene3d& s = theScene3d;
    Camera c{s.eyeX, s.eyeY, s.eyeZ, s.azimuth, s.elevation, s.zoom, s.orbitDistance, s.eyeStep, s.angleStep};
    step(c);
    if (!c.Finite()) return;
    s.zoom = c.zoom;
    s.orbitDistance = c.orbitDistance;
    s.eyeStep = c.eyeStep;
    s.angleStep = c.angleStep;
    s.SetEyeAndAngles(c.eyeX, c.eyeY, c.eyeZ, c.azimuth, c.elevation);
    CopySceneToFields();
    ShowFields();
    if (apply) Apply();
}

void d3view::MoveEyeX(int dir) {
    CameraStep([dir](Camera& c) { c.eyeX += dir * c.eyeStep; });
}

void d3view::MoveEyeY(int dir) {
    CameraStep([dir](Camera& c) { c.eyeY += dir * c.eyeStep; });
}

void d3view::MoveEyeZ(int dir) {
    CameraStep([dir](Camera& c) { c.eyeZ += dir * c.eyeStep; });
}

void d3view::TurnAzimuth(int dir) {
    CameraStep([dir](Camera& c) { c.azimuth = WrapAngle(c.azimuth + dir * c.angleStep); });
}

void d3view::TurnElevation(int dir) {
    CameraStep([dir](Camera& c) { c.elevation = WrapAngle(c.elevation + dir * c.angleStep); });
}

void d3view::StepZoom(int dir) {
    CameraStep([dir](Camera& c) { c.zoom *= dir > 0 ? 1.025 : 0.975; });
}

void d3view::MoveAlongView(int dir) {
    CameraStep([dir](Camera& c) {
        const double sA = std::sin(c.azimuth), cA = std::cos(c.azimuth);
        const double sE = std::sin(c.elevation), cE = std::cos(c.elevation);
        const double d = dir * c.eyeStep;
        c.eyeX += d * sA * sE;
        c.eyeY += d * cA * sE;
        c.eyeZ += d * cE;
    });
}

void d3view::OrbitAzimuth(int dir) {
    CameraStep([dir](Camera& c) {
        const double r = std::sin(c.elevation) * c.orbitDistance;
        const double a = c.azimuth + dir * c.angleStep;
        c.eyeX += r * (std::sin(a) - std::sin(c.azimuth));
        c.eyeY += r * (std::cos(a) - std::cos(c.azimuth));
        c.azimuth = WrapAngle(a);
    });
}

void d3view::OrbitElevation(int dir) {
    CameraStep([dir](Camera& c) {
        const double e = WrapAngle(c.elevation + dir * c.angleStep);
        c.eyeZ += (std::cos(e) - std::cos(c.elevation)) * c.orbitDistance;
        const double h = (std::sin(e) - std::sin(c.elevation)) * c.orbitDistance;
        c.eyeX += std::sin(c.azimuth) * h;
        c.eyeY += std::cos(c.azimuth) * h;
        c.elevation = e;
    });
}

void d3view::ScaleOrbitDistance(int dir) {
    CameraStep([dir](Camera& c) { c.orbitDistance *= dir > 0 ? 1.1 : 0.9; }, false);
}

void d3view::OnReset() {
    sceneRebuildRequest = 1;
    Apply();
}

void d3view::OnScaleSpin(platform::Notify& n) {
    const double next = theScene3d.eyeStep * (n.delta < 0 ? 1.1 : 0.9);
    if (std::isfinite(next)) theScene3d.eyeStep = next;
    eyeStep = theScene3d.eyeStep;
    ShowFields();
    n.result = 0;
}

void d3view::OnStepSpin(platform::Notify& n) {
    const double next = theScene3d.angleStep * (n.delta < 0 ? 1.2 : 0.8);
    if (std::isfinite(next)) theScene3d.angleStep = next;
    angleStep = theScene3d.angleStep;
    ShowFields();
    n.result = 0;
}

void d3view::OnNet() {
    showNet = showNet ? 0 : 1;
    Control(kNetButton).Invalidate();
    Apply();
}

void d3view::On2D() {
    twoDimensional = 1;
    changed = 1;
    platform::PostRepaintRequest();
}

void d3view::ShowNetButton(int hide) {
    platform::Control net = Control(kNetButton);
    net.Enable(hide == 0);
    net.Show(hide == 0);
}

void d3view::RunHotSpot(int index) {
    switch (index) {
        case 0: MoveEyeX(+1); break;
        case 1: MoveEyeX(-1); break;
        case 2: MoveEyeY(+1); break;
        case 3: MoveEyeY(-1); break;
        case 4: MoveEyeZ(+1); break;
        case 5: MoveEyeZ(-1); break;
        case 6: TurnAzimuth(+1); break;
        case 7: TurnAzimuth(-1); break;
        case 8: TurnElevation(+1); break;
        case 9: TurnElevation(-1); break;
        case 10: StepZoom(+1); break;
        case 11: StepZoom(-1); break;
        case 12: MoveAlongView(+1); break;
        case 13: MoveAlongView(-1); break;
        case 14: OrbitAzimuth(+1); break;
        case 15: OrbitAzimuth(-1); break;
        case 16: OrbitElevation(+1); break;
        case 17: OrbitElevation(-1); break;
        case 18: OnReset(); break;
        case 19: ScaleOrbitDistance(+1); break;
        case 20: ScaleOrbitDistance(-1); break;
        default: break;
    }
}

void d3view::OnViewPanelClick(platform::Point p) {
    pressed.fill(0);
    for (int i = 0; i < kHotSpotCount; ++i) {
        const Rect& r = hotRects[static_cast<std::size_t>(i)];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) {
            RunHotSpot(i);
            pressed[static_cast<std::size_t>(i)] = 1;
        }
    }
}

bool d3view::PreTranslateInput(const platform::InputEvent& input) {
    // The panel runs its hot spots when the button goes down, once per press (the second
    // press of a quick double click included).
    const bool press =
        input.kind == platform::InputEvent::LButtonDown || input.kind == platform::InputEvent::LButtonDblClk;
    if (press && input.controlId == kViewPanel) {
        const Rect panel = Control(kViewPanel).Bounds();
        panelPressed = 1;
        OnViewPanelClick({input.point.x - panel.left, input.point.y - panel.top});
        Control(kViewPanel).Invalidate();
    }
    return false;
}

bool d3view::OnDrawItem(platform::DrawItem& item) {
    if (!item.canvas) return false;
    platform::Canvas& dc = *item.canvas;
    const Rect& r = item.rect;
    switch (item.controlId) {
        case kViewPanel: {
            panelPressed = item.pressed ? 1 : 0;
            if (!panelBitmap.IsNull()) {
                dc.StretchFrom(r.left, r.top, r.Width(), r.Height(), panelBitmap, 0, 0, panelBitmap.Width(),
                               panelBitmap.Height());
            }
            for (int i = 0; i < kHotSpotCount; ++i) {
                const bool sunken = panelPressed && pressed[static_cast<std::size_t>(i)];
                DrawEdge(dc, hotRects[static_cast<std::size_t>(i)], sunken);
            }
            return true;
        }
        case kNetButton: {
            const Rect inner = DrawButtonFace(dc, r, showNet ? Rgb(20, 255, 20) : Rgb(195, 195, 195), showNet != 0);
            DrawButtonCaption(dc, {inner.left - 1, inner.top - 1, inner.right + 1, inner.bottom + 1}, item.text,
                              Rgb(10, 110, 10));
            return true;
        }
        case kOkButton: {
            const Rect inner = DrawButtonFace(dc, r, Rgb(20, 255, 20), item.pressed);
            DrawButtonCaption(dc, inner, item.text, Rgb(10, 110, 10));
            return true;
        }
        case kTwoDimensionalButton: {
            DrawButtonFace(dc, r, Rgb(220, 220, 220), item.pressed);
            DrawButtonPicture(dc, {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}, twoDBitmap);
            return true;
        }
        default:
            return false;
    }
}

bool d3view::OnCtlColor(int /*controlId*/, platform::CtlColor& out) {
    out.brush = backgroundBrush.color;
    return true;
}

void d3view::OnPaint() {
    platform::ClientDC dc(*this);
    const Rect page = ClientRect();
    dc.FillRect(page, backgroundBrush);
    dc.SetBkMode(platform::BkMode::Transparent);

    // The eye group: a frame from the eye-x edit to the zoom edit, its caption above the frame,
    // clear of the edits.
    const Rect eye = Control(kEyeXEdit).Bounds();
    const Rect zoomEdit = Control(kZoomEdit).Bounds();
    const platform::Font oldFont = dc.SelectFont(platform::Font::Make("Times", 14, platform::kWeightSemiBold));
    DrawFramedText(dc, "Coordinates (normalized) of eye:", eye.left - 50, eye.top - 4, zoomEdit.right + 3,
                   zoomEdit.bottom + 3, kLabelColor, 3);
    dc.SelectFont(oldFont);

    for (const EditLabel& label : EditLabels()) {
        sceneTextLabels.Clear();
        for (const Run& run : label.runs) sceneTextLabels.Add(run.text, run.offset, run.font);
        sceneTextLabels.DrawBeside(dc, page, Control(label.id).Bounds(), kLabelColor);
    }
}
