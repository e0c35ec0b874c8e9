#include "formula/split_fields.h"

int SplitFields(const std::string& text, const std::string& separators, std::vector<std::string>& fields) {
    fields.clear();
    if (separators.empty()) return 0;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const std::string::size_type cut = text.find_first_of(separators, start);
        if (cut == std::string::npos) {
            fields.push_back(text.substr(start));
            break;
        }
        if (cut > start) fields.push_back(text.substr(start, cut - start));
        start = cut + 1;
    }
    return static_cast<int>(fields.size());
}
