// Under a comma-decimal user locale, the program's start-up still writes "0.5".
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/application.h"

namespace {

std::string FormatHalf() {
    char text[32];
    std::snprintf(text, sizeof text, "%g", 0.5);
    return text;
}

// A German locale: installed, or compiled into a private folder; empty when neither works.
std::string GermanLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            std::setlocale(LC_NUMERIC, "C");
            return name;
        }
    }
    const std::string folder = std::string(TABULON_BINARY_DIR) + "/locales";
    const std::string command = "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" + folder +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
    // localedef may report warnings through its exit status and still write a usable locale.
    (void)std::system(command.c_str());
    setenv("LOCPATH", folder.c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        std::setlocale(LC_NUMERIC, "C");
        return "de_DE.UTF-8";
    }
    return std::string();
}

TEST(Locale, StartUpKeepsThePointDecimal) {
    const std::string german = GermanLocale();
    if (german.empty()) GTEST_SKIP() << "no German locale available";
    setenv("LC_ALL", german.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // What Qt does to a program started in that locale, shown to take effect here:
    std::setlocale(LC_ALL, "");
    ASSERT_EQ(FormatHalf(), "0,5");

    static int argc = 1;
    static char name[] = "tabulon";
    static char* argv[] = {name, nullptr};
    platform::Application application(argc, argv);
    EXPECT_EQ(FormatHalf(), "0.5");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
