// Bad input at the text and clipboard imports: reads that give no record add no series,
// the preview of an empty file and of a line with very many fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import_test_support.h"
#include "platform/clipboard.h"

namespace {

using import_test::RunTextImport;
using import_test::TempFile;
using import_test::TextChoice;

class ImportFaults : public ::testing::Test {
protected:
    void SetUp() override {
        theText2.separators.assign(1, ' ');
        theText2.synchronizeRequested = 0;
    }
    platform::ScriptedDialogs dialogs;
    data page;
};

TEST_F(ImportFaults, ATextReadWithoutARecordAddsNoSeries) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"an empty file", "", {"Nothing to read"}},
        {"separators only", "   \n \t \n", {"Nothing to read"}},
        {"a header and blank lines", "x y\n\n\n", {"Nothing to read"}},
        {"a header and only non-numeric lines", "x y\n1 q\nz 2\n",
         {"There are 2 records with nonnumeric letters in file,\n0 records are succesfuly read."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFile file(c.content);
        data fresh;
        platform::ScriptedDialogs d;
        RunTextImport(fresh, d, file.Path(), TextChoice{});
        EXPECT_TRUE(fresh.series.empty());
        EXPECT_EQ(d.Messages(), c.messages);
    }
}

TEST_F(ImportFaults, AFileWithoutALineShowsAnEmptyPreview) {
    TempFile earlier("x y\n1 2\n");
    TempFile empty("");
    TextChoice cancel;
    cancel.ok = false;
    RunTextImport(page, dialogs, earlier.Path(), cancel);
    const import_test::TextSeen seen = RunTextImport(page, dialogs, empty.Path(), cancel);
    EXPECT_EQ(seen.items, std::vector<std::string>{""});
    EXPECT_EQ(theText2.firstLine, "");
}

TEST_F(ImportFaults, ALineWithVeryManyFieldsIsShownInPartOrRefused) {
    auto line = [](int fields) {
        std::string text;
        for (int i = 0; i < fields; ++i) text += "1 ";
        return text + "\n";
    };
    // At the limit every field is listed and read.
    TempFile most(line(Text::kMaxFields) + line(Text::kMaxFields));
    import_test::TextSeen seen = RunTextImport(page, dialogs, most.Path(), TextChoice{});
    EXPECT_EQ(seen.items.size(), static_cast<std::size_t>(Text::kMaxFields));
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(page.series[0].nParameters, Text::kMaxFields);

    // Beyond it the list shows the first fields and the import is refused with the count;
    // 200,000 fields once took minutes to list.
    for (int fields : {Text::kMaxFields + 1, 200000}) {
        TempFile wide(line(fields));
        data fresh;
        platform::ScriptedDialogs d;
        seen = RunTextImport(fresh, d, wide.Path(), TextChoice{});
        EXPECT_EQ(seen.items.size(), static_cast<std::size_t>(Text::kMaxFields));
        EXPECT_EQ(d.Messages(), std::vector<std::string>{"The first line has " + std::to_string(fields) +
                                                         " fields; at most 10000 fields can be read."});
        EXPECT_TRUE(fresh.series.empty());
    }
}

TEST_F(ImportFaults, AClipboardWithoutARecordAddsNoSeries) {
    for (const std::string text : {"x\ty\n", "x\ty\n1\tq\n", "1e400\t2\n"}) {
        SCOPED_TRACE(text);
        data fresh;
        platform::ScriptedDialogs d;
        platform::SetClipboardText(text);
        fresh.ReadClipboard();
        EXPECT_TRUE(fresh.series.empty());
        EXPECT_EQ(d.Messages(), std::vector<std::string>{"Nothing to read"});
    }
    // A row beyond the double range is dropped as a non-numeric one is.
    platform::SetClipboardText("x\ty\n1\t2\n1e400\t3\n4\t5\n");
    page.ReadClipboard();
    EXPECT_EQ(page.allValues, (std::vector<double>{1, 2, 4, 5}));
}

}  // namespace
