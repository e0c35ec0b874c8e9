#include "documents/screen_record.h"

#include <cstdio>

#include "data/file_routines.h"
#include "platform/format.h"

std::string PictureRecordPath(const std::string& picturePath) {
    const std::size_t slash = picturePath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = picturePath.find_last_of('.');
    // A dot that opens the name (a hidden file) is no extension.
    if (dot == std::string::npos || dot <= nameStart) return picturePath + ".txt";
    return picturePath.substr(0, dot) + ".txt";
}

std::string PictureRecordBlock(const platform::LocalTime& t) {
    std::string block(109, '_');
    block += "\n";
    block += std::string(109, '_') + "\n";
    block += platform::Format("Time of record: %2.d:/%2.d/%d %2.d:%2.d", t.month, t.day, t.year, t.hour, t.minute);
    block += "\n";
    block += std::string(110, '_') + "\n";
    return block;
}

bool AppendPictureRecord(const std::string& recordPath, const platform::LocalTime& t) {
    long offset = 0;
    std::FILE* f = OpenFileRetryAt(recordPath, offset, "ab", 10, 20);
    if (!f) return false;
    const std::string block = PictureRecordBlock(t);
    const bool written = std::fwrite(block.data(), 1, block.size(), f) == block.size();
    return std::fclose(f) == 0 && written;
}
