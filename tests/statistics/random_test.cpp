#include "statistics/random.h"

#include "statistics/oracle_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <map>

namespace {

constexpr RandomState kStart = {{390451501u, 613566701u, 858993401u}};

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        randomState = kStart;
        savedClock = randomClock;
    }
    void TearDown() override { randomClock = savedClock; }
    RandomClockFunction savedClock = nullptr;
};

using Words = std::vector<std::uint32_t>;

Words StateWords() { return {randomState.z[0], randomState.z[1], randomState.z[2]}; }

// The state words after `steps` raw steps from `start`; the program-wide state is left as it was.
Words WordsAfter(RandomState start, long steps)
{
    std::swap(randomState, start);
    for (long i = 0; i < steps; ++i)
        RandomNext();
    const Words words = StateWords();
    randomState = start;
    return words;
}

void ExpectSequence(const Words& expected)
{
    ASSERT_FALSE(expected.empty());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(RandomNext(), expected[i]) << "word " << i;
}

}  // namespace

TEST_F(RandomTest, MatchesIndependentGeneratorFromEveryStart)
{
    std::map<int, Words> seqs;
    for (const auto& row : ReadOracleTable("taus88.csv"))
        seqs[static_cast<int>(row[0])].push_back(static_cast<std::uint32_t>(row[2]));
    ASSERT_EQ(seqs.size(), 4u);

    ExpectSequence(seqs.at(0));  // unseeded start: first word 1908608547
    randomState = kStart;
    RandomSeed(337643u, 62047u, 2751976u);
    ExpectSequence(seqs.at(1));
    randomState = kStart;
    RandomSeed(4000000000u, 123456789u, 987654321u);
    ExpectSequence(seqs.at(2));
    randomState = kStart;
    randomClock = [] { return RandomClockReading{17, 42, 345}; };
    RandomSeedFromClock();
    ExpectSequence(seqs.at(3));
}

TEST_F(RandomTest, SeedsAtOrBelowThresholdsKeepTheirComponent)
{
    RandomSeed(524288u, 33554432u, 2048u);  // none exceeds its threshold
    EXPECT_EQ(StateWords(), WordsAfter(kStart, 1));
    // The start-up seeds change only the third component before the discarded step.
    randomState = kStart;
    RandomSeed(337643u, 62047u, 2751976u);
    EXPECT_EQ(StateWords(), WordsAfter(RandomState{{kStart.z[0], kStart.z[1], 2751976u}}, 1));
}

TEST_F(RandomTest, ClockStepsAreTakenModulo5493)
{
    randomState = kStart;
    RandomSeed(337643u, 62047u, 2751976u);
    const RandomState seeded = randomState;
    struct Case { int minute, second, ms; long steps; };
    for (const Case c : {Case{0, 0, 0, 0}, Case{0, 0, 5493, 0}, Case{0, 0, 5492, 5492},
                         Case{59, 59, 999, ((59L * 60 + 59) * 60000 + 999) % 5493}}) {
        randomState = kStart;
        RandomSeedFromClock(c.minute, c.second, c.ms);
        EXPECT_EQ(StateWords(), WordsAfter(seeded, c.steps)) << c.minute << ":" << c.second << "." << c.ms;
    }
}

TEST_F(RandomTest, NoDrawForANonPositiveSigma)
{
    const Words before = StateWords();
    for (double sigma : {0.0, -1.0, std::nan("")})
        EXPECT_EQ(RandomHalfNormal(sigma), 0.0) << sigma;
    EXPECT_EQ(StateWords(), before);
}

TEST_F(RandomTest, IntegerDrawsStayInRange)
{
    EXPECT_EQ(RandomInt(4, 4), 4);
    for (int i = 0; i < 2000; ++i) {
        const int r = RandomInt(-2, 3);
        ASSERT_TRUE(r >= -2 && r <= 3) << r;
        RandomInt(INT_MIN, INT_MAX);  // a span beyond 32 bits must not overflow
    }
    // The normal deviate has roughly the right centre and spread (a lost sign would shift the centre).
    double sum = 0, sum2 = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double v = RandomNormal(1.0, 3.0);
        sum += v;
        sum2 += (v - 1.0) * (v - 1.0);
    }
    EXPECT_NEAR(sum / n, 1.0, 0.1);
    EXPECT_NEAR(std::sqrt(sum2 / n), 3.0, 0.1);
}

TEST_F(RandomTest, PerturbationIsClampedLowerLimitLast)
{
    const double value[] = {5.0, -5.0, 0.5, 2.0};
    const double step[] = {1.0, 1.0, -0.25, 0.0};
    const double lower[] = {0.0, -1.0, 0.0, 3.0};
    const double upper[] = {4.0, 1.0, 1.0, 1.0};  // last row: limits cross
    std::vector<double> out(4);
    PerturbParameterVector(1, 4, value, step, lower, upper, out.data());
    EXPECT_EQ(out, (std::vector<double>{4.0, -1.0, 0.5, 3.0}));

    const RandomState saved = randomState;
    PerturbParameterVector(0, 4, value, step, lower, upper, out.data());
    randomState = saved;
    RandomSigned();
    RandomSigned();
    EXPECT_EQ(out[2], 0.5 + RandomSigned() * 0.25);  // |step| used
}

TEST(SineReduced, ReducesWholeTurns)
{
    for (double k : {1.0, -3.0, 1000.0, 123456.0, 2147483647.0}) {
        EXPECT_NEAR(SineReduced(6.283185307179586 * k), 0.0, 1e-6 * std::max(1.0, k / 1e5));
        EXPECT_NEAR(CosineReduced(6.283185307179586 * k), 1.0, 1e-6);
    }
    for (double x : {0.3, -2.0, 17.5, -1234.5}) {
        EXPECT_NEAR(SineReduced(x), std::sin(x), 1e-12);
        EXPECT_NEAR(CosineReduced(x), std::cos(x), 1e-12);
    }
    // Turn counts beyond 32 bits and non-numbers must not be undefined behaviour.
    EXPECT_TRUE(std::isfinite(SineReduced(1e300)));
    EXPECT_TRUE(std::isnan(SineReduced(std::nan(""))));
}

TEST(SortUIntArray, AscendingAsSignedIntegers)
{
    Words a = {5u, 0x80000000u, 3u, 0xFFFFFFFFu, 3u, 0u};
    SortUIntArray(a);
    EXPECT_EQ(a, (Words{0x80000000u, 0xFFFFFFFFu, 0u, 3u, 3u, 5u}));
}
