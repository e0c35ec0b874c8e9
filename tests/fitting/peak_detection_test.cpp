#include "fitting/peak_detection.h"

#include "fitting/base_line.h"
#include "fitting/matrix_inversion.h"
#include "fitting/normal_equations.h"
#include "fitting/sinaldlg_settings.h"
#include "tests/fitting/fitting_test_support.h"

#include <random>

namespace {

struct Signal {
    std::vector<double> x, y;
};

// Base 5, noise sigma 0.5, well separated Gaussians (centre, sigma, area), x = 0, 1, 2, ...
Signal Chromatogram(int n, const std::vector<peakSignal>& peaks, unsigned seed = 7)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> noise(0.0, 0.5);
    Signal s{std::vector<double>(n), std::vector<double>(n)};
    for (int i = 0; i < n; ++i) {
        s.x[i] = i;
        s.y[i] = 5.0 + noise(generator);
        for (const auto& p : peaks) {
            const double d = (i - p.centre) / p.sigma;
            s.y[i] += p.area * invSqrtTwoPi / p.sigma * std::exp(-0.5 * d * d);
        }
    }
    return s;
}

const peakSignal* Nearest(const std::vector<peakSignal>& list, double centre)
{
    const peakSignal* best = nullptr;
    for (const auto& p : list)
        if (!best || std::fabs(p.centre - centre) < std::fabs(best->centre - centre))
            best = &p;
    return best;
}

TEST(PeakDetection, SyntheticChromatogramsAreRecovered)
{
    std::vector<peakSignal> peakList;
    peakSignal peakSummary;
    const std::vector<std::vector<peakSignal>> cases = {
        {{150, 6, 2000}, {420, 10, 4500}, {700, 4, 1250}},
        {{100, 5, 1500}, {260, 8, 3000}, {430, 3.5, 1000}, {600, 12, 7500}, {850, 7, 2500}},
    };
    for (unsigned seed = 1; seed <= 3; ++seed) {
        for (const auto& truth : cases) {
            auto [x, y] = Chromatogram(1000, truth, seed);
            const std::vector<double> original = y;
            FindAndRefinePeaks(x, y, 2.5, 3, 0, peakList, peakSummary);
            EXPECT_EQ(y, original);  // the caller's signal is not changed
            ASSERT_EQ(peakList.size(), truth.size()) << "seed " << seed;
            for (const auto& t : truth) {
                const peakSignal* p = Nearest(peakList, t.centre);
                EXPECT_NEAR(p->centre, t.centre, 0.05) << t.centre;
                EXPECT_NEAR(p->area, t.area, 0.05 * t.area) << t.centre;
            }
            EXPECT_NEAR(peakSummary.base, 5.0, 0.5);  // the constant also takes the tails beyond 3 sigma
        }
    }
}

// Peaks given by centre, sigma and height over x from `from` to `to`, on the base a + b x with
// normal noise of the given deviation.
struct Peak {
    double centre, sigma, height;
};
Signal Generated(int n, double from, double to, double a, double b, double noise, const std::vector<Peak>& peaks)
{
    std::mt19937 generator(11);
    std::normal_distribution<double> normal(0.0, noise);
    Signal s{std::vector<double>(n), std::vector<double>(n)};
    for (int i = 0; i < n; ++i) {
        const double x = from + (to - from) * i / (n - 1);
        s.x[i] = x;
        s.y[i] = a + b * x + normal(generator);
        for (const Peak& p : peaks) {
            const double d = (x - p.centre) / p.sigma;
            s.y[i] += p.height * std::exp(-0.5 * d * d);
        }
    }
    return s;
}

// Mend: the noise estimate starts from the median and the median absolute deviation, so that
// high peaks do not hide in a first window drawn from all values (2 of these 4 were found).
// Every signal is searched at the page's default settings.
TEST(PeakDetection, GeneratedSignalsGiveTheirCentres)
{
    std::vector<peakSignal> peakList;
    peakSignal summary;
    const sinaldlg_settings defaults;
    ASSERT_EQ(std::tuple(defaults.spikeWidth, defaults.noiseFactor, defaults.chromatogramOnly, defaults.baseLine),
              std::tuple(3, 2.5, 0, 0));
    const struct {
        const char* name;
        double a, b, noise;
        std::vector<Peak> peaks;
        double tolerance;
    } cases[] = {
        {"four peaks", 5, 0.05, 0.8, {{20, 2, 80}, {45.6, 2.4, 50}, {70, 2, 90}, {85, 2, 60}}, 0.05},
        {"doublet", 5, 0, 0.5, {{30, 1, 60}, {34, 1, 40}, {70, 1.5, 80}}, 0.1},
        {"sloped base", 2, 0.2, 0.5, {{25, 1.5, 40}, {60, 1, 70}, {80, 2, 30}}, 0.1},
        {"low noise", 5, 0, 0.02, {{15, 1, 20}, {50, 2, 90}, {75, 1.2, 5}}, 0.02},
        {"high noise", 10, 0, 3, {{30, 2, 90}, {65, 1.5, 80}}, 0.2},
        {"edges", 5, 0, 0.5, {{2, 1, 60}, {50, 1, 50}, {98, 1, 70}}, 0.1},
    };
    for (const auto& c : cases) {
        const Signal s = Generated(2000, 0, 100, c.a, c.b, c.noise, c.peaks);
        FindAndRefinePeaks(s.x, s.y, defaults.noiseFactor, defaults.spikeWidth, defaults.chromatogramOnly, peakList, summary);
        std::string found;
        for (const auto& p : peakList)
            found += " " + std::to_string(p.centre);
        // At the default noise factor a bump of the noise itself can pass for a small peak
        // (as on a signal of noise alone); the peaks of the signal stand far above those.
        const auto real = std::count_if(peakList.begin(), peakList.end(),
                                        [&c](const peakSignal& p) { return p.area > 10 * c.noise; });
        EXPECT_EQ(static_cast<std::size_t>(real), c.peaks.size()) << c.name << ":" << found;
        for (const Peak& t : c.peaks) {
            const peakSignal* p = Nearest(peakList, t.centre);
            ASSERT_NE(p, nullptr) << c.name;
            EXPECT_NEAR(p->centre, t.centre, c.tolerance) << c.name << ":" << found;
        }
    }
}

// A signal of 10^6 samples on base 5 with normal noise of deviation 0.5, plus the given
// Gaussians (centre, sigma, height), each added within 8 sigma of its centre.
std::vector<double> LongSignal(const std::vector<Peak>& peaks, unsigned seed)
{
    const int n = 1000000;
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal(0.0, 0.5);
    std::vector<double> y(n);
    for (double& v : y)
        v = 5.0 + normal(generator);
    for (const Peak& p : peaks) {
        const int reach = static_cast<int>(8 * p.sigma);
        for (int i = std::max(0, static_cast<int>(p.centre) - reach); i < std::min(n, static_cast<int>(p.centre) + reach); ++i) {
            const double d = (i - p.centre) / p.sigma;
            y[i] += p.height * std::exp(-0.5 * d * d);
        }
    }
    return y;
}

// Mend: a parabola of ln(y - base) fitted to a flat run of noise can put its vertex far
// outside the run, and exp(vertex) then makes a peak a hundred times the run's height
// (subtracting it left the run's top in place, so it was found again until the list was
// full). Such a run counts as one that cannot be fitted.
TEST(PeakDetection, NoiseBumpsAreNeverExtrapolated)
{
    std::vector<Peak> truth;
    for (int k = 0; k < 40; ++k)
        truth.push_back({12500.0 + 25000.0 * k, 40.0 + 56.0 * ((k * 13) % 40) / 39.0, 60.0 + 110.0 * ((k * 17) % 40) / 39.0});
    std::vector<double> x(1000000);
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<double>(i);
    const sinaldlg_settings defaults;
    std::vector<peakSignal> list;
    peakSignal summary;
    for (const auto& peaks : {std::vector<Peak>{}, truth}) {
        const std::vector<double> y = LongSignal(peaks, 3);  // a seed whose noise showed the fault
        FindAndRefinePeaks(x, y, defaults.noiseFactor, defaults.spikeWidth, defaults.chromatogramOnly, list, summary);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const peakSignal& p = list[i];
            EXPECT_LE(p.area * invSqrtTwoPi / p.sigma, 2.0 * (p.maxSignal - p.base)) << "at " << p.centre;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_GT(std::fabs(p.centre - list[j].centre), 0.5 * std::min(p.sigma, list[j].sigma))
                    << "listed twice: " << p.centre;
        }
        for (const Peak& t : peaks) {
            const peakSignal* p = Nearest(list, t.centre);
            ASSERT_NE(p, nullptr);
            EXPECT_NEAR(p->centre, t.centre, 0.5) << t.centre;
            EXPECT_NEAR(p->sigma, t.sigma, 0.01 * t.sigma) << t.centre;
            EXPECT_NEAR(p->area * invSqrtTwoPi / t.sigma, t.height, 0.01 * t.height) << t.centre;
        }
    }
}

TEST(PeakDetection, RefinementLinearStepMatchesLstsq)
{
    std::ifstream in(fittest::Source("peak_refinement.txt"));
    int n = 0, k = 0, cases = 0;
    while (in >> n >> k) {
        std::vector<peakSignal> list(k);
        for (auto& p : list)
            in >> p.centre >> p.sigma;
        std::vector<double> x(n), y(n), want(k + 1);
        for (int i = 0; i < n; ++i)
            in >> x[i] >> y[i];
        for (auto& w : want)
            in >> w;
        peakSignal summary;
        RefinePeaks(summary, x, y, list);
        ASSERT_EQ(static_cast<int>(list.size()), k);
        EXPECT_NEAR(summary.base, want[0], 1e-10 * std::fabs(want[0]));
        for (int j = 0; j < k; ++j) {
            EXPECT_NEAR(list[j].area, want[j + 1], 1e-10 * std::fabs(want[j + 1]));
            EXPECT_EQ(list[j].base, summary.base);
        }
        ++cases;
    }
    EXPECT_EQ(cases, 2);
}

// The refinement sums only the products of peaks that reach a point; summing every
// product, zeros included, must give the very same areas.
TEST(PeakDetection, RefinementSkipsOnlyZeroProducts)
{
    auto [x, y] = Chromatogram(3000, {{400, 20, 2000}, {430, 25, 1500}, {1500, 40, 3000}, {2600, 10, 800}});
    std::vector<peakSignal> list = {{401, 19}, {432, 26}, {1498, 41}, {2600.5, 10.5}};
    const int t = 5;
    std::vector<double> matrix(t * t + 1, 0.0), rhs(t, 0.0);
    for (std::size_t p = 0; p < x.size(); ++p) {
        double row[t] = {1.0};
        for (int j = 1; j < t; ++j)
            row[j] = UnitGaussianPeak(list[j - 1], x[p]);
        for (int j = 0; j < t; ++j) {
            rhs[j] += y[p] * row[j];
            for (int l = 0; l < t; ++l)
                matrix[l * t + j + 1] += row[j] * row[l];
        }
    }
    ASSERT_NE(InvertMatrix(t, matrix.data()), 0.0);
    std::vector<double> c(t, 0.0);
    for (int j = 0; j < t; ++j)
        for (int l = 0; l < t; ++l)
            c[j] += matrix[l * t + j + 1] * rhs[l];
    peakSignal summary;
    RefinePeaks(summary, x, y, list);
    std::vector<double> got{summary.base};
    for (const auto& p : list)
        got.push_back(p.area);
    EXPECT_EQ(got, c);
}

TEST(PeakDetection, RefinementPrunes)
{
    auto [x, y] = Chromatogram(600, {{150, 6, 400}, {400, 8, 500}, {280, 6, -60}});
    // A peak at a negative centre and one where the signal dips both go.
    std::vector<peakSignal> list = {{150, 6, 1}, {-3, 5, 1}, {400, 8, 1}, {280, 6, 1}};
    peakSignal summary;
    RefinePeaks(summary, x, y, list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(std::pair(list[0].centre, list[1].centre), std::pair(150.0, 400.0));
    // 45 peaks and one removal leave at most 39.
    std::vector<peakSignal> many;
    for (int j = 0; j < 45; ++j)
        many.push_back({10.0 + 13.0 * j, 2, 1});
    many[3].centre = 3000;  // beyond the signal: its column is 0, and it is removed
    std::vector<double> flatY(600, 5.0);
    for (int j = 0; j < 45; ++j)
        for (int i = 0; i < 600; ++i)
            flatY[i] += 50.0 * std::exp(-0.5 * std::pow((i - (10.0 + 13.0 * j)) / 2.0, 2));
    RefinePeaks(summary, x, flatY, many);
    EXPECT_LE(many.size(), 39u);
}

TEST(PeakDetection, FlatSignalsAndSpikes)
{
    auto [x, y] = Chromatogram(300, {});
    const std::vector<double> flat(300, 5.0);
    double plates = -1;
    std::vector<peakSignal> list;
    // Zero noise: no peak, and it ends; so with a negative factor.
    for (const auto& [signal, factor] : {std::pair{flat, 2.5}, {std::vector<double>(300, 0.0), 2.5}, {flat, -1.0}}) {
        FindPeaks(x, signal, list, factor, 3, 0, plates);
        EXPECT_TRUE(list.empty()) << factor;
    }
    FindPeaks({}, {}, list, 2.5, 3, 0, plates);
    EXPECT_TRUE(list.empty());

    // A one-point spike on a noisy base is flattened, never listed.
    y[100] = 80;
    FindPeaks(x, y, list, 2.5, 3, 0, plates);
    EXPECT_TRUE(list.empty());

    // A dip (upward parabola of the logarithms) is not a peak.
    peakSignal peak;
    peak.base = 1.0;
    std::vector<double> dx{0, 1, 2, 3, 4}, dy{5, 3, 2, 3, 5};
    EXPECT_FALSE(FitPeakShape(peak, dx, dy, 0, 4));
    // Points at or below the base are left out; fewer than 3 left: no shape.
    std::vector<double> low{0.5, 3, 0.5, 1, 0.2};
    EXPECT_FALSE(FitPeakShape(peak, dx, low, 0, 4));
}

TEST(PeakDetection, ChromatogramOnlyKeepsSimilarPlates)
{
    // Plates (centre/sigma)^2: 900, 900 and (600/40)^2 = 225 (ratio 0.5: not listed).
    auto [x, y] = Chromatogram(1000, {{150, 5, 500}, {450, 15, 800}, {600, 40, 1400}});
    std::vector<peakSignal> list;
    double plates = 0;
    FindPeaks(x, y, list, 2.5, 3, 1, plates);
    ASSERT_FALSE(list.empty());
    EXPECT_NEAR(plates, TheoreticalPlates(list[0]), 1e-9);
    EXPECT_NEAR(std::sqrt(plates), 30.0, 1.5);  // the standard count, not 5.545 times it
    for (const auto& p : list)
        EXPECT_GT(std::fabs(p.centre - 600), 5.0);
}

TEST(PeakDetection, AtMost51PeaksAreListed)
{
    std::vector<peakSignal> many;
    for (int k = 0; k < 60; ++k)
        many.push_back({40.0 + 80.0 * k, 3.0, 300.0 + 5.0 * k});
    auto [x, y] = Chromatogram(4850, many);
    std::vector<peakSignal> list;
    double plates = 0;
    FindPeaks(x, y, list, 2.5, 3, 0, plates);
    EXPECT_EQ(list.size(), 51u);
    // The highest first: the last-placed peaks of the signal are the tallest.
    EXPECT_NEAR(list[0].centre, 40.0 + 80.0 * 59, 0.5);
}

TEST(PeakDetection, LevelStatistics)
{
    double mean = 9, deviation = 9, low = 0, high = 10;
    int count = 9;
    SignalLevelRange(mean, deviation, count, low, high, {}, 0);
    EXPECT_EQ(std::tuple(mean, deviation, count), std::tuple(0.0, 0.0, 0));
    SignalLevelRange(mean, deviation, count, low, high, {4.0, 20.0}, 0);
    EXPECT_EQ(std::pair(mean, deviation), std::pair(4.0, 4000.0));
    // Equal values whose squares cancel inexactly never give a NaN deviation.
    SignalLevelRange(mean, deviation, count, low, high, std::vector<double>(7, 0.7), 1);
    EXPECT_EQ(std::pair(count, low), std::pair(7, 0.7));
    EXPECT_GE(deviation, 0.0);  // fails for a NaN too

    // An unknown surface kind has no terms; four points, no more than terms + 1, give no fit.
    EXPECT_EQ(SurfaceTermCount(2), 0);
    double row[5] = {7, 7, 7, 7, 7};
    SurfaceRow(1, 2, row, 2);
    EXPECT_EQ(row[0], 7);
    std::vector<double> c, d;
    EXPECT_EQ(FitSurface({1, 2, 3, 4}, {1, 3, 2, 5}, {1, 2, 3, 4}, c, d, 0), 0.0);
    EXPECT_TRUE(c.empty());
    // z = 1 + 2x - y + 0.5x^2 + noise-free: exact.
    std::vector<double> sx, sy, sz;
    for (int i = 0; i < 12; ++i) {
        sx.push_back(i % 4);
        sy.push_back(i / 4 + 0.3 * i);
        sz.push_back(1 + 2 * sx.back() - sy.back() + 0.5 * sx.back() * sx.back() + 0.25 * sy.back() * sy.back());
    }
    EXPECT_NEAR(FitSurface(sx, sy, sz, c, d, 1), 0.0, 1e-20);
    fittest::ExpectClose({c[3], c[4]}, {0.5, 0.25}, 1e-9, "square terms");
}

TEST(BaseLine, BinsAndRefusals)
{
    LeastSquaresResult baseLineFit;
    for (const auto& [points, bins] : {std::pair{500, 52}, {5000, 5000}, {20000, 202}, {50, 12}})
        EXPECT_EQ(BaseLineBinCount(points), bins) << points;

    std::vector<double> x(19), y(19);
    for (int i = 0; i < 19; ++i)
        x[i] = i, y[i] = 2.0 * i;
    auto before = y;
    EXPECT_EQ(CorrectBaseLine(x, y, kBaseLineLinear, baseLineFit), 0);
    EXPECT_EQ(y, before);
    std::vector<double> same(40, 3.0), values(40, 1.0);
    CorrectBaseLine(same, values, kBaseLineLinear, baseLineFit);  // all x equal
    EXPECT_EQ(values, std::vector<double>(40, 1.0));

    // Far out x: the exponentials underflow to 0, the normal matrix is singular; nothing is
    // corrected and no base line is kept.
    std::vector<double> fx(300), fy(300);
    for (int i = 0; i < 300; ++i)
        fx[i] = 1000 + i, fy[i] = 3.0 + std::sin(i * 0.3);
    before = fy;
    EXPECT_EQ(CorrectBaseLine(fx, fy, kBaseLineExponential, baseLineFit), 0);
    EXPECT_EQ(fy, before);
    EXPECT_TRUE(baseLineFit.coefficients.empty());
}

// Mend: nine terms keep every element of the normal matrix (the last diagonal element was
// dropped and the deviations came out wrong). Numbers from make_base_line_oracle.py.
TEST(BaseLine, NineTermFitMatchesOracle)
{
    LeastSquaresResult baseLineFit;
    const double oracle[9][2] = {
        {0.014957280241012951, 0.020987249857423933}, {2.9987158579904802, 0.095577973143375475},
        {-0.56235781017235342, 0.40242938469046291}, {-4.4814105623002662, 0.66931466236728743},
        {3.0341748498079522, 1.8984724760148413},    {1.9528650565521009, 1.3489550070693856},
        {-4.9131527619487576, 3.0739190831696752},   {-0.329287338270774, 0.80118850985717116},
        {2.3634063573363009, 1.5867580087671322}};
    const int n = 60;
    std::vector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = -1 + 2.0 * i / (n - 1);
        y[i] = std::sin(3 * x[i]) + 0.1 * std::cos(17 * x[i]);
    }
    const BaseLineRow powers = [](double* target, double* row, double v, double at) {
        *target = v;
        row[0] = 1;
        for (int k = 1; k < 9; ++k)
            row[k] = row[k - 1] * at;
    };
    ASSERT_TRUE(FitRowCallbackModel(x, y, 9, powers, baseLineFit));
    ASSERT_EQ(baseLineFit.deviations.size(), 9u);
    for (int k = 0; k < 9; ++k) {
        EXPECT_NEAR(baseLineFit.coefficients[k], oracle[k][0], 1e-7 * (1 + std::fabs(oracle[k][0]))) << k;
        EXPECT_NEAR(baseLineFit.deviations[k], oracle[k][1], 1e-7 * oracle[k][1]) << k;
    }
}

TEST(BaseLine, SlopingBaseIsRemoved)
{
    LeastSquaresResult baseLineFit;
    std::vector<peakSignal> peakList;
    peakSignal summary;
    for (int kind : {kBaseLineLinear, kBaseLineQuadratic}) {
        auto [x, y] = Chromatogram(2000, {{500, 8, 600}, {1400, 10, 900}});
        for (int i = 0; i < 2000; ++i)
            y[i] += 0.01 * i + (kind == kBaseLineQuadratic ? 2e-6 * i * i : 0.0);
        EXPECT_EQ(CorrectBaseLine(x, y, kind, baseLineFit), 1);
        EXPECT_NEAR(baseLineFit.coefficients[1], 0.01, 0.002) << kind;
        // Far from the peaks the corrected signal sits just above 0.
        double sum = 0;
        for (int i = 800; i < 1100; ++i)
            sum += y[i];
        EXPECT_LT(sum / 300, 1.5) << kind;
        EXPECT_GE(*std::min_element(y.begin(), y.end()), 0.0);
        FindAndRefinePeaks(x, y, 2.5, 3, 0, peakList, summary);
        std::string areas;
        for (const auto& p : peakList)
            areas += " " + std::to_string(p.area);
        // A bump of the noise (deviation 0.5) is no peak of the signal.
        const auto real = std::count_if(peakList.begin(), peakList.end(), [](const peakSignal& p) { return p.area > 5; });
        ASSERT_EQ(real, 2) << kind << areas;
        EXPECT_NEAR(Nearest(peakList, 500)->centre, 500, 0.1);
    }

    // A point exactly on the fitted line becomes 0.
    std::vector<double> x(30), y(30);
    for (int i = 0; i < 30; ++i)
        x[i] = i, y[i] = 1.0 + 0.5 * i + (i % 3 == 0 ? 0.0 : 2.0);
    ASSERT_EQ(CorrectBaseLine(x, y, kBaseLineLinear, baseLineFit), 1);
    EXPECT_NEAR(y[0], 0.0, 1e-9);
}

}  // namespace
