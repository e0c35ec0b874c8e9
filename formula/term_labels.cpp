// Label tables of term codes: the transform constructor's own cells and the fitting
// engine's term codes.
#include "formula/constructor.h"

namespace {

// "%s" in a pattern becomes the name; the patterns hold no other conversion.
std::string Fill(const char* pattern, const std::string& name) {
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            out += name;
            ++p;
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

constexpr const char* kYLabels[] = {"%s", "1/%s", "exp(%s)", "sqrt(%s)", "1/sqrt(%s)", "ln(%s)"};

constexpr const char* kCellLabels[] = {
    "1",         "%s",        "%s^2",      "%s^3",       "%s^4",       "%s^5",      "%s^6",     "1/%s",
    "1/(%s^2)",  "1/(%s^3)",  "1/(%s^4)",  "1/(%s^5)",   "1/(%s^6)",   "%s^(1/2)",  "%s^(1/3)", "%s^(1/4)",
    "%s^(-1/2)", "%s^(-1/3)", "%s^(-1/4)", "ln(%s)",     "1/ln(%s)",   "exp(%s)",   "1/exp(%s)",
};

constexpr const char* kEngineLabels[] = {
    "1",          "%s",         "%s^2",       "%s^3",       "%s^4",        "%s^5",       "%s^6",
    "%s^7",       "%s^8",       "%s^9",       "%s^10",      "1/(%s)",      "1/(%s^2)",   "1/(%s^3)",
    "1/(%s^4)",   "1/(%s^5)",   "1/(%s^6)",   "1/(%s^7)",   "1/(%s^8)",    "1/(%s^9)",   "1/(%s^10)",
    "%s^0.5",     "%s^0.333",   "%s^0.25",    "1/(%s^0.5)", "1/(%s^0.33)", "1/(%s^0.25)",
};

constexpr const char* kEngineTailLabels[] = {"ln(%s)", "1/ln(%s)", "exp(%s)", "1/exp(%s)"};  // codes 31 to 34

}  // namespace

void constructor::TransformLabel(std::string& text, int kind, int code, const std::string& name) const {
    if (kind == 0) {
        if (code >= 0 && code < kYCells) text = Fill(kYLabels[code], name);
        return;
    }
    if (kind != 1) return;
    if (code >= 0 && code < kFirstHarmonicCell) {
        text = Fill(kCellLabels[code], name);
    } else if (code >= kFirstHarmonicCell && code < kTermCells) {
        text = "Cos(" + name + "/" + periodTexts[static_cast<size_t>(code - kFirstHarmonicCell)] + ")";
    }
}

void constructor::TransformLabelLong(std::string& text, int kind, int code, const std::string& name) {
    if (kind == 0) {
        if (code >= 0 && code < kYCells) text = Fill(kYLabels[code], name);
        return;
    }
    if (kind != 1) return;
    if (code >= 0 && code <= 26) {
        text = Fill(kEngineLabels[code], name);
    } else if (code >= 31 && code <= 34) {
        text = Fill(kEngineTailLabels[code - 31], name);
    }
}
