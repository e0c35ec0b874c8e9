// The document's attributes and variables: every field round-trips, the reference tools and
// an independent reader see the values, and damaged documents change nothing.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "data/name_limit.h"
#include "documents/document_model.h"
#include "doc_test_support.h"

using doc_test::TempFolder;

namespace {

// Settings with every field away from its default.
DocumentSettings Unusual() {
    DocumentSettings s;
    s.activeParameter = 1, s.activePage = 7, s.selectedTab = 4, s.view3D = 1;
    legend_settings& l = s.legend;
    l.title = "Müller – Ωmega", l.xCaption = "x axis", l.yCaption = "";
    l.showFormulas = 0, l.overlap = 0, l.titleAlign = 11, l.xCaptionAlign = 22, l.yCaptionAlign = 33, l.formulaAlign = 44;
    l.titleColor = 0x123456, l.captionColor = 0xABCDEF;
    l.titleFontRecord = {-19, 3, 0, 0, 700, 1, 0, 1, 204, 3, 2, 5, 34, "Liberation Serif"};
    l.formulaFontRecord = {12, 0, 0, 0, 400, 0, 1, 0, 0, 0, 0, 0, 0, "Symbol"};
    l.axisFontRecord = {-16, 0, 0, 0, 600, 0, 0, 0, 255, 7, 0, 0, 18, "Times"};
    s.chart = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 5, 5, 3, 4};
    xyview_settings& x = s.xyview;
    x.xMin = -1.5, x.xMax = 1e300, x.yMin = -0.0, x.yMax = 2.0 / 3.0, x.zMin = -7, x.zMax = 1e-300;
    x.autozoom = 0, x.colorSteps = 255, x.show3D = 0, x.histogram = 1, x.colorMapMode = 1;
    x.lowColor = 0x00FF80, x.highColor = 0x8000FF;
    s.d3view = {1.1, 2.2, 3.3, 44.5, -12.25, 1.75, 9.5, 0.5, 15, 1};
    s.xystatistic = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    distrimution_settings& d = s.distrimution;
    d.binCount = 17, d.showPoisson = 1, d.showStudent = 1, d.autoIntervals = 0, d.showErlang = 1;
    d.showMedian = 1, d.minAbsDeviation = 1, d.maxConcentration = 1, d.percentOfData = 12.5;
    d.conditions = {{2, 1, -1.5, 2.75}, {0, 3, 1e-9, 1e9}};
    s.distribution2 = {1234, 7, 9, 0, 1};
    s.result = {0, 0, 800, 600};
    s.constructor.selectedCodeCount = 3;
    s.constructor.selectedCodes[0] = 4, s.constructor.selectedCodes[1] = 34, s.constructor.selectedCodes[2] = 0;
    s.constructor.yTransform = 5;
    s.constructor.periodValues = {0.5, 1.5, 2.5, 3.5, 4.5, 365.25};
    s.constructor.showDeviationLines = 1;
    s.approxcustom.transformText = "y";
    s.approxcustom.basisTexts = {"x", "x^2", "sin(x)"};
    s.approxcustom.basisCount = 3;
    s.useruf.formula = "a*exp(-b*x)+c";
    s.useruf.names = {"a", "b", "c"};
    s.useruf.values = {0.1, 1.0 / 3.0, -2e-7};
    s.useruf.steps = {0.01, 0.123456789012345678, 1};
    s.useruf.minima = {-1e40, 0, -5};
    s.useruf.maxima = {1e40, 10, 5};
    s.useruf.plusConst = 1;
    s.collection = {17, 1, 1};
    s.sinaldlg = {9, 4.0, 1, 3};
    s.multistat = {0, 0, 0, 1, 0, 0, 0, 0, 3, 12.5};
    s.constructorMulti.currentPolyTerms = {0, 1, 2, 9, 10, 255};
    s.search = {1, 0, 20, 500, 12, 60, 3, "results é.csv", 1};
    s.calculator = {0, 0, 1, "1.5; 2", "/tmp/in.txt", "/tmp/out.txt"};
    return s;
}

DocumentData SampleData() {
    DocumentData d;
    Series a, b;
    a.firstParameter = 0, a.firstValue = 0, a.nArguments = 1, a.nParameters = 2, a.nRecords = 2, a.nValues = 1;
    b.firstParameter = 2, b.firstValue = 4, b.nArguments = 1, b.nParameters = 2, b.nRecords = 2, b.nValues = 1;
    d.series = {a, b};
    d.seriesNames = {"first", "second / ß"};
    d.parameters = {{0x0000FF, 4, 0, -1, 0}, {0x00FF00, 11, 15, 1, 1}, {0xFF0000, 2, 3, -1, 0}, {0x808080, 5, 1, 1, 0}};
    d.parameterNames = {"x", "y", "x", "y"};  // duplicate names stay legal
    d.allValues = {1, 2, 3, 4, -0.0, 1e-310, 7.25, 6};
    return d;
}

void SaveDocument(const DocumentSettings& s, const DocumentData& d, const std::string& path) {
    cdfFile f;
    BuildDocument(s, d, f);
    ASSERT_EQ(f.globalAttributeCount, 47u);
    ASSERT_TRUE(f.Save(path)) << f.error;
}

std::string Load(const std::string& path, DocumentSettings& staging, DocumentData& data, DocumentReadNotes& notes) {
    cdfFile f;
    if (!f.Load(path)) return f.error;
    return ReadDocumentModel(f, staging, data, notes);
}

// What reading the file model says, into fresh staging records.
std::string Refusal(cdfFile& f) {
    DocumentSettings s;
    DocumentData out;
    DocumentReadNotes notes;
    return ReadDocumentModel(f, s, out, notes);
}

// Every settings record of the document, to compare two at once.
auto Records(const DocumentSettings& s) {
    return std::tie(s.activeParameter, s.activePage, s.selectedTab, s.view3D, s.legend, s.chart, s.xyview, s.d3view,
                    s.xystatistic, s.distrimution, s.distribution2, s.result, s.constructor, s.approxcustom, s.useruf,
                    s.collection, s.sinaldlg, s.multistat, s.constructorMulti, s.search, s.calculator);
}

// The values' bits, so that -0.0 and denormals compare exactly.
std::string Bits(const std::vector<double>& v) {
    return std::string(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(double));
}

}  // namespace

TEST(DocumentModel, EveryFieldRoundTripsAndStoredFormsCutFractions) {
    TempFolder dir;
    DocumentSettings s = Unusual();
    s.sinaldlg.noiseFactor = 2.5;
    s.distrimution.percentOfData = 12.345;
    const DocumentData d = SampleData();
    SaveDocument(s, d, dir / "work.cdf");
    DocumentSettings back;
    DocumentData data;
    DocumentReadNotes notes;
    ASSERT_EQ(Load(dir / "work.cdf", back, data, notes), "");
    EXPECT_EQ(std::tuple(notes.hasActiveTab, notes.seriesCount, notes.parameterCount), std::tuple(true, 2, 4));
    EXPECT_EQ(back.sinaldlg.noiseFactor, 2.0);
    EXPECT_DOUBLE_EQ(back.distrimution.percentOfData, 12.34);
    s.sinaldlg.noiseFactor = 2.0;
    back.distrimution.percentOfData = s.distrimution.percentOfData;
    EXPECT_EQ(Records(back), Records(s));  // every coefficient of the user's formula reads back exactly
    EXPECT_EQ(std::tie(data.seriesNames, data.parameterNames), std::tie(d.seriesNames, d.parameterNames));
    EXPECT_EQ(Bits(data.allValues), Bits(d.allValues));
    ASSERT_EQ(data.series.size(), 2u);
    EXPECT_EQ(std::tuple(data.series[1].nRecords, data.series[1].firstParameter), std::tuple(2, 2));
    ASSERT_EQ(data.parameters.size(), 4u);
    const Initial& p = data.parameters[1];
    EXPECT_EQ(std::tuple(p.color, p.markSize, p.markShape, data.parameters[0].role), std::tuple(0x00FF00, 11, 15, -1));
}

TEST(DocumentModel, ReferenceToolsSeeTheValues) {
    if (!doc_test::HaveProgram("/usr/bin/ncdump")) GTEST_SKIP() << "ncdump is not installed";
    TempFolder dir;
    SaveDocument(Unusual(), SampleData(), dir / "work.cdf");
    int status = 0;
    EXPECT_EQ(doc_test::Run("ncdump -k " + (dir / "work.cdf"), status), "classic\n");
    const std::string dump = doc_test::Run("ncdump -p 17 " + (dir / "work.cdf") + " 2>&1", status);
    ASSERT_EQ(status, 0) << dump;
    for (const char* expected : {"none = UNLIMITED ; // (0 currently)", "n = 8 ;", "double All\\ data(n) ;",
                              "All\\ data = 1, 2, 3, 4, -0, ", ":Title = \"Müller – Ωmega\"",
                              "second\\ /\\ ß:Data = 2, 4, 1, 2, 2, 1 ;", "x:color = 255s, 0s, 0s ;",
                              ":Number\\ series\\ and\\ parameters = 2, 4 ;"})
        EXPECT_NE(dump.find(expected), std::string::npos) << expected << "\n" << dump.substr(0, 4000);
    // An independent reader of the format (the scientific Python library's own); it keeps
    // one variable per name, so the parameters get names of their own here.
    if (!doc_test::HaveProgram("/usr/bin/python3")) return;
    DocumentData unique = SampleData();
    unique.parameterNames = {"x", "y", "z", "w"};
    SaveDocument(Unusual(), unique, dir / "work.cdf");
    const std::string script =
        "import sys\n"
        "try:\n from scipy.io import netcdf_file\nexcept Exception:\n print('skip'); sys.exit(0)\n"
        "f = netcdf_file(sys.argv[1], 'r', mmap=False)\n"
        "v = f.variables['All data'][:]\n"
        "print(' '.join(repr(float(x)) for x in v))\n"
        "print(f.Title.decode('utf-8'), int(f.dimensions['n']))\n";
    doc_test::WriteAll(dir / "read.py", script);
    const std::string out = doc_test::Run("/usr/bin/python3 " + (dir / "read.py") + " " + (dir / "work.cdf") + " 2>&1", status);
    if (out == "skip\n") return;
    EXPECT_EQ(out, "1.0 2.0 3.0 4.0 -0.0 1e-310 7.25 6.0\nMüller – Ωmega 8\n");
}

// A file of the attributes given, with the counts of an empty work and its one variable.
void AddEmptyWork(cdfFile& f) {
    f.AddAttribute("Number series and parameters", cdfFile::kInt, {0, 0});
    f.globalAttributeCount = static_cast<std::uint32_t>(f.attributes.size());
    cdfFile::variable all;
    all.nameIndex = f.AddName("All data");
    f.variables.push_back(all);
}

TEST(DocumentModel, AttributesAreMatchedWithoutCaseAndReadInTheirOwnWay) {
    cdfFile f;
    f.AddTextAttribute("TITLE", "capitals");
    f.AddAttribute("Multiargumentes schemes", cdfFile::kInt, {0, 0, 1, 0, 1, 1});  // two flags: plane alone
    f.AddAttribute("Distribution of one value", cdfFile::kDouble, {12, 1, 0, 1, 0, 0, 0, 0, 2550});  // another type
    f.AddAttribute("Time of creation", cdfFile::kInt, {1});
    f.AddTextAttribute("Custom approximation", ";;F;;f1;");
    AddEmptyWork(f);
    DocumentSettings s;
    s.legend.xCaption = "kept";
    s.multistat.unitaryArgument = 1;
    DocumentData d;
    DocumentReadNotes notes;
    ASSERT_EQ(ReadDocumentModel(f, s, d, notes), "");
    EXPECT_EQ(std::tie(s.legend.title, s.legend.xCaption, s.approxcustom.transformText), std::tuple("capitals", "kept", "F"));
    EXPECT_EQ(s.approxcustom.basisTexts, std::vector<std::string>{"f1"});
    EXPECT_EQ(std::tuple(s.multistat.plane, s.multistat.parabolic, s.multistat.userDefinedFormula,
                         s.multistat.unitaryArgument, notes.schemesReset),
              std::tuple(1, 0, 0, 0, true));
    EXPECT_EQ(s.distrimution.binCount, 12);
    EXPECT_DOUBLE_EQ(s.distrimution.percentOfData, 25.5);
    EXPECT_EQ(std::tuple(notes.hasActiveTab, notes.seriesCount), std::tuple(false, 0));
}

// Another program's NetCDF file, and a document with any one attribute of the wrong kind or
// with counts that disagree with its variables, would replace the work with an empty one:
// each is refused, saying why.
TEST(DocumentModel, FilesThatAreNoWholeDocumentAreRefused) {
    cdfFile good;
    BuildDocument(Unusual(), SampleData(), good);
    ASSERT_EQ(Refusal(good), "");
    // Each of the 47 attributes in turn: text where numbers are due, numbers where text is.
    for (std::size_t i = 0; i < 47; ++i) {
        cdfFile f = good;
        cdfFile::attribute& a = f.attributes[i];
        const bool text = a.type == cdfFile::kChar;
        a.type = text ? cdfFile::kInt : cdfFile::kChar;
        a.firstValue = 0, a.count = 1;
        EXPECT_EQ(Refusal(f), "The attribute \"" + f.NameOf(a.nameIndex) + "\" is damaged") << i;
    }
    struct Case {
        const char* what;
        std::vector<double> counts;  // "Number series and parameters"; empty: the attribute is missing
        std::size_t variables;       // kept from the front, the last one "All data"
        const char* message;
    } cases[] = {
        {"no series while the file holds the values", {0, 0}, 1, "holds values but announces no series"},
        {"no series, the variables all there", {0, 0}, 7, "holds 7 variables instead of 1"},
        {"a parameter too few", {2, 3}, 7, "holds 7 variables instead of 6"},
        {"a negative count", {-1, 4}, 7, "\"Number series and parameters\" is damaged"},
        {"one value only", {2}, 7, "\"Number series and parameters\" is damaged"},
        {"no counts at all", {}, 7, "not a document of this program"},
    };
    for (const Case& c : cases) {
        cdfFile f = good;
        cdfFile::attribute& counts = f.attributes[46];
        if (c.counts.empty()) f.names[static_cast<std::size_t>(counts.nameIndex)] = "Comment";
        counts.firstValue = static_cast<std::uint32_t>(f.intValues.size());
        counts.count = static_cast<std::uint32_t>(c.counts.size());
        for (double v : c.counts) f.intValues.push_back(static_cast<std::int32_t>(v));
        f.variables.erase(f.variables.begin(), f.variables.end() - static_cast<std::ptrdiff_t>(c.variables));
        const std::string refusal = Refusal(f);
        EXPECT_NE(refusal.find(c.message), std::string::npos) << c.what << ": " << refusal;
    }
    // A classic file of the format's own generator, with a title as many such files carry.
    if (!doc_test::HaveProgram("/usr/bin/ncgen")) GTEST_SKIP() << "ncgen is not installed";
    TempFolder dir;
    doc_test::WriteAll(dir / "other.cdl",
                       "netcdf other {\n dimensions:\n  time = UNLIMITED ; n = 20 ;\n variables:\n  double x(n) ;\n"
                       "  float t(time) ;\n // global attributes:\n  :title = \"measurements\" ;\n"
                       " data:\n  x = 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 ;\n  t = 0.5, 1.5 ;\n}\n");
    int status = 0;
    doc_test::Run("ncgen -k classic -o " + (dir / "other.cdf") + " " + (dir / "other.cdl"), status);
    ASSERT_EQ(status, 0);
    DocumentSettings s;
    DocumentData data;
    DocumentReadNotes notes;
    EXPECT_NE(Load(dir / "other.cdf", s, data, notes).find("not a document of this program"), std::string::npos);
}

// The items and their messages are checked through the fitting page; here the cases it leaves out.
TEST(DocumentModel, UserCoefficientTextOfAFormulaAlone) {
    useruf_settings v;
    std::vector<std::string> messages;
    EXPECT_FALSE(ApplyUserDefinedText("a+b*x$", v, messages));  // keeps the table
    EXPECT_EQ(v.names.size(), 2u);
    EXPECT_EQ(UserDefinedText(useruf_settings{"f", {}, {}, {}, {}, {}, 0, 0}), "f$");
}

TEST(DocumentModel, DamagedDataDescriptionsAreRefused) {
    const DocumentData good = SampleData();
    struct Case {
        const char* what;
        void (*spoil)(DocumentData&);
    } cases[] = {
        {"series reaches behind the values", [](DocumentData& d) { d.series[1].nRecords = 1000000; }},
        {"series overlap", [](DocumentData& d) { d.series[1].firstValue = 2; }},
        {"roles differ between series", [](DocumentData& d) { d.parameters[3].role = 0; }},
        {"series names missing parameters", [](DocumentData& d) { d.series[0].firstParameter = 7; }},
        {"negative count", [](DocumentData& d) { d.series[0].nParameters = -1; }},
        {"more roles than parameters", [](DocumentData& d) { d.series[1].nValues = 5; }},
        {"counts that do not match the roles", [](DocumentData& d) { d.series[0].nValues = 0; }},
    };
    for (const Case& c : cases) {
        DocumentData d = good;
        c.spoil(d);
        cdfFile f;
        BuildDocument(DocumentSettings(), d, f);
        EXPECT_NE(Refusal(f), "") << c.what;
    }
    // Fewer variables than announced.
    cdfFile f;
    BuildDocument(DocumentSettings(), good, f);
    f.variables.resize(3);
    EXPECT_NE(Refusal(f), "");
}

TEST(DocumentModel, DocumentsOfTheOldLayoutStillRead) {
    // The old layout: no dimension, every variable a scalar sharing one begin, "All data"
    // standing for its values through its size alone.
    TempFolder dir;
    const DocumentData d = SampleData();
    cdfFile f;
    BuildDocument(Unusual(), d, f);
    f.dimensions.clear();
    f.dimensionIds.clear();
    for (cdfFile::variable& v : f.variables) v.dimensionCount = 0, v.valuesPerRecord = 0;
    f.variables.back().valuesPerRecord = d.allValues.size();
    ASSERT_TRUE(f.Save(dir / "old.cdf")) << f.error;
    DocumentSettings s;
    DocumentData data;
    DocumentReadNotes notes;
    ASSERT_EQ(Load(dir / "old.cdf", s, data, notes), "");
    EXPECT_EQ(Bits(data.allValues), Bits(d.allValues));
    EXPECT_EQ(data.parameterNames, d.parameterNames);
    EXPECT_EQ(Records(s), Records(Unusual()));
}

namespace {

void Replace(cdfFile& f, const std::string& name, cdfFile::Type type, const std::vector<double>& values) {
    EXPECT_TRUE(doc_test::ReplaceAttribute(f, name, type, values)) << name;
}

}  // namespace

// Numbers the program takes as counts, sizes or loop bounds are held to what their controls
// allow: 32767 colour steps froze the window for seconds, 2^31 - 1 for good.
TEST(DocumentModel, CountsAndSizesAreHeldToTheirControlsRanges) {
    const double big = 2147483647.0, nan = std::numeric_limits<double>::quiet_NaN();
    DocumentData d = SampleData();
    d.parameters[0].markSize = 1000000, d.parameters[1].markShape = -7;
    cdfFile f;
    BuildDocument(Unusual(), d, f);
    Replace(f, "High and low colors", cdfFile::kInt, {0, 0, 0, 255, 255, 255, big, 1, 0});
    Replace(f, "Align of legend", cdfFile::kInt, {-5, big, 50, 101});
    Replace(f, "Border line", cdfFile::kInt, {big, big, 0, 0, 0});
    Replace(f, "Fit line", cdfFile::kShort, {0});
    Replace(f, "Distribution of one value", cdfFile::kInt, {big, 0, 0, 0, 0, 0, 0, 0, big});
    Replace(f, "Distribution of two values", cdfFile::kInt, {big, -big, 1, 0, -5});
    Replace(f, "Results", cdfFile::kInt, {1, 0, big, -1});
    Replace(f, "Collection", cdfFile::kShort, {999, 0, 0});
    Replace(f, "Signals", cdfFile::kInt, {0, 2, 0, 99});
    Replace(f, "Multiargumentes schemes", cdfFile::kInt, {0, 1, 0, 0, big});
    Replace(f, "NearNeighbor percent", cdfFile::kDouble, {nan});
    Replace(f, "Poly Search Param", cdfFile::kInt, {1, 0, big, 0, big, 0, 99, 0});
    DocumentSettings s;
    DocumentData data;
    DocumentReadNotes notes;
    ASSERT_EQ(ReadDocumentModel(f, s, data, notes), "");
    EXPECT_EQ(s.xyview.colorSteps, 255);
    EXPECT_EQ(std::tie(s.legend.titleAlign, s.legend.xCaptionAlign, s.legend.formulaAlign), std::tuple(0, 100, 100));
    EXPECT_EQ(std::tie(s.chart.savedOption, s.chart.borderWidth, s.chart.fittingLineWidth), std::tuple(10, 10, 1));
    EXPECT_EQ(s.distrimution.binCount, 10000);
    EXPECT_DOUBLE_EQ(s.distrimution.percentOfData, 100);
    const distribution2_settings& d2 = s.distribution2;
    EXPECT_EQ(std::tie(d2.firstIntervals, d2.secondIntervals, d2.largestRecordCount), std::tuple(1000, 1, 0));
    EXPECT_EQ(std::tie(s.result.imageWidth, s.result.imageHeight), std::tuple(16384, 0));
    EXPECT_EQ(std::tie(s.collection.selectedModel, s.sinaldlg.spikeWidth, s.sinaldlg.baseLine), std::tuple(24, 3, 4));
    EXPECT_EQ(s.multistat.weightKind, 3);
    EXPECT_EQ(s.multistat.nearNeighborPercent, 0.01);
    const parameters_of_multi_search1_settings& p = s.search;
    // The full search adds randomTerms terms to maxTerms + 1: 29 + 1 + 20 = 50.
    EXPECT_EQ(std::tie(p.maxTerms, p.vainTries, p.randomTerms, p.maxMinutes, p.criterion), std::tuple(29, 10, 20, 1, 4));
    EXPECT_EQ(std::tie(data.parameters[0].markSize, data.parameters[1].markShape), std::tuple(11, 0));
    // Colour steps as the writer stores them (16 bits), and below the spin's range.
    for (const auto& [stored, held] : {std::pair(32767, 255), std::pair(2, 3)}) {
        cdfFile g;
        BuildDocument(Unusual(), d, g);
        Replace(g, "High and low colors", cdfFile::kShort, {0, 0, 0, 255, 255, 255, double(stored), 1, 0});
        ASSERT_EQ(ReadDocumentModel(g, s, data, notes), "");
        EXPECT_EQ(s.xyview.colorSteps, held) << stored;
    }
}

// Lists larger than the pages hold are refused: 256 term bytes read past the 100
// coefficients of the several-argument fits.
TEST(DocumentModel, PolynomialsAndConditionListsLargerThanThePagesHoldAreRefused) {
    cdfFile good;
    BuildDocument(Unusual(), SampleData(), good);  // series of one argument
    struct Case {
        const char* attribute;
        cdfFile::Type type;
        std::size_t values;
        const char* refusal;  // "" when the document is read
    } cases[] = {
        {"Constructor Poly", cdfFile::kByte, 256, "(\"Constructor Poly\") holds 256 terms of 1 argument; a polynomial holds at most 50"},
        {"Constructor Poly", cdfFile::kByte, 50, ""},
        {"Constructor Poly", cdfFile::kByte, 10001, "The attribute \"Constructor Poly\" is damaged"},
        {"Conditions", cdfFile::kInt, 2000, ""},
        {"Conditions", cdfFile::kInt, 2002, "The attribute \"Conditions\" is damaged"},
        {"Conditions borders", cdfFile::kDouble, 2002, "The attribute \"Conditions borders\" is damaged"},
    };
    for (const Case& c : cases) {
        cdfFile f = good;
        Replace(f, c.attribute, c.type, std::vector<double>(c.values, 1));
        const std::string refusal = Refusal(f);
        if (*c.refusal) EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.attribute << " " << c.values << ": " << refusal;
        else EXPECT_EQ(refusal, "") << c.attribute;
    }
    // Without series the polynomial is taken for two arguments at least.
    cdfFile empty;
    AddEmptyWork(empty);
    empty.AddAttribute("Constructor Poly", cdfFile::kByte, std::vector<double>(102, 0));
    ++empty.globalAttributeCount;
    EXPECT_NE(Refusal(empty).find("holds 51 terms of 2 arguments"), std::string::npos) << Refusal(empty);
}

// A name of megabytes is cut where it enters, at a character boundary, and the read says so
// once; so are 10,000 coefficient items that can not be read.
TEST(DocumentModel, LongNamesAndRefusedItemsAreToldInOneRemarkEach) {
    DocumentData d = SampleData();
    d.seriesNames[0] = std::string(kMaxNameBytes - 1, 'x') + "ß" + std::string(10 << 20, 'y');
    d.parameterNames[3] = std::string(kMaxNameBytes + 1, 'p');
    DocumentSettings written = Unusual();
    written.useruf.formula = "a*x";
    written.legend.title = std::string(5 << 20, 't');
    std::string items = "a*x";
    for (int i = 0; i < 10000; ++i) items += "$bad" + std::to_string(i);
    cdfFile f;
    BuildDocument(written, d, f);
    f.texts[f.attributes[32].firstValue] = items;  // "User defiened"
    ASSERT_EQ(f.NameOf(f.attributes[32].nameIndex), "User defiened");
    DocumentSettings s;
    DocumentData data;
    DocumentReadNotes notes;
    ASSERT_EQ(ReadDocumentModel(f, s, data, notes), "");
    EXPECT_EQ(data.seriesNames[0], std::string(kMaxNameBytes - 1, 'x'));
    EXPECT_EQ(data.parameterNames[3], std::string(kMaxNameBytes, 'p'));
    EXPECT_EQ(data.seriesNames[1], d.seriesNames[1]);
    EXPECT_EQ(s.legend.title, std::string(kMaxNameBytes, 't'));
    EXPECT_EQ(notes.messages,
              (std::vector<std::string>{"A caption of the chart longer than 4096 bytes was cut.",
                                        "10000 coefficients of the user formula (\"User defiened\") were left out: No equal "
                                        "symbol. Check and try again.",
                                        "2 names of series or parameters were longer than 4096 bytes and cut to that length."}));
}
