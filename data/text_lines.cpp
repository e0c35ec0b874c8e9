#include "data/text_lines.h"

#include <cmath>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "data/fast_number.h"
#include "data/import_routines.h"
#include "data/record_text.h"

namespace {

constexpr int kSeparatorLimit = 199;
constexpr unsigned char kSeparator = 1;
constexpr unsigned char kNonNumeric = 2;
// Bytes kept after the room the file is read into, so sixteen bytes can be read at any
// byte of a line in the block.
constexpr std::size_t kPadding = 16;

// The bytes numbers are written with: digits, point, signs and the exponent letters.
constexpr char kNumberBytes[] = "0123456789.+-eE";

#ifdef __SSE2__
// Bit j set when byte j of the 16 at p is none of kNumberBytes.
inline unsigned OtherThanNumberBytes(const unsigned char* p) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(_mm_max_epu8(x, _mm_set1_epi8('0')), _mm_set1_epi8('9')), x);
    __m128i number = _mm_or_si128(digit, _mm_cmpeq_epi8(x, _mm_set1_epi8('.')));
    number = _mm_or_si128(number, _mm_cmpeq_epi8(x, _mm_set1_epi8('+')));
    number = _mm_or_si128(number, _mm_cmpeq_epi8(x, _mm_set1_epi8('-')));
    number = _mm_or_si128(number, _mm_cmpeq_epi8(x, _mm_set1_epi8('e')));
    number = _mm_or_si128(number, _mm_cmpeq_epi8(x, _mm_set1_epi8('E')));
    return ~static_cast<unsigned>(_mm_movemask_epi8(number)) & 0xFFFFu;
}
#endif

}  // namespace

TextLineReader::TextLineReader(std::FILE* file, const char* separators, std::size_t blockSize,
                               std::size_t maxLineBytes)
    : file_(file), block_((blockSize < 1 ? 1 : blockSize) + kPadding), maxLine_(maxLineBytes < 1 ? 1 : maxLineBytes) {
    for (int c = 0; c < 256; ++c)
        if (nonNumericTable.Holds(static_cast<unsigned char>(c))) kind_[static_cast<std::size_t>(c)] = kNonNumeric;
    // A separator never belongs to a field, so it needs no non-numeric bit.
    for (int i = 0; i < kSeparatorLimit && separators[i] != '\0'; ++i)
        kind_[static_cast<unsigned char>(separators[i])] = kSeparator;
    plainFieldBytes_ = true;
    for (const char* p = kNumberBytes; *p != '\0'; ++p)
        if (kind_[static_cast<unsigned char>(*p)] != 0) plainFieldBytes_ = false;
    starts_.resize(2);
    lengths_.resize(2);
    nonNumeric_.resize(2);
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
    if (filled_ + 1 + kPadding >= block_.size()) block_.resize(block_.size() * 2 + 2);
    const std::size_t read = std::fread(block_.data() + filled_, 1, block_.size() - kPadding - filled_ - 1, file_);
    filled_ += read;
    if (read == 0) atEnd_ = true;
    return read > 0;
}

void TextLineReader::SkipRestOfLine() {
    while (true) {
        const char* begin = block_.data() + position_;
        const std::size_t available = filled_ - position_;
        const void* lf = std::memchr(begin, '\n', available);
        const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : available;
        if (const void* cr = std::memchr(begin, '\r', lfAt)) {
            const std::size_t crAt = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
            position_ += crAt + 1;
            // A CR as the last byte read may be the first half of a CR LF.
            if (position_ == filled_ && !Fill()) return;
            if (block_[position_] == '\n') ++position_;
            return;
        }
        if (lf != nullptr) {
            position_ += lfAt + 1;
            return;
        }
        position_ = filled_;
        if (!Fill()) return;
    }
}

int TextLineReader::Next() {
    if (cut_) SkipRestOfLine();
    cut_ = false;
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
        // Bytes past the limit hold no line end: the line is handed out cut, its first
        // bytes in place (the byte after them is no line end, so it may take the NUL).
        if (searched > maxLine_) {
            cut_ = true;
            break;
        }
        if (!Fill()) {
            if (position_ == filled_) return 0;
            if (searched < filled_ - position_) continue;  // the last byte is a CR: a line end
            break;
        }
    }
    char* begin = block_.data() + position_;
    if (found) {
        // A line end already in the block does not make a long line whole.
        const bool crlf = begin[endAt] == '\n' && endAt >= 1 && begin[endAt - 1] == '\r';
        if ((crlf ? endAt - 1 : endAt) > maxLine_) {
            found = false;
            cut_ = true;
        }
    }
    const std::size_t taken = found ? endAt + 1 : cut_ ? maxLine_ : filled_ - position_;
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
    if (length == taken && lineFeed != nullptr && kind_[static_cast<unsigned char>('\n')] != kSeparator) {
        line_.assign(begin, length);
        text_ = line_.data();
    }

    char* text = text_;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* kind = kind_.data();
    const bool padded = text_ != line_.data();
    int count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < length && kind[bytes[i]] == kSeparator) ++i;
        if (i >= length) break;
        const std::size_t start = i;
        unsigned char seen = 0;
        bool stopped = false;  // at a byte that may separate
#ifdef __SSE2__
        // Number bytes skipped sixteen at a time, up to the first other byte or the end of
        // the text; in the block, the padding lets the last step read past the text.
        while (plainFieldBytes_ && i < length && (padded || i + 16 <= length)) {
            unsigned mask = OtherThanNumberBytes(bytes + i);
            if (length - i < 16) mask |= ~0u << (length - i);
            if (mask == 0) {
                i += 16;
                continue;
            }
            i += static_cast<std::size_t>(__builtin_ctz(mask));
            stopped = true;
            break;
        }
#endif
        // Eight bytes at a time while none of them separates, with a single branch.
        while (!stopped && i + 8 <= length) {
            const unsigned char* b = bytes + i;
            const unsigned char all = static_cast<unsigned char>(kind[b[0]] | kind[b[1]] | kind[b[2]] | kind[b[3]] |
                                                                 kind[b[4]] | kind[b[5]] | kind[b[6]] | kind[b[7]]);
            if ((all & kSeparator) != 0) break;
            seen |= all;
            i += 8;
        }
        for (; i < length; ++i) {
            const unsigned char k = kind[bytes[i]];
            if (k == kSeparator) break;
            seen |= k;
        }
        ++count;
        if (starts_.size() <= static_cast<std::size_t>(count)) {
            starts_.resize(static_cast<std::size_t>(count) * 2);
            lengths_.resize(static_cast<std::size_t>(count) * 2);
            nonNumeric_.resize(static_cast<std::size_t>(count) * 2);
        }
        starts_[static_cast<std::size_t>(count)] = start;
        lengths_[static_cast<std::size_t>(count)] = i - start;
        nonNumeric_[static_cast<std::size_t>(count)] = seen;
        text[i++] = '\0';  // a separator, or the byte after the text
    }
    if (count == 0) {
        // Only separators (or nothing) before the end of the line: one empty field.
        count = 1;
        text[0] = '\0';
        starts_[1] = 0;
        lengths_[1] = 0;
        nonNumeric_[1] = 0;
    }
    return count;
}

bool ReadNumericFields(const TextLineReader& reader, const std::vector<int>& fieldNumbers, std::vector<double>& record) {
    // One pass: a line refused by any field is refused whatever the others hold.
    std::size_t i = 0;
    for (int k : fieldNumbers) {
        if (reader.NonNumeric(k)) return false;
        const char* field = reader.Field(k);
        // Most fields are one plain number: read at once, as TextToValue would read it.
        double value;
        if (!ReadWholeDecimal(field, field + reader.Length(k), &value)) value = RecordText::TextToValue(field);
        if (!std::isfinite(value)) return false;
        record[i++] = value;
    }
    return true;
}

// Read in one block: the line ends within the first kMaxLineBytes or is cut there.
bool ReadFirstLine(std::FILE* file, std::string& line, bool& cut) {
    constexpr std::size_t kLimit = TextLineReader::kMaxLineBytes;
    line.resize(kLimit + 1);
    const std::size_t read = std::fread(line.data(), 1, kLimit + 1, file);
    const void* lf = std::memchr(line.data(), '\n', read);
    const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - line.data()) : read;
    const void* cr = std::memchr(line.data(), '\r', lfAt);
    std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - line.data()) : lfAt;
    cut = end > kLimit;
    if (cut) {
        end = kLimit;
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    }
    line.resize(end);
    line.shrink_to_fit();
    return read > 0;
}
