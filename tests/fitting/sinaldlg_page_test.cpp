// The peak settings page through its widgets: the picture's hot spots stepping the two
// numbers (scaled with the button), the typed values, and ">>" with its repaint.
#include <gtest/gtest.h>

#include "fitting/sinaldlg_page.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

class SinaldlgPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(page.Create(nullptr)); }
    // A press and release on the picture button at a point given in the picture's own pixels.
    void ClickPicture(int px, int py) {
        QWidget* button = page.Control(sinaldlg::kPictureButton).Widget();
        const double fx = static_cast<double>(button->width()) / sinaldlg::kPictureWidth;
        const double fy = static_cast<double>(button->height()) / sinaldlg::kPictureHeight;
        const QPointF at(px * fx + 0.5, py * fy + 0.5);
        QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(button, &release);
    }
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    sinaldlg page;
};

TEST_F(SinaldlgPageTest, HotSpotsStepTheSpikeWidthAndTheNoiseFactor) {
    ClickPicture(130, 115);  // spike width - 1: stays at 3
    EXPECT_EQ(page.spikeWidth, 3);
    ClickPicture(165, 115);
    EXPECT_EQ(page.Control(sinaldlg::kSpikeWidthEdit).Text(), "4");
    ClickPicture(190, 35);  // x 1.1: 2.75 kept as 2.8
    EXPECT_DOUBLE_EQ(page.noiseFactor, 2.8);
    ClickPicture(190, 62);  // x 0.9: 2.52 kept as 2.5
    ClickPicture(60, 40);   // no spot
    EXPECT_EQ(page.spikeWidth, 4);
    EXPECT_DOUBLE_EQ(page.noiseFactor, 2.5);
}

TEST_F(SinaldlgPageTest, APointInBothNoiseSpotsRunsBothSteps) {
    // Hot spots in button pixels: the rows shared by the two noise spots run x 1.1, then x 0.9.
    const platform::Rect& up = page.hotSpots[2];
    const platform::Rect& down = page.hotSpots[3];
    ASSERT_LT(down.top, up.bottom);
    page.HitTestPicture({up.left, down.top});
    EXPECT_DOUBLE_EQ(page.noiseFactor, 2.5);  // 2.75 -> 2.8, then 2.52 -> 2.5
    // Right and bottom edges are outside.
    page.HitTestPicture({page.hotSpots[1].right, page.hotSpots[1].top});
    EXPECT_EQ(page.spikeWidth, 3);
}

TEST_F(SinaldlgPageTest, TypedValuesTheCheckAndTheBaseLineAreTaken) {
    page.Control(sinaldlg::kSpikeWidthEdit).SetText("1");
    page.Control(sinaldlg::kNoiseFactorEdit).SetText("4.25");
    page.Control(sinaldlg::kChromatogramCheck).Click();
    page.Control(sinaldlg::kBaseLineCombo).SetCurSel(3);
    pagetest::Notify(page, sinaldlg::kBaseLineCombo, platform::Notification::SelChange);
    EXPECT_EQ(std::tuple(page.spikeWidth, page.noiseFactor, page.chromatogramOnly, page.baseLine),
              std::tuple(1, 4.25, 1, 3));
    EXPECT_EQ(page.Control(sinaldlg::kBaseLineCombo).ItemText(3), "y=a*exp(-x)+b");

    page.Control(sinaldlg::kSpikeWidthEdit).SetText("wide");
    page.Control(sinaldlg::kOkButton).Click();
    EXPECT_EQ(page.spikeWidth, 1);
    EXPECT_EQ(dialogs.Messages().size(), 1u);

    page.Control(sinaldlg::kMoreButton).Click();
    EXPECT_EQ(page.moreRequest, 1);
    platform::PumpWaitingMessages();
    EXPECT_GE(main.paints, 1);
}

}  // namespace
