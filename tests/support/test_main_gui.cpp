// Test entry point for tests that drive real widgets. The platform must be chosen before
// QApplication exists: CTest's discovery runs the binary without the test environment.
#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Qt adopts the user's locale; the program's number text relies on "C".
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
