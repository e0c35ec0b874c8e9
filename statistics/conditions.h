#pragma once
// Record filter conditions on parameters, as the distribution page keeps its list: the filter
// that turns the list into the records taken, the merging of two conditions on one parameter,
// the single-condition test of a series split and the test for small whole-number codes.
#include <cstdint>
#include <vector>

struct conditions {
    std::int32_t parameterIndex = 0;  // within a series: 0 is the series' first parameter
    std::int32_t operation = 0;       // 0 "and", 1 "or", 2 "and not", 3 "or not"
    double from = 0;                  // bounds inclusive; from > till holds no value
    double till = 0;

    bool operator==(const conditions&) const = default;
};

enum : std::int32_t { kConditionAnd = 0, kConditionOr = 1, kConditionAndNot = 2, kConditionOrNot = 3 };

// The word reports print for an operation: "and", "or", "and not", "or not".
const char* ConditionOperationWord(std::int32_t operation);

// The list split for the records of a series of nParameters; conditions on parameters
// outside the series are dropped.
class RecordFilter {
public:
    RecordFilter(const std::vector<conditions>& list, int nParameters);
    // Any "or"-type condition that holds takes the record; else any "and"-type one that fails
    // skips it; else a list of "or"-type conditions only skips it; else it is taken.
    bool Passes(const double* record) const;
    bool Empty() const { return andList_.empty() && orList_.empty(); }

private:
    std::vector<conditions> andList_, orList_;
};

// Values of parameter p of the records (record after record, nParameters each) that pass the
// list, in record order; out is emptied first, and stays empty for p outside the record.
void ConditionalValues(const double* values, int nRecords, int nParameters, int p,
                       const std::vector<conditions>& list, std::vector<double>& out);

// Two conditions i and j on one parameter, interval i starting (fromInside) or ending
// (tillInside) inside interval j, replaced by fewer or simpler ones that take the same records.
// Returns 1 when the list was changed, 0 for no change.
int MergeConditionPair(std::vector<conditions>& list, int fromInside, int tillInside, int i, int j);
// Finds the first pair of overlapping conditions on one parameter and merges it: at most one
// change per call. Returns 1.
int MergeOverlappingConditions(std::vector<conditions>& list);
// Removes every condition on that parameter; the other conditions keep their indexes.
void DropConditionsOfParameter(std::vector<conditions>& list, int parameterIndex);

// The split of a series: mode 0 value > a; 1 value < a; 2 a < value < b; 3 value < a or
// value > b; other modes 0.
int ConditionTest(double value, unsigned mode, double a, double b);

// 1 when every value is a whole number from 0 to 110 (to 1e-7) and at most limit + 1 distinct
// ones occur; out collects the distinct codes in order of first appearance.
int IsIntegerCoded(const std::vector<double>& values, std::vector<std::uint32_t>& out, int limit);
