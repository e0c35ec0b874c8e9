// The result pane on the running main window: a long document scrolls from its first line to
// its last with memory held to the pane's size, the bars' line steps and their limits, a short
// document resets both bars, the correlation table measured in the paint that writes it, and
// the pane's frame, whole in both layouts with the report's series dots inside it, and a
// coefficient table whose label is longer than its column.

#include <set>

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "main_window_steps.h"
#include "main_window_support.h"
#include "user_path.h"

namespace {

constexpr platform::ColorRef kFirstColour = 0xFF0000;  // blue
constexpr platform::ColorRef kLastColour = 0x0000FF;   // red

// `lines` lines of text, a 3 x 2 table in the middle; the first line blue, the last red.
void LongDocument(int lines) {
    resultDocument& doc = theResultDocument;
    doc.Clear();
    doc.AddText("First line of the report", kFirstColour, 140);
    doc.NewLine();
    for (int i = 1; i < lines - 1; ++i) {
        if (i == lines / 2) {
            doc.AddObject(2, 3, 20, 15);
            for (int r = 0; r < 3; ++r) {
                doc.AddText("cell " + std::to_string(r), 0, 100);
                doc.AddTab(120);
                doc.AddSymbol(kSymbolSigma);
                doc.NewLine();
            }
            continue;
        }
        doc.AddTab(10);
        doc.AddText("line " + std::to_string(i) + " of the report", 0x202020, 100);
        doc.NewLine();
    }
    doc.AddText("Last line of the report", kLastColour, 100);
    doc.NewLine();
}

// Pixels close to `colour` (text is antialiased) inside the pane, in rows [y0, y1).
int CountColour(CTabulonDlg& dlg, platform::ColorRef colour, int y0, int y1) {
    const platform::Rect r = dlg.resultRect;
    const int top = std::max(y0, r.top + 4), bottom = std::min(y1, r.bottom - 4);
    if (bottom <= top) return 0;
    return mainwin_test::CountPixels(
        dlg.Surface().Image(),
        [colour](QRgb p) {
            const int strong = colour == kLastColour ? qRed(p) : qBlue(p);
            const int other = colour == kLastColour ? qBlue(p) : qRed(p);
            return strong > 150 && other < 100 && qGreen(p) < 100;
        },
        QRect(QPoint(r.left + 4, top), QPoint(r.right - 5, bottom - 1)));
}

// The bar's position after a scroll message of `code` sent with the bar at `from`.
int StepFrom(CTabulonDlg& dlg, int bar, int from, int code, int pos = 0) {
    dlg.Control(bar).SetPos(from);
    if (bar == kResultVScroll) {
        dlg.OnVScroll(code, pos, bar);
    } else {
        dlg.OnHScroll(code, pos, bar);
    }
    return dlg.Control(bar).Pos();
}

// Runs `step` on the main window with the pane laid out; the document is cleared afterwards.
void OnPane(const std::function<void(CTabulonDlg&, const platform::Rect&, resultDocument&)>& step) {
    mainwin_test::WithMainWindow([&](CTabulonDlg& dlg) {
        mainwin_test::ResetChoices();
        dlg.ComputeLayoutRects();
        dlg.Control(kResultVScroll).SetPos(0);
        dlg.Control(kResultHScroll).SetPos(0);
        step(dlg, dlg.resultRect, theResultDocument);
        dlg.correlationTableReport = nullptr;
        theResultDocument.Clear();
        dlg.PaintResultPane();
    });
}

TEST(ResultPane, LongDocumentScrollsFromFirstToLastLineInAPaneSizedBitmap) {
    OnPane([](CTabulonDlg& dlg, const platform::Rect& r, resultDocument& doc) {
        LongDocument(5000);
        dlg.PaintResultPane();
        ASSERT_GT(doc.height, r.Height());
        EXPECT_EQ(doc.scrollY, 0);
        EXPECT_GT(CountColour(dlg, kFirstColour, r.top, r.top + 2 * doc.symbolCell), 0);
        EXPECT_EQ(CountColour(dlg, kLastColour, r.top, r.bottom), 0);

        EXPECT_EQ(StepFrom(dlg, kResultVScroll, 0, platform::kScrollThumbPosition, 100), 100);
        EXPECT_EQ(doc.scrollY, doc.height - r.Height());
        // Memory follows the pane, not the document.
        EXPECT_EQ(dlg.resultPaneBitmap.Width(), r.Width());
        EXPECT_EQ(dlg.resultPaneBitmap.Height(), r.Height());
        EXPECT_GT(CountColour(dlg, kLastColour, r.top, r.bottom), 0);
        EXPECT_EQ(CountColour(dlg, kFirstColour, r.top, r.bottom), 0);
    });
}

TEST(ResultPane, LineStepsStayWithinTheBarsAndPageStepsDoNothing) {
    OnPane([](CTabulonDlg& dlg, const platform::Rect& r, resultDocument& doc) {
        LongDocument(400);
        doc.AddText(std::string(600, 'W'), 0, 100);  // far wider than the pane
        doc.NewLine();
        dlg.PaintResultPane();
        ASSERT_GT(doc.width, r.Width());

        // Long: steps of one position and more, never beyond the ends.
        const int vStep = std::max(1, static_cast<int>(doc.symbolCell * 100.0 / (doc.height - r.Height())));
        EXPECT_EQ(StepFrom(dlg, kResultVScroll, 3, platform::kScrollLineUp), std::max(3 - vStep, 0));
        EXPECT_EQ(StepFrom(dlg, kResultVScroll, 99, platform::kScrollLineDown), 100);
        for (int code : {platform::kScrollPageUp, platform::kScrollPageDown, platform::kScrollThumbTrack,
                         platform::kScrollTop, platform::kScrollBottom, platform::kScrollEnd}) {
            EXPECT_EQ(StepFrom(dlg, kResultVScroll, 40, code, 90), 40) << code;
            EXPECT_EQ(StepFrom(dlg, kResultHScroll, 40, code, 90), 40) << code;
        }

        EXPECT_EQ(StepFrom(dlg, kResultHScroll, 98, platform::kScrollLineDown), 100);
        EXPECT_EQ(doc.scrollX, doc.width - r.Width());

        // A short document: the bitmap is the pane's size, both offsets and bars 0.
        dlg.Control(kResultVScroll).SetPos(70);
        dlg.Control(kResultHScroll).SetPos(70);
        doc.Clear();
        doc.AddText("short", 0, 100);
        dlg.PaintResultPane();
        EXPECT_EQ(std::vector<int>({doc.width, doc.height, doc.scrollX, doc.scrollY}),
                  std::vector<int>({r.Width(), r.Height(), 0, 0}));
        EXPECT_EQ(dlg.Control(kResultVScroll).Pos() + dlg.Control(kResultHScroll).Pos(), 0);

        // Barely taller than the pane (about two lines): a step from near an end stops at it.
        const int advance = static_cast<int>(doc.symbolCell * 1.2);
        doc.Clear();
        for (int i = 0; i < (r.Height() + 2 * doc.symbolCell) / advance + 1; ++i) {
            doc.AddText("line " + std::to_string(i), 0, 100);
            doc.NewLine();
        }
        dlg.PaintResultPane();
        const int excess = doc.height - r.Height();
        ASSERT_GT(excess, doc.symbolCell);
        ASSERT_GE(std::max(1, static_cast<int>(doc.symbolCell * 100.0 / excess)), 5);
        EXPECT_EQ(StepFrom(dlg, kResultVScroll, 3, platform::kScrollLineUp), 0);
        EXPECT_EQ(StepFrom(dlg, kResultVScroll, 98, platform::kScrollLineDown), 100);
        EXPECT_EQ(doc.scrollY, excess);
    });
}

TEST(ResultPane, CorrelationTableIsMeasuredInThePaintThatWritesIt) {
    OnPane([](CTabulonDlg& dlg, const platform::Rect& r, resultDocument& doc) {
        doc.Clear();
        int calls = 0;
        dlg.correlationTableReport = [&calls](platform::Canvas&) {
            ++calls;
            LongDocument(300);
            return 1;
        };
        dlg.Control(kResultVScroll).SetPos(100);
        dlg.PaintResultPane();
        EXPECT_EQ(calls, 1);
        ASSERT_GT(doc.height, r.Height());
        EXPECT_EQ(doc.scrollY, doc.height - r.Height());
        EXPECT_GT(CountColour(dlg, kLastColour, r.top, r.bottom), 0);
    });
}

// The first row of the pane below its frame lines that holds ink of the text (a pixel that is
// not the white of the page); -1 when there is none.
int FirstTextRow(CTabulonDlg& dlg) {
    const QImage image = dlg.Surface().Image();
    const platform::Rect r = dlg.resultRect;
    for (int y = r.top + 3; y < r.bottom - 3; ++y) {
        for (int x = r.left + 3; x < r.right - 3; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return y;
        }
    }
    return -1;
}

// Reports that start on their first line (the plane's "Plane approximation:") and those that
// start with an empty line show their first text below the pane's frame, never under it.
TEST(ResultPane, FirstLineOfEveryReportClearsTheFrame) {
    mainwin_test::ScratchFolder folder("pane_first_line");
    const std::string plane = folder / "plane.txt", curve = folder / "curve.txt";
    user_path::WritePlaneRecords(plane);
    user_path::WriteRecords(curve, "x y", 12, [](int r) { return std::to_string(r) + ' ' + std::to_string(r * r % 7); });
    for (const std::string& file : {plane, curve}) {
        SCOPED_TRACE(file);
        platform::ScriptedDialogs dialogs;
        mainwin_steps::InWindow(
            [&](CTabulonDlg& dlg) {
                ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
                const std::string text = user_path::ResultText(dlg);
                const int top = dlg.resultRect.top;
                const int first = FirstTextRow(dlg);
                ASSERT_GE(first, 0) << "no text in the pane";
                // The frame's lines cover the pane's rows top .. top + 2: two white rows at least
                // lie between them and the first ink.
                EXPECT_GE(first, top + 5) << text;
                // Below a margin of the frame's width, not a line further down.
                EXPECT_LT(first, top + 5 + (text[0] == '\n' ? 2 : 1) * theResultDocument.symbolCell) << text;
            },
            &dialogs);
    }
}

// Pixels of the pane's frame in `image` (the pane's three rows and columns at each edge and
// the two outside it, but the outermost corners, which the lines' joins leave out) that show
// anything but the frame's two colours.
int FramePixelsPaintedOver(const QImage& image, const platform::Rect& r) {
    int over = 0;
    for (int y = r.top - 2; y <= r.bottom + 1; ++y) {
        for (int x = r.left - 2; x <= r.right + 1; ++x) {
            const bool inside = x > r.left + 2 && x < r.right - 3 && y > r.top + 2 && y < r.bottom - 3;
            const bool corner = (x == r.left - 2 || x == r.right + 1) && (y == r.top - 2 || y == r.bottom + 1);
            if (inside || corner || !image.rect().contains(x, y)) continue;
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p != 0xFFFF4B && p != 0xC1E3F4) ++over;
        }
    }
    return over;
}

// The box of the ink joined to the leftmost ink inside the pane's frame: the series mark at
// tab 10, left of every text.
QRect LeftmostInk(const QImage& image, const platform::Rect& r) {
    const QRect inside(QPoint(r.left + 3, r.top + 3), QPoint(r.right - 4, r.bottom - 4));
    auto ink = [&](QPoint p) { return inside.contains(p) && (image.pixel(p) & 0xFFFFFF) != 0xFFFFFF; };
    std::vector<QPoint> todo;
    for (int x = inside.left(); x <= inside.right() && todo.empty(); ++x) {
        for (int y = inside.top(); y <= inside.bottom() && todo.empty(); ++y) {
            if (ink(QPoint(x, y))) todo.push_back(QPoint(x, y));
        }
    }
    QRect box;
    std::set<std::pair<int, int>> seen;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (!ink(p) || !seen.insert({p.x(), p.y()}).second) continue;
        box |= QRect(p, QSize(1, 1));
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) todo.push_back(p + QPoint(dx, dy));
        }
    }
    return box;
}

// A several-argument report's series dots at tab 10, at the largest font the Results page
// offers, in both arrangements: the frame stays whole on all four sides (the chart copied
// above the pane used to cover its top rows) and each dot lies whole inside it.
TEST(ResultPane, FrameStaysWholeWithTheSeriesDotInsideItInBothLayouts) {
    mainwin_test::ScratchFolder folder("pane_frame");
    const std::string plane = folder / "plane.txt";
    user_path::WritePlaneRecords(plane);
    const platform::Font font = theResult.font;
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            auto check = [&dlg](const char* when) {
                SCOPED_TRACE(when);
                const QImage image = dlg.ClientWidget()->grab().toImage();
                const platform::Rect r = dlg.resultRect;
                EXPECT_EQ(FramePixelsPaintedOver(image, r), 0);
                const QRect dot = LeftmostInk(image, r);
                ASSERT_FALSE(dot.isEmpty()) << "no ink in the pane";
                EXPECT_LT(dot.left(), r.left + 15) << "the leftmost ink is no series dot";
                EXPECT_NEAR(dot.width(), dot.height(), 1) << "the dot is cut";
            };
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, plane));
            check("as imported");
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Results"));
            dialogs.fontAnswers = {platform::Font::Make(font.faceName, 24, font.weight)};  // 18 points
            ASSERT_TRUE(user_path::Press(theResult, "Font"));
            check("large font");
            for (int swapped : {0, 1}) {
                ASSERT_TRUE(user_path::PressPicture(theResult.TopWidget(), result::kLayoutButton));
                ASSERT_EQ(theResult.chartInMainArea, swapped);
                check(swapped ? "back" : "swapped");
            }
        },
        &dialogs);
    theResult.font = font;
}

// The ink of each text line inside the pane's frame, as runs of columns; runs closer than
// `join` pixels are one (the letters of a word and the words of a cell).
struct InkRun {
    int left, right;
};
std::vector<std::vector<InkRun>> LineRuns(const QImage& image, const platform::Rect& r, int join) {
    const QRect inside(QPoint(r.left + 3, r.top + 3), QPoint(r.right - 4, r.bottom - 4));
    auto ink = [&](int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; };
    std::vector<std::vector<InkRun>> lines;
    for (int y = inside.top(); y <= inside.bottom();) {
        auto rowInk = [&](int row) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (ink(x, row)) return true;
            return false;
        };
        if (!rowInk(y)) {
            ++y;
            continue;
        }
        int bottom = y;
        while (bottom + 1 <= inside.bottom() && rowInk(bottom + 1)) ++bottom;
        std::vector<InkRun> runs;
        for (int x = inside.left(); x <= inside.right(); ++x) {
            bool any = false;
            for (int row = y; row <= bottom && !any; ++row) any = ink(x, row);
            if (!any) continue;
            if (!runs.empty() && x - runs.back().right <= join) runs.back().right = x;
            else runs.push_back({x, x});
        }
        lines.push_back(runs);
        y = bottom + 1;
    }
    return lines;
}

// A polynomial fit whose argument has a long name: its labels reach past the value's tab, so
// each value starts a table gap after its label instead of over it; the row whose label fits
// keeps its value at the value's tab.
TEST(ResultPane, LongTermLabelPushesItsValueOnInsteadOfUnderIt) {
    mainwin_test::ScratchFolder folder("pane_long_label");
    const std::string file = folder / "long.txt";
    const std::string argument = "Time_since_start_of_experiment_s";
    user_path::WriteRecords(file, argument + " Reactor_output", 40, [](int r) {
        const double t = r * 0.5;
        return std::to_string(t) + ' ' + std::to_string(1 + 0.5 * t - 0.02 * t * t + 0.001 * t * t * t + (r % 3) * 0.01);
    });
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Statistics"));
            ASSERT_TRUE(user_path::Press(dlg.TopWidget(), "Polynom fitting"));
            const std::string text = user_path::ResultText(dlg);
            const std::string label = argument + "^3";
            ASSERT_NE(text.find(label + '\t'), std::string::npos) << text;
            // The pane in the main area, wide enough for the whole table.
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Results"));
            ASSERT_TRUE(user_path::PressPicture(theResult.TopWidget(), result::kLayoutButton));
            const QImage image = dlg.ClientWidget()->grab().toImage();
            const platform::Rect pane = dlg.resultRect;
            ASSERT_TRUE(user_path::PressPicture(theResult.TopWidget(), result::kLayoutButton));
            // The report ends with the table's rows: "1" (tabs 40 and 180) and the three powers.
            const std::vector<std::vector<InkRun>> lines = LineRuns(image, pane, 6);
            ASSERT_GE(lines.size(), 4u);
            for (std::size_t k = lines.size() - 4; k < lines.size(); ++k) {
                const std::vector<InkRun>& runs = lines[k];
                ASSERT_GE(runs.size(), 2u);
                if (k == lines.size() - 4) {
                    EXPECT_NEAR(runs[1].left - runs[0].left, 140, 2) << "a label that fits moved its value";
                } else {
                    EXPECT_GT(runs[0].right - runs[0].left, 140);
                    EXPECT_NEAR(runs[1].left - runs[0].right, 15, 3) << "a value over or far from its label";
                }
            }
        },
        &dialogs);
}

}  // namespace
