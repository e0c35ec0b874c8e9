// Writing the document file: the header is laid out in memory, the data go through one
// buffer in large runs, all into a temporary file that replaces the target only when every
// byte is on disk.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "documents/cdf_bytes.h"
#include "documents/cdf_file.h"

namespace {

constexpr std::uint32_t kTagDimension = 10, kTagVariable = 11, kTagAttribute = 12;
constexpr std::uint64_t kOffsetLimit = 0xFFFFFFFFull;

std::uint64_t Round4(std::uint64_t n) { return (n + 3) & ~std::uint64_t(3); }

class HeaderWriter {
public:
    std::vector<unsigned char> bytes;
    void U32(std::uint32_t v) {
        const std::uint32_t b = cdfbytes::Big(v);
        const auto* p = reinterpret_cast<const unsigned char*>(&b);
        bytes.insert(bytes.end(), p, p + 4);
    }
    void Raw(const void* p, std::size_t n) {
        const auto* c = static_cast<const unsigned char*>(p);
        bytes.insert(bytes.end(), c, c + n);
    }
    void Pad() {
        while (bytes.size() % 4) bytes.push_back(0);
    }
    void Name(const std::string& s) {
        U32(static_cast<std::uint32_t>(s.size()));
        Raw(s.data(), s.size());
        Pad();
    }
};

// Appends n values of the type from the list at first, big-endian, padded to 4 bytes.
template <class U, class T>
void AppendValues(std::vector<unsigned char>& out, const std::vector<T>& list, std::uint64_t first, std::uint64_t n) {
    const std::size_t at = out.size();
    out.resize(at + n * sizeof(U));
    if (n) cdfbytes::ToBig<U>(list.data() + first, out.data() + at, n);
    while (out.size() % 4) out.push_back(0);
}

}  // namespace

std::uint64_t cdfFile::ComputeLayout() const {
    std::uint64_t size = 16;
    for (const dimension& d : dimensions) size += Round4(NameOf(d.nameIndex).size() + 8);
    auto attributeBytes = [this](std::size_t first, std::size_t count) {
        std::uint64_t n = 8;
        for (std::size_t i = first; i < first + count && i < attributes.size(); ++i) {
            const attribute& a = attributes[i];
            n += Round4(NameOf(a.nameIndex).size() + 12) + PaddedSize(a.type, a.count);
        }
        return n;
    };
    size += attributeBytes(0, globalAttributeCount);
    size += 8;
    for (const variable& v : variables) {
        size += Round4(NameOf(v.nameIndex).size() + 4ull * v.dimensionCount + 12);
        size += attributeBytes(v.firstAttribute, v.attributeCount);
        size += 8;
    }
    return size;
}

std::vector<unsigned char> cdfFile::HeaderBytes() {
    headerSize = ComputeLayout();
    // Fixed variables follow the header in list order; the record section follows them.
    auto isRecord = [this](const variable& v) {
        return v.dimensionCount > 0 && v.firstDimension < dimensionIds.size() &&
               static_cast<std::size_t>(dimensionIds[v.firstDimension]) < dimensions.size() &&
               dimensions[static_cast<std::size_t>(dimensionIds[v.firstDimension])].length == 0;
    };
    std::uint64_t offset = headerSize;
    for (variable& v : variables) {
        v.vsize = static_cast<std::uint32_t>(std::min<std::uint64_t>(PaddedSize(v.type, v.valuesPerRecord), kOffsetLimit));
        if (isRecord(v)) continue;
        v.begin = static_cast<std::uint32_t>(std::min(offset, kOffsetLimit));
        offset += v.vsize;
    }
    recordSize = 0;
    for (variable& v : variables) {
        if (!isRecord(v)) continue;
        v.begin = static_cast<std::uint32_t>(std::min(offset + recordSize, kOffsetLimit));
        recordSize += v.vsize;
    }
    if (offset + recordSize > kOffsetLimit + 1 || headerSize > kOffsetLimit)
        error = "The document is too large for the file format (4 GB)";

    HeaderWriter w;
    w.Raw("CDF\x01", 4);
    w.U32(numrecs);
    if (dimensions.empty()) {
        w.U32(0), w.U32(0);
    } else {
        w.U32(kTagDimension), w.U32(static_cast<std::uint32_t>(dimensions.size()));
        for (const dimension& d : dimensions) w.Name(NameOf(d.nameIndex)), w.U32(d.length);
    }
    auto attributeList = [&](std::size_t first, std::size_t count) {
        if (count == 0) {
            w.U32(0), w.U32(0);
            return;
        }
        w.U32(kTagAttribute), w.U32(static_cast<std::uint32_t>(count));
        for (std::size_t i = first; i < first + count && i < attributes.size(); ++i) {
            const attribute& a = attributes[i];
            w.Name(NameOf(a.nameIndex));
            w.U32(static_cast<std::uint32_t>(a.type));
            w.U32(a.count);
            switch (a.type) {
            case kByte: AppendValues<std::uint8_t>(w.bytes, byteValues, a.firstValue, a.count); break;
            case kChar: {
                std::string text = a.firstValue < texts.size() ? texts[a.firstValue] : std::string();
                text.resize(a.count, '\0');
                w.Raw(text.data(), text.size());
                w.Pad();
                break;
            }
            case kShort: AppendValues<std::uint16_t>(w.bytes, shortValues, a.firstValue, a.count); break;
            case kInt: AppendValues<std::uint32_t>(w.bytes, intValues, a.firstValue, a.count); break;
            case kFloat: AppendValues<std::uint32_t>(w.bytes, floatValues, a.firstValue, a.count); break;
            case kDouble: AppendValues<std::uint64_t>(w.bytes, doubleValues, a.firstValue, a.count); break;
            default: break;
            }
        }
    };
    attributeList(0, globalAttributeCount);
    if (variables.empty()) {
        w.U32(0), w.U32(0);
    } else {
        w.U32(kTagVariable), w.U32(static_cast<std::uint32_t>(variables.size()));
        for (const variable& v : variables) {
            w.Name(NameOf(v.nameIndex));
            w.U32(v.dimensionCount);
            for (std::uint32_t k = 0; k < v.dimensionCount; ++k)
                w.U32(static_cast<std::uint32_t>(dimensionIds[v.firstDimension + k]));
            attributeList(v.firstAttribute, v.attributeCount);
            w.U32(static_cast<std::uint32_t>(v.type));
            w.U32(v.vsize);
            w.U32(v.begin);
        }
    }
    return std::move(w.bytes);
}

namespace {

// Buffered writing to a descriptor; the first failure sticks.
class DataWriter {
public:
    explicit DataWriter(int fd) : fd_(fd) { buffer_.reserve(kChunk); }
    bool ok = true;
    int failure = 0;  // errno of the first failure

    void Put(const unsigned char* p, std::size_t n) {
        while (n && ok) {
            const std::size_t room = kChunk - buffer_.size();
            const std::size_t take = std::min(room, n);
            buffer_.insert(buffer_.end(), p, p + take);
            p += take, n -= take;
            if (buffer_.size() == kChunk) Flush();
        }
    }
    // n values of the list from first, converted to big-endian straight into the buffer.
    template <class U, class T>
    void Values(std::span<const T> list, std::uint64_t first, std::uint64_t n) {
        // Values the list does not hold are written as zeros (the header announced them).
        const std::uint64_t held = first < list.size() ? std::min<std::uint64_t>(n, list.size() - first) : 0;
        std::uint64_t missing = n - held;
        n = held;
        const T* src = list.data() + (held ? first : 0);
        while (n && ok) {
            std::size_t room = (kChunk - buffer_.size()) / sizeof(U);
            if (room == 0) {
                Flush();
                continue;
            }
            const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(room, n));
            const std::size_t at = buffer_.size();
            buffer_.resize(at + take * sizeof(U));
            cdfbytes::ToBig<U>(src, buffer_.data() + at, take);
            src += take, n -= take;
        }
        while (missing-- && ok) Zeros(sizeof(U));
    }
    void Zeros(std::size_t n) {
        static const unsigned char zeros[8] = {};
        Put(zeros, n);
    }
    void Flush() {
        std::size_t done = 0;
        while (ok && done < buffer_.size()) {
            const ssize_t w = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                ok = false;
                failure = w < 0 ? errno : ENOSPC;
                break;
            }
            done += static_cast<std::size_t>(w);
        }
        buffer_.clear();
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    int fd_;
    std::vector<unsigned char> buffer_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string BaseOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool SyncDescriptor(int fd) {
    int r;
    do r = ::fsync(fd);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

// Some file systems cannot flush a folder; the document is written all the same.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    SyncDescriptor(fd);
    ::close(fd);
}

FileStamp StampOf(const std::string& path, const struct stat& st) {
    FileStamp s;
    s.path = path;
    s.exists = true;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

// A link names the document: the save replaces the file it points to and the link stays.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        std::string to(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
        if (n <= 0) break;
        to.resize(static_cast<std::size_t>(n));
        path = to.front() == '/' ? to : FolderOf(path) + "/" + to;
    }
    return path;
}

constexpr std::size_t kRandomChars = 6;  // what mkostemp puts in place of "XXXXXX"

// The temporary name of a save of the document, up to its random part: hidden, the document's
// name (cut to fit the folder's name limit) and a hash of the whole name, so that a save
// recognises the leftovers of its own document and no other file.
std::string TemporaryPrefix(const std::string& name, std::size_t nameMax) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    const std::size_t fixed = 1 + 1 + 8 + 1 + kRandomChars;  // ".", "~", hash, ".", random
    std::size_t keep = std::min(name.size(), nameMax > fixed ? nameMax - fixed : 0);
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    return "." + name.substr(0, keep) + "~" + hex + ".";
}

// Removes the temporary files that killed saves of this document left in the folder. A save
// holds a lock on its temporary file while it runs, so a running one's file is left alone.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kRandomChars || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
            continue;
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates the temporary file, locked. A cleaner of another window may lock and remove it in
// the moment between creating and locking; then the file is gone and another one is made.
int CreateTemporary(std::string& temp, const std::string& pattern) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        temp = pattern;
        const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return fd;
        struct stat st {};
        if (::flock(fd, LOCK_EX) != 0 || (::fstat(fd, &st) == 0 && st.st_nlink > 0)) return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

FileStamp FileStamp::Of(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        FileStamp none;
        none.path = path;
        return none;
    }
    return StampOf(path, st);
}

std::string cdfFile::CaptionFor(const std::string& error) {
    return error.rfind("Can not open file", 0) == 0 ? "Trelvix" : std::string();
}

bool cdfFile::Save(const std::string& path) {
    fileName = path;
    error.clear();
    written = FileStamp();
    std::vector<unsigned char> header = HeaderBytes();
    if (!error.empty()) return false;
    auto fail = [&](int failure) {
        error = "Can not write file " + path + ": " + std::strerror(failure) + "\nThe file on disk is unchanged.";
        return false;
    };

    // The temporary file lies beside the target, so the rename stays within one file system.
    const std::string target = FollowLinks(path);
    const std::string folder = FolderOf(target), name = BaseOf(target);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : 255;
    if (name.size() > nameMax) return fail(ENAMETOOLONG);
    const std::string prefix = TemporaryPrefix(name, nameMax);
    std::string temp;
    const int fd = CreateTemporary(temp, folder + "/" + prefix + "XXXXXX");
    if (fd < 0) {
        error = "Can not open file for writing";
        error += "\n" + folder + ": " + std::strerror(errno);
        return false;
    }
    DataWriter out(fd);
    out.Put(header.data(), header.size());
    auto writeValues = [&](const variable& v, std::uint64_t first, std::uint64_t n) {
        switch (v.type) {
        case kByte:
        case kChar: out.Values<std::uint8_t>(std::span<const std::int8_t>(byteData), first, n); break;
        case kShort: out.Values<std::uint16_t>(std::span<const std::int16_t>(shortData), first, n); break;
        case kInt: out.Values<std::uint32_t>(std::span<const std::int32_t>(intData), first, n); break;
        case kFloat: out.Values<std::uint32_t>(std::span<const float>(floatData), first, n); break;
        case kDouble:
            out.Values<std::uint64_t>(doubleSource.empty() ? std::span<const double>(doubleData) : doubleSource, first, n);
            break;
        default: break;
        }
        const std::uint64_t bytes = n * TypeSize(v.type);
        if (bytes < v.vsize) out.Zeros(static_cast<std::size_t>(std::min<std::uint64_t>(v.vsize - bytes, 8)));
    };
    std::vector<const variable*> recordVariables;
    for (const variable& v : variables) {
        const bool record = v.dimensionCount > 0 &&
                            dimensions[static_cast<std::size_t>(dimensionIds[v.firstDimension])].length == 0;
        if (record) {
            recordVariables.push_back(&v);
            continue;
        }
        writeValues(v, v.firstValue, v.valuesPerRecord);
    }
    for (std::uint32_t r = 0; r < numrecs; ++r)
        for (const variable* v : recordVariables)
            writeValues(*v, v->firstValue + r * v->valuesPerRecord, v->valuesPerRecord);
    out.Flush();

    // A new document gets the usual permissions; a replaced one keeps its own.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (out.ok) ::fchmod(fd, mode);
    // The bytes reach the disk before the name points at them: after a power loss the
    // document is either the old one or the new one whole, never an empty file.
    if (out.ok && !SyncDescriptor(fd)) out.ok = false, out.failure = errno;
    struct stat done {};
    if (out.ok && ::fstat(fd, &done) != 0) out.ok = false, out.failure = errno;
    // Renamed while still locked, so no other save takes it for a leftover; closing after a
    // successful fsync has nothing left to report.
    if (out.ok && ::rename(temp.c_str(), target.c_str()) != 0) out.ok = false, out.failure = errno;
    if (!out.ok) ::unlink(temp.c_str());
    ::close(fd);
    if (!out.ok) return fail(out.failure);
    written = StampOf(path, done);
    // And the rename itself: the folder's entry.
    SyncFolder(folder);
    RemoveLeftovers(folder, prefix);
    return true;
}
