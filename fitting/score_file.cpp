#include "fitting/score_file.h"

#include "fitting/scoring_rules.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

std::string ScoreFileName(const std::string& taskFile, int percent)
{
    const std::size_t slash = taskFile.find_last_of("/\\");
    const std::size_t dot = taskFile.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? taskFile.substr(0, dot) : taskFile) + std::to_string(percent) + ".txt";
}

namespace {

// Reports the pass each time the position passes the next step.
class ProgressSteps {
public:
    ProgressSteps(const ScoreFileProgress& progress, const char* pass, std::int64_t length)
        : progress_(progress), pass_(pass), length_(length), step_(length > 100000 ? length / 20 : 5000)
    {
        if (progress_)
            progress_(pass_, 0, length_);
    }
    void At(std::int64_t position)
    {
        if (!progress_ || position < next_)
            return;
        progress_(pass_, position, length_);
        next_ = (position / step_ + 1) * step_;
    }

private:
    const ScoreFileProgress& progress_;
    const char* pass_;
    std::int64_t length_, step_, next_ = 0;
};

// Reads the task file in blocks and hands out its lines one character at a time, so that no
// line is ever held whole. A line ends at LF, CR LF or a lone CR.
class TaskReader {
public:
    explicit TaskReader(std::FILE* file) : file_(file) {}
    // The next character of the current line; false at the line's end (or the file's end,
    // see AtEnd).
    bool Next(char& c)
    {
        if (lineEnded_)
            return false;
        int k = Get();
        if (k == EOF) {
            lineEnded_ = true;
            atEnd_ = true;
            return false;
        }
        if (k == '\r') {
            const int after = Get();
            if (after != '\n' && after != EOF)
                --at_;  // the next line's first character
            lineEnded_ = true;
            return false;
        }
        if (k == '\n') {
            lineEnded_ = true;
            return false;
        }
        c = static_cast<char>(k);
        return true;
    }
    // Skips what is left of the line; true when a line was there to take (not the empty
    // remainder after the last line end).
    bool FinishLine()
    {
        char c;
        while (Next(c)) {
        }
        const bool had = !(atEnd_ && lineLength_ == 0);
        lineEnded_ = false;
        lineLength_ = 0;
        return had;
    }
    bool AtEnd() const { return atEnd_; }
    std::int64_t Position() const { return consumed_ - static_cast<std::int64_t>(size_ - at_); }

private:
    int Get()
    {
        if (at_ >= size_) {
            size_ = std::fread(buffer_, 1, sizeof buffer_, file_);
            at_ = 0;
            consumed_ += static_cast<std::int64_t>(size_);
            if (size_ == 0)
                return EOF;
        }
        ++lineLength_;
        return static_cast<unsigned char>(buffer_[at_++]);
    }
    std::FILE* file_;
    char buffer_[1 << 16];
    std::size_t size_ = 0, at_ = 0;
    std::int64_t consumed_ = 0;
    std::int64_t lineLength_ = 0;
    bool lineEnded_ = false, atEnd_ = false;
};

bool NumberSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';'; }

// No number is longer than this; a longer run of characters is not a number of the task.
constexpr std::size_t kLongestNumber = 4096;

// The value strtod gives the piece. A plain decimal is read by from_chars, which rounds
// alike and is several times faster; anything else (a sign '+', hex, blanks, a value out of
// range) goes to strtod itself.
double PieceValue(const char* piece, std::size_t length)
{
    const char first = piece[0] == '-' && length > 1 ? piece[1] : piece[0];
    const bool plain = (first >= '0' && first <= '9') || first == '.';
    const bool hex = length > 1 && (piece[1] == 'x' || piece[1] == 'X' || (length > 2 && (piece[2] == 'x' || piece[2] == 'X')));
    if (plain && !hex) {
        double value;
        const auto [end, error] = std::from_chars(piece, piece + length, value);
        if (error == std::errc())
            return value;
    }
    return std::strtod(piece, nullptr);
}

enum class LineKind { Numbers, NotNumeric, TooManyNumbers };

// Reads one line's numbers, keeping at most `numberLimit` of them.
LineKind ReadNumbers(TaskReader& reader, std::vector<double>& values, std::size_t numberLimit)
{
    values.clear();
    char piece[kLongestNumber + 1];
    std::size_t length = 0;
    LineKind kind = LineKind::Numbers;
    const auto take = [&] {
        if (length == 0 || kind != LineKind::Numbers)
            return;
        if (values.size() >= numberLimit) {
            kind = LineKind::TooManyNumbers;
        } else {
            piece[length] = '\0';
            values.push_back(PieceValue(piece, length));
        }
        length = 0;
    };
    char c;
    while (reader.Next(c)) {
        if (kind == LineKind::TooManyNumbers)
            return kind;  // the rest of the line is never read
        if (kind != LineKind::Numbers)
            continue;
        if (c == '\0' || (!NumberSeparator(c) && length >= kLongestNumber)) {
            // As in the text import: such a line is not a record of numbers.
            kind = LineKind::NotNumeric;
        } else if (NumberSeparator(c)) {
            take();
        } else {
            piece[length++] = c;
        }
    }
    take();
    return kind;
}

// Reads one line's numbers and, when they are a record the rules can score, its score:
// LineKind::Numbers only then.
LineKind ScoreLine(TaskReader& reader, const std::vector<scoreAction>& rules, double scoreMinimum,
                   double scoreMaximum, std::vector<double>& values, std::size_t numberLimit, double& score)
{
    LineKind kind = ReadNumbers(reader, values, numberLimit);
    if (kind == LineKind::Numbers && !CoversScoringRules(rules, values))
        kind = LineKind::NotNumeric;
    if (kind == LineKind::Numbers)
        score = ScoreOfValues(rules, values, scoreMinimum, scoreMaximum);
    return kind;
}

// Closes the output; false when anything written did not reach it.
bool CloseOutput(std::FILE* out)
{
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    return std::fclose(out) == 0 && written;
}

}  // namespace

ScoreFileStatus WriteScoreFile(const std::string& taskFile, const std::vector<scoreAction>& rules, double scoreMinimum,
                               double scoreMaximum, int percent, int numberLimit, int& skippedLines,
                               const ScoreFileProgress& progress)
{
    skippedLines = 0;
    std::FILE* in = std::fopen(taskFile.c_str(), "rb");
    if (!in)
        return kScoreFileNoTask;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closeTask(in, &std::fclose);
    const std::string outputFile = ScoreFileName(taskFile, percent);
    std::error_code error;
    if (outputFile == taskFile || std::filesystem::equivalent(outputFile, taskFile, error))
        return kScoreFileIsTask;
    const std::uintmax_t size = std::filesystem::file_size(taskFile, error);
    const std::int64_t length = error ? 0 : static_cast<std::int64_t>(size);
    const std::size_t limit = static_cast<std::size_t>(std::max(numberLimit, 0));
    ProgressSteps reading(progress, "Reading marketing file", length);
    // Only the counts are kept: the second pass scores every line again, so that a file of
    // any number of lines costs no memory for them.
    std::int64_t lines = 0, scored = 0, skipped = 0;
    int counts[101] = {};  // counts[s]: lines scoring s or more (scores held to 0 .. 100)
    std::vector<double> values;
    TaskReader reader(in);
    while (!reader.AtEnd()) {
        double score = 0;
        const LineKind kind = ScoreLine(reader, rules, scoreMinimum, scoreMaximum, values, limit, score);
        if (kind == LineKind::TooManyNumbers)
            return kScoreFileTooManyNumbers;
        if (!reader.FinishLine())
            break;
        ++lines;
        if (kind != LineKind::Numbers) {
            ++skipped;
        } else {
            ++scored;
            const int top = std::clamp(ScoreAsInt(score), 0, 100);
            for (int s = 0; s <= top; ++s)
                ++counts[s];
        }
        reading.At(reader.Position());
    }
    skippedLines = static_cast<int>(std::min<std::int64_t>(skipped, INT_MAX));
    // The threshold: the lowest score whose share of lines scoring above it falls below
    // the percentage; every line qualifies at 100 % and more.
    double threshold = -1e40;
    if (percent < 100) {
        threshold = 100;
        const double lineCount = static_cast<double>(std::max<std::int64_t>(scored, 1));
        for (int s = 0; s <= 100; ++s) {
            const double p = std::trunc(counts[s] / lineCount * 100.0);
            if (p <= 0) {
                threshold = s - 1;
                break;
            }
            if (p < percent) {
                threshold = s;
                break;
            }
        }
    }
    std::rewind(in);
    // The second pass reads each line twice: once ahead for its score, once to copy it
    // out, so that no line is held whole.
    std::FILE* copyIn = std::fopen(taskFile.c_str(), "rb");
    if (!copyIn)
        return kScoreFileNoTask;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closeCopy(copyIn, &std::fclose);
    std::FILE* out = std::fopen(outputFile.c_str(), "wb");
    if (!out)
        return kScoreFileNoOutput;
    ProgressSteps writing(progress, "Writing score file", length);
    TaskReader ahead(in);
    TaskReader again(copyIn);
    std::int64_t written = 0;
    for (std::int64_t line = 0; line < lines && !again.AtEnd(); ++line) {
        double score = 0;
        const bool write = ScoreLine(ahead, rules, scoreMinimum, scoreMaximum, values, limit, score) ==
                               LineKind::Numbers && score > threshold;
        ahead.FinishLine();
        char c;
        while (again.Next(c)) {
            if (write)
                std::fputc(c, out);
        }
        again.FinishLine();
        if (write) {
            std::fprintf(out, "   %d\n", ScoreAsInt(score));
            ++written;
        }
        writing.At(again.Position());
    }
    if (!CloseOutput(out)) {
        // A full disk or a lost device: no half file stays under the output's name.
        std::filesystem::remove(outputFile, error);
        return kScoreFileNotWritten;
    }
    if (written == 0)
        return scored == 0 ? kScoreFileNothingScored : kScoreFileNoneAboveThreshold;
    return kScoreFileWritten;
}
