#include "fitting/listed_fits.h"

#include <limits>

#include "fitting/schemes.h"
#include "statistics/random.h"
#include "tests/fitting/fitting_test_support.h"

namespace {

using fittest::Numbers;

constexpr double kPeriods[6] = {1.5, 2.0, 3.0, 4.0, 5.0, 6.0};

}  // namespace

// Both fits against statsmodels OLS of the transformed data.
TEST(ListedFits, MatchOlsOfTransformedData)
{
    std::ifstream in(fittest::Source("listed_fits.txt"));
    std::string head;
    int cases = 0;
    while (std::getline(in, head)) {
        std::istringstream h(head);
        std::string kind, id;
        int yCode = 0, n = 0, m = 0;
        double cond = 0;
        h >> kind >> id >> yCode >> n >> m >> cond;
        std::string l[6];
        for (auto& s : l)
            std::getline(in, s);
        const auto codesD = Numbers(l[0]);
        const std::vector<int> codes(codesD.begin(), codesD.end());
        const auto x = Numbers(l[1]), y = Numbers(l[2]), a = Numbers(l[3]), s = Numbers(l[4]), tail = Numbers(l[5]);
        const double tol = std::max(1e-10, 100 * std::numeric_limits<double>::epsilon() * cond * cond);
        double c[kMaxListedFitCoefficients], d[kMaxListedFitCoefficients], rms = 0, maxDeviation = 0;
        double e;
        if (kind == "scheme") {
            e = FitCollectionModel(x, y, c, d, m, rms, std::stoi(id), maxDeviation);
            EXPECT_TRUE(std::isfinite(maxDeviation)) << head;
        } else {
            e = FitConstructorModel(x, y, kPeriods, c, d, codes.data(), yCode, m, rms);
        }
        fittest::ExpectClose(std::vector<double>(c, c + m), a, tol, head + " coefficients");
        fittest::ExpectClose(std::vector<double>(d, d + m), s, tol, head + " deviations");
        EXPECT_NEAR(e, tail[0], tol) << head;
        EXPECT_NEAR(rms, tail[1], tol * std::max(1.0, tail[1])) << head;
        ++cases;
    }
    EXPECT_EQ(cases, 33);
}

TEST(ListedFits, ExactLinePassesTheTest)
{
    double a[9], s[9], rms = -1, maxDeviation = -1;
    EXPECT_NEAR(FitCollectionModel({0, 1, 2}, {1, 3, 5}, a, s, 2, rms, 0, maxDeviation), 0.0, 1e-20);
    EXPECT_NEAR(a[0], 1.0, 1e-14);
    EXPECT_NEAR(a[1], 2.0, 1e-14);
    EXPECT_NEAR(s[0], 0.0, 1e-14);
    EXPECT_TRUE(ListedFitAccepted(a, s, 2));
}

// Mends: empty or mismatched input is a failed fit that the acceptance test rejects.
TEST(ListedFits, FailuresGiveTheSentinelAndFailTheTest)
{
    struct Case {
        const char* what;
        std::vector<double> x, y;
        int scheme;
    } cases[] = {
        {"empty", {}, {}, 0},
        {"lengths differ", {1, 2, 3}, {1, 2}, 0},
        {"negative y under a logarithm", {1, 2, 3, 4}, {1, -2, 3, 4}, 9},
        {"y = 0 under 1/y", {1, 2, 3, 4}, {1, 0, 3, 4}, 13},
    };
    for (const auto& c : cases) {
        double a[9], s[9], rms = 0, maxDeviation = 0;
        const int count = SchemeCoefficientCount(c.scheme);
        EXPECT_EQ(FitCollectionModel(c.x, c.y, a, s, count, rms, c.scheme, maxDeviation), kFailedListedFit) << c.what;
        EXPECT_EQ(a[0], 1.0) << c.what;
        EXPECT_EQ(s[0], kFailedFirstDeviation) << c.what;
        EXPECT_EQ(maxDeviation, kFailedListedFit) << c.what;
        EXPECT_FALSE(ListedFitAccepted(a, s, count)) << c.what;
        // The constructor's fit takes a rejected value as 0 and goes on; bad input fails.
        const int codes[] = {0, 1};
        const double e = FitConstructorModel(c.x, c.y, kPeriods, a, s, codes, 5, 2, rms);
        const bool badInput = c.x.empty() || c.x.size() != c.y.size();
        EXPECT_EQ(e == kFailedListedFit, badInput) << c.what;
        if (badInput)
            EXPECT_FALSE(ListedFitAccepted(a, s, 2)) << c.what;
    }
    // A singular matrix: deviations that are not finite fail the test.
    double a[9], s[9], rms = 0, maxDeviation = 0;
    FitCollectionModel({2, 2, 2, 2}, {1, 2, 3, 4}, a, s, 2, rms, 0, maxDeviation);
    EXPECT_FALSE(ListedFitAccepted(a, s, 2));
    EXPECT_FALSE(ListedFitAccepted(a, s, 0));
}

TEST(ListedFits, AcceptanceBoundary)
{
    const double a[] = {0.0};
    for (const auto& [s, accepted] : {std::pair{10.0, true}, {10.1, false}, {std::nan(""), false}})
        EXPECT_EQ(ListedFitAccepted(a, &s, 1), accepted) << s;
}

TEST(ListedFits, SearchModes)
{
    // y = exp(0.5 + 0.8 x) with noise: the log-linear formula 8 wins the overall fit.
    std::vector<double> x, y;
    RandomSeed(11, 22, 33);
    for (int i = 0; i < 40; ++i) {
        x.push_back(0.2 + 0.1 * i);
        y.push_back(std::exp(0.5 + 0.8 * x.back()) * (1 + 0.01 * RandomSigned()));
    }
    ListedSearchModes overall;
    overall.overallFit = 1;
    const int best = SearchBestListedFormula(x, y, overall);
    ASSERT_GE(best, 0);
    double a[20], s[20], rms, maxDeviation;
    const double eBest = FitCollectionModel(x, y, a, s, SchemeCoefficientCount(best), rms, best, maxDeviation);
    EXPECT_LT(eBest, 1e-3);

    // "min of max out" picks the formula with the smallest largest deviation among those
    // that pass; check it against a plain scan.
    ListedSearchModes minOut;
    minOut.minOfMaxOut = 1;
    const int chosen = SearchBestListedFormula(x, y, minOut);
    double smallest = 1e50;
    int expected = -1;
    for (int i = 0; i < 25; ++i) {
        const int count = SchemeCoefficientCount(i);
        const double e = FitCollectionModel(x, y, a, s, count, rms, i, maxDeviation);
        if (e != 0 && ListedFitAccepted(a, s, count) && maxDeviation < smallest) {
            smallest = maxDeviation;
            expected = i;
        }
    }
    EXPECT_EQ(chosen, expected);

    // Nothing qualifies on data of one point.
    EXPECT_EQ(SearchBestListedFormula({1.0}, {2.0}, overall), -1);
}

// The band against its expectation sqrt(0.5 (V(x) + V(x'))) + rms, V(x) = sum s_k^2 r_k(x)^2.
TEST(ListedFits, BandMatchesItsAnalyticValue)
{
    const double a[] = {1.0, 2.0, -0.5}, s[] = {0.3, 0.2, 0.1};
    const double rms = 0.05, meanX = 0.3;
    std::vector<double> xs, band, mid;
    double step = 0;
    RandomSeed(337643, 62047, 2751976);
    ASSERT_EQ(CollectionStdDevBand(-1.0, 2.0, xs, step, band, mid, 30, 20000, a, s, 3, rms, meanX, 1), 1);
    ASSERT_EQ(xs.size(), 30u);
    EXPECT_DOUBLE_EQ(step, 0.1);
    const auto V = [&](double x) {
        const double r[] = {1.0, x, x * x};
        double v = 0;
        for (int k = 0; k < 3; ++k)
            v += s[k] * s[k] * r[k] * r[k];
        return v;
    };
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double x = xs[i], mirror = 2 * meanX - x;
        const double expected = std::sqrt(0.5 * (V(x) + V(mirror))) + rms;
        EXPECT_NEAR(band[i], expected, 0.02 * expected) << x;
        EXPECT_DOUBLE_EQ(mid[i], 1.0 + 2.0 * x - 0.5 * x * x);
    }
}

TEST(ListedFits, BandIsSymmetricAboutMeanXAndRefusesBadInput)
{
    const double a[] = {0.5, 1.0}, s[] = {0.2, 0.4};
    std::vector<double> xs{7}, band{7}, mid{7};
    double step = 0;
    RandomSeed(5, 6, 7);
    ASSERT_EQ(ConstructorStdDevBand(0.0, 4.0, xs, step, band, mid, 40, 100, kPeriods, a, s,
                                    std::vector<int>{0, 1}.data(), 0, 2, 0.0, 2.0),
              1);
    for (int i = 1; i < 40; ++i)
        EXPECT_NEAR(band[static_cast<std::size_t>(i)], band[static_cast<std::size_t>(40 - i)], 1e-12) << i;

    std::vector<double> untouched{7};
    EXPECT_EQ(CollectionStdDevBand(1.0, 1.0, untouched, step, band, mid, 10, 10, a, s, 2, 0.0, 0.0, 0), 0);
    EXPECT_EQ(untouched, std::vector<double>{7});
    const double inf[] = {std::numeric_limits<double>::infinity(), 1.0};
    EXPECT_EQ(CollectionStdDevBand(0.0, 1.0, untouched, step, band, mid, 10, 10, a, inf, 2, 0.0, 0.0, 0), 0);
    EXPECT_EQ(untouched, std::vector<double>{7});
}

// No spread: the band is the rms, and the range widens through the back-transform.
TEST(ListedFits, BandWidensTheRangeThroughTheBackTransform)
{
    const double a[] = {0.0, 1.0}, s[] = {0.0, 0.0};
    struct Case { double from, to; int points, draws; double meanX; int scheme; double lo, hi; };
    const Case cases[] = {
        {0.0, 1.0, 10, 3, 0.5, 8, std::exp(-0.5), std::exp(0.9 + 0.5)},  // ln y = x
        // Mend: 1/y = x, where x = 0.5 - 0.5 reaches 1/0 at the first point; that point is left
        // out (not taken as 0) while mid + band widens the top and mid - band the bottom.
        {0.5, 1.5, 4, 2, 1.0, 13, 1.0 / (1.25 - 0.5), 1.0 / (0.5 + 0.5)},
    };
    for (const Case& c : cases) {
        std::vector<double> xs, band, mid;
        double step = 0, lo = 1e60, hi = -1e60;
        ASSERT_EQ(CollectionStdDevBand(c.from, c.to, xs, step, band, mid, c.points, c.draws, a, s, 2, 0.5, c.meanX,
                                       c.scheme, &lo, &hi),
                  1);
        EXPECT_DOUBLE_EQ(lo, c.lo) << c.scheme;
        EXPECT_DOUBLE_EQ(hi, c.hi) << c.scheme;
    }
}

TEST(ListedFits, BandMeanXAndPolynomialCosine)
{
    EXPECT_DOUBLE_EQ(BandMeanX({1, 2, 3, 10}, 0, 0, 5), 4.0);
    EXPECT_DOUBLE_EQ(BandMeanX({1, 2, 3, 10}, 1, 0, 5), 2.0);
    EXPECT_DOUBLE_EQ(BandMeanX({1, 2}, 1, 5, 6), 0.0);
    const double c[] = {1.0, 2.0, 3.0, 0.5, 0.25};
    const double periods[] = {4.0};
    EXPECT_DOUBLE_EQ(PolynomialCosineValue(2.0, c, 3, 1, periods),
                     1 + 4 + 12 + 0.5 * std::cos((2.0 + 0.25) * 6.2831853072 / 4.0));
}
