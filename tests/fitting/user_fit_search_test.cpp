// The user-formula search kernel: its own generator (bit-exact, apart from the program's),
// the half-normal step, the trial rules of the four schemes and the stop tests.
#include "fitting/user_fit_search.h"
#include "tests/fitting/fitting_test_support.h"

namespace {

// The next five draws of the search's generator against the oracle's line starting with `key`.
void ExpectOracleDraws(const std::string& key, randomGenerator& random) {
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/tests/app/user_fit_oracle.txt");
    std::vector<double> want;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) want = fittest::Numbers(line.substr(key.size()));
    ASSERT_EQ(want.size(), 5u) << key;
    for (double w : want) EXPECT_EQ(RandomNext(random), static_cast<std::uint32_t>(w)) << key;
}

useruf_settings Table(std::vector<double> values, std::vector<double> steps) {
    useruf_settings t;
    t.names.assign(values.size(), "c");
    t.minima.assign(values.size(), -1e40);
    t.maxima.assign(values.size(), 1e40);
    t.values = std::move(values);
    t.steps = std::move(steps);
    return t;
}

// Seeding keeps the state words whose seeds are too small: each generator here starts from the
// initial words.
TEST(UserFitRandom, BitExactWithItsSeedingAndApartFromTheProgramGenerator) {
    const RandomState programBefore = randomState;
    randomGenerator seeded;
    RandomSeed(seeded, 337643, 62047, 2751976);
    ExpectOracleDraws("seeded", seeded);

    randomGenerator clocked;
    UserFitRandomInit(clocked, [] { return RandomClockReading{7, 33, 250}; });
    ExpectOracleDraws("clock 7 33 250", clocked);
    EXPECT_TRUE(std::equal(programBefore.z, programBefore.z + 3, randomState.z));
}

TEST(UserFitRandom, GaussStepIsHalfNormal) {
    randomGenerator random;
    RandomSeed(random, 337643, 62047, 2751976);
    const int n = 20000;
    const double sigma = 2.5;
    std::vector<double> draws(n);
    double sum = 0;
    for (double& d : draws) {
        d = UserFitGaussStep(random, sigma);
        ASSERT_GE(d, 0.0);
        sum += d;
    }
    EXPECT_NEAR(sum / n / sigma, std::sqrt(2.0 / std::acos(-1.0)), 0.02);  // 0.798
    std::sort(draws.begin(), draws.end());
    double ks = 0;
    for (int i = 0; i < n; ++i) {
        const double cdf = std::erf(draws[static_cast<std::size_t>(i)] / (sigma * std::sqrt(2.0)));
        ks = std::max({ks, std::fabs(cdf - static_cast<double>(i) / n),
                       std::fabs(cdf - static_cast<double>(i + 1) / n)});
    }
    EXPECT_LT(ks, 1.63 / std::sqrt(n));  // Kolmogorov-Smirnov at the 1% level
    EXPECT_EQ(UserFitGaussStep(random, 0), 0.0);
    EXPECT_EQ(UserFitGaussStep(random, -1), 0.0);
}

TEST(UserFitSearch, SlopeLocalFirstStepReversesAndShrinksTheCoordinate) {
    randomGenerator random;
    useruf_settings t = Table({1, 2}, {0.1, 0.2});
    const UserFitRules rules{kSlopeLocal, 50, 0.69, 1e-6};
    UserFitState s;
    UserFitBegin(s, t);
    UserFitRecordError(s, t, rules, 5.0);  // iteration 0 never improves
    ++s.stale;
    UserFitNextTrial(s, t, rules, random);
    EXPECT_NEAR(s.trial[0], 0.931, 1e-12);
    EXPECT_NEAR(t.steps[0], -0.069, 1e-12);
    EXPECT_NEAR(s.trial[1], 2.2, 1e-12);
    EXPECT_NEAR(t.steps[1], 0.2, 1e-12);
    EXPECT_EQ(s.coordinate, 1);
}

TEST(UserFitSearch, TrialRulesKeepLimitsAndShrinkWhenStale) {
    for (int scheme : {kRandomLinear, kRandomGauss, kSlopeLocal, kOrvelMethod}) {
        SCOPED_TRACE(scheme);
        useruf_settings t = Table({1, 3}, {0.5, 0.5});
        t.minima[1] = t.maxima[1] = 3;  // a pinned coefficient
        const UserFitRules rules{scheme, 10, 0.37, 1e-6};
        UserFitState s;
        UserFitBegin(s, t);
        randomGenerator random;
        RandomSeed(random, 337643, 62047, 2751976);
        for (int i = 0; i < 60; ++i) {
            UserFitLimitTrial(s.trial, t);
            EXPECT_EQ(s.trial[1], 3.0);
            UserFitRecordError(s, t, rules, 10.0);  // never better
            ++s.stale;
            scheme == kOrvelMethod ? UserFitNextTrialOrvelMethod(s, t, rules, random)
                                   : UserFitNextTrial(s, t, rules, random);
        }
        if (scheme != kSlopeLocal) EXPECT_LT(std::fabs(t.steps[0]), 0.5 * 0.37 + 1e-12);
    }
}

TEST(UserFitSearch, NonFiniteAndRefusedErrorsNeverImprove) {
    useruf_settings t = Table({1}, {0.1});
    const UserFitRules rules{kRandomGauss, 50, 0.69, 1e-6};
    UserFitState s;
    UserFitBegin(s, t);
    UserFitRecordError(s, t, rules, 1e40);
    s.trial[0] = 7;
    EXPECT_EQ(UserFitRecordError(s, t, rules, std::nan("")), 0);
    EXPECT_EQ(UserFitRecordError(s, t, rules, HUGE_VAL), 0);
    EXPECT_EQ(t.values[0], 1.0);
    EXPECT_EQ(UserFitRecordError(s, t, rules, 0.5), 1);
    EXPECT_EQ(t.values[0], 7.0);
}

TEST(UserFitSearch, BestRowOfRefusalsIsTheEarliestMinimal) {
    const std::vector<std::vector<double>> h{{1, 2e40}, {2, 1e40}, {3, 1e40}, {4, 5e40}};
    EXPECT_EQ(UserFitBestHistoryRow(h), 1);
    int worst = -1;
    EXPECT_EQ(UserFitWorstHistoryRow({{1, 3}, {2, 5}, {3, 5}}, worst), 5);
    EXPECT_EQ(worst, 2);  // the later row on ties
}

TEST(UserFitSearch, StopTests) {
    useruf_settings t = Table({1, 2}, {1e-7, -1e-7});
    UserFitState s;
    EXPECT_TRUE(UserFitConverged(s, t, {kRandomGauss, 50, 0.69, 1e-6}));
    EXPECT_FALSE(UserFitConverged(s, t, {kRandomGauss, 50, 0.69, 0}));  // stop 0 never holds
    useruf_settings none = Table({}, {});
    EXPECT_TRUE(UserFitConverged(s, none, {kRandomLinear, 50, 0.69, 0}));
    // The "Orvel method" needs 4 history rows whose columns span less than the stop condition.
    const UserFitRules orvel{kOrvelMethod, 50, 0.69, 1e-6};
    s.history = {{1, 2, 0.1}, {1, 2, 0.1}, {1, 2, 0.1}};
    EXPECT_FALSE(UserFitConverged(s, t, orvel));
    s.history.push_back({1, 2 + 1e-7, 0.1});
    EXPECT_TRUE(UserFitConverged(s, t, orvel));
    s.history.push_back({1.1, 2, 0.1});
    EXPECT_FALSE(UserFitConverged(s, t, orvel));
}

TEST(UserFitSearch, OrvelHistoryKeepsTenRowsAndReplacesTheWorst) {
    useruf_settings t = Table({1}, {0.1});
    const UserFitRules rules{kOrvelMethod, 50, 0.69, 1e-6};
    UserFitState s;
    UserFitBegin(s, t);
    for (int i = 0; i < 14; ++i) {
        s.trial[0] = i;
        UserFitRecordError(s, t, rules, 100.0 - i);
    }
    ASSERT_EQ(s.history.size(), 10u);
    double worst = 0;
    for (const auto& row : s.history) worst = std::max(worst, row.back());
    EXPECT_EQ(s.worstError, worst);
    EXPECT_EQ(std::pair(t.values[0], s.best), std::pair(13.0, 87.0));
}

// Mend: coefficients added while an "Orvel method" run goes on (a*x^2+b, three added) made the
// next trial read past the history rows; the history now starts again for the new table.
TEST(UserFitSearch, OrvelHistoryFollowsAddedCoefficients) {
    randomGenerator random;
    useruf_settings t = Table({1, 2}, {0.1, 0.2});
    const UserFitRules rules{kOrvelMethod, 50, 0.69, 1e-6};
    UserFitState s;
    UserFitBegin(s, t);
    for (int i = 0; i < 12; ++i) {
        UserFitRecordError(s, t, rules, 50.0 - i);
        UserFitNextTrialOrvelMethod(s, t, rules, random);
    }
    ASSERT_EQ(s.history.size(), 10u);
    for (int k = 0; k < 3; ++k) {
        t.names.push_back("b1");
        t.values.push_back(2), t.steps.push_back(0.2), t.minima.push_back(-1e40), t.maxima.push_back(1e40);
    }
    EXPECT_FALSE(UserFitConverged(s, t, rules));
    for (int i = 0; i < 12; ++i) {
        UserFitNextTrialOrvelMethod(s, t, rules, random);
        ASSERT_EQ(s.trial.size(), 5u);
        UserFitRecordError(s, t, rules, 30.0 - i);
        for (const auto& row : s.history) ASSERT_EQ(row.size(), 6u);
    }
    EXPECT_EQ(s.history.size(), 10u);
}

}  // namespace
