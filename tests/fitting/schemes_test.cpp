#include "fitting/schemes.h"

#include "statistics/math_domain.h"
#include "tests/fitting/fitting_test_support.h"

namespace {

struct OracleLine {
    std::string kind;
    std::vector<double> fields;
    std::string text;
};

std::vector<OracleLine> ReadOracle()
{
    std::ifstream in(fittest::Source("scheme_values.txt"));
    std::vector<OracleLine> lines;
    for (std::string line; std::getline(in, line);) {
        const std::string kind = line.substr(0, line.find(' '));
        lines.push_back({kind, fittest::Numbers(line.substr(kind.size())), line});
    }
    return lines;
}

void ExpectClose(double expected, double actual, const std::string& where)
{
    EXPECT_TRUE(std::isfinite(actual)) << where;
    EXPECT_NEAR(actual, expected, 1e-14 * std::max(1.0, std::fabs(expected))) << where;
}

constexpr double kPeriods[kConstructorPeriods] = {1.5, 2.0, 3.0, 4.0, 5.0, 6.0};

}  // namespace

// Every code of the four tables against values computed offline, including the points
// where a value would not be finite (flagged, value 0).
TEST(Schemes, CodesMatchOracleTable)
{
    const auto lines = ReadOracle();
    ASSERT_GT(lines.size(), 1500u);
    for (const auto& o : lines) {
        const auto& f = o.fields;
        const int code = static_cast<int>(f[0]);
        // A line holds code, argument, value and flag; a scheme line x, y, Y, flag and its row.
        double v = 0, Y = -7, row[kSchemeRowSize];
        int error = -1;
        if (o.kind == "basis") {
            v = SchemeBasis(code, f[1], error);
        } else if (o.kind == "term") {
            mathDomainError = 0;
            BuildTermRow(f[1], 1.0, Y, kPeriods, row, 1, 0, &code);
            v = row[0];
        } else if (o.kind == "ytrans") {
            BuildTermRow(1.0, f[1], Y, kPeriods, row, 0, code, nullptr);
            v = Y;
        } else if (o.kind == "yinv") {
            mathDomainError = 0;
            v = ApplyYTransform(f[1], code);
        } else if (o.kind == "sinv") {
            mathDomainError = 1;
            v = SchemeInverseY(f[1], code);
        } else if (o.kind == "scheme") {
            SchemeLinearize(f[1], f[2], Y, row, 0, code);
            EXPECT_EQ(mathDomainError, static_cast<int>(f[4])) << o.text;
            ExpectClose(f[3], Y, o.text);
            const int n = SchemeCoefficientCount(code);
            ASSERT_EQ(static_cast<int>(f.size()) - 5, n) << o.text;
            for (int k = 0; k < n; ++k)
                ExpectClose(f[5 + k], row[k], o.text + " row " + std::to_string(k));
            continue;
        } else {
            ADD_FAILURE() << "unknown oracle line " << o.text;
            continue;
        }
        EXPECT_EQ(o.kind == "basis" ? error : mathDomainError, static_cast<int>(f[3])) << o.text;
        ExpectClose(f[2], v, o.text);
    }
}

// The counts of the schemes in range are checked against the oracle's rows.
TEST(Schemes, OutOfRangeSchemes)
{
    EXPECT_EQ(SchemeCoefficientCount(-3), -3);
    EXPECT_EQ(SchemeCoefficientCount(25), 25);

    double Y = 5, row[kSchemeRowSize] = {7};
    mathDomainError = 1;
    EXPECT_EQ(SchemeLinearize(1, 2, Y, row, 0, 25), 1);
    EXPECT_EQ(mathDomainError, 0);
    EXPECT_EQ(Y, 5);
    EXPECT_EQ(row[0], 7);
    EXPECT_EQ(SchemeInverseY(-3, 40), -3);
    EXPECT_EQ(ApplyYTransform(3, 6), 0);
}

TEST(Schemes, FlagsRaisedEarlierAreKept)
{
    // The inverse transform keeps a flag raised by the row of the same point.
    mathDomainError = 1;
    EXPECT_EQ(ApplyYTransform(2.0, 0), 2.0);
    EXPECT_EQ(mathDomainError, 1);
    mathDomainError = 0;
    EXPECT_EQ(ApplyYTransform(-2.0, 3), 4.0);
    EXPECT_EQ(mathDomainError, 0);
    // A term row keeps the flag of an earlier term.
    const int codes[] = {7, 1, 0};
    double Y = 0, row[3];
    BuildTermRow(0.0, 2.0, Y, kPeriods, row, 3, 0, codes);
    EXPECT_EQ(mathDomainError, 1);
    EXPECT_EQ(std::vector<double>(row, row + 3), (std::vector<double>{0, 0, 1}));
    // A y-code above 5 leaves Y unwritten.
    Y = 42;
    BuildTermRow(1.0, 2.0, Y, kPeriods, row, 1, 6, codes + 1);
    EXPECT_EQ(Y, 42);
    EXPECT_EQ(mathDomainError, 0);
}

TEST(Schemes, ModelValuesBackTransform)
{
    const double c[] = {std::log(2.0), 0.5};
    EXPECT_NEAR(SchemeModelValue(2.0, c, 2, 8), 2.0 * std::exp(1.0), 1e-14);  // ln y = a0 + a1 x
    EXPECT_EQ(mathDomainError, 0);
    const double r[] = {0.0, 0.0};
    EXPECT_EQ(SchemeModelValue(1.0, r, 2, 13), 0.0);  // 1/0
    EXPECT_EQ(mathDomainError, 1);

    const int codes[] = {0, 1};
    const double a[] = {1.0, 2.0};
    EXPECT_DOUBLE_EQ(ConstructorModelValue(3.0, kPeriods, a, 2, 3, codes), 49.0);  // sqrt y = 1 + 2x
    EXPECT_EQ(mathDomainError, 0);
}

TEST(Schemes, TermProductUsesWholeTermsAndFailsAtTheFirstError)
{
    const double x[] = {2.0, 3.0};
    const double c[] = {1.5, -2.0, 100.0};
    int error = -1;
    // 5 codes over 2 arguments: 2 terms; the fifth code is ignored.
    EXPECT_DOUBLE_EQ(TermProductModelValue(x, c, 2, {1, 2, 0, 1, 25}, error), 1.5 * 2 * 9 - 2.0 * 3);
    EXPECT_EQ(error, 0);
    const double zero[] = {0.0, 3.0};
    EXPECT_EQ(TermProductModelValue(zero, c, 2, {0, 0, 25, 1}, error), 0.0);
    EXPECT_EQ(error, 1);
    EXPECT_EQ(TermProductModelValue(x, c, 2, {1}, error), 0.0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(TermProductModelValue(x, c, 1, {4000000000u}, error), 0.0);
    EXPECT_EQ(error, 0);
}

TEST(Schemes, InverseYTransformByName)
{
    struct Case {
        const char* name;
        double v, expected;
    } cases[] = {
        {"LN(Y)", 1.0, std::exp(1.0)}, {"1/y", 4.0, 0.25},       {"Exp(y)", 1.0, 0.0},
        {"sin(y)", 0.5, std::asin(0.5)}, {"asin(y)", 0.5, std::sin(0.5)}, {"cos(y)", 0.5, std::acos(0.5)},
        {"acos(y)", 0.5, std::cos(0.5)}, {"tan(y)", 0.5, std::atan(0.5)}, {"atan(y)", 0.5, std::tan(0.5)},
        {"y", 0.5, 0.5},                 {"ln(y) ", 0.5, 0.5},            {"", -3.0, -3.0},
    };
    for (const auto& c : cases) {
        mathDomainError = 0;
        EXPECT_DOUBLE_EQ(InverseYTransform(c.v, c.name), c.expected) << c.name;
        EXPECT_EQ(mathDomainError, 0);
    }
}
