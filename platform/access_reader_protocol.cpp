#include "platform/access_reader_protocol.h"

#include <cstring>

namespace platform::access_reader {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutI64(std::string& out, std::int64_t v) {
    const auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

void PutValue(std::string& out, const AccessValue& value) {
    if (value.isNull) {
        out += '\0';
    } else if (IsTextFieldType(value.type)) {
        out += '\2';
        PutText(out, value.text);
    } else {
        out += '\1';
        std::uint64_t bits;
        std::memcpy(&bits, &value.number, sizeof bits);
        PutI64(out, static_cast<std::int64_t>(bits));
    }
}

std::string Frame(Message kind, std::string_view payload) {
    std::string out;
    out.reserve(payload.size() + 5);
    out += static_cast<char>(kind);
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    out.append(payload);
    return out;
}

bool PayloadReader::U8(std::uint8_t& v) {
    if (rest_.empty()) return false;
    v = static_cast<std::uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return true;
}

bool PayloadReader::U32(std::uint32_t& v) {
    if (rest_.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(rest_[i])) << (8 * i);
    rest_.remove_prefix(4);
    return true;
}

bool PayloadReader::I64(std::int64_t& v) {
    if (rest_.size() < 8) return false;
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u |= static_cast<std::uint64_t>(static_cast<unsigned char>(rest_[i])) << (8 * i);
    v = static_cast<std::int64_t>(u);
    rest_.remove_prefix(8);
    return true;
}

bool PayloadReader::Text(std::string& text) {
    std::uint32_t size;
    if (!U32(size) || rest_.size() < size) return false;
    text.assign(rest_.data(), size);
    rest_.remove_prefix(size);
    return true;
}

bool PayloadReader::Value(AccessFieldType type, AccessValue& value) {
    std::uint8_t tag;
    if (!U8(tag)) return false;
    value.type = type;
    value.isNull = tag == 0;
    value.number = 0.0;
    value.text.clear();
    if (tag == 0) return true;
    if (tag == 2) return Text(value.text);
    std::int64_t bits;
    if (tag != 1 || !I64(bits)) return false;
    std::memcpy(&value.number, &bits, sizeof value.number);
    return true;
}

bool MessageBuffer::Next(Message& kind, std::string& payload) {
    if (bytes_.size() - start_ < 5) return false;
    PayloadReader header(std::string_view(bytes_).substr(start_ + 1, 4));
    std::uint32_t size = 0;
    header.U32(size);
    if (size > kMaxPayload) {
        broken_ = true;
        return false;
    }
    if (bytes_.size() - start_ - 5 < size) return false;
    kind = static_cast<Message>(bytes_[start_]);
    payload.assign(bytes_, start_ + 5, size);
    start_ += 5 + size;
    // The consumed front goes once it outweighs the rest.
    if (start_ > 65536 && start_ * 2 > bytes_.size()) {
        bytes_.erase(0, start_);
        start_ = 0;
    }
    return true;
}

}  // namespace platform::access_reader
