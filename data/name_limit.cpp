#include "data/name_limit.h"

bool LimitNameLength(std::string& name) {
    if (name.size() <= kMaxNameBytes) return false;
    std::size_t end = kMaxNameBytes;
    // Step back over continuation bytes so that the last character stays whole.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
    return true;
}
