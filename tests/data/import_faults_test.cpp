// Bad input at the text and clipboard imports: reads that give no record add no series,
// the preview of an empty file and of a line with very many fields, names of megabytes,
// lines without an end, files that are no regular files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "data/import_routines.h"
#include "data/name_limit.h"
#include "import_test_support.h"
#include "peak_memory.h"
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

// The file at path becomes head, a hole of `hole` bytes (read as NULs, costing no disk)
// and tail.
void MakeSparse(const std::string& path, const std::string& head, long long hole, const std::string& tail) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(head.data(), 1, head.size(), f);
    std::fclose(f);
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(head.size()) + hole), 0);
    f = std::fopen(path.c_str(), "ab");
    std::fwrite(tail.data(), 1, tail.size(), f);
    std::fclose(f);
}

std::string SkipReport(int skipped, int read) {
    return "There are " + std::to_string(skipped) + " records with nonnumeric letters in file,\n" +
           std::to_string(read) + " records are succesfuly read.";
}

constexpr long long kMiB = 1 << 20;

// The lengths of texts (a failure then never prints megabytes).
std::vector<std::size_t> Lengths(const std::vector<std::string>& texts) {
    std::vector<std::size_t> lengths;
    for (const std::string& t : texts) lengths.push_back(t.size());
    return lengths;
}

// Mend: a header name of 100 MB crashed the series table; it was read whole (and so were the
// dialog's items). It is cut to the name limit, and the import says so once.
TEST_F(ImportFaults, AHeaderNameOfAHundredMegabytesIsCutAndSaidOnce) {
    TempFile file("");
    {
        std::FILE* f = std::fopen(file.Path().c_str(), "wb");
        const std::string block(static_cast<std::size_t>(kMiB), 'x');
        std::fputs("a ", f);
        for (int i = 0; i < 100; ++i) std::fwrite(block.data(), 1, block.size(), f);
        std::fputs("\n1 2\n3 4\n", f);
        std::fclose(f);
    }
    import_test::TextSeen seen;
    const long long growth = test_memory::PeakGrowth([&] { seen = RunTextImport(page, dialogs, file.Path(), TextChoice{}); });
    EXPECT_EQ(Lengths(seen.items), (std::vector<std::size_t>{1, kMaxNameBytes}));
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(Lengths(import_test::SeriesNames(page, 0)), (std::vector<std::size_t>{1, kMaxNameBytes}));
    EXPECT_EQ(import_test::SeriesValues(page, 0), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{NamesCutText()});
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, 64 * kMiB);
}

// Mend: a first line without a line end (a 2 GB sparse file, 256 MB of NULs) was read whole
// before the dialog showed, and read whole again as a record: the dialog comes up at once
// and memory stays bounded whatever the file holds.
TEST_F(ImportFaults, AFirstLineWithoutALineEndCostsNoMemory) {
    TempFile big("");
    MakeSparse(big.Path(), "", 2048 * kMiB, "");
    TextChoice cancel;
    cancel.ok = false;
    import_test::TextSeen seen;
    long long growth = test_memory::PeakGrowth([&] { seen = RunTextImport(page, dialogs, big.Path(), cancel); });
    EXPECT_EQ(seen.items.size(), 1u);  // one field of NULs, shown cut
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, 64 * kMiB);

    TempFile nuls("");
    MakeSparse(nuls.Path(), "", 256 * kMiB, "");
    growth = test_memory::PeakGrowth([&] { RunTextImport(page, dialogs, nuls.Path(), TextChoice{}); });
    EXPECT_TRUE(page.series.empty());
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{SkipReport(1, 0)});
    EXPECT_LT(growth, 64 * kMiB);
}

// Mend: a good first line followed by a line of hundreds of megabytes took memory for that
// line; memory follows the records read.
TEST_F(ImportFaults, MemoryFollowsTheRecordsNotTheFile) {
    TempFile file("");
    MakeSparse(file.Path(), "x y\n1 2\n", 256 * kMiB, "\n3 4\n");
    const long long growth = test_memory::PeakGrowth([&] { RunTextImport(page, dialogs, file.Path(), TextChoice{}); });
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(import_test::SeriesValues(page, 0), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{SkipReport(1, 2)});
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, 64 * kMiB);
}

// Mend: a FIFO froze the program for good and a link to /dev/zero took gigabytes: what is
// not a regular file is refused before it is opened, without the dialog.
TEST_F(ImportFaults, FifosAndDevicesAreRefused) {
    TempFile file("1 2\n");
    const std::string fifo = file.Folder() + "/pipe.txt";
    const std::string zero = file.Folder() + "/zero.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string& path : {zero, fifo}) {
        dialogs.fileAnswers.push_back(path);
        page.OnOpenTextDataFile();
    }
    std::remove(fifo.c_str());
    std::remove(zero.c_str());
    EXPECT_EQ(dialogs.CountOf("modal"), 0);
    EXPECT_TRUE(page.series.empty());
    EXPECT_EQ(dialogs.Messages(),
              (std::vector<std::string>{"Cannot open the file \"" + zero + "\": it is not a regular file.",
                                        "Cannot open the file \"" + fifo + "\": it is not a regular file."}));
}

// Mend: a first clipboard line of 100 MB gave a name of 100 MB.
TEST_F(ImportFaults, AClipboardNameOfAHundredMegabytesIsCutAndSaidOnce) {
    platform::SetClipboardText("a\t" + std::string(100'000'000, 'x') + "\tb\n1\t2\t3\n");
    page.ReadClipboard();
    platform::SetClipboardText("");
    ASSERT_EQ(page.series.size(), 1u);
    EXPECT_EQ(Lengths(import_test::SeriesNames(page, 0)), (std::vector<std::size_t>{1, kMaxNameBytes, 1}));
    EXPECT_EQ(import_test::SeriesValues(page, 0), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{NamesCutText()});
}

}  // namespace
