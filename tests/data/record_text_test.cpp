#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_store.h"
#include "data/fast_number.h"
#include "data/hue.h"
#include "data/open_file_retry.h"
#include "data/record_text.h"
#include "data/saturate.h"
#include "temp_file.h"

namespace {

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// Restores the program-wide date order after a test.
struct DateOrder {
    explicit DateOrder(int flag) { RecordText::dateFormatFlag = flag; }
    ~DateOrder() { RecordText::dateFormatFlag = 1; }
};

using test_files::TempFile;

// Reads the file line after line, each with its separators, and checks the fields found
// (held between an empty first and an empty last slot) up to the end of the file.
struct LineRead {
    const char* separators;
    std::vector<std::string> fields;
};

void ExpectLineReads(const std::string& content, const std::vector<LineRead>& reads) {
    TempFile file(content);
    FILE* f = std::fopen(file.Path().c_str(), "r");
    ASSERT_NE(f, nullptr);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        std::vector<std::string> expected{""};
        expected.insert(expected.end(), reads[i].fields.begin(), reads[i].fields.end());
        expected.push_back("");
        EXPECT_EQ(ReadLineFields(f, reads[i].separators, fields), static_cast<int>(reads[i].fields.size())) << i;
        EXPECT_EQ(fields, expected) << "line " << i;
    }
    EXPECT_EQ(ReadLineFields(f, ",\n", fields), 0);
    std::fclose(f);
}

}  // namespace

TEST(Dates, CalendarTableInBothOrders) {
    std::ifstream table(TABULON_SOURCE_DIR "/tests/data/date_table.txt");
    ASSERT_TRUE(table.good());
    std::string line;
    int rows = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        int y, m, d;
        std::string fraction;
        fields >> y >> m >> d >> fraction;
        const double expected = std::strtod(fraction.c_str(), nullptr);
        ASSERT_EQ(Bits(DateToYearFraction(y, m, d)), Bits(expected)) << line;
        for (int monthFirst : {1, 0}) {
            DateOrder order(monthFirst);
            const std::string text = std::to_string(monthFirst ? m : d) + "/" + std::to_string(monthFirst ? d : m) +
                                     "/" + std::to_string(y);
            ASSERT_EQ(Bits(RecordText::TextToValue(text)), Bits(expected)) << text;
        }
        ++rows;
    }
    EXPECT_GT(rows, 1500);
}

TEST(Dates, TwoDigitYearsPartsAndOrder) {
    struct Case {
        int order;
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {1, "03/4/2002", 2002 + 63 / 365.0},
        {0, "29/2/2000", 2000 + 60 / 366.0},
        {1, "1/1/20", 20 + 1 / 366.0},    // just above 20: stays
        {1, "12/31/19", 120},             // exactly 20: counted from 1900
        {1, "12/31/2001", 2002},
        {1, " 3/ 4/2002 12:30", 2002 + 63 / 365.0},  // each part read as atoi reads it
        {1, "2/29/2001", 2001 + 60 / 365.0},          // days are not checked
        {1, "13/1/2002", 13},                         // no 13th month: a plain number
        {0, "1/13/2002", 1},
        {1, "0/5/2001", 0},
        {1, "1/5", 1},                                // one slash: atof
        {1, "1.5e3", 1500},
    };
    for (const Case& c : cases) {
        DateOrder order(c.order);
        EXPECT_EQ(Bits(RecordText::TextToValue(c.text)), Bits(c.expected)) << c.text;
    }
    double out = 9;
    EXPECT_EQ(RecordText::ParseDateText("13/1/2002", out), 0);
    EXPECT_EQ(out, 0.0);
    EXPECT_EQ(RecordText::ParseDateText("1/2", out), 0);
    EXPECT_EQ(RecordText::ParseDateTextDayFirst("2/1/2004", out), 1);
    EXPECT_EQ(out, 2004 + 2 / 366.0);
    // Wild parts stay defined.
    EXPECT_EQ(RecordText::ParseDateText("1/99999999999999/99999999999", out), 1);
    EXPECT_TRUE(std::isfinite(out));
}

TEST(TextToValue, KeepsAtofReading) {
    const char* texts[] = {
        "", " ", "0", "-0", "+0", "12", "  12", "\t-3.5", "\n\v\f\r7", "+.5", "-.5e1", ".", "-", "+",
        "12abc", "abc", "e5", "1e", "1e+", "1e-", "1e-2x", "1E2", "0x1A", "0X1p3", "-0x", "inf", "-Infinity",
        "nan", "NAN(123)", "1e400", "-1e400", "1e-400", "4.9e-324", "2.2250738585072014e-308",
        "00012.50", "0.000000000000000000000000001", "123456789012345678901234", "9007199254740993",
        "9007199254740992", "0.1", "0.3", "1.7976931348623157e308", "1,5", "2002 12:30", "5-3", "1..2",
        "1.2.3", "12e0005", "- 5", "+-5", "3.14159265358979323846", "1e22", "1e23", "123456789e-22",
        // Longer than the exact reading takes: read by from_chars, still strtod's value.
        "0.12345678901234567", "+12345678901234567", " -98765432109876543e-3", "2.2250738585072011e-308",
        "4.9406564584124654e-324", "1e-310", "1e400", "-1e400", "1e-400", "123456789012345678901234567890",
    };
    for (const char* text : texts) {
        const double expected = std::atof(text);
        const double got = RecordText::TextToValue(text);
        double whole;
        if (ReadWholeDecimal(text, text + std::strlen(text), &whole)) {
            EXPECT_EQ(Bits(whole), Bits(got)) << text;
        }
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(got)) << text;
        } else {
            EXPECT_EQ(Bits(got), Bits(expected)) << '"' << text << '"';
        }
    }
}

TEST(TextToValue, RandomDecimalTextEqualsStrtod) {
    std::mt19937_64 random(20240607);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* tails[] = {"", "", "", "\n", "abc", " 5", ",", "e", ".", "x", "e+", "/"};
    int fast = 0;
    int whole = 0;  // texts that are one number and nothing more
    const int total = 200000;
    std::string text;
    for (int i = 0; i < total; ++i) {
        text.clear();
        for (int k = pick(3); k > 0; --k) text += pick(2) ? ' ' : '\t';
        if (pick(3) == 0) text += pick(2) ? '-' : '+';
        const int intDigits = pick(4) == 0 ? pick(26) : pick(8);
        for (int k = 0; k < intDigits; ++k) text += static_cast<char>('0' + (k == 0 && pick(4) == 0 ? 0 : pick(10)));
        if (pick(2)) {
            text += '.';
            const int fracDigits = pick(4) == 0 ? pick(26) : pick(8);
            for (int k = 0; k < fracDigits; ++k) text += static_cast<char>('0' + pick(10));
        }
        if (pick(3) == 0) {
            text += pick(2) ? 'e' : 'E';
            if (pick(2)) text += pick(2) ? '-' : '+';
            for (int k = pick(4); k >= 0; --k) text += static_cast<char>('0' + pick(10));
            if (pick(8) == 0) text.pop_back();  // an exponent without digits
        }
        text += tails[pick(12)];

        char* strtodEnd = nullptr;
        const double expected = std::strtod(text.c_str(), &strtodEnd);
        double value;
        const char* end;
        if (ReadPlainDecimal(text.c_str(), &value, &end)) {
            ++fast;
            ASSERT_EQ(Bits(value), Bits(expected)) << '"' << text << '"';
            ASSERT_EQ(end, strtodEnd) << '"' << text << '"';
        }
        ASSERT_EQ(Bits(ReadLeadingNumber(text.c_str())), Bits(expected)) << '"' << text << '"';
        if (ReadWholeDecimal(text.data(), text.data() + text.size(), &value)) {
            ++whole;
            ASSERT_EQ(Bits(value), Bits(expected)) << '"' << text << '"';
        }
        if (text.find('/') == std::string::npos) {
            ASSERT_EQ(Bits(RecordText::TextToValue(text)), Bits(expected)) << text;
        }
    }
    EXPECT_GT(fast, total / 2);  // the fast reading does carry most of the load
    EXPECT_GT(whole, total / 20);
}

TEST(NonNumeric, SetIsLettersButEAndTheListedSigns) {
    const std::string signs = "`~@#$%&_=[]{};':,<>?";
    for (int c = 1; c < 256; ++c) {
        const char text[2] = {static_cast<char>(c), '\0'};
        const bool letter = c < 128 && std::isalpha(c) && c != 'e' && c != 'E';
        const bool sign = signs.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(IsNonNumericField(text), letter || sign ? 1 : 0) << c;
    }
    EXPECT_EQ(IsNonNumericField("1.5e3"), 0);
    EXPECT_EQ(IsNonNumericField("-(2*3)/4^5+ 6"), 0);
    EXPECT_EQ(IsNonNumericField("12 kg"), 1);
}

TEST(ReadLineFields, SeparatorsLineEndsAndLongLines) {
    std::string longLine;
    std::vector<std::string> numbers;
    for (int i = 1; i <= 3000; ++i) {
        longLine += std::to_string(i) + ",";
        numbers.push_back(std::to_string(i));
    }
    ExpectLineReads("a,b\n1,,3\n,,,\nx;y\r\n\n" + longLine + "\nlast,line",
                    {{",", {"a", "b\n"}},  // the line feed stays unless it separates
                     {",\n", {"1", "3"}},
                     {",\n", {""}},  // only separators
                     {";\n", {"x", "y"}},  // CR LF
                     {",\n", {""}},  // empty line
                     {",\n", numbers},  // read whole, one record
                     {",\n", {"last", "line"}}});
    // A lone CR ends a line as a line feed does, at the end of the file too.
    ExpectLineReads("1,2\r3\r\n4\r7\r", {{",\n", {"1", "2"}}, {",\n", {"3"}}, {",\n", {"4"}}, {",", {"7\n"}}});
}

TEST(SplitText, TabFieldsClipboardLinesAndNames) {
    struct TabCase {
        const char* text;
        int result;
        const char* field;
        const char* rest;
    };
    const TabCase tabCases[] = {
        {"1\t2\t3", 1, "1", "2\t3"},
        {"\r\n 7 \t8", 1, " 7 ", "8"},
        {"\t7\t8", 1, "7\t8", ""},
        {"9\r\n", 1, "9", ""},
        {"", 0, "untouched", ""},
    };
    for (const TabCase& c : tabCases) {
        std::string text = c.text;
        std::string field = "untouched";
        EXPECT_EQ(RecordText::SplitLine(text, field), c.result) << c.text;
        EXPECT_EQ(field, c.field) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }

    std::string clip = "a\tb\r\nc\n\nd";
    std::string line = "-";
    EXPECT_EQ(RecordText::SplitClipboardText(clip, line), 1);
    EXPECT_EQ(line, "a\tb\r");
    EXPECT_EQ(RecordText::SplitClipboardText(clip, line), 1);
    EXPECT_EQ(line, "c");
    EXPECT_EQ(RecordText::SplitClipboardText(clip, line), 0);  // an empty line stops
    EXPECT_EQ(clip, "\nd");

    std::vector<std::string> names{"old"};
    EXPECT_EQ(SplitNames("x, y;;z  w,", ",; ", names), 4);
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "z", "w"}));
    EXPECT_EQ(SplitNames("", ",", names), 0);
    EXPECT_TRUE(names.empty());
}

TEST(Hue, PrimariesGreysAndMixtures) {
    struct Case {
        int r, g, b;
        double hue;
    };
    const Case cases[] = {
        {128, 128, 128, -0.1},
        {255, 0, 0, 0.0},
        {0, 255, 0, 0.3333},
        {0, 0, 255, 0.666666},
        {255, 255, 0, 0.3333 + 0.5 - (1.0 / 6 + 0.5)},    // yellow: the green rule overrides
        {255, 0, 255, 0.666666 + (1.0 / 6 + 0.5) - 0.5},   // magenta: the blue rule overrides
        {255, 0, 128, 1 - (128 / 255.0) / 6},              // red largest, below 0: wrapped
    };
    for (const Case& c : cases) EXPECT_NEAR(HueOfRgb(c.r, c.g, c.b), c.hue, 1e-12) << c.r << "," << c.g << "," << c.b;
}

// Opening at an offset is checked through OpenFileRetryAt, which passes it on.
TEST(OpenFileRetry, GivesUpAfterElevenPauses) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    EXPECT_EQ(OpenFileRetry("/nonexistent/tabulon/none.txt", 0, "r", 10, 3), nullptr);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(33));
}

TEST(Saturate, DataValuesBecomeIndexesSafely) {
    struct Case {
        double x;
        std::int32_t expected;
    };
    const Case cases[] = {
        {2.9, 2}, {-2.9, -2}, {std::nan(""), 0}, {1e300, 2147483647}, {-1e300, -2147483647 - 1},
        {2147483647.5, 2147483647}, {-2147483648.0, -2147483647 - 1}, {HUGE_VAL, 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(SaturatingInt32(c.x), c.expected) << c.x;
}
