#include "widgets/progress_bar.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

constexpr int kW = 500, kH = 200;

class FakeWindow : public ProgressBarWindow {
public:
    bool shown = true;
    int paints = 0;
    progressReport state;
    platform::Bitmap screen{kW, kH, platform::kWhite};
    progressBarLook look{kW, kH};

    bool ProgressBarShown(progressBarLook& out) override {
        out = look;
        return shown;
    }
    void PaintOnClientArea(const std::function<void(platform::Canvas&)>& draw) override {
        ++paints;
        screen.Fill(platform::kWhite);
        platform::Canvas dc(screen);
        draw(dc);
    }
    progressReport* ProgressState() override { return &state; }

    platform::ColorRef At(int x, int y) const { return platform::FromQRgb(screen.Image().pixel(x, y)); }
    // The colour at `offset` pixels right of the bar's left edge, on a row above the text.
    platform::ColorRef Bar(int offset) const { return At(kW - 345 + offset, kH - 53); }
    // The filled part ends between offsets f - 2 and f + 2: the 3-pixel pen of its
    // outline reaches one pixel beyond it.
    bool FilledTo(int f) const {
        return (f < 2 || Bar(f - 2) == look.barColor) && (f > 297 ? Bar(302) == platform::kWhite : Bar(f + 2) == look.frameColor);
    }
};

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgressBarWindow(&window); }
    void TearDown() override { SetProgressBarWindow(nullptr); }
    FakeWindow window;
};

TEST_F(ProgressBarTest, FilledWidth) {
    DrawProgressBar(0, "", 0.6);
    EXPECT_TRUE(window.FilledTo(180));
    DrawProgressBar(0, "", 1.0);
    EXPECT_TRUE(window.FilledTo(300));
    DrawProgressStep(0, "", 7, 5);  // and no further
    EXPECT_TRUE(window.FilledTo(300));

    struct { double i, n; int f; } cases[] = {{1, 3, 100}, {7, 5, 300}, {3, 0, 300}, {3, -2, 300}, {-4, 5, 0}, {0, 1, 0}};
    for (const auto& c : cases) EXPECT_EQ(ProgressFilledWidth(c.i, c.n), c.f) << c.i << "/" << c.n;
    EXPECT_EQ(window.paints, 3);
    DrawProgressBar(0, "", std::nan(""));  // no undefined conversion
    EXPECT_TRUE(window.FilledTo(0));
}

TEST_F(ProgressBarTest, WhenItDraws) {
    DrawProgressBar(1, "x", 0.5);
    EXPECT_EQ(window.paints, 0);
    for (int i : {0, 1, 4999, 5000, 7500, 10000}) DrawProgressEvery(0, 5000, "Reading", i, 20000);
    EXPECT_EQ(window.paints, 2);
    DrawProgressEvery(1, 5000, "Reading", 5000, 20000);
    EXPECT_EQ(window.paints, 2);
    for (int i : {0, 1, 2, 3}) DrawProgressEvery(0, 0, "period 0", i, 10);  // no division by zero
    EXPECT_EQ(window.paints, 4);

    window.state = progressReport{1, "Processing data", 5000, 10000, 5000};
    RepaintProgressBar();
    RepaintProgressBar();
    EXPECT_EQ(window.paints, 5);
    EXPECT_EQ(window.state.active, 0);
    EXPECT_TRUE(window.FilledTo(150));

    window.shown = false;  // the chart is in the lower strip
    window.state.active = 1;
    DrawProgressBar(0, "x", 0.5);
    DrawProgressStep(0, "x", 1, 2);
    DrawProgressEvery(0, 1, "x", 2, 2);
    RepaintProgressBar();
    EXPECT_EQ(window.paints, 5);
}

TEST_F(ProgressBarTest, TextInsideTheBox) {
    DrawProgressStep(0, "Painting data to virtual screen", 1, 3);
    int textPixels = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const platform::ColorRef c = window.At(x, y);
            if (c == platform::kWhite || c == window.look.frameColor || c == window.look.barColor) continue;
            ++textPixels;
            EXPECT_TRUE(x >= kW - 345 && x < kW - 45 && y >= kH - 57 && y < kH - 31) << x << "," << y;
        }
    EXPECT_GT(textPixels, 30);
}

}  // namespace
