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

class ResultDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedStyle = resultDocument::markStyleHook;
        resultDocument::markStyleHook = StyleOfFirstTwo;
    }
    void TearDown() override { resultDocument::markStyleHook = savedStyle; }

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

    resultDocument::MarkStyleHook savedStyle = nullptr;
};

// Every line kind, symbols, marks and two tables.
void FillMixed(resultDocument& doc, int lines) {
    for (int i = 0; i < lines; ++i) {
        if (i % 9 == 4) {
            doc.AddText("Coefficients:", kGreen, 140);
            doc.NewLine();
            doc.AddObject(3, 3, 20, 15);
            for (int r = 0; r < 3; ++r) {
                doc.AddText("a" + std::to_string(r * 137), kBlue, 100);
                doc.AddTab(80);
                doc.AddSeriesMark(static_cast<std::uint32_t>(r));
                doc.AddTab(120);
                doc.AddSymbol(static_cast<std::uint32_t>(r));
                doc.NewLine();
            }
            continue;
        }
        doc.AddSeriesMark(static_cast<std::uint32_t>(i % 3));
        doc.AddText("Line " + std::to_string(i) + " of the results", i % 2 ? kRed : 0, 100);
        doc.AddTab(230);
        doc.AddSymbol(static_cast<std::uint32_t>(i % 4));
        doc.AddText("= 1.2345e+06", 0, 100);
        doc.NewLine();
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
    struct Case {
        const char* name;
        std::function<void(resultDocument&)> build;
        std::string text;
    };
    const Case cases[] = {
        {"empty", [](resultDocument&) {}, "\n"},
        {"run, line, symbol",
         [](resultDocument& d) {
             d.AddTextLiteral("abc", 0, 100);
             d.NewLine();
             d.AddSymbol(1);
         },
         "abc\t\nSt.Dev. \t\n"},
        {"mixed",
         [](resultDocument& d) {
             d.AddText("Mean", 0, 140);
             d.AddTab(100);
             d.AddSymbol(0);
             d.AddText("1.5", kRed, 100);
             d.AddSeriesMark(2);
             d.NewLine();
             d.AddSymbol(2);
             d.AddSymbol(4);
             d.AddText("", 0, 100);
             d.AddText("x", 0, 100);
             d.NewLine();
         },
         "Mean\tAverage \t1.5\t\nCoef. of Var.(%) \t\tx\t\n\n"},
        {"table",
         [](resultDocument& d) {
             d.AddText("Coefficients:", 0, 140);
             d.NewLine();
             d.AddObject(2, 2, 20, 15);
             d.AddText("a", 0, 100);
             d.AddTab(100);
             d.AddText("b", 0, 100);
             d.NewLine();
             d.AddText("c", 0, 100);
             d.AddTab(100);
             d.AddSymbol(1);
             d.NewLine();
         },
         "Coefficients:\t\na\tb\t\nc\tSt.Dev. \t\n\n"},
        {"table without columns",
         [](resultDocument& d) {
             d.AddObject(0, 3, 20, 15);
             d.AddText("a", 0, 100);
             d.NewLine();
         },
         "a\t\n\n"},
    };
    for (const Case& c : cases) {
        resultDocument doc;
        doc.AddText("stale", 0, 100);
        doc.Clear();
        c.build(doc);
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

    doc.NewLine();
    doc.NewLine();
    const std::size_t tableToken = doc.kinds.size();
    doc.AddObject(2, 2, 20, 15);
    doc.AddText("a", 0, 100);
    doc.AddTab(300);
    doc.AddSeriesMark(0);
    doc.NewLine();
    doc.AddText("bbbbbbbb", 0, 100);
    doc.AddTab(300);
    doc.AddSeriesMark(1);
    doc.NewLine();
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
    resultDocument doc;
    doc.AddText("I", kRed, 100);  // the first line starts at 20
    doc.NewLine();
    doc.AddText("I", kBlue, 100);  // the next at the left margin
    doc.NewLine();
    doc.AddObject(2, 1, 20, 15);  // a table's own tabs must not shift the tabs after it
    doc.AddText("t", 0, 100);
    doc.AddTab(400);
    doc.AddText("u", 0, 100);
    doc.NewLine();
    doc.AddTab(200);
    doc.AddText("I", kRed, 100);
    doc.NewLine();
    doc.AddSeriesMark(0);  // drawn centred on the walk position
    doc.AddSeriesMark(7);  // not a parameter: nothing
    doc.AddSeriesMark(1);
    doc.NewLine();
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
    const std::function<void(resultDocument&)> endings[] = {
        [](resultDocument& doc) {  // the document ends inside a table
            doc.AddObject(2, 2, 20, 15);
            doc.AddText("last table cell", 0, 100);
            doc.AddSymbol(0);
            doc.AddText("wide cell of the last row", 0, 100);
            doc.AddText("x", 0, 100);
        },
        [](resultDocument& doc) { doc.AddText("no new line after the last line", 0, 100); },
    };
    for (const auto& ending : endings) {
        resultDocument doc;
        FillMixed(doc, 14);
        doc.AddText("symbol at the end", 0, 100);
        doc.AddSymbol(2);  // twice as wide as it advances
        doc.NewLine();
        ending(doc);
        platform::Bitmap b = PaintAll(doc, 60);
        const platform::Canvas dc(b);
        EXPECT_GT(charts_test::CountPixels(dc, {0, 0, b.Width(), b.Height()}, IsInk), 1000);
        EXPECT_EQ(charts_test::CountPixels(dc, {doc.width, 0, b.Width(), b.Height()}, IsInk), 0);
        EXPECT_EQ(charts_test::CountPixels(dc, {0, doc.height, b.Width(), b.Height()}, IsInk), 0);
    }
}

TEST_F(ResultDocumentTest, TablesWithoutCells) {
    resultDocument doc;
    doc.AddObject(0, 3, 20, 15);
    doc.AddText("after", 0, 100);
    doc.NewLine();
    doc.AddObject(3, 0, 20, 15);
    doc.AddObject(-2, -2, 20, 15);
    doc.AddText("more", 0, 100);
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
    const struct { int x, y; } origins[] = {{0, 0}, {0, 37}, {5, 101}, {40, 333}, {0, doc.height - 2 * H}, {0, doc.height - H}};
    for (const auto& o : origins) {
        platform::Bitmap pane(W, H);
        platform::Canvas dc(pane);
        doc.PaintWindow(dc, kFont, o.x, o.y, W, H);
        EXPECT_TRUE(pane.Image() == full.Image().copy(o.x, o.y, W, H)) << "window at " << o.x << "," << o.y;
    }
}

}  // namespace
