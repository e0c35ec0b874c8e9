#include "platform/access_reader_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace platform {

namespace ar = access_reader;
using ar::Message;

namespace {

constexpr int kPollMs = 50;
constexpr const char* kReaderName = "tabulon-access-reader";

bool IsExecutable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

std::string ProgramFolder() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    std::string path(buffer, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

AccessReaderProcess::Limits& AccessReaderProcess::CurrentLimits() {
    static Limits limits;
    return limits;
}

std::string& AccessReaderProcess::ReaderPathOverride() {
    static std::string path;
    return path;
}

std::string AccessReaderProcess::ReaderPath() {
    if (!ReaderPathOverride().empty()) return ReaderPathOverride();
    // Looked for once: the program and its reader do not move while it runs.
    static const std::string found = [] {
        const std::string beside = ProgramFolder() + "/" + kReaderName;
        if (IsExecutable(beside)) return beside;
#ifdef TABULON_ACCESS_READER_PATH
        return std::string(TABULON_ACCESS_READER_PATH);
#else
        return beside;
#endif
    }();
    return found;
}

AccessReaderProcess::AccessReaderProcess(std::function<void()> waiting) : waiting_(std::move(waiting)) {}

AccessReaderProcess::~AccessReaderProcess() { Close(); }

namespace {

struct Reader {
    pid_t pid = -1;
    int socket = -1;
    long long limits = 0;  // the memory bound it was started under
    std::string path;      // its executable
};

// At most one reader waits for work.
Reader& Standby() {
    static Reader reader;
    return reader;
}

void EndReader(Reader& reader) {
    if (reader.socket >= 0) {
        close(reader.socket);  // the reader sees the end of its input and ends
        reader.socket = -1;
    }
    if (reader.pid > 0) {
        // A reader busy in a loop does not read its input: it is not waited for.
        kill(reader.pid, SIGKILL);
        int status = 0;
        while (waitpid(reader.pid, &status, 0) < 0 && errno == EINTR) {
        }
        reader.pid = -1;
    }
}

Reader Spawn(std::string& error) {
    Reader reader;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        error = std::string(kDatabaseNotRead) + "the reader could not be started (" + std::strerror(errno) + ").";
        return reader;
    }
    const std::string path = AccessReaderProcess::ReaderPath();
    const std::string memory = std::to_string(AccessReaderProcess::CurrentLimits().memoryMb);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* const argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("--memory-mb"),
                          const_cast<char*>(memory.c_str()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed != 0) {
        close(ends[0]);
        error = std::string(kDatabaseNotRead) + "the reader " + path + " could not be started (" +
                std::strerror(failed) + ").";
        return reader;
    }
    reader.pid = pid;
    reader.socket = ends[0];
    reader.limits = AccessReaderProcess::CurrentLimits().memoryMb;
    reader.path = path;
    return reader;
}

}  // namespace

void AccessReaderProcess::Prestart() {
    Reader& standby = Standby();
    if (standby.pid > 0) return;
    std::string error;
    standby = Spawn(error);
}

void AccessReaderProcess::DropStandby() { EndReader(Standby()); }

void AccessReaderProcess::Close() {
    Reader reader{pid_, socket_, limits_, readerPath_};
    pid_ = -1;
    socket_ = -1;
    received_ = ar::MessageBuffer();
    const bool idle = idle_;
    idle_ = false;
    rowsPending_ = false;
    if (reader.pid <= 0) {
        EndReader(reader);
        return;
    }
    const std::string close = ar::Frame(Message::Close, "");
    if (idle && Standby().pid <= 0 &&
        send(reader.socket, close.data(), close.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(close.size())) {
        Standby() = reader;
    } else {
        EndReader(reader);
    }
}

bool AccessReaderProcess::Start() {
    Close();
    Reader reader = Standby();
    Standby() = Reader();
    // A reader that stood by may have gone meanwhile, or have been started under other limits.
    int status = 0;
    if (reader.pid > 0 && waitpid(reader.pid, &status, WNOHANG) != 0) reader.pid = -1;
    if (reader.pid > 0 && (reader.limits != CurrentLimits().memoryMb || reader.path != ReaderPath())) EndReader(reader);
    if (reader.pid <= 0) {
        if (reader.socket >= 0) close(reader.socket);
        reader = Spawn(error_);
    }
    if (reader.pid <= 0) {
        readerFailed_ = true;
        return false;
    }
    pid_ = reader.pid;
    socket_ = reader.socket;
    limits_ = reader.limits;
    readerPath_ = reader.path;
    idle_ = true;
    return true;
}

bool AccessReaderProcess::Send(Message kind, const std::string& payload) {
    idle_ = false;
    const std::string bytes = ar::Frame(kind, payload);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = send(socket_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ReaderGone("");
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AccessReaderProcess::ReaderGone(const std::string& why) {
    std::string reason = why;
    if (pid_ > 0 && reason.empty()) {
        // The reader closed its end: wait a little for its exit status.
        int status = 0;
        pid_t done = 0;
        for (int i = 0; i < 100 && (done = waitpid(pid_, &status, WNOHANG)) == 0; ++i) usleep(10000);
        if (done == pid_) {
            pid_ = -1;
            if (WIFEXITED(status) && WEXITSTATUS(status) == ar::kExitOutOfMemory) {
                reason = "the reader needed more than " + std::to_string(CurrentLimits().memoryMb) + " MB of memory.";
            } else if (WIFSIGNALED(status)) {
                reason = std::string("the reader stopped with signal ") + std::to_string(WTERMSIG(status)) + " (" +
                         strsignal(WTERMSIG(status)) + ").";
            } else {
                reason = "the reader ended unexpectedly (exit code " + std::to_string(WEXITSTATUS(status)) + ").";
            }
        }
    }
    if (reason.empty()) reason = "the reader stopped answering.";
    Close();
    readerFailed_ = true;
    error_ = kDatabaseNotRead + reason;
    return false;
}

bool AccessReaderProcess::Broken() { return ReaderGone("the reader sent data that cannot be read."); }

bool AccessReaderProcess::Receive(Message& kind, std::string& payload) {
    using Clock = std::chrono::steady_clock;
    if (socket_ < 0) return ReaderGone("");
    Clock::time_point last = Clock::now();
    // A reader at work on a small table answers within a fraction of a millisecond; waiting
    // for it awake spares the wake-up of a sleeping process, which costs as much as the read.
    const Clock::time_point awakeUntil = last + ar::kAwakeWait;
    while (!received_.Next(kind, payload)) {
        if (received_.Broken()) return Broken();
        const bool awake = Clock::now() < awakeUntil;
        pollfd wanted{socket_, POLLIN, 0};
        const int ready = awake ? 1 : poll(&wanted, 1, kPollMs);
        if (ready > 0) {
            char buffer[65536];
            const ssize_t n = recv(socket_, buffer, sizeof buffer, awake ? MSG_DONTWAIT : 0);
            if (n > 0) {
                received_.Append(buffer, static_cast<std::size_t>(n));
                last = Clock::now();
                continue;
            }
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            return ReaderGone("");  // the reader's end closed: it died
        }
        if (ready < 0 && errno != EINTR) return ReaderGone("");
        const long long silent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last).count();
        const int limit = CurrentLimits().silenceMs;
        if (silent >= limit) {
            const int seconds = (limit + 500) / 1000;
            return ReaderGone("the reader sent nothing for " +
                              (seconds >= 1 ? std::to_string(seconds) + " s." : std::to_string(limit) + " ms."));
        }
        if (waiting_) waiting_();
    }
    return true;
}

bool AccessReaderProcess::Reply(Message expected, std::string& payload) {
    Message kind;
    if (!Receive(kind, payload)) return false;
    if (kind == Message::Failed) {
        error_ = payload;
        idle_ = true;
        return false;
    }
    std::string done;
    if (kind != expected || !Receive(kind, done) || kind != Message::Done) return error_.empty() ? Broken() : false;
    idle_ = true;
    return true;
}

bool AccessReaderProcess::Open(const std::string& path) {
    error_.clear();
    readerFailed_ = false;
    tables_.clear();
    fields_.clear();
    path_.clear();
    if (!Start() || !Send(Message::Open, path)) return false;
    std::string payload;
    if (!Reply(Message::Tables, payload)) return false;
    ar::PayloadReader reader(payload);
    std::string name;
    while (!reader.AtEnd()) {
        if (!reader.Text(name)) return Broken();
        tables_.push_back(name);
    }
    path_ = path;
    return true;
}

bool AccessReaderProcess::Execute(const std::string& statement) {
    error_.clear();
    fields_.clear();
    if (socket_ < 0) {
        error_ = "No database is open.";
        return false;
    }
    // Rows of an earlier statement that nobody read go first.
    if (rowsPending_ && !ReadRows({}, [](const std::vector<AccessValue>&, long) { return true; })) return false;
    std::string payload;
    if (!Send(Message::Execute, statement) || !Reply(Message::Fields, payload)) return false;
    // Its rows follow at once; they wait in the socket until ReadRows.
    idle_ = false;
    rowsPending_ = true;
    ar::PayloadReader reader(payload);
    while (!reader.AtEnd()) {
        AccessField field;
        std::uint8_t type = 0;
        if (!reader.Text(field.name) || !reader.U8(type)) return Broken();
        field.type = AccessFieldTypeFromCode(type);
        fields_.push_back(std::move(field));
    }
    return true;
}

bool AccessReaderProcess::ReadRows(const std::vector<std::size_t>& fields,
                                   const std::function<bool(const std::vector<AccessValue>&, long)>& onRow) {
    error_.clear();
    if (socket_ < 0) {
        error_ = "No database is open.";
        return false;
    }
    // The rows came with the statement's answer; read once, they are not sent again.
    if (!rowsPending_) return true;
    rowsPending_ = false;
    std::vector<AccessFieldType> types;
    for (const AccessField& field : fields_) types.push_back(field.type);

    long total = 0;
    std::vector<AccessValue> row(types.size());
    std::vector<AccessValue> values(fields.size());
    const AccessValue none;
    // A field asked for once moves its value over (the two rows trade their buffers); one asked
    // for again is copied.
    std::vector<bool> moved(fields.size(), false);
    std::vector<bool> taken(types.size(), false);
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k] < taken.size() && !taken[fields[k]]) moved[k] = taken[fields[k]] = true;
    Message kind;
    std::string payload;
    while (Receive(kind, payload)) {
        switch (kind) {
            case Message::Alive:
                break;
            case Message::Total: {
                std::int64_t n = 0;
                if (!ar::PayloadReader(payload).I64(n)) return Broken();
                total = static_cast<long>(n);
                break;
            }
            case Message::RowBatch: {
                ar::PayloadReader reader(payload);
                std::uint32_t rows = 0;
                if (!reader.U32(rows)) return Broken();
                for (std::uint32_t r = 0; r < rows; ++r) {
                    for (std::size_t k = 0; k < types.size(); ++k)
                        if (!reader.Value(types[k], row[k])) return Broken();
                    for (std::size_t k = fields.size(); k-- > 0;) {
                        if (fields[k] >= row.size()) values[k] = none;
                        else if (moved[k]) std::swap(values[k], row[fields[k]]);
                        else values[k] = row[fields[k]];
                    }
                    if (!onRow(values, total)) {
                        Close();
                        return false;
                    }
                }
                break;
            }
            case Message::Done:
                idle_ = true;
                return true;
            case Message::Failed:
                error_ = payload;
                idle_ = true;
                return false;
            default:
                return Broken();
        }
    }
    return false;
}

}  // namespace platform
