// The chart frame: the plot rectangle it leaves for several image sizes and fonts, where the
// title and the captions land for their sliders, the colour-scale strip of the map shapes;
// and the formula legend block: its rows, its alignment, and both "overlap" settings.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "charts/chart_page.h"
#include "charts/legend_page.h"
#include "charts/plot_mapping.h"
#include "main_window_support.h"

namespace {

constexpr platform::ColorRef kBorderArea = 0xFFEBD7;
constexpr platform::ColorRef kInk = 0x0000FF;

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

// Puts the legend page and the store's parameters back as they were.
struct PagesGuard {
    legend_settings settings = theLegend.settings;
    platform::Font titleFont = theLegend.titleFont, xFont = theLegend.xCaptionFont;
    std::vector<Initial> parameters = theData.parameters;
    std::vector<Series> series = theData.series;
    ~PagesGuard() {
        theLegend.settings = settings;
        theLegend.titleFont = titleFont, theLegend.xCaptionFont = xFont;
        theData.parameters = parameters, theData.series = series;
    }
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right/bottom inclusive
    bool Empty() const { return right < left; }
};

// Pixels in the region that are neither of the two background colours.
Box InkBox(platform::Canvas& dc, int x0, int y0, int x1, int y1, platform::ColorRef bg1, platform::ColorRef bg2) {
    Box b;
    for (int y = std::max(y0, 0); y < std::min(y1, dc.Height()); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, dc.Width()); ++x) {
            const platform::ColorRef c = dc.GetPixel(x, y);
            if (c == bg1 || c == bg2) continue;
            b.left = std::min(b.left, x), b.right = std::max(b.right, x);
            b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
        }
    }
    return b;
}

int Width(platform::Canvas& dc, const platform::Font& font, const std::string& text, int* height = nullptr) {
    dc.SelectFont(font);
    const platform::Size s = dc.GetTextExtent(text);
    if (height) *height = s.cy;
    return s.cx;
}

// A window-less main dialog with its drawing objects, and a chart image to paint into.
struct Frame {
    CTabulonDlg dlg;
    platform::Bitmap image;
    std::unique_ptr<platform::Canvas> dc;
    Frame(int w, int h) : image(w, h) {
        dlg.CreateDrawingObjects();
        dc = std::make_unique<platform::Canvas>(image);
        plotYDirection = 1.0;
        SetChartFrame(w, h, 1, PlotViewRanges{});
        plotXMin = 0, plotXMax = 10, plotYMin = 0, plotYMax = 10;
    }
};

struct GeometryCase {
    int width, height, captionHeight, titleHeight;
    std::string title, xCaption, yCaption;
    double direction = 1.0;  // 0: no chart painted yet since start-up
    int series = 0, arguments = 0, values = 0, view3D = 0;
    bool strip = false;  // the colour-map shapes keep a strip for their scale
};

TEST(ChartFrame, PlotRectangleLeavesRoomForCaptionsAndLabels) {
    const std::vector<GeometryCase> cases = {
        {640, 480, 16, 24, "", "", ""},
        {1920, 1080, 16, 24, "New chart", "time, s", "volume"},
        {300, 200, 24, 30, "A title", "x", "y"},
        // The first chart after start-up lays its frame out like every later one.
        {640, 480, 16, 24, "", "x", "", 0.0},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 1, 2, 1, 0, true},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 2, 0, 2, 0, true},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 1, 2, 1, 1, false},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 1, 2, 0, 0, false},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 1, 1, 1, 0, false},
        {600, 400, 16, 24, "New chart", "", "", 1.0, 0, 2, 1, 0, false},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        PagesGuard guard;
        theLegend.xCaptionFont = platform::Font::Make("Times", c.captionHeight, 600);
        theLegend.titleFont = platform::Font::Make("Times", c.titleHeight, 600);
        theLegend.title = c.title, theLegend.xCaption = c.xCaption, theLegend.yCaption = c.yCaption;
        Frame f(c.width, c.height);
        plotYDirection = c.direction;
        f.dlg.dataSeriesCount = c.series;
        f.dlg.dataArguments = c.arguments;
        f.dlg.dataValues = c.values;
        f.dlg.view3D = c.view3D;
        int lh = 0, th = 0;
        const int lw = Width(*f.dc, theLegend.xCaptionFont, "1234E67", &lh);
        Width(*f.dc, theLegend.titleFont, c.title, &th);
        f.dlg.PaintChartFrame(*f.dc);

        const int top = c.title.empty() ? 10 : 5 + th + 5;
        int bottom = c.height - 3 - lh;
        if (!c.xCaption.empty()) bottom -= lh + 7;
        EXPECT_EQ(plotTop, top);
        EXPECT_EQ(plotBottom, bottom);
        EXPECT_EQ(plotLeft, lw + 5);
        EXPECT_EQ(plotRight, c.width - Trunc(lw * 0.5 + 3.0) - (c.strip ? 50 : 0));
        EXPECT_DOUBLE_EQ(plotScaleX, (plotRight - plotLeft) / 10.0);
    }
}

TEST(ChartFrame, TitleAndCaptionsFollowTheirSliders) {
    for (int p : {0, 50, 100}) {
        SCOPED_TRACE("slider " + std::to_string(p));
        PagesGuard guard;
        theLegend.title = "Wide title Wq";
        theLegend.xCaption = "";
        theLegend.yCaption = "Caption of y";
        theLegend.titleAlign = p;
        theLegend.yCaptionAlign = p;
        const int width = 700, height = 400;
        Frame f(width, height);
        int lh = 0, th = 0;
        const int lw = Width(*f.dc, theLegend.xCaptionFont, "1234E67", &lh);
        const int tw = Width(*f.dc, theLegend.titleFont, theLegend.title, &th);
        const int yw = Width(*f.dc, theLegend.xCaptionFont, theLegend.yCaption);
        f.dlg.PaintChartFrame(*f.dc);

        const int right = width - Trunc(lw * 0.5) - tw + 3, left = lw + 5;
        const int titleX = std::max(Trunc((right * p + left * (100 - p)) * 0.01), 0);
        EXPECT_NEAR(InkBox(*f.dc, 0, 5, width, 5 + th, kBorderArea, kBorderArea).left, titleX, 3);

        // The y caption runs up the left margin. It is placed before the labels' margin is
        // taken: its rows run between the plot top and the bottom left for the x labels.
        const int bottom = height - 3 - lh, top = 5 + th + 5;
        const Box yInk = InkBox(*f.dc, 0, 0, plotLeft - 4, height, kBorderArea, kBorderArea);
        ASSERT_FALSE(yInk.Empty());
        const double q = p * 0.01;
        const int start = std::max(Trunc(q * (yw + top) + (1 - q) * bottom), top);  // the text's first letter
        EXPECT_LE(yInk.bottom, start + 1);
        EXPECT_GE(yInk.top, start - yw - 1);
    }
}

TEST(ChartFrame, TitleBeyondLatin1PaintsItsCharacters) {
    // UTF-8 text is drawn as such: an em dash is a long flat stroke, not '?' nor three Latin-1
    // characters, and a title with letters beyond ASCII has ink as wide as it was measured.
    PagesGuard guard;
    theLegend.titleColor = kInk;
    theLegend.xCaption = theLegend.yCaption = "";
    theLegend.titleAlign = 0;
    struct Case {
        std::string title;
        bool flat;
    };
    for (const Case& c : {Case{"\xE2\x80\x94", true}, Case{"M\xC3\xBCller \xE2\x80\x94 \xC3\x85ngstr\xC3\xB6m", false}}) {
        SCOPED_TRACE(c.title);
        theLegend.title = c.title;
        Frame f(500, 300);
        int th = 0;
        const int tw = Width(*f.dc, theLegend.titleFont, c.title, &th);
        f.dlg.PaintChartFrame(*f.dc);
        const Box ink = InkBox(*f.dc, 0, 5, 500, 5 + th, kBorderArea, kBorderArea);
        ASSERT_FALSE(ink.Empty());
        const int inkWidth = ink.right - ink.left + 1, inkHeight = ink.bottom - ink.top + 1;
        EXPECT_LE(inkWidth, tw + 2);
        if (c.flat) {
            EXPECT_GE(inkWidth, 3 * inkHeight);
            EXPECT_GE(inkWidth, Width(*f.dc, theLegend.titleFont, "-") * 3 / 2);
        } else {
            EXPECT_GE(inkWidth, tw * 9 / 10);
        }
    }
}

// A store of two parameters with their marks, one series.
void TwoParameters() {
    theData.parameters.assign(2, Initial{});
    theData.parameters[0].color = 0x00C000;
    theData.parameters[0].markShape = 2;
    theData.parameters[1].color = 0xC00000;
    theData.parameters[1].markShape = 3;
}

TEST(LegendBlock, EntriesWithoutFormulaKeepTheirMarkAndGiveTheirRowAway) {
    PagesGuard guard;
    TwoParameters();
    Frame f(600, 400);
    f.dlg.dataSeriesCount = 1;
    f.dlg.savedPlotRect.top = 40;
    f.dlg.legendLineHeight = 20;
    f.dlg.legendTexts = {"y=a*x+b", "no formula here", "z=c*x"};
    f.dlg.legendMarks = {0, 1, 0};
    f.image.Fill(platform::kWhite);
    EXPECT_EQ(f.dlg.PaintLegendBlock(*f.dc, 100), 2);

    int th = 0;
    Width(*f.dc, theLegend.formulaFont, "y=a*x+b", &th);
    // Texts at x + 30 in rows 0 and 1; the entry without "=" draws no text.
    for (int rowTop : {45, 65}) {
        EXPECT_NEAR(InkBox(*f.dc, 125, rowTop, 600, rowTop + th, platform::kWhite, platform::kWhite).left, 130, 3);
    }
    EXPECT_TRUE(InkBox(*f.dc, 125, 45 + 2 * 20 + th, 600, 400, platform::kWhite, platform::kWhite).Empty());
    // The third entry keeps its mark, centred at (x + 15, top + 5 + 2.5 * h).
    EXPECT_FALSE(InkBox(*f.dc, 100, 92, 125, 99, platform::kWhite, theChart.chartAreaColor).Empty());

    theLegend.showFormulas = 0;
    EXPECT_EQ(f.dlg.PaintLegendBlock(*f.dc, 100), 0);
    theLegend.showFormulas = 1;
    EXPECT_EQ(f.dlg.MeasureFormulaLegend(*f.dc), Width(*f.dc, theLegend.formulaFont, "no formula here"));
}

// The whole chart paint with a painter that adds two legend entries, for both settings.
TEST(LegendBlock, PaintChartPlacesTheBlockOverOrAboveThePlot) {
    for (int overlap : {1, 0}) {
        for (int align : {0, 100}) {
            SCOPED_TRACE("overlap " + std::to_string(overlap) + " align " + std::to_string(align));
            PagesGuard guard;
            mainwin_test::HooksGuard hooks;
            mainwin_test::ResetChoices();
            TwoParameters();
            theData.series.assign(1, Series{});
            theData.series[0].nParameters = 2, theData.series[0].nArguments = 1, theData.series[0].nValues = 1;
            theLegend.showFormulas = 1;
            theLegend.overlap = overlap;
            theLegend.formulaAlign = align;
            theLegend.title = "";
            Frame f(800, 500);
            f.dlg.dataSeriesCount = 1, f.dlg.dataArguments = 1, f.dlg.dataValues = 1;
            f.dlg.legendLineHeight = 20;
            std::vector<int> tops;
            CTabulonDlg* dlg = &f.dlg;
            TheAnalysisHooks().painters.functionOfOneArgument = [&tops, dlg](platform::Canvas&) {
                tops.push_back(plotTop);
                dlg->legendTexts = {"y=1+2*x", "y=3*x"};
                dlg->legendMarks = {1, 1};
                return 1;
            };
            chartPaintEnabled = 1;
            f.dlg.PaintChart(*f.dc, 800, 500);
            int ah = 0;
            const int widest = Width(*f.dc, theLegend.formulaFont, "y=1+2*x");
            Width(*f.dc, theLegend.formulaFont, "Average", &ah);
            ASSERT_FALSE(tops.empty());
            const int frameTop = tops[0];
            if (overlap) {
                ASSERT_EQ(tops.size(), 1u);
                EXPECT_EQ(plotTop, frameTop);
            } else {
                ASSERT_EQ(tops.size(), 2u);
                EXPECT_EQ(tops[1], frameTop + Trunc(ah * 1.2) * 2 + ah + 1);
                EXPECT_EQ(plotTop, tops[1]);
            }
            // The block's text starts 30 pixels right of its left edge.
            const int room = plotRight - plotLeft - widest - 30;
            const int x = plotLeft + Trunc(align * 0.01 * room);
            int th = 0;
            Width(*f.dc, theLegend.formulaFont, "y=3*x", &th);
            const Box text = InkBox(*f.dc, x + 25, frameTop + 5, plotRight - 3, frameTop + 5 + th,
                                    theChart.chartAreaColor, kBorderArea);
            ASSERT_FALSE(text.Empty());
            EXPECT_NEAR(text.left, x + 30, 3);
        }
    }
}

}  // namespace
