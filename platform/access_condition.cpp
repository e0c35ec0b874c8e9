#include "platform/access_condition.h"

#include "platform/access_statement.h"

#include <vector>

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

AccessCondition::~AccessCondition() {
    // Children are taken out before they go, so no destructor runs another one inside it.
    std::vector<std::unique_ptr<AccessCondition>> pending;
    if (left) pending.push_back(std::move(left));
    if (right) pending.push_back(std::move(right));
    while (!pending.empty()) {
        std::unique_ptr<AccessCondition> node = std::move(pending.back());
        pending.pop_back();
        if (node->left) pending.push_back(std::move(node->left));
        if (node->right) pending.push_back(std::move(node->right));
    }
}

namespace {

Truth EvaluateLeaf(const AccessCondition& c, const AccessValueSource& valueOf) {
    switch (c.kind) {
        case AccessCondition::Kind::Constant: return FromBool(c.constantTruth);
        case AccessCondition::Kind::IsNull: return FromBool(valueOf(c.column).isNull);
        case AccessCondition::Kind::IsNotNull: return FromBool(!valueOf(c.column).isNull);
        case AccessCondition::Kind::Compare: return EvaluateCompare(c, valueOf(c.column));
        default: return Truth::Unknown;
    }
}

}  // namespace

Truth EvaluateCondition(const AccessCondition& root, const AccessValueSource& valueOf) {
    using Kind = AccessCondition::Kind;
    // Depth-first on a stack of our own; AND and OR skip their right side once the left
    // decides.
    struct Frame {
        const AccessCondition* node;
        int stage;   // 0 nothing done, 1 left done, 2 right done
        Truth left;
    };
    thread_local std::vector<Frame> stack;
    const std::size_t base = stack.size();
    stack.push_back({&root, 0, Truth::Unknown});
    Truth last = Truth::Unknown;
    while (stack.size() > base) {
        const Frame frame = stack.back();
        const AccessCondition& c = *frame.node;
        const bool isJoin = c.kind == Kind::And || c.kind == Kind::Or || c.kind == Kind::Not;
        if (!isJoin || (frame.stage == 0 && !c.left) || (frame.stage == 1 && c.kind != Kind::Not && !c.right)) {
            last = isJoin ? Truth::Unknown : EvaluateLeaf(c, valueOf);
            stack.pop_back();
            continue;
        }
        if (frame.stage == 0) {
            stack.back().stage = 1;
            stack.push_back({c.left.get(), 0, Truth::Unknown});
            continue;
        }
        if (c.kind == Kind::Not) {
            last = last == Truth::Unknown ? last : FromBool(last == Truth::False);
            stack.pop_back();
            continue;
        }
        const Truth decides = c.kind == Kind::And ? Truth::False : Truth::True;
        if (frame.stage == 1) {
            if (last == decides) {
                stack.pop_back();
                continue;
            }
            stack.back().stage = 2;
            stack.back().left = last;
            stack.push_back({c.right.get(), 0, Truth::Unknown});
            continue;
        }
        if (last != decides) {
            const Truth other = decides == Truth::False ? Truth::True : Truth::False;
            last = frame.left == other && last == other ? other : Truth::Unknown;
        }
        stack.pop_back();
    }
    return last;
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
