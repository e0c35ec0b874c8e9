// Mouse work on the chart through real mouse events on the main window: every kind of drag
// and the ranges it leaves on the View page, Autozoom turning drags off, and the Ctrl-click
// that selects the record nearest to it in the data sheet.
#include <cmath>

#include <QTest>

#include <gtest/gtest.h>

#include "charts/axes.h"
#include "charts/d3view_page.h"
#include "charts/plot_mapping.h"
#include "charts/series_painting.h"
#include "fitting/neighbour_estimate.h"
#include "main_window_steps.h"

namespace {

using mainwin_test::LoadShape;
using mainwin_test::ResetChoices;
using mainwin_steps::InWindow;
using mainwin_steps::LoadRecords;
using mainwin_steps::Repaint;

struct Bounds {
    double xMin, xMax, yMin, yMax;
};

// A line of `records` records (x = 0, 10, ..; y = x + 1) charted by a one-argument painter that
// takes the data's ranges under Autozoom, then draws the axes.
void StartLineChart(int records) {
    LoadShape(1, 1, 0, records);
    TheAnalysisHooks().painters.functionOfOneArgument = [](platform::Canvas& dc) {
        std::vector<double> x, y;
        theData.GetParameterValues(0, 0, x);
        theData.GetParameterValues(0, 1, y);
        if (theXyview.autozoom) {
            ExtendXRange(x);
            ExtendYRange(y);
        }
        ComputePlotScales();
        DrawAxes(dc);
        return 1;
    };
}

// The window point where the world point is drawn on the chart shown.
QPoint Pixel(CTabulonDlg& dlg, double x, double y) {
    return {dlg.chartRect.left + WorldToPixelX(x), dlg.chartRect.top + WorldToPixelY(y)};
}

class ChartMouse {
public:
    explicit ChartMouse(CTabulonDlg& dlg) : dlg_(dlg) {}

    // Fixed ranges on the View page, painted, so the mapping is that of the chart shown.
    void Show(const Bounds& b) {
        xyview& v = theXyview;
        v.autozoom = 0;
        v.xMin = b.xMin, v.xMax = b.xMax, v.yMin = b.yMin, v.yMax = b.yMax;
        theData.dataPageChanged = 1;
        dlg_.OnPaint();
    }
    QPoint At(double x, double y) const { return Pixel(dlg_, x, y); }
    QPoint AtPixel(int x, int y) const { return {dlg_.chartRect.left + x, dlg_.chartRect.top + y}; }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QWidget* w = dlg_.ClientWidget();
        QTest::mousePress(w, Qt::LeftButton, keys, from);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, keys, to);
        PumpWaitingMessages();
    }
    // One pixel's worth of world units on each axis: how close a drag can say a distance.
    double PixelX() const { return (plotXMax - plotXMin) / (plotRight - plotLeft); }
    double PixelY() const { return (plotYMax - plotYMin) / std::abs(plotBottom - plotTop); }

private:
    CTabulonDlg& dlg_;
};

// Shows the data sheet, then the chart `flag` asks for at the size the sheet leaves.
void ShowSheetAndRepaint(int& flag) {
    theData.links.sheetShow(true);
    PumpWaitingMessages();
    Repaint(flag);
}

// The record a Ctrl-click at `at` selects in the sheet, from a fresh sheet; -1: none.
int CtrlClickRecord(CTabulonDlg& dlg, QPoint at) {
    theDataEdit.FillDataGrid(0, 0);
    ChartMouse(dlg).Drag(at, at, Qt::ControlModifier);
    const std::vector<int> rows = theDataEdit.SelectedRows();
    EXPECT_LE(rows.size(), 1u);
    return rows.empty() ? -1 : theDataEdit.topRecord + rows[0];
}

void ExpectBounds(const Bounds& want, double px, double py) {
    const xyview& v = theXyview;
    EXPECT_NEAR(v.xMin, want.xMin, 2 * px);
    EXPECT_NEAR(v.xMax, want.xMax, 2 * px);
    EXPECT_NEAR(v.yMin, want.yMin, 2 * py);
    EXPECT_NEAR(v.yMax, want.yMax, 2 * py);
}

TEST(ChartMouse, EveryKindOfDragChangesTheRangesItShould) {
    InWindow([](CTabulonDlg& dlg) {
        StartLineChart(21);
        ChartMouse mouse(dlg);
        const Bounds start{0, 100, 0, 400};  // centre (50, 200)
        mouse.Show(start);  // the new data shape settles first
        PumpWaitingMessages();
        struct Case {
            const char* what;
            double x0, y0, x1, y1;
            Bounds want;
        };
        const Case cases[] = {
            {"1 rectangle", 20, 100, 40, 300, {20, 40, 100, 300}},
            {"2 right half, rightwards", 60, 200, 80, 200, {0, 120, 0, 400}},
            {"4 from the right half into the left", 70, 200, 30, 200, {-40, 60, 0, 400}},
            {"5 from the left half into the right", 30, 200, 70, 200, {40, 140, 0, 400}},
            {"6 left half, rightwards", 10, 200, 30, 200, {20, 100, 0, 400}},
            {"8 upper half, upwards", 50, 300, 50, 350, {0, 100, 0, 450}},
            {"10 from the upper half into the lower", 50, 300, 50, 100, {0, 100, -200, 200}},
            {"11 from the lower half into the upper", 50, 100, 50, 300, {0, 100, 200, 600}},
            {"12 lower half, upwards", 50, 50, 50, 150, {0, 100, 100, 400}},
            {"0 a click", 50, 200, 50.5, 201, {0, 100, 0, 400}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            mouse.Show(start);
            const double px = mouse.PixelX(), py = mouse.PixelY();
            mouse.Drag(mouse.At(c.x0, c.y0), mouse.At(c.x1, c.y1));
            ExpectBounds(c.want, px, py);
            EXPECT_NEAR(plotXMin, theXyview.xMin, 1e-9);  // the chart shows the new ranges at once
        }

        // Edges: the bound goes back to its automatic value (the data's extreme), the others stay.
        const Bounds inner{20, 100, 50, 150};
        struct Edge {
            const char* what;
            int x0, y0, x1, y1;  // pixels of the chart image
            Bounds want;
        };
        mouse.Show(inner);
        const int midX = (plotLeft + plotRight) / 2, midY = (plotTop + plotBottom) / 2;
        const Edge edges[] = {
            {"14 left edge", plotLeft + 3, midY - 40, plotLeft + 5, midY + 40, {0, 100, 50, 150}},
            {"15 bottom edge", midX - 40, plotBottom - 3, midX + 40, plotBottom - 5, {20, 100, 1, 150}},
            {"16 right edge", plotRight - 3, midY - 40, plotRight - 5, midY + 40, {20, 200, 50, 150}},
            {"17 top edge", midX - 40, plotTop + 3, midX + 40, plotTop + 5, {20, 100, 50, 201}},
            // Within 10 pixels of the right edge at both ends: an edge, not a click.
            {"16 a click at the right edge", plotRight - 4, midY, plotRight - 4, midY, {20, 200, 50, 150}},
        };
        for (const Edge& e : edges) {
            SCOPED_TRACE(e.what);
            mouse.Show(inner);
            mouse.Drag(mouse.AtPixel(e.x0, e.y0), mouse.AtPixel(e.x1, e.y1));
            ExpectBounds(e.want, 1e-9, 1e-9);
        }

        // An automatic bound beyond the other one would turn the axis over: it is refused.
        mouse.Show({-50, -5, 50, 150});
        mouse.Drag(mouse.AtPixel(plotLeft + 3, midY - 40), mouse.AtPixel(plotLeft + 5, midY + 40));
        ExpectBounds({-50, -5, 50, 150}, 1e-9, 1e-9);

        // With Autozoom on a drag changes nothing.
        mouse.Show(start);
        theXyview.autozoom = 1;
        mouse.Drag(mouse.At(20, 100), mouse.At(40, 300));
        ExpectBounds(start, 1e-9, 1e-9);
    });
}

TEST(ChartMouse, CtrlClickSelectsTheNearestRecordInTheSheet) {
    InWindow([](CTabulonDlg& dlg) {
        StartLineChart(60);
        ChartMouse mouse(dlg);
        theData.links.sheetShow(true);
        PumpWaitingMessages();
        mouse.Show({0, 600, 0, 600});
        // Two pixels off record 7: that record is selected; 30 pixels from every point: none.
        EXPECT_EQ(CtrlClickRecord(dlg, mouse.At(70, 71) + QPoint(2, 1)), 7);
        EXPECT_EQ(CtrlClickRecord(dlg, mouse.At(300, 301) + QPoint(21, 21)), -1);
    });
}

TEST(ChartMouse, CtrlClickOnTheNearNeighbourViewFindsASampledRecord) {
    InWindow([](CTabulonDlg& dlg) {
        // 1000 records of three arguments: the view draws every third record.
        LoadRecords({"a", "b", "c", "z"}, 1000, [](int r) {
            const double a = r % 10, b = (r / 10) % 10, c = r / 100;
            return std::vector<double>{a, b, c, a + 2 * b + 3 * c + 0.1 * (r % 7)};
        });
        theMultistat.plane = 0;
        theMultistat.nearNeighbors = 1;
        theMultistat.weightKind = 0;
        ShowSheetAndRepaint(theMultistat.changed);

        const std::vector<int> mask{-1, -1, -1, 1};
        auto pixelOf = [&](int r) {
            const double* v = &theData.allValues[static_cast<std::size_t>(r * 4)];
            const double e = NearestNeighbourEstimate(theData.allValues, 4, 3, 0, 1000, mask, 3, r, 0, 3,
                                                      {v[0], v[1], v[2]});
            return Pixel(dlg, v[3], e);
        };
        const QPoint target = pixelOf(300);
        const int record = CtrlClickRecord(dlg, target);
        ASSERT_GE(record, 0);
        EXPECT_EQ(record % 3, 0);  // a record the view drew
        EXPECT_EQ((pixelOf(record) - target).manhattanLength(), 0);
    });
}

TEST(ChartMouse, CtrlClickOnTheUserFormulaViewsFindsTheDrawnRecord) {
    InWindow([](CTabulonDlg& dlg) {
        struct Case {
            const char* what;
            int arguments, unitary, show3D;
        };
        const Case cases[] = {
            {"measured against computed, two arguments", 2, 0, 0},
            {"measured against computed, two arguments, drawn instead of the scene", 2, 0, 1},
            {"value against the unified argument, three arguments", 3, 1, 0},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            ResetChoices();
            std::vector<double> computed, measured;
            const std::vector<std::string> names = c.arguments == 3 ? std::vector<std::string>{"x1", "x2", "x3", "y"}
                                                                    : std::vector<std::string>{"x1", "x2", "y"};
            LoadRecords(names, 30, [&](int r) {
                const double x1 = r, x2 = (r * 7) % 5, x3 = (r * 3) % 4;
                const double y = x1 + 2 * x2 + 0.5 * x3 + 0.3 * std::sin(r);
                computed.push_back(1.2 * x1 + 1.5 * x2);  // the formula below
                measured.push_back(y);
                return c.arguments == 3 ? std::vector<double>{x1, x2, x3, y} : std::vector<double>{x1, x2, y};
            });
            theUseruf.formula = "a*x1+b*x2";
            theUseruf.names = {"a", "b"};
            theUseruf.values = {1.2, 1.5};
            theUseruf.plusConst = 0;
            theMultistat.plane = 0;
            theMultistat.userDefinedFormula = !c.unitary;
            theMultistat.unitaryArgument = c.unitary;
            theXyview.show3D = c.show3D;
            ShowSheetAndRepaint(theMultistat.changed);
            // The view's point of record 17: (measured, computed) or (unified argument, measured).
            const QPoint at = c.unitary ? Pixel(dlg, computed[17], measured[17]) : Pixel(dlg, measured[17], computed[17]);
            EXPECT_EQ(CtrlClickRecord(dlg, at + QPoint(2, -1)), 17);
            theData.links.sheetShow(false);
        }
    });
}

TEST(ChartMouse, CtrlClickOnTheLineOfOneValue) {
    InWindow([](CTabulonDlg& dlg) {
        LoadShape(0, 1, 0, 40);  // one value: 0, 10, .. 390 at x = record * step
        ShowSheetAndRepaint(theData.dataPageChanged);
        const QPoint at = Pixel(dlg, 23 * RecordStep(40), 230);
        EXPECT_EQ(CtrlClickRecord(dlg, at), 23);
        // The histogram draws no records: nothing is selected.
        theXyview.histogram = 1;
        EXPECT_EQ(CtrlClickRecord(dlg, at), -1);
    });
}

TEST(ChartMouse, CtrlClickOnTheSceneFindsTheProjectedRecord) {
    InWindow([](CTabulonDlg& dlg) {
        LoadRecords({"x", "y", "z"}, 25, [](int r) {
            const double x = r % 5, y = r / 5;
            return std::vector<double>{x, y, x * y};
        });
        theMultistat.plane = 0;
        theXyview.show3D = 1;
        ShowSheetAndRepaint(theXyview.changed);
        double px = 0, py = 0, size = 0, depth = 0;
        ASSERT_EQ(theD3view.theScene3d.ProjectPoint(3, 2, 6, px, py, size, depth), 1);  // record 13
        const QPoint at(dlg.chartRect.left + plotLeft + static_cast<int>(px),
                        dlg.chartRect.top + plotTop + static_cast<int>(py));
        EXPECT_EQ(CtrlClickRecord(dlg, at), 13);
    });
}

TEST(ChartMouse, HitTestClearsOtherSchemesUnderTheBestPolynomial) {
    platform::ScriptedDialogs dialogs;
    CTabulonDlg dlg;
    LoadShape(3, 1, 0, 10);
    multistat& m = theMultistat;
    m.bestPolynome = 1;
    m.plane = m.parabolic = m.nearNeighbors = m.correlation = m.unitaryArgument = m.userDefinedFormula = 1;
    dlg.HitTestChart(0, 0);
    EXPECT_EQ(m.plane + m.parabolic + m.nearNeighbors + m.correlation + m.unitaryArgument + m.userDefinedFormula, 0);
    EXPECT_EQ(m.bestPolynome, 1);
    ResetChoices();
    theData.OnDeleteAll();
}

}  // namespace
