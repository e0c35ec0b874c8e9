// Clipboard, files and folders, and the clock. The scripted dialog service is read back by the
// tests of every page and dialog that show a message or ask for a file.
#include <ctime>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/clipboard.h"
#include "platform/system.h"
#include "tests/documents/doc_test_support.h"

namespace {

// Images on the clipboard are checked by the app's screen export tests.
TEST(Clipboard, TextRoundTripsAsUtf8) {
    const std::string text = "x\ty\r\n1,5\t\xC2\xB5\xC3\xA9 \xE2\x80\x94 \xE6\x95\xB0\n";
    platform::SetClipboardText(text);
    EXPECT_TRUE(platform::HasClipboardText());
    EXPECT_EQ(platform::ClipboardText(), text);
}

// The start-up tests make the program's folder beside the program, make it current and fall back
// when it cannot be made; here what they leave out: a folder made twice, attributes, a missing folder.
TEST(Files, FoldersAndTheirAttributes) {
    doc_test::TempFolder temp;
    const std::string folder = temp / "Marvisto";
    EXPECT_FALSE(platform::FileExists(folder));
    EXPECT_EQ(platform::FileAttributes(folder), platform::kAttributesInvalid);
    EXPECT_TRUE(platform::CreateDirectory(folder));
    EXPECT_FALSE(platform::CreateDirectory(folder));  // exists already
    EXPECT_TRUE(platform::IsDirectory(folder));
    EXPECT_TRUE(platform::FileAttributes(folder) & platform::kAttributeDirectory);
    EXPECT_FALSE(platform::SetCurrentDirectory(temp / "missing"));
    EXPECT_EQ(platform::ProgramFolder().back(), '/');
}

TEST(Time, LocalTimeAgreesWithTheCLibrary) {
    // The same wall-clock reading as localtime; retried when a second turns over between them.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const platform::LocalTime t = platform::Now();
        if (std::time(nullptr) != before) continue;
        std::tm c{};
        localtime_r(&before, &c);
        EXPECT_EQ(std::tuple(t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second),
                  std::tuple(c.tm_year + 1900, c.tm_mon + 1, c.tm_mday, c.tm_wday, c.tm_hour, c.tm_min, c.tm_sec));
        EXPECT_TRUE(t.milliseconds >= 0 && t.milliseconds < 1000);
        return;
    }
    FAIL() << "the clock turned over on every attempt";
}

}  // namespace
