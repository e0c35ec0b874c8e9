#pragma once
// Reading an Access file through a reader process of our own (tabulon-access-reader), so
// that a corrupt file cannot take the program down: the reader is started at Open and
// ended with the object. While it works the program keeps pumping its messages (the
// waiting callback); a reader that sends nothing for the silence limit, runs past its
// memory bound or dies is ended and reported as "The database could not be read: ...".
//
//   AccessReaderProcess db(pump);
//   if (!db.Open(path) || !db.Execute(statement)) report(db.Error());
//   db.ReadRows({0, 2}, [](const std::vector<AccessValue>& values, long total) { ...; return true; });
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "platform/access_database.h"
#include "platform/access_reader_protocol.h"

namespace platform {

class AccessReaderProcess {
public:
    struct Limits {
        int silenceMs = 20000;             // longest wait for a sign of the reader
        long long memoryMb = 1024;         // the reader's address space
    };
    // The limits of every reader started from now on (tests shorten them).
    static Limits& CurrentLimits();
    // The reader executable; "" finds it beside the program or where the build put it.
    static std::string& ReaderPathOverride();
    static std::string ReaderPath();

    // Starts a reader to stand by for the next Open, so that its start overlaps with what
    // comes before (the file dialog). A reader that ended its work cleanly stands by too.
    static void Prestart();
    // Ends the reader standing by.
    static void DropStandby();

    // waiting runs about every 50 ms while the reader is awaited (it pumps the messages).
    explicit AccessReaderProcess(std::function<void()> waiting = {});
    ~AccessReaderProcess();
    AccessReaderProcess(const AccessReaderProcess&) = delete;
    AccessReaderProcess& operator=(const AccessReaderProcess&) = delete;

    // As AccessDatabase::Open and Execute; false with Error().
    bool Open(const std::string& path);
    bool Execute(const std::string& statement);
    // Every row of the result set, the values of the given fields in that order, to onRow
    // with the row count of the result set; onRow returning false ends the reading (false).
    // The rows arrive with Execute's answer, so they can be read once per statement.
    bool ReadRows(const std::vector<std::size_t>& fields,
                  const std::function<bool(const std::vector<AccessValue>& values, long total)>& onRow);
    // Done with the reader: one that is between commands stands by for the next Open, any
    // other is ended.
    void Close();

    const std::string& Path() const { return path_; }
    const std::vector<std::string>& TableNames() const { return tables_; }
    const std::vector<AccessField>& Fields() const { return fields_; }
    const std::string& Error() const { return error_; }
    // True when the failure was the reader's own end (silence, memory, death), not a
    // message it sent.
    bool ReaderFailed() const { return readerFailed_; }

private:
    bool Start();
    bool Send(access_reader::Message kind, const std::string& payload);
    // The next message of the reader; false when it failed (Error() set, reader ended).
    bool Receive(access_reader::Message& kind, std::string& payload);
    bool ReaderGone(const std::string& why);
    bool Broken();
    // After a command: Failed with the reader's text, or the expected reply and Done.
    bool Reply(access_reader::Message expected, std::string& payload);

    std::function<void()> waiting_;
    pid_t pid_ = -1;
    int socket_ = -1;
    long long limits_ = 0;  // the reader's memory bound
    std::string readerPath_;
    access_reader::MessageBuffer received_;
    std::string path_;
    std::string error_;
    bool readerFailed_ = false;
    bool idle_ = false;  // no command of ours is unanswered
    bool rowsPending_ = false;  // the statement's rows are still to be read
    std::vector<std::string> tables_;
    std::vector<AccessField> fields_;
};

// The prefix of every failure of the reader process itself.
inline constexpr const char* kDatabaseNotRead = "The database could not be read: ";

}  // namespace platform
