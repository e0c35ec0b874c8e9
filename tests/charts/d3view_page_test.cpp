// The three-dimensional view page through its real widgets: the nine fields, the camera
// steps and their wrap, the spins, the hot spots of the panel, "Net", "2D" and the label line.
#include <cmath>
#include <tuple>
#include <utility>

#include <QLineEdit>

#include <gtest/gtest.h>

#include "charts/d3view_page.h"
#include "charts/text_label_list.h"
#include "charts_test_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/scripted_dialogs.h"

namespace {

using charts_test::ExpectDoubles;
using platform::Rect;

constexpr double kTurn = 6.28318530718;

// The program's one camera is shared by every page object: each test starts from a known one.
class D3viewPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        s = scene3d{};
        s.SetupView(0, 1, 0, 1, 0, 1, 0, 0, 400, 300);
        ASSERT_TRUE(page.Create(nullptr));
        page.Show();
    }
    void TearDown() override { page.DestroyWindow(); }
    void Type(int id, const char* text) { page.Control(id).SetText(text); }
    void ClickPanel(int x, int y) { charts_test::Click(page.Control(d3view::kViewPanel).Widget(), x, y); }
    void ClickSpot(int i) {
        const Rect& r = page.hotRects[static_cast<std::size_t>(i)];
        ClickPanel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    platform::ScriptedDialogs dialogs;
    charts_test::Scoped<scene3d> scene_{TheScene3d()};
    scene3d& s = TheScene3d();
    d3view page;
};

TEST_F(D3viewPageTest, FieldsGoToTheSceneOnlyThroughOk) {
    // A step reads the scene and writes every field.
    const double eyeX = s.eyeX;
    page.MoveEyeX(+1);
    ExpectDoubles({{"scene", s.eyeX, eyeX + 0.15}, {"field", page.eyeX, s.eyeX}, {"zoom", page.zoom, s.zoom}});
    EXPECT_EQ(page.changed, 1);

    // Typed values wait for "Ok"; the next step reads the scene and overwrites them.
    Type(d3view::kEyeYEdit, "7");
    page.MoveEyeZ(-1);
    EXPECT_NE(page.Control(d3view::kEyeYEdit).Text(), "7");

    const struct { int id; const char* text; double scene3d::*field; double expected; } typed[] = {
        {d3view::kEyeXEdit, "0.5", &scene3d::eyeX, 0.5},
        {d3view::kEyeYEdit, "-1.25", &scene3d::eyeY, -1.25},
        {d3view::kEyeZEdit, "2", &scene3d::eyeZ, 2},
        {d3view::kAzimuthEdit, "0.3", &scene3d::azimuth, 0.3},
        {d3view::kElevationEdit, "1.1", &scene3d::elevation, 1.1},
        {d3view::kZoomEdit, "1234", &scene3d::zoom, 1234},
        {d3view::kOrbitDistanceEdit, "3.5", &scene3d::orbitDistance, 3.5}};
    for (const auto& t : typed) Type(t.id, t.text);
    // The steps are not applied by "Ok".
    Type(d3view::kEyeStepEdit, "9");
    Type(d3view::kAngleStepEdit, "9");
    page.SendCommand(d3view::kOkButton);
    for (const auto& t : typed) EXPECT_DOUBLE_EQ(s.*t.field, t.expected) << t.text;
    ExpectDoubles(
        {{"sine", s.sinAzimuth, std::sin(0.3)}, {"eye step", s.eyeStep, 0.15}, {"angle step", s.angleStep, 0.1}});

    // A field that does not read is refused whole: message, scene and fields as they were.
    page.changed = 0;
    Type(d3view::kEyeXEdit, "0.75");
    Type(d3view::kZoomEdit, "nan");
    page.SendCommand(d3view::kOkButton);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0], "Please enter a number.");
    ExpectDoubles({{"zoom", s.zoom, 1234}, {"eye", s.eyeX, 0.5}, {"field", page.eyeX, 0.5}});
    EXPECT_EQ(page.changed, 0);
}

TEST_F(D3viewPageTest, StepsWrapAndRefuseWhatIsNotANumber) {
    d3view page;  // no window: the steps still work on the scene and the fields
    s.angleStep = 0.1;

    const struct { void (d3view::*step)(int); int dir; double scene3d::*angle; double from, to; } turns[] = {
        {&d3view::TurnAzimuth, +1, &scene3d::azimuth, 6.2, 6.3 - kTurn},
        {&d3view::TurnAzimuth, -1, &scene3d::azimuth, 0.05, 0.05 - 0.1 + kTurn},
        {&d3view::TurnElevation, +1, &scene3d::elevation, 6.25, 6.35 - kTurn},
        {&d3view::OrbitAzimuth, -1, &scene3d::azimuth, 0.0, kTurn - 0.1}};
    for (const auto& t : turns) {
        s.*t.angle = t.from;
        (page.*t.step)(t.dir);
        EXPECT_NEAR(s.*t.angle, t.to, 1e-12);
    }

    // Orbiting keeps the eye's height and its distance from the orbit axis.
    s.SetEyeAndAngles(1, 2, 3, 0.4, 1.0);
    s.orbitDistance = 2;
    const double r = std::sin(1.0) * 2;
    page.OrbitAzimuth(+1);
    EXPECT_DOUBLE_EQ(s.eyeZ, 3);
    EXPECT_NEAR(s.eyeX, 1 + r * (std::sin(0.5) - std::sin(0.4)), 1e-12);
    EXPECT_NEAR(s.eyeY, 2 + r * (std::cos(0.5) - std::cos(0.4)), 1e-12);
    page.OrbitElevation(-1);
    EXPECT_NEAR(s.elevation, 0.9, 1e-12);
    EXPECT_NEAR(s.eyeZ, 3 + (std::cos(0.9) - std::cos(1.0)) * 2, 1e-12);
    // Moving along the view axis goes away from the scene for +1.
    const double x0 = s.eyeX, z0 = s.eyeZ;
    page.MoveAlongView(+1);
    EXPECT_NEAR(s.eyeX - x0, s.eyeStep * std::sin(0.5) * std::sin(0.9), 1e-12);
    EXPECT_NEAR(s.eyeZ - z0, s.eyeStep * std::cos(0.9), 1e-12);

    // Zoom steps; a zoom of 0 stays 0; the orbit distance changes neither picture nor flag.
    s.zoom = 100;
    page.StepZoom(+1);
    EXPECT_DOUBLE_EQ(s.zoom, 102.5);
    page.StepZoom(-1);
    EXPECT_DOUBLE_EQ(s.zoom, 102.5 * 0.975);
    s.zoom = 0;
    page.StepZoom(+1);
    EXPECT_EQ(s.zoom, 0);
    page.changed = 0;
    page.ScaleOrbitDistance(+1);
    EXPECT_DOUBLE_EQ(s.orbitDistance, 2.2);
    EXPECT_EQ(page.changed, 0);

    // A step that would leave the numbers is refused; so are fields that are not numbers.
    s.zoom = 1.79e308;
    page.StepZoom(+1);
    EXPECT_EQ(s.zoom, 1.79e308);
    page.zoom = std::nan("");
    page.changed = 0;
    page.Apply();
    EXPECT_EQ(std::tie(s.zoom, page.zoom, page.changed), std::make_tuple(1.79e308, 1.79e308, 0));

    page.sceneRebuildRequest = 0;
    page.OnReset();
    EXPECT_EQ(std::tie(page.sceneRebuildRequest, page.changed), std::make_tuple(1, 1));
}

TEST_F(D3viewPageTest, SpinsScaleTheStepsWithoutApplying) {
    page.changed = 0;
    // The up arrow (-1) scales a step up, the down arrow down.
    const struct { int spin, delta; double scene3d::*step; double expected; } spins[] = {
        {d3view::kEyeStepSpin, -1, &scene3d::eyeStep, 0.15 * 1.1},
        {d3view::kEyeStepSpin, +1, &scene3d::eyeStep, 0.15 * 1.1 * 0.9},
        {d3view::kAngleStepSpin, -1, &scene3d::angleStep, 0.12},
        {d3view::kAngleStepSpin, +1, &scene3d::angleStep, 0.12 * 0.8}};
    for (const auto& c : spins) {
        // The layer reports a spin arrow as a delta: the up arrow is negative.
        platform::Notify n{.id = c.spin, .code = platform::Notification::SpinDelta, .delta = c.delta};
        page.DispatchNotify(n);
        EXPECT_DOUBLE_EQ(s.*c.step, c.expected) << c.spin << " " << c.delta;
    }
    EXPECT_DOUBLE_EQ(page.angleStep, s.angleStep);
    EXPECT_EQ(page.changed, 0);
}

TEST_F(D3viewPageTest, PanelHotSpotsRunOnAClickAndFifteenAndSixteenTogether) {
    // The picture is scaled onto the panel with its spots: 15 and 16 still share a column.
    const Rect& r15 = page.hotRects[14];
    const Rect& r16 = page.hotRects[15];
    const int shared = std::max(r15.left, r16.left);
    ASSERT_LT(shared, std::min(r15.right, r16.right));
    const int only15 = r15.left < r16.left ? r15.left + 1 : r15.right - 2;
    ASSERT_FALSE(only15 >= r16.left && only15 < r16.right);

    const int row15 = (r15.top + r15.bottom) / 2;
    // One spot per click: the quantity it steps.
    const double eyeY = s.eyeY;
    ClickSpot(3);  // spot 4
    EXPECT_DOUBLE_EQ(s.eyeY, eyeY - 0.15);

    // Spot 15 alone turns; in the shared column both orbit steps run and cancel out.
    const double az15 = s.azimuth;
    ClickPanel(only15, row15);
    EXPECT_NEAR(s.azimuth, d3view::WrapAngle(az15 + 0.1), 1e-12);
    const double x = s.eyeX, y = s.eyeY, a = s.azimuth;
    ClickPanel(shared, row15);
    EXPECT_EQ(std::tie(page.pressed[14], page.pressed[15]), std::make_tuple(1, 1));
    int hit = 0;
    for (int p : page.pressed) hit += p;
    EXPECT_EQ(hit, 2);
    for (auto [now, before] : {std::pair{s.azimuth, a}, {s.eyeX, x}, {s.eyeY, y}}) EXPECT_NEAR(now, before, 1e-12);

    // A click outside every spot runs nothing.
    ClickPanel(2, 2);
    for (int p : page.pressed) EXPECT_EQ(p, 0);
}

TEST_F(D3viewPageTest, NetAndTwoD) {
    page.SendCommand(d3view::kNetButton);
    page.SendCommand(d3view::kTwoDimensionalButton);
    EXPECT_EQ(std::tie(page.showNet, page.twoDimensional, page.changed), std::make_tuple(1, 1, 1));
    // "Net" is offered only where a net can be drawn.
    for (int hidden : {1, 0}) {
        page.ShowNetButton(hidden);
        EXPECT_EQ(page.Control(d3view::kNetButton).IsEnabled(), !hidden);
    }
}

TEST_F(D3viewPageTest, FieldsShowTheirWholeNumbers) {
    // The longest text a field shows without an exponent: a sign and 17 digits and point.
    const char* longest = "-0.970349321812345";
    const int fields[] = {d3view::kEyeXEdit,     d3view::kEyeYEdit, d3view::kEyeZEdit,
                          d3view::kAzimuthEdit,  d3view::kElevationEdit, d3view::kZoomEdit,
                          d3view::kOrbitDistanceEdit, d3view::kEyeStepEdit, d3view::kAngleStepEdit};
    for (int id : fields) {
        auto* edit = qobject_cast<QLineEdit*>(page.Control(id).Widget());
        ASSERT_NE(edit, nullptr) << id;
        const int textWidth = edit->fontMetrics().horizontalAdvance(QString::fromLatin1(longest));
        EXPECT_LT(textWidth + 8, page.Control(id).Bounds().Width()) << id;
    }
}

TEST(TextLabelList, MeasuresPaintsAndPlacesItsRuns) {
    textLabelList list;
    platform::Bitmap bitmap(200, 60);
    platform::Canvas dc(bitmap);
    list.Add("D", 0, 2);
    list.Add("x=", 0, 0);
    list.Add("o", 1, 1);
    EXPECT_EQ(textLabelList::OffsetOf(1), 5);
    EXPECT_EQ(textLabelList::OffsetOf(2), -5);

    // Beside a control at x 150: the ink, as wide as measured, ends by column 147 and reaches
    // close to it, level with the control.
    const Rect page{0, 0, 200, 60};
    const Rect control{150, 20, 190, 40};
    list.DrawBeside(dc, page, control, platform::Rgb(0, 50, 0));
    auto ink = [](platform::ColorRef c) { return c != platform::kWhite; };
    EXPECT_EQ(charts_test::CountPixels(dc, {148, 0, 200, 60}, ink), 0);
    EXPECT_GT(charts_test::CountPixels(dc, {147 - 6, 20, 148, 41}, ink), 0);
}

}  // namespace
