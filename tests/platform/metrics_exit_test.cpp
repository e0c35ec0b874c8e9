// The text-metrics cache holds Qt fonts; they must go with the application that made them,
// not at thread exit after it (when a second application starts, or the program ends).
// Builds and ends its own applications, so it has its own main.
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "platform/text_metrics.h"

namespace {

TEST(TextMetricsCache, EmptiedWhenTheApplicationEnds) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        {
            int argc = 1;
            char name[] = "metrics_exit_test";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            EXPECT_GT(platform::MetricsFor(platform::Font::Make("Arial", 13)).Width("Measure me"), 0);
            EXPECT_EQ(platform::CachedFontCount(), 1u);
        }
        EXPECT_EQ(platform::CachedFontCount(), 0u);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
