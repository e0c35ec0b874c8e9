// The Access reader process: the same tables and rows as reading in the program, and a
// reader that loops, goes silent, dies or runs out of memory ended with a message.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "platform/access_database.h"
#include "platform/access_reader_process.h"
#include "data/temp_file.h"

namespace platform {
namespace {

const std::string kDir = std::string(TABULON_FIXTURES_DIR) + "/access/";

bool HaveFixtures() { return ::access((kDir + "fruit.mdb").c_str(), R_OK) == 0; }

// Restores the reader's limits and path after each test.
class AccessReader : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveFixtures()) GTEST_SKIP() << "no Access fixtures in " << kDir;
        saved_ = AccessReaderProcess::CurrentLimits();
    }
    void TearDown() override {
        AccessReaderProcess::CurrentLimits() = saved_;
        AccessReaderProcess::ReaderPathOverride().clear();
    }
    AccessReaderProcess::Limits saved_;
};

// A copy of the fixture with one byte changed (made at run time; the fixtures stay read-only).
std::string CorruptCopy(const test_files::TempFile& place, const std::string& fixture, long offset, int mask) {
    std::ifstream in(kDir + fixture, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.at(static_cast<std::size_t>(offset)) = static_cast<char>(bytes[static_cast<std::size_t>(offset)] ^ mask);
    const std::string path = place.Folder() + "/" + fixture;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// A stand-in reader: a shell script.
std::string Script(const test_files::TempFile& place, const std::string& body) {
    const std::string path = place.Folder() + "/reader.sh";
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

TEST_F(AccessReader, GivesWhatTheProgramReadsItselfForEveryTable) {
    for (const char* file : {"fruit.mdb", "V1997_test.mdb", "V2003_numeric.mdb", "V2010_test.accdb"}) {
        AccessDatabase direct;
        ASSERT_TRUE(direct.Open(kDir + file)) << direct.Error();
        AccessReaderProcess child;
        ASSERT_TRUE(child.Open(kDir + file)) << child.Error();
        ASSERT_EQ(child.TableNames(), direct.TableNames());
        for (const std::string& table : direct.TableNames()) {
            SCOPED_TRACE(std::string(file) + " " + table);
            const std::string statement = "SELECT * FROM [" + table + "]";
            ASSERT_TRUE(direct.Execute(statement));
            ASSERT_TRUE(child.Execute(statement));
            ASSERT_EQ(child.Fields().size(), direct.Fields().size());
            std::vector<std::size_t> all;
            for (std::size_t i = 0; i < direct.Fields().size(); ++i) {
                EXPECT_EQ(child.Fields()[i].name, direct.Fields()[i].name);
                EXPECT_EQ(child.Fields()[i].type, direct.Fields()[i].type);
                all.push_back(i);
            }
            const long total = direct.RecordCount();
            std::vector<AccessValue> row;
            long rows = 0;
            ASSERT_TRUE(child.ReadRows(all, [&](const std::vector<AccessValue>& values, long count) {
                EXPECT_EQ(count, total);
                EXPECT_TRUE(direct.NextRow(row));
                for (std::size_t i = 0; i < values.size(); ++i) {
                    EXPECT_EQ(values[i].isNull, row[i].isNull);
                    if (IsTextFieldType(row[i].type)) {
                        EXPECT_EQ(values[i].text, row[i].text);
                    } else if (!row[i].isNull) {
                        EXPECT_EQ(values[i].number, row[i].number);
                    }
                }
                ++rows;
                return true;
            })) << child.Error();
            EXPECT_EQ(rows, total);
        }
    }
    // Fields asked for twice, out of order or past the end.
    AccessReaderProcess child;
    AccessDatabase direct;
    ASSERT_TRUE(child.Open(kDir + "fruit.mdb") && child.Execute("SELECT * FROM Fruit"));
    ASSERT_TRUE(direct.Open(kDir + "fruit.mdb") && direct.Execute("SELECT * FROM Fruit"));
    std::vector<AccessValue> row;
    ASSERT_TRUE(child.ReadRows({1, 0, 1, 99}, [&](const std::vector<AccessValue>& values, long) {
        EXPECT_TRUE(direct.NextRow(row));
        EXPECT_EQ(values[0].number, row[1].number);
        EXPECT_EQ(values[1].text, row[0].text);
        EXPECT_EQ(values[2].number, row[1].number);
        EXPECT_TRUE(values[3].isNull);
        return true;
    }));
    // The reader's own messages come through as they are.
    EXPECT_FALSE(child.Execute("DELETE FROM Fruit"));
    EXPECT_EQ(child.Error(), "Only simple SELECT statements are supported (SELECT fields FROM table [WHERE conditions]).");
    EXPECT_FALSE(child.ReaderFailed());
    EXPECT_FALSE(child.Open(kDir + "missing.mdb"));
    EXPECT_EQ(child.Error(), "Cannot open the database file \"" + kDir + "missing.mdb\": there is no such file.");
}

TEST_F(AccessReader, ACorruptFileThatLoopsEndsWithAMessage) {
    // One bit changed sends mdbtools round its catalog until memory runs out.
    test_files::TempFile place("");
    const std::string path = CorruptCopy(place, "V1997_test.mdb", 94236, 0x40);
    AccessReaderProcess::CurrentLimits().memoryMb = 256;
    AccessReaderProcess::CurrentLimits().silenceMs = 8000;
    int waits = 0;
    AccessReaderProcess child([&] { ++waits; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(child.Open(path));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(child.ReaderFailed());
    EXPECT_EQ(child.Error().rfind(kDatabaseNotRead, 0), 0u) << child.Error();
    EXPECT_TRUE(child.TableNames().empty());
    EXPECT_LT(seconds, 20.0);
    EXPECT_GT(waits, 0);  // the program kept pumping meanwhile
}

TEST_F(AccessReader, SilenceMemoryAndDeathEndTheReader) {
    test_files::TempFile place("");
    struct Case {
        const char* what;
        std::string body;
        std::string error;
    };
    AccessReaderProcess::CurrentLimits().silenceMs = 300;
    AccessReaderProcess::CurrentLimits().memoryMb = 64;
    const Case cases[] = {
        {"silent", "exec sleep 30", std::string(kDatabaseNotRead) + "the reader sent nothing for 300 ms."},
        {"killed", "kill -SEGV $$", std::string(kDatabaseNotRead) + "the reader stopped with signal 11 (" +
                                        strsignal(SIGSEGV) + ")."},
        {"ends", "exit 3", std::string(kDatabaseNotRead) + "the reader ended unexpectedly (exit code 3)."},
        {"memory", "exit 86", std::string(kDatabaseNotRead) + "the reader needed more than 64 MB of memory."},
        {"garbage", "printf 'Z\\377\\377\\377\\377'; sleep 30",
         std::string(kDatabaseNotRead) + "the reader sent data that cannot be read."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AccessReaderProcess::ReaderPathOverride() = Script(place, c.body);
        AccessReaderProcess child;
        EXPECT_FALSE(child.Open(kDir + "fruit.mdb"));
        EXPECT_EQ(child.Error(), c.error);
        EXPECT_TRUE(child.ReaderFailed());
        std::remove((place.Folder() + "/reader.sh").c_str());
    }
#if !defined(__SANITIZE_ADDRESS__)  // a sanitized reader sets no bound
    // The real reader under a bound far too small for its own start.
    AccessReaderProcess::ReaderPathOverride().clear();
    AccessReaderProcess::CurrentLimits().memoryMb = 1;
    AccessReaderProcess child;
    EXPECT_FALSE(child.Open(kDir + "fruit.mdb"));
    EXPECT_EQ(child.Error().rfind(kDatabaseNotRead, 0), 0u) << child.Error();
#endif
}

}  // namespace
}  // namespace platform
