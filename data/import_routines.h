#pragma once
// Steps the import commands share: the folder of a chosen file, default names, the
// non-numeric test, the growth of the value buffer and the hand-over of the finished series.
#include <cstdint>
#include <string>
#include <vector>

#include "data/record_text.h"
#include "data/series.h"
#include "platform/access_values.h"

class data;

// The name of parameter j of a series read without a header line: "a0", "a1", ...
std::string DefaultParameterName(int j);

// The message of an import that had to cut names to the name limit (LimitNameLength).
std::string NamesCutText();

// The part of a path before its last slash (or backslash); "" when there is none.
std::string FolderOfPath(const std::string& path);

// Whether a field holds a character of the import's non-numeric set (as IsNonNumericField,
// by table) or a NUL, which a C string would silently end the field at.
class NonNumericTable {
public:
    constexpr NonNumericTable() : table_() {
        for (const char* p = nonNumericCharacters; *p != '\0'; ++p) table_[static_cast<unsigned char>(*p)] = true;
        table_[0] = true;
    }
    bool Holds(const char* begin, const char* end) const {
        for (; begin != end; ++begin)
            if (table_[static_cast<unsigned char>(*begin)]) return true;
        return false;
    }
    bool Holds(const std::string& field) const { return Holds(field.data(), field.data() + field.size()); }
    bool Holds(unsigned char c) const { return table_[c]; }

private:
    bool table_[256];
};
inline constexpr NonNumericTable nonNumericTable{};

// The values of one import, grown in blocks of 10000 ahead of need.
class ImportBuffer {
public:
    static constexpr std::size_t kBlock = 10000;
    ImportBuffer() { values_.resize(kBlock); }
    void Append(double value) {
        if (count_ + 10 > values_.size()) values_.resize(values_.size() + kBlock);
        values_[count_++] = value;
    }
    std::size_t Count() const { return count_; }
    // Room for this many values in all, so that a good estimate saves every reallocation.
    void Reserve(std::size_t total) {
        if (total > values_.capacity()) values_.reserve(total);
    }
    // Cut to the values appended; the buffer is handed over.
    std::vector<double> Take();

private:
    std::vector<double> values_;
    std::size_t count_ = 0;
};

// The store's part of an import in progress: the change count and the series shape taken
// when the shape check passed. Other commands may run while an import reports progress;
// when one of them changed the store, the import is dropped.
struct ImportTicket {
    std::uint64_t stamp = 0;
    Series shape;
};
ImportTicket TakeImportTicket(const data& page);
bool StoreChangedSince(const data& page, const ImportTicket& ticket);

// Appends the values of recordCount records after the values of the existing series and
// adds the series (data::AddNewSeries). Returns 0, adding nothing, when the store changed
// since the ticket was taken or the store refuses the series.
int AddImportedSeries(data& page, const ImportTicket& ticket, ImportBuffer& buffer, int recordCount,
                      const std::vector<std::string>& names);

// A file position or size as the progress report's 32-bit current and total.
void ProgressFraction(long long current, long long total, int& currentOut, int& totalOut);

// The number a database field's value gives: a text field as the import reads text (trailing
// spaces dropped; false when empty or non-numeric), a single, double, long or integer field
// from its stored binary form (a single as the double of its shortest decimal text). False
// for a null value, another type or a value that is not finite.
bool DatabaseFieldNumber(platform::AccessFieldType type, const platform::AccessValue& value, double& out);
