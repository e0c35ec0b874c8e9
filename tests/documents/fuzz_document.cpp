// libFuzzer target: any bytes through the document file reader, and what it accepts through
// the document model's checks into a staging copy. The same bytes are also read as a file
// (through the reader's window of the file), which must give what the memory read gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "documents/cdf_file.h"
#include "documents/document_model.h"

namespace {

// A file in memory that holds the input, named by a path the reader opens.
const std::string& FileOf(const std::uint8_t* bytes, std::size_t size) {
    static const int fd = memfd_create("fuzz_document", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (ftruncate(fd, 0) != 0 || (size && pwrite(fd, bytes, size, 0) != static_cast<ssize_t>(size))) __builtin_trap();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    cdfFile file;
    const int inMemory = file.LoadFromMemory(bytes, size);
    cdfFile fromFile;
    if (fromFile.Load(FileOf(bytes, size)) != inMemory || fromFile.error != file.error ||
        fromFile.byteData != file.byteData || fromFile.doubleData.size() != file.doubleData.size() ||
        fromFile.shortData != file.shortData || fromFile.intData != file.intData)
        __builtin_trap();
    if (!inMemory) return 0;
    DocumentSettings staging;
    DocumentData data;
    DocumentReadNotes notes;
    ReadDocumentModel(file, staging, data, notes);
    return 0;
}
