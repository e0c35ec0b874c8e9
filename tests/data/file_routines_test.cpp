// Folder test and the retrying file opener.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "data/file_routines.h"

namespace {

class FileRoutines : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("file_routines_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        file_ = dir_ / "data.txt";
        std::ofstream(file_) << "0123456789";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_, file_;
};

// Creates the file after the given delay, on its own thread.
std::thread CreateLater(std::filesystem::path p, int ms) {
    return std::thread([p, ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        std::ofstream(p) << "late";
    });
}

}  // namespace

TEST_F(FileRoutines, IsDirectory) {
    std::filesystem::create_directory_symlink(dir_, dir_ / "link");
    struct Case {
        std::filesystem::path path;
        int expected;
    } cases[] = {{dir_, 1}, {dir_ / "link", 1}, {"/", 1}, {file_, 0}, {dir_ / "nothing", 0}, {"", 0}};
    for (const Case& c : cases) EXPECT_EQ(IsDirectory(c.path.string()), c.expected) << c.path;
}

TEST_F(FileRoutines, OpensAtTheOffset) {
    long offset = 4;
    std::FILE* f = OpenFileRetryAt(file_.string(), offset, "r", 10, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fgetc(f), '4');
    EXPECT_EQ(offset, 4);
    std::fclose(f);

    offset = -5;  // before the start: the stream stays at the start and says so
    f = OpenFileRetryAt(file_.string(), offset, "r", 0, 1);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(std::fgetc(f), '0');
    std::fclose(f);

    EXPECT_EQ(OpenFileRetryAt(file_.string(), offset, nullptr, 0, 1), nullptr);
}

// With 0 retries the file is tried twice: a file that appears during the one pause is
// found, one that appears after a second pause would have been is not.
TEST_F(FileRoutines, ZeroRetriesTryTwice) {
    const std::filesystem::path soon = dir_ / "soon.txt", late = dir_ / "late.txt";
    long offset = 0;
    std::thread a = CreateLater(soon, 100);
    std::FILE* f = OpenFileRetryAt(soon.string(), offset, "r", 0, 400);
    a.join();
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    const auto start = std::chrono::steady_clock::now();
    std::thread b = CreateLater(late, 600);
    f = OpenFileRetryAt(late.string(), offset, "r", 0, 400);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    b.join();
    EXPECT_EQ(f, nullptr);
    if (f != nullptr) std::fclose(f);
    EXPECT_GE(elapsed, std::chrono::milliseconds(400));  // one pause was taken
}
