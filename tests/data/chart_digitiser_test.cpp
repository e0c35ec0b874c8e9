// The chart digitiser on chart pictures drawn here: a line at a known height, discs with
// known centres, the value mapping of the chart area, the mouse and the data command.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <tuple>

#include "data/fromimage_dialog.h"
#include "import_test_support.h"
#include "platform/clipboard.h"
#include "platform/control.h"

namespace {

using import_test::SeriesNames;
using import_test::SeriesValues;
using platform::Point;

QImage WhitePicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Disc(QImage& image, int cx, int cy, int radius) {
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) image.setPixel(x, y, qRgb(0, 0, 0));
}

// Whether p lies within a pixel of one of the points.
bool NearOneOf(const Point& p, const std::vector<Point>& points) {
    for (const Point& q : points)
        if (std::abs(p.x - q.x) <= 1 && std::abs(p.y - q.y) <= 1) return true;
    return false;
}

// The client point showing picture pixel (x, y) at scale 1.
Point Shown(const fromimage& d, int x, int y) { return Point{x + d.displayLeft, y + d.displayTop}; }

// Queues what the user does in the next digitiser dialog.
void OnNextDigitiser(platform::ScriptedDialogs& dialogs, std::function<void(fromimage&)> step) {
    dialogs.modalSteps.push_back([step](platform::Dialog& dialog) { step(static_cast<fromimage&>(dialog)); });
}

class Digitiser : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(nullptr)); }
    void TearDown() override { dlg.DestroyWindow(); }
    Point Shown(int x, int y) const { return ::Shown(dlg, x, y); }

    platform::ScriptedDialogs dialogs;
    fromimage dlg;
};

// A picture that fits is shown at scale 1; a larger one is shrunk, and its points map there and back.
TEST_F(Digitiser, PicturesFitOrAreShrunkAndMapBothWays) {
    dlg.SetPicture(WhitePicture(300, 200));
    Point p;
    EXPECT_TRUE(dlg.ScreenToImage(dlg.displayLeft + 17, dlg.displayTop + 9, p));
    EXPECT_EQ(p, (Point{17, 9}));
    EXPECT_FALSE(dlg.ScreenToImage(dlg.displayLeft, dlg.displayTop + 9, p));  // the edge is outside

    dlg.SetPicture(WhitePicture(3000, 2500));
    ASSERT_GT(dlg.scaleY, 1);
    EXPECT_NEAR(dlg.scaleX, 3000.0 / dlg.shownWidth, 1e-12);
    Point shown;
    ASSERT_TRUE(dlg.ScreenToImage(dlg.displayLeft + 100, dlg.displayTop + 50, p));
    EXPECT_EQ(p.x, static_cast<int>(100 * dlg.scaleX));
    ASSERT_TRUE(dlg.ImageToScreen(p.x, p.y, shown));
    EXPECT_NEAR(shown.x, dlg.displayLeft + 100, 1);
    EXPECT_NEAR(shown.y, dlg.displayTop + 50, 1);
}

TEST_F(Digitiser, ValuesOfPointsFollowTheChartAreaAndTheRanges) {
    dlg.SetPicture(WhitePicture(400, 300));
    dlg.chartArea = {Point{300, 250}, Point{100, 50}};  // corners in any order
    dlg.horizontalMin = 0;
    dlg.horizontalMax = 10;
    dlg.verticalMin = -1;
    dlg.verticalMax = 3;
    dlg.points = {Point{100, 250}, Point{350, 0}};
    EXPECT_DOUBLE_EQ(dlg.PointX(0), 0);
    EXPECT_DOUBLE_EQ(dlg.PointY(0), -1);  // the bottom edge: the vertical minimum
    EXPECT_DOUBLE_EQ(dlg.PointX(1), 12.5);  // outside: extrapolated
    EXPECT_DOUBLE_EQ(dlg.PointY(1), 4);
    dlg.chartArea = {Point{100, 50}, Point{100, 50}};  // no width or height: no division by zero
    EXPECT_EQ(dlg.PointX(1), 0);
    EXPECT_EQ(dlg.PointY(1), 0);
}

TEST_F(Digitiser, LineFindsEveryColumnOfALineAtItsHeight) {
    struct Case {
        int thickness;
        double slope;
    } cases[] = {{1, 0}, {3, 0}, {1, 0.5}, {3, -0.3}};
    for (const Case& c : cases) {
        QImage image = WhitePicture(300, 200);
        auto height = [&](int x) { return 120.0 + c.slope * (x - 150); };
        for (int x = 0; x < 300; ++x) {
            const int y0 = static_cast<int>(std::lround(height(x))) - c.thickness / 2;
            for (int y = y0; y < y0 + c.thickness; ++y) image.setPixel(x, y, qRgb(20, 30, 200));
        }
        dlg.SetPicture(image);
        dlg.points.clear();
        dlg.OnLine();
        ASSERT_EQ(dlg.points.size(), 281u) << c.thickness << " " << c.slope;
        for (std::size_t i = 0; i < dlg.points.size(); ++i) {
            EXPECT_EQ(dlg.points[i].x, static_cast<int>(10 + i));
            EXPECT_NEAR(dlg.points[i].y, height(dlg.points[i].x), 1.0) << c.thickness << " " << c.slope;
        }
    }
}

TEST_F(Digitiser, MarksFindTheCentresOfDiscs) {
    const std::vector<Point> centres{{37, 51}, {120, 80}, {203, 150}, {250, 33}, {61, 170}, {150, 120}};
    for (int radius : {1, 2}) {
        QImage image = WhitePicture(300, 200);
        for (const Point& c : centres) Disc(image, c.x, c.y, radius);
        dlg.SetPicture(image);
        dlg.points = {Point{121, 82}, Point{280, 100}};  // hand-set: one near ink, one not
        dlg.OnMarks();
        ASSERT_FALSE(dlg.points.empty());
        for (const Point& p : dlg.points) EXPECT_TRUE(NearOneOf(p, centres)) << radius << ": " << p.x << " " << p.y;
        for (const Point& c : centres) EXPECT_TRUE(NearOneOf(c, dlg.points)) << radius << ": " << c.x << " " << c.y;
    }
}

TEST_F(Digitiser, AUniformAreaGivesNothing) {
    dlg.SetPicture(WhitePicture(100, 100));
    dlg.OnLine();
    dlg.OnMarks();
    EXPECT_TRUE(dlg.points.empty());
    double mean = 0;
    EXPECT_FALSE(dlg.BrightnessStatistics(10, 90, 90, 10, mean));
    EXPECT_FALSE(dlg.BrightnessStatistics(10, 9, 90, 10, mean));
}

TEST_F(Digitiser, ClicksAddAndAltRemovesTheFirstPointNearIt) {
    dlg.SetPicture(WhitePicture(200, 200));
    dlg.ClickPoint(Shown(50, 50), false);
    dlg.ClickPoint(Shown(53, 52), false);
    dlg.ClickPoint(Shown(100, 100), false);
    dlg.ClickPoint(Shown(0, 0), false);  // on the edge: outside the picture
    dlg.ClickPoint(Shown(52, 51), true);
    dlg.ClickPoint(Shown(95, 100), true);  // 5 pixels away: not near
    EXPECT_EQ(dlg.points, (std::vector<Point>{{53, 52}, {100, 100}}));

    dlg.dataArea = {Point{100, 100}, Point{40, 40}};
    dlg.OnRemovePointsInside();  // (100, 100) lies on the edge and stays
    EXPECT_EQ(dlg.points, (std::vector<Point>{{100, 100}}));
}

TEST_F(Digitiser, DraggingTheChartArea) {
    dlg.SetPicture(WhitePicture(300, 200));
    dlg.Control(fromimage::kSelectChartAreaButton).Click();
    dlg.OnLButtonDown(platform::kMouseLeft, Shown(20, 30));
    dlg.OnMouseMove(platform::kMouseLeft, Shown(100, 90));
    dlg.OnLButtonUp(0, Shown(250, 180));
    EXPECT_EQ(dlg.chartArea.first, (Point{20, 30}));
    EXPECT_EQ(dlg.chartArea.second, (Point{250, 180}));
    EXPECT_EQ(dlg.selectingChartArea, 0);
    EXPECT_TRUE(dlg.points.empty());  // the press selected the area and set no point
}

TEST_F(Digitiser, PastingWithoutAPictureChangesNothing) {
    dlg.SetPicture(WhitePicture(50, 40));
    platform::SetClipboardText("no picture");
    dlg.OnPasteImage();
    EXPECT_EQ(dlg.picture.Width(), 50);
    QImage pasted = WhitePicture(80, 60);
    platform::SetClipboardImage(pasted);
    dlg.OnPasteImage();
    EXPECT_EQ(dlg.picture.Width(), 80);
}

TEST(ChartDigitiserCommand, PointsBecomeASeriesXY) {
    platform::ScriptedDialogs dialogs;
    data page;
    OnNextDigitiser(dialogs, [](fromimage& d) {
        d.SetPicture(WhitePicture(400, 300));
        d.chartArea = {Point{100, 250}, Point{300, 50}};
        d.Control(fromimage::kHorizontalMaxEdit).SetText("10");
        d.Control(fromimage::kVerticalMinEdit).SetText("100");
        d.Control(fromimage::kVerticalMaxEdit).SetText("200");
        d.Control(fromimage::kUpdateButton).Click();
        d.ClickPoint(Shown(d, 200, 150), false);
        d.ClickPoint(Shown(d, 300, 50), false);
        d.Control(fromimage::kOkButton).Click();
    });
    ASSERT_EQ(RunChartDigitiser(page), 1);
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(SeriesNames(page, 0), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(SeriesValues(page, 0), (std::vector<double>{5, 150, 10, 200}));

    // The next opening starts without points or ranges but keeps the picture: OK adds nothing.
    std::tuple<std::size_t, int, double> seen;  // points, picture width, horizontal maximum
    OnNextDigitiser(dialogs, [&](fromimage& d) {
        seen = {d.points.size(), d.picture.Width(), d.horizontalMax};
        d.Control(fromimage::kOkButton).Click();
    });
    EXPECT_EQ(RunChartDigitiser(page), 0);
    EXPECT_EQ(seen, std::make_tuple(std::size_t{0}, 400, 1.0));
    EXPECT_EQ(page.series.size(), 1u);

    // A store of three parameters refuses the series.
    page.OnDeleteAll();
    page.pendingSeries.nParameters = 3;
    page.allValues = {1, 2, 3};
    ASSERT_EQ(page.AddNewSeries(1, {"a", "b", "c"}), 1);
    OnNextDigitiser(dialogs, [](fromimage& d) {
        d.ClickPoint(Shown(d, 20, 20), false);
        d.Control(fromimage::kOkButton).Click();
    });
    EXPECT_EQ(RunChartDigitiser(page), 0);
    EXPECT_EQ(page.allValues, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{
                                      "Number of parameters in additing series must be equial to existing 3\nPlease try again."});
}

}  // namespace
