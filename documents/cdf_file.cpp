// Reading the document file. The whole header is checked against the file's size before any
// list is reserved, so a damaged or hostile file costs no more memory than its own size and
// ends with a message naming the first fault. The file is read with pread, never mapped: a
// file that another program cuts short while it is read gives a short read and a message,
// where a mapped page behind the new end would kill the program.
#include "documents/cdf_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "documents/cdf_bytes.h"

namespace {

constexpr std::uint32_t kTagDimension = 10, kTagVariable = 11, kTagAttribute = 12;
constexpr std::uint32_t kStreaming = 0xFFFFFFFFu;

struct Fault {
    std::string text;
};

}  // namespace

// Where the reader takes the bytes from: a buffer in memory, or an open file read through a
// window of kWindow bytes (large runs go from the file straight into their place).
struct cdfFile::Source {
    static constexpr std::uint64_t kWindow = 1 << 16;

    Source(const unsigned char* bytes, std::uint64_t size) : bytes(bytes), size(size) {}
    Source(int fd, std::uint64_t size) : fd(fd), size(size) {}

    // n bytes at offset (within size), valid until the next call.
    const unsigned char* View(std::uint64_t offset, std::uint64_t n) {
        if (fd < 0) return bytes + offset;
        if (offset < windowAt || offset + n > windowAt + windowHeld) {
            const std::uint64_t want = std::min(std::max(n, kWindow), size - offset);
            if (window.size() < want) window.resize(want);
            windowAt = offset;
            windowHeld = FromFile(offset, window.data(), want);
            if (windowHeld < n) throw ShortRead();
        }
        return window.data() + (offset - windowAt);
    }
    // n bytes at offset (within size) into to.
    void Read(std::uint64_t offset, void* to, std::uint64_t n) {
        if (fd >= 0 && n >= kWindow) {
            if (FromFile(offset, static_cast<unsigned char*>(to), n) < n) throw ShortRead();
        } else if (n) {
            std::memcpy(to, View(offset, n), n);
        }
    }

    const unsigned char* bytes = nullptr;
    int fd = -1;
    std::uint64_t size = 0;

private:
    static Fault ShortRead() { return Fault{"The file became shorter while it was read: another program changed it"}; }
    // Bytes read, fewer than n only at the file's end or on an error.
    std::uint64_t FromFile(std::uint64_t offset, unsigned char* to, std::uint64_t n) const {
        std::uint64_t got = 0;
        while (got < n) {
            const ssize_t r = ::pread(fd, to + got, n - got, static_cast<off_t>(offset + got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += static_cast<std::uint64_t>(r);
        }
        return got;
    }
    std::vector<unsigned char> window;
    std::uint64_t windowAt = 0, windowHeld = 0;
};

namespace {

// Reads the header; every read is checked against the end.
class Cursor {
public:
    explicit Cursor(cdfFile::Source& source) : source_(source) {}
    std::uint64_t pos = 0;
    std::uint64_t Left() const { return source_.size - pos; }
    std::uint32_t U32(const char* what) {
        std::uint32_t v;
        std::memcpy(&v, Bytes(4, what), 4);
        return cdfbytes::Big(v);
    }
    // Valid until the next read.
    const unsigned char* Bytes(std::uint64_t n, const char* what) {
        Need(n, what);
        const unsigned char* p = source_.View(pos, n);
        pos += n;
        return p;
    }
    void Pad(std::uint64_t n, const char* what) { Bytes((4 - n % 4) % 4, what); }
    std::string Name(const char* what) {
        const std::uint32_t n = U32(what);
        const unsigned char* p = Bytes(n, what);
        std::string name(reinterpret_cast<const char*>(p), n);
        Pad(n, what);
        return name;
    }
    void Need(std::uint64_t n, const char* what) const {
        if (n > Left()) throw Fault{std::string("The file ends inside ") + what};
    }

private:
    cdfFile::Source& source_;
};

// The list's tag and count: ABSENT (two zeros) gives 0; a count that cannot fit in the rest
// of the file, at minBytes per element, is a fault.
std::uint32_t ListCount(Cursor& c, std::uint32_t tag, std::uint64_t minBytes, const char* what) {
    const std::uint32_t t = c.U32(what);
    const std::uint32_t n = c.U32(what);
    if (t == 0 && n == 0) return 0;
    if (t != tag) throw Fault{std::string("Wrong tag of the ") + what};
    if (n > c.Left() / minBytes) throw Fault{std::string("Count of the ") + what + " is larger than the file"};
    return n;
}

// Products and sums of counts and sizes from the file, refused when they leave 64 bits: a
// wrapped count would pass every size check and then be reserved in full.
std::uint64_t Product(std::uint64_t a, std::uint64_t b, const std::string& what) {
    std::uint64_t r;
    if (__builtin_mul_overflow(a, b, &r)) throw Fault{what + " is larger than the file"};
    return r;
}
std::uint64_t Sum(std::uint64_t a, std::uint64_t b, const std::string& what) {
    std::uint64_t r;
    if (__builtin_add_overflow(a, b, &r)) throw Fault{what + " is larger than the file"};
    return r;
}

template <class U, class T>
void AppendFromBig(std::vector<T>& list, const unsigned char* p, std::uint64_t n) {
    const std::size_t at = list.size();
    list.resize(at + n);
    if (n) cdfbytes::FromBig<U>(p, list.data() + at, n);
}

// n values of size sizeof(U) at offset, appended to list.
template <class U, class T>
void ReadRun(cdfFile::Source& source, std::vector<T>& list, std::uint64_t offset, std::uint64_t n) {
    const std::size_t at = list.size();
    list.resize(at + n);
    if (!n) return;
    source.Read(offset, list.data() + at, n * sizeof(U));
    cdfbytes::FromBigInPlace<U>(list.data() + at, n);
}

// The values of a record variable, perRecord in each of records records recordSize bytes
// apart from begin on, appended to list. Records that lie within one window are read at once
// and picked out of it; report is told the offset every 1024 records.
template <class U, class T, class F>
void ReadRecords(cdfFile::Source& source, std::vector<T>& list, std::uint64_t begin, std::uint64_t recordSize,
                 std::uint64_t records, std::uint64_t perRecord, F report) {
    const std::size_t at = list.size();
    list.resize(at + records * perRecord);
    const std::uint64_t bytes = perRecord * sizeof(U);
    if (bytes == 0) return;
    T* out = list.data() + at;
    const std::uint64_t batch = bytes >= cdfFile::Source::kWindow ? 1 : (cdfFile::Source::kWindow - bytes) / recordSize + 1;
    for (std::uint64_t r = 0, nextReport = 0; r < records;) {
        const std::uint64_t k = std::min(batch, records - r), offset = begin + r * recordSize;
        if (r >= nextReport) report(offset), nextReport = r + 1024;
        if (k == 1) {
            source.Read(offset, out, bytes);
            cdfbytes::FromBigInPlace<U>(out, perRecord);
            out += perRecord;
        } else {
            const unsigned char* p = source.View(offset, (k - 1) * recordSize + bytes);
            for (std::uint64_t j = 0; j < k; ++j, out += perRecord) cdfbytes::FromBig<U>(p + j * recordSize, out, perRecord);
        }
        r += k;
    }
}

}  // namespace

std::uint32_t cdfFile::TypeSize(std::int32_t type) {
    switch (type) {
    case kByte:
    case kChar: return 1;
    case kShort: return 2;
    case kInt:
    case kFloat: return 4;
    case kDouble: return 8;
    default: return 0;
    }
}

std::uint64_t cdfFile::PaddedSize(std::int32_t type, std::uint64_t n) { return (n * TypeSize(type) + 3) & ~std::uint64_t(3); }

const std::string& cdfFile::NameOf(std::int32_t index) const {
    static const std::string none;
    return index >= 0 && static_cast<std::size_t>(index) < names.size() ? names[static_cast<std::size_t>(index)] : none;
}

void cdfFile::Clear() {
    fileSize = 0, hasRecordData = 0, recordSize = 0, numrecs = 0, globalAttributeCount = 0, headerSize = 0;
    names.clear(), dimensionIds.clear(), dimensions.clear(), attributes.clear(), variables.clear();
    byteValues.clear(), texts.clear(), shortValues.clear(), intValues.clear(), floatValues.clear(), doubleValues.clear();
    byteData.clear(), shortData.clear(), intData.clear(), floatData.clear(), doubleData.clear();
}

std::int32_t cdfFile::AddName(const std::string& name) {
    names.push_back(name);
    return static_cast<std::int32_t>(names.size() - 1);
}

std::size_t cdfFile::AddTextAttribute(const std::string& name, const std::string& text) {
    attribute a;
    a.nameIndex = AddName(name);
    a.type = kChar;
    a.count = static_cast<std::uint32_t>(text.size());
    a.firstValue = static_cast<std::uint32_t>(texts.size());
    texts.push_back(text);
    attributes.push_back(a);
    return attributes.size() - 1;
}

std::size_t cdfFile::AddAttribute(const std::string& name, Type type, const std::vector<double>& values) {
    attribute a;
    a.nameIndex = AddName(name);
    a.type = type;
    a.count = static_cast<std::uint32_t>(values.size());
    switch (type) {
    case kByte:
        a.firstValue = static_cast<std::uint32_t>(byteValues.size());
        for (double v : values) byteValues.push_back(static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<long long>(v) & 0xFF)));
        break;
    case kShort:
        a.firstValue = static_cast<std::uint32_t>(shortValues.size());
        for (double v : values) shortValues.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<long long>(v) & 0xFFFF)));
        break;
    case kInt:
        a.firstValue = static_cast<std::uint32_t>(intValues.size());
        for (double v : values) intValues.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<long long>(v) & 0xFFFFFFFF)));
        break;
    case kFloat:
        a.firstValue = static_cast<std::uint32_t>(floatValues.size());
        for (double v : values) floatValues.push_back(static_cast<float>(v));
        break;
    case kDouble:
    default:
        a.type = kDouble;
        a.firstValue = static_cast<std::uint32_t>(doubleValues.size());
        doubleValues.insert(doubleValues.end(), values.begin(), values.end());
        break;
    }
    attributes.push_back(a);
    return attributes.size() - 1;
}

std::size_t cdfFile::AddDimension(const std::string& name, std::uint32_t length) {
    dimensions.push_back({AddName(name), length});
    return dimensions.size() - 1;
}

void cdfFile::Report(const char* text, double fraction) {
    if (progress) progress(text, fraction);
}

int cdfFile::Load(const std::string& path) {
    fileName = path;
    Clear();
    error.clear();
    // Only a plain file is a document: opening a pipe would wait for a writer for good, and a
    // device such as /dev/zero never ends. Asked before the open and again of the open file.
    auto refuse = [&](const char* why) {
        error = "Can not open file\n" + path + ": " + why;
        return 0;
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return refuse(S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return refuse(std::strerror(errno));
    int result = 0;
    if (::fstat(fd, &st) != 0) {
        refuse(std::strerror(errno));
    } else if (!S_ISREG(st.st_mode)) {
        refuse("it is not a regular file");
    } else {
        Source source(fd, static_cast<std::uint64_t>(st.st_size));
        result = LoadFrom(source);
    }
    ::close(fd);
    return result;
}

int cdfFile::LoadFromMemory(const unsigned char* bytes, std::size_t size) {
    Source source(bytes, size);
    return LoadFrom(source);
}

int cdfFile::LoadFrom(Source& source) {
    const std::string keptName = fileName;
    Clear();
    fileName = keptName;
    error.clear();
    const std::uint64_t size = source.size;
    fileSize = size;
    Cursor c(source);
    try {
        const unsigned char* magic = c.Bytes(4, "the file's first four bytes");
        Report("Begin reading header", 0.1);
        if (std::memcmp(magic, "CDF", 3) != 0) throw Fault{"The file is not a NetCDF document"};
        if (magic[3] == 2) throw Fault{"The file is a 64-bit offset NetCDF file, which this program does not read"};
        if (magic[3] != 1) throw Fault{"The file is not a NetCDF classic document"};
        numrecs = c.U32("the record count");

        // Dimensions.
        const std::uint32_t nd = ListCount(c, kTagDimension, 8, "dimension list");
        dimensions.reserve(nd);
        int recordDimensions = 0;
        for (std::uint32_t i = 0; i < nd; ++i) {
            dimension d;
            d.nameIndex = AddName(c.Name("a dimension name"));
            d.length = c.U32("a dimension length");
            if (d.length == 0 && ++recordDimensions > 1) throw Fault{"The file has more than one record dimension"};
            dimensions.push_back(d);
        }

        auto readAttributes = [&](const char* what) {
            const std::uint32_t na = ListCount(c, kTagAttribute, 12, what);
            for (std::uint32_t i = 0; i < na; ++i) {
                attribute a;
                a.nameIndex = AddName(c.Name("an attribute name"));
                a.type = static_cast<std::int32_t>(c.U32("an attribute type"));
                if (TypeSize(a.type) == 0) throw Fault{"Unknown type of the attribute \"" + NameOf(a.nameIndex) + "\""};
                a.count = c.U32("an attribute's value count");
                const std::uint64_t bytesNeeded = std::uint64_t(a.count) * TypeSize(a.type);
                if (bytesNeeded > c.Left())
                    throw Fault{"The values of the attribute \"" + NameOf(a.nameIndex) + "\" reach behind the file's end"};
                a.position = static_cast<std::uint32_t>(c.pos);
                const unsigned char* p = c.Bytes(bytesNeeded, "attribute values");
                switch (a.type) {
                case kByte:
                    a.firstValue = static_cast<std::uint32_t>(byteValues.size());
                    byteValues.insert(byteValues.end(), reinterpret_cast<const std::int8_t*>(p),
                                      reinterpret_cast<const std::int8_t*>(p) + a.count);
                    break;
                case kChar: {
                    a.firstValue = static_cast<std::uint32_t>(texts.size());
                    const char* t = reinterpret_cast<const char*>(p);
                    texts.emplace_back(t, strnlen(t, a.count));
                    break;
                }
                case kShort: a.firstValue = static_cast<std::uint32_t>(shortValues.size()); AppendFromBig<std::uint16_t>(shortValues, p, a.count); break;
                case kInt: a.firstValue = static_cast<std::uint32_t>(intValues.size()); AppendFromBig<std::uint32_t>(intValues, p, a.count); break;
                case kFloat: a.firstValue = static_cast<std::uint32_t>(floatValues.size()); AppendFromBig<std::uint32_t>(floatValues, p, a.count); break;
                case kDouble: a.firstValue = static_cast<std::uint32_t>(doubleValues.size()); AppendFromBig<std::uint64_t>(doubleValues, p, a.count); break;
                }
                c.Pad(bytesNeeded, "attribute values");
                attributes.push_back(a);
            }
            return na;
        };
        globalAttributeCount = readAttributes("global attribute list");

        // Variables: name, dimensions, attributes, type, vsize, begin (at least 28 bytes each).
        const std::uint32_t nv = ListCount(c, kTagVariable, 28, "variable list");
        variables.reserve(nv);
        for (std::uint32_t i = 0; i < nv; ++i) {
            variable v;
            v.nameIndex = AddName(c.Name("a variable name"));
            const std::string& name = NameOf(v.nameIndex);
            v.dimensionCount = c.U32("a variable's dimension count");
            if (v.dimensionCount > c.Left() / 4) throw Fault{"Dimension count of the variable \"" + name + "\" is larger than the file"};
            v.firstDimension = static_cast<std::uint32_t>(dimensionIds.size());
            for (std::uint32_t k = 0; k < v.dimensionCount; ++k) {
                const std::uint32_t id = c.U32("a dimension id");
                if (id >= dimensions.size()) throw Fault{"The variable \"" + name + "\" names a dimension that does not exist"};
                if (k > 0 && dimensions[id].length == 0)
                    throw Fault{"The variable \"" + name + "\" has the record dimension in a place other than the first"};
                dimensionIds.push_back(static_cast<std::int32_t>(id));
            }
            v.firstAttribute = static_cast<std::uint32_t>(attributes.size());
            v.attributeCount = readAttributes("variable's attribute list");
            v.type = static_cast<std::int32_t>(c.U32("a variable's type"));
            if (TypeSize(v.type) == 0) throw Fault{"Unknown type of the variable \"" + name + "\""};
            v.vsize = c.U32("a variable's size");
            v.begin = c.U32("a variable's offset");
            variables.push_back(v);
        }
        headerSize = c.pos;
        Report("Header is read", 0.2);

        // Sizes and offsets of the data, all checked before anything is reserved.
        auto isRecord = [&](const variable& v) {
            return v.dimensionCount > 0 && dimensions[static_cast<std::size_t>(dimensionIds[v.firstDimension])].length == 0;
        };
        int recordVariables = 0;
        for (variable& v : variables) {
            const std::uint32_t ts = TypeSize(v.type);
            const std::string what = "The variable \"" + NameOf(v.nameIndex) + "\"";
            if (v.dimensionCount == 0) {
                // A scalar holds one value; one whose vsize is larger stands for vsize / type
                // size values (documents of the old layout).
                v.valuesPerRecord = v.vsize == PaddedSize(v.type, 1) ? 1 : v.vsize / ts;
            } else {
                std::uint64_t n = 1;
                for (std::uint32_t k = isRecord(v) ? 1 : 0; k < v.dimensionCount; ++k)
                    n = Product(n, dimensions[static_cast<std::size_t>(dimensionIds[v.firstDimension + k])].length, what);
                v.valuesPerRecord = n;
            }
            // One record's (or the whole variable's) bytes: at most the file's size, unless no
            // record holds any.
            const std::uint64_t bytes = Product(v.valuesPerRecord, ts, what);
            if (bytes > fileSize && (!isRecord(v) || numrecs != 0)) throw Fault{what + " is larger than the file"};
            if (isRecord(v)) ++recordVariables;
        }
        recordSize = 0;
        std::uint64_t recordBegin = ~std::uint64_t(0);
        for (const variable& v : variables) {
            if (!isRecord(v)) continue;
            const std::uint64_t bytes = v.valuesPerRecord * TypeSize(v.type);
            recordSize = Sum(recordSize, recordVariables > 1 ? Sum(bytes, 3, "A record") & ~std::uint64_t(3) : bytes, "A record");
            recordBegin = std::min<std::uint64_t>(recordBegin, v.begin);
        }
        if (numrecs == kStreaming) numrecs = recordSize && recordBegin < fileSize ? static_cast<std::uint32_t>(std::min<std::uint64_t>((fileSize - recordBegin) / recordSize, 0xFFFFFFFEu)) : 0;
        std::uint64_t totalBytes = 0;
        for (variable& v : variables) {
            const std::uint64_t ts = TypeSize(v.type);
            const std::string& name = NameOf(v.nameIndex);
            const std::string what = "The variable \"" + name + "\"";
            if (isRecord(v)) {
                v.totalValues = Product(v.valuesPerRecord, numrecs, what);
                if (v.totalValues &&
                    Sum(Sum(v.begin, Product(numrecs - 1ull, recordSize, what), what), v.valuesPerRecord * ts, what) > fileSize)
                    throw Fault{"The records of the variable \"" + name + "\" reach behind the file's end"};
            } else {
                v.totalValues = v.valuesPerRecord;
                if (v.totalValues && std::uint64_t(v.begin) + v.totalValues * ts > fileSize)
                    throw Fault{"The data of the variable \"" + name + "\" reach behind the file's end"};
            }
            if (v.totalValues && v.begin < headerSize)
                throw Fault{"The data of the variable \"" + name + "\" overlap the header"};
            totalBytes = Sum(totalBytes, Product(v.totalValues, ts, what), what);
            if (totalBytes > fileSize) throw Fault{"The variables hold more data than the file"};
        }

        // The data, converted in bulk.
        std::uint64_t counts[7] = {};
        for (const variable& v : variables) counts[v.type == kChar ? kByte : v.type] += v.totalValues;
        byteData.reserve(counts[kByte]), shortData.reserve(counts[kShort]), intData.reserve(counts[kInt]);
        floatData.reserve(counts[kFloat]), doubleData.reserve(counts[kDouble]);
        // A run of values goes from the file into its place at the end of its list and is
        // turned there; a record variable's values are picked out of its records.
        auto readValues = [&](const variable& v, auto read) {
            switch (v.type) {
            case kByte:
            case kChar: read(std::uint8_t(), byteData); break;
            case kShort: read(std::uint16_t(), shortData); break;
            case kInt: read(std::uint32_t(), intData); break;
            case kFloat: read(std::uint32_t(), floatData); break;
            case kDouble: read(std::uint64_t(), doubleData); break;
            }
        };
        auto listSize = [&](std::int32_t type) -> std::uint64_t {
            switch (type) {
            case kShort: return shortData.size();
            case kInt: return intData.size();
            case kFloat: return floatData.size();
            case kDouble: return doubleData.size();
            default: return byteData.size();
            }
        };
        for (variable& v : variables) {
            v.firstValue = listSize(v.type);
            if (!isRecord(v)) {
                if (fileSize) Report("Reading data", std::min(1.0, double(v.begin) / double(fileSize)));
                readValues(v, [&](auto u, auto& list) { ReadRun<decltype(u)>(source, list, v.begin, v.totalValues); });
                continue;
            }
            hasRecordData = 1;
            readValues(v, [&](auto u, auto& list) {
                ReadRecords<decltype(u)>(source, list, v.begin, recordSize, numrecs, v.valuesPerRecord, [&](std::uint64_t at) {
                    Report("Reading data", std::min(1.0, double(at) / double(fileSize)));
                });
            });
        }
        if (hasRecordData) {
            for (dimension& d : dimensions)
                if (d.length == 0) d.length = numrecs;
            for (variable& v : variables) {
                if (!isRecord(v)) continue;
                v.valuesPerRecord = v.totalValues;
                v.vsize = static_cast<std::uint32_t>(std::min<std::uint64_t>(v.totalValues * TypeSize(v.type), 0xFFFFFFFFu));
            }
        }
        Report("Updating the control", 0.95);
        return 1;
    } catch (const Fault& f) {
        Clear();
        fileSize = size;
        error = f.text;
        return 0;
    }
}
