// libFuzzer target: any statement text must go through the Access statement checker without
// a crash, a hang or undefined behaviour; and any condition tree (built from the bytes,
// however deep) must evaluate to the same truth as a plain recursive reading of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/access_condition.h"
#include "platform/access_statement.h"

namespace {

using platform::AccessCondition;
using platform::AccessValue;
using platform::Truth;

// Small trees only: the reference reading recurses.
Truth Reference(const AccessCondition& c, const platform::AccessValueSource& valueOf)
{
    using K = AccessCondition::Kind;
    if (c.kind == K::Not) {
        if (!c.left)
            return Truth::Unknown;
        const Truth t = Reference(*c.left, valueOf);
        return t == Truth::Unknown ? t : (t == Truth::True ? Truth::False : Truth::True);
    }
    if (c.kind == K::And || c.kind == K::Or) {
        if (!c.left || !c.right)
            return Truth::Unknown;
        const Truth decides = c.kind == K::And ? Truth::False : Truth::True;
        const Truth other = c.kind == K::And ? Truth::True : Truth::False;
        const Truth a = Reference(*c.left, valueOf);
        if (a == decides)
            return a;
        const Truth b = Reference(*c.right, valueOf);
        if (b == decides)
            return b;
        return a == other && b == other ? other : Truth::Unknown;
    }
    return platform::EvaluateCondition(c, valueOf);
}

// A tree in prefix order from the bytes: join kinds and leaves over columns 0 to 2.
std::unique_ptr<AccessCondition> Build(const std::uint8_t*& p, const std::uint8_t* end, int depth)
{
    auto c = std::make_unique<AccessCondition>();
    if (p == end)
        return c;
    const std::uint8_t b = *p++;
    const int kind = b % 7;
    if (depth < 40 && kind < 3) {
        c->kind = kind == 0 ? AccessCondition::Kind::And
                            : kind == 1 ? AccessCondition::Kind::Or : AccessCondition::Kind::Not;
        c->left = Build(p, end, depth + 1);
        if (kind < 2)
            c->right = Build(p, end, depth + 1);
        return c;
    }
    c->kind = kind == 3 ? AccessCondition::Kind::IsNull
                        : kind == 4 ? AccessCondition::Kind::Constant : AccessCondition::Kind::Compare;
    c->column = (b >> 3) % 3;
    c->op = static_cast<AccessCondition::Op>((b >> 5) % 7);
    c->constantTruth = (b & 0x80) != 0;
    c->constantIsText = c->column == 2;
    c->number = (b >> 4) - 4;
    c->text = std::string(1, static_cast<char>('a' + (b & 3))) + (b & 4 ? "*" : "");
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::CheckedStatement checked = platform::CheckSelectStatement(text);
    if (checked.ok != checked.error.empty())
        std::abort();
    if (!checked.ok && checked.error.rfind("Only simple SELECT statements are supported", 0) != 0 &&
        checked.error != "No SQL statement was given.")
        std::abort();
    platform::PlainTableName(text);
    const std::size_t half = size / 2;
    platform::LikeMatch(text.substr(0, half), text.substr(half));
    platform::CompareTextNoCase(text.substr(0, half), text.substr(half));

    std::vector<AccessValue> row(3);
    row[0].type = platform::AccessFieldType::Double;
    row[0].isNull = size % 3 == 0;
    row[0].number = static_cast<double>(size % 9) - 4;
    row[2].type = platform::AccessFieldType::Text;
    row[2].isNull = false;
    row[2].text = std::string(text.substr(0, 4));
    const platform::AccessValueSource valueOf = [&](int column) -> const AccessValue& {
        return row.at(static_cast<std::size_t>(column));
    };
    const std::uint8_t* p = data;
    const std::unique_ptr<AccessCondition> tree = Build(p, data + size, 0);
    if (platform::EvaluateCondition(*tree, valueOf) != Reference(*tree, valueOf))
        std::abort();
    // A chain as deep as the input is long must neither overflow nor change its truth.
    std::unique_ptr<AccessCondition> chain = std::make_unique<AccessCondition>();
    for (std::size_t i = 0; i < size * 64; ++i) {
        auto join = std::make_unique<AccessCondition>();
        join->kind = AccessCondition::Kind::Not;
        join->left = std::move(chain);
        chain = std::move(join);
    }
    const Truth expected = (size * 64) % 2 == 0 ? Truth::True : Truth::False;
    if (platform::EvaluateCondition(*chain, valueOf) != expected)
        std::abort();
    return 0;
}
