#pragma once
// The two painters of data with two arguments that draw through the scene: the
// three-dimensional view (points of every value over the two arguments, the scene's axes,
// optionally the net of the data) and the flat map (one value as a coloured map of the
// plane with a colour-scale strip). Both paint into the chart through the plot mapping.
#include <functional>
#include <vector>

#include "platform/canvas.h"
#include "platform/pen.h"

class scene3d;

// What the painters need of the main window.
struct TwoArgumentViewState {
    int seriesCount = 0;    // series in the store
    int arguments = 0;      // of the first series
    int values = 0;         // of the first series
    int view3D = 0;         // the View tab shows the three-dimensional page
    int frameResized = 0;   // the chart area changed size since the last paint
    int mapSelection = -1;  // selected entry of the View page's parameter list; -1 none
    platform::Pen nullPen{platform::PenStyle::Null, 1, 0};
};

// The least-squares surface fit of the fitting engine: fills the coefficients and their
// deviations of the surface kind's terms (kind 0: 1, x, y; kind 1: also x^2, y^2) and
// returns the residual share. The fitting engine's surface fit unless a test puts another.
using SurfaceFitter =
    std::function<double(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z,
                         std::vector<double>& coefficients, std::vector<double>& deviations, int kind)>;
SurfaceFitter& TheSurfaceFitter();

// The ratings of the last plane (kind 0) and parabolic (kind 1) surface fit of the
// three-dimensional view, read by the full-analysis report: the residual share, its
// criterion and |deviation / coefficient| of every coefficient above 1e-46 in magnitude.
extern double planeFitCriterion, planeFitMeasure;
extern std::vector<double> planeRelativeErrors;
extern double parabolicFitCriterion, parabolicFitMeasure;
extern std::vector<double> parabolicRelativeErrors;
// measure^0.25 plus |d_i / c_i| for each coefficient, 1e46 for one at (almost) zero.
double CoefficientErrorCriterion(double measure, const double* coefficients, const double* deviations, int count);

// The data ranges the three-dimensional view box was last set up from.
extern double sceneXMin, sceneXMax, sceneYMin, sceneYMax, sceneZMin, sceneZMax;

// 1 when it painted, 0 when the view does not apply (shape, page, scheme or an empty plot
// rectangle).
int PaintTwoArgument3D(platform::Canvas& dc, const TwoArgumentViewState& state);
int PaintTwoArgumentMap(platform::Canvas& dc, const TwoArgumentViewState& state);
// Every value of every eligible series as markers sized by the value, with a marker scale
// right of the plot; straight into dc. The colour-map switch off chooses it over the map.
int PaintTwoArgumentPoints(platform::Canvas& dc, const TwoArgumentViewState& state);

// A series has room for a map or a scene when it has at least three records more than it
// has arguments; its first two argument columns are x and y (-1 when missing).
bool IsEligibleTwoArgumentSeries(int series, int& xColumn, int& yColumn);

// Shared with the distribution views of two variables:
// the chart background in a bitmap of (w + 2) x (h + 2): the area colour everywhere, then the
// plot rectangle framed by the border pen (or nullPen when the border is off);
void PaintPlotBackground(platform::Canvas& mem, int w, int h, const platform::Pen& nullPen);
// the camera's eye, angles, zoom and steps shown on the three-dimensional view page;
void ShowCameraOnPage();
// the camera following a resized chart (or a changed viewport), the zoom shown on the page;
// while `paintingOwnPicture` is set (an export paints a picture of its own size) it follows
// that picture keeping the scene's share of the smaller half size, not the panel's mean ratio;
void FollowPanelSize(int frameResized, int w, int h);
extern int paintingOwnPicture;
// the scene's flat mapping set to the plot ranges over a bitmap of w x h pixels;
scene3d& MapSceneToPlot(int w, int h);
// the colour-scale strip right of the plot over plotZMin..plotZMax with its tick labels.
void PaintColourStrip(platform::Canvas& dc);
