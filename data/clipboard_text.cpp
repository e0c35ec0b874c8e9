#include "data/clipboard_text.h"

#include <cstring>

#include "data/import_routines.h"

bool ClipboardLines::Next(const char*& begin, const char*& end) {
    const char* const data = text_.data();
    const std::size_t size = text_.size();
    while (position_ < size) {
        const char* start = data + position_;
        const void* lf = std::memchr(start, '\n', size - position_);
        const char* stop = lf ? static_cast<const char*>(lf) : data + size;
        position_ = static_cast<std::size_t>(stop - data) + (lf ? 1 : 0);
        const char* contentEnd = stop;
        if (contentEnd > start && contentEnd[-1] == '\r') --contentEnd;
        if (contentEnd == start) continue;
        begin = start;
        end = stop;
        return true;
    }
    return false;
}

namespace {

bool IsLineControl(char c) { return c == '\r' || c == '\t' || c == '\n'; }

// The next field of the non-empty text [p, end), and p moved to the rest.
void TakeField(const char*& p, const char* end, const char*& fieldBegin, const char*& fieldEnd) {
    const void* tab = std::memchr(p, '\t', static_cast<std::size_t>(end - p));
    fieldBegin = p;
    // A tab as the very first character separates nothing: the text is one field.
    if (tab != nullptr && tab != p) {
        fieldEnd = static_cast<const char*>(tab);
        p = fieldEnd + 1;
    } else {
        fieldEnd = end;
        p = end;
    }
    while (fieldBegin < fieldEnd && IsLineControl(*fieldBegin)) ++fieldBegin;
    while (fieldEnd > fieldBegin && IsLineControl(fieldEnd[-1])) --fieldEnd;
}

}  // namespace

void SplitClipboardLine(const char* begin, const char* end, std::vector<std::string>& fields) {
    fields.clear();
    const char* p = begin;
    while (p < end) {
        const char* b;
        const char* e;
        TakeField(p, end, b, e);
        fields.emplace_back(b, e);
    }
}

bool SplitNumericClipboardLine(const char* begin, const char* end, std::vector<std::string>& fields,
                               std::size_t maxFields) {
    std::size_t count = 0;
    const char* p = begin;
    while (p < end) {
        const char* b;
        const char* e;
        TakeField(p, end, b, e);
        if (nonNumericTable.Holds(b, e) || count == maxFields) {
            fields.resize(count);
            return false;
        }
        if (count < fields.size()) {
            fields[count].assign(b, e);
        } else {
            fields.emplace_back(b, e);
        }
        ++count;
    }
    fields.resize(count);
    return true;
}
