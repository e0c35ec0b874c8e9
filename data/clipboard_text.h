#pragma once
// Walking clipboard text: rows end at line feeds and hold fields separated by tabs. The
// text is walked by position, never copied line by line.
#include <cstddef>
#include <string>
#include <vector>

class ClipboardLines {
public:
    explicit ClipboardLines(const std::string& text) : text_(text) {}
    // The next line that holds anything, without its line feed (a carriage return before
    // the line feed is no content: a line of nothing else is empty). Empty lines are
    // skipped; the last line counts without a line feed after it. False at the end.
    bool Next(const char*& begin, const char*& end);
    // Characters of the text passed so far, the last line's line feed included.
    std::size_t Consumed() const { return position_; }

private:
    const std::string& text_;
    std::size_t position_ = 0;
};

// Cuts a line into fields as the data sheet's paste does: the text before each tab that
// stands after at least one character is a field, and the rest after the last such tab is
// the last field; every field is trimmed of carriage returns, tabs and line feeds at both
// ends (so "1\t\t3" gives the fields 1 and 3).
void SplitClipboardLine(const char* begin, const char* end, std::vector<std::string>& fields);

// The same for a record: false as soon as a field holds a character of the import's
// non-numeric set or the line has more than maxFields fields (fields then holds the fields
// up to that point).
bool SplitNumericClipboardLine(const char* begin, const char* end, std::vector<std::string>& fields,
                               std::size_t maxFields);
