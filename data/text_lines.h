#pragma once
// Reading a text file line by line, each line cut into fields, fast: the file is read in
// large blocks and the fields are handed out in place. Lines and fields are exactly those
// of ReadLineFields (record_text.h) up to kMaxLineBytes: a line ends at a line feed, a CR
// LF or a lone CR, each standing in its text as one line feed; a NUL stays in its field; any
// of the first 199 separator characters cuts, runs of them count as one and no field is
// ever empty. A longer line is handed out cut (Cut()): only its first kMaxLineBytes bytes,
// the rest of it passed over unkept, so that memory never follows the file's size.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

class TextLineReader {
public:
    static constexpr std::size_t kDefaultBlockSize = 1 << 20;
    // Far more than the widest line of records the import takes (its fields' count is
    // limited), far less than a file without a line end.
    static constexpr std::size_t kMaxLineBytes = 1 << 20;
    // blockSize: bytes read at a time (the block grows for longer lines, up to maxLineBytes).
    TextLineReader(std::FILE* file, const char* separators, std::size_t blockSize = kDefaultBlockSize,
                   std::size_t maxLineBytes = kMaxLineBytes);

    // The next line: its number of fields, 1 for a line without a field (field 1 is then
    // ""), 0 at the end of the file.
    int Next();
    // Field k of the line, 1 <= k <= count, as a NUL-terminated text and its length (a
    // NUL of the file itself shows as a length beyond the C string).
    const char* Field(int k) const { return text_ + starts_[static_cast<std::size_t>(k)]; }
    std::size_t Length(int k) const { return lengths_[static_cast<std::size_t>(k)]; }
    // Whether field k holds a character of the import's non-numeric set or a NUL (as
    // NonNumericTable::Holds), found while the line was cut.
    bool NonNumeric(int k) const { return nonNumeric_[static_cast<std::size_t>(k)] != 0; }
    // Bytes of the file read as lines so far (the position ftell would give).
    long long Position() const { return blockOffset_ + static_cast<long long>(position_); }
    // False when the line just read is the file's last one and has no line end: it may be
    // still being written.
    bool LineEnded() const { return lineEnded_; }
    // True when the line was longer than the reader keeps: its fields are those of its first
    // bytes, the last of them perhaps cut short (every earlier one is whole).
    bool Cut() const { return cut_; }

private:
    bool Fill();
    // Passes over the rest of a cut line, its line end included, without keeping it.
    void SkipRestOfLine();

    std::FILE* file_;
    // Per byte: kSeparator and kNonNumeric bits, so one pass both cuts and classifies.
    std::array<unsigned char, 256> kind_{};
    bool plainFieldBytes_ = true;  // no number byte (digit, point, sign, e) separates
    std::vector<char> block_;
    std::size_t position_ = 0;  // next unread byte of block_
    std::size_t filled_ = 0;    // bytes of block_ holding file data
    long long blockOffset_ = 0; // file position of block_[0]
    bool atEnd_ = false;
    bool lineEnded_ = false;
    std::size_t maxLine_;
    bool cut_ = false;
    std::string line_;        // a copy of the line when it cannot be cut in place
    char* text_ = nullptr;    // the line being handed out
    std::vector<std::size_t> starts_;
    std::vector<std::size_t> lengths_;
    std::vector<unsigned char> nonNumeric_;
};

// The fields fieldNumbers (1-based, each within the line) of the line the reader holds, as
// numbers into record: false when one holds a non-numeric character or a NUL, or reads as a
// value that is not finite (1e400), which makes the line non-numeric.
bool ReadNumericFields(const TextLineReader& reader, const std::vector<int>& fieldNumbers, std::vector<double>& record);

// The file's first line without its line end (LF, CR LF or a lone CR, as the line reader
// takes them), at most TextLineReader::kMaxLineBytes of it: a file without a line end may
// hold gigabytes. cut tells that the line goes on; it is then cut at a character boundary.
// False for a file with no line.
bool ReadFirstLine(std::FILE* file, std::string& line, bool& cut);
