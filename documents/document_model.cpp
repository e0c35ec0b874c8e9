// Writing and reading the document's attributes and variables.
#include "documents/document_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <strings.h>

#include "data/data_store.h"
#include "data/name_limit.h"
#include "fitting/poly_fit.h"
#include "fitting/useruf_item.h"
#include "formula/split_fields.h"
#include "statistics/two_variable_grid.h"

namespace {

using D = std::vector<double>;

constexpr int kMaxPolyTerms = kPolyFitMaxTerms;
// Conditions are added one by one on the distribution page; every painting tests each of
// them on every record, so a document may hold no more than a user would add.
constexpr std::size_t kMaxConditions = 1000;

int Red(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
std::uint32_t Color(int r, int g, int b) {
    return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
           (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

// A stored number as an int: fractions cut toward zero, out-of-range values clamped.
int ToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
int LowByte(double v) { return ToInt(v) & 0xFF; }

D FontValues(const FontRecord& f) {
    return {double(f.height), double(f.width), double(f.escapement), double(f.orientation), double(f.weight),
            double(f.italic), double(f.underline), double(f.strikeOut), double(f.charSet), double(f.outPrecision),
            double(f.clipPrecision), double(f.quality), double(f.pitchAndFamily), double(f.outPrecision)};
}

// The first five values as signed 16-bit numbers, the low byte of values 6 to 14.
void FillFont(const double* v, FontRecord& f) {
    auto s16 = [](double x) { return static_cast<int>(static_cast<std::int16_t>(static_cast<std::uint16_t>(ToInt(x) & 0xFFFF))); };
    f.height = s16(v[0]), f.width = s16(v[1]), f.escapement = s16(v[2]), f.orientation = s16(v[3]), f.weight = s16(v[4]);
    auto b = [&](int i) { return static_cast<unsigned char>(LowByte(v[static_cast<std::size_t>(i)])); };
    f.italic = b(5), f.underline = b(6), f.strikeOut = b(7), f.charSet = b(8), f.outPrecision = b(9);
    f.clipPrecision = b(10), f.quality = b(11), f.pitchAndFamily = b(12), f.outPrecision = b(13);
}

D WithColor(D v, std::uint32_t c) {
    v.push_back(Red(c)), v.push_back(Green(c)), v.push_back(Blue(c));
    return v;
}

// The attribute's values as numbers; false for a text attribute. Byte values are the
// unsigned bytes, as the document writes the low byte of its fields.
bool Numbers(const cdfFile& f, const cdfFile::attribute& a, D& out) {
    out.clear();
    const std::size_t first = a.firstValue, n = a.count;
    auto take = [&](const auto& list, auto convert) {
        if (first > list.size() || n > list.size() - first) return false;
        out.reserve(n);
        for (std::size_t i = 0; i < n; ++i) out.push_back(convert(list[first + i]));
        return true;
    };
    switch (a.type) {
    case cdfFile::kByte: return take(f.byteValues, [](std::int8_t v) { return double(static_cast<std::uint8_t>(v)); });
    case cdfFile::kShort: return take(f.shortValues, [](std::int16_t v) { return double(v); });
    case cdfFile::kInt: return take(f.intValues, [](std::int32_t v) { return double(v); });
    case cdfFile::kFloat: return take(f.floatValues, [](float v) { return double(v); });
    case cdfFile::kDouble: return take(f.doubleValues, [](double v) { return v; });
    default: return false;
    }
}

bool Text(const cdfFile& f, const cdfFile::attribute& a, std::string& out) {
    if (a.type != cdfFile::kChar || a.firstValue >= f.texts.size()) return false;
    out = f.texts[a.firstValue];
    return true;
}

// What reading an attribute works on: the staging settings, the notes, and the one font
// record that the three font attributes share, as the document expects (a face name read
// goes into the font read after it).
struct Reading {
    DocumentSettings& s;
    DocumentReadNotes& notes;
    FontRecord font;
};

// A field of the settings as the document keeps it. A number that the program uses as a
// count, a size or a loop bound is held to the range its control allows (lo to hi), so that
// a document can not ask for more than the user could.
struct Field {
    enum Kind {
        kInt,       // one value
        kReal,      // one value
        kRgb,       // a colour: red, green, blue
        kFont,      // the 14 font values
        kZero,      // a value written as 0 and not read
        kPercent,   // a double kept as a whole number of hundredths
        kWhole,     // a double kept without its fraction
        kText,      // the attribute's text
        kCaption,   // a text drawn on the chart: cut to a length that can be drawn
        kFaceName,  // the text is the face name of the font
    } kind;
    void* at;
    double lo = -std::numeric_limits<double>::infinity();
    double hi = std::numeric_limits<double>::infinity();
};
using Fields = std::vector<Field>;

Field Int(int& f) { return {Field::kInt, &f}; }
Field Int(int& f, int lo, int hi) { return {Field::kInt, &f, double(lo), double(hi)}; }
Field Real(double& f) { return {Field::kReal, &f}; }
Field Real(double& f, double lo, double hi) { return {Field::kReal, &f, lo, hi}; }
Field Rgb(std::uint32_t& f) { return {Field::kRgb, &f}; }
Field Font(FontRecord& f) { return {Field::kFont, &f}; }
Field Zero() { return {Field::kZero, nullptr}; }
Field Percent(double& f, double lo, double hi) { return {Field::kPercent, &f, lo, hi}; }
Field Whole(double& f) { return {Field::kWhole, &f}; }
Field TextOf(std::string& f) { return {Field::kText, &f}; }
Field CaptionOf(std::string& f) { return {Field::kCaption, &f}; }
Field FaceName(FontRecord& f) { return {Field::kFaceName, &f}; }

std::size_t ValueCount(Field::Kind kind) {
    switch (kind) {
    case Field::kRgb: return 3;
    case Field::kFont: return 14;
    case Field::kText:
    case Field::kCaption:
    case Field::kFaceName: return 0;
    default: return 1;
    }
}

void Put(const Field& f, D& values, std::string& text) {
    switch (f.kind) {
    case Field::kInt: values.push_back(*static_cast<const int*>(f.at)); break;
    case Field::kReal: values.push_back(*static_cast<const double*>(f.at)); break;
    case Field::kRgb: values = WithColor(std::move(values), *static_cast<const std::uint32_t*>(f.at)); break;
    case Field::kFont: {
        const D font = FontValues(*static_cast<const FontRecord*>(f.at));
        values.insert(values.end(), font.begin(), font.end());
        break;
    }
    case Field::kZero: values.push_back(0); break;
    case Field::kPercent: values.push_back(ToInt(*static_cast<const double*>(f.at) * 100.0)); break;
    case Field::kWhole: values.push_back(ToInt(*static_cast<const double*>(f.at))); break;
    case Field::kText:
    case Field::kCaption: text = *static_cast<const std::string*>(f.at); break;
    case Field::kFaceName: text = static_cast<const FontRecord*>(f.at)->faceName; break;
    }
}

// x held to lo..hi (NaN to lo).
double Held(double x, double lo, double hi) { return !(x >= lo) ? lo : x > hi ? hi : x; }

// Sets the field from its values, which start at v[at], or from the text.
void Take(const Field& f, const D& v, std::size_t at, const std::string& text, Reading& r) {
    auto I = [&](std::size_t k) { return ToInt(v[at + k]); };
    switch (f.kind) {
    case Field::kInt: *static_cast<int*>(f.at) = static_cast<int>(Held(I(0), f.lo, f.hi)); break;
    case Field::kReal:
        *static_cast<double*>(f.at) = std::isinf(f.lo) && std::isinf(f.hi) ? v[at] : Held(v[at], f.lo, f.hi);
        break;
    case Field::kRgb: *static_cast<std::uint32_t*>(f.at) = Color(I(0), I(1), I(2)); break;
    case Field::kFont:
        FillFont(v.data() + at, r.font);
        *static_cast<FontRecord*>(f.at) = r.font;
        break;
    case Field::kZero: break;
    case Field::kPercent: *static_cast<double*>(f.at) = Held(I(0) * 0.01, f.lo, f.hi); break;
    case Field::kWhole: *static_cast<double*>(f.at) = I(0); break;
    case Field::kText: *static_cast<std::string*>(f.at) = text; break;
    case Field::kCaption: {
        std::string& caption = *static_cast<std::string*>(f.at);
        caption = text;
        if (LimitNameLength(caption))
            r.notes.messages.push_back("A caption of the chart longer than " + std::to_string(kMaxNameBytes) +
                                       " bytes was cut.");
        break;
    }
    case Field::kFaceName: r.font.faceName = text.substr(0, 31); break;
    }
}

// One global attribute of the document: its name and type, the number of values the reader
// needs, the fields its values fill in order (a field whose values are all there is read),
// the routine run after reading (false: the document is damaged) and, for values that are
// no plain fields, the routine that writes them.
struct AttributeRule {
    const char* name;
    cdfFile::Type type;
    std::size_t least;
    Fields (*fields)(DocumentSettings&) = nullptr;
    bool (*after)(Reading&, const D&, const std::string&) = nullptr;
    void (*write)(const DocumentSettings&, const DocumentDataView&, D&, std::string&) = nullptr;
};

using S = DocumentSettings;
using T = cdfFile;

// The 47 attributes in write order.
const AttributeRule kAttributes[] = {
    {"Active parameter", T::kInt, 1, [](S& s) -> Fields { return {Int(s.activeParameter)}; }},
    {"Active tab", T::kInt, 2, [](S& s) -> Fields { return {Int(s.activePage), Int(s.selectedTab)}; },
     [](Reading& r, const D&, const std::string&) { return r.notes.hasActiveTab = true; }},
    {"Title", T::kChar, 0, [](S& s) -> Fields { return {CaptionOf(s.legend.title)}; }},
    {"x_axis", T::kChar, 0, [](S& s) -> Fields { return {CaptionOf(s.legend.xCaption)}; }},
    {"y_axis", T::kChar, 0, [](S& s) -> Fields { return {CaptionOf(s.legend.yCaption)}; }},
    {"Show formulas on screen", T::kByte, 1, [](S& s) -> Fields { return {Int(s.legend.showFormulas)}; }},
    {"Show formulas on screen overlaped", T::kByte, 1, [](S& s) -> Fields { return {Int(s.legend.overlap)}; }},
    {"Align of legend", T::kInt, 4,
     [](S& s) -> Fields {
         legend_settings& l = s.legend;
         // The sliders' range.
         return {Int(l.titleAlign, 0, 100), Int(l.xCaptionAlign, 0, 100), Int(l.yCaptionAlign, 0, 100), Int(l.formulaAlign, 0, 100)};
     }},
    {"Color of active field", T::kByte, 3, [](S& s) -> Fields { return {Rgb(s.chart.chartAreaColor)}; }},
    {"Color of border area", T::kByte, 3, [](S& s) -> Fields { return {Rgb(s.chart.borderAreaColor)}; }},
    {"Title font name", T::kChar, 0, [](S& s) -> Fields { return {FaceName(s.legend.titleFontRecord)}; }},
    {"Title font attributes", T::kShort, 14,
     [](S& s) -> Fields { return {Font(s.legend.titleFontRecord), Rgb(s.legend.titleColor)}; }},
    {"Formula font name", T::kChar, 0, [](S& s) -> Fields { return {FaceName(s.legend.formulaFontRecord)}; }},
    {"Formula font attributes", T::kShort, 14, [](S& s) -> Fields { return {Font(s.legend.formulaFontRecord)}; }},
    {"Axis font name", T::kChar, 0, [](S& s) -> Fields { return {FaceName(s.legend.axisFontRecord)}; }},
    {"Axis font attributes", T::kShort, 14,
     [](S& s) -> Fields { return {Font(s.legend.axisFontRecord), Rgb(s.legend.captionColor)}; }},
    {"Border line", T::kShort, 5,
     // Line widths as the Chart page's spins step them: 0 to 10, the fitting line 1 to 7.
     [](S& s) -> Fields { return {Int(s.chart.savedOption, 0, 10), Int(s.chart.borderWidth, 0, 10), Rgb(s.chart.borderLineColor)}; }},
    {"Grid line", T::kShort, 5, [](S& s) -> Fields { return {Zero(), Int(s.chart.gridWidth, 0, 10), Rgb(s.chart.sceneLineColor)}; }},
    {"Fit line", T::kShort, 1, [](S& s) -> Fields { return {Int(s.chart.fittingLineWidth, 1, 7)}; }},
    {"High and low colors", T::kShort, 9,
     [](S& s) -> Fields {
         xyview_settings& x = s.xyview;
         return {Rgb(x.highColor), Rgb(x.lowColor), Int(x.colorSteps, 3, 255), Int(x.colorMapMode), Int(x.show3D)};
     }},
    {"Min and max on screen", T::kDouble, 6,
     [](S& s) -> Fields {
         xyview_settings& x = s.xyview;
         return {Real(x.xMin), Real(x.xMax), Real(x.yMin), Real(x.yMax), Real(x.zMin), Real(x.zMax)};
     }},
    {"Auto zoom", T::kByte, 1, [](S& s) -> Fields { return {Int(s.xyview.autozoom)}; }},
    {"3D point of view", T::kDouble, 9,
     [](S& s) -> Fields {
         d3view_settings& d = s.d3view;
         return {Real(d.eyeX), Real(d.eyeY),          Real(d.eyeZ),    Real(d.azimuth), Real(d.elevation),
                 Real(d.zoom), Real(d.orbitDistance), Real(d.eyeStep), Real(d.angleStep)};
     }},
    // The view flag of the xyview page follows the two-dimensional flag; the last two values
    // are not in every document.
    {"Paint in xy_Style", T::kByte, 3,
     [](S& s) -> Fields {
         return {Int(s.d3view.twoDimensional), Int(s.xyview.histogram), Int(s.xyview.autozoom), Int(s.useruf.plusConst),
                 Int(s.view3D)};
     },
     [](Reading& r, const D&, const std::string&) {
         r.s.xyview.show3D = r.s.d3view.twoDimensional == 0 ? 1 : 0;
         return true;
     }},
    {"XY statistical scheme", T::kShort, 9,
     [](S& s) -> Fields {
         xystatistic_settings& x = s.xystatistic;
         return {Int(x.constructorStyle), Int(x.customFormulas), Int(x.fromListOfFormulas),
                 Int(x.peaksRevealing),   Int(x.userFormula),    Int(x.correlationCoefficient),
                 Int(x.polynomFitting),   Int(x.harmonicAnalysis), Int(x.searchForBestFormula)};
     }},
    {"Distribution of one value", T::kShort, 9,
     [](S& s) -> Fields {
         distrimution_settings& d = s.distrimution;
         // Bins as a typed count is held (1 to 10000); the percent of data 0 to 100.
         return {Int(d.binCount, 1, 10000), Int(d.showPoisson),     Int(d.showStudent),
                 Int(d.autoIntervals),      Int(d.showErlang),      Int(d.showMedian),
                 Int(d.minAbsDeviation),    Int(d.maxConcentration), Percent(d.percentOfData, 0, 100)};
     }},
    {"Distribution of two values", T::kInt, 5,
     [](S& s) -> Fields {
         distribution2_settings& d = s.distribution2;
         return {Int(d.firstIntervals, 1, kMaxTwoVariableIntervals), Int(d.secondIntervals, 1, kMaxTwoVariableIntervals),
                 Int(d.autoIntervals), Int(d.maximumDensity), Int(d.largestRecordCount, 0, std::numeric_limits<int>::max())};
     }},
    {"Results", T::kInt, 4,
     [](S& s) -> Fields {
         result_settings& r = s.result;
         // The picture's sides: 0 (not typed yet) to the largest the page allows.
         return {Int(r.visibleDataOnly), Int(r.actualScreenSize), Int(r.imageWidth, 0, 16384), Int(r.imageHeight, 0, 16384)};
     }},
    // The count of transform codes, the codes, the y transform.
    {"Constructor", T::kByte, 1, nullptr,
     [](Reading& r, const D& v, const std::string&) {
         const int n = ToInt(v[0]);
         constructor_settings& c = r.s.constructor;
         if (n < 0 || n > constructor_settings::kCodeSlots || v.size() < static_cast<std::size_t>(n) + 2) return false;
         c.selectedCodeCount = n;
         for (int i = 0; i < n; ++i) c.selectedCodes[static_cast<std::size_t>(i)] = LowByte(v[static_cast<std::size_t>(i) + 1]);
         c.yTransform = LowByte(v[static_cast<std::size_t>(n) + 1]);
         return true;
     },
     [](const S& s, const DocumentDataView&, D& v, std::string&) {
         const constructor_settings& c = s.constructor;
         v.push_back(c.selectedCodeCount);
         for (int i = 0; i < c.selectedCodeCount && i < constructor_settings::kCodeSlots; ++i)
             v.push_back(c.selectedCodes[static_cast<std::size_t>(i)]);
         v.push_back(c.yTransform);
     }},
    {"Constructor periods", T::kDouble, 6,
     [](S& s) -> Fields {
         std::array<double, 6>& p = s.constructor.periodValues;
         return {Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Real(p[4]), Real(p[5])};
     }},
    {"Show standard deviation constructor", T::kByte, 1, [](S& s) -> Fields { return {Int(s.constructor.showDeviationLines)}; }},
    {"Custom approximation", T::kChar, 0, nullptr,
     [](Reading& r, const D&, const std::string& text) {
         ApplyCustomApproximationText(text, r.s.approxcustom);
         return true;
     },
     [](const S& s, const DocumentDataView&, D&, std::string& text) { text = CustomApproximationText(s.approxcustom); }},
    {"User defiened", T::kChar, 0, nullptr,
     // Items that fail to parse are left out and told in one remark, however many there are.
     [](Reading& r, const D&, const std::string& text) {
         std::vector<std::string> refused;
         if (ApplyUserDefinedText(text, r.s.useruf, refused)) r.notes.hasUserCoefficients = true;
         if (!refused.empty())
             r.notes.messages.push_back(std::to_string(refused.size()) +
                                        (refused.size() == 1 ? " coefficient of the user formula (\"User defiened\") was"
                                                             : " coefficients of the user formula (\"User defiened\") were") +
                                        " left out: " + refused.front());
         return true;
     },
     [](const S& s, const DocumentDataView&, D&, std::string& text) { text = UserDefinedText(s.useruf); }},
    {"Collection", T::kShort, 3,
     [](S& s) -> Fields {
         collection_settings& c = s.collection;
         return {Int(c.selectedModel, 0, 24), Int(c.searchRequested), Int(c.showDeviationLines)};
     }},
    {"Signals", T::kInt, 4,
     [](S& s) -> Fields {
         sinaldlg_settings& g = s.sinaldlg;
         // A spike is at least 3 points wide; five base-line corrections.
         return {Int(g.spikeWidth, 3, std::numeric_limits<int>::max()), Whole(g.noiseFactor), Int(g.chromatogramOnly),
                 Int(g.baseLine, 0, 4)};
     }},
    // Older documents hold five to eight values. "Best polynome" is that scheme alone, as its
    // button makes it; two or more schemes read back as the plane alone.
    {"Multiargumentes schemes", T::kInt, 5,
     [](S& s) -> Fields {
         multistat_settings& m = s.multistat;
         return {Int(m.correlation),     Int(m.plane),        Int(m.parabolic),
                 Int(m.nearNeighbors),   Int(m.weightKind, 0, 3), Int(m.userDefinedFormula),
                 Int(m.unitaryArgument), Int(m.bestPolynome), Int(m.bestPolynomeAuto)};
     },
     [](Reading& r, const D& v, const std::string&) {
         multistat_settings& m = r.s.multistat;
         if (v.size() >= 8 && m.bestPolynome) {
             m.correlation = m.plane = m.parabolic = m.nearNeighbors = m.userDefinedFormula = m.unitaryArgument = 0;
             if (v.size() < 9) m.bestPolynomeAuto = 0;
             m.bestPolynome = 1;
             r.notes.ranBestPolynome = true;
         }
         const int set = (m.correlation != 0) + (m.plane != 0) + (m.parabolic != 0) + (m.nearNeighbors != 0) +
                         (m.userDefinedFormula != 0) + (m.unitaryArgument != 0) + (m.bestPolynome != 0) +
                         (m.bestPolynomeAuto != 0);
         r.notes.schemesReset = set >= 2;
         if (set >= 2) {
             m.correlation = m.parabolic = m.nearNeighbors = m.userDefinedFormula = 0;
             m.unitaryArgument = m.bestPolynome = m.bestPolynomeAuto = 0;
             m.plane = 1;
         }
         return true;
     }},
    {"NearNeighbor percent", T::kDouble, 1, [](S& s) -> Fields { return {Real(s.multistat.nearNeighborPercent, 0.01, 50)}; }},
    {"Constructor Poly", T::kByte, 0, nullptr,
     // At most the codes a polynomial holds; whether its terms fit is known with the data's
     // argument count (ReadDocumentModel).
     [](Reading& r, const D& v, const std::string&) {
         std::vector<unsigned>& terms = r.s.constructorMulti.currentPolyTerms;
         if (v.size() > std::size_t(kPolyFitMaxCodes)) return false;
         terms.clear();
         for (double x : v) terms.push_back(static_cast<unsigned>(LowByte(x)));
         return r.notes.hasPolyTerms = true;
     },
     [](const S& s, const DocumentDataView&, D& v, std::string&) {
         v.assign(s.constructorMulti.currentPolyTerms.begin(), s.constructorMulti.currentPolyTerms.end());
     }},
    {"Poly Search Param", T::kInt, 8,
     [](S& s) -> Fields {
         parameters_of_multi_search1_settings& p = s.search;
         // The settings dialog's ranges.
         return {Int(p.includeConstant),        Int(p.continueFromCurrent), Int(p.maxTerms, 2, 40),
                 Int(p.vainTries, 10, 1000000), Int(p.randomTerms, 2, 20),  Int(p.maxMinutes, 1, 20000),
                 Int(p.criterion, 0, 4),        Int(p.saveLog)};
     },
     // The full search adds randomTerms terms to up to maxTerms + 1: a polynomial holds 50.
     [](Reading& r, const D&, const std::string&) {
         parameters_of_multi_search1_settings& p = r.s.search;
         if (p.maxTerms + p.randomTerms > kMaxPolyTerms - 1) p.maxTerms = kMaxPolyTerms - 1 - p.randomTerms;
         return true;
     }},
    {"Multisearch result file", T::kChar, 0, [](S& s) -> Fields { return {TextOf(s.search.logFile)}; }},
    // Two values per condition each: the parameter and the operation, then the borders.
    {"Conditions", T::kInt, 0, nullptr,
     [](Reading& r, const D& v, const std::string&) {
         std::vector<conditions>& list = r.s.distrimution.conditions;
         if (v.size() / 2 > kMaxConditions) return false;
         list.resize(v.size() / 2);
         for (std::size_t k = 0; k < list.size(); ++k) list[k].parameterIndex = ToInt(v[2 * k]), list[k].operation = ToInt(v[2 * k + 1]);
         return true;
     },
     [](const S& s, const DocumentDataView&, D& v, std::string&) {
         for (const conditions& c : s.distrimution.conditions) v.push_back(c.parameterIndex), v.push_back(c.operation);
     }},
    {"Conditions borders", T::kDouble, 0, nullptr,
     [](Reading& r, const D& v, const std::string&) {
         std::vector<conditions>& list = r.s.distrimution.conditions;
         if (v.size() / 2 > kMaxConditions) return false;
         list.resize(v.size() / 2);
         for (std::size_t k = 0; k < list.size(); ++k) list[k].from = v[2 * k], list[k].till = v[2 * k + 1];
         return true;
     },
     [](const S& s, const DocumentDataView&, D& v, std::string&) {
         for (const conditions& c : s.distrimution.conditions) v.push_back(c.from), v.push_back(c.till);
     }},
    {"Calculator", T::kInt, 3,
     [](S& s) -> Fields {
         calculator_settings& c = s.calculator;
         return {Int(c.sortOff), Int(c.sortAscending), Int(c.sortDescending)};
     }},
    {"Calculator argumentes", T::kChar, 0, [](S& s) -> Fields { return {TextOf(s.calculator.argumentText)}; }},
    {"Calculator file from", T::kChar, 0, [](S& s) -> Fields { return {TextOf(s.calculator.inputFile)}; }},
    {"Calculator file out", T::kChar, 0, [](S& s) -> Fields { return {TextOf(s.calculator.outputFile)}; }},
    {"Number series and parameters", T::kInt, 2, nullptr,
     [](Reading& r, const D& v, const std::string&) {
         r.notes.seriesCount = ToInt(v[0]), r.notes.parameterCount = ToInt(v[1]);
         r.notes.hasCounts = true;
         return r.notes.seriesCount >= 0 && r.notes.parameterCount >= 0;
     },
     [](const S&, const DocumentDataView& data, D& v, std::string&) {
         v = {double(data.series.size()), double(data.parameters.size())};
     }},
};
static_assert(std::size(kAttributes) == 47);

const AttributeRule* RuleOf(const std::string& name) {
    for (const AttributeRule& rule : kAttributes)
        if (strcasecmp(name.c_str(), rule.name) == 0) return &rule;
    return nullptr;
}

// Reads one global attribute by its rule; false when it is of the other kind (text for
// numbers, numbers for text), has fewer values than the rule needs or its routine refuses it.
bool ReadAttribute(const AttributeRule& rule, const cdfFile& f, const cdfFile::attribute& a, Reading& r) {
    std::string text;
    D v;
    const bool isText = rule.type == cdfFile::kChar;
    if (Text(f, a, text) != isText) return false;
    if (!isText && (!Numbers(f, a, v) || v.size() < rule.least)) return false;
    if (rule.fields) {
        std::size_t at = 0;
        for (const Field& field : rule.fields(r.s)) {
            const std::size_t n = ValueCount(field.kind);
            if (at + n > v.size() && n > 0) break;
            Take(field, v, at, text, r);
            at += n;
        }
    }
    return !rule.after || rule.after(r, v, text);
}

void WriteAttributes(const DocumentSettings& settings, const DocumentDataView& data, cdfFile& f) {
    DocumentSettings s = settings;  // the rules bind writable fields
    for (const AttributeRule& rule : kAttributes) {
        D values;
        std::string text;
        if (rule.fields)
            for (const Field& field : rule.fields(s)) Put(field, values, text);
        if (rule.write) rule.write(s, data, values, text);
        if (rule.type == cdfFile::kChar) f.AddTextAttribute(rule.name, text);
        else f.AddAttribute(rule.name, rule.type, values);
    }
    f.globalAttributeCount = static_cast<std::uint32_t>(f.attributes.size());
}

// The first values of a variable's attribute number k, or false.
bool VariableNumbers(const cdfFile& f, const cdfFile::variable& var, std::uint32_t k, std::size_t need, D& out) {
    if (k >= var.attributeCount) return false;
    const std::size_t index = std::size_t(var.firstAttribute) + k;
    if (index >= f.attributes.size()) return false;
    return Numbers(f, f.attributes[index], out) && out.size() >= need;
}

std::string RebuildData(cdfFile& f, const DocumentReadNotes& notes, DocumentData& data, std::vector<std::string>& messages) {
    const std::size_t S = static_cast<std::size_t>(notes.seriesCount), P = static_cast<std::size_t>(notes.parameterCount);
    std::size_t namesCut = 0;
    D v;
    for (std::size_t s = 0; s < S; ++s) {
        const cdfFile::variable& var = f.variables[s];
        if (!VariableNumbers(f, var, 0, 6, v)) return "The description of series " + std::to_string(s + 1) + " is damaged";
        Series r;
        r.firstParameter = ToInt(v[0]), r.firstValue = ToInt(v[1]), r.nArguments = ToInt(v[2]);
        r.nParameters = ToInt(v[3]), r.nRecords = ToInt(v[4]), r.nValues = ToInt(v[5]);
        data.series.push_back(r);
        data.seriesNames.push_back(f.NameOf(var.nameIndex));
        namesCut += LimitNameLength(data.seriesNames.back());
    }
    D c;
    for (std::size_t p = S; p < S + P; ++p) {
        const cdfFile::variable& var = f.variables[p];
        if (!VariableNumbers(f, var, 0, 4, v) || !VariableNumbers(f, var, 1, 3, c))
            return "The description of parameter " + std::to_string(p - S + 1) + " is damaged";
        // Marks as the Data page offers them: sizes 0 to 10 (11 automatic), shapes 0 to 15.
        Initial i;
        i.role = ToInt(v[0]), i.autoSize = ToInt(v[1]);
        i.markSize = static_cast<int>(Held(ToInt(v[2]), 0, 11)), i.markShape = static_cast<int>(Held(ToInt(v[3]), 0, 15));
        i.color = static_cast<std::int32_t>(Color(LowByte(c[0]), LowByte(c[1]), LowByte(c[2])));
        data.parameters.push_back(i);
        data.parameterNames.push_back(f.NameOf(var.nameIndex));
        namesCut += LimitNameLength(data.parameterNames.back());
    }
    if (namesCut)
        messages.push_back(std::to_string(namesCut) +
                           (namesCut == 1 ? " name of a series or parameter was" : " names of series or parameters were") +
                           " longer than " + std::to_string(kMaxNameBytes) + " bytes and cut to that length.");
    const cdfFile::variable& all = f.variables[S + P];
    if (all.type != cdfFile::kDouble) return "The values of the document (\"All data\") are not numbers of double precision";
    const std::uint64_t n = all.totalValues;
    if (all.firstValue > f.doubleData.size() || n > f.doubleData.size() - all.firstValue)
        return "The values of the document (\"All data\") are incomplete";
    if (all.firstValue == 0 && n == f.doubleData.size()) {
        data.allValues = std::move(f.doubleData);
    } else {
        data.allValues.assign(f.doubleData.begin() + static_cast<std::ptrdiff_t>(all.firstValue),
                              f.doubleData.begin() + static_cast<std::ptrdiff_t>(all.firstValue + n));
    }
    // Every series must lie within the values and the parameters it names.
    for (std::size_t s = 0; s < S; ++s) {
        const Series& r = data.series[s];
        const std::string which = "Series " + std::to_string(s + 1) + " of the document ";
        if (r.nParameters < 0 || r.nRecords < 0 || r.firstParameter < 0 || r.firstValue < 0 || r.nArguments < 0 || r.nValues < 0)
            return which + "has negative counts";
        if (std::uint64_t(r.firstParameter) + std::uint64_t(r.nParameters) > P) return which + "names parameters the document does not hold";
        if (std::uint64_t(r.nArguments) + std::uint64_t(r.nValues) > std::uint64_t(r.nParameters))
            return which + "has more arguments and values than parameters";
        if (std::uint64_t(r.firstValue) + std::uint64_t(r.nRecords) * std::uint64_t(r.nParameters) > n)
            return which + "reaches behind the values the document holds";
    }
    return std::string();
}

}  // namespace

std::string CustomApproximationText(const approxcustom_settings& a) {
    std::string t = a.transformText + ";";
    for (std::size_t i = 0; i < a.basisTexts.size(); ++i) {
        if (i) t += ";";
        t += a.basisTexts[i];
    }
    return t;
}

void ApplyCustomApproximationText(const std::string& text, approxcustom_settings& a) {
    std::vector<std::string> fields;
    if (SplitFields(text, ";", fields) < 1) return;
    a.transformText = fields[0];
    a.basisTexts.assign(fields.begin() + 1, fields.end());
    a.basisCount = static_cast<int>(a.basisTexts.size());
}

void BuildDocument(const DocumentSettings& s, const DocumentData& data, cdfFile& f) {
    BuildDocument(s, DocumentDataView{data.allValues, data.series, data.seriesNames, data.parameters, data.parameterNames}, f);
    // The file keeps a copy: it may outlive data.
    f.doubleData = data.allValues;
    f.doubleSource = {};
}

void BuildDocument(const DocumentSettings& s, const DocumentDataView& data, cdfFile& f) {
    f.Clear();
    WriteAttributes(s, data, f);

    // A record dimension with no record, so the series and parameter variables carry their
    // descriptions without data, and the dimension of the values.
    const std::uint64_t n = data.allValues.size();
    f.AddDimension("none", 0);
    if (n > 0) f.AddDimension("n", static_cast<std::uint32_t>(std::min<std::uint64_t>(n, 0xFFFFFFFFu)));
    f.dimensionIds = {0, 1};
    auto addVariable = [&](const std::string& varName, std::uint32_t dimension, std::uint64_t values, std::uint32_t attributeCount) {
        cdfFile::variable v;
        v.nameIndex = f.AddName(varName);
        v.type = cdfFile::kDouble;
        v.dimensionCount = 1;
        v.firstDimension = dimension;
        v.valuesPerRecord = values;
        v.firstAttribute = static_cast<std::uint32_t>(f.attributes.size());
        v.attributeCount = attributeCount;
        f.variables.push_back(v);
    };
    for (std::size_t i = 0; i < data.series.size(); ++i) {
        const Series& r = data.series[i];
        addVariable(i < data.seriesNames.size() ? data.seriesNames[i] : std::string(), 0, 1, 1);
        f.AddAttribute("Data", T::kInt,
                       {double(r.firstParameter), double(r.firstValue), double(r.nArguments), double(r.nParameters), double(r.nRecords), double(r.nValues)});
    }
    for (std::size_t i = 0; i < data.parameters.size(); ++i) {
        const Initial& p = data.parameters[i];
        addVariable(i < data.parameterNames.size() ? data.parameterNames[i] : std::string(), 0, 1, 2);
        f.AddAttribute("aorv size auto shape", T::kInt, {double(p.role), double(p.autoSize), double(p.markSize), double(p.markShape)});
        const std::uint32_t c = static_cast<std::uint32_t>(p.color);
        f.AddAttribute("color", T::kShort, WithColor({}, c));
    }
    addVariable("All data", n > 0 ? 1 : 0, n > 0 ? n : 1, 0);
    cdfFile::variable& all = f.variables.back();
    all.totalValues = n;
    f.doubleSource = data.allValues;
    f.numrecs = 0;
}

std::string ReadDocumentModel(cdfFile& file, DocumentSettings& staging, DocumentData& data, DocumentReadNotes& notes) {
    notes = DocumentReadNotes();
    data = DocumentData();
    Reading reading{staging, notes, FontRecord()};
    for (std::uint32_t i = 0; i < file.globalAttributeCount && i < file.attributes.size(); ++i) {
        const cdfFile::attribute& a = file.attributes[i];
        const std::string& n = file.NameOf(a.nameIndex);
        const AttributeRule* rule = RuleOf(n);
        if (rule && !ReadAttribute(*rule, file, a, reading)) return "The attribute \"" + n + "\" is damaged";
    }
    // Without its counts a file is no document of ours (another program's NetCDF file), and
    // counts that disagree with the variables mean a damaged one: either would replace the
    // work with what is not there.
    if (!notes.hasCounts)
        return "The file is not a document of this program: it has no attribute \"Number series and parameters\"";
    const std::uint64_t variablesNeeded = std::uint64_t(notes.seriesCount) + std::uint64_t(notes.parameterCount) + 1;
    if (file.variables.size() != variablesNeeded)
        return "The document announces " + std::to_string(notes.seriesCount) + " series and " +
               std::to_string(notes.parameterCount) + " parameters but holds " + std::to_string(file.variables.size()) +
               " variables instead of " + std::to_string(variablesNeeded);
    if (notes.seriesCount == 0) {
        if (notes.parameterCount != 0) return "The document announces parameters without a series";
        if (file.variables.back().totalValues != 0) return "The document holds values but announces no series";
    }
    if (notes.seriesCount >= 1) {
        const std::string fault = RebuildData(file, notes, data, notes.messages);
        if (!fault.empty()) return fault;
        // The rebuilt store must hold together before it replaces the current one.
        DataStore store;
        std::string broken = MoveDocumentDataInto(data, staging.activeParameter, store)
                                 ? CheckStoreInvariants(store)
                                 : "the values of two series overlap";
        data.allValues = std::move(store.allValues);
        data.series = std::move(store.series);
        data.seriesNames = std::move(store.seriesNames);
        data.parameters = std::move(store.parameters);
        data.parameterNames = std::move(store.parameterNames);
        if (!broken.empty()) return "The data of the document do not hold together: " + broken;
    }
    // The several-argument fits keep a coefficient per term in room for 100: the document's
    // polynomial must fit its data (at least two arguments when it holds none).
    const std::size_t codes = staging.constructorMulti.currentPolyTerms.size();
    const std::size_t arguments = data.series.empty() ? 2 : std::size_t(std::max(1, data.series[0].nArguments));
    if (notes.hasPolyTerms && codes / arguments > std::size_t(kMaxPolyTerms))
        return "The polynomial of the document (\"Constructor Poly\") holds " + std::to_string(codes / arguments) +
               " terms of " + std::to_string(arguments) + (arguments == 1 ? " argument" : " arguments") +
               "; a polynomial holds at most " + std::to_string(kMaxPolyTerms);
    return std::string();
}

int MoveDocumentDataInto(DocumentData& data, int activeParameter, DataStore& store) {
    store.allValues = std::move(data.allValues);
    store.series = std::move(data.series);
    store.seriesNames = std::move(data.seriesNames);
    store.parameters = std::move(data.parameters);
    store.parameterNames = std::move(data.parameterNames);
    store.parameterTexts.assign(store.parameters.size(), "0");
    store.parametersPerSeries = store.series.empty() ? 0 : store.series[0].nParameters;
    store.argumentCount = store.series.empty() ? 0 : store.series[0].nArguments;
    store.activeParameter = activeParameter;
    return store.CompactValues();
}

bool SameWork(DocumentSettings a, DocumentSettings b) {
    for (DocumentSettings* s : {&a, &b}) {
        // Where the user looks and what is selected, not the work itself.
        s->activePage = s->selectedTab = s->activeParameter = s->view3D = 0;
        s->d3view = d3view_settings();
        s->distribution2.largestRecordCount = 0;
        if (s->xyview.autozoom) s->xyview.xMin = s->xyview.xMax = s->xyview.yMin = s->xyview.yMax = s->xyview.zMin = s->xyview.zMax = 0;
        if (s->result.actualScreenSize) s->result.imageWidth = s->result.imageHeight = 0;
    }
    return a.activeParameter == b.activeParameter && a.view3D == b.view3D && a.legend == b.legend && a.chart == b.chart &&
           a.xyview == b.xyview && a.xystatistic == b.xystatistic && a.distrimution == b.distrimution &&
           a.distribution2 == b.distribution2 && a.result == b.result && a.constructor == b.constructor &&
           a.approxcustom == b.approxcustom && a.useruf == b.useruf && a.collection == b.collection &&
           a.sinaldlg == b.sinaldlg && a.multistat == b.multistat && a.constructorMulti == b.constructorMulti &&
           a.search == b.search && a.calculator == b.calculator;
}

namespace {

std::uint64_t Mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h * 0xFF51AFD7ED558CCDull;
}

std::uint64_t MixBytes(std::uint64_t h, const void* p, std::size_t n) {
    const auto* c = static_cast<const unsigned char*>(p);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, c + i, 8);
        h = Mix(h, w);
    }
    std::uint64_t tail = n;
    for (; i < n; ++i) tail = (tail << 8) | c[i];
    return Mix(h, tail);
}

}  // namespace

std::uint64_t DataFingerprint(const DocumentDataView& d) {
    std::uint64_t h = 1469598103934665603ull;
    h = MixBytes(h, d.allValues.data(), d.allValues.size_bytes());
    h = MixBytes(h, d.series.data(), d.series.size_bytes());
    h = MixBytes(h, d.parameters.data(), d.parameters.size_bytes());
    for (const std::string& s : d.seriesNames) h = MixBytes(h, s.data(), s.size());
    for (const std::string& s : d.parameterNames) h = MixBytes(h, s.data(), s.size());
    return h;
}
