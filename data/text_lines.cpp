#include "data/text_lines.h"

#include <cstring>

namespace {

constexpr int kSeparatorLimit = 199;

}  // namespace

TextLineReader::TextLineReader(std::FILE* file, const char* separators, std::size_t blockSize)
    : file_(file), block_(blockSize < 1 ? 1 : blockSize) {
    for (int i = 0; i < kSeparatorLimit && separators[i] != '\0'; ++i)
        isSeparator_[static_cast<unsigned char>(separators[i])] = true;
    starts_.resize(2);
    lengths_.resize(2);
}

// Keeps the unread rest at the front of the block, grows the block when a line fills it,
// and reads more of the file. One byte always stays free after the data, so the last line
// of the file can be ended in place. False when nothing more could be read.
bool TextLineReader::Fill() {
    if (atEnd_) return false;
    if (position_ > 0) {
        std::memmove(block_.data(), block_.data() + position_, filled_ - position_);
        blockOffset_ += static_cast<long long>(position_);
        filled_ -= position_;
        position_ = 0;
    }
    if (filled_ + 1 >= block_.size()) block_.resize(block_.size() * 2 + 2);
    const std::size_t read = std::fread(block_.data() + filled_, 1, block_.size() - filled_ - 1, file_);
    filled_ += read;
    if (read == 0) atEnd_ = true;
    return read > 0;
}

int TextLineReader::Next() {
    // Find the line: up to and with its line feed, or the rest of the file.
    std::size_t searched = position_;
    const char* lineFeed;
    while (true) {
        lineFeed = static_cast<const char*>(std::memchr(block_.data() + searched, '\n', filled_ - searched));
        if (lineFeed != nullptr) break;
        searched = filled_ - position_;  // offset from the line's start, kept across the move
        if (!Fill()) {
            if (position_ == filled_) return 0;
            break;
        }
        searched += position_;
    }
    char* begin = block_.data() + position_;
    const std::size_t taken = lineFeed ? static_cast<std::size_t>(lineFeed - begin) + 1 : filled_ - position_;
    position_ += taken;

    // The text ends at a NUL; CR LF ends a line as LF does, and a last CR is no text.
    std::size_t length = std::memchr(begin, '\0', taken) != nullptr ? std::strlen(begin) : taken;
    if (length >= 2 && begin[length - 2] == '\r' && begin[length - 1] == '\n') {
        begin[length - 2] = '\n';
        --length;
    } else if (length >= 1 && begin[length - 1] == '\r') {
        --length;
    }
    // Fields are ended by a NUL written after them. The byte after the text belongs to the
    // next line only when the text runs to a line feed that does not separate.
    text_ = begin;
    if (length == taken && lineFeed != nullptr && !isSeparator_[static_cast<unsigned char>('\n')]) {
        line_.assign(begin, length);
        text_ = line_.data();
    }

    char* text = text_;
    int count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < length && isSeparator_[static_cast<unsigned char>(text[i])]) ++i;
        if (i >= length) break;
        const std::size_t start = i;
        while (i < length && !isSeparator_[static_cast<unsigned char>(text[i])]) ++i;
        ++count;
        if (starts_.size() <= static_cast<std::size_t>(count)) {
            starts_.resize(static_cast<std::size_t>(count) * 2);
            lengths_.resize(static_cast<std::size_t>(count) * 2);
        }
        starts_[static_cast<std::size_t>(count)] = start;
        lengths_[static_cast<std::size_t>(count)] = i - start;
        text[i++] = '\0';  // a separator, or the byte after the text
    }
    if (count == 0) {
        // Only separators (or nothing) before the end of the line: one empty field.
        count = 1;
        text[0] = '\0';
        starts_[1] = 0;
        lengths_[1] = 0;
    }
    return count;
}
