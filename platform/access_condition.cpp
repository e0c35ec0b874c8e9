#include "platform/access_condition.h"

#include "platform/access_statement.h"

namespace platform {

namespace {

Truth FromBool(bool b) { return b ? Truth::True : Truth::False; }

template <typename T>
bool Compare(AccessCondition::Op op, const T& a, const T& b) {
    switch (op) {
        case AccessCondition::Op::Equal: return a == b;
        case AccessCondition::Op::NotEqual: return a != b;
        case AccessCondition::Op::Less: return a < b;
        case AccessCondition::Op::Greater: return a > b;
        case AccessCondition::Op::LessEqual: return a <= b;
        case AccessCondition::Op::GreaterEqual: return a >= b;
        case AccessCondition::Op::Like: break;
    }
    return false;
}

Truth EvaluateCompare(const AccessCondition& c, const AccessValue& v) {
    if (v.isNull) return Truth::Unknown;
    if (c.constantIsText) {
        if (!IsTextFieldType(v.type)) return Truth::Unknown;
        if (c.op == AccessCondition::Op::Like) return FromBool(LikeMatch(v.text, c.text));
        return FromBool(Compare(c.op, CompareTextNoCase(v.text, c.text), 0));
    }
    if (!IsNumericFieldType(v.type)) return Truth::Unknown;
    if (v.type == AccessFieldType::Boolean)  // any non-zero constant stands for Yes
        return FromBool(Compare(c.op, v.number != 0.0, c.number != 0.0));
    return FromBool(Compare(c.op, v.number, c.number));
}

}  // namespace

Truth EvaluateCondition(const AccessCondition& c, const AccessValueSource& valueOf) {
    switch (c.kind) {
        case AccessCondition::Kind::Constant:
            return FromBool(c.constantTruth);
        case AccessCondition::Kind::IsNull:
            return FromBool(valueOf(c.column).isNull);
        case AccessCondition::Kind::IsNotNull:
            return FromBool(!valueOf(c.column).isNull);
        case AccessCondition::Kind::Compare:
            return EvaluateCompare(c, valueOf(c.column));
        case AccessCondition::Kind::Not: {
            const Truth t = EvaluateCondition(*c.left, valueOf);
            return t == Truth::Unknown ? t : FromBool(t == Truth::False);
        }
        case AccessCondition::Kind::And: {
            const Truth a = EvaluateCondition(*c.left, valueOf);
            if (a == Truth::False) return a;
            const Truth b = EvaluateCondition(*c.right, valueOf);
            if (b == Truth::False) return b;
            return a == Truth::True && b == Truth::True ? Truth::True : Truth::Unknown;
        }
        case AccessCondition::Kind::Or: {
            const Truth a = EvaluateCondition(*c.left, valueOf);
            if (a == Truth::True) return a;
            const Truth b = EvaluateCondition(*c.right, valueOf);
            if (b == Truth::True) return b;
            return a == Truth::False && b == Truth::False ? Truth::False : Truth::Unknown;
        }
    }
    return Truth::Unknown;
}

std::string CheckComparison(const AccessCondition& c, AccessFieldType type, const std::string& columnName) {
    if (c.kind != AccessCondition::Kind::Compare) return "";
    const std::string mismatch = "Data type mismatch in criteria expression (field \"" + columnName + "\", " +
                                 AccessFieldTypeName(type) + ").";
    if (IsNumericFieldType(type)) {
        if (c.constantIsText || c.op == AccessCondition::Op::Like) return mismatch;
        if (type == AccessFieldType::Boolean && c.op != AccessCondition::Op::Equal &&
            c.op != AccessCondition::Op::NotEqual)
            return std::string(kSimpleSelectOnly) + "; Yes/No fields can only be compared with = or <>.";
        return "";
    }
    if (IsTextFieldType(type)) {
        if (!c.constantIsText) return mismatch;
        if (c.op == AccessCondition::Op::Like && c.text.find('[') != std::string::npos)
            return std::string(kSimpleSelectOnly) + "; LIKE patterns with [character lists] are not.";
        return "";
    }
    return std::string(kSimpleSelectOnly) + "; conditions on " + AccessFieldTypeName(type) + " columns are not.";
}

}  // namespace platform
