// The result pane on the running main window: a long document scrolls from its first line to
// its last with memory held to the pane's size, the bars' line steps and their limits, a short
// document resets both bars, the frame around the pane, and the correlation table measured in
// the paint that writes it.
#include <string>

#include <gtest/gtest.h>

#include "app/resource_ids.h"
#include "charts/result_document.h"
#include "main_window_support.h"

namespace {

using mainwin_test::WithMainWindow;

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

// Pixels of `colour` (or close to it: text is antialiased) inside the pane, in rows [y0, y1).
int CountColour(CTabulonDlg& dlg, platform::ColorRef colour, int y0, int y1) {
    const platform::Rect r = dlg.resultRect;
    const QImage& image = dlg.Surface().Image();
    int n = 0;
    for (int y = std::max(y0, r.top + 4); y < std::min(y1, r.bottom - 4); ++y) {
        for (int x = r.left + 4; x < r.right - 4; ++x) {
            const QRgb p = image.pixel(x, y);
            const int red = qRed(p), blue = qBlue(p), green = qGreen(p);
            const bool isRed = red > 150 && blue < 100 && green < 100;
            const bool isBlue = blue > 150 && red < 100 && green < 100;
            if ((colour == kLastColour && isRed) || (colour == kFirstColour && isBlue)) ++n;
        }
    }
    return n;
}

platform::ColorRef PixelAt(CTabulonDlg& dlg, int x, int y) {
    return platform::FromQRgb(dlg.Surface().Image().pixel(x, y));
}

TEST(ResultPane, LongDocumentScrollsFromFirstToLastLineInAPaneSizedBitmap) {
    WithMainWindow([](CTabulonDlg& dlg) {
        mainwin_test::ResetChoices();
        dlg.ComputeLayoutRects();
        const platform::Rect r = dlg.resultRect;
        ASSERT_GT(r.Width(), 20);
        ASSERT_GT(r.Height(), 20);
        dlg.Control(kResultVScroll).SetPos(0);
        dlg.Control(kResultHScroll).SetPos(0);

        for (int lines : {200, 5000}) {
            SCOPED_TRACE(std::to_string(lines) + " lines");
            LongDocument(lines);
            dlg.PaintResultPane();
            const resultDocument& doc = theResultDocument;
            ASSERT_GT(doc.height, r.Height());
            EXPECT_EQ(doc.scrollY, 0);
            // Memory follows the pane, not the document.
            EXPECT_EQ(dlg.resultPaneBitmap.Width(), r.Width());
            EXPECT_EQ(dlg.resultPaneBitmap.Height(), r.Height());
            EXPECT_GT(CountColour(dlg, kFirstColour, r.top, r.top + 2 * doc.symbolCell), 0);
            EXPECT_EQ(CountColour(dlg, kLastColour, r.top, r.bottom), 0);

            dlg.OnVScroll(platform::kScrollThumbPosition, 100, kResultVScroll);
            EXPECT_EQ(dlg.Control(kResultVScroll).Pos(), 100);
            EXPECT_EQ(doc.scrollY, doc.height - r.Height());
            EXPECT_EQ(dlg.resultPaneBitmap.Height(), r.Height());
            EXPECT_GT(CountColour(dlg, kLastColour, r.top, r.bottom), 0);
            EXPECT_EQ(CountColour(dlg, kFirstColour, r.top, r.bottom), 0);

            // Line steps of about one text line each, back to the top.
            const int excess = doc.height - r.Height();
            const int step =
                excess > doc.symbolCell ? std::max(1, static_cast<int>(doc.symbolCell * 100.0 / excess)) : 100;
            dlg.OnVScroll(platform::kScrollLineUp, 0, kResultVScroll);
            EXPECT_EQ(dlg.Control(kResultVScroll).Pos(), std::max(100 - step, 0));
            for (int i = 0; i < 200 && dlg.Control(kResultVScroll).Pos() > 0; ++i)
                dlg.OnVScroll(platform::kScrollLineUp, 0, kResultVScroll);
            EXPECT_EQ(dlg.Control(kResultVScroll).Pos(), 0);
            EXPECT_EQ(doc.scrollY, 0);
            EXPECT_GT(CountColour(dlg, kFirstColour, r.top, r.top + 2 * doc.symbolCell), 0);
        }
        theResultDocument.Clear();
        dlg.PaintResultPane();
    });
}

TEST(ResultPane, LineStepsStayWithinTheBarsAndPageStepsDoNothing) {
    WithMainWindow([](CTabulonDlg& dlg) {
        mainwin_test::ResetChoices();
        dlg.ComputeLayoutRects();
        const platform::Rect r = dlg.resultRect;
        resultDocument& doc = theResultDocument;
        LongDocument(400);
        doc.AddText(std::string(600, 'W'), 0, 100);  // far wider than the pane
        doc.NewLine();
        platform::Control v = dlg.Control(kResultVScroll), h = dlg.Control(kResultHScroll);
        v.SetPos(0), h.SetPos(0);
        dlg.PaintResultPane();
        ASSERT_GT(doc.width, r.Width());

        // Long: steps of one position and more, never beyond the ends.
        const int vExcess = doc.height - r.Height();
        const int vStep = std::max(1, static_cast<int>(doc.symbolCell * 100.0 / vExcess));
        v.SetPos(3);
        dlg.OnVScroll(platform::kScrollLineUp, 0, kResultVScroll);
        EXPECT_EQ(v.Pos(), std::max(3 - vStep, 0));
        v.SetPos(99);
        dlg.OnVScroll(platform::kScrollLineDown, 0, kResultVScroll);
        EXPECT_EQ(v.Pos(), 100);
        for (int code : {platform::kScrollPageUp, platform::kScrollPageDown, platform::kScrollThumbTrack,
                         platform::kScrollTop, platform::kScrollBottom, platform::kScrollEnd}) {
            v.SetPos(40), h.SetPos(40);
            dlg.OnVScroll(code, 90, kResultVScroll);
            dlg.OnHScroll(code, 90, kResultHScroll);
            EXPECT_EQ(v.Pos(), 40) << code;
            EXPECT_EQ(h.Pos(), 40) << code;
        }

        // Horizontal: about half a pane per step, 5 to 20 positions.
        const int hExcess = doc.width - r.Width();
        const int hStep = std::clamp(r.Width() * 50 / hExcess, 5, 20);
        h.SetPos(0);
        dlg.OnHScroll(platform::kScrollLineDown, 0, kResultHScroll);
        EXPECT_EQ(h.Pos(), hStep);
        EXPECT_EQ(doc.scrollX, static_cast<int>((doc.width - r.Width()) * hStep * 0.01));
        h.SetPos(98);
        dlg.OnHScroll(platform::kScrollLineDown, 0, kResultHScroll);
        EXPECT_EQ(h.Pos(), 100);
        EXPECT_EQ(doc.scrollX, doc.width - r.Width());
        h.SetPos(2);
        dlg.OnHScroll(platform::kScrollLineUp, 0, kResultHScroll);
        EXPECT_EQ(h.Pos(), 0);
        // Another control's scroll message leaves both bars alone.
        dlg.OnHScroll(platform::kScrollLineDown, 0, kResultVScroll);
        EXPECT_EQ(h.Pos(), 0);

        // A short document: the bitmap is the pane's size, both offsets and bars 0.
        v.SetPos(70), h.SetPos(70);
        doc.Clear();
        doc.AddText("short", 0, 100);
        dlg.PaintResultPane();
        EXPECT_EQ(doc.width, r.Width());
        EXPECT_EQ(doc.height, r.Height());
        EXPECT_EQ(doc.scrollX, 0);
        EXPECT_EQ(doc.scrollY, 0);
        EXPECT_EQ(v.Pos(), 0);
        EXPECT_EQ(h.Pos(), 0);
        // A line step of a document that fits is undone by the paint that follows it.
        dlg.OnVScroll(platform::kScrollLineDown, 0, kResultVScroll);
        dlg.OnHScroll(platform::kScrollLineDown, 0, kResultHScroll);
        EXPECT_EQ(v.Pos(), 0);
        EXPECT_EQ(h.Pos(), 0);
        EXPECT_EQ(doc.scrollY, 0);

        // Barely taller than the pane (about two lines): a few line steps reach either end,
        // and a step from near an end stops at it.
        const int advance = static_cast<int>(doc.symbolCell * 1.2);
        doc.Clear();
        for (int i = 0; i < (r.Height() + 2 * doc.symbolCell) / advance + 1; ++i) {
            doc.AddText("line " + std::to_string(i), 0, 100);
            doc.NewLine();
        }
        dlg.PaintResultPane();
        const int excess = doc.height - r.Height();
        ASSERT_GT(excess, doc.symbolCell);
        const int step = std::max(1, static_cast<int>(doc.symbolCell * 100.0 / excess));
        ASSERT_GE(step, 5);
        v.SetPos(3);
        dlg.OnVScroll(platform::kScrollLineUp, 0, kResultVScroll);
        EXPECT_EQ(v.Pos(), 0);
        v.SetPos(98);
        dlg.OnVScroll(platform::kScrollLineDown, 0, kResultVScroll);
        EXPECT_EQ(v.Pos(), 100);
        EXPECT_EQ(doc.scrollY, excess);

        // The frame: outer line of width 4 on the pane's edge, inner one 2 pixels inside.
        const int midY = (r.top + r.bottom) / 2;
        EXPECT_EQ(PixelAt(dlg, r.left, midY), 0x4BFFFFu);
        EXPECT_EQ(PixelAt(dlg, r.left - 1, midY), 0x4BFFFFu);
        EXPECT_EQ(PixelAt(dlg, r.left + 2, midY), 0xF4E3C1u);
        EXPECT_EQ(PixelAt(dlg, (r.left + r.right) / 2, r.top + 2), 0xF4E3C1u);
        EXPECT_EQ(PixelAt(dlg, r.left + 10, midY), platform::kWhite);
        doc.Clear();
        dlg.PaintResultPane();
    });
}

TEST(ResultPane, CorrelationTableIsMeasuredInThePaintThatWritesIt) {
    WithMainWindow([](CTabulonDlg& dlg) {
        mainwin_test::ResetChoices();
        dlg.ComputeLayoutRects();
        const platform::Rect r = dlg.resultRect;
        theResultDocument.Clear();
        int calls = 0;
        dlg.correlationTableReport = [&calls](platform::Canvas&) {
            ++calls;
            LongDocument(300);
            return 1;
        };
        dlg.Control(kResultVScroll).SetPos(100);
        dlg.PaintResultPane();
        EXPECT_EQ(calls, 1);
        ASSERT_GT(theResultDocument.height, r.Height());
        EXPECT_EQ(theResultDocument.scrollY, theResultDocument.height - r.Height());
        EXPECT_GT(CountColour(dlg, kLastColour, r.top, r.bottom), 0);
        dlg.correlationTableReport = nullptr;
        theResultDocument.Clear();
        dlg.PaintResultPane();
    });
}

}  // namespace
