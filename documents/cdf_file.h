#pragma once
// The document file: an in-memory model of one NetCDF classic file (magic "CDF" and the byte
// 1, 32-bit offsets, big-endian values). The document code fills the model and saves it, or
// loads a file and reads the model. Values are converted in bulk with byte swapping.
//
// Saving writes a temporary file beside the target and renames it over the target, so a
// failed save leaves the old document as it was; a link to a document is written through.
// Loading checks every count, type, dimension id, size and offset against the file before it
// reserves anything and stops at the first fault with a message.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// One version of a file on disk, as a save compares it with the version a window read or
// wrote: another program's (or window's) newer document is never replaced unasked.
struct FileStamp {
    std::string path;  // as given; links are followed
    bool exists = false;
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
    static FileStamp Of(const std::string& path);
};

class cdfFile {
public:
    enum Type : std::int32_t { kByte = 1, kChar = 2, kShort = 3, kInt = 4, kFloat = 5, kDouble = 6 };

    struct dimension {
        std::int32_t nameIndex = 0;  // into names
        std::uint32_t length = 0;    // 0 marks the record dimension (numrecs after reading)
    };
    struct attribute {
        std::int32_t nameIndex = 0;
        std::int32_t type = kInt;
        std::uint32_t count = 0;       // values; for char the text length in bytes
        std::uint32_t position = 0;    // file offset of the values (set by the reader)
        std::uint32_t firstValue = 0;  // index into the value list of its type (char: into texts)
    };
    struct variable {
        std::int32_t nameIndex = 0;
        std::int32_t type = kDouble;
        std::uint64_t valuesPerRecord = 0;  // after reading: all values of the variable
        std::uint32_t begin = 0;            // file offset of the data
        std::uint32_t vsize = 0;            // bytes (of one record for a record variable)
        std::uint32_t dimensionCount = 0;
        std::uint32_t firstDimension = 0;   // into dimensionIds
        std::uint32_t attributeCount = 0;
        std::uint32_t firstAttribute = 0;   // into attributes
        std::uint64_t firstValue = 0;       // into the data list of its type
        std::uint64_t totalValues = 0;
    };

    std::string fileName;
    std::uint64_t fileSize = 0;
    int hasRecordData = 0;
    std::uint64_t recordSize = 0;
    std::uint32_t numrecs = 0;
    std::uint32_t globalAttributeCount = 0;  // the first attributes are the global ones
    std::uint64_t headerSize = 0;

    std::vector<std::string> names;
    std::vector<std::int32_t> dimensionIds;
    std::vector<dimension> dimensions;
    std::vector<attribute> attributes;
    std::vector<variable> variables;

    // Attribute values, one list per type (byte values are signed, as the format has them).
    std::vector<std::int8_t> byteValues;
    std::vector<std::string> texts;
    std::vector<std::int16_t> shortValues;
    std::vector<std::int32_t> intValues;
    std::vector<float> floatValues;
    std::vector<double> doubleValues;

    // Variable data, one list per type (byte and char variables share the byte list).
    std::vector<std::int8_t> byteData;
    std::vector<std::int16_t> shortData;
    std::vector<std::int32_t> intData;
    std::vector<float> floatData;
    std::vector<double> doubleData;
    // When set, the writer takes the double data from here instead of doubleData (so a large
    // array is written without a copy).
    std::span<const double> doubleSource;

    // The first fault of the last Save or Load, empty after success.
    std::string error;
    // Told the stage and fraction while a file is read (the caller keeps its window alive).
    std::function<void(const std::string& text, double fraction)> progress;

    // Writes the model to path (temporary file beside it, then renamed over it; through a
    // link, beside the file it points to). True on success, written then tells the file as
    // it was left; on failure the old file is kept and error says why. A successful save
    // removes what earlier saves of the same document left when they were killed.
    bool Save(const std::string& path);
    FileStamp written;
    // The caption of the message box that shows error: the two failures to open a document
    // file have one of their own, the others the application's (empty).
    static std::string CaptionFor(const std::string& error);
    // Reads the file into the model (every list emptied first). 1 on success, else 0 with
    // error set and the model empty. Anything but a plain file (a folder, a pipe, a device)
    // is refused; a file cut short while it is read ends the read with error set.
    int Load(const std::string& path);
    // The same for a file already in memory (the fuzz target reads through it).
    int LoadFromMemory(const unsigned char* bytes, std::size_t size);

    void Clear();
    // Appending helpers for the writer's side; each returns the new record's index.
    std::int32_t AddName(const std::string& name);
    std::size_t AddTextAttribute(const std::string& name, const std::string& text);
    std::size_t AddAttribute(const std::string& name, Type type, const std::vector<double>& values);
    std::size_t AddDimension(const std::string& name, std::uint32_t length);

    // Size in bytes of one value of the type, 0 for an unknown type.
    static std::uint32_t TypeSize(std::int32_t type);
    // n values of the type, padded to a multiple of 4.
    static std::uint64_t PaddedSize(std::int32_t type, std::uint64_t n);
    // Header bytes of the model as the writer lays it out.
    std::uint64_t ComputeLayout() const;
    // The whole header as the writer writes it (begin offsets filled in).
    std::vector<unsigned char> HeaderBytes();

    const std::string& NameOf(std::int32_t index) const;

    // Where Load and LoadFromMemory take the bytes from.
    struct Source;

private:
    void Report(const char* text, double fraction);
    int LoadFrom(Source& source);
};
