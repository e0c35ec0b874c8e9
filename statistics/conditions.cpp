#include "statistics/conditions.h"

#include <algorithm>
#include <cmath>

namespace {

bool Inside(const conditions& c, double v) { return c.from <= v && v <= c.till; }
bool AndType(std::int32_t op) { return op == kConditionAnd || op == kConditionAndNot; }

}  // namespace

const char* ConditionOperationWord(std::int32_t operation) {
    switch (operation) {
        case kConditionAnd: return "and";
        case kConditionOr: return "or";
        case kConditionAndNot: return "and not";
        case kConditionOrNot: return "or not";
        default: return "";
    }
}

RecordFilter::RecordFilter(const std::vector<conditions>& list, int nParameters) {
    for (const conditions& c : list) {
        if (c.parameterIndex < 0 || c.parameterIndex >= nParameters) continue;
        (AndType(c.operation) ? andList_ : orList_).push_back(c);
    }
}

bool RecordFilter::Passes(const double* record) const {
    for (const conditions& c : orList_) {
        const bool inside = Inside(c, record[c.parameterIndex]);
        if (c.operation == kConditionOr ? inside : !inside) return true;
    }
    for (const conditions& c : andList_) {
        const bool inside = Inside(c, record[c.parameterIndex]);
        if (c.operation == kConditionAnd ? !inside : inside) return false;
    }
    return orList_.empty() || !andList_.empty();
}

void ConditionalValues(const double* values, int nRecords, int nParameters, int p,
                       const std::vector<conditions>& list, std::vector<double>& out) {
    out.clear();
    if (p < 0 || p >= nParameters || nRecords <= 0) return;
    const RecordFilter filter(list, nParameters);
    out.reserve(static_cast<size_t>(nRecords));
    const size_t stride = static_cast<size_t>(nParameters);
    for (size_t r = 0; r < static_cast<size_t>(nRecords); ++r) {
        const double* record = values + r * stride;
        if (filter.Passes(record)) out.push_back(record[p]);
    }
}

// The rules keep the set of records taken when the two are the whole list. Where the old
// replacement would change that set (an "or" inside an "and", an "and not" inside an "and" or
// inside an "or not") the pair is left alone.
int MergeConditionPair(std::vector<conditions>& list, int fromInside, int tillInside, int i, int j) {
    const int size = static_cast<int>(list.size());
    if (size < 2 || i < 0 || j < 0 || i >= size || j >= size || i == j) return 0;
    conditions& a = list[static_cast<size_t>(i)];
    conditions& b = list[static_cast<size_t>(j)];
    const int oi = a.operation, oj = b.operation;
    auto removeIndex = [&list](int k) { list.erase(list.begin() + k); };
    if (fromInside && tillInside) {
        switch (oi * 4 + oj) {
            case kConditionAnd * 4 + kConditionAnd: removeIndex(j); return 1;
            case kConditionAnd * 4 + kConditionOr: removeIndex(i); return 1;
            case kConditionOr * 4 + kConditionOr: removeIndex(i); return 1;
            case kConditionAndNot * 4 + kConditionOr:
                a.operation = kConditionAndNot;
                a.from = b.from;
                a.till = b.till;
                return 1;
            case kConditionAndNot * 4 + kConditionAndNot: removeIndex(i); return 1;
            case kConditionOrNot * 4 + kConditionAnd:
                b.operation = kConditionAnd;
                b.from = a.from;
                b.till = a.till;
                return 1;
            case kConditionOrNot * 4 + kConditionOr: return 1;
            case kConditionOrNot * 4 + kConditionAndNot: removeIndex(j); return 1;
            case kConditionOrNot * 4 + kConditionOrNot: removeIndex(j); return 1;
            default: return 0;
        }
    }
    if (!fromInside && !tillInside) return 0;
    // Partial overlap: two of one kind become one over the union (an "or" or an "and not")
    // or the intersection (an "and" or an "or not"); mixed kinds stay.
    if (oi != oj || oi < kConditionAnd || oi > kConditionOrNot) return 0;
    const bool unite = oi == kConditionOr || oi == kConditionAndNot;
    b.from = unite ? std::min(a.from, b.from) : std::max(a.from, b.from);
    b.till = unite ? std::max(a.till, b.till) : std::min(a.till, b.till);
    removeIndex(i);
    return 1;
}

int MergeOverlappingConditions(std::vector<conditions>& list) {
    const int size = static_cast<int>(list.size());
    if (size < 2) return 1;
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            if (j == i) continue;
            const conditions& a = list[static_cast<size_t>(i)];
            const conditions& b = list[static_cast<size_t>(j)];
            if (a.parameterIndex != b.parameterIndex) continue;
            const int fromInside = b.from <= a.from && a.from <= b.till;
            const int tillInside = b.from <= a.till && a.till <= b.till;
            if ((fromInside || tillInside) && MergeConditionPair(list, fromInside, tillInside, i, j)) return 1;
        }
    }
    return 1;
}

void DropConditionsOfParameter(std::vector<conditions>& list, int parameterIndex) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [parameterIndex](const conditions& c) { return c.parameterIndex == parameterIndex; }),
               list.end());
}

int ConditionTest(double value, unsigned mode, double a, double b) {
    switch (mode) {
        case 0: return value > a;
        case 1: return value < a;
        case 2: return a < value && value < b;
        case 3: return value < a || value > b;
        default: return 0;
    }
}

int IsIntegerCoded(const std::vector<double>& values, std::vector<std::uint32_t>& out, int limit) {
    out.clear();
    for (double v : values) {
        if (!(std::fabs(v) <= 110) || v < 0) return 0;
        const double k = std::trunc(v + 1e-7);
        if (std::fabs(v - k) > 1e-7) return 0;
        if (static_cast<long long>(out.size()) > limit) return 0;
        const auto code = static_cast<std::uint32_t>(k);
        if (std::find(out.begin(), out.end(), code) == out.end()) out.push_back(code);
    }
    return 1;
}
