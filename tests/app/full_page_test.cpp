// The full analysis options page, run modally with its real widgets: the sections the parameter
// count allows, the spins' limits and the two filters (its proposed report name: the HTML tests).

#include <QWidget>
#include <gtest/gtest.h>

#include "documents/full_page.h"
#include "main_window_support.h"

namespace {

class FullPageTest : public ::testing::Test {
protected:
    void TearDown() override {
        static_cast<full_settings&>(theFull) = full_settings{};
        theFull.running = 0;
    }
    // Opens the page for the document and parameter count; `step` runs while it is up.
    int Open(const std::string& document, int parameters, const std::function<void(full&)>& step) {
        theFull.documentName = document;
        theFull.parameterCount = parameters;
        dialogs.modalSteps.push_back([&](platform::Dialog& d) { step(static_cast<full&>(d)); });
        return theFull.RunModal();
    }
    platform::ScriptedDialogs dialogs;
};

TEST_F(FullPageTest, EnablesSectionsByParameterCount) {
    const struct {
        std::string document;
        int parameters;
        bool multivariateEnabled, surfaceEnabled, pairsEnabled;
    } cases[] = {
        {"/d/run.cdf", 4, true, true, true},
        {"/d/run.nc", 3, false, true, true},
        {"/d.x/untitled.cdf", 2, false, false, true},
        {"/d/one", 1, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        Open(c.document, c.parameters, [&](full& page) {
            EXPECT_EQ(page.Control(full::kMultivariateCheck).IsEnabled(), c.multivariateEnabled);
            EXPECT_EQ(page.Control(full::kSurfaceFittingCheck).IsEnabled(), c.surfaceEnabled);
            EXPECT_EQ(page.Control(full::kCurveFittingCheck).IsEnabled(), c.pairsEnabled);
            page.EndDialog(platform::kCancel);
        });
        EXPECT_EQ(theFull.running, 0) << "closing the page never starts the analysis";
    }
}

TEST_F(FullPageTest, SpinsStopAtTheirLimitsAndRunAnalysisSetsTheFlag) {
    const int ended = Open("/d/run.cdf", 4, [&](full& page) {
        platform::Notify up{.delta = -1}, down{.delta = 1};
        page.coefficientThreshold = 499.8;
        page.OnDeltaposCoefficientSpin(up);
        EXPECT_EQ(page.coefficientThreshold, 500);
        page.coefficientThreshold = 0.2;
        page.OnDeltaposCoefficientSpin(down);
        EXPECT_EQ(page.coefficientThreshold, 0);
        page.correlationThreshold = 0.99;
        page.OnDeltaposCorrelationSpin(up);
        EXPECT_EQ(page.correlationThreshold, 1);
        page.OnDeltaposCorrelationSpin(down);
        EXPECT_DOUBLE_EQ(page.correlationThreshold, 0.975);
        // A threshold out of range keeps the page open and the analysis unstarted.
        page.Control(full::kCorrelationEdit).SetText("2");
        page.OnRunAnalysis();
        EXPECT_EQ(page.running, 0);
        page.Control(full::kCorrelationEdit).SetText("0.5");
        page.OnRunAnalysis();
    });
    EXPECT_EQ(ended, platform::kOk);
    EXPECT_EQ(theFull.running, 1);
    EXPECT_EQ(theFull.correlationThreshold, 0.5);
}

TEST_F(FullPageTest, FiltersKeepFitsAtTheirThresholds) {
    full& page = theFull;
    const double values[] = {2.0, -4.0};
    const double errors[] = {0.1, 0.2};  // exactly 5 %
    page.correlationFilter = page.coefficientFilter = 1;
    page.running = 0;
    EXPECT_EQ(page.PassesCorrelationFilter(0.1, 2, values, errors), 1) << "no analysis running";
    page.running = 1;
    EXPECT_EQ(page.PassesCorrelationFilter(0.975, 2, values, errors), 1);
    EXPECT_EQ(page.PassesCorrelationFilter(0.974, 2, values, errors), 0);
    const double worse[] = {0.1, 0.21};
    EXPECT_EQ(page.PassesCorrelationFilter(0.99, 2, values, worse), 0);
    EXPECT_EQ(page.PassesCorrelationFilter(0.99, 0, values, worse), 1);
    EXPECT_EQ(page.PassesCoefficientFilter(0.99, {0.05, -0.05}), 1);
    EXPECT_EQ(page.PassesCoefficientFilter(0.99, {0.051}), 0);
    page.coefficientFilter = 0;
    EXPECT_EQ(page.PassesCoefficientFilter(0.99, {7.0}), 1);
}

// The page shows its own drawn picture beside the coefficient filter.
TEST_F(FullPageTest, PictureIsShownBesideTheCoefficientFilter) {
    Open("/d/run.cdf", 3, [&](full& page) {
        EXPECT_GE(page.Control(full::kFilterPicture).Bounds().left,
                  page.Control(full::kCoefficientFilterCheck).Bounds().right);
        const QImage shown = page.Control(full::kFilterPicture).Widget()->grab().toImage();
        ASSERT_FALSE(shown.isNull());
        EXPECT_NE(shown.pixel(shown.width() / 2, shown.height() / 2), shown.pixel(0, 0));
        page.EndDialog(platform::kCancel);
    });
}

}  // namespace
