#include "charts/two_argument_views.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "charts/axes.h"
#include "charts/chart_page.h"
#include "charts/d3view_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "charts/scene3d.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "data/point_marks.h"
#include "data/points_in_box.h"
#include "fitting/multistat_page.h"
#include "fitting/peak_detection.h"
#include "platform/pixel.h"
#include "widgets/progress_bar.h"

double planeFitCriterion = 0, planeFitMeasure = 0;
std::vector<double> planeRelativeErrors;
double parabolicFitCriterion = 0, parabolicFitMeasure = 0;
std::vector<double> parabolicRelativeErrors;

double sceneXMin = 0, sceneXMax = 0, sceneYMin = 0, sceneYMax = 0, sceneZMin = 0, sceneZMax = 0;

namespace {

using platform::Canvas;
using platform::Pen;
using platform::PenStyle;
using platform::SaturatingToInt;

const char kPaintingMessage[] = "Painting data to virtual screen";

const Initial& ParameterOf(int series, int column) {
    const Series& s = theData.series[static_cast<std::size_t>(series)];
    return theData.parameters[static_cast<std::size_t>(s.firstParameter + column)];
}

// Value columns of a series, in column order.
std::vector<int> ValueColumns(int series) {
    std::vector<int> columns;
    const Series& s = theData.series[static_cast<std::size_t>(series)];
    for (int p = 0; p < s.nParameters; ++p) {
        if (ParameterOf(series, p).role == kRoleValue) columns.push_back(p);
    }
    return columns;
}

int SeriesCount() { return static_cast<int>(theData.series.size()); }

}  // namespace

// The chart background of both painters in a bitmap of (w + 2) x (h + 2): the area colour
// everywhere, then the plot rectangle framed by the border pen.
void PaintPlotBackground(Canvas& mem, int w, int h, const Pen& nullPen) {
    mem.SetBkMode(platform::BkMode::Transparent);
    const platform::Brush area(theChart.chartAreaColor);
    const platform::Brush oldBrush = mem.SelectBrush(area);
    const Pen oldPen = mem.SelectPen(nullPen);
    mem.Rectangle(0, 0, w + 2, h + 2);
    mem.SelectPen(theChart.borderWidth >= 1 ? Pen(PenStyle::Solid, theChart.borderWidth, theChart.borderLineColor)
                                            : nullPen);
    mem.Rectangle(0, 0, w, h);
    mem.SelectPen(oldPen);
    mem.SelectBrush(oldBrush);
}

namespace {

struct ScreenPoint {
    int x = 0, y = 0;
    double size = 0, depth = 0;
};

bool Project(const scene3d& s, double x, double y, double z, ScreenPoint& p) {
    double px = 0, py = 0, size = 0, depth = 0;
    if (!s.ProjectPoint(x, y, z, px, py, size, depth)) return false;
    p = {SaturatingToInt(px), SaturatingToInt(py), size, depth};
    return true;
}

}  // namespace

void ShowCameraOnPage() {
    d3view& page = theD3view;
    const scene3d& s = page.theScene3d;
    page.eyeX = s.eyeX;
    page.eyeY = s.eyeY;
    page.eyeZ = s.eyeZ;
    page.azimuth = s.azimuth;
    page.elevation = s.elevation;
    page.zoom = s.zoom;
    page.orbitDistance = s.orbitDistance;
    page.eyeStep = s.eyeStep;
    page.angleStep = s.angleStep;
    if (page.HasWindow()) page.UpdateData(false);
}

scene3d& MapSceneToPlot(int w, int h) {
    scene3d& scene = theD3view.theScene3d;
    scene.mapXMin = plotXMin, scene.mapXMax = plotXMax;
    scene.mapYMin = plotYMin, scene.mapYMax = plotYMax;
    scene.mapPixelXMin = 0, scene.mapPixelXMax = w;
    scene.mapPixelYMax = 0, scene.mapPixelYMin = h;
    scene.ComputePlotScales();
    return scene;
}

int paintingOwnPicture = 0;

void FollowPanelSize(int frameResized, int w, int h) {
    if (!frameResized && !theD3view.viewportChanged) return;
    if (paintingOwnPicture) {
        theD3view.theScene3d.FitCameraToPicture(0, 0, w, h);
    } else {
        theD3view.theScene3d.SetCamera(0, 0, w, h);
    }
    theD3view.viewportChanged = 0;
    theD3view.zoom = theD3view.theScene3d.zoom;
    if (theD3view.HasWindow()) theD3view.UpdateData(false);
}

namespace {

// A fresh default camera fitted to every point of every eligible series, then the plot x
// and y ranges of the last eligible series. With no eligible series the camera stays and
// the request stays pending.
void RebuildScene(int w, int h) {
    ResetPlotRanges();
    int last = -1;
    std::vector<double> x, y, z;
    for (int s = 0; s < SeriesCount(); ++s) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
        theData.GetParameterValues(s, xc, x);
        theData.GetParameterValues(s, yc, y);
        ExtendXRange(x);
        ExtendYRange(y);
        for (int v : ValueColumns(s)) {
            theData.GetParameterValues(s, v, z);
            ExtendZRange(z);
        }
        last = s;
    }
    if (last < 0) return;
    sceneXMin = plotXMin, sceneXMax = plotXMax;
    sceneYMin = plotYMin, sceneYMax = plotYMax;
    sceneZMin = plotZMin, sceneZMax = plotZMax;
    scene3d& scene = theD3view.theScene3d;
    scene.SetupView(plotXMin, plotXMax, plotYMin, plotYMax, plotZMin, plotZMax, 0, 0, w, h);

    // Zoom so that the farthest point lands at 1/1.1 of the half viewport from the centre.
    double m = -1e30;
    for (int s = 0; s < SeriesCount(); ++s) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
        theData.GetParameterValues(s, xc, x);
        theData.GetParameterValues(s, yc, y);
        for (int v : ValueColumns(s)) {
            theData.GetParameterValues(s, v, z);
            for (std::size_t i = 0; i < z.size() && i < x.size() && i < y.size(); ++i) {
                double px = 0, py = 0, size = 0, depth = 0;
                if (!scene.ProjectPoint(x[i], y[i], z[i], px, py, size, depth)) continue;
                const double r = std::max(std::fabs(px - scene.halfWidth) / scene.halfWidth,
                                          std::fabs(py - scene.halfHeight) / scene.halfHeight);
                if (r > m) m = r;
            }
        }
    }
    theD3view.sceneRebuildRequest = 0;
    const double zoom = scene.zoom / (1.1 * m);
    if (m > 0 && std::isfinite(zoom)) scene.zoom = zoom;
    ShowCameraOnPage();

    ResetPlotRanges();
    int xc = -1, yc = -1;
    IsEligibleTwoArgumentSeries(last, xc, yc);
    theData.GetParameterValues(last, xc, x);
    theData.GetParameterValues(last, yc, y);
    ExtendXRange(x);
    ExtendYRange(y);
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);
}

// The points of one value column: markers (drawn now or buffered by depth) or a poly-line.
void PaintValuePoints(Canvas& mem, const scene3d& scene, const std::vector<double>& x, const std::vector<double>& y,
                      const std::vector<double>& z, const Initial& v, bool drawNow) {
    const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, 1, static_cast<platform::ColorRef>(v.color)));
    for (std::size_t i = 0; i < z.size() && i < x.size() && i < y.size(); ++i) {
        ScreenPoint p;
        if (!Project(scene, x[i], y[i], z[i], p)) continue;
        const int size = std::max(1, SaturatingToInt(v.markSize * p.size));
        if (v.markShape == kMarkShapeLine) {
            if (i == 0) {
                mem.MoveTo(p.x, p.y);
            } else {
                mem.LineTo(p.x, p.y);
            }
        } else if (drawNow) {
            DrawMarker(mem, p.x, p.y, size, v.markShape, static_cast<platform::ColorRef>(v.color),
                       theChart.chartAreaColor);
        } else {
            theData.AddMark(p.x, p.y, size, v.markShape, static_cast<platform::ColorRef>(v.color), p.depth);
        }
    }
    mem.SelectPen(oldPen);
}

// The fitted surface of one value column as a net of 20 x 20 steps over the column's x and
// y extent, when the surface fit is there and fitted the points.
void PaintFittedSurface(Canvas& mem, const scene3d& scene, const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<double>& z, int kind, platform::ColorRef color) {
    const SurfaceFitter& fit = TheSurfaceFitter();
    if (!fit) return;
    std::vector<double> coefficients, deviations;
    const double q = fit(x, y, z, coefficients, deviations, kind);
    const int terms = SurfaceModelTermCount(kind);
    if (static_cast<int>(coefficients.size()) < terms || static_cast<int>(deviations.size()) < terms) return;
    // Too few records for the surface: nothing was fitted, nothing to draw or rate.
    if (std::all_of(coefficients.begin(), coefficients.end(), [](double c) { return c == 0; })) return;
    double& criterion = kind == 0 ? planeFitCriterion : parabolicFitCriterion;
    double& measure = kind == 0 ? planeFitMeasure : parabolicFitMeasure;
    std::vector<double>& errors = kind == 0 ? planeRelativeErrors : parabolicRelativeErrors;
    // Terms that are not independent for the data leave deviations that are not finite: no
    // surface, and a criterion that never wins.
    if (!std::all_of(deviations.begin(), deviations.begin() + terms, [](double d) { return std::isfinite(d); })) {
        criterion = measure = HUGE_VAL;
        errors.clear();
        return;
    }
    criterion = CoefficientErrorCriterion(q, coefficients.data(), deviations.data(), terms);
    measure = q;
    errors.clear();
    for (int k = 0; k < terms; ++k) {
        const double c = coefficients[static_cast<std::size_t>(k)];
        if (std::fabs(c) > 1e-46) errors.push_back(std::fabs(deviations[static_cast<std::size_t>(k)] / c));
    }
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    MinMaxOfArray(x, xMin, xMax);
    MinMaxOfArray(y, yMin, yMax);
    const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, theChart.fittingLineWidth, color));
    scene.PaintSurfaceNet(mem, coefficients, kind, 20, xMin, yMin, xMax, yMax);
    mem.SelectPen(oldPen);
}

// The wire net of the data: every triangle's three edges between the projected corners.
void PaintDataNet(Canvas& mem, const scene3d& scene, const std::vector<double>& x, const std::vector<double>& y,
                  const std::vector<double>& z, platform::ColorRef color) {
    std::vector<triangle> triangles;
    scene.Triangulate(x, y, triangles);
    const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, 1, color));
    const std::size_t n = std::min({x.size(), y.size(), z.size()});
    for (const triangle& t : triangles) {
        const int corners[3] = {t.first, t.second, t.third};
        ScreenPoint p[3];
        bool ok = true;
        for (int k = 0; k < 3 && ok; ++k) {
            const int c = corners[k];
            ok = c >= 0 && static_cast<std::size_t>(c) < n &&
                 Project(scene, x[static_cast<std::size_t>(c)], y[static_cast<std::size_t>(c)],
                         z[static_cast<std::size_t>(c)], p[k]);
        }
        if (!ok) continue;
        for (int k = 0; k < 3; ++k) {
            mem.MoveTo(p[k].x, p[k].y);
            mem.LineTo(p[(k + 1) % 3].x, p[(k + 1) % 3].y);
        }
    }
    mem.SelectPen(oldPen);
}

}  // namespace

double CoefficientErrorCriterion(double measure, const double* coefficients, const double* deviations, int count) {
    double result = std::pow(measure, 0.25);
    for (int i = 0; i < count; ++i) {
        result += std::fabs(coefficients[i]) > 1e-46 ? std::fabs(deviations[i] / coefficients[i]) : 1e46;
    }
    return result;
}

SurfaceFitter& TheSurfaceFitter() {
    static SurfaceFitter fitter = FitSurface;
    return fitter;
}

bool IsEligibleTwoArgumentSeries(int series, int& xColumn, int& yColumn) {
    xColumn = yColumn = -1;
    if (series < 0 || series >= SeriesCount()) return false;
    const Series& s = theData.series[static_cast<std::size_t>(series)];
    if (s.nRecords < s.nArguments + 3) return false;
    for (int p = 0; p < s.nParameters; ++p) {
        if (ParameterOf(series, p).role != kRoleArgument) continue;
        if (xColumn < 0) {
            xColumn = p;
        } else {
            yColumn = p;
            break;
        }
    }
    return yColumn >= 0;
}

int PaintTwoArgument3D(Canvas& dc, const TwoArgumentViewState& state) {
    const multistat& m = theMultistat;
    if (m.userDefinedFormula || m.unitaryArgument || m.bestPolynome || m.bestPolynomeAuto) return 0;
    if (state.seriesCount < 1 || state.arguments != 2 || state.values < 1 || state.view3D != 1) return 0;
    if (m.nearNeighbors) return 0;
    const int w = plotRight - plotLeft;
    const int h = plotBottom - plotTop;
    // An empty plot rectangle would give the camera zero half sizes.
    if (w <= 0 || h <= 0) return 0;

    platform::Bitmap bitmap(w + 2, h + 2);
    if (bitmap.IsNull()) return 0;
    Canvas mem(bitmap);
    PaintPlotBackground(mem, w, h, state.nullPen);
    scene3d& scene = theD3view.theScene3d;
    FollowPanelSize(state.frameResized, w, h);
    if (theD3view.sceneRebuildRequest) RebuildScene(w, h);

    if (theChart.gridWidthEdit >= 1) {
        const Pen oldPen = mem.SelectPen(Pen(PenStyle::Solid, theChart.gridWidthEdit, theChart.sceneLineColor));
        const platform::ColorRef oldColor = mem.SetTextColor(theLegend.captionColor);
        const double* b = scene.boxBounds;  // xMax, xMin, yMax, yMin, zMax, zMin
        scene.PaintAxes(mem, &theLegend.xCaptionFont, scene.boxCentre[0], scene.boxCentre[1], scene.boxCentre[2],
                        b[1], b[3], b[5], b[0], b[2], b[4], theChart.intervals);
        mem.SetTextColor(oldColor);
        mem.SelectPen(oldPen);
    }

    theData.ResetMarkBuffer();
    const bool drawNow = state.seriesCount <= 1 && state.values <= 1;
    std::vector<double> x, y, z;
    for (int s = 0; s < SeriesCount(); ++s) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
        theData.GetParameterValues(s, xc, x);
        theData.GetParameterValues(s, yc, y);
        for (int v : ValueColumns(s)) {
            theData.GetParameterValues(s, v, z);
            const Initial& value = ParameterOf(s, v);
            PaintValuePoints(mem, scene, x, y, z, value, drawNow);
            const auto color = static_cast<platform::ColorRef>(value.color);
            if (theMultistat.plane) PaintFittedSurface(mem, scene, x, y, z, 0, color);
            if (theMultistat.parabolic) PaintFittedSurface(mem, scene, x, y, z, 1, color);
            if (theD3view.showNet) PaintDataNet(mem, scene, x, y, z, static_cast<platform::ColorRef>(value.color));
        }
    }
    if (!drawNow) theData.DrawMarks(mem, theChart.chartAreaColor);

    dc.CopyFrom(plotLeft, plotTop, w, h, bitmap, 0, 0);
    ShowCameraOnPage();
    return 1;
}

namespace {

// The ranges of both flat views: the View page's when Autozoom is off; otherwise the x and
// y of the eligible series with a margin on x and y, all written back to the View page.
// The map (selection >= 0 or -1) takes x and y up to the series holding the selected value
// column and that column as z; the points painter (allValues) every series and every value
// column as z.
void FlatViewRanges(int selection, bool allValues) {
    xyview& view = theXyview;
    if (!view.autozoom) {
        plotXMin = view.xMin, plotXMax = view.xMax;
        plotYMin = view.yMin, plotYMax = view.yMax;
        plotZMin = view.zMin, plotZMax = view.zMax;
        return;
    }
    ResetPlotRanges();
    std::vector<double> x, y, z;
    int counter = 0;
    bool found = false;
    for (int s = 0; s < SeriesCount() && !found; ++s) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
        theData.GetParameterValues(s, xc, x);
        theData.GetParameterValues(s, yc, y);
        ExtendXRange(x);
        ExtendYRange(y);
        for (int v : ValueColumns(s)) {
            if (allValues || counter++ == selection) {
                theData.GetParameterValues(s, v, z);
                ExtendZRange(z);
                if (!allValues) {
                    found = true;
                    break;
                }
            }
        }
    }
    const double p = view.stepPercent * 0.01;
    const double dx = std::fabs((plotXMax - plotXMin) * p);
    const double dy = std::fabs((plotYMax - plotYMin) * p);
    plotXMin -= dx, plotXMax += dx;
    plotYMin -= dy, plotYMax += dy;
    view.xMin = plotXMin, view.xMax = plotXMax;
    view.yMin = plotYMin, view.yMax = plotYMax;
    view.zMin = plotZMin, view.zMax = plotZMax;
    if (view.HasWindow()) view.UpdateData(false);
}

// Tick labels of the value scale right of the plot (the y range holds the z range).
void PaintValueScaleLabels(Canvas& dc) {
    const Pen dashed(PenStyle::Dash, theChart.borderWidth, theChart.gridLineColor);
    const Pen solid(PenStyle::Solid, theChart.borderWidth, theChart.gridLineColor);
    DrawAxisY(dc, theLegend.xCaptionFont, plotRight + 41, -5, dashed, theChart.intervals, 0, solid,
              theChart.showSlashes);
}

// Both flat views apply to the same shape; the colour-map switch chooses between them.
bool FlatViewApplies(const TwoArgumentViewState& state, bool map) {
    if (state.seriesCount < 1 || state.arguments != 2 || state.values < 1) return false;
    if (state.view3D != 0 || theMultistat.nearNeighbors) return false;
    return (theXyview.colorMapMode != 0) == map;
}

}  // namespace

// The colour-scale strip right of the plot with its tick labels.
void PaintColourStrip(Canvas& dc) {
    const xyview& view = theXyview;
    const double keepMin = plotYMin, keepMax = plotYMax;
    plotYMin = plotZMin;
    plotYMax = plotZMax;
    ComputePlotScales();
    const int n = view.colorSteps;
    const double r = plotZMax - plotZMin;
    for (int i = 0; i < n; ++i) {
        const int y0 = WorldToPixelY(plotZMin + i * r / n);
        const int y1 = WorldToPixelY(plotZMin + (i + 1) * r / n);
        auto channel = [&](int low, int high) {
            return low + static_cast<int>(std::trunc(static_cast<double>(high - low) * i / n));
        };
        const platform::ColorRef colour =
            platform::Rgb(channel(platform::RedOf(view.lowColor), platform::RedOf(view.highColor)),
                          channel(platform::GreenOf(view.lowColor), platform::GreenOf(view.highColor)),
                          channel(platform::BlueOf(view.lowColor), platform::BlueOf(view.highColor)));
        const platform::Point quad[4] = {
            {plotRight + 45, y0}, {plotRight + 45, y1}, {plotRight + 65, y1}, {plotRight + 65, y0}};
        FillPolygon(dc, quad, 4, colour);
    }
    PaintValueScaleLabels(dc);
    plotYMin = keepMin;
    plotYMax = keepMax;
    ComputePlotScales();
}

int PaintTwoArgumentMap(Canvas& dc, const TwoArgumentViewState& state) {
    if (!FlatViewApplies(state, true)) return 0;
    const int w = plotRight - plotLeft;
    const int h = plotBottom - plotTop;
    if (w <= 0 || h <= 0) return 0;
    const int selection = state.mapSelection;

    platform::Bitmap bitmap(w + 2, h + 2);
    if (bitmap.IsNull()) return 0;
    Canvas mem(bitmap);
    PaintPlotBackground(mem, w, h, state.nullPen);

    FlatViewRanges(selection, false);
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);

    std::vector<double> x, y, z;
    int counter = 0;
    bool done = false;
    for (int s = 0; s < SeriesCount() && !done; ++s) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(s, xc, yc)) continue;
        DrawProgressBar(0, kPaintingMessage, 0.6);
        theData.GetParameterValues(s, xc, x);
        theData.GetParameterValues(s, yc, y);
        for (int v : ValueColumns(s)) {
            if (counter++ != selection) continue;
            scene3d& scene = MapSceneToPlot(w, h);
            theData.GetParameterValues(s, v, z);
            if (!theXyview.autozoom) {
                KeepPointsInBox3(x, y, z, plotXMin, plotXMax, plotYMin, plotYMax, plotZMin, plotZMax);
            }
            const xyview& view = theXyview;
            if (!scene.PaintCellMap(mem, x, y, z, view.colorSteps, view.lowColor, view.highColor)) {
                scene.PaintLevels(mem, x, y, z, view.colorSteps, view.lowColor, view.highColor);
            }
            done = true;
            break;
        }
    }

    dc.CopyFrom(plotLeft, plotTop, w, h, bitmap, 0, 0);
    DrawAxes(dc);
    DrawProgressBar(0, kPaintingMessage, 0.6);
    PaintColourStrip(dc);
    return 1;
}

int PaintTwoArgumentPoints(Canvas& dc, const TwoArgumentViewState& state) {
    if (!FlatViewApplies(state, false)) return 0;
    const xyview& view = theXyview;
    FlatViewRanges(-1, true);
    ComputePlotScales();
    DrawProgressBar(0, kPaintingMessage, 0.6);

    // Marker size grows with the value: 0 at the bottom of the z range, colorSteps at its top.
    const double s = plotZMax != plotZMin ? 1 / (plotZMax - plotZMin) : 1;
    std::vector<double> x, y, z;
    for (int series = 0; series < SeriesCount(); ++series) {
        int xc = -1, yc = -1;
        if (!IsEligibleTwoArgumentSeries(series, xc, yc)) continue;
        theData.GetParameterValues(series, xc, x);
        theData.GetParameterValues(series, yc, y);
        for (int v : ValueColumns(series)) {
            theData.GetParameterValues(series, v, z);
            const Initial& value = ParameterOf(series, v);
            const std::size_t n = std::min({x.size(), y.size(), z.size()});
            for (std::size_t i = 0; i < n; ++i) {
                if (!view.autozoom && !(plotXMin <= x[i] && x[i] <= plotXMax && plotYMin <= y[i] &&
                                        y[i] <= plotYMax && plotZMin <= z[i] && z[i] <= plotZMax)) {
                    continue;
                }
                const int level = SaturatingToInt(std::trunc(view.colorSteps * (z[i] - plotZMin) * s));
                DrawMarker(dc, WorldToPixelX(x[i]), WorldToPixelY(y[i]), level, value.markShape,
                           static_cast<platform::ColorRef>(value.color), theChart.chartAreaColor);
            }
        }
    }
    DrawAxes(dc);

    // The marker scale: colorSteps + 1 black markers of sizes 0 to colorSteps.
    DrawProgressBar(0, kPaintingMessage, 0.6);
    const double keepMin = plotYMin, keepMax = plotYMax;
    plotYMin = plotZMin;
    plotYMax = plotZMax;
    ComputePlotScales();
    const int n = view.colorSteps;
    for (int i = 0; i <= n; ++i) {
        DrawMarker(dc, plotRight + 61, WorldToPixelY(plotZMin + i * (plotZMax - plotZMin) / n), i, 0, platform::kBlack,
                   theChart.chartAreaColor);
    }
    PaintValueScaleLabels(dc);
    plotYMin = keepMin;
    plotYMax = keepMax;
    ComputePlotScales();
    return 1;
}
