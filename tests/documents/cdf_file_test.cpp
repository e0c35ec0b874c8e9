// The document file container: layout, round trips, the reference tools both ways, damaged
// files and failed saves.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <limits>
#include <tuple>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "documents/cdf_file.h"
#include "doc_test_support.h"

using doc_test::TempFolder;

// The saves' flushes and renames, in order, while a test records them: this program's own
// definitions stand in for the C library's and pass each call on.
namespace {
std::vector<std::string>* diskLog = nullptr;
std::string PathOfDescriptor(int fd) {
    char target[4096];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string("?");
}
}  // namespace

extern "C" int fsync(int fd) {
    if (diskLog) diskLog->push_back("fsync " + PathOfDescriptor(fd));
    return static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (diskLog) diskLog->push_back(std::string("rename ") + to);
    return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace {

// A model with every type as attributes, fixed variables over a dimension and one scalar.
cdfFile SampleModel() {
    cdfFile f;
    f.AddDimension("n", 3);
    f.AddTextAttribute("title", "hello");
    f.AddAttribute("b", cdfFile::kByte, {-1, 2, 127});
    f.AddAttribute("s", cdfFile::kShort, {-32768, 5, 32767});
    f.AddAttribute("i", cdfFile::kInt, {-2147483648.0, 7});
    f.AddAttribute("f", cdfFile::kFloat, {1.5, -0.25});
    f.AddAttribute("d", cdfFile::kDouble, {3.141592653589793, -1e300});
    f.globalAttributeCount = 6;
    f.dimensionIds = {0};
    auto add = [&](const char* name, cdfFile::Type type) {
        cdfFile::variable v;
        v.nameIndex = f.AddName(name);
        v.type = type;
        v.dimensionCount = 1;
        v.valuesPerRecord = 3;
        v.totalValues = 3;
        f.variables.push_back(v);
    };
    add("vb", cdfFile::kByte);
    f.byteData = {-128, 0, 127};
    add("vs", cdfFile::kShort);
    f.shortData = {-2, 0, 300};
    add("vi", cdfFile::kInt);
    f.intData = {-5, 6, 2000000000};
    add("vf", cdfFile::kFloat);
    f.floatData = {0.5f, -0.0f, 1e-40f};
    add("vd", cdfFile::kDouble);
    f.doubleData = {-0.0, std::numeric_limits<double>::denorm_min(), 1.0 / 3.0};
    f.variables.back().attributeCount = 1;
    f.variables.back().firstAttribute = static_cast<std::uint32_t>(f.attributes.size());
    f.AddTextAttribute("units", "m");
    return f;
}

// A file's bytes word by word, as a damaged or hand-made file is built.
struct Bytes {
    std::string b;
    Bytes& Word(std::uint32_t v) {
        b += std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return *this;
    }
    Bytes& Name(const std::string& n) {
        Word(static_cast<std::uint32_t>(n.size()));
        b += n;
        while (b.size() % 4) b += '\0';
        return *this;
    }
    // A header of the dimensions given (0 the record one), no global attribute, and byte
    // variables each over the dimension ids given, their data at `begin`.
    static std::string Header(std::uint32_t numrecs, const std::vector<std::uint32_t>& dims,
                              const std::vector<std::vector<std::uint32_t>>& vars, std::uint32_t begin) {
        Bytes h;
        h.b = std::string("CDF\x01", 4);
        h.Word(numrecs).Word(10).Word(static_cast<std::uint32_t>(dims.size()));
        for (std::size_t i = 0; i < dims.size(); ++i) h.Name("d" + std::to_string(i)).Word(dims[i]);
        h.Word(0).Word(0).Word(11).Word(static_cast<std::uint32_t>(vars.size()));
        for (std::size_t i = 0; i < vars.size(); ++i) {
            h.Name("v" + std::to_string(i)).Word(static_cast<std::uint32_t>(vars[i].size()));
            for (std::uint32_t id : vars[i]) h.Word(id);
            h.Word(0).Word(0).Word(cdfFile::kByte).Word(4).Word(begin);
        }
        return h.b;
    }
};

int LoadBytes(cdfFile& r, const std::string& b) {
    return r.LoadFromMemory(reinterpret_cast<const unsigned char*>(b.data()), b.size());
}

// The values' bits, so that -0.0 and denormals compare exactly.
template <class T>
std::string Bits(const std::vector<T>& v) {
    return std::string(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T));
}

}  // namespace

TEST(CdfFile, EmptyModelIs32BytesAndReadsBack) {
    TempFolder dir;
    cdfFile f;
    ASSERT_TRUE(f.Save(dir / "e.cdf")) << f.error;
    EXPECT_EQ(doc_test::ReadAll(dir / "e.cdf"), std::string("CDF\x01", 4) + std::string(28, '\0'));
    cdfFile r;
    ASSERT_EQ(r.Load(dir / "e.cdf"), 1) << r.error;
    EXPECT_TRUE(r.dimensions.empty() && r.attributes.empty() && r.variables.empty());
}

TEST(CdfFile, EveryTypeRoundTripsBitExactly) {
    TempFolder dir;
    cdfFile f = SampleModel();
    ASSERT_TRUE(f.Save(dir / "all.cdf")) << f.error;
    cdfFile r;
    ASSERT_EQ(r.Load(dir / "all.cdf"), 1) << r.error;
    EXPECT_EQ(std::tie(r.names, r.texts, r.byteValues, r.shortValues, r.intValues, r.byteData, r.shortData, r.intData),
              std::tie(f.names, f.texts, f.byteValues, f.shortValues, f.intValues, f.byteData, f.shortData, f.intData));
    EXPECT_EQ(std::tuple(Bits(r.floatValues), Bits(r.doubleValues), Bits(r.floatData), Bits(r.doubleData)),
              std::tuple(Bits(f.floatValues), Bits(f.doubleValues), Bits(f.floatData), Bits(f.doubleData)));
    ASSERT_EQ(r.variables.size(), 5u);
    EXPECT_EQ(r.variables[4].attributeCount, 1u);
    EXPECT_EQ(r.globalAttributeCount, 6u);
}

TEST(CdfFile, ReferenceDumperReadsOurFiles) {
    if (!doc_test::HaveProgram("/usr/bin/ncdump")) GTEST_SKIP() << "ncdump is not installed";
    TempFolder dir;
    cdfFile f = SampleModel();
    ASSERT_TRUE(f.Save(dir / "all.cdf"));
    int status = 0;
    EXPECT_EQ(doc_test::Run("ncdump -k " + (dir / "all.cdf"), status), "classic\n");
    EXPECT_EQ(status, 0);
    const std::string dump = doc_test::Run("ncdump -p 9,17 " + (dir / "all.cdf") + " 2>&1", status);
    ASSERT_EQ(status, 0) << dump;
    for (const char* expected : {":title = \"hello\"", "vb = -128, 0, 127", "vs = -2, 0, 300", "vi = -5, 6, 2000000000",
                              "vd:units = \"m\"", "0.33333333333333331", ":i = -2147483648, 7"})
        EXPECT_NE(dump.find(expected), std::string::npos) << expected << "\n" << dump;
}

TEST(CdfFile, ReadsWhatTheReferenceGeneratorWrites) {
    if (!doc_test::HaveProgram("/usr/bin/ncgen")) GTEST_SKIP() << "ncgen is not installed";
    TempFolder dir;
    // One byte record variable of three values per record: the standard packs its records
    // without padding; a second file with two record variables pads each to four bytes.
    doc_test::WriteAll(dir / "a.cdl",
                       "netcdf a {\n dimensions:\n  t = UNLIMITED ; k = 3 ;\n variables:\n  byte r(t, k) ;\n"
                       "  double x(k) ;\n   x:note = \"text\" ;\n  short s ;\n // global attributes:\n"
                       "  :g = 1.5f, 2.5f ;\n data:\n  r = 1, 2, 3, 4, 5, 6, -7, 8, 9 ;\n  x = 0.1, -2e-300, 1e300 ;\n"
                       "  s = -3 ;\n}\n");
    doc_test::WriteAll(dir / "b.cdl",
                       "netcdf b {\n dimensions:\n  t = UNLIMITED ;\n variables:\n  short p(t) ;\n  int q(t) ;\n"
                       " data:\n  p = 1, 2, 3 ;\n  q = 10, 20, 30 ;\n}\n");
    int status = 0;
    doc_test::Run("cd " + dir.Path() + " && ncgen -k classic -o a.nc a.cdl && ncgen -k classic -o b.nc b.cdl", status);
    ASSERT_EQ(status, 0);
    cdfFile a;
    ASSERT_EQ(a.Load(dir / "a.nc"), 1) << a.error;
    EXPECT_EQ(a.byteData, (std::vector<std::int8_t>{1, 2, 3, 4, 5, 6, -7, 8, 9}));
    EXPECT_EQ(a.doubleData, (std::vector<double>{0.1, -2e-300, 1e300}));
    EXPECT_EQ(std::tie(a.shortData, a.floatValues, a.texts),
              std::tuple(std::vector<std::int16_t>{-3}, std::vector<float>{1.5f, 2.5f}, std::vector<std::string>{"text"}));
    EXPECT_EQ(std::tuple(a.numrecs, a.dimensions[0].length), std::tuple(3u, 3u));  // the record dimension takes numrecs
    cdfFile b;
    ASSERT_EQ(b.Load(dir / "b.nc"), 1) << b.error;
    EXPECT_EQ(b.shortData, (std::vector<std::int16_t>{1, 2, 3}));
    EXPECT_EQ(b.intData, (std::vector<std::int32_t>{10, 20, 30}));
}

TEST(CdfFile, DamagedFilesAreRefusedWithAMessage) {
    TempFolder dir;
    cdfFile f = SampleModel();
    ASSERT_TRUE(f.Save(dir / "good.cdf"));
    const std::string good = doc_test::ReadAll(dir / "good.cdf");
    // Every shorter prefix is refused, and nothing is kept of it.
    for (std::size_t n = 0; n < good.size(); n += (n < 400 ? 1 : 7)) {
        cdfFile r;
        EXPECT_EQ(r.LoadFromMemory(reinterpret_cast<const unsigned char*>(good.data()), n), 0) << n;
        EXPECT_FALSE(r.error.empty()) << n;
        EXPECT_TRUE(r.variables.empty() && r.attributes.empty());
    }
    auto patched = [&](std::size_t at, const std::string& bytes) {
        std::string b = good;
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    auto word = [](std::uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    // Offsets in the sample: dimension tag at 8, its count at 12; the global attribute list
    // follows the one dimension ("n": 16 + 4 + 4 + 4 = 28).
    const std::size_t varList = good.find(std::string("\0\0\0\x0b", 4));
    const std::size_t firstBegin = good.find("vb") + 4 + 4 + 4 + 8 + 4 + 4;  // name, ndims, dimid, ABSENT, type, vsize
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong magic", patched(0, "HDF")},
        {"64-bit offset variant", patched(3, std::string(1, '\x02'))},
        {"huge dimension count", patched(12, word(0x7FFFFFFF))},
        {"wrong dimension tag", patched(8, word(11))},
        {"huge name length", patched(16, word(0xFFFFFFF0))},
        {"huge variable count", patched(varList + 4, word(0x10000000))},
        {"bad attribute type", patched(28 + 8 + 12, word(9))},
        {"offset behind the end", patched(firstBegin, word(0xFFFFFF00))},
        {"offset inside the header", patched(firstBegin, word(8))},
        {"bad dimension id", patched(good.find("vb") + 8, word(5))},
    };
    for (const Case& c : cases) {
        cdfFile r;
        EXPECT_EQ(r.LoadFromMemory(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()), 0) << c.what;
        EXPECT_FALSE(r.error.empty()) << c.what;
    }
}

TEST(CdfFile, FailedSaveKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir / "doc.cdf";
    doc_test::WriteAll(path, "old document");
    cdfFile f;
    f.AddDimension("n", 200000);
    f.dimensionIds = {0};
    cdfFile::variable v;
    v.nameIndex = f.AddName("All data");
    v.dimensionCount = 1;
    v.valuesPerRecord = 200000;
    f.variables.push_back(v);
    f.doubleData.assign(200000, 1.25);
    // A file-size limit stands in for a full disk: the write fails part way.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 100000;
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = f.Save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    EXPECT_NE(f.error.find("Can not write file"), std::string::npos) << f.error;
    EXPECT_EQ(doc_test::ReadAll(path), "old document");
    // No temporary file is left beside it.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
    // A folder that does not exist: a message, nothing written.
    cdfFile g;
    EXPECT_FALSE(g.Save(dir / "missing/doc.cdf"));
    EXPECT_NE(g.error.find("Can not open file for writing"), std::string::npos);
    // The same model saves when there is room, and a longer old file is replaced whole.
    ASSERT_TRUE(f.Save(path)) << f.error;
    cdfFile r;
    ASSERT_EQ(r.Load(path), 1) << r.error;
    EXPECT_EQ(r.doubleData, f.doubleData);  // a large run, read straight into its place
}

// A power loss after the rename must not leave the name on a file whose bytes never reached
// the disk: the new file is flushed before it takes the name, the folder after.
TEST(CdfFile, SaveFlushesTheFileBeforeTheRenameAndTheFolderAfter) {
    TempFolder dir;
    const std::string folder = std::filesystem::canonical(dir.Path()).string();
    const std::string path = folder + "/doc.cdf";
    cdfFile f = SampleModel();
    std::vector<std::string> log;
    diskLog = &log;
    const bool saved = f.Save(path);
    diskLog = nullptr;
    ASSERT_TRUE(saved) << f.error;
    ASSERT_EQ(log.size(), 3u);
    // The temporary file, beside the document.
    EXPECT_EQ(log[0].rfind("fsync " + folder + "/", 0), 0u) << log[0];
    EXPECT_NE(log[0], "fsync " + path);
    EXPECT_EQ(log[1], "rename " + path);
    EXPECT_EQ(log[2], "fsync " + folder);
}

// Every name the folder allows can be saved: the temporary file's name stays within the limit.
TEST(CdfFile, SavesUnderTheLongestNamesTheFolderAllows) {
    TempFolder dir;
    std::vector<std::string> names;
    for (std::size_t n = 249; n <= 255; ++n) names.push_back(std::string(n - 4, 'a') + ".cdf");
    std::string wide = "b";  // two-byte characters where the temporary name is cut
    while (wide.size() < 249) wide += "é";
    names.push_back(wide + ".cdf");
    cdfFile f = SampleModel();
    for (const std::string& name : names) {
        ASSERT_TRUE(f.Save(dir / name)) << name.size() << " bytes: " << f.error;
        ASSERT_TRUE(f.Save(dir / name)) << f.error;  // and replaced
        cdfFile r;
        EXPECT_EQ(r.Load(dir / name), 1) << r.error;
    }
    EXPECT_EQ(doc_test::Entries(dir.Path()).size(), names.size());
    // One byte more is refused, naming the file rather than its folder.
    EXPECT_FALSE(f.Save(dir / (std::string(252, 'a') + ".cdf")));
    EXPECT_NE(f.error.find("aaa.cdf: File name too long"), std::string::npos) << f.error;
}

// A link to a document stays a link: the save replaces the file it points to, with its
// temporary file beside that file.
TEST(CdfFile, SaveWritesThroughLinks) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "real");
    doc_test::WriteAll(dir / "real/doc.cdf", "old document");
    std::filesystem::create_symlink("real/doc.cdf", dir / "link.cdf");
    std::filesystem::create_symlink(dir / "link.cdf", dir / "chain.cdf");
    std::filesystem::create_symlink("real/new.cdf", dir / "dangling.cdf");
    cdfFile f = SampleModel();
    for (const char* name : {"chain.cdf", "dangling.cdf"}) ASSERT_TRUE(f.Save(dir / name)) << f.error;
    for (const char* name : {"link.cdf", "chain.cdf", "dangling.cdf"})
        EXPECT_TRUE(std::filesystem::is_symlink(dir / name)) << name;
    for (const char* name : {"real/doc.cdf", "real/new.cdf"}) {
        cdfFile r;
        EXPECT_EQ(r.Load(dir / name), 1) << name << ": " << r.error;
    }
    EXPECT_EQ(doc_test::Entries(dir / "real"), (std::vector<std::string>{"doc.cdf", "new.cdf"}));
    EXPECT_EQ(doc_test::Entries(dir.Path()), (std::vector<std::string>{"chain.cdf", "dangling.cdf", "link.cdf", "real"}));
}

// A save killed part way leaves its temporary file; the next save of that document removes
// it, but nothing of another document, of a save still running, or of the user's.
TEST(CdfFile, ASaveRemovesWhatKilledSavesOfItsDocumentLeft) {
    TempFolder dir;
    const std::string doc = dir / "doc.cdf", other = dir / "other.cdf", longDoc = dir / (std::string(251, 'l') + ".cdf");
    cdfFile f = SampleModel();
    for (const std::string& path : {doc, other, longDoc}) ASSERT_TRUE(f.Save(path)) << f.error;
    doc_test::WriteAll(dir / "doc.cdf.backup", "the user's");
    const std::vector<std::string> documents = doc_test::Entries(dir.Path());
    // What the kills of these saves add to the folder.
    auto leftoversOf = [&](const std::vector<std::string>& paths) {
        const std::vector<std::string> before = doc_test::Entries(dir.Path());
        for (const std::string& path : paths) EXPECT_TRUE(doc_test::KilledPartWay([&] { f.Save(path); }, 100));
        std::vector<std::string> added;
        const std::vector<std::string> after = doc_test::Entries(dir.Path());
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
        EXPECT_EQ(added.size(), paths.size());
        return added;
    };
    const std::vector<std::string> ofDoc = leftoversOf({doc, doc}), ofOther = leftoversOf({other}),
                                   ofLong = leftoversOf({longDoc});
    ASSERT_EQ(ofDoc.size(), 2u);
    // The first one stands for a save that is still running in another window: it holds its lock.
    const int running = open((dir / ofDoc[0]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(running, LOCK_EX), 0);
    ASSERT_TRUE(f.Save(doc)) << f.error;
    std::vector<std::string> expected = documents;
    expected.insert(expected.end(), {ofDoc[0], ofOther[0], ofLong[0]});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(doc_test::Entries(dir.Path()), expected);
    close(running);
    for (const std::string& path : {doc, longDoc}) ASSERT_TRUE(f.Save(path)) << f.error;
    expected = documents;
    expected.push_back(ofOther[0]);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(doc_test::Entries(dir.Path()), expected);
    EXPECT_EQ(doc_test::ReadAll(dir / "doc.cdf.backup"), "the user's");
}

TEST(CdfFile, NoLimitOnTextsAndPaths) {
    TempFolder dir;
    // A text far longer than any single transfer of old, under a path of over 300 characters.
    const std::string folder = dir / std::string(150, 'a');
    std::filesystem::create_directories(folder + "/" + std::string(150, 'b'));
    const std::string path = folder + "/" + std::string(150, 'b') + "/doc.cdf";
    cdfFile f;
    f.AddTextAttribute("long", std::string(20000, 'x') + "é");
    f.globalAttributeCount = 1;
    ASSERT_TRUE(f.Save(path)) << f.error;
    cdfFile r;
    ASSERT_EQ(r.Load(path), 1) << r.error;
    EXPECT_EQ(r.texts, f.texts);
}

TEST(CdfFile, OldLayoutScalarCarriesItsValuesThroughVsize) {
    // Documents of the old layout: dimensionless variables share one begin and the last one
    // stands for vsize / 8 values. A short scalar of vsize 8 holds four values (padding counts).
    Bytes h;
    h.b = std::string("CDF\x01", 4);
    h.Word(0).Word(0).Word(0).Word(0).Word(0);  // numrecs, no dimension, no global attribute
    h.Word(11).Word(2);
    const std::uint32_t header = 4 + 4 + 8 + 8 + 8 + (4 + 4 + 4 + 8 + 12) + (4 + 4 + 4 + 8 + 12);
    h.Name("a").Word(0).Word(0).Word(0).Word(6).Word(16).Word(header);
    h.Name("s").Word(0).Word(0).Word(0).Word(3).Word(8).Word(header + 16);
    ASSERT_EQ(h.b.size(), header);
    for (double d : {1.5, -2.0}) {
        std::uint64_t u;
        std::memcpy(&u, &d, 8);
        h.Word(static_cast<std::uint32_t>(u >> 32)).Word(static_cast<std::uint32_t>(u));
    }
    h.b += std::string("\x00\x01\x00\x02\x00\x03\x00\x00", 8);
    cdfFile r;
    ASSERT_EQ(LoadBytes(r, h.b), 1) << r.error;
    EXPECT_EQ(r.doubleData, (std::vector<double>{1.5, -2.0}));
    EXPECT_EQ(r.shortData, (std::vector<std::int16_t>{1, 2, 3, 0}));
}

// Counts whose product or sum leaves 64 bits would wrap to a small number, pass the size
// checks and then be reserved in full.
TEST(CdfFile, CountsThatWrapAreRefused) {
    constexpr std::uint32_t kMax = 0xFFFFFFFFu;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        // 128 bytes: 2^40 values per record times 2^24 records is 2^64.
        {"record variable of 2^40 values in 2^24 records", Bytes::Header(1u << 24, {0, 1u << 20, 1u << 20}, {{0, 1, 2}}, 112)},
        {"fixed variable over three widest dimensions", Bytes::Header(0, {kMax, kMax, kMax}, {{0, 1, 2}}, 128)},
        {"records of two variables whose sizes add past 64 bits",
         Bytes::Header(0, {0, kMax, kMax}, {{0, 1, 2}, {0, 1, 2}}, 160)},
        {"streamed records wider than the file", Bytes::Header(kMax, {0, kMax, 8}, {{0, 1, 2}}, 112)},
    };
    for (Case& c : cases) c.bytes.resize(std::max<std::size_t>(c.bytes.size(), 128), '\0');
    ASSERT_EQ(cases[0].bytes.size(), 128u);
    for (const Case& c : cases) {
        cdfFile r;
        EXPECT_EQ(LoadBytes(r, c.bytes), 0) << c.what;
        EXPECT_NE(r.error.find("larger than the file"), std::string::npos) << c.what << ": " << r.error;
        EXPECT_TRUE(r.variables.empty() && r.byteData.empty()) << c.what;
    }
}

// Another program cuts the file short while it is read (after its header): the read ends
// with a message instead of a fault of the process. Records and a fixed variable alike.
TEST(CdfFile, AFileCutShortWhileReadGivesAMessage) {
    TempFolder dir;
    constexpr std::uint32_t kValues = 100000;
    const std::uint32_t begin = static_cast<std::uint32_t>(Bytes::Header(0, {0}, {{0}}, 0).size());
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"records", Bytes::Header(kValues, {0}, {{0}}, begin)},
        {"fixed", Bytes::Header(0, {kValues}, {{0}}, begin)},
    };
    for (Case& c : cases) {
        const std::string path = dir / (std::string(c.what) + ".nc");
        c.bytes.resize(begin + kValues, '\x05');
        doc_test::WriteAll(path, c.bytes);
        cdfFile r;
        ASSERT_EQ(r.Load(path), 1) << c.what << ": " << r.error;
        EXPECT_EQ(r.byteData.size(), kValues) << c.what;
        r.progress = [&](const std::string& text, double) {
            if (text == "Header is read") ASSERT_EQ(truncate(path.c_str(), begin), 0);
        };
        EXPECT_EQ(r.Load(path), 0) << c.what;
        EXPECT_NE(r.error.find("became shorter while it was read"), std::string::npos) << c.what << ": " << r.error;
        EXPECT_TRUE(r.byteData.empty()) << c.what;
    }
}

// Only a plain file is read: a pipe would wait for a writer for good, a device never ends.
TEST(CdfFile, OnlyPlainFilesAreRead) {
    TempFolder dir;
    ASSERT_EQ(mkfifo((dir / "pipe.cdf").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", (dir / "zero.cdf").c_str()), 0);
    ASSERT_EQ(mkdir((dir / "folder.cdf").c_str(), 0700), 0);
    for (const char* name : {"pipe.cdf", "zero.cdf", "folder.cdf"}) {
        cdfFile r;
        EXPECT_EQ(r.Load(dir / name), 0) << name;
        EXPECT_EQ(r.error.rfind("Can not open file\n" + dir / name + ": it is ", 0), 0u) << r.error;
    }
}
