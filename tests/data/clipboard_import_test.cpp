// The clipboard import through the real clipboard, and the cutting of clipboard text
// against the shared one-line-at-a-time routines it must agree with.
#include <gtest/gtest.h>

#include <random>

#include <QImage>

#include "data/clipboard_text.h"
#include "data/record_text.h"
#include "import_test_support.h"
#include "platform/clipboard.h"

namespace {

using import_test::SeriesNames;
using import_test::SeriesValues;

struct ClipCase {
    const char* what;
    std::string text;
    std::vector<std::string> names;
    std::vector<double> values;
};

TEST(ClipboardImport, RowsOfTheClipboardBecomeASeries) {
    const ClipCase cases[] = {
        {"a header row gives the names", "x\ty\n1\t2\n3\t4\n", {"x", "y"}, {1, 2, 3, 4}},
        {"numbers only: a0.. and the first row is a record", "1\t2\n3\t4\n", {"a0", "a1"}, {1, 2, 3, 4}},
        {"one row without a line feed", "5\t6", {"a0", "a1"}, {5, 6}},
        {"Windows line ends, empty ones too", "x\ty\r\n1\t2\r\n\r\n3\t4\r\n", {"x", "y"}, {1, 2, 3, 4}},
        {"a row with another cell count is dropped", "x\ty\n1\t2\n7\n3\t4\n8\t9\t10\n", {"x", "y"}, {1, 2, 3, 4}},
        {"a row with a letter is dropped", "x\ty\n1\t2\nb\t7\n3\t4\n", {"x", "y"}, {1, 2, 3, 4}},
        {"spaces stay, dates are fractional years", "t\tv\n 1/1/05 \t 2.5e1\n", {"t", "v"},
         {105 + 1 / 365.0, 25}},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedDialogs dialogs;
        data page;
        platform::SetClipboardText(c.text);
        page.ReadClipboard();
        ASSERT_EQ(page.series.size(), 1u);
        EXPECT_EQ(SeriesNames(page, 0), c.names);
        EXPECT_EQ(SeriesValues(page, 0), c.values);
        EXPECT_TRUE(dialogs.Messages().empty());
    }
}

TEST(ClipboardImport, EmptyClipboardsAndRefusals) {
    platform::ScriptedDialogs dialogs;
    data page;
    platform::SetClipboardText("\n\r\n\n");
    page.ReadClipboard();
    platform::SetClipboardImage(QImage(4, 4, QImage::Format_RGB32));  // no text at all: no message
    page.ReadClipboard();
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Clipboard is empty"});
    EXPECT_TRUE(page.series.empty());

    platform::SetClipboardText("1\t2\t3\n");
    page.ReadClipboard();
    platform::SetClipboardText("1\t2\n");
    page.ReadClipboard();  // refused: another parameter count
    platform::SetClipboardText("7\t8\t9\n");
    page.ReadClipboard();
    ASSERT_EQ(page.series.size(), 2u);
    EXPECT_EQ(SeriesValues(page, 1), (std::vector<double>{7, 8, 9}));
    EXPECT_EQ(CheckStoreInvariants(page), "");
}

// The fields of one line as the shared routine cuts them, one field at a time.
std::vector<std::string> FieldsBySplitLine(std::string line) {
    std::vector<std::string> fields;
    std::string field;
    while (RecordText::SplitLine(line, field)) fields.push_back(field);
    return fields;
}

TEST(ClipboardText, CutsAsTheSharedRoutines) {
    std::mt19937 random(7);
    const char alphabet[] = {'\t', '\t', '\r', '\n', ' ', '1', '2', '.', 'a', '-'};
    std::vector<std::string> fields;
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];

        // Lines: as the shared routine takes them, but empty lines (nothing or a lone CR) are
        // skipped and a last line without a line feed still counts.
        std::vector<std::string> expectedLines;
        std::string rest = text, line;
        while (true) {
            while (!rest.empty() && rest[0] == '\n') rest.erase(0, 1);
            if (RecordText::SplitClipboardText(rest, line)) {
                if (line != "\r") expectedLines.push_back(line);
                continue;
            }
            if (!rest.empty() && rest != "\r") expectedLines.push_back(rest);
            break;
        }
        std::vector<std::string> lines;
        ClipboardLines walker(text);
        const char* begin;
        const char* end;
        while (walker.Next(begin, end)) {
            lines.emplace_back(begin, end);
            const std::vector<std::string> all = FieldsBySplitLine(lines.back());
            SplitClipboardLine(begin, end, fields);
            EXPECT_EQ(fields, all) << lines.back();
            std::vector<std::string> numeric;
            bool expectRead = true;
            for (const std::string& f : all) expectRead = expectRead && !IsNonNumericField(f.c_str());
            EXPECT_EQ(SplitNumericClipboardLine(begin, end, numeric, all.size()), expectRead);
            if (expectRead) {
                EXPECT_EQ(numeric, all);
            }
            if (!all.empty()) {
                EXPECT_FALSE(SplitNumericClipboardLine(begin, end, numeric, all.size() - 1) && expectRead);
            }
        }
        EXPECT_EQ(lines, expectedLines) << text;
        EXPECT_EQ(walker.Consumed(), text.size());
    }
}

}  // namespace
