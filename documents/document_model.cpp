// Writing and reading the document's attributes and variables.
#include "documents/document_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <strings.h>

#include "data/data_store.h"
#include "fitting/useruf_item.h"
#include "formula/split_fields.h"

const char* const kDocumentAttributeNames[47] = {
    "Active parameter",
    "Active tab",
    "Title",
    "x_axis",
    "y_axis",
    "Show formulas on screen",
    "Show formulas on screen overlaped",
    "Align of legend",
    "Color of active field",
    "Color of border area",
    "Title font name",
    "Title font attributes",
    "Formula font name",
    "Formula font attributes",
    "Axis font name",
    "Axis font attributes",
    "Border line",
    "Grid line",
    "Fit line",
    "High and low colors",
    "Min and max on screen",
    "Auto zoom",
    "3D point of view",
    "Paint in xy_Style",
    "XY statistical scheme",
    "Distribution of one value",
    "Distribution of two values",
    "Results",
    "Constructor",
    "Constructor periods",
    "Show standard deviation constructor",
    "Custom approximation",
    "User defiened",
    "Collection",
    "Signals",
    "Multiargumentes schemes",
    "NearNeighbor percent",
    "Constructor Poly",
    "Poly Search Param",
    "Multisearch result file",
    "Conditions",
    "Conditions borders",
    "Calculator",
    "Calculator argumentes",
    "Calculator file from",
    "Calculator file out",
    "Number series and parameters",
};

namespace {

using D = std::vector<double>;

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
void FillFont(const D& v, FontRecord& f) {
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

int Index(const char* name) {
    for (int i = 0; i < 47; ++i)
        if (strcasecmp(name, kDocumentAttributeNames[i]) == 0) return i;
    return -1;
}

// Applies one global attribute; false for one of the wrong kind (text for numbers or numbers
// for text) or with fewer values than its fields need: the document is damaged.
bool ApplyAttribute(const cdfFile& f, const cdfFile::attribute& a, int which, DocumentSettings& s, DocumentReadNotes& notes,
                    FontRecord& font) {
    std::string text;
    D v;
    const bool isText = Text(f, a, text);
    const bool isNumbers = !isText && Numbers(f, a, v);
    bool bad = false;
    auto need = [&](std::size_t n) {
        const bool ok = isNumbers && v.size() >= n;
        bad = bad || !ok;
        return ok;
    };
    auto textOk = [&] {
        bad = bad || !isText;
        return isText;
    };
    auto numbersOk = [&] { return need(0); };
    auto I = [&](std::size_t i) { return ToInt(v[i]); };
    legend_settings& lg = s.legend;
    chart_settings& ch = s.chart;
    xyview_settings& xy = s.xyview;
    switch (which) {
    case 0: if (need(1)) s.activeParameter = I(0); break;
    case 1:
        if (need(2)) s.activePage = I(0), s.selectedTab = I(1), notes.hasActiveTab = true;
        break;
    case 2: if (textOk()) lg.title = text; break;
    case 3: if (textOk()) lg.xCaption = text; break;
    case 4: if (textOk()) lg.yCaption = text; break;
    case 5: if (need(1)) lg.showFormulas = I(0); break;
    case 6: if (need(1)) lg.overlap = I(0); break;
    case 7:
        if (need(4)) lg.titleAlign = I(0), lg.xCaptionAlign = I(1), lg.yCaptionAlign = I(2), lg.formulaAlign = I(3);
        break;
    case 8: if (need(3)) ch.chartAreaColor = Color(I(0), I(1), I(2)); break;
    case 9: if (need(3)) ch.borderAreaColor = Color(I(0), I(1), I(2)); break;
    case 10:
    case 12:
    case 14:
        if (textOk()) font.faceName = text.substr(0, 31);
        break;
    case 11:
        if (need(14)) {
            FillFont(v, font);
            lg.titleFontRecord = font;
            if (v.size() >= 17) lg.titleColor = Color(I(14), I(15), I(16));
        }
        break;
    case 13:
        if (need(14)) FillFont(v, font), lg.formulaFontRecord = font;
        break;
    case 15:
        if (need(14)) {
            FillFont(v, font);
            lg.axisFontRecord = font;
            if (v.size() >= 17) lg.captionColor = Color(I(14), I(15), I(16));
        }
        break;
    case 16:
        if (need(5)) ch.savedOption = I(0), ch.borderWidth = I(1), ch.borderLineColor = Color(I(2), I(3), I(4));
        break;
    case 17:
        if (need(5)) ch.gridWidth = I(1), ch.sceneLineColor = Color(I(2), I(3), I(4));
        break;
    case 18: if (need(1)) ch.fittingLineWidth = I(0); break;
    case 19:
        if (need(9)) {
            xy.highColor = Color(I(0), I(1), I(2));
            xy.lowColor = Color(I(3), I(4), I(5));
            xy.colorSteps = I(6), xy.colorMapMode = I(7), xy.show3D = I(8);
        }
        break;
    case 20:
        if (need(6)) xy.xMin = v[0], xy.xMax = v[1], xy.yMin = v[2], xy.yMax = v[3], xy.zMin = v[4], xy.zMax = v[5];
        break;
    case 21: if (need(1)) xy.autozoom = I(0); break;
    case 22:
        if (need(9)) {
            d3view_settings& d = s.d3view;
            d.eyeX = v[0], d.eyeY = v[1], d.eyeZ = v[2], d.azimuth = v[3], d.elevation = v[4];
            d.zoom = v[5], d.orbitDistance = v[6], d.eyeStep = v[7], d.angleStep = v[8];
        }
        break;
    case 23:
        if (need(3)) {
            s.d3view.twoDimensional = I(0);
            xy.show3D = I(0) == 0 ? 1 : 0;
            xy.histogram = I(1);
            xy.autozoom = I(2);
            if (v.size() >= 4) s.useruf.plusConst = I(3);
            if (v.size() >= 5) s.view3D = I(4);
        }
        break;
    case 24:
        if (need(9)) {
            xystatistic_settings& x = s.xystatistic;
            x.constructorStyle = I(0), x.customFormulas = I(1), x.fromListOfFormulas = I(2), x.peaksRevealing = I(3);
            x.userFormula = I(4), x.correlationCoefficient = I(5), x.polynomFitting = I(6), x.harmonicAnalysis = I(7);
            x.searchForBestFormula = I(8);
        }
        break;
    case 25:
        if (need(9)) {
            distrimution_settings& d = s.distrimution;
            d.binCount = I(0), d.showPoisson = I(1), d.showStudent = I(2), d.autoIntervals = I(3), d.showErlang = I(4);
            d.showMedian = I(5), d.minAbsDeviation = I(6), d.maxConcentration = I(7);
            d.percentOfData = I(8) * 0.01;
        }
        break;
    case 26:
        if (need(5)) {
            distribution2_settings& d = s.distribution2;
            d.firstIntervals = I(0), d.secondIntervals = I(1), d.autoIntervals = I(2), d.maximumDensity = I(3);
            d.largestRecordCount = I(4);
        }
        break;
    case 27:
        if (need(4)) s.result.visibleDataOnly = I(0), s.result.actualScreenSize = I(1), s.result.imageWidth = I(2), s.result.imageHeight = I(3);
        break;
    case 28:
        if (need(1)) {
            const int n = I(0);
            constructor_settings& c = s.constructor;
            if (n < 0 || n > constructor_settings::kCodeSlots || v.size() < static_cast<std::size_t>(n) + 2) {
                bad = true;
                break;
            }
            c.selectedCodeCount = n;
            for (int i = 0; i < n; ++i) c.selectedCodes[static_cast<std::size_t>(i)] = LowByte(v[static_cast<std::size_t>(i) + 1]);
            c.yTransform = LowByte(v[static_cast<std::size_t>(n) + 1]);
        }
        break;
    case 29:
        if (need(6))
            for (std::size_t i = 0; i < 6; ++i) s.constructor.periodValues[i] = v[i];
        break;
    case 30: if (need(1)) s.constructor.showDeviationLines = I(0); break;
    case 31: if (textOk()) ApplyCustomApproximationText(text, s.approxcustom); break;
    case 32:
        if (textOk() && ApplyUserDefinedText(text, s.useruf, notes.messages)) notes.hasUserCoefficients = true;
        break;
    case 33:
        if (need(3)) s.collection.selectedModel = I(0), s.collection.searchRequested = I(1), s.collection.showDeviationLines = I(2);
        break;
    case 34:
        if (need(4)) {
            s.sinaldlg.spikeWidth = I(0), s.sinaldlg.noiseFactor = I(1);
            s.sinaldlg.chromatogramOnly = I(2), s.sinaldlg.baseLine = I(3);
        }
        break;
    case 35:
        if (need(5)) {
            multistat_settings& m = s.multistat;
            m.correlation = I(0), m.plane = I(1), m.parabolic = I(2), m.nearNeighbors = I(3), m.weightKind = I(4);
            if (v.size() >= 6) m.userDefinedFormula = I(5);
            if (v.size() >= 7) m.unitaryArgument = I(6);
            if (v.size() >= 8) {
                m.bestPolynome = I(7);
                if (m.bestPolynome) {
                    // As the "Best polynome" button: that scheme alone.
                    m.correlation = m.plane = m.parabolic = m.nearNeighbors = 0;
                    m.userDefinedFormula = m.unitaryArgument = m.bestPolynomeAuto = 0;
                    m.bestPolynome = 1;
                    notes.ranBestPolynome = true;
                }
            }
            if (v.size() >= 9) m.bestPolynomeAuto = I(8);
            const int set = (m.correlation != 0) + (m.plane != 0) + (m.parabolic != 0) + (m.nearNeighbors != 0) +
                            (m.userDefinedFormula != 0) + (m.unitaryArgument != 0) + (m.bestPolynome != 0) +
                            (m.bestPolynomeAuto != 0);
            if (set >= 2) {
                m.correlation = m.parabolic = m.nearNeighbors = m.userDefinedFormula = 0;
                m.unitaryArgument = m.bestPolynome = m.bestPolynomeAuto = 0;
                m.plane = 1;
                notes.schemesReset = true;
            } else {
                notes.schemesReset = false;
            }
        }
        break;
    case 36: if (need(1)) s.multistat.nearNeighborPercent = v[0]; break;
    case 37:
        if (numbersOk()) {
            s.constructorMulti.currentPolyTerms.clear();
            for (double x : v) s.constructorMulti.currentPolyTerms.push_back(static_cast<unsigned>(LowByte(x)));
        }
        break;
    case 38:
        if (need(8)) {
            parameters_of_multi_search1_settings& p = s.search;
            p.includeConstant = I(0), p.continueFromCurrent = I(1), p.maxTerms = I(2), p.vainTries = I(3);
            p.randomTerms = I(4), p.maxMinutes = I(5), p.criterion = I(6), p.saveLog = I(7);
        }
        break;
    case 39: if (textOk()) s.search.logFile = text; break;
    case 40:
        if (numbersOk()) {
            std::vector<conditions>& list = s.distrimution.conditions;
            list.resize(v.size() / 2);
            for (std::size_t k = 0; k < list.size(); ++k) list[k].parameterIndex = I(2 * k), list[k].operation = I(2 * k + 1);
        }
        break;
    case 41:
        if (numbersOk()) {
            std::vector<conditions>& list = s.distrimution.conditions;
            list.resize(v.size() / 2);
            for (std::size_t k = 0; k < list.size(); ++k) list[k].from = v[2 * k], list[k].till = v[2 * k + 1];
        }
        break;
    case 42:
        if (need(3)) s.calculator.sortOff = I(0), s.calculator.sortAscending = I(1), s.calculator.sortDescending = I(2);
        break;
    case 43: if (textOk()) s.calculator.argumentText = text; break;
    case 44: if (textOk()) s.calculator.inputFile = text; break;
    case 45: if (textOk()) s.calculator.outputFile = text; break;
    case 46:
        if (need(2)) {
            notes.seriesCount = I(0), notes.parameterCount = I(1);
            notes.hasCounts = true;
            bad = notes.seriesCount < 0 || notes.parameterCount < 0;
        }
        break;
    default: break;
    }
    return !bad;
}

// The first values of a variable's attribute number k, or false.
bool VariableNumbers(const cdfFile& f, const cdfFile::variable& var, std::uint32_t k, std::size_t need, D& out) {
    if (k >= var.attributeCount) return false;
    const std::size_t index = std::size_t(var.firstAttribute) + k;
    if (index >= f.attributes.size()) return false;
    return Numbers(f, f.attributes[index], out) && out.size() >= need;
}

std::string RebuildData(cdfFile& f, const DocumentReadNotes& notes, DocumentData& data) {
    const std::size_t S = static_cast<std::size_t>(notes.seriesCount), P = static_cast<std::size_t>(notes.parameterCount);
    D v;
    for (std::size_t s = 0; s < S; ++s) {
        const cdfFile::variable& var = f.variables[s];
        if (!VariableNumbers(f, var, 0, 6, v)) return "The description of series " + std::to_string(s + 1) + " is damaged";
        Series r;
        r.firstParameter = ToInt(v[0]), r.firstValue = ToInt(v[1]), r.nArguments = ToInt(v[2]);
        r.nParameters = ToInt(v[3]), r.nRecords = ToInt(v[4]), r.nValues = ToInt(v[5]);
        data.series.push_back(r);
        data.seriesNames.push_back(f.NameOf(var.nameIndex));
    }
    D c;
    for (std::size_t p = S; p < S + P; ++p) {
        const cdfFile::variable& var = f.variables[p];
        if (!VariableNumbers(f, var, 0, 4, v) || !VariableNumbers(f, var, 1, 3, c))
            return "The description of parameter " + std::to_string(p - S + 1) + " is damaged";
        Initial i;
        i.role = ToInt(v[0]), i.autoSize = ToInt(v[1]), i.markSize = ToInt(v[2]), i.markShape = ToInt(v[3]);
        i.color = static_cast<std::int32_t>(Color(LowByte(c[0]), LowByte(c[1]), LowByte(c[2])));
        data.parameters.push_back(i);
        data.parameterNames.push_back(f.NameOf(var.nameIndex));
    }
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
    const legend_settings& lg = s.legend;
    const chart_settings& ch = s.chart;
    const xyview_settings& xy = s.xyview;
    const d3view_settings& d3 = s.d3view;
    const xystatistic_settings& x = s.xystatistic;
    const distrimution_settings& dm = s.distrimution;
    const distribution2_settings& d2 = s.distribution2;
    const constructor_settings& co = s.constructor;
    const multistat_settings& m = s.multistat;
    const parameters_of_multi_search1_settings& ps = s.search;
    const char* const* name = kDocumentAttributeNames;
    using T = cdfFile;

    f.AddAttribute(name[0], T::kInt, {double(s.activeParameter)});
    f.AddAttribute(name[1], T::kInt, {double(s.activePage), double(s.selectedTab)});
    f.AddTextAttribute(name[2], lg.title);
    f.AddTextAttribute(name[3], lg.xCaption);
    f.AddTextAttribute(name[4], lg.yCaption);
    f.AddAttribute(name[5], T::kByte, {double(lg.showFormulas)});
    f.AddAttribute(name[6], T::kByte, {double(lg.overlap)});
    f.AddAttribute(name[7], T::kInt, {double(lg.titleAlign), double(lg.xCaptionAlign), double(lg.yCaptionAlign), double(lg.formulaAlign)});
    f.AddAttribute(name[8], T::kByte, WithColor({}, ch.chartAreaColor));
    f.AddAttribute(name[9], T::kByte, WithColor({}, ch.borderAreaColor));
    f.AddTextAttribute(name[10], lg.titleFontRecord.faceName);
    f.AddAttribute(name[11], T::kShort, WithColor(FontValues(lg.titleFontRecord), lg.titleColor));
    f.AddTextAttribute(name[12], lg.formulaFontRecord.faceName);
    f.AddAttribute(name[13], T::kShort, FontValues(lg.formulaFontRecord));
    f.AddTextAttribute(name[14], lg.axisFontRecord.faceName);
    f.AddAttribute(name[15], T::kShort, WithColor(FontValues(lg.axisFontRecord), lg.captionColor));
    f.AddAttribute(name[16], T::kShort, WithColor({double(ch.savedOption), double(ch.borderWidth)}, ch.borderLineColor));
    f.AddAttribute(name[17], T::kShort, WithColor({0.0, double(ch.gridWidth)}, ch.sceneLineColor));
    f.AddAttribute(name[18], T::kShort, {double(ch.fittingLineWidth)});
    D high = WithColor(WithColor({}, xy.highColor), xy.lowColor);
    high.push_back(xy.colorSteps), high.push_back(xy.colorMapMode), high.push_back(xy.show3D);
    f.AddAttribute(name[19], T::kShort, high);
    f.AddAttribute(name[20], T::kDouble, {xy.xMin, xy.xMax, xy.yMin, xy.yMax, xy.zMin, xy.zMax});
    f.AddAttribute(name[21], T::kByte, {double(xy.autozoom)});
    f.AddAttribute(name[22], T::kDouble, {d3.eyeX, d3.eyeY, d3.eyeZ, d3.azimuth, d3.elevation, d3.zoom, d3.orbitDistance, d3.eyeStep, d3.angleStep});
    f.AddAttribute(name[23], T::kByte, {double(d3.twoDimensional), double(xy.histogram), double(xy.autozoom), double(s.useruf.plusConst), double(s.view3D)});
    f.AddAttribute(name[24], T::kShort,
                   {double(x.constructorStyle), double(x.customFormulas), double(x.fromListOfFormulas), double(x.peaksRevealing),
                    double(x.userFormula), double(x.correlationCoefficient), double(x.polynomFitting), double(x.harmonicAnalysis),
                    double(x.searchForBestFormula)});
    f.AddAttribute(name[25], T::kShort,
                   {double(dm.binCount), double(dm.showPoisson), double(dm.showStudent), double(dm.autoIntervals), double(dm.showErlang),
                    double(dm.showMedian), double(dm.minAbsDeviation), double(dm.maxConcentration),
                    double(ToInt(dm.percentOfData * 100.0))});
    f.AddAttribute(name[26], T::kInt,
                   {double(d2.firstIntervals), double(d2.secondIntervals), double(d2.autoIntervals), double(d2.maximumDensity),
                    double(d2.largestRecordCount)});
    f.AddAttribute(name[27], T::kInt,
                   {double(s.result.visibleDataOnly), double(s.result.actualScreenSize), double(s.result.imageWidth), double(s.result.imageHeight)});
    D codes{double(co.selectedCodeCount)};
    for (int i = 0; i < co.selectedCodeCount && i < constructor_settings::kCodeSlots; ++i) codes.push_back(co.selectedCodes[static_cast<std::size_t>(i)]);
    codes.push_back(co.yTransform);
    f.AddAttribute(name[28], T::kByte, codes);
    f.AddAttribute(name[29], T::kDouble, D(co.periodValues.begin(), co.periodValues.end()));
    f.AddAttribute(name[30], T::kByte, {double(co.showDeviationLines)});
    f.AddTextAttribute(name[31], CustomApproximationText(s.approxcustom));
    f.AddTextAttribute(name[32], UserDefinedText(s.useruf));
    f.AddAttribute(name[33], T::kShort, {double(s.collection.selectedModel), double(s.collection.searchRequested), double(s.collection.showDeviationLines)});
    f.AddAttribute(name[34], T::kInt,
                   {double(s.sinaldlg.spikeWidth), double(ToInt(s.sinaldlg.noiseFactor)), double(s.sinaldlg.chromatogramOnly), double(s.sinaldlg.baseLine)});
    f.AddAttribute(name[35], T::kInt,
                   {double(m.correlation), double(m.plane), double(m.parabolic), double(m.nearNeighbors), double(m.weightKind),
                    double(m.userDefinedFormula), double(m.unitaryArgument), double(m.bestPolynome), double(m.bestPolynomeAuto)});
    f.AddAttribute(name[36], T::kDouble, {m.nearNeighborPercent});
    f.AddAttribute(name[37], T::kByte, D(s.constructorMulti.currentPolyTerms.begin(), s.constructorMulti.currentPolyTerms.end()));
    f.AddAttribute(name[38], T::kInt,
                   {double(ps.includeConstant), double(ps.continueFromCurrent), double(ps.maxTerms), double(ps.vainTries),
                    double(ps.randomTerms), double(ps.maxMinutes), double(ps.criterion), double(ps.saveLog)});
    f.AddTextAttribute(name[39], ps.logFile);
    D ops, borders;
    for (const conditions& c : dm.conditions) {
        ops.push_back(c.parameterIndex), ops.push_back(c.operation);
        borders.push_back(c.from), borders.push_back(c.till);
    }
    f.AddAttribute(name[40], T::kInt, ops);
    f.AddAttribute(name[41], T::kDouble, borders);
    f.AddAttribute(name[42], T::kInt, {double(s.calculator.sortOff), double(s.calculator.sortAscending), double(s.calculator.sortDescending)});
    f.AddTextAttribute(name[43], s.calculator.argumentText);
    f.AddTextAttribute(name[44], s.calculator.inputFile);
    f.AddTextAttribute(name[45], s.calculator.outputFile);
    f.AddAttribute(name[46], T::kInt, {double(data.series.size()), double(data.parameters.size())});
    f.globalAttributeCount = static_cast<std::uint32_t>(f.attributes.size());

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
    FontRecord font;  // one record the three font attributes share, as the document expects
    for (std::uint32_t i = 0; i < file.globalAttributeCount && i < file.attributes.size(); ++i) {
        const cdfFile::attribute& a = file.attributes[i];
        const std::string& n = file.NameOf(a.nameIndex);
        const int which = Index(n.c_str());
        if (which >= 0 && !ApplyAttribute(file, a, which, staging, notes, font))
            return "The attribute \"" + n + "\" is damaged";
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
        const std::string fault = RebuildData(file, notes, data);
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
