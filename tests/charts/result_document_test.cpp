#include "charts/result_document.h"

#include <functional>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "charts_test_support.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

using platform::ColorRef;

const platform::Font kFont = platform::Font::Make("Arial", 16);
constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x008000;

bool StyleOfFirstTwo(std::uint32_t index, resultDocument::SeriesMarkStyle& style) {
    if (index >= 2) return false;
    style.color = index == 0 ? kRed : kBlue;
    style.markShape = 1;
    return true;
}

// One step of building a document, so that a document reads as a list of its tokens.
using Step = std::function<void(resultDocument&)>;
Step Text(const std::string& t, ColorRef c = 0, int size = 100) {
    return [=](resultDocument& d) { d.AddText(t, c, size); };
}
Step Tab(std::uint32_t x) { return [=](resultDocument& d) { d.AddTab(x); }; }
Step Symbol(std::uint32_t id) { return [=](resultDocument& d) { d.AddSymbol(id); }; }
Step Mark(std::uint32_t parameter) { return [=](resultDocument& d) { d.AddSeriesMark(parameter); }; }
Step Table(int columns, int rows) { return [=](resultDocument& d) { d.AddObject(columns, rows, 20, 15); }; }
const Step Line = [](resultDocument& d) { d.NewLine(); };
void Build(resultDocument& doc, const std::vector<Step>& steps) {
    for (const Step& step : steps) step(doc);
}

class ResultDocumentTest : public ::testing::Test {
protected:

    // Measures with a scratch canvas and paints the whole document into a bitmap with
    // `extra` pixels of white around the measured size on the right and below.
    platform::Bitmap PaintAll(resultDocument& doc, int extra = 0) {
        platform::Bitmap scratch(4, 4);
        platform::Canvas measure(scratch);
        doc.Measure(measure, kFont);
        platform::Bitmap full(doc.width + extra, doc.height + extra);
        platform::Canvas dc(full);
        doc.Paint(dc, kFont);
        return full;
    }

    charts_test::Scoped<resultDocument::MarkStyleHook> style_{resultDocument::markStyleHook, StyleOfFirstTwo};
};

// Every line kind, symbols, marks and two tables.
void FillMixed(resultDocument& doc, int lines) {
    for (int i = 0; i < lines; ++i) {
        if (i % 9 == 4) {
            Build(doc, {Text("Coefficients:", kGreen, 140), Line, Table(3, 3)});
            for (std::uint32_t r = 0; r < 3; ++r) {
                Build(doc, {Text("a" + std::to_string(r * 137), kBlue), Tab(80), Mark(r), Tab(120), Symbol(r), Line});
            }
            continue;
        }
        const auto k = static_cast<std::uint32_t>(i);
        Build(doc, {Mark(k % 3), Text("Line " + std::to_string(i) + " of the results", i % 2 ? kRed : 0), Tab(230),
                    Symbol(k % 4), Text("= 1.2345e+06"), Line});
    }
}

bool IsInk(ColorRef c) { return c != platform::kWhite; }

ColorRef Pixel(const platform::Bitmap& b, int x, int y) { return platform::FromQRgb(b.Image().pixel(x, y)); }

using charts_test::ColourMatch;

// Leftmost column with a pixel matching `match` in rows [top, bottom); -1 when none.
int LeftmostInk(const platform::Bitmap& b, int top, int bottom, const ColourMatch& match) {
    for (int x = 0; x < b.Width(); ++x)
        for (int y = std::max(top, 0); y < std::min(bottom, b.Height()); ++y)
            if (match(Pixel(b, x, y))) return x;
    return -1;
}

// One channel clearly above both others: text may be drawn with smoothed edges.
bool Reddish(ColorRef c) {
    return platform::RedOf(c) > platform::GreenOf(c) + 60 && platform::RedOf(c) > platform::BlueOf(c) + 60;
}
bool Bluish(ColorRef c) {
    return platform::BlueOf(c) > platform::RedOf(c) + 60 && platform::BlueOf(c) > platform::GreenOf(c) + 60;
}

TEST_F(ResultDocumentTest, ToTextIsTabSeparated) {
    const Step literal = [](resultDocument& d) { d.AddTextLiteral("abc", 0, 100); };
    const struct { const char* name; std::vector<Step> steps; std::string text; } cases[] = {
        {"empty", {}, "\n"},
        {"run, line, symbol", {literal, Line, Symbol(1)}, "abc\t\nSt.Dev. \t\n"},
        {"mixed",
         {Text("Mean", 0, 140), Tab(100), Symbol(0), Text("1.5", kRed), Mark(2), Line, Symbol(2), Symbol(4), Text(""),
          Text("x"), Line},
         "Mean\tAverage \t1.5\t\nCoef. of Var.(%) \t\tx\t\n\n"},
        {"table",
         {Text("Coefficients:", 0, 140), Line, Table(2, 2), Text("a"), Tab(100), Text("b"), Line, Text("c"), Tab(100),
          Symbol(1), Line},
         "Coefficients:\t\na\tb\t\nc\tSt.Dev. \t\n\n"},
    };
    for (const auto& c : cases) {
        resultDocument doc;
        doc.AddText("stale", 0, 100);
        doc.Clear();
        Build(doc, c.steps);
        std::string out = "garbage";
        doc.ToText(out);
        EXPECT_EQ(out, c.text) << c.name;
    }
}

TEST_F(ResultDocumentTest, LineAndTableAdvance) {
    resultDocument doc;
    platform::Bitmap scratch(4, 4);
    platform::Canvas dc(scratch);
    doc.Measure(dc, kFont);
    EXPECT_EQ(doc.width, doc.leftMargin);  // empty document
    EXPECT_EQ(doc.height, doc.topMargin);
    const int cell = doc.symbolCell;
    ASSERT_GT(cell, 8);
    const int row = static_cast<int>(cell * 1.2);

    Build(doc, {Line, Line});
    const std::size_t tableToken = doc.kinds.size();
    Build(doc, {Table(2, 2), Text("a"), Tab(300), Mark(0), Line, Text("bbbbbbbb"), Tab(300), Mark(1), Line});
    doc.Measure(dc, kFont);
    // Two lines, the table's lead-in, its two rows, the row after it, the last new line.
    EXPECT_EQ(doc.penY, 2 * row + static_cast<int>(row * 0.2) + 4 * row);
    EXPECT_EQ(doc.height, doc.penY);
    EXPECT_EQ(doc.tables[0].lastToken, static_cast<int>(doc.kinds.size()) - 2);  // the last cell

    doc.currentToken = static_cast<std::int32_t>(tableToken);
    doc.nextText = doc.nextMark = doc.nextTab = 0;
    doc.MeasureTable(dc, doc.tables[0], kFont);
    dc.SelectFont(kFont);
    const auto textWidth = static_cast<std::uint32_t>(dc.GetTextExtent("bbbbbbbb").cx);
    EXPECT_EQ(doc.columnWidths, (std::vector<std::uint32_t>{textWidth, static_cast<std::uint32_t>(cell * 0.6)}));
    EXPECT_EQ(std::tie(doc.nextText, doc.nextMark, doc.nextTab), std::make_tuple(0, 0, 0));  // counters put back
}

TEST_F(ResultDocumentTest, LineStartsTabsAndMarks) {
    // The first line starts at 20, the next at the left margin; a table's own tabs must not
    // shift the tabs after it; marks are drawn centred on the walk position, and one that is
    // not a parameter (7) draws nothing.
    resultDocument doc;
    Build(doc, {Text("I", kRed), Line, Text("I", kBlue), Line, Table(2, 1), Text("t"), Tab(400), Text("u"), Line,
                Tab(200), Text("I", kRed), Line, Mark(0), Mark(7), Mark(1), Line});
    const platform::Bitmap b = PaintAll(doc, 20);
    const int cell = doc.symbolCell, row = static_cast<int>(cell * 1.2);

    const int tabLine = static_cast<int>(row * 0.2) + 5 * row;  // after the table's rows
    const struct { int top; ColourMatch match; int left; } starts[] = {
        {0, Reddish, 20}, {row, Bluish, 15}, {tabLine, Reddish, 200}};
    for (const auto& s : starts) {
        const int x = LeftmostInk(b, s.top, s.top + row, s.match);
        EXPECT_TRUE(x >= s.left && x <= s.left + 3) << "line at " << s.top << " starts at " << x;
    }

    // Marks: red at x = 15, nothing at 15 + cell, blue at 15 + 2 cells.
    const int markRowTop = tabLine + row;
    const int cy = markRowTop + static_cast<int>(0.5 * cell);
    EXPECT_EQ(Pixel(b, 15, cy), kRed);
    EXPECT_EQ(Pixel(b, 15 + 2 * cell, cy), kBlue);
    for (int x = 15 + cell - cell / 2 + 1; x < 15 + cell + cell / 2; ++x) EXPECT_FALSE(IsInk(Pixel(b, x, cy))) << x;
}

TEST_F(ResultDocumentTest, InkStaysInsideTheMeasuredBox) {
    // The document ends inside a table, or without a new line after its last line.
    const std::vector<Step> endings[] = {
        {Table(2, 2), Text("last table cell"), Symbol(0), Text("wide cell of the last row"), Text("x")},
        {Text("no new line after the last line")},
    };
    for (const auto& ending : endings) {
        resultDocument doc;
        FillMixed(doc, 14);
        Build(doc, {Text("symbol at the end"), Symbol(2), Line});  // the symbol is twice as wide as it advances
        Build(doc, ending);
        platform::Bitmap b = PaintAll(doc, 60);
        const platform::Canvas dc(b);
        EXPECT_GT(charts_test::CountPixels(dc, {0, 0, b.Width(), b.Height()}, IsInk), 1000);
        EXPECT_EQ(charts_test::CountPixels(dc, {doc.width, 0, b.Width(), b.Height()}, IsInk), 0);
        EXPECT_EQ(charts_test::CountPixels(dc, {0, doc.height, b.Width(), b.Height()}, IsInk), 0);
    }
}

TEST_F(ResultDocumentTest, TablesWithoutCells) {
    resultDocument doc;
    Build(doc, {Table(0, 3), Text("after"), Line, Table(3, 0), Table(-2, -2), Text("more")});
    const platform::Bitmap b = PaintAll(doc);
    EXPECT_EQ(doc.tables[0].lastToken, 0);  // the walk goes on right after the table token
    EXPECT_EQ(doc.tables[1].lastToken, 3);
    EXPECT_NE(LeftmostInk(b, 0, b.Height(), IsInk), -1);
    std::string text;
    doc.ToText(text);
    EXPECT_EQ(text, "after\t\nmore\t\n");
}

TEST_F(ResultDocumentTest, WindowMatchesTheFullPicture) {
    resultDocument doc;
    FillMixed(doc, 80);
    const platform::Bitmap full = PaintAll(doc);
    ASSERT_GT(doc.height, 600);
    const int W = 180, H = 120;
    const struct { int x, y; } origins[] = {{0, 0}, {40, 333}, {0, doc.height - H}};
    for (const auto& o : origins) {
        platform::Bitmap pane(W, H);
        platform::Canvas dc(pane);
        doc.PaintWindow(dc, kFont, o.x, o.y, W, H);
        EXPECT_TRUE(pane.Image() == full.Image().copy(o.x, o.y, W, H)) << "window at " << o.x << "," << o.y;
    }
}

}  // namespace
