#include "data/text_lines.h"

#include <cmath>
#include <cstring>

#include "data/import_routines.h"
#include "data/record_text.h"

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
    // Find the line: up to and with its line end (LF, CR LF or a lone CR), or the rest of
    // the file. Offsets count from the line's start, which a refill may move.
    std::size_t searched = 0;
    std::size_t endAt = 0;  // offset of the line's last byte, its LF or CR
    bool found = false;
    while (true) {
        const char* begin = block_.data() + position_;
        const std::size_t available = filled_ - position_;
        const void* lf = std::memchr(begin + searched, '\n', available - searched);
        const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : available;
        const void* cr = std::memchr(begin + searched, '\r', lfAt - searched);
        if (cr != nullptr) {
            const std::size_t crAt = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
            // A CR as the last byte read may be the first half of a CR LF: read on first.
            if (crAt + 1 < available || atEnd_) {
                endAt = crAt + 1 < available && begin[crAt + 1] == '\n' ? crAt + 1 : crAt;
                found = true;
                break;
            }
            searched = crAt;
        } else if (lf != nullptr) {
            endAt = lfAt;
            found = true;
            break;
        } else {
            searched = available;
        }
        if (!Fill()) {
            if (position_ == filled_) return 0;
            if (searched < filled_ - position_) continue;  // the last byte is a CR: a line end
            break;
        }
    }
    char* begin = block_.data() + position_;
    const std::size_t taken = found ? endAt + 1 : filled_ - position_;
    position_ += taken;
    lineEnded_ = found;

    // Every line end stands in the text as one line feed. A NUL is kept: it is no number.
    std::size_t length = taken;
    if (found && begin[endAt] == '\n' && endAt >= 1 && begin[endAt - 1] == '\r') {
        begin[endAt - 1] = '\n';
        --length;
    } else if (found) {
        begin[endAt] = '\n';
    }
    const char* lineFeed = found ? begin + endAt : nullptr;
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

bool ReadNumericFields(const TextLineReader& reader, const std::vector<int>& fieldNumbers, std::vector<double>& record) {
    for (int k : fieldNumbers) {
        const char* field = reader.Field(k);
        if (nonNumericTable.Holds(field, field + reader.Length(k))) return false;
    }
    std::size_t i = 0;
    for (int k : fieldNumbers) {
        const double value = RecordText::TextToValue(reader.Field(k));
        if (!std::isfinite(value)) return false;
        record[i++] = value;
    }
    return true;
}
