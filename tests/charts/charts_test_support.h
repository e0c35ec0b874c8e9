// Helpers the chart tests share: restoring program-wide settings, counting pixels, clicking
// widgets as the user does, and filling the data store with series.
#pragma once

#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "charts/plot_mapping.h"
#include "charts/result_tables.h"
#include "charts/series_painting.h"
#include "charts/xyview_page.h"
#include "data/data_page.h"
#include "platform/canvas.h"

namespace charts_test {

// Sets a program-wide value for one test and puts the old one back afterwards, so that tests
// run in any order.
template <class T>
class Scoped {
public:
    Scoped(T& value, T now) : value_(value), saved_(value) { value_ = now; }
    explicit Scoped(T& value) : value_(value), saved_(value) {}
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    ~Scoped() { value_ = saved_; }

private:
    T& value_;
    T saved_;
};

using platform::ColorRef;
using ColourMatch = std::function<bool(ColorRef)>;

// Pixels of r whose colour matches; pixels outside the image do not count.
inline int CountPixels(const platform::Canvas& dc, platform::Rect r, const ColourMatch& match) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const ColorRef c = dc.GetPixel(x, y);
            n += c != platform::Canvas::kInvalidColor && match(c);
        }
    }
    return n;
}

inline int CountColour(const platform::Canvas& dc, ColorRef colour, platform::Rect r) {
    return CountPixels(dc, r, [colour](ColorRef c) { return c == colour; });
}

// A press and release of the left button at (x, y) of the widget.
inline void Click(QWidget* widget, int x, int y) {
    const QPointF local(x, y), global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

using Records = std::vector<std::vector<double>>;

struct Mark {
    ColorRef color;
    int shape = 2, size = 4;
};

// Replaces the store by one series per entry of `series`. The first `arguments` columns are
// arguments and the rest values (-1: all but the last, as an import makes them); every value
// is drawn with `mark`. The columns are named c0, c1, ... unless named.
inline void LoadSeries(const std::vector<Records>& series, Mark mark, int arguments = -1,
                       std::vector<std::string> names = {}) {
    theData.OnDeleteAll();
    const int n = static_cast<int>(series.at(0).at(0).size());
    for (int p = static_cast<int>(names.size()); p < n; ++p) names.push_back("c" + std::to_string(p));
    for (const Records& records : series) {
        theData.CheckNewSeriesShape(n, theData.pendingSeries);
        for (const auto& r : records) theData.allValues.insert(theData.allValues.end(), r.begin(), r.end());
        theData.AddNewSeries(static_cast<int>(records.size()), names);
    }
    for (int p = 0; arguments >= 0 && p < n; ++p) {
        theData.activeParameter = p;
        if (p < arguments) {
            theData.MakeActiveParameterArgument();
        } else {
            theData.MakeActiveParameterValue();
        }
    }
    for (Initial& i : theData.parameters) {
        if (i.role != kRoleValue) continue;
        i.color = static_cast<std::int32_t>(mark.color);
        i.markShape = mark.shape;
        i.markSize = mark.size;
        i.autoSize = 0;
    }
}

// What the painting dispatcher hands the series painters for the store as it is.
inline SeriesPaintContext Context(int visibleOnly = 0) {
    SeriesPaintContext c;
    c.seriesCount = static_cast<int>(theData.series.size());
    c.arguments = c.seriesCount ? theData.series[0].nArguments : 0;
    c.values = c.seriesCount ? theData.series[0].nValues : 0;
    c.visibleDataOnly = visibleOnly;
    return c;
}

// The chart frame as the main window leaves it, the plot inside margins of a 400 x 300 image,
// and the result tables emptied as the dispatcher does before the painters run.
inline void Frame(int autozoom) {
    theResultTables.Clear();
    const xyview& v = theXyview;
    SetChartFrame(400, 300, autozoom, PlotViewRanges{v.xMin, v.xMax, v.yMin, v.yMax, v.zMin, v.zMax});
    plotLeft = 40, plotRight = 380, plotTop = 10, plotBottom = 280;
}

// Each named value against its expected one, to within rounding.
inline void ExpectDoubles(std::initializer_list<std::tuple<const char*, double, double>> rows) {
    for (const auto& [name, got, want] : rows) EXPECT_DOUBLE_EQ(got, want) << name;
}

// The plot's world ranges after a paint, each to within rounding.
inline void ExpectPlotRanges(double xMin, double xMax, double yMin, double yMax) {
    EXPECT_DOUBLE_EQ(plotXMin, xMin);
    EXPECT_DOUBLE_EQ(plotXMax, xMax);
    EXPECT_DOUBLE_EQ(plotYMin, yMin);
    EXPECT_DOUBLE_EQ(plotYMax, yMax);
}

// The ranges a paint wrote back to the View page, each to within rounding.
inline void ExpectViewRanges(double xMin, double xMax, double yMin, double yMax) {
    EXPECT_DOUBLE_EQ(theXyview.xMin, xMin);
    EXPECT_DOUBLE_EQ(theXyview.xMax, xMax);
    EXPECT_DOUBLE_EQ(theXyview.yMin, yMin);
    EXPECT_DOUBLE_EQ(theXyview.yMax, yMax);
}

inline std::string OraclePath(const char* name) {
    return std::string(TABULON_SOURCE_DIR) + "/tests/charts/scene_oracle/" + name;
}

struct PointSet {
    std::vector<double> x, y, z;
};

// The named point sets of the scene oracle: "set <name> <n>" and n lines of x y z each.
inline std::map<std::string, PointSet> ReadPointSets() {
    std::map<std::string, PointSet> sets;
    std::ifstream in(OraclePath("points.txt"));
    std::string word, name;
    int n = 0;
    while (in >> word >> name >> n) {
        PointSet& s = sets[name];
        for (int i = 0; i < n; ++i) {
            double a, b, c;
            in >> a >> b >> c;
            s.x.push_back(a);
            s.y.push_back(b);
            s.z.push_back(c);
        }
    }
    return sets;
}

}  // namespace charts_test
