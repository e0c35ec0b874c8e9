// libFuzzer target: any file must be read by the text-file reader without a crash, a hang
// or undefined behaviour, line for line as the shared line reader reads it, and the import's
// rule for a record must hold: every value finite, every field free of the non-numeric set.
// The first byte chooses the typed separators and the field selection.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/import_routines.h"
#include "data/record_text.h"
#include "data/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char* const kSeparators[] = {"\t\n ", "\t\n,", "\t\n;", "\t\n", "\t\n \r"};
    const unsigned choice = data[0];
    const char* separators = kSeparators[choice % 5];
    const std::size_t blockSize = choice & 0x80 ? TextLineReader::kDefaultBlockSize : 1 + (choice >> 3) % 16;
    const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::FILE* a = fmemopen(const_cast<char*>(content.data()), content.size(), "r");
    std::FILE* b = fmemopen(const_cast<char*>(content.data()), content.size(), "r");
    if (content.empty()) {
        a = std::tmpfile();
        b = std::tmpfile();
    }
    TextLineReader reader(b, separators, blockSize);
    std::vector<std::string> fields;
    std::vector<int> selected{1, 2 + static_cast<int>(choice % 3)};
    std::vector<double> record(selected.size());
    long long records = 0, skipped = 0;
    while (true) {
        const int expected = ReadLineFields(a, separators, fields);
        const int count = reader.Next();
        if (count != expected)
            std::abort();
        if (count == 0)
            break;
        if (reader.Position() != std::ftell(a))
            std::abort();
        for (int k = 1; k <= count; ++k)
            if (std::string(reader.Field(k), reader.Length(k)) != fields[static_cast<std::size_t>(k)])
                std::abort();
        if (reader.Length(1) == 0)
            continue;
        if (selected.back() > count) {
            ++skipped;
            continue;
        }
        if (!ReadNumericFields(reader, selected, record)) {
            ++skipped;
            continue;
        }
        for (std::size_t i = 0; i < record.size(); ++i) {
            const char* field = reader.Field(selected[i]);
            if (!std::isfinite(record[i]) || nonNumericTable.Holds(field, field + reader.Length(selected[i])))
                std::abort();
        }
        ++records;
    }
    if (reader.Next() != 0 || records < 0 || skipped < 0)
        std::abort();
    std::fclose(a);
    std::fclose(b);
    return 0;
}
