#pragma once
// The messages between the program and its Access reader process (tabulon-access-reader):
// each is a kind byte, a 32-bit little-endian payload length and the payload. The reader
// runs mdbtools away from the program, so a corrupt file that sends mdbtools into a loop or
// a crash costs only the reader.
//
// Program to reader: Open (the path), Execute (the statement), Close (no answer: the reader
// waits for the next file). Reader to program: Tables (names) or Fields (name and type byte
// each) and then Done, or Failed (the reader's message). Fields and its Done are followed at
// once by every row of the statement: Total (64-bit row count), RowBatch messages (32-bit
// row count, then per row and field a tag byte: 0 null, 1 a number of 8 bytes, 2 a text of
// 32-bit length and bytes), Alive while it fetches, and Done at the end.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/access_values.h"

namespace platform::access_reader {

enum class Message : std::uint8_t {
    Open = 'O',
    Execute = 'X',
    Close = 'C',  // closes the file; no answer
    Tables = 'T',
    Fields = 'F',
    Total = 'N',
    RowBatch = 'B',
    Alive = 'A',
    Done = 'D',
    Failed = 'E',
};

// How long either side waits awake (asking without sleeping) for the other's next message
// before it sleeps until the message comes.
inline constexpr std::chrono::microseconds kAwakeWait{1000};

// The exit code of a reader that ran past its memory bound.
inline constexpr int kExitOutOfMemory = 86;

// Appending to a payload.
void PutU32(std::string& out, std::uint32_t v);
void PutI64(std::string& out, std::int64_t v);
void PutText(std::string& out, std::string_view text);
void PutValue(std::string& out, const AccessValue& value);
// A whole message: kind, length, payload.
std::string Frame(Message kind, std::string_view payload);

// Reading a payload; every read fails (false) rather than run past its end.
class PayloadReader {
public:
    explicit PayloadReader(std::string_view payload) : rest_(payload) {}
    bool U8(std::uint8_t& v);
    bool U32(std::uint32_t& v);
    bool I64(std::int64_t& v);
    bool Text(std::string& text);
    // A value of a field of this type.
    bool Value(AccessFieldType type, AccessValue& value);
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// Cuts complete messages off the front of received bytes.
class MessageBuffer {
public:
    void Append(const char* data, std::size_t size) { bytes_.append(data, size); }
    // The next complete message; false when it has not all arrived.
    bool Next(Message& kind, std::string& payload);
    // A message length beyond this is a broken stream.
    static constexpr std::uint32_t kMaxPayload = 256u << 20;
    bool Broken() const { return broken_; }

private:
    std::string bytes_;
    std::size_t start_ = 0;
    bool broken_ = false;
};

}  // namespace platform::access_reader
