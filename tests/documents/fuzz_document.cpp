// libFuzzer target: any bytes through the document file reader, and what it accepts through
// the document model's checks into a staging copy.
#include <cstddef>
#include <cstdint>

#include "documents/cdf_file.h"
#include "documents/document_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    cdfFile file;
    if (!file.LoadFromMemory(bytes, size)) return 0;
    DocumentSettings staging;
    DocumentData data;
    DocumentReadNotes notes;
    ReadDocumentModel(file, staging, data, notes);
    return 0;
}
