// Statement checks, LIKE, conditions and value decoding of the Access reader, without files.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>

#include "platform/access_condition.h"
#include "platform/access_statement.h"
#include "platform/access_values.h"

namespace platform {
namespace {

TEST(AccessStatement, PlainTableNameRecognisesWholeTableStatements) {
    struct Case {
        const char* statement;
        const char* name;  // nullptr: not a plain whole-table statement
    };
    const Case cases[] = {
        {"SELECT * FROM Fruit", "Fruit"},
        {"  select   *  from   Fruit Salad ; ", "Fruit Salad"},
        {"SELECT * FROM [Muffin/Bread]", "Muffin/Bread"},
        {"SELECT *FROM[Veggie Salad];", "Veggie Salad"},
        {"SELECT * FROM Fruit WHERE Fat > 5", "Fruit WHERE Fat > 5"},  // not a table: the parser decides
        {"SELECT Fruit FROM Fruit", nullptr},
        {"SELECT * FROMFruit", nullptr},
        {"SELECTED * FROM Fruit", nullptr},
        {"SELECT * FROM [a] WHERE [b] = 1", nullptr},
        {"SELECT * FROM [unclosed", nullptr},
        {"SELECT * FROM ", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> expected = c.name ? std::optional<std::string>(c.name) : std::nullopt;
        EXPECT_EQ(PlainTableName(c.statement), expected) << c.statement;
    }
}

TEST(AccessStatement, CheckRefusesWhatTheParserMustNotSee) {
    struct Case {
        const char* statement;
        const char* errorPart;  // nullptr: accepted
        const char* table;
    };
    const Case cases[] = {
        {"SELECT a, [b c] FROM [T 1] WHERE a > 2 AND b LIKE 'x%';", nullptr, "T 1"},
        {"select count(*) from T", nullptr, "T"},
        {"SELECT * FROM T WHERE a = -2147483647", nullptr, "T"},
        {"SELECT * FROM T WHERE a = 12345678901.5", nullptr, "T"},
        {"   ", "No SQL statement", ""},
        {"DISCONNECT", kSimpleSelectOnly, ""},
        {"SELECT * FROM T; DISCONNECT", "one statement", ""},
        {"SELECT COUNT(*) FROM T WHERE a = 1", "COUNT(*) with conditions", ""},
        {"SELECT * FROM T WHERE a = 2147483648", "beyond 2147483647", ""},
        {"SELECT * FROM T WHERE a = 'open", "not closed", ""},
        {"SELECT * FROM T WHERE (a = 1 OR b = 2) AND c = 3", "brackets in conditions", ""},
        {"SELECT TOP 10 PERCENT * FROM T", "TOP n PERCENT is not", ""},
        {"SELECT * FROM T ORDER BY a", "ORDER is not", ""},
        {"SELECT * FROM T, U", "several tables", ""},
    };
    for (const Case& c : cases) {
        CheckedStatement checked = CheckSelectStatement(c.statement);
        if (c.errorPart) {
            EXPECT_FALSE(checked.ok) << c.statement;
            EXPECT_NE(checked.error.find(c.errorPart), std::string::npos) << c.statement << " -> " << checked.error;
        } else {
            EXPECT_TRUE(checked.ok) << c.statement << " -> " << checked.error;
            EXPECT_EQ(checked.tableName, c.table) << c.statement;
            EXPECT_NE(checked.statement.back(), ';');
        }
    }
}

TEST(AccessStatement, CheckCollectsThePlainSelectList) {
    EXPECT_EQ(CheckSelectStatement("SELECT TOP 5 a, [b c] ,d FROM T").fieldNames,
              (std::vector<std::string>{"a", "b c", "d"}));
    EXPECT_TRUE(CheckSelectStatement("SELECT * FROM T").fieldNames.empty());
    EXPECT_TRUE(CheckSelectStatement("SELECT a b FROM T").fieldNames.empty());
}

TEST(AccessStatement, TokenizerKeepsQuotedTextWhole) {
    std::vector<SqlToken> t = TokenizeSql("SELECT [a b] FROM t WHERE c<>'x y' AND d>=.5");
    using Kind = SqlToken::Kind;
    ASSERT_EQ(t.size(), 14u);
    EXPECT_EQ(std::tie(t[1].kind, t[1].text, t[8].kind, t[8].text, t[13].kind, t[13].text),
              std::tuple(Kind::Bracketed, "a b", Kind::String, "x y", Kind::Number, ".5"));
}

TEST(AccessStatement, LikeMatchesJetWildcardsWithoutRegardToCase) {
    struct Case {
        const char* text;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"Peach", "P*", true},         {"peach", "P%", true},        {"Apple", "P*", false},
        {"Passion Fruit", "*fruit", true}, {"Pear", "Pe?r", true},   {"Pear", "Pe_r", true},
        {"Per", "Pe?r", false},        {"A1", "A#", true},           {"Ax", "A#", false},
        {"", "*", true},               {"", "", true},               {"a", "", false},
        {"abcabc", "*b*c", true},      {"abcabd", "*b*c", false},    {"Grapefruit, Red", "*, r*", true},
        {"\xC3\x9Cn\xC3\xAF" "code", "?n?code", true},  // "Ünïcode": one character each
        {"\xC3\x9Cn\xC3\xAF" "code", "\xC3\xBCN\xC3\x8F" "CODE", true},
        {"\xC3\x97", "\xC3\xB7", false},  // × and ÷ are not letters
        {"\xE2\x80\x94", "?", true}, {"\xE4\xB8\xAD\xE6\x96\x87", "??", true},  // dash, two CJK characters
    };
    for (const Case& c : cases) EXPECT_EQ(LikeMatch(c.text, c.pattern), c.match) << c.text << " LIKE " << c.pattern;
}

TEST(AccessValues, OleDatesBecomeCalendarFields) {
    struct Case {
        double ole;
        int y, mo, d, h, mi, s;
    };
    // Checked against Python's datetime(1899, 12, 30) + timedelta(days); negative dates
    // follow the stored rule (whole days back, the fraction forward from midnight).
    const Case cases[] = {
        {0, 1899, 12, 30, 0, 0, 0},        {1, 1899, 12, 31, 0, 0, 0},
        {2, 1900, 1, 1, 0, 0, 0},          {36526, 2000, 1, 1, 0, 0, 0},
        {29221.5, 1980, 1, 1, 12, 0, 0},   {29932, 1981, 12, 12, 0, 0, 0},
        {2958465, 9999, 12, 31, 0, 0, 0},  {-657434, 100, 1, 1, 0, 0, 0},
        {-1.25, 1899, 12, 29, 6, 0, 0},    {44000.999999, 2020, 6, 19, 0, 0, 0},
        {44000.75 + 1.0 / 86400, 2020, 6, 18, 18, 0, 1},
    };
    for (const Case& c : cases) {
        const AccessDateTime t = OleDateToDateTime(c.ole);
        EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second),
                  std::tie(c.y, c.mo, c.d, c.h, c.mi, c.s))
            << c.ole;
    }
}

// The bytes of a 64-bit count, least significant first.
std::array<unsigned char, 8> LittleEndian(long long units) {
    std::array<unsigned char, 8> bytes;
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(static_cast<unsigned long long>(units) >> (8 * i));
    return bytes;
}

TEST(AccessValues, CurrencyAndDecimalDecodeFromTheirBytes) {
    // 12345678.9012 as a 64-bit count of ten-thousandths, and its negative.
    EXPECT_DOUBLE_EQ(DecodeAccessCurrency(LittleEndian(123456789012LL).data()), 12345678.9012);
    EXPECT_DOUBLE_EQ(DecodeAccessCurrency(LittleEndian(-123456789012LL).data()), -12345678.9012);

    // Decimal: sign byte, then the most significant 32-bit word first, each little-endian.
    unsigned char dec[17] = {};
    dec[13] = 0x39;  // 12345 = 0x3039 in the least significant word
    dec[14] = 0x30;
    EXPECT_DOUBLE_EQ(DecodeAccessDecimal(dec, 0), 12345.0);
    EXPECT_DOUBLE_EQ(DecodeAccessDecimal(dec, 2), 123.45);
    dec[0] = 0x80;
    EXPECT_DOUBLE_EQ(DecodeAccessDecimal(dec, 3), -12.345);
    unsigned char big[17] = {};
    big[9] = 0x01;  // the third word (bits 32..63) = 1: 2^32
    EXPECT_DOUBLE_EQ(DecodeAccessDecimal(big, 0), 4294967296.0);
}

using K = AccessCondition::Kind;
using O = AccessCondition::Op;

// A comparison of a column with a number, or with a text when one is given.
std::unique_ptr<AccessCondition> Compare(int column, O op, double x, const char* text = nullptr) {
    auto c = std::make_unique<AccessCondition>();
    c->kind = K::Compare;
    c->op = op;
    c->column = column;
    c->number = x;
    c->constantIsText = text != nullptr;
    c->text = text ? text : "";
    return c;
}

std::unique_ptr<AccessCondition> Join(K kind, std::unique_ptr<AccessCondition> a,
                                      std::unique_ptr<AccessCondition> b = nullptr) {
    auto c = std::make_unique<AccessCondition>();
    c->kind = kind;
    c->left = std::move(a);
    c->right = std::move(b);
    return c;
}

std::unique_ptr<AccessCondition> IsNull(int column) {
    auto c = Compare(column, O::Equal, 0);
    c->kind = K::IsNull;
    return c;
}

// A chain of n conditions joined by kind, nested as the parser nests them: each join holds
// one comparison and the rest of the chain.
std::unique_ptr<AccessCondition> Chain(K kind, int n, double last) {
    std::unique_ptr<AccessCondition> chain = Compare(0, O::Equal, last);
    for (int i = 1; i < n; ++i) chain = Join(kind, Compare(0, O::Less, 10), std::move(chain));
    return chain;
}

class AccessConditions : public ::testing::Test {
protected:
    Truth Eval(const std::unique_ptr<AccessCondition>& c) { return EvaluateCondition(*c, valueOf); }
    // 5, null, "Kiwi" and Yes.
    static AccessValue Value(AccessFieldType type, double x, const char* text = "") {
        AccessValue v;
        v.type = type;
        v.isNull = false;
        v.number = x;
        v.text = text;
        return v;
    }
    std::map<int, AccessValue> row{{0, Value(AccessFieldType::Double, 5)},
                                   {1, AccessValue{}},
                                   {2, Value(AccessFieldType::Text, 0, "Kiwi")},
                                   {3, Value(AccessFieldType::Boolean, 1)}};
    const AccessValueSource valueOf = [this](int column) -> const AccessValue& { return row.at(column); };
};

TEST_F(AccessConditions, ThreeValuedLogicDropsRowsWithNulls) {
    EXPECT_EQ(Eval(Compare(0, O::Greater, 4.5)), Truth::True);
    EXPECT_EQ(Eval(Compare(1, O::Equal, 0)), Truth::Unknown);
    EXPECT_EQ(Eval(Join(K::Not, Compare(1, O::Equal, 0))), Truth::Unknown);
    EXPECT_EQ(Eval(Join(K::Or, Compare(1, O::Equal, 0), Compare(0, O::Equal, 5))), Truth::True);
    EXPECT_EQ(Eval(Join(K::And, Compare(1, O::Equal, 0), Compare(0, O::Equal, 6))), Truth::False);
    EXPECT_EQ(Eval(Join(K::And, Compare(1, O::Equal, 0), Compare(0, O::Equal, 5))), Truth::Unknown);
    // A yes/no field: any non-zero number stands for Yes.
    EXPECT_EQ(Eval(Compare(3, O::Equal, -1)), Truth::True);
    EXPECT_EQ(Eval(IsNull(1)), Truth::True);
    EXPECT_EQ(Eval(Compare(2, O::Equal, 0, "kiwi")), Truth::True);
    EXPECT_EQ(Eval(Compare(2, O::Less, 0, "Lemon")), Truth::True);
}

TEST_F(AccessConditions, LongConditionListsNeedNoDeepStack) {
    // 200,000 ANDs once overflowed the stack while being evaluated and freed.
    EXPECT_EQ(Eval(Chain(K::And, 200000, 5)), Truth::True);
    // The other way round: the deep side first, then a null comparison at the top.
    std::unique_ptr<AccessCondition> deep = Chain(K::And, 200000, 5);
    for (int i = 0; i < 100001; ++i) deep = Join(K::Not, std::move(deep));
    EXPECT_EQ(Eval(deep), Truth::False);
    deep = Join(K::Or, std::move(deep), Compare(1, O::Equal, 0));
    EXPECT_EQ(Eval(deep), Truth::Unknown);

    // The checker refuses statements with more conditions than the parser can take.
    std::string statement = "SELECT a FROM t WHERE a = 1";
    for (int i = 1; i < kMaxConditions; ++i) statement += " AND a = 1";
    EXPECT_TRUE(CheckSelectStatement(statement).ok);
    statement += " AND a = 1";
    EXPECT_EQ(CheckSelectStatement(statement).error,
              "Only simple SELECT statements are supported; at most 1000 conditions are.");
}

TEST(AccessComparison, IsCheckedAgainstTheColumnType) {
    auto check = [](O op, const char* text, AccessFieldType type) {
        return CheckComparison(*Compare(0, op, 0, text), type, "C");
    };
    EXPECT_EQ(check(O::Equal, nullptr, AccessFieldType::Currency), "");
    EXPECT_EQ(check(O::Equal, nullptr, AccessFieldType::Decimal), "");
    EXPECT_EQ(check(O::Equal, "x", AccessFieldType::Memo), "");
    EXPECT_NE(check(O::Equal, "x", AccessFieldType::Long).find("Data type mismatch"), std::string::npos);
    EXPECT_NE(check(O::Equal, nullptr, AccessFieldType::Text).find("Data type mismatch"), std::string::npos);
    EXPECT_NE(check(O::Like, "[a-c]*", AccessFieldType::Text).find("character lists"), std::string::npos);
    EXPECT_NE(check(O::Less, nullptr, AccessFieldType::Boolean).find("= or <>"), std::string::npos);
    EXPECT_EQ(check(O::Equal, "x", AccessFieldType::DateTime),
              std::string(kSimpleSelectOnly) + "; conditions on Date/Time columns are not.");
    EXPECT_NE(check(O::Equal, nullptr, AccessFieldType::OleObject).find("OLE Object"), std::string::npos);
}

}  // namespace
}  // namespace platform
