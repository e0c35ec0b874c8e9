#pragma once
// The WHERE condition of a statement, evaluated by the reader itself on the values it
// decodes: mdbtools' own row tests misplace columns in tables that had columns
// deleted, ignore conditions on currency and decimal columns and mishandle IS NULL,
// so they are never used. Evaluation follows SQL's three-valued logic: a comparison
// with a null is unknown, and only rows whose condition is true are returned.
#include <functional>
#include <memory>
#include <string>

#include "platform/access_values.h"

namespace platform {

enum class Truth { False, True, Unknown };

// A condition tree may be as deep as the statement has conditions: it is built, evaluated
// and destroyed without recursion.
struct AccessCondition {
    AccessCondition() = default;
    ~AccessCondition();
    AccessCondition(AccessCondition&&) = default;
    AccessCondition& operator=(AccessCondition&&) = default;

    enum class Kind { And, Or, Not, Compare, IsNull, IsNotNull, Constant };
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };

    Kind kind = Kind::Constant;
    Op op = Op::Equal;
    int column = -1;               // index into the table's columns
    bool constantIsText = false;   // the compared constant
    double number = 0.0;
    std::string text;
    bool constantTruth = true;     // Kind::Constant (a comparison of two literals)
    std::unique_ptr<AccessCondition> left, right;  // And, Or: both; Not: left
};

using AccessValueSource = std::function<const AccessValue&(int column)>;

Truth EvaluateCondition(const AccessCondition& condition, const AccessValueSource& valueOf);

// "" when the comparison can be made on a column of this type, else why not.
std::string CheckComparison(const AccessCondition& compare, AccessFieldType columnType,
                            const std::string& columnName);

}  // namespace platform
