// tabulon-access-reader: reads Access files for the program in a process of its own. It
// takes its commands on standard input and answers on standard output (see
// access_reader_protocol.h); mdbtools' warnings on standard error go nowhere. Arguments:
// --memory-mb N bounds its address space.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include <glib.h>

#include "platform/access_database.h"
#include "platform/access_reader_protocol.h"

namespace {

using platform::AccessDatabase;
using platform::AccessValue;
namespace ar = platform::access_reader;
using ar::Message;

constexpr std::size_t kBatchBytes = 64 * 1024;
constexpr long kAliveEvery = 4096;  // rows fetched between signs of life

long long memoryBound = 0;  // bytes; 0 for none

[[noreturn]] void OutOfMemory() { _exit(ar::kExitOutOfMemory); }

// Bytes of address space in use, from /proc (only calls safe in a signal handler).
long long AddressSpaceInUse() {
    const int fd = open("/proc/self/statm", O_RDONLY);
    if (fd < 0) return 0;
    char text[64];
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    long long pages = 0;
    for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i) pages = pages * 10 + (text[i] - '0');
    return pages * sysconf(_SC_PAGESIZE);
}

// mdbtools and glib abort (or run into a null pointer) when an allocation fails: near the
// bound that is reported as the bound's doing.
void OnFatalSignal(int signal) {
    if (memoryBound > 0 && AddressSpaceInUse() >= memoryBound / 10 * 9) OutOfMemory();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void OnGlibError(const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
    if (message != nullptr && std::strstr(message, "allocate") != nullptr) OutOfMemory();
    std::abort();
}

bool WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Messages wait here until the answer is complete or the buffer is full: every write
// wakes the program once.
std::string pending;

bool Flush() {
    const bool written = WriteAll(pending);
    pending.clear();
    return written;
}

bool Send(Message kind, const std::string& payload = std::string()) {
    pending += ar::Frame(kind, payload);
    return pending.size() < kBatchBytes || Flush();
}

// A sign of life goes at once.
bool SendNow(Message kind) { return Send(kind) && Flush(); }

// Commands as they arrive; more than one may come in one read.
ar::MessageBuffer input;

// After an answer the program's next command often follows at once: the reader asks for it
// awake for a moment before it sleeps (a wake-up costs as much as reading a small table).
bool ReadCommand(Message& kind, std::string& payload, const std::function<void()>& beforeSleep) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point awakeUntil = Clock::now() + ar::kAwakeWait;
    bool slept = false;
    char buffer[65536];
    while (!input.Next(kind, payload)) {
        if (input.Broken()) return false;
        const bool awake = Clock::now() < awakeUntil;
        if (!awake && !slept) {
            beforeSleep();
            slept = true;
        }
        // Standard input is the program's socket; recv fails on anything else and read serves.
        ssize_t n = recv(STDIN_FILENO, buffer, sizeof buffer, awake ? MSG_DONTWAIT : 0);
        if (n < 0 && errno == ENOTSOCK) n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        input.Append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// Every field of every row: the program keeps the ones it wants.
bool SendRows(AccessDatabase& db) {
    std::vector<std::size_t> columns(db.Fields().size());
    for (std::size_t i = 0; i < columns.size(); ++i) columns[i] = i;
    // The header's row count serves the progress report: a counting pass would read the
    // table twice.
    const long total = db.StoredRowCount();
    std::string payload;
    ar::PutI64(payload, total);
    if (!Send(Message::Total, payload)) return false;
    std::string batch;
    std::uint32_t rows = 0;
    std::vector<AccessValue> row;
    AccessValue none;
    // Rows a condition drops send nothing: a sign of life now and then.
    db.SetFetchTick([](long fetched) {
        if (fetched % kAliveEvery == 0) SendNow(Message::Alive);
    });
    while (db.NextRow(row)) {
        for (std::size_t column : columns) ar::PutValue(batch, column < row.size() ? row[column] : none);
        ++rows;
        if (batch.size() >= kBatchBytes) {
            payload.clear();
            ar::PutU32(payload, rows);
            payload += batch;
            if (!Send(Message::RowBatch, payload)) return false;
            batch.clear();
            rows = 0;
        }
    }
    if (rows > 0) {
        payload.clear();
        ar::PutU32(payload, rows);
        payload += batch;
        if (!Send(Message::RowBatch, payload)) return false;
    }
    return Send(Message::Done);
}

}  // namespace

int main(int argc, char** argv) {
    long long memoryMb = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--memory-mb") == 0) memoryMb = std::atoll(argv[i + 1]);
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers reserve far more address space than any bound would allow.
    if (memoryMb > 0) {
        const rlim_t bytes = static_cast<rlim_t>(memoryMb) << 20;
        const rlimit limit{bytes, bytes};
        if (setrlimit(RLIMIT_AS, &limit) == 0) memoryBound = static_cast<long long>(bytes);
    }
#endif
    std::signal(SIGABRT, OnFatalSignal);
    std::signal(SIGSEGV, OnFatalSignal);
    std::signal(SIGBUS, OnFatalSignal);
    std::set_new_handler(OutOfMemory);
    g_log_set_handler("GLib", static_cast<GLogLevelFlags>(G_LOG_LEVEL_ERROR | G_LOG_FLAG_FATAL), OnGlibError, nullptr);

    auto db = std::make_unique<AccessDatabase>();
    // A closed file is let go when the reader has a moment: after an answer the program takes
    // a while to read, or before it sleeps, not while the program waits for the next answer.
    std::unique_ptr<AccessDatabase> closed;
    const auto letGo = [&closed] { closed.reset(); };
    Message kind;
    std::string payload;
    while (ReadCommand(kind, payload, letGo)) {
        bool sent = true;
        bool quickAnswer = false;
        switch (kind) {
            case Message::Open:
                if (!db->Open(payload)) {
                    sent = Send(Message::Failed, db->Error());
                } else {
                    std::string names;
                    for (const std::string& name : db->TableNames()) ar::PutText(names, name);
                    sent = Send(Message::Tables, names) && Send(Message::Done);
                    quickAnswer = true;
                }
                break;
            case Message::Execute:
                if (!db->Execute(payload)) {
                    sent = Send(Message::Failed, db->Error());
                } else {
                    std::string fields;
                    for (const platform::AccessField& field : db->Fields()) {
                        ar::PutText(fields, field.name);
                        fields += static_cast<char>(static_cast<int>(field.type));
                    }
                    // The rows follow at once: the read costs the program one exchange.
                    sent = Send(Message::Fields, fields) && Send(Message::Done) && SendRows(*db);
                }
                break;
            case Message::Close:
                closed = std::move(db);  // a file closed before is let go first
                db = std::make_unique<AccessDatabase>();
                quickAnswer = true;
                break;
            default:
                sent = Send(Message::Failed, "The reader was given a command it does not know.");
                break;
        }
        if (!sent || !Flush()) break;
        if (!quickAnswer) letGo();
    }
    return 0;
}
