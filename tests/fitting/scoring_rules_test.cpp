#include "fitting/scoring_rules.h"

#include "fitting/score_file.h"
#include "fitting/scoring_texts.h"
#include "tests/data/peak_memory.h"
#include "tests/fitting/fitting_test_support.h"

#include <filesystem>
#include <limits>

#include <unistd.h>

namespace {

using fittest::Slurp;
using fittest::Source;

class ScoringTest : public ::testing::Test {
protected:
    std::vector<scoreAction> scoringRules;
    double scoreMinimum = 0.0, scoreMaximum = 0.0;
};

// A fresh directory for score files, removed with the object.
struct TempDir {
    explicit TempDir(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& file) const { return (path / file).string(); }
    std::filesystem::path path;
};

TEST_F(ScoringTest, SelectionWeights)
{
    struct Case { int n, m, a, b; double want; };
    const double s80 = 100.0 * std::sqrt(1.0 - 0.45 / 0.65);
    const Case cases[] = {
        {100, 5, 2, 5, 0.0},     // five records weigh nothing
        {100, 81, 40, 60, 0.0},  // more than 80 %
        {100, 80, 40, 60, s80 * std::pow(20.0 / 40.0, 2)},
        {100, 80, 40, 20, -s80 * std::pow(20.0 / 40.0, 2)},
        {100, 10, 3, 9, 0.0},  // 6 to 10 records below 35 %
        {1000, 40, 10, 25, 100.0 * std::sqrt(0.04 / 0.05) * std::pow(15.0 / 30.0, 2)},
        {1000, 100, 0, 7, 100.0},  // none expected: x = 1
        {1, 6, 1, 1, 0.0},
    };
    for (const Case& c : cases) {
        int flag = 0;
        EXPECT_NEAR(SelectionWeight(c.n, c.m, c.a, c.b, 2.0, flag), c.want, 1e-12) << c.m;
        EXPECT_EQ(flag, 1);
    }
}

TEST_F(ScoringTest, WholeNumbersAndCategories)
{
    struct Case { double v; int whole, integer; };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c : std::vector<Case>{{4.0, 1, 4}, {7.00000000001, 1, 7}, {2.5, 0, -1}, {-1.0, 0, -1},
                                          {nan, 0, -1}, {3e9, 0, -1}, {2147483647.0, 1, 2147483647}}) {
        int integer = -1;
        EXPECT_EQ(IsWholeNumber(c.v, integer), c.whole) << c.v;
        EXPECT_EQ(integer, c.integer) << c.v;
    }
    std::vector<std::uint32_t> list;
    int count = -1;
    EXPECT_EQ(CollectCategoryValues({3, 1, 3, 2, 0}, count, list), 1);
    EXPECT_EQ(std::tie(list, count), std::tuple(std::vector<std::uint32_t>{3, 1, 2, 0}, 4));
    EXPECT_EQ(CollectCategoryValues({3, 1, -2}, count, list), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(CollectCategoryValues({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, count, list), 0);
    EXPECT_EQ(list.size(), 11u);  // the list stays
    EXPECT_EQ(CollectCategoryValues({}, count, list), 1);
    EXPECT_EQ(count, 0);

    // A value that is not a number falls in no bin; a far-out one in the last.
    std::vector<double> values, responses;
    for (int i = 0; i < 200; ++i) {
        values.push_back(i % 10);
        responses.push_back(i % 10 == 9 ? 1.0 : (i % 20 == 0));
    }
    values[5] = nan;
    values[6] = 1e300;
    std::vector<double> weights, centres;
    double width = 0;
    const double q = BinningQuality(values, responses, weights, centres, 9.0, 0.0, 1.0, 3, width);
    EXPECT_EQ(width, 3.0);
    EXPECT_TRUE(std::isfinite(q));
    EXPECT_EQ(weights.size(), 3u);
    EXPECT_EQ(BinningQuality(values, responses, weights, centres, 4.0, 4.0, 1.0, 3, width), 0.0);
}

TEST_F(ScoringTest, CategoryRules)
{
    // Category 2 answers far more often than the others.
    std::vector<double> variable, response;
    for (int i = 0; i < 600; ++i) {
        const int c = i % 3;
        variable.push_back(c);
        response.push_back(c == 2 ? (i % 2) : (i % 10 == 0));
    }
    DeriveScoreRules(variable, response, 1.0, 4, scoringRules);
    ASSERT_FALSE(scoringRules.empty());
    for (const auto& r : scoringRules) {
        EXPECT_EQ(std::tuple(r.categorical, r.variable, r.low), std::tuple(1, 4, r.high));
        EXPECT_GE(std::fabs(r.points), 4.5);
    }
    // 150 records of a continuous variable: at most one bin, no rule.
    scoringRules.clear();
    std::vector<double> v150(150), r150(150);
    for (int i = 0; i < 150; ++i)
        v150[i] = i * 0.37, r150[i] = i % 4 == 0;
    DeriveScoreRules(v150, r150, 1.0, 0, scoringRules);
    EXPECT_TRUE(scoringRules.empty());
}

TEST_F(ScoringTest, BinsAndRulePolynomialsAgreeWithTheOracle)
{
    std::ifstream in(Source("scoring_rules.txt"));
    int n = 0, variant = 0, cases = 0;
    double threshold = 0;
    for (std::string head; std::getline(in, head); ++cases) {
        std::istringstream(head) >> n >> threshold >> variant;
        std::vector<double> variable(n), response(n);
        for (int i = 0; i < n; ++i) {
            const auto row = fittest::NextNumbers(in);
            variable[i] = row[0];
            response[i] = row[1];
        }
        const auto best = fittest::NextNumbers(in);
        const auto wantWeights = fittest::NextNumbers(in);
        const auto wantCentres = fittest::NextNumbers(in);
        const auto rule = fittest::NextNumbers(in);
        const int bins = static_cast<int>(best[0]);
        const auto [low, high] = std::minmax_element(variable.begin(), variable.end());
        const double minimum = *low, maximum = *high;

        std::vector<double> weights, centres;
        double width = 0;
        const double q = BinningQuality(variable, response, weights, centres, maximum, minimum, threshold, bins, width);
        EXPECT_NEAR(q, best[1], 1e-9);
        ASSERT_EQ(weights.size(), wantWeights.size());
        for (std::size_t k = 0; k < weights.size(); ++k) {
            EXPECT_NEAR(weights[k], wantWeights[k], 1e-9);
            EXPECT_NEAR(centres[k], wantCentres[k], 1e-12);
        }

        scoringRules.clear();
        if (variant)
            DeriveScoreRulesVariant(variable, response, threshold, 3, scoringRules);
        else
            DeriveScoreRules(variable, response, threshold, 3, scoringRules);
        ASSERT_EQ(scoringRules.size(), 1u) << "case " << cases;
        // The derivation picks the oracle's bin count (it counts through a sorted copy): its quality is the points.
        const scoreAction& r = scoringRules[0];
        EXPECT_NEAR(r.points, best[1], 1e-9);
        EXPECT_EQ(std::tuple(r.kind, r.comparison, r.variable, r.low, r.high),
                  std::tuple(static_cast<int>(rule[0]), 2, 3, minimum, maximum));
        std::vector<double> polynomial{r.c0, r.c1, r.c2};
        polynomial.resize(r.kind == 2 ? 3 : 2);
        fittest::ExpectClose(polynomial, std::vector<double>(rule.begin() + 1, rule.begin() + 1 + polynomial.size()),
                             1e-8, "case " + std::to_string(cases));
    }
    EXPECT_EQ(cases, 3);
}

TEST_F(ScoringTest, ScoresOfRulesRecordsAndLines)
{
    scoreAction interval{0, 0, 1, 0, 2, 4, 10};
    struct Case { int comparison; double v, want; };
    for (const Case& c : std::vector<Case>{{0, 1.0, 10}, {0, 4.5, 0}, {1, 2.0, 10}, {1, 1.9, 0}, {2, 3.0, 10},
                                          {2, 4.1, 0}, {7, 3.0, 0}}) {
        interval.comparison = c.comparison;
        EXPECT_EQ(ScoreOfRule(interval, c.v), c.want);
    }
    const scoreAction quadratic{2, 0, 0, 0, 0, 1, 0, 1, 2, 3};
    EXPECT_EQ(ScoreOfRule(quadratic, 10.0), 321.0);  // outside [low, high] too
    const scoreAction category{0, 0, 0, 1, 3, 0, 5};
    EXPECT_EQ(ScoreOfRule(category, 3.7), 5.0);
    EXPECT_EQ(ScoreOfRule(category, std::nan("")), 0.0);
    EXPECT_EQ(ScoreOfRule(category, 1e300), 0.0);

    interval.comparison = 2;
    scoringRules = {interval, quadratic};
    const std::vector<double> records = {1, 3, 0, 9};
    EXPECT_EQ(ScoreOfRecord(scoringRules, records, 0, 2), 10.0 + 6.0);
    EXPECT_EQ(ScoreOfRecord(scoringRules, records, 1, 2), 1.0);
    EXPECT_THROW(ScoreOfRecord(scoringRules, records, 2, 2), std::invalid_argument);
    // Every record scored the same: every line scores 0.
    EXPECT_EQ(ScoreOfValues(scoringRules, {1, 3}, scoreMinimum, scoreMaximum), 0.0);
    scoreMinimum = 1, scoreMaximum = 21;
    EXPECT_EQ(ScoreOfValues(scoringRules, {1, 3}, scoreMinimum, scoreMaximum), 75.0);
    EXPECT_FALSE(CoversScoringRules(scoringRules, {1}));

    std::vector<double> values;
    EXPECT_EQ(ParseNumberLine(values, "1;2,3"), 3);
    EXPECT_EQ(values, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(ParseNumberLine(values, " \t4.5x ;; abc,\r\n"), 2);
    EXPECT_EQ(values, (std::vector<double>{4.5, 0}));
    EXPECT_EQ(ParseNumberLine(values, std::string(700, '1') + " 2"), 2);  // read whole
    EXPECT_EQ(values[1], 2.0);
    EXPECT_EQ(ScoreAsInt(std::nan("")), 0);
    EXPECT_EQ(ScoreAsInt(1e20), 2147483647);
    EXPECT_EQ(ScoreAsInt(-3.7), -3);
}

TEST_F(ScoringTest, ScoreFileIsByteExact)
{
    scoringRules = {{0, 0, 0, 0, 0.0, 2.5, 12.0},
                    {0, 2, 1, 0, 3.0, 5.0, -7.5},
                    {1, 2, 2, 0, 0.0, 9.0, 0.0, 1.5, 2.0},
                    {2, 2, 3, 0, 0.0, 9.0, 0.0, -1.0, 0.5, -0.25},
                    {0, 0, 1, 1, 4.0, 4.0, 6.0}};
    scoreMinimum = -20, scoreMaximum = 60;
    const TempDir dir("tabulon_score_");
    const std::string task = dir / "task.txt";
    std::filesystem::copy_file(Source("score_task.txt"), task, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(ScoreFileName(task, 50), dir / "task50.txt");
    EXPECT_EQ(ScoreFileName("/a.b/task", 7), "/a.b/task7.txt");
    int skipped = -1;
    ASSERT_EQ(WriteScoreFile(task, scoringRules, scoreMinimum, scoreMaximum, 50, 8, skipped), kScoreFileWritten);
    EXPECT_EQ(Slurp(dir / "task50.txt"), Slurp(Source("score_task50.expected")));
    EXPECT_EQ(skipped, 5);  // lines of two numbers
    ASSERT_EQ(WriteScoreFile(task, scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped), kScoreFileWritten);
    EXPECT_EQ(Slurp(dir / "task100.txt"), Slurp(Source("score_task100.expected")));
    EXPECT_EQ(WriteScoreFile(dir / "missing.txt", scoringRules, scoreMinimum, scoreMaximum, 50, 8, skipped), kScoreFileNoTask);
}

TEST_F(ScoringTest, RuleTextsAndSpreadsheetTerms)
{
    const struct {
        scoreAction rule;
        const char *text, *term;
    } cases[] = {
        {{0, 0, 0, 1, 3, 3, 12.5}, "if(age = 3 ) 12.5", "+IF(age=3,12.5,0)"},
        {{0, 2, 0, 0, 1.5, 4, -7}, "if(1.5 < age < 4 ) -7", "+IF(age>1.5,IF(age<4,-7,0),0)"},
        {{0, 1, 0, 0, 9, 12, 3}, "if(age > 9) 3", "+IF(age>9,3,0)"},
        {{0, 0, 0, 0, 0, 2, 4}, "if(age < 2) 4", "+IF(age<2,4,0)"},
        {{1, 2, 0, 0, 0, 9, 1, -0.5, 2}, "+2*age  -0.5", "+2*age  -0.5"},
        {{2, 2, 0, 0, 0, 9, 1, 1, -3, 0.25}, "+0.25*age^2  -3*age  +1", "+0.25*age^2  -3*age  +1"},
    };
    for (const auto& c : cases) {
        std::string text, term;
        ScoringRuleTexts(c.rule, "age", text, term);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(term, c.term);
    }
    EXPECT_EQ(NormalizationFormula(-2.5, 7.5), "100*(score + 2.5)/10");
    EXPECT_EQ(NormalizationFormula(0, 4), "100*score/4");
    EXPECT_EQ(NormalizationFormula(1, 4), "100*(score - 1)/3");
}

TEST_F(ScoringTest, ResponseRateTableSaysNotAvailableWithoutPositives)
{
    ScoreCounts all{}, positive{};
    all.fill(0);
    positive.fill(0);
    std::fill_n(all.begin(), 51, 4);
    std::fill_n(positive.begin(), 21, 1);
    const std::string table = ResponseRateTable(all, positive, 8, 2);
    EXPECT_EQ(table.rfind("Response rates:\r\nScore    All cases(%)     Positive responses (%)\r\n> 99   0  0\r\n", 0), 0u);
    EXPECT_NE(table.find("> 50   50  0\r\n> 49   50  0\r\n"), std::string::npos);
    EXPECT_NE(table.find("> 20   50  50\r\n"), std::string::npos);
    EXPECT_EQ(table.substr(table.size() - 14), "> 0   50  50\r\n");
    const std::string none = ResponseRateTable(all, positive, 8, 0);
    EXPECT_NE(none.find("> 0   50  n/a\r\n"), std::string::npos);
    EXPECT_EQ(none.find("inf"), std::string::npos);
    EXPECT_EQ(none.find("nan"), std::string::npos);
}

TEST_F(ScoringTest, ScoreFileOfEmptyCrLfAndLinkedTaskFiles)
{
    scoringRules = {{1, 0, 0, 0, 0, 0, 0, 0, 1}};
    scoreMinimum = 0, scoreMaximum = 10;
    const TempDir dir("tabulon_score_edge_");
    const auto write = [](const std::string& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    };
    int skipped = 0;
    write(dir / "empty.txt", "");
    // Mend: an empty result is told apart from a written one.
    ASSERT_EQ(WriteScoreFile(dir / "empty.txt", scoringRules, scoreMinimum, scoreMaximum, 50, 8, skipped), kScoreFileNothingScored);
    EXPECT_TRUE(std::filesystem::exists(dir / "empty50.txt"));
    EXPECT_EQ(Slurp(dir / "empty50.txt"), "");

    write(dir / "crlf.txt", "5\r\n7.5\r\n");
    ASSERT_EQ(WriteScoreFile(dir / "crlf.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped), kScoreFileWritten);
    EXPECT_EQ(Slurp(dir / "crlf100.txt"), "5   50\n7.5   75\n");

    // Mend: a lone CR ends a line as in the text import (ten records gave one score).
    write(dir / "cr.txt", "1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r");
    ASSERT_EQ(WriteScoreFile(dir / "cr.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped), kScoreFileWritten);
    EXPECT_EQ(Slurp(dir / "cr100.txt"), "1   10\n2   20\n3   30\n4   40\n5   50\n6   60\n7   70\n8   80\n9   90\n10   100\n");

    // Mend: a NUL makes a line non-numeric (it was written back cut at the NUL).
    write(dir / "nul.txt", std::string("12\0 junk 9\n5\n", 13));
    ASSERT_EQ(WriteScoreFile(dir / "nul.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped), kScoreFileWritten);
    EXPECT_EQ(Slurp(dir / "nul100.txt"), "5   50\n");
    EXPECT_EQ(skipped, 1);

    // Mend: a line of more numbers than the series' parameters refuses the file before its
    // numbers are kept (a 100 MB line took 641 MB); nothing is written.
    write(dir / "wide.txt", "1 2\n" + std::string(1, '3') + std::string(2'000'000, ' ') + "4 5 6 7 8 9\n");
    EXPECT_EQ(WriteScoreFile(dir / "wide.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 4, skipped), kScoreFileTooManyNumbers);
    EXPECT_FALSE(std::filesystem::exists(dir / "wide100.txt"));
    EXPECT_EQ(WriteScoreFile(dir / "wide.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 9, skipped), kScoreFileWritten);

    // Mend: a write that fails (a full disk) is reported and leaves nothing under the name.
    write(dir / "full.txt", "5\n");
    std::filesystem::create_symlink("/dev/full", dir / "full100.txt");
    EXPECT_EQ(WriteScoreFile(dir / "full.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped), kScoreFileNotWritten);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "full100.txt")));

    // The output name reaching the task file itself (here through a link) leaves it alone.
    write(dir / "task.txt", "1\n");
    std::filesystem::create_symlink(dir / "task.txt", dir / "task50.txt");
    EXPECT_EQ(WriteScoreFile(dir / "task.txt", scoringRules, scoreMinimum, scoreMaximum, 50, 8, skipped), kScoreFileIsTask);
    EXPECT_EQ(Slurp(dir / "task.txt"), "1\n");
}

// Mend: a task file of millions of empty lines kept a number for every line (150 million
// took 2.1 GB) and wrote an empty score file as if all went well. Lines not scored cost no
// memory, and the empty result is told apart.
TEST_F(ScoringTest, LinesNotScoredCostNoMemory)
{
    scoringRules = {{1, 0, 0, 0, 0, 0, 0, 0, 1}};
    scoreMinimum = 0, scoreMaximum = 10;
    const TempDir dir("tabulon_score_lines_");
    constexpr int kLines = 20'000'000;
    {
        std::FILE* f = std::fopen((dir / "empty.txt").c_str(), "wb");
        const std::string block(1'000'000, '\n');
        for (int i = 0; i < kLines / 1'000'000; ++i)
            std::fwrite(block.data(), 1, block.size(), f);
        std::fclose(f);
    }
    int skipped = 0;
    ScoreFileStatus status = kScoreFileWritten;
    const long long growth = test_memory::PeakGrowth(
        [&] { status = WriteScoreFile(dir / "empty.txt", scoringRules, scoreMinimum, scoreMaximum, 100, 8, skipped); });
    EXPECT_EQ(status, kScoreFileNothingScored);
    EXPECT_EQ(skipped, kLines);
    EXPECT_EQ(Slurp(dir / "empty100.txt"), "");
    ASSERT_GE(growth, 0);
    EXPECT_LT(growth, 32 << 20);

    // Lines that score, none of them above the threshold: equal scores at 50 %.
    std::ofstream(dir / "same.txt", std::ios::binary) << "5\n5\n";
    EXPECT_EQ(WriteScoreFile(dir / "same.txt", scoringRules, scoreMinimum, scoreMaximum, 50, 8, skipped),
              kScoreFileNoneAboveThreshold);
    EXPECT_EQ(Slurp(dir / "same50.txt"), "");
}

}  // namespace
